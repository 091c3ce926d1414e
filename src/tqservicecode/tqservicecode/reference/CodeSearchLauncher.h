#pragma once

#include <QString>

#include <cstdint>

namespace tqservicecode {

/// Opens the service code search window with startText, set up with arg1 and arg2;
/// answers the chosen row's SevCodID, 0 when the user chose nothing (or no search window
/// is available).
int32_t searchServiceCode(const QString& startText, int32_t arg1, int32_t arg2);

}  // namespace tqservicecode
