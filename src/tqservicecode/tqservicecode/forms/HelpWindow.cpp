#include <tqservicecode/forms/HelpWindow.h>

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
    show();
    raise();
    activateWindow();
}

}  // namespace tqservicecode
