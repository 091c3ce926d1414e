#pragma once

#include <tqservicecode/core/HostProtocol.h>

#include <QString>

#include <cstdint>

namespace tqservicecode {

/// What the code that opens the service code search window ("frmSearchSCode") needs
/// of it: set it up, give it the text to search for, read the choice after it closed.
class CodeSearchScreen {
public:
    virtual ~CodeSearchScreen() = default;
    virtual void SetupScreen(int32_t arg1, int32_t arg2) = 0;
    /// Puts the text into the search box and searches at once.
    virtual void setStartText(const QString& text) = 0;
    /// The chosen row's SevCodID; 0 when nothing was chosen.
    virtual int32_t SelectionID() const = 0;
    /// The chosen office code, or the service code when that is empty.
    virtual QString Selection() const = 0;
};

inline const QString CodeSearchScreenName = protocol::screen::CodeSearch;

}  // namespace tqservicecode
