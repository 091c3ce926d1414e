#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <cstdint>

namespace tqservicecode {

/// A patient's row of PaTable as the fee schedule choice reads it: the columns it decides
/// on, and every column of the row by name.
struct PatientRecord {
    int32_t pID = 0;
    int32_t pPROIND = 0;
    int16_t pGPDenFeeTyp = 0;
    int16_t pGPDenFeeTypPerm = 0;
    int16_t pDOCFeeTyp = 0;
    /// Every column of the row (lower-case names); empty when the patient was not found.
    QVariantMap columns;

    void clear() { *this = PatientRecord(); }
    bool found() const { return !columns.isEmpty(); }
};

/// Reads the patient's row; completes a missing provider (the host's default) and a
/// missing fee schedule (the provider's) in the table. A patient who is not found leaves
/// the record cleared.
void LoadPatientFeeSchedule(int32_t patientId, PatientRecord& patient);

/// The fee schedule (1 to 4) the picker shows for a loaded patient: the standing
/// schedule when the host accepts it, else the patient's schedule when accepted, else 1.
int16_t pickerFeeSchedule(const PatientRecord& patient);

/// The fee schedule for the picker's patient (1 when there is none): loads the patient
/// and answers pickerFeeSchedule.
int16_t feeScheduleForPatient(int32_t patientId);

}  // namespace tqservicecode
