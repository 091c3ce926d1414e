#pragma once

#include <QString>

#include <cstdint>

namespace tqservicecode {

/// Opens the reference code browser over the main window, set up for a code set and a
/// search text, and releases it when it closes.
void ShowReferenceCodes(int32_t displayType, const QString& searchText);

}  // namespace tqservicecode
