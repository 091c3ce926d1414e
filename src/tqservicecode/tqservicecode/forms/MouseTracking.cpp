#include <tqservicecode/forms/MouseTracking.h>

#include <QApplication>
#include <QCursor>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace tqservicecode {

bool MouseMovedToNewWindow() {
    thread_local std::optional<QPointer<QWidget>> lastSeen;
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    if (lastSeen.has_value() && lastSeen->data() == under) {
        return false;
    }
    lastSeen = QPointer<QWidget>(under);
    return true;
}

}  // namespace tqservicecode
