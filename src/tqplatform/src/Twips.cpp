#include <tqplatform/Twips.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace tqplatform::twips {

namespace {

constexpr double FallbackDpi = 96.0;  // no screen (no GUI application): the usual desktop

QScreen* screenOf(const QWidget* widget) {
    if (widget != nullptr && widget->screen() != nullptr) {
        return widget->screen();
    }
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? QGuiApplication::primaryScreen()
               : nullptr;
}

double dpi(const QWidget* widget, bool horizontal) {
    const QScreen* screen = screenOf(widget);
    if (screen == nullptr) {
        return FallbackDpi;
    }
    const double value = horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return value > 0 ? value : FallbackDpi;
}

int toPixels(double twips, double perPixel) {
    const double pixels = std::round(twips / perPixel);
    return std::isfinite(pixels) ? static_cast<int>(pixels) : 0;
}

}  // namespace

double perPixelX(const QWidget* widget) {
    return PerInch / dpi(widget, true);
}

double perPixelY(const QWidget* widget) {
    return PerInch / dpi(widget, false);
}

int toPixelsX(double twips, const QWidget* widget) {
    return toPixels(twips, perPixelX(widget));
}

int toPixelsY(double twips, const QWidget* widget) {
    return toPixels(twips, perPixelY(widget));
}

double fromPixelsX(int pixels, const QWidget* widget) {
    return pixels * perPixelX(widget);
}

double fromPixelsY(int pixels, const QWidget* widget) {
    return pixels * perPixelY(widget);
}

}  // namespace tqplatform::twips
