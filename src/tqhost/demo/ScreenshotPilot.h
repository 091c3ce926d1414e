#pragma once

#include <QMap>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QAbstractItemView;
class QDialog;
class QWidget;

namespace tqdemo {

/// Answers the real modal screens of a picture run as a person would: while a screen
/// named in the script is the active modal window, its step runs once (choose, grab the
/// picture, press a button). Used by the demo's --screenshot options only.
class ScreenshotPilot : public QObject {
    Q_OBJECT

public:
    using Step = std::function<void(QDialog&)>;

    explicit ScreenshotPilot(QObject* parent = nullptr);

    /// Runs step the next time a screen whose object name is name is shown.
    void onShow(const QString& name, Step step);

    /// Clicks a row of a list as with the mouse.
    static void clickRow(QAbstractItemView& view, int row);
    /// Clicks the button of dialog with that object name; false when there is none.
    static bool clickButton(QDialog& dialog, const QString& objectName);
    /// Saves a picture of widget as it is drawn now; false when the file was not written.
    static bool save(QWidget& widget, const QString& file);

private:
    void look();

    QTimer m_timer;
    QMap<QString, Step> m_steps;
    int m_unexpectedTicks = 0;
};

}  // namespace tqdemo
