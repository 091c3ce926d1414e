#include "NativeCursor.h"

#include <QCoreApplication>
#include <QDate>
#include <QDateTime>
#include <QSqlDriver>
#include <QSqlResult>
#include <QTime>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cmath>
#include <limits>

namespace tqplatform::Internal {

namespace {

/// The driver's handle of a query (a sqlite3_stmt* or a PGresult*, which Qt may name by
/// its struct); null when it has none.
void* queryHandle(const QSqlQuery& query, const char* typeName, const char* structName) {
    if (query.result() == nullptr) {
        return nullptr;
    }
    const QVariant handle = query.result()->handle();
    if (!handle.isValid() || (qstrcmp(handle.typeName(), typeName) != 0 &&
                              qstrcmp(handle.typeName(), structName) != 0)) {
        return nullptr;
    }
    return *static_cast<void* const*>(handle.constData());
}

void storeSqliteRow(sqlite3_stmt* statement, RowStore& store) {
    for (int c = 0; c < store.columnCount(); ++c) {
        switch (sqlite3_column_type(statement, c)) {
            case SQLITE_NULL:
                store.addNull();
                break;
            case SQLITE_INTEGER:
                store.addInteger(sqlite3_column_int64(statement, c));
                break;
            case SQLITE_FLOAT:
                store.addReal(sqlite3_column_double(statement, c));
                break;
            case SQLITE_BLOB: {
                const void* data = sqlite3_column_blob(statement, c);
                store.addBytes(StoredKind::Blob, static_cast<const char*>(data),
                               static_cast<size_t>(sqlite3_column_bytes(statement, c)));
                break;
            }
            default: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                store.addBytes(StoredKind::Text, text,
                               static_cast<size_t>(sqlite3_column_bytes(statement, c)));
                break;
            }
        }
    }
}

// PostgreSQL type oids, and the Qt type the driver gives each.
enum PgType : int {
    PgBool = 16,
    PgBytea = 17,
    PgInt8 = 20,
    PgInt2 = 21,
    PgInt4 = 23,
    PgRegproc = 24,
    PgOid = 26,
    PgXid = 28,
    PgCid = 29,
    PgFloat4 = 700,
    PgFloat8 = 701,
    PgAbstime = 702,
    PgReltime = 703,
    PgDate = 1082,
    PgTime = 1083,
    PgTimestamp = 1114,
    PgTimestampTz = 1184,
    PgTimeTz = 1266,
    PgNumeric = 1700,
};

QVariant postgresValue(QByteArrayView text, int type) {
    const QByteArray value = text.toByteArray();  // zero-terminated, as libpq gives it
    switch (type) {
        case PgBool:
            return QVariant(!value.isEmpty() && value[0] == 't');
        case PgInt8:
            return value.startsWith('-') ? QVariant(value.toLongLong())
                                         : QVariant(value.toULongLong());
        case PgInt2:
        case PgInt4:
        case PgRegproc:
        case PgOid:
        case PgXid:
        case PgCid:
            return QVariant(std::atoi(value.constData()));
        case PgNumeric:
            return QString::fromLatin1(value);  // exact: money and numbers read at full precision
        case PgFloat4:
        case PgFloat8: {
            bool ok = false;
            const double d = value.toDouble(&ok);
            if (ok) {
                return QVariant(d);
            }
            if (qstricmp(value.constData(), "NaN") == 0) {
                return QVariant(std::numeric_limits<double>::quiet_NaN());
            }
            if (qstricmp(value.constData(), "Infinity") == 0) {
                return QVariant(std::numeric_limits<double>::infinity());
            }
            if (qstricmp(value.constData(), "-Infinity") == 0) {
                return QVariant(-std::numeric_limits<double>::infinity());
            }
            return QVariant();
        }
        case PgAbstime:
        case PgReltime:
        case PgDate:
            return QVariant(QDate::fromString(QString::fromLatin1(value), Qt::ISODate));
        case PgTime:
        case PgTimeTz:
            return QVariant(QTime::fromString(QString::fromLatin1(value), Qt::ISODate));
        case PgTimestamp:
        case PgTimestampTz: {
            QString stamp = QString::fromLatin1(value);
            if (stamp.size() < 10) {
                return QVariant(QDateTime());
            }
            const QChar sign = stamp[stamp.size() - 3];
            if (sign == u'-' || sign == u'+') {
                stamp += QStringLiteral(":00");
            }
            return QVariant(QDateTime::fromString(stamp, Qt::ISODate).toLocalTime());
        }
        case PgBytea: {
            size_t length = 0;
            unsigned char* bytes =
                PQunescapeBytea(reinterpret_cast<const unsigned char*>(value.constData()), &length);
            QByteArray result(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(length));
            PQfreemem(bytes);
            return result;
        }
        default:
            return QString::fromUtf8(text);
    }
}

}  // namespace

NativeCursor::NativeCursor(QSqlQuery query, bool postgres)
    : m_query(std::move(query)), m_postgres(postgres) {}

void NativeCursor::close() {
    m_query = QSqlQuery();
    m_done = true;
}

void NativeCursor::cancel() noexcept {
    if (!m_postgres || m_done || !m_query.isActive() || m_query.driver() == nullptr) {
        return;
    }
    const QVariant handle = m_query.driver()->handle();
    auto* connection = handle.isValid() && (qstrcmp(handle.typeName(), "PGconn*") == 0 ||
                                            qstrcmp(handle.typeName(), "pg_conn*") == 0)
                           ? *static_cast<PGconn* const*>(handle.constData())
                           : nullptr;
    if (connection != nullptr && PQstatus(connection) == CONNECTION_OK) {
        // The rest of the statement then ends at once with the server's "canceled"
        // error, which the driver drops with the query.
        if (PGcancel* request = PQgetCancel(connection)) {
            char error[256] = {};
            (void)PQcancel(request, error, sizeof error);
            PQfreeCancel(request);
        }
    }
    close();
}

void NativeCursor::fail(const QSqlError& error, bool lost) {
    m_error = error;
    m_lost = lost;
    close();
}

int NativeCursor::read(RowStore& store, int maxRows) {
    if (m_done || maxRows <= 0) {
        return 0;
    }
    const int read = m_postgres ? readPostgres(store, maxRows) : readSqlite(store, maxRows);
    m_started = true;
    if (m_done) {
        m_query = QSqlQuery();  // the statement goes as soon as its last row is in
    }
    return read;
}

int NativeCursor::readSqlite(RowStore& store, int maxRows) {
    auto* statement =
        static_cast<sqlite3_stmt*>(queryHandle(m_query, "sqlite3_stmt*", "sqlite3_stmt*"));
    if (statement == nullptr || !m_query.isActive()) {
        // The connection was closed underneath and took the statement with it.
        fail(QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                       QCoreApplication::translate("QSQLiteResult", "No query"),
                       QSqlError::ConnectionError),
             true);
        return 0;
    }
    int read = 0;
    if (!m_started) {
        // The driver has stepped onto the first row already (it is still busy then).
        if (sqlite3_stmt_busy(statement) == 0) {
            m_done = true;
            return 0;
        }
        storeSqliteRow(statement, store);
        ++read;
    }
    while (read < maxRows) {
        const int step = sqlite3_step(statement);
        if (step == SQLITE_ROW) {
            storeSqliteRow(statement, store);
            ++read;
        } else if (step == SQLITE_DONE) {
            m_done = true;
            break;
        } else {
            // As the driver reports a failed step: the reset's code, the database's text.
            sqlite3* db = sqlite3_db_handle(statement);
            const int code = sqlite3_reset(statement);
            fail(QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                           QString::fromUtf8(sqlite3_errmsg(db)), QSqlError::ConnectionError,
                           QString::number(code)),
                 false);
            break;
        }
    }
    return read;
}

int NativeCursor::readPostgres(RowStore& store, int maxRows) {
    int read = 0;
    while (read < maxRows) {
        if (!m_query.next()) {
            if (m_query.lastError().isValid()) {
                fail(m_query.lastError(), false);
            } else {
                m_done = true;
            }
            break;
        }
        auto* result = static_cast<PGresult*>(queryHandle(m_query, "PGresult*", "pg_result*"));
        if (result == nullptr) {
            fail(QSqlError(QStringLiteral("QPSQL: Unable to fetch row"), QString(),
                           QSqlError::ConnectionError),
                 true);
            break;
        }
        // A forward-only query comes a row per result; otherwise the row is the position.
        const int row = PQresultStatus(result) == PGRES_SINGLE_TUPLE ? 0 : m_query.at();
        for (int c = 0; c < store.columnCount(); ++c) {
            if (PQgetisnull(result, row, c) != 0) {
                store.addNull();
            } else {
                store.addBytes(StoredKind::Text, PQgetvalue(result, row, c),
                               static_cast<size_t>(PQgetlength(result, row, c)));
            }
        }
        ++read;
    }
    return read;
}

bool NativeCursor::textIsValue(bool postgres, int type) {
    switch (postgres ? type : 0) {
        case PgBool:
        case PgBytea:
        case PgInt8:
        case PgInt2:
        case PgInt4:
        case PgRegproc:
        case PgOid:
        case PgXid:
        case PgCid:
        case PgFloat4:
        case PgFloat8:
        case PgAbstime:
        case PgReltime:
        case PgDate:
        case PgTime:
        case PgTimestamp:
        case PgTimestampTz:
        case PgTimeTz:
        case PgNumeric:
            return false;
        default:
            return true;
    }
}

QVariant NativeCursor::driverValue(const RowStore& store, int64_t row, int column, bool postgres,
                                   int type) {
    switch (store.kind(row, column)) {
        case StoredKind::Null:
            return {};
        case StoredKind::Integer:
            return QVariant(static_cast<qlonglong>(store.integer(row, column)));
        case StoredKind::Real:
            return QVariant(store.real(row, column));
        case StoredKind::Blob:
            return store.bytes(row, column).toByteArray();
        case StoredKind::Variant:
            return store.variant(row, column);
        case StoredKind::Text:
            break;
    }
    const QByteArrayView text = store.bytes(row, column);
    return postgres ? postgresValue(text, type) : QVariant(QString::fromUtf8(text));
}

}  // namespace tqplatform::Internal
