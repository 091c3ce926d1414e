#pragma once

#include <QString>

class QWidget;

namespace tqservicecode {

/// Sets the icon resource (e.g. "APPICON") on the window and on each owner window above it.
void SetFormIcon(QWidget* window, const QString& iconName = QStringLiteral("APPICON"),
                 int flag = 0);

}  // namespace tqservicecode
