#pragma once

#include <tqservicecode/core/HostProtocol.h>

#include <QString>

#include <cstdint>

namespace tqservicecode {

/// What the screens that open the service code editor ("Edit_Ser_Code") need of it.
class ServiceCodeEditorScreen {
public:
    virtual ~ServiceCodeEditorScreen() = default;
    virtual void setSevCodID(int32_t id) = 0;
    virtual void setHideBackNext(bool hide) = 0;
    virtual void Init_Data() = 0;
};

inline const QString ServiceCodeEditorScreenName = protocol::screen::ServiceCodeEditor;
inline const QString ServiceCodeBrowserScreenName = protocol::screen::ServiceCodeBrowser;

}  // namespace tqservicecode
