#include "SqlExec.h"

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>

#include <QSqlError>

namespace tqhost::Internal {

QSqlQuery runBound(tqplatform::Connection& connection, const QString& sql,
                   const QVariantList& values) {
    QSqlQuery query(connection.database());
    query.setForwardOnly(true);
    bool ok = false;
    if (values.isEmpty()) {
        // Unprepared: PostgreSQL prepares only queries and row changes, not SET or DDL.
        ok = query.exec(sql);
    } else {
        ok = query.prepare(sql);
        if (ok) {
            for (int i = 0; i < values.size(); ++i) {
                query.bindValue(i, values.at(i));
            }
            ok = query.exec();
        }
    }
    if (!ok) {
        throw tqGlobal::Error(
            tqGlobal::ErrorNumber::DatabaseError,
            query.lastError().text() + QStringLiteral(" [") + sql + QStringLiteral("]"));
    }
    return query;
}

QVariant firstValue(tqplatform::Connection& connection, const QString& sql,
                    const QVariantList& values) {
    QSqlQuery query = runBound(connection, sql, values);
    if (!query.next()) {
        return {};
    }
    return query.value(0);
}

QString failureCode(const QSqlQuery& query) {
    return query.lastError().nativeErrorCode();
}

}  // namespace tqhost::Internal
