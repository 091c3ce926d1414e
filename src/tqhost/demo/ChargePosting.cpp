#include "ChargePosting.h"

#include "PickPanel.h"

#include <tqglobal/Error.h>
#include <tqglobal/IHostServices.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Recordset.h>

#include <QDate>

namespace tqdemo {

namespace {

/// Column names and text values side by side, as SaveRecord takes them.
struct Row {
    QStringList names;
    QStringList values;
    void add(const char* name, const QString& value) {
        names << QLatin1String(name);
        values << value;
    }
};

/// The row sql reads; missing says what is gone (another workstation deleted it).
tqplatform::Recordset openRow(tqGlobal::IHostServices& host, const QString& sql,
                              const QString& missing) {
    tqplatform::Recordset rs = host.GetConnection().OpenRecordset(host.TranslateSql(sql, 0));
    if (rs.Eof()) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::NoCurrentRecord, missing);
    }
    return rs;
}

/// The leading number of a stored type ("1 - Charge" is 1).
QString typeNumber(const QString& type) {
    QString digits;
    for (const QChar c : type.trimmed()) {
        if (!c.isDigit()) {
            break;
        }
        digits += c;
    }
    return digits.isEmpty() ? QStringLiteral("1") : digits;
}

Row chargeRow(tqGlobal::IHostServices& host, int32_t patientId, int32_t provider,
              const QString& initials, const PickedCode& code) {
    const QString fee =
        tqplatform::Currency::parse(code.fee).value_or(tqplatform::Currency{}).toFixedString();
    tqplatform::Recordset rs =
        openRow(host,
                QStringLiteral("SELECT SevCodTyp, SevCodCat, SevCodSubCat, SevCodDep, SevCodTax, "
                               "SevCodBil FROM SevCodTable WHERE SevCodID = %1")
                    .arg(code.id.toInt()),
                QStringLiteral("The code %1 is no longer in the code table; nothing was posted.")
                    .arg(code.code));
    const auto field = [&rs](const char* name) {
        return rs.Fields(QLatin1String(name)).toString().trimmed();
    };
    Row row;
    row.add("OffLocID", QString::number(host.GetOfficeLocationID()));
    row.add("traSevCodID", code.id);
    row.add("trapID", QString::number(patientId));
    row.add("traCodTyp", QStringLiteral("D"));
    row.add("traDr", QString::number(provider));
    row.add("traDrIni", initials);
    row.add("traDes", code.description);
    row.add("traCod", code.code);
    row.add("traStaDat", QDate::currentDate().toString(Qt::ISODate));
    row.add("traTyp", typeNumber(field("SevCodTyp")));
    row.add("traCat", field("SevCodCat"));
    row.add("traSubCat", field("SevCodSubCat"));
    row.add("traDep", field("SevCodDep"));
    row.add("traTax", QString::number(rs.Fields(QStringLiteral("SevCodTax")).toDouble()));
    row.add("TraBil", field("SevCodBil").isEmpty() ? QStringLiteral("N") : field("SevCodBil"));
    row.add("TraActPst", QStringLiteral("A"));
    row.add("traPatMgrFla", QStringLiteral("0"));
    // One unit at the patient's fee, all of it the patient's until insurance is billed.
    for (const char* money : {"traCha", "traTotCha", "TraPatPor", "TraPatBal"}) {
        row.add(money, fee);
    }
    row.add("traUni", QStringLiteral("1"));
    for (const char* zero : {"TraIns1Por", "TraIns2Por", "TraIns1Bal", "TraIns2Bal", "TraInsDed1",
                             "TraInsDed2", "TraPayInd"}) {
        row.add(zero, QStringLiteral("0"));
    }
    row.add("TraCodMod", QString());
    return row;
}

}  // namespace

QList<int32_t> postCharges(tqGlobal::IHostServices& host, int32_t patientId,
                           const QList<PickedCode>& codes) {
    const int32_t provider =
        openRow(host, QStringLiteral("SELECT pPROIND FROM PaTable WHERE pID = %1").arg(patientId),
                QStringLiteral("The patient is no longer in the practice; nothing was posted."))
            .Fields(0)
            .toInt();
    const QString initials = provider == 0 ? QString() : host.GetProviderInitials(provider);
    tqplatform::Connection& connection = host.GetConnection();
    QList<int32_t> ids;
    connection.BeginTrans();
    try {
        for (const PickedCode& code : codes) {
            const Row row = chargeRow(host, patientId, provider, initials, code);
            int32_t key = 0;
            int16_t success = 0;
            host.SaveRecord(1, QStringLiteral("DTTable"), QStringLiteral("traID"), key, row.names,
                            row.values, true, success);
            if (success == 0) {
                connection.RollbackTrans();
                return {};
            }
            ids << key;
        }
        connection.CommitTrans();
    } catch (...) {
        try {
            connection.RollbackTrans();
        } catch (...) {
            // The connection is gone with its transaction; the first failure tells why.
        }
        throw;
    }
    return ids;
}

}  // namespace tqdemo
