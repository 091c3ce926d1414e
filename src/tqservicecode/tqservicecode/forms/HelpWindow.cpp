#include <tqservicecode/forms/HelpWindow.h>

#include <tqservicecode/forms/ContextHelp.h>

#include <tqplatform/ui.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

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

void HelpWindow::showPage(const QString& page) {
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
    show();
    raise();
    activateWindow();
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
