#pragma once

#include <QSqlError>
#include <QString>

namespace tqplatform::Internal {

/// ADO's "operation is not allowed when the object is closed".
inline constexpr long ObjectClosed = 3704;
/// ADO's "arguments are of the wrong type, out of range or in conflict".
inline constexpr long BadArgument = 3001;
/// ADO's "item cannot be found in the collection" (an unknown field name).
inline constexpr long ItemNotFound = 3265;

/// Throws tqplatform::Error (DatabaseError) with the driver's text and the statement.
[[noreturn]] void throwSqlError(const QSqlError& error, const QString& statement);
[[noreturn]] void throwError(long number, const QString& description);

}  // namespace tqplatform::Internal
