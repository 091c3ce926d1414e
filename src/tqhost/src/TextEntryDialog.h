#pragma once

#include <tqglobal/IHostServices.h>

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tqhost {

/// The screen on which the user types one line of text: a caption, a prompt, a label
/// before the line and OK/Cancel. Object name "TextEntryDialog"; its controls are
/// "lblPrompt", "lblLabel", "txtText", "cmdOK" and "cmdCancel".
class TextEntryForm : public QDialog {
    Q_OBJECT

public:
    explicit TextEntryForm(QWidget* parent = nullptr);

    void setup(const QString& caption, const QString& label, const QString& prompt,
               const QString& defaultText, int visibleCharacters);
    QString text() const;

    QLabel* promptLabel() const { return m_prompt; }
    QLabel* fieldLabel() const { return m_label; }
    QLineEdit* field() const { return m_text; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

private:
    QLabel* m_prompt = nullptr;
    QLabel* m_label = nullptr;
    QLineEdit* m_text = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

/// The host's text-entry dialog: shows a TextEntryForm modally through the UI seam.
class TextEntryDialog : public tqGlobal::ITextEntryDialog {
public:
    /// fallbackOwner: the window that owns the screen when the caller names none.
    explicit TextEntryDialog(QWidget* fallbackOwner = nullptr);

    /// Shows the screen; answers the text as typed, or "" when cancelled. number > 0 is
    /// the width of the line in characters. out1 answers "OK" or "CANCEL", out2 the
    /// identifier, out3 "". flag, a and b are not used.
    QString Enter(int16_t flag, const QString& defaultText, const QString& caption,
                  const QString& label, const QString& prompt, const QString& identifier,
                  int32_t number, int16_t a, int16_t b, QWidget* owner, QString& out1,
                  QString& out2, QString& out3) override;

private:
    QPointer<QWidget> m_fallbackOwner;
};

}  // namespace tqhost
