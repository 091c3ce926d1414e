#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

namespace tqplatform {
class Connection;
}

namespace tqhost::Internal {

/// Runs a statement with positional ("?") bound values on the connection's database.
/// Throws tqGlobal::Error (database error) with the driver's text when it fails, or the
/// connection's ConnectionLost; a SELECT runs again when the connection was reopened.
QSqlQuery runBound(tqplatform::Connection& connection, const QString& sql,
                   const QVariantList& values = {});

/// Runs a query with bound values and answers the first column of the first row; an
/// invalid QVariant when there is no row.
QVariant firstValue(tqplatform::Connection& connection, const QString& sql,
                    const QVariantList& values = {});

/// Whether the connection's last failed statement broke a unique key (or primary key).
bool uniqueKeyViolated(const tqplatform::Connection& connection);

}  // namespace tqhost::Internal
