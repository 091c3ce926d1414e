#pragma once

#include <cstdint>

class QString;
class QWidget;

namespace tqservicecode {

/// The help contexts of the component's screens: each screen has its own topic page.
namespace help {
inline constexpr int Calendar = 848;
inline constexpr int CodePicker = 1061;
inline constexpr int ServiceCodeBrowser = 1062;
inline constexpr int ProviderList = 1063;
inline constexpr int ServiceCodeEditor = 1064;
inline constexpr int FeeChange = 1065;
inline constexpr int ReferenceCodes = 1066;
inline constexpr int CodeSearch = 1067;
inline constexpr int DocumentPicker = 1068;
inline constexpr int ExportOptions = 1069;
}  // namespace help

/// The help context of a screen, known by the screen's object name; 0 for a window that
/// is none of the component's screens.
int HelpContextOfScreen(const QString& screenName);
/// The help context of a window or control (0 when none).
int helpContextOf(const QWidget* widget);
/// Sets the help context of the form and every control on it; decorations (labels,
/// lines) have none and are passed over. F1 on the form then opens its help.
void SetHelpContext(QWidget* form, int16_t contextId);
/// Shows the help topic of the form's active control, or of the form when the control
/// has none, or of the screen the form is when the form never set one. The help comes up
/// over the form.
void ShowContextHelp(QWidget* form);
/// Opens the help at a context, over window; a context the help does not have opens the
/// contents. window null means the active form.
void ShowHelpContext(QWidget* window, int contextId);
/// Opens the help's table of contents over window (null: the active form).
void ShowHelpContents(QWidget* window = nullptr);

}  // namespace tqservicecode
