#include <tqservicecode/forms/BusyMessage.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/HelpFile.h>
#include <tqservicecode/forms/MainForm.h>

#include <tqplatform/Twips.h>

#include <QWidget>

#include <memory>

namespace tqservicecode {

namespace {

/// The component's version, given to the please-wait window.
constexpr int VersionMajor = 1;
constexpr int VersionMinor = 0;
constexpr int VersionRevision = 0;

std::shared_ptr<tqGlobal::IBusyMessageControl>& busyControl() {
    thread_local std::shared_ptr<tqGlobal::IBusyMessageControl> control;
    return control;
}

}  // namespace

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
    QWidget* form = ActiveForm();
    const QPoint origin = form != nullptr ? form->mapToGlobal(QPoint(0, 0)) : QPoint(0, 0);
    const QRect geometry(origin.x() + tqplatform::twips::toPixelsX(left, form),
                         origin.y() + tqplatform::twips::toPixelsY(top, form),
                         tqplatform::twips::toPixelsX(width, form),
                         tqplatform::twips::toPixelsY(height, form));
    control->showMessage(busyMessageHtml(text), geometry, VersionMajor, VersionMinor,
                         VersionRevision);
}

}  // namespace tqservicecode
