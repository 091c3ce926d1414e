#pragma once

#include <cstdint>

class QWidget;

namespace tqservicecode {

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

}  // namespace tqservicecode
