#include <tqservicecode/forms/UserWindowSize.h>

#include <tqservicecode/core/ComponentContext.h>

#include <tqplatform/Twips.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace tqservicecode {

namespace {

QString widthKey(const QString& key) {
    return key + QStringLiteral("_WIDTH") + GIC().GetCurrentUserName();
}

QString heightKey(const QString& key) {
    return key + QStringLiteral("_HEIGHT") + GIC().GetCurrentUserName();
}

/// The room a window has on the form's screen, less its frame.
QSize room(const QWidget& form) {
    QScreen* screen = form.screen() != nullptr ? form.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return {};
    }
    return screen->availableGeometry().size() - QSize(16, 40);
}

}  // namespace

void RestoreUserWindowSize(QWidget& form, const QString& key, QSize defaultSize) {
    tqGlobal::IHostServices& gic = GIC();
    const double width = gic.GetUserSettingNumber(
        widthKey(key), tqplatform::twips::fromPixelsX(defaultSize.width(), &form));
    const double height = gic.GetUserSettingNumber(
        heightKey(key), tqplatform::twips::fromPixelsY(defaultSize.height(), &form));
    QSize size(tqplatform::twips::toPixelsX(width, &form),
               tqplatform::twips::toPixelsY(height, &form));
    if (size.width() <= 0 || size.height() <= 0) {
        size = defaultSize;
    }
    const QSize fits = room(form);
    if (fits.isValid()) {
        size = size.boundedTo(fits);
    }
    form.resize(size.expandedTo(form.minimumSizeHint()));
}

void SaveUserWindowSize(const QWidget& form, const QString& key) {
    tqGlobal::IHostServices& gic = GIC();
    gic.SaveUserSettingNumber(widthKey(key), tqplatform::twips::fromPixelsX(form.width(), &form));
    gic.SaveUserSettingNumber(heightKey(key), tqplatform::twips::fromPixelsY(form.height(), &form));
}

}  // namespace tqservicecode
