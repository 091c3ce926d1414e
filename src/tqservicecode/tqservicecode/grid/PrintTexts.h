#pragma once

#include <QDate>
#include <QString>
#include <QTime>

/// The texts printing shows: the printer messages and the page footer.
namespace tqservicecode::printtext {

/// VB's "Printer error": the error a missing printer is reported with.
inline constexpr int PrinterErrorNumber = 482;

QString notFoundTitle();
QString notFound(const QString& appTitle, int errorNumber, const QString& errorText);
QString unavailableTitle();
QString defaultNotAccessible(const QString& appTitle);
QString defaultNotOpened(const QString& appTitle);
QString notReadyTitle();
QString notReady(const QString& appTitle, const QString& printerName);
QString selectedUnusableTitle();
QString selectedUnusable(const QString& appTitle);

/// "Date : 3/4/2026 Time : 09:05 AM": the left part of every page footer.
QString footerLeft(const QDate& date, const QTime& time);
/// "Page: 2 of 5": the right part.
QString footerRight(int page, int pages);

}  // namespace tqservicecode::printtext
