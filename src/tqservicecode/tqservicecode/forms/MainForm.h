#pragma once

class QWidget;

namespace tqservicecode {

/// The host's main window, fetched once from the host and kept while it lives (it is
/// taken only when the host answers a window). Owner of every modal screen.
QWidget* MainForm();

/// The window the user works in: the active window, else the host's main window.
QWidget* ActiveForm();

}  // namespace tqservicecode
