#pragma once

#include <QSize>
#include <QString>

class QWidget;

namespace tqservicecode {

/// The size a user last left a screen at, kept per user through the host's numeric
/// settings: the key's "_WIDTH" and "_HEIGHT" followed directly by the user's name, in
/// twips. A screen without a saved size opens at defaultSize (pixels); a size larger than
/// the screen's room is cut to it, so that the window is never opened beyond the screen.
void RestoreUserWindowSize(QWidget& form, const QString& key, QSize defaultSize);
/// Saves the form's size under the key for the current user.
void SaveUserWindowSize(const QWidget& form, const QString& key);

}  // namespace tqservicecode
