#pragma once

#include <QString>

/// Opening the calendar and calculator screen (Calendar) from the component's code. Each
/// call creates the screen, shows it modally over the host's main window, and releases it
/// before answering.
namespace tqservicecode {

/// The calendar face with caption as its title (host ScreenText = caption, ScreenParameter
/// = "GET_TITLE"). Answers ScreenResultText: the chosen date as "MM-DD-YYYY", or "" when
/// the user cancelled or closed the window (host ScreenNumber then holds 123456, else 0).
QString askFollowUpDate(const QString& caption);

/// The calculator face (host ScreenParameter = "CALCULATOR"). Answers ScreenResultText:
/// the number entered as text ("0" at least) after "&OK", "" after cancel.
QString openCalculator();

}  // namespace tqservicecode
