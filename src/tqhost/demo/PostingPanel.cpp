#include "PostingPanel.h"

#include "DemoText.h"

#include <tqplatform/ui.h>
#include <tqservicecode/clsServiceCode.h>

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <optional>

namespace tqdemo {

PostingPanel::PostingPanel(tqservicecode::clsServiceCode& component, QWidget* parent)
    : QWidget(parent), m_component(component) {
    setObjectName(QStringLiteral("PostingPanel"));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(QStringLiteral("Post a to-do or letter item"));
    auto* form = new QFormLayout(box);
    form->setLabelAlignment(Qt::AlignRight);

    m_patient = new QLabel(QStringLiteral("\u2014"));
    m_patient->setObjectName(QStringLiteral("PostPatient"));
    form->addRow(QStringLiteral("Patient:"), m_patient);

    m_comment = new QPlainTextEdit;
    m_comment->setObjectName(QStringLiteral("Comment"));
    m_comment->setPlaceholderText(QStringLiteral("Added to the item's note after its description"));
    m_comment->setTabChangesFocus(true);
    m_comment->setFixedHeight(m_comment->fontMetrics().lineSpacing() * 4 + 12);
    form->addRow(QStringLiteral("Related comment:"), m_comment);

    m_code = new QLineEdit;
    m_code->setObjectName(QStringLiteral("PostCode"));
    m_code->setMaxLength(10);
    m_code->setPlaceholderText(QStringLiteral("empty: pick it in the picker"));
    form->addRow(QStringLiteral("Service code:"), m_code);

    m_toDoOnly =
        new QCheckBox(QStringLiteral("To-do list only (otherwise letters and silent "
                                     "codes too)"));
    m_toDoOnly->setObjectName(QStringLiteral("ToDoOnly"));
    m_toDoOnly->setChecked(true);
    form->addRow(QString(), m_toDoOnly);

    auto* post = new QPushButton(QStringLiteral("&Post to-do item\u2026"));
    post->setObjectName(QStringLiteral("Post"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(post);
    buttons->addStretch(1);
    form->addRow(QString(), buttons);
    connect(post, &QPushButton::clicked, this, &PostingPanel::post);

    m_result = new QLabel(QStringLiteral("Nothing posted yet."));
    m_result->setObjectName(QStringLiteral("PostResult"));
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = m_result->font();
    bold.setBold(true);
    m_result->setFont(bold);
    form->addRow(QStringLiteral("Result:"), m_result);

    layout->addWidget(box);
    layout->addStretch(1);
}

void PostingPanel::setPatient(int32_t id, const QString& name) {
    if (id != m_patientId) {
        m_result->setText(QStringLiteral("Nothing posted yet."));
    }
    m_patientId = id;
    m_patientName = name;
    m_patient->setText(orDash(name));
}

void PostingPanel::post() {
    if (m_patientId == 0) {
        tqplatform::ui::msgBox(QStringLiteral("Choose a patient first."),
                               tqplatform::ui::Buttons::Information);
        return;
    }
    QString comment = m_comment->toPlainText().trimmed();
    comment.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const QString typed = m_code->text().trimmed();
    const std::optional<QString> code =
        typed.isEmpty() ? std::nullopt : std::optional<QString>(typed);
    int32_t id = 0;
    m_result->setText(QStringLiteral("Nothing was posted."));
    tqplatform::ui::guard([&] {
        clearScreenProtocol(*m_component.GIC());
        id = m_component.SendPatientManagementCode(comment, m_patientId, code, std::nullopt,
                                                   m_toDoOnly->isChecked());
    });
    if (id > 0) {
        m_result->setText(
            QStringLiteral("Posted for %1 as transaction %2.").arg(m_patientName).arg(id));
    }
    emit posted(id);
}

}  // namespace tqdemo
