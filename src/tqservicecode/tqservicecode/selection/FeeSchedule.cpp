#include <tqservicecode/selection/FeeSchedule.h>

#include <tqservicecode/core/ComponentContext.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>

namespace tqservicecode {

namespace {

/// Runs a statement with database errors resumed: the values already held stay in use.
void executeResumed(const QString& sql) {
    tqGlobal::IHostServices& gic = GIC();
    try {
        gic.GetConnection().Execute(gic.TranslateSql(sql, 0));
    } catch (const tqGlobal::Error&) {
    }
}

int16_t smallIntOf(const QVariant& value) {
    return static_cast<int16_t>(value.toInt());
}

}  // namespace

void LoadPatientFeeSchedule(int32_t patientId, PatientRecord& patient) {
    patient.clear();
    tqGlobal::IHostServices& gic = GIC();
    const QString id = QString::number(patientId);
    tqplatform::Recordset rows = gic.GetConnection().OpenRecordset(
        gic.TranslateSql(QStringLiteral("Select * from PaTable where pID=") + id, 0));
    if (rows.Eof()) {
        return;
    }
    for (int i = 0; i < rows.FieldCount(); ++i) {
        patient.columns.insert(rows.FieldInfo(i).name.toLower(), rows.Fields(i));
    }
    patient.pID = patient.columns.value(QStringLiteral("pid")).toInt();
    patient.pPROIND = patient.columns.value(QStringLiteral("pproind")).toInt();
    patient.pGPDenFeeTyp = smallIntOf(patient.columns.value(QStringLiteral("pgpdenfeetyp")));
    patient.pGPDenFeeTypPerm =
        smallIntOf(patient.columns.value(QStringLiteral("pgpdenfeetypperm")));
    patient.pDOCFeeTyp = smallIntOf(patient.columns.value(QStringLiteral("pdocfeetyp")));

    if (patient.pPROIND == 0) {
        patient.pPROIND = gic.GetDefaultProviderID();
        executeResumed(QStringLiteral("UPDATE PaTable SET pPROIND=") +
                       QString::number(patient.pPROIND) + QStringLiteral(" WHERE pID=") + id);
    }

    if (patient.pGPDenFeeTyp == 0) {
        try {
            tqplatform::Recordset provider = gic.GetConnection().OpenRecordset(
                gic.TranslateSql(QStringLiteral("select pDOCFeeTyp from paTable where pID=") +
                                     QString::number(patient.pPROIND) + QStringLiteral(";"),
                                 0));
            if (!provider.Eof()) {
                patient.pGPDenFeeTyp = smallIntOf(provider.Fields(0));
            }
        } catch (const tqGlobal::Error&) {
        }
        if (!gic.IsValidFeeType(patient.pGPDenFeeTyp)) {
            patient.pGPDenFeeTyp = 1;
        }
        if (!gic.IsValidFeeType(patient.pGPDenFeeTypPerm)) {
            patient.pGPDenFeeTypPerm = patient.pGPDenFeeTyp;
        }
        executeResumed(QStringLiteral("UPDATE PaTable SET pGPDenFeeTypPerm=") +
                       QString::number(patient.pGPDenFeeTypPerm) +
                       QStringLiteral(", pGPDenFeeTyp=") + QString::number(patient.pGPDenFeeTyp) +
                       QStringLiteral(" WHERE pID=") + id);
    }
}

int16_t pickerFeeSchedule(const PatientRecord& patient) {
    tqGlobal::IHostServices& gic = GIC();
    const int16_t schedule =
        gic.IsValidFeeType(patient.pGPDenFeeTyp) ? patient.pGPDenFeeTyp : int16_t{1};
    return gic.IsValidFeeType(patient.pGPDenFeeTypPerm) ? patient.pGPDenFeeTypPerm : schedule;
}

int16_t feeScheduleForPatient(int32_t patientId) {
    if (patientId == 0) {
        return 1;
    }
    PatientRecord patient;
    LoadPatientFeeSchedule(patientId, patient);
    return pickerFeeSchedule(patient);
}

}  // namespace tqservicecode
