#include "LookupPanel.h"

#include "DemoText.h"

#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>
#include <tqservicecode/codes/ServiceCodeStore.h>

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tqdemo {

namespace {

QLabel* valueLabel() {
    auto* label = new QLabel;
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(220);
    return label;
}

}  // namespace

LookupPanel::LookupPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("LookupPanel"));
    auto* layout = new QVBoxLayout(this);

    auto* entry = new QHBoxLayout;
    m_codeBox = new QLineEdit;
    m_codeBox->setObjectName(QStringLiteral("CodeBox"));
    m_codeBox->setPlaceholderText(QStringLiteral("Code, short form or office code"));
    m_codeBox->setMaxLength(10);
    m_lookUp = new QPushButton(QStringLiteral("&Look up"));
    m_lookUp->setDefault(true);
    entry->addWidget(new QLabel(QStringLiteral("Code:")));
    entry->addWidget(m_codeBox, 1);
    entry->addWidget(m_lookUp);
    layout->addLayout(entry);

    auto* hint = new QLabel(
        QStringLiteral("Try D0120, 120, PE, PROPHY, RECALL, CASH \u2014 or CCPMT and MISCCR, "
                       "which the store refuses."));
    hint->setWordWrap(true);
    hint->setEnabled(false);
    layout->addWidget(hint);

    m_result = new QLabel;
    m_result->setObjectName(QStringLiteral("Result"));
    QFont bold = m_result->font();
    bold.setBold(true);
    m_result->setFont(bold);
    layout->addWidget(m_result);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    m_code = valueLabel();
    m_officeCode = valueLabel();
    m_insuranceCode = valueLabel();
    m_description = valueLabel();
    m_description->setWordWrap(true);
    m_type = valueLabel();
    m_category = valueLabel();
    m_subCategory = valueLabel();
    form->addRow(QStringLiteral("Code:"), m_code);
    form->addRow(QStringLiteral("Office code:"), m_officeCode);
    form->addRow(QStringLiteral("Insurance code:"), m_insuranceCode);
    form->addRow(QStringLiteral("Description:"), m_description);
    form->addRow(QStringLiteral("Type:"), m_type);
    form->addRow(QStringLiteral("Category:"), m_category);
    form->addRow(QStringLiteral("Sub-category:"), m_subCategory);
    for (size_t i = 0; i < m_fees.size(); ++i) {
        m_feeNames[i] = new QLabel(QStringLiteral("Fee %1:").arg(i + 1));
        m_fees[i] = valueLabel();
        form->addRow(m_feeNames[i], m_fees[i]);
    }
    layout->addLayout(form);
    layout->addStretch(1);

    connect(m_lookUp, &QPushButton::clicked, this, [this] { lookUp(m_codeBox->text()); });
    connect(m_codeBox, &QLineEdit::returnPressed, this, [this] { lookUp(m_codeBox->text()); });
    showNotFound(QString());
    m_result->setText(QStringLiteral("Type a code and press Look up."));
}

void LookupPanel::lookUp(const QString& typed) {
    if (m_codeBox->text() != typed) {
        m_codeBox->setText(typed);
    }
    tqservicecode::ServiceCodeRecord record;
    bool byID = false;
    bool found = false;
    tqplatform::ui::guard([&] {
        found = tqservicecode::FindServiceCode(typed, record, /*allowSearch*/ false, byID);
    });
    if (!found) {
        showNotFound(typed);
        return;
    }
    m_result->setText(QStringLiteral("Found \u201c%1\u201d.").arg(typed.trimmed()));
    m_code->setText(record.code());
    m_officeCode->setText(orDash(record.SevCodOffCod));
    m_insuranceCode->setText(orDash(record.SevCodInsCod));
    m_description->setText(orDash(record.description()));
    m_type->setText(orDash(record.SevCodTyp));
    const QString longName =
        tqservicecode::CategoryLongName(record.category(), record.typeNumber());
    m_category->setText(longName.isEmpty() || longName == record.category()
                            ? orDash(record.category())
                            : QStringLiteral("%1 (%2)").arg(record.category(), longName));
    m_subCategory->setText(orDash(record.subCategory()));
    for (size_t i = 0; i < m_fees.size(); ++i) {
        m_fees[i]->setText(
            tqplatform::vb::Format(record.fee(static_cast<int>(i) + 1), QStringLiteral("$0.00")));
    }
    markPatientFee();
}

void LookupPanel::focusCodeBox() {
    m_codeBox->setFocus(Qt::OtherFocusReason);
    m_codeBox->selectAll();
}

void LookupPanel::setPatientFeeSchedule(int schedule) {
    m_schedule = schedule;
    markPatientFee();
}

void LookupPanel::showNotFound(const QString& typed) {
    m_result->setText(typed.trimmed().isEmpty()
                          ? QStringLiteral("not found")
                          : QStringLiteral("\u201c%1\u201d: not found").arg(typed.trimmed()));
    for (QLabel* label : {m_code, m_officeCode, m_insuranceCode, m_description, m_type, m_category,
                          m_subCategory}) {
        label->clear();
    }
    for (QLabel* fee : m_fees) {
        fee->clear();
    }
}

void LookupPanel::markPatientFee() {
    // The fee the chosen patient is charged stands out.
    for (size_t i = 0; i < m_fees.size(); ++i) {
        const bool mark = static_cast<int>(i) + 1 == m_schedule;
        for (QLabel* label : {m_feeNames[i], m_fees[i]}) {
            QFont font = label->font();
            font.setBold(mark);
            label->setFont(font);
        }
        m_feeNames[i]->setText(mark ? QStringLiteral("Fee %1 (patient's):").arg(i + 1)
                                    : QStringLiteral("Fee %1:").arg(i + 1));
    }
}

}  // namespace tqdemo
