#include <tqservicecode/forms/FormHelpers.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/HelpFile.h>
#include <tqservicecode/forms/HelpWindow.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/reference/ReferenceCodeScreen.h>

#include <tqplatform/Twips.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QWidget>

#include <memory>
#include <optional>

namespace tqservicecode {

namespace {

const char* const HelpContextProperty = "HelpContextID";

/// The component's version, given to the please-wait window.
constexpr int VersionMajor = 1;
constexpr int VersionMinor = 0;
constexpr int VersionRevision = 0;

QWidget* activeForm() {
    if (QWidget* active = QApplication::activeWindow()) {
        return active;
    }
    return MainForm();
}

bool hasNoHelpContext(const QWidget* widget) {
    if (qobject_cast<const QLabel*>(widget) != nullptr) {
        return true;
    }
    const auto* frame = qobject_cast<const QFrame*>(widget);
    return frame != nullptr &&
           (frame->frameShape() == QFrame::HLine || frame->frameShape() == QFrame::VLine);
}

std::shared_ptr<tqGlobal::IBusyMessageControl>& busyControl() {
    thread_local std::shared_ptr<tqGlobal::IBusyMessageControl> control;
    return control;
}

}  // namespace

QWidget* MainForm() {
    thread_local QPointer<QWidget> cached;
    if (cached.isNull() && hasGIC()) {
        if (QWidget* window = GIC().GetMainForm()) {
            cached = window;
        }
    }
    return cached.data();
}

void SetFormIcon(QWidget* window, const QString& iconName, int /*flag*/) {
    if (window == nullptr) {
        return;
    }
    const QIcon icon(QStringLiteral(":/tqservicecode/icons/") + iconName + QStringLiteral(".png"));
    for (QWidget* w = window; w != nullptr; w = w->parentWidget()) {
        if (w->isWindow()) {
            w->setWindowIcon(icon);
        }
    }
}

void CenterForm(QWidget* form, int /*flag*/) {
    if (form == nullptr || (form->windowState() &
                            (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        return;
    }
    QScreen* screen = form->screen() != nullptr ? form->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    const QSize size = form->frameGeometry().size();
    const int left = std::max(0, (area.width() - size.width()) / 2);
    const int top = std::max(0, (area.height() - size.height()) / 2);
    form->move(area.left() + left, area.top() + top);
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
    if (context == 0) {
        context = helpContextOf(form != nullptr ? form : activeForm());
    }
    ShowHelpContext(form, context);
}

void ShowHelpContext(QWidget* window, int contextId) {
    const QString page = helpTopicPage(helpFile(), contextId);
    if (page.isEmpty()) {
        ShowHelpContents(window);
        return;
    }
    HelpWindow::instance().showPage(page);
}

void ShowHelpContents(QWidget* /*window*/) {
    HelpWindow::instance().showPage(helpContentsPage(helpFile()));
}

void ShowBusyMessage(const QString& text, int left, int top, int width, int height,
                     int /*options*/) {
    auto& control = busyControl();
    if (text.isEmpty()) {
        if (control) {
            control->closeMessage();
            control.reset();
        }
        return;
    }
    if (!control) {
        control = GIC().CreateBusyMessageControl();
        if (!control) {
            return;
        }
    }
    QWidget* form = activeForm();
    const QPoint origin = form != nullptr ? form->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    const QRect geometry(origin.x() + tqplatform::twips::toPixelsX(left, form),
                         origin.y() + tqplatform::twips::toPixelsY(top, form),
                         tqplatform::twips::toPixelsX(width, form),
                         tqplatform::twips::toPixelsY(height, form));
    control->showMessage(busyMessageHtml(text), geometry, VersionMajor, VersionMinor,
                         VersionRevision);
}

void ShowReferenceCodes(int32_t displayType, const QString& searchText) {
    std::unique_ptr<QDialog> screen = ScreenFactory::create(ReferenceCodeScreenName);
    if (!screen) {
        return;
    }
    if (auto* codes = dynamic_cast<ReferenceCodeScreen*>(screen.get())) {
        codes->SetupScreen(displayType, searchText);
    }
    tqplatform::ui::showModal(*screen, MainForm());
}

bool MouseMovedToNewWindow() {
    thread_local std::optional<QPointer<QWidget>> lastSeen;
    QWidget* under = QApplication::widgetAt(QCursor::pos());
    if (lastSeen.has_value() && lastSeen->data() == under) {
        return false;
    }
    lastSeen = QPointer<QWidget>(under);
    return true;
}

}  // namespace tqservicecode
