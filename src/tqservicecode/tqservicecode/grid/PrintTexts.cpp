#include "PrintTexts.h"

#include <tqplatform/Vb.h>

namespace tqservicecode::printtext {

namespace {

/// The system's line break in every message.
const QString LineBreak = QStringLiteral("\r\n");
const QString TwoLineBreaks = LineBreak + LineBreak;

const QString CheckConnection = QStringLiteral(
    "Please check the printer to make sure it is turned on and properly connected. Otherwise, ");
const QString LatestDriver = QStringLiteral(
    "verify that the latest printer driver recommended by the manufacturer of "
    "your printer is installed.");

}  // namespace

QString notFoundTitle() {
    return QStringLiteral("Printer Not Found");
}

QString notFound(const QString& appTitle, int errorNumber, const QString& errorText) {
    return appTitle + QStringLiteral(" was unable to locate a printer for this computer.") +
           TwoLineBreaks + CheckConnection +
           QStringLiteral(
               "verify that the driver recommended by the manufacturer of your "
               "printer has been installed.") +
           TwoLineBreaks + QStringLiteral("Code: ") + QString::number(errorNumber) + LineBreak +
           QStringLiteral("Message: ") + errorText;
}

QString unavailableTitle() {
    return QStringLiteral("Printer Unavailable");
}

QString defaultNotAccessible(const QString& appTitle) {
    return appTitle + QStringLiteral(" was unable to access your system default printer.") +
           TwoLineBreaks + CheckConnection + LatestDriver;
}

QString defaultNotOpened(const QString& appTitle) {
    return appTitle + QStringLiteral(" was unable to open your system default printer.") +
           TwoLineBreaks +
           QStringLiteral(
               "Please make sure your Microsoft Windows login name has been granted "
               "'Print' permissions in the security tab of the printer properties "
               "dialog for this printer. Otherwise, ") +
           LatestDriver;
}

QString notReadyTitle() {
    return QStringLiteral("Printer not ready");
}

QString notReady(const QString& appTitle, const QString& printerName) {
    return appTitle + QStringLiteral(" was unable to open the printer named ") + printerName +
           QStringLiteral(". Please verify that the printer is turned on and properly connected.");
}

QString selectedUnusableTitle() {
    return QStringLiteral("Printing");
}

QString selectedUnusable(const QString& appTitle) {
    return appTitle + QStringLiteral(
                          " was unable to access your selected printer. The default "
                          "printer for this computer will be used instead.");
}

QString footerLeft(const QDate& date, const QTime& time) {
    return QStringLiteral("Date : ") + tqplatform::vb::Format(date, QStringLiteral("Short Date")) +
           QStringLiteral(" Time : ") +
           tqplatform::vb::Format(QDateTime(date, time), QStringLiteral("Medium Time"));
}

QString footerRight(int page, int pages) {
    return QStringLiteral("Page: %1 of %2").arg(page).arg(pages);
}

}  // namespace tqservicecode::printtext
