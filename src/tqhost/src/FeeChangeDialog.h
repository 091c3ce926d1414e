#pragma once

#include <tqglobal/IFeeChangeDialog.h>

#include <QDialog>
#include <QPointer>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace tqhost {

/// The screen on which the user gives a fee change: a signed percentage and whether the
/// new fees are rounded to whole dollars. Object name "FeeChangeDialog"; controls
/// "txtPercent", "chkRound", "cmdOK" and "cmdCancel".
class FeeChangeForm : public QDialog {
    Q_OBJECT

public:
    explicit FeeChangeForm(QWidget* parent = nullptr);

    /// The percentage typed ("5", "-10", "+2.5", "7.5%"); 0 after Cancel.
    float percentage() const { return m_percentage; }
    bool roundToDollar() const;

private:
    void accept() override;

    QLineEdit* m_percent = nullptr;
    QCheckBox* m_round = nullptr;
    float m_percentage = 0;
};

/// The host's fee-change dialog: a FeeChangeForm shown modally through the UI seam.
class FeeChangeDialog : public tqGlobal::IFeeChangeDialog {
public:
    explicit FeeChangeDialog(QWidget* fallbackOwner = nullptr) : m_fallbackOwner(fallbackOwner) {}
    float AskPercentage(bool& roundToDollar, QWidget* owner) override;

private:
    QPointer<QWidget> m_fallbackOwner;
};

}  // namespace tqhost
