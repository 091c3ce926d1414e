#pragma once

#include <tqservicecode/tqservicecode_export.h>

#include <tqservicecode/core/HostProtocol.h>

#include <QObject>
#include <QString>

#include <cstdint>

namespace tqservicecode {

/// The events the service code editor raises to the screen that opened it while the user
/// walks Back and Next. A handler of a Before... signal sets cancel to true when there is
/// no earlier (later) code, and nothing moves.
class TQSERVICECODE_EXPORT ServiceCodeEditorEvents : public QObject {
    Q_OBJECT

signals:
    void BeforeBackClicked(bool& cancel);
    /// currentDataChanged: the editor saved the record before moving.
    void BackClicked(bool currentDataChanged);
    void BeforeNextClicked(bool& cancel);
    void NextClicked(bool currentDataChanged);
};

/// What the screens that open the service code editor ("Edit_Ser_Code") need of it.
class ServiceCodeEditorScreen {
public:
    virtual ~ServiceCodeEditorScreen() = default;
    /// The code shown: 0 for a new code; after the editor closed, the id saved (0 when a
    /// new code was not saved).
    virtual int32_t SevCodID() const = 0;
    virtual void setSevCodID(int32_t id) = 0;
    virtual void setHideBackNext(bool hide) = 0;
    /// Loads the code SevCodID names, or an empty record for 0.
    virtual void Init_Data() = 0;
    /// The text of one of the editor's bound boxes (index 0 to 16), and a way to pre-fill
    /// one: the browser gives a new code its type (box 7) and category (box 8).
    virtual QString boxText(int index) const = 0;
    virtual void setBoxText(int index, const QString& text) = 0;
    /// The Back and Next events; they live as long as the editor.
    virtual ServiceCodeEditorEvents& events() = 0;
};

inline const QString ServiceCodeEditorScreenName = protocol::screen::ServiceCodeEditor;
inline const QString ServiceCodeBrowserScreenName = protocol::screen::ServiceCodeBrowser;

}  // namespace tqservicecode
