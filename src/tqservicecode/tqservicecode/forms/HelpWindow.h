#pragma once

#include <QObject>
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

    /// Shows a page (a file or resource path) and brings the window up. Asked from a
    /// modal screen, the window joins that screen, which would otherwise block it. A
    /// window that was not open comes up centred over owner (the screen the help is
    /// for), whole on that screen; one already open stays where the user put it.
    void showPage(const QString& page, QWidget* owner = nullptr);
    /// The page shown.
    QString currentPage() const { return m_page; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    HelpWindow();
    void placeOver(const QWidget* owner);
    QTextBrowser* m_browser = nullptr;
    QString m_page;
};

/// F1 on a form opens the help of its active control or of the form (ShowContextHelp).
/// Owned by the form it watches.
class HelpKey : public QObject {
    Q_OBJECT
public:
    explicit HelpKey(QWidget* form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_form;
};

}  // namespace tqservicecode
