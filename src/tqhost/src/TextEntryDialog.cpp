#include "TextEntryDialog.h"

#include <tqhost/HostProtocol.h>
#include <tqplatform/ui.h>

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tqhost {

TextEntryForm::TextEntryForm(QWidget* parent) : QDialog(parent) {
    setObjectName(protocol::TextEntryScreen);
    setModal(true);

    m_prompt = new QLabel(this);
    m_prompt->setObjectName(QStringLiteral("lblPrompt"));
    m_prompt->setWordWrap(true);
    m_prompt->setTextFormat(Qt::PlainText);

    m_label = new QLabel(this);
    m_label->setObjectName(QStringLiteral("lblLabel"));
    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("txtText"));
    m_label->setBuddy(m_text);

    auto* buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QDialogButtonBox::Ok);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel = buttons->addButton(QDialogButtonBox::Cancel);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* line = new QHBoxLayout;
    line->addWidget(m_label);
    line->addWidget(m_text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_prompt);
    layout->addLayout(line);
    layout->addWidget(buttons);
}

void TextEntryForm::setup(const QString& caption, const QString& label, const QString& prompt,
                          const QString& defaultText, int visibleCharacters) {
    setWindowTitle(caption);
    m_label->setText(label);
    m_label->setVisible(!label.isEmpty());
    m_prompt->setText(QString(prompt).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_prompt->setVisible(!prompt.isEmpty());
    m_text->setText(defaultText);
    m_text->selectAll();
    if (visibleCharacters > 0) {
        const QFontMetrics metrics(m_text->font());
        m_text->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('M')) *
                                qMin(visibleCharacters, 80));
    }
    m_text->setFocus();
}

QString TextEntryForm::text() const {
    return m_text->text();
}

TextEntryDialog::TextEntryDialog(QWidget* fallbackOwner) : m_fallbackOwner(fallbackOwner) {}

QString TextEntryDialog::Enter(int16_t /*flag*/, const QString& defaultText, const QString& caption,
                               const QString& label, const QString& prompt,
                               const QString& identifier, int32_t number, int16_t /*a*/,
                               int16_t /*b*/, QWidget* owner, QString& out1, QString& out2,
                               QString& out3) {
    QWidget* parent = owner != nullptr ? owner : m_fallbackOwner.data();
    TextEntryForm form(parent);
    form.setup(caption, label, prompt, defaultText, number);
    const int result = tqplatform::ui::showModal(form, parent);
    const bool accepted = result == QDialog::Accepted;
    out1 = accepted ? protocol::TextEntryAccepted : protocol::TextEntryCancelled;
    out2 = identifier;
    out3.clear();
    return accepted ? form.text() : QString();
}

}  // namespace tqhost
