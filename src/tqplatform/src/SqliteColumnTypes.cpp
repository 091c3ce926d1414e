#include "SqliteColumnTypes.h"

#include <QSqlQuery>
#include <QSqlResult>
#include <QVariant>

#include <sqlite3.h>

namespace tqplatform::Internal {

// The SQLite driver does not pass the declared column types on (it reduces them to a few
// Qt types), yet dates and money live in declared types: they are read from the driver's
// statement, through the same SQLite library the driver uses.
QByteArray sqliteDeclaredType(const QSqlQuery& query, int column) {
    if (query.result() == nullptr) {
        return {};
    }
    const QVariant handle = query.result()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0) {
        return {};
    }
    auto* statement = *static_cast<sqlite3_stmt* const*>(handle.constData());
    if (statement == nullptr) {
        return {};
    }
    return QByteArray(sqlite3_column_decltype(statement, column));
}

}  // namespace tqplatform::Internal
