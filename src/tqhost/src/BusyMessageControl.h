#pragma once

#include <tqglobal/IHostServices.h>

#include <QPointer>
#include <QWidget>

class QLabel;

namespace tqhost {

/// The please-wait window: a small frameless window (object name "BusyMessage") whose
/// label "lblMessage" renders the message's HTML, placed where the caller asks.
class BusyMessageControl : public tqGlobal::IBusyMessageControl {
public:
    BusyMessageControl();
    ~BusyMessageControl() override;
    BusyMessageControl(const BusyMessageControl&) = delete;
    BusyMessageControl& operator=(const BusyMessageControl&) = delete;

    void showMessage(const QString& html, const QRect& geometry, int major, int minor,
                     int revision) override;
    void closeMessage() override;

    /// The window while a message shows; null otherwise.
    QWidget* window() const { return m_window.data(); }

private:
    QPointer<QWidget> m_window;
    QPointer<QLabel> m_label;
};

}  // namespace tqhost
