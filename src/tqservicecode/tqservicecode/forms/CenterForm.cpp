#include <tqservicecode/forms/CenterForm.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tqservicecode {

void CenterForm(QWidget* form, int /*flag*/) {
    if (form == nullptr || (form->windowState() &
                            (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        return;
    }
    QScreen* screen = form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize size = form->frameGeometry().size();
    const int left = std::max(0, (area.width() - size.width()) / 2);
    const int top = std::max(0, (area.height() - size.height()) / 2);
    form->move(area.left() + left, area.top() + top);
}

}  // namespace tqservicecode
