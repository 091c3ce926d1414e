#include <tqservicecode/forms/HelpWindow.h>

#include <tqservicecode/forms/ContextHelp.h>

#include <tqplatform/ui.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace tqservicecode {

namespace {
QPointer<HelpWindow>& slot() {
    static QPointer<HelpWindow> window;
    return window;
}
}  // namespace

HelpWindow::HelpWindow() {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Tavix Windows Help"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    m_browser->setOpenLinks(true);
    layout->addWidget(m_browser);
    resize(640, 520);
}

HelpWindow& HelpWindow::instance() {
    if (slot().isNull()) {
        slot() = new HelpWindow();
    }
    return *slot();
}

HelpWindow* HelpWindow::existingInstance() {
    return slot().data();
}

void HelpWindow::showPage(const QString& page, QWidget* owner) {
    m_page = page;
    const QUrl url = page.startsWith(QLatin1Char(':')) ? QUrl(QStringLiteral("qrc") + page)
                                                       : QUrl::fromLocalFile(page);
    m_browser->setSource(url);
    // A modal screen blocks every window but its own: the help becomes a window of the
    // modal screen that asks for it (and goes back to being on its own when asked from
    // elsewhere), so that it comes up in front and takes the user's keys and clicks.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != this && parentWidget() != modal) {
        const QRect placed = geometry();
        setParent(modal, Qt::Window);
        setGeometry(placed);
    }
    if (!isVisible()) {
        placeOver(owner != nullptr && owner->window() != this ? owner->window() : modal);
    }
    show();
    raise();
    activateWindow();
}

void HelpWindow::placeOver(const QWidget* owner) {
    QScreen* screen = owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect room = screen->availableGeometry();
    // The frame is known once the window was shown; a title bar's height before that.
    const QSize frame = isVisible() || testAttribute(Qt::WA_WState_Created)
                            ? frameGeometry().size() - geometry().size()
                            : QSize(0, 0);
    const QSize margins = frame.isEmpty() ? QSize(8, 32) : frame;
    const QSize size = QSize(640, 520).boundedTo(room.size() - margins);
    resize(size);
    const QPoint centre = owner != nullptr ? owner->frameGeometry().center() : room.center();
    const QSize outer = size + margins;
    const int left = std::clamp(centre.x() - outer.width() / 2, room.left(),
                                std::max(room.left(), room.right() + 1 - outer.width()));
    const int top = std::clamp(centre.y() - outer.height() / 2, room.top(),
                               std::max(room.top(), room.bottom() + 1 - outer.height()));
    move(left, top);  // a window's position is its frame's: the title bar stays on screen
}

void HelpWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

HelpKey::HelpKey(QWidget* form) : QObject(form), m_form(form) {
    form->installEventFilter(this);
}

bool HelpKey::eventFilter(QObject* /*watched*/, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1) {
        return false;
    }
    tqplatform::ui::guard([this] { ShowContextHelp(m_form); });
    return true;
}

}  // namespace tqservicecode
