#pragma once

#include <QColor>
#include <QString>

/// The rules of the service code search window: its statement, its row colours and its
/// answer.
namespace tqservicecode::codesearch {

/// The grid's layout file tag; the user's name follows it.
inline const QString LayoutTag = QStringLiteral("SRSC");

/// The result columns, in their order; captions and field names alike.
namespace field {
inline const QString ServiceCode = QStringLiteral("Service Code");
inline const QString OfficeCode = QStringLiteral("Office Code");
inline const QString Description = QStringLiteral("Description");
inline const QString Type = QStringLiteral("Type");
inline const QString ID = QStringLiteral("ID");
}  // namespace field

/// The statement that finds every service code in the practice's scope whose code,
/// office code or description holds text (every character taken literally; "" finds
/// every code), with the columns above. A text that reads as a code also finds the code
/// written with or without its point ("K029" finds "K02.9").
QString findCodesStatement(const QString& text);

/// The sort of the result list.
inline const QString ResultSort = QStringLiteral("[Service Code]");

/// The text colour of a row by its type's leading number: credits red, administrative
/// codes dark blue, everything else black.
QColor typeColor(const QString& type);

/// What the window answers for a chosen row: the office code, or the service code when
/// the office code is empty.
QString selectionOf(const QString& officeCode, const QString& serviceCode);

}  // namespace tqservicecode::codesearch
