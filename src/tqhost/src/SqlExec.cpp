#include "SqlExec.h"

#include <tqplatform/Connection.h>

namespace tqhost::Internal {

QSqlQuery runBound(tqplatform::Connection& connection, const QString& sql,
                   const QVariantList& values) {
    // A query runs again when the connection had to be opened anew; a change does not.
    const bool read = sql.trimmed().startsWith(QStringLiteral("SELECT"), Qt::CaseInsensitive);
    return connection.run(sql, values, read);
}

QVariant firstValue(tqplatform::Connection& connection, const QString& sql,
                    const QVariantList& values) {
    QSqlQuery query = runBound(connection, sql, values);
    if (!query.next()) {
        return {};
    }
    return query.value(0);
}

bool uniqueKeyViolated(const tqplatform::Connection& connection) {
    const QString code = connection.lastFailure().nativeErrorCode();
    // PostgreSQL's SQLSTATE; SQLite's extended codes for a UNIQUE or PRIMARY KEY
    // constraint.
    return code == QStringLiteral("23505") || code == QStringLiteral("2067") ||
           code == QStringLiteral("1555");
}

}  // namespace tqhost::Internal
