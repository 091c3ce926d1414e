#include <tqplatform/InputBoxDialog.h>

#include <QLineEdit>

namespace tqplatform {

InputBoxDialog::InputBoxDialog(const QString& prompt, const QString& title, const QString& text,
                               QWidget* parent)
    : QInputDialog(parent) {
    setWindowTitle(title);
    setLabelText(prompt);
    setInputMode(QInputDialog::TextInput);
    setTextValue(text);
}

void InputBoxDialog::setVisible(bool visible) {
    // The dialog selects its whole text as it is shown; the cursor goes after it instead.
    QInputDialog::setVisible(visible);
    if (visible) {
        if (auto* box = findChild<QLineEdit*>()) {
            box->deselect();
            box->end(false);
        }
    }
}

}  // namespace tqplatform
