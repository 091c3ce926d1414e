#include <tqplatform/ScriptedUi.h>

#include <QApplication>
#include <QDialog>

namespace tqplatform {

ScriptedUi::ScriptedUi() {
    m_previous = ui::installBackend(this);
}

ScriptedUi::~ScriptedUi() {
    ui::installBackend(m_previous);
}

void ScriptedUi::onShow(const QString& name, Handler handler) {
    m_handlers[name] = std::move(handler);
}

void ScriptedUi::onShowOnce(const QString& name, Handler handler) {
    m_onceHandlers[name].append(std::move(handler));
}

QStringList ScriptedUi::prompts() const {
    QStringList result;
    for (const Message& message : messages) {
        result.append(message.prompt);
    }
    return result;
}

int ScriptedUi::defaultAnswer(int buttons) {
    static const int firstAnswer[] = {ui::Answer::Ok,  ui::Answer::Ok,  ui::Answer::Abort,
                                      ui::Answer::Yes, ui::Answer::Yes, ui::Answer::Retry};
    static const int secondAnswer[] = {ui::Answer::Ok, ui::Answer::Cancel, ui::Answer::Retry,
                                       ui::Answer::No, ui::Answer::No,     ui::Answer::Cancel};
    static const int thirdAnswer[] = {ui::Answer::Ok,     ui::Answer::Cancel, ui::Answer::Ignore,
                                      ui::Answer::Cancel, ui::Answer::No,     ui::Answer::Cancel};
    const int set = buttons & 0x7;
    if (set > 5) {
        return ui::Answer::Ok;
    }
    if (buttons & ui::Buttons::DefaultButton3) {
        return thirdAnswer[set];
    }
    if (buttons & ui::Buttons::DefaultButton2) {
        return secondAnswer[set];
    }
    return firstAnswer[set];
}

int ScriptedUi::msgBox(const QString& prompt, int buttons, const QString& title) {
    Message message;
    message.prompt = prompt;
    message.title = title;
    message.buttons = buttons & 0x7;
    message.icon = buttons & 0x70;
    message.defaultButton = (buttons & ui::Buttons::DefaultButton3)   ? 3
                            : (buttons & ui::Buttons::DefaultButton2) ? 2
                                                                      : 1;
    message.answer = answers.isEmpty() ? defaultAnswer(buttons) : answers.takeFirst();
    messages.append(message);
    return message.answer;
}

QString ScriptedUi::inputBox(const QString& prompt, const QString& title,
                             const QString& defaultText) {
    Input input{prompt, title, defaultText, inputs.isEmpty() ? QString() : inputs.takeFirst()};
    inputBoxes.append(input);
    return input.answer;
}

QString ScriptedUi::saveFileName(const QString& title, const QString& folder, const QString& filter,
                                 const QString& defaultExtension) {
    FileDialog dialog{title, folder, filter, defaultExtension,
                      saveFileNames.isEmpty() ? QString() : saveFileNames.takeFirst()};
    fileDialogs.append(dialog);
    return dialog.answer;
}

int ScriptedUi::showModal(QDialog& dialog, QWidget* owner) {
    const QString name = dialog.objectName();
    shownScreens.append(name);
    if (owner != nullptr && dialog.parentWidget() != owner) {
        dialog.setParent(owner, dialog.windowFlags() | Qt::Dialog);
    }
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    QCoreApplication::processEvents();

    Handler handler;
    auto once = m_onceHandlers.find(name);
    if (once != m_onceHandlers.end() && !once->isEmpty()) {
        handler = once->takeFirst();
    } else if (m_handlers.contains(name)) {
        handler = m_handlers.value(name);
    }
    if (handler) {
        handler(dialog);
    }
    // A screen the script left open is closed as with its close box.
    if (dialog.isVisible()) {
        dialog.close();
    }
    if (dialog.isVisible()) {  // a screen that refused to close is hidden all the same
        dialog.hide();
    }
    return dialog.result();
}

}  // namespace tqplatform
