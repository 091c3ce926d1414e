#pragma once

#include <tqplatform/tqplatform_export.h>

#include <QString>

#include <functional>

class QDialog;
class QWidget;

/// The one door through which every message box, input box and modal screen passes,
/// so that a test (or a host vendor's test) can answer them.
namespace tqplatform::ui {

/// VB's MsgBox constants.
namespace Buttons {
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
inline constexpr int DefaultButton2 = 256;
inline constexpr int DefaultButton3 = 512;
}  // namespace Buttons

namespace Answer {
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;
}  // namespace Answer

/// Shows a message box; answers the button pressed. No title means the application title.
int msgBox(const QString& prompt, int buttons = 0, const QString& title = {});
/// Asks for a text; "" when cancelled.
QString inputBox(const QString& prompt, const QString& title = {}, const QString& defaultText = {});
/// Shows a screen modally over owner; returns when it closes, with the dialog's result.
int showModal(QDialog& dialog, QWidget* owner);
/// Processes pending events.
void doEvents();

/// Runs one screen handler so that no failure leaves a Qt event handler: an exception it
/// throws (a database that refused a statement, a host that failed) is shown to the user
/// with its reason in a message box with the critical icon, and the screen stays as it
/// was. Answers true when the handler ran to its end. Every handler that touches the host
/// or the database runs inside it; a handler with a failure rule of its own catches first.
bool guard(const std::function<void()>& handler);
/// The message guard() shows for a failure with this reason.
QString failureMessage(const QString& reason);

/// The title of message boxes shown without one.
QString applicationTitle();
void setApplicationTitle(const QString& title);

/// The hourglass pointer while an object of this type lives; the previous pointer is
/// restored when it goes (and before any message box, which shows the normal pointer).
class TQPLATFORM_EXPORT WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void restore();

private:
    bool m_active = false;
};

/// What answers the seam: the real dialogs, or a script.
class Backend {
public:
    virtual ~Backend() = default;
    virtual int msgBox(const QString& prompt, int buttons, const QString& title) = 0;
    virtual QString inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) = 0;
    virtual int showModal(QDialog& dialog, QWidget* owner) = 0;
};

/// Installs a backend (nullptr restores the real dialogs); answers the previous one.
Backend* installBackend(Backend* backend);
Backend* currentBackend();

/// When set, a real modal dialog that would run is a programming error in a test:
/// it is reported with qFatal instead of waiting for a person who is not there.
void setRealDialogsForbidden(bool forbidden);
bool realDialogsForbidden();

}  // namespace tqplatform::ui
