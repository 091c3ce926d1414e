#pragma once

#include <QString>

#include <cstdint>

class QWidget;

/// Services every screen of the component uses: the owner of modal screens, icons,
/// placement, help and the please-wait message.
namespace tqservicecode {

/// The host's main window, fetched once from the host and kept while it lives (it is
/// taken only when the host answers a window). Owner of every modal screen.
QWidget* MainForm();

/// Sets the icon resource (e.g. "APPICON") on the window and on each owner window above it.
void SetFormIcon(QWidget* window, const QString& iconName = QStringLiteral("APPICON"),
                 int flag = 0);

/// Places a form in the middle of its screen, never above or left of its edge; a
/// minimised or maximised form is left as it is. The flag is kept for callers that
/// pass it and changes nothing.
void CenterForm(QWidget* form, int flag = 0);

/// The help context of a window or control (0 when none).
int helpContextOf(const QWidget* widget);
/// Sets the help context of the form and every control on it; decorations (labels,
/// lines) have none and are passed over. F1 on the form then opens its help.
void SetHelpContext(QWidget* form, int16_t contextId);
/// Shows the help topic of the form's active control, or of the form when the control
/// has none.
void ShowContextHelp(QWidget* form);
/// Opens the help at a context; a context the help does not have opens the contents.
/// window null means the active form.
void ShowHelpContext(QWidget* window, int contextId);
/// Opens the help's table of contents.
void ShowHelpContents(QWidget* window = nullptr);

/// Shows, updates or (with an empty text) closes the please-wait message over the
/// active form. Position and size are in twips relative to that form; "//" in the text
/// starts a new line.
void ShowBusyMessage(const QString& text, int left = 0, int top = 0, int width = 4800,
                     int height = 1200, int options = 0);

/// Opens the reference code browser over the main window, set up for a code set and a
/// search text, and releases it when it closes.
void ShowReferenceCodes(int32_t displayType, const QString& searchText);

/// True when the window under the mouse differs from the one seen at the last call.
bool MouseMovedToNewWindow();

}  // namespace tqservicecode
