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
/// Throws tqGlobal::Error (database error) with the driver's text when it fails.
QSqlQuery runBound(tqplatform::Connection& connection, const QString& sql,
                   const QVariantList& values = {});

/// Runs a query with bound values and answers the first column of the first row; an
/// invalid QVariant when there is no row.
QVariant firstValue(tqplatform::Connection& connection, const QString& sql,
                    const QVariantList& values = {});

/// The SQLSTATE (PostgreSQL) or driver code of the last failure of a query.
QString failureCode(const QSqlQuery& query);

}  // namespace tqhost::Internal
