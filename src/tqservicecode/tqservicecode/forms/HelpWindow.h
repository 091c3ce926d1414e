#pragma once

#include <QWidget>

class QTextBrowser;

namespace tqservicecode {

/// The help viewer: one window per process showing a page of the help file.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    /// The window, created on first use.
    static HelpWindow& instance();
    /// The window if it was ever created.
    static HelpWindow* existingInstance();

    /// Shows a page (a file or resource path) and brings the window up.
    void showPage(const QString& page);
    /// The page shown.
    QString currentPage() const { return m_page; }

private:
    HelpWindow();
    QTextBrowser* m_browser = nullptr;
    QString m_page;
};

}  // namespace tqservicecode
