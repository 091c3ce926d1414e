#pragma once

class QWidget;

/// Settings and layout values kept in twips (1440 per inch), converted with the
/// screen's logical resolution.
namespace tqplatform::twips {

inline constexpr int PerInch = 1440;

/// Twips per pixel of the screen that shows widget (the primary screen when null).
double perPixelX(const QWidget* widget = nullptr);
double perPixelY(const QWidget* widget = nullptr);
int toPixelsX(double twips, const QWidget* widget = nullptr);
int toPixelsY(double twips, const QWidget* widget = nullptr);
double fromPixelsX(int pixels, const QWidget* widget = nullptr);
double fromPixelsY(int pixels, const QWidget* widget = nullptr);

}  // namespace tqplatform::twips
