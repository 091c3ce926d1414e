#include <tqplatform/ui.h>

#include <tqplatform/InputBoxDialog.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include <exception>

namespace tqplatform::ui {

namespace {

QString& titleStorage() {
    static QString title = QStringLiteral("Tavix Windows");
    return title;
}

bool& forbiddenFlag() {
    static bool forbidden = false;
    return forbidden;
}

void refuseRealDialog(const char* what, const QString& text) {
    if (forbiddenFlag()) {
        qFatal("A real %s would wait for a person: \"%s\". Install a tqplatform::ScriptedUi.", what,
               qPrintable(text));
    }
}

QMessageBox::Icon iconFor(int buttons) {
    switch (buttons & 0x70) {
        case Buttons::Critical:
            return QMessageBox::Critical;
        case Buttons::Question:
            return QMessageBox::Question;
        case Buttons::Exclamation:
            return QMessageBox::Warning;
        case Buttons::Information:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

QList<ButtonSpec> buttonsFor(int buttons) {
    switch (buttons & 0x7) {
        case Buttons::OkCancel:
            return {{QMessageBox::Ok, Answer::Ok}, {QMessageBox::Cancel, Answer::Cancel}};
        case Buttons::AbortRetryIgnore:
            return {{QMessageBox::Abort, Answer::Abort},
                    {QMessageBox::Retry, Answer::Retry},
                    {QMessageBox::Ignore, Answer::Ignore}};
        case Buttons::YesNoCancel:
            return {{QMessageBox::Yes, Answer::Yes},
                    {QMessageBox::No, Answer::No},
                    {QMessageBox::Cancel, Answer::Cancel}};
        case Buttons::YesNo:
            return {{QMessageBox::Yes, Answer::Yes}, {QMessageBox::No, Answer::No}};
        case Buttons::RetryCancel:
            return {{QMessageBox::Retry, Answer::Retry}, {QMessageBox::Cancel, Answer::Cancel}};
        default:
            return {{QMessageBox::Ok, Answer::Ok}};
    }
}

/// The real dialogs of the platform.
class RealBackend : public Backend {
public:
    int msgBox(const QString& prompt, int buttons, const QString& title) override {
        refuseRealDialog("message box", prompt);
        QMessageBox box(iconFor(buttons), title, prompt, QMessageBox::NoButton,
                        QApplication::activeWindow());
        const QList<ButtonSpec> specs = buttonsFor(buttons);
        for (const ButtonSpec& spec : specs) {
            box.addButton(spec.button);
        }
        const int defaultIndex = (buttons & Buttons::DefaultButton3)   ? 2
                                 : (buttons & Buttons::DefaultButton2) ? 1
                                                                       : 0;
        if (defaultIndex < specs.size()) {
            box.setDefaultButton(specs[defaultIndex].button);
        }
        const int pressed = box.exec();
        for (const ButtonSpec& spec : specs) {
            if (spec.button == pressed) {
                return spec.answer;
            }
        }
        // Closed with Esc or the close box: the Cancel answer where there is one.
        return specs.size() > 1 ? specs.last().answer : Answer::Ok;
    }

    QString inputBox(const QString& prompt, const QString& title,
                     const QString& defaultText) override {
        refuseRealDialog("input box", prompt);
        InputBoxDialog box(prompt, title, defaultText, QApplication::activeWindow());
        return box.exec() == QDialog::Accepted ? box.textValue() : QString();
    }

    int showModal(QDialog& dialog, QWidget* owner) override {
        refuseRealDialog("screen", dialog.objectName());
        if (owner != nullptr && dialog.parentWidget() != owner) {
            dialog.setParent(owner, dialog.windowFlags() | Qt::Dialog);
        }
        return dialog.exec();
    }

    QString saveFileName(const QString& title, const QString& folder, const QString& filter,
                         const QString& defaultExtension) override {
        refuseRealDialog("file dialog", title);
        QFileDialog dialog(QApplication::activeWindow(), title, folder);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(defaultExtension);
        // "Description (*.ext)|*.ext|..." pairs: Qt shows the descriptions.
        const QStringList parts = filter.split(u'|');
        QStringList names;
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
            names << (parts[i].contains(u'(') ? parts[i] : parts[i] + " (" + parts[i + 1] + ")");
        }
        dialog.setNameFilters(names);
        if (!names.isEmpty()) {
            dialog.selectNameFilter(names.first());
        }
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    }
};

RealBackend& realBackend() {
    static RealBackend backend;
    return backend;
}

Backend*& backendSlot() {
    static Backend* backend = nullptr;
    return backend;
}

}  // namespace

Backend* installBackend(Backend* backend) {
    Backend* previous = backendSlot();
    backendSlot() = backend;
    return previous;
}

Backend* currentBackend() {
    return backendSlot() != nullptr ? backendSlot() : &realBackend();
}

void setRealDialogsForbidden(bool forbidden) {
    forbiddenFlag() = forbidden;
}
bool realDialogsForbidden() {
    return forbiddenFlag();
}

QString applicationTitle() {
    return titleStorage();
}
void setApplicationTitle(const QString& title) {
    titleStorage() = title;
}

int msgBox(const QString& prompt, int buttons, const QString& title) {
    // A message always shows the normal pointer: lift every hourglass while the box is
    // up, then put them back.
    int pushed = 0;
    while (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
        ++pushed;
    }
    const int answer =
        currentBackend()->msgBox(prompt, buttons, title.isEmpty() ? applicationTitle() : title);
    for (int i = 0; i < pushed; ++i) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    }
    return answer;
}

QString inputBox(const QString& prompt, const QString& title, const QString& defaultText) {
    return currentBackend()->inputBox(prompt, title.isEmpty() ? applicationTitle() : title,
                                      defaultText);
}

int showModal(QDialog& dialog, QWidget* owner) {
    return currentBackend()->showModal(dialog, owner);
}

QString saveFileName(const QString& title, const QString& folder, const QString& filter,
                     const QString& defaultExtension) {
    return currentBackend()->saveFileName(title, folder, filter, defaultExtension);
}

void doEvents() {
    QCoreApplication::processEvents();
}

QString failureMessage(const QString& reason) {
    return QStringLiteral("This could not be done:\r\n\r\n%1").arg(reason.trimmed());
}

bool guard(const std::function<void()>& handler) {
    QString reason;
    try {
        handler();
        return true;
    } catch (const std::exception& error) {
        reason = QString::fromUtf8(error.what());
    } catch (...) {
        reason = QStringLiteral("An unexpected error occurred.");
    }
    try {
        msgBox(failureMessage(reason), Buttons::OkOnly | Buttons::Critical);
    } catch (...) {
        // The box itself failed (a script with no answer left): nothing more can be told.
    }
    return false;
}

WaitCursor::WaitCursor() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_active = true;
    }
}

WaitCursor::~WaitCursor() {
    restore();
}

void WaitCursor::restore() {
    if (m_active) {
        QApplication::restoreOverrideCursor();
        m_active = false;
    }
}

}  // namespace tqplatform::ui
