#include <tqservicecode/forms/ContextHelp.h>

#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/HelpFile.h>
#include <tqservicecode/forms/HelpWindow.h>
#include <tqservicecode/forms/MainForm.h>

#include <QApplication>
#include <QFrame>
#include <QHash>
#include <QLabel>
#include <QWidget>

namespace tqservicecode {

namespace {

const char* const HelpContextProperty = "HelpContextID";

bool hasNoHelpContext(const QWidget* widget) {
    if (qobject_cast<const QLabel*>(widget) != nullptr) {
        return true;
    }
    const auto* frame = qobject_cast<const QFrame*>(widget);
    return frame != nullptr &&
           (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine);
}

}  // namespace

int HelpContextOfScreen(const QString& screenName) {
    namespace screen = protocol::screen;
    static const QHash<QString, int> contexts = {
        {screen::SelectCode, help::CodePicker},
        {screen::ServiceCodeBrowser, help::ServiceCodeBrowser},
        {screen::DocList, help::ProviderList},
        {screen::Calendar, help::Calendar},
        {screen::ServiceCodeEditor, help::ServiceCodeEditor},
        {screen::FeeChange, help::FeeChange},
        {screen::ReferenceCodes, help::ReferenceCodes},
        {screen::CodeSearch, help::CodeSearch},
        {screen::DocumentPicker, help::DocumentPicker},
        {screen::ExportOptions, help::ExportOptions}};
    return contexts.value(screenName, 0);
}

int helpContextOf(const QWidget* widget) {
    return widget == nullptr ? 0 : widget->property(HelpContextProperty).toInt();
}

void SetHelpContext(QWidget* form, int16_t contextId) {
    if (form == nullptr) {
        return;
    }
    form->setProperty(HelpContextProperty, static_cast<int>(contextId));
    if (form->findChild<HelpKey*>(QString(), Qt::FindDirectChildrenOnly) == nullptr) {
        new HelpKey(form);
    }
    for (QWidget* control : form->findChildren<QWidget*>()) {
        if (!hasNoHelpContext(control)) {
            control->setProperty(HelpContextProperty, static_cast<int>(contextId));
        }
    }
}

void ShowContextHelp(QWidget* form) {
    QWidget* control = QApplication::focusWidget();
    int context = 0;
    if (control != nullptr && (form == nullptr || form->isAncestorOf(control))) {
        context = helpContextOf(control);
    }
    QWidget* screen = form != nullptr ? form : ActiveForm();
    if (context == 0) {
        context = helpContextOf(screen);
    }
    // A screen that never set a context has the page of its name; one that set 0 on
    // purpose (the calculator) has the contents.
    if (context == 0 && screen != nullptr &&
        !screen->window()->property(HelpContextProperty).isValid()) {
        context = HelpContextOfScreen(screen->window()->objectName());
    }
    ShowHelpContext(screen, context);
}

void ShowHelpContext(QWidget* window, int contextId) {
    const QString page = helpTopicPage(helpFile(), contextId);
    if (page.isEmpty()) {
        ShowHelpContents(window);
        return;
    }
    HelpWindow::instance().showPage(page, window != nullptr ? window : ActiveForm());
}

void ShowHelpContents(QWidget* window) {
    HelpWindow::instance().showPage(helpContentsPage(helpFile()),
                                    window != nullptr ? window : ActiveForm());
}

}  // namespace tqservicecode
