#pragma once

#include "RowStore.h"

#include <QSqlError>
#include <QSqlQuery>

#include <vector>

namespace tqplatform::Internal {

/// Reads the rows of a query the Qt driver has run straight from the database's own client
/// behind it (the sqlite3 statement, libpq's results) into a RowStore: the driver prepares,
/// runs and reports errors as for any other statement, and no value passes through a
/// QVariant on the way in. Rows can be read in parts, as the screen needs them.
class NativeCursor {
public:
    /// query: executed, forward-only, positioned before its first row.
    NativeCursor(QSqlQuery query, bool postgres);

    /// Appends up to maxRows rows to store. done() tells when none are left; a failure
    /// ends the read with error() set (lost() when the statement went with its connection).
    int read(RowStore& store, int maxRows);
    bool done() const { return m_done; }
    const QSqlError& error() const { return m_error; }
    bool lost() const { return m_lost; }
    /// Ends the read early and lets the statement go.
    void close();
    /// Ends the read of a PostgreSQL statement whose rows are still coming by asking the
    /// server to stop it, then lets it go: the driver would otherwise take in every row
    /// left before the connection could run anything else. Only outside a transaction,
    /// which a stopped statement would abort.
    void cancel() noexcept;

    /// A stored value as the Qt driver would have given it (type is the PostgreSQL type oid).
    static QVariant driverValue(const RowStore& store, int64_t row, int column, bool postgres,
                                int type);
    /// True when a stored text of a column of this type is the value itself (its driver
    /// value is the text decoded from UTF-8).
    static bool textIsValue(bool postgres, int type);

private:
    int readSqlite(RowStore& store, int maxRows);
    int readPostgres(RowStore& store, int maxRows);
    void fail(const QSqlError& error, bool lost);

    QSqlQuery m_query;
    bool m_postgres;
    bool m_started = false;
    bool m_done = false;
    bool m_lost = false;
    QSqlError m_error;
};

}  // namespace tqplatform::Internal
