#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace tqtest {

/// A screen's control found by its object name, as a host's handler finds it. A missing
/// control stops the test with the name it looked for.
template <class Widget>
Widget* control(const QObject& screen, const QString& name) {
    auto* found = screen.findChild<Widget*>(name);
    if (found == nullptr) {
        qFatal("no control %s on %s", qPrintable(name), qPrintable(screen.objectName()));
    }
    return found;
}

template <class Widget>
Widget* control(const QObject* screen, const QString& name) {
    return control<Widget>(*screen, name);
}

}  // namespace tqtest
