#pragma once

#include <QList>
#include <QString>

#include <cstdint>

namespace tqGlobal {
class IHostServices;
}

namespace tqdemo {

struct PickedCode;

/// Posts the codes a user picked for a patient to the patient's ledger: one DTTable row
/// per code, written through the host's SaveRecord, dated today, under the patient's
/// provider, with the fee the picker answered (the patient's fee schedule) and the code's
/// type, category, sub-category, department and tax rate. All rows or none: when the host
/// refuses one (it has told the user why), the rows before it are rolled back and the
/// answer is empty. A database failure rolls back and is thrown on. Answers the new
/// transaction ids in the order of the codes.
QList<int32_t> postCharges(tqGlobal::IHostServices& host, int32_t patientId,
                           const QList<PickedCode>& codes);

}  // namespace tqdemo
