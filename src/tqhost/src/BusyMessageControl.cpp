#include "BusyMessageControl.h"

#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace tqhost {

BusyMessageControl::BusyMessageControl() = default;

BusyMessageControl::~BusyMessageControl() {
    closeMessage();
}

void BusyMessageControl::showMessage(const QString& html, const QRect& geometry, int major,
                                     int minor, int revision) {
    if (m_window.isNull()) {
        auto* window =
            new QFrame(nullptr, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint);
        window->setObjectName(QStringLiteral("BusyMessage"));
        window->setAttribute(Qt::WA_ShowWithoutActivating);
        window->setFrameShape(QFrame::Box);
        auto* label = new QLabel(window);
        label->setObjectName(QStringLiteral("lblMessage"));
        label->setTextFormat(Qt::RichText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignCenter);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(8, 8, 8, 8);
        layout->addWidget(label);
        m_window = window;
        m_label = label;
    }
    m_window->setToolTip(QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision));
    m_label->setText(html);
    if (geometry.isValid()) {
        m_window->setGeometry(geometry);
    }
    m_window->show();
    m_window->raise();
    // The message is meant to be seen while the caller keeps the thread busy.
    m_window->repaint();
}

void BusyMessageControl::closeMessage() {
    if (!m_window.isNull()) {
        m_window->hide();
        delete m_window.data();
    }
}

}  // namespace tqhost
