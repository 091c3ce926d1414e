#include <tqservicecode/forms/FormIcon.h>

#include <QIcon>
#include <QWidget>

namespace tqservicecode {

void SetFormIcon(QWidget* window, const QString& iconName, int /*flag*/) {
    if (window == nullptr) {
        return;
    }
    const QIcon icon(QStringLiteral(":/tqservicecode/icons/") + iconName + QStringLiteral(".png"));
    for (QWidget* w = window; w != nullptr; w = w->parentWidget()) {
        if (w->isWindow()) {
            w->setWindowIcon(icon);
        }
    }
}

}  // namespace tqservicecode
