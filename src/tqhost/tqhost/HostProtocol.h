#pragma once

#include <QString>

/// The texts of the host's own components, as a component or a host test sees them.
namespace tqhost::protocol {

/// The object name of the host's text entry dialog.
inline const QString TextEntryScreen = QStringLiteral("TextEntryDialog");
/// The text entry's first answer: the user pressed OK, or closed or cancelled it.
inline const QString TextEntryAccepted = QStringLiteral("OK");
inline const QString TextEntryCancelled = QStringLiteral("CANCEL");

}  // namespace tqhost::protocol
