#include "ScreenshotPilot.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>

#include <cstdio>

namespace tqdemo {

ScreenshotPilot::ScreenshotPilot(QObject* parent) : QObject(parent) {
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &ScreenshotPilot::look);
    m_timer.start();
}

void ScreenshotPilot::onShow(const QString& name, Step step) {
    m_steps.insert(name, std::move(step));
}

void ScreenshotPilot::look() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
        m_unexpectedTicks = 0;
        return;
    }
    if (!m_steps.contains(dialog->objectName())) {
        // A screen the run did not expect (a message, say) would wait for ever: it is
        // reported and closed.
        if (++m_unexpectedTicks >= 20) {
            m_unexpectedTicks = 0;
            std::fprintf(stderr, "tqdemo: closing an unexpected screen: %s %s\n",
                         qPrintable(dialog->objectName()), qPrintable(dialog->windowTitle()));
            dialog->reject();
        }
        return;
    }
    m_unexpectedTicks = 0;
    const Step step = m_steps.take(dialog->objectName());
    // The step may open further screens (their own modal loops): no second look meanwhile.
    m_timer.stop();
    QApplication::processEvents();
    step(*dialog);
    m_timer.start();
}

void ScreenshotPilot::clickRow(QAbstractItemView& view, int row) {
    const QModelIndex index = view.model()->index(row, 0);
    view.scrollTo(index);
    const QPoint at = view.visualRect(index).center();
    QWidget* target = view.viewport();
    const QPointF global = target->mapToGlobal(QPointF(at));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, QPointF(at), global, Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }
    QApplication::processEvents();
}

bool ScreenshotPilot::clickButton(QDialog& dialog, const QString& objectName) {
    auto* button = dialog.findChild<QPushButton*>(objectName);
    if (button == nullptr || !button->isVisible() || !button->isEnabled()) {
        return false;
    }
    button->click();
    return true;
}

bool ScreenshotPilot::save(QWidget& widget, const QString& file) {
    QApplication::processEvents();
    return widget.grab().save(file);
}

}  // namespace tqdemo
