#pragma once

#include <tqservicecode/core/HostProtocol.h>

#include <QString>

#include <cstdint>

namespace tqservicecode {

/// What the code that opens the reference code browser ("frmCodes") needs of it.
class ReferenceCodeScreen {
public:
    virtual ~ReferenceCodeScreen() = default;
    /// displayType: the code set (1 physicians' procedures, 2 diagnoses, ...); searchText:
    /// what to look for at once ("" for none).
    virtual void SetupScreen(int32_t displayType, const QString& searchText) = 0;
};

inline const QString ReferenceCodeScreenName = protocol::screen::ReferenceCodes;

}  // namespace tqservicecode
