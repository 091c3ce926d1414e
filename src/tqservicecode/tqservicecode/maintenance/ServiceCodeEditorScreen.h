#pragma once

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

inline const QString ServiceCodeEditorScreenName = QStringLiteral("Edit_Ser_Code");
inline const QString ServiceCodeBrowserScreenName = QStringLiteral("SerCod");

}  // namespace tqservicecode
