#include "FeeChangeDialog.h"

#include <tqplatform/ui.h>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace tqhost {

FeeChangeForm::FeeChangeForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FeeChangeDialog"));
    setWindowTitle(QStringLiteral("Change Fees"));
    auto* layout = new QVBoxLayout(this);
    auto* explain = new QLabel(
        QStringLiteral("Change the fees by a percentage: a positive number raises them, a "
                       "negative number lowers them (at most 100 %)."),
        this);
    explain->setWordWrap(true);
    layout->addWidget(explain);
    auto* form = new QFormLayout;
    m_percent = new QLineEdit(this);
    m_percent->setObjectName(QStringLiteral("txtPercent"));
    m_percent->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral(R"(\s*[+-]?\d{0,6}(\.\d{0,4})?\s*%?\s*)")), m_percent));
    form->addRow(QStringLiteral("Percentage (%) :"), m_percent);
    layout->addLayout(form);
    m_round = new QCheckBox(QStringLiteral("Round fees to the nearest dollar"), this);
    m_round->setObjectName(QStringLiteral("chkRound"));
    layout->addWidget(m_round);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FeeChangeForm::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

bool FeeChangeForm::roundToDollar() const {
    return m_round->isChecked();
}

void FeeChangeForm::accept() {
    QString text = m_percent->text().trimmed();
    if (text.endsWith(QLatin1Char('%'))) {
        text.chop(1);
    }
    bool ok = false;
    const float value = text.trimmed().toFloat(&ok);
    if (!ok || value == 0) {
        tqplatform::ui::msgBox(QStringLiteral("Please enter the percentage by which the fees "
                                              "change, for example 5 or -10."),
                               tqplatform::ui::Buttons::Information);
        m_percent->setFocus();
        return;
    }
    m_percentage = value;
    QDialog::accept();
}

float FeeChangeDialog::AskPercentage(bool& roundToDollar, QWidget* owner) {
    FeeChangeForm form;
    const int result = tqplatform::ui::showModal(form, owner ? owner : m_fallbackOwner.data());
    roundToDollar = result == QDialog::Accepted && form.roundToDollar();
    return result == QDialog::Accepted ? form.percentage() : 0.0F;
}

}  // namespace tqhost
