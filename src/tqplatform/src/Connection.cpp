#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>

#include <tqglobal/Error.h>

#include "DatabaseErrors.h"

#include <QSqlQuery>
#include <QUrl>

#include <atomic>

namespace tqplatform {

namespace Internal {

void throwSqlError(const QSqlError& error, const QString& statement) {
    QString text = error.text().trimmed();
    if (text.isEmpty()) {
        text = QStringLiteral("Database error");
    }
    if (!statement.isEmpty()) {
        text += QStringLiteral("\nStatement: ") + statement;
    }
    throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError, text);
}

void throwError(long number, const QString& description) {
    throw tqGlobal::Error(number, description);
}

}  // namespace Internal

namespace {

QString nextConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("tqplatform-connection-%1").arg(++counter);
}

/// The URL as it may appear in a message: without the password.
QString displayUrl(const QString& url) {
    QUrl parsed(url);
    if (parsed.isValid() && !parsed.password().isEmpty()) {
        parsed.setPassword(QStringLiteral("***"));
        return parsed.toString();
    }
    return url;
}

}  // namespace

Connection::Connection(const QString& url)
    : m_url(url),
      m_connectionName(nextConnectionName()),
      m_self(std::make_shared<Connection*>(this)) {
    const QString sqlitePrefix = QStringLiteral("sqlite://");
    if (url.startsWith(sqlitePrefix, Qt::CaseInsensitive)) {
        QString path = url.mid(sqlitePrefix.size());
#if defined(Q_OS_WIN)
        if (path.size() > 3 && path[0] == u'/' && path[1].isLetter() && path[2] == u':') {
            path.remove(0, 1);  // "sqlite:///C:/practice.db" names a drive
        }
#endif
        if (path.isEmpty()) {
            Internal::throwError(tqGlobal::ErrorNumber::DatabaseError,
                                 QStringLiteral("No database file in \"%1\"").arg(url));
        }
        m_kind = DatabaseKind::SQLite;
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        m_db.setDatabaseName(path);
        // Several connections (host, component, reference codes) may share one file.
        m_db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    } else if (url.startsWith(QStringLiteral("postgresql://"), Qt::CaseInsensitive) ||
               url.startsWith(QStringLiteral("postgres://"), Qt::CaseInsensitive)) {
        const QUrl parsed(url, QUrl::StrictMode);
        const QString database = parsed.path(QUrl::FullyDecoded).mid(1);
        if (!parsed.isValid() || parsed.host().isEmpty() || database.isEmpty()) {
            Internal::throwError(
                tqGlobal::ErrorNumber::DatabaseError,
                QStringLiteral("Cannot read the database address \"%1\"").arg(displayUrl(url)));
        }
        m_kind = DatabaseKind::PostgreSQL;
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        m_db.setHostName(parsed.host());
        m_db.setPort(parsed.port(5432));
        m_db.setUserName(parsed.userName(QUrl::FullyDecoded));
        m_db.setPassword(parsed.password(QUrl::FullyDecoded));
        m_db.setDatabaseName(database);
        m_db.setConnectOptions(QStringLiteral("connect_timeout=10"));
    } else {
        Internal::throwError(
            tqGlobal::ErrorNumber::DatabaseError,
            QStringLiteral("Unsupported database address \"%1\"").arg(displayUrl(url)));
    }
    if (!m_db.isValid()) {
        const QString driver = m_db.driverName();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        Internal::throwError(tqGlobal::ErrorNumber::DatabaseError,
                             QStringLiteral("The database driver %1 is not available").arg(driver));
    }
    if (!m_db.open()) {
        const QString text = m_db.lastError().text();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        Internal::throwError(
            tqGlobal::ErrorNumber::DatabaseError,
            QStringLiteral("Cannot open the database %1: %2").arg(displayUrl(url), text));
    }
}

Connection::~Connection() {
    try {
        Close();
    } catch (const tqGlobal::Error&) {
        // A destructor cannot report; Close has released the connection all the same.
    }
}

bool Connection::isOpen() const {
    return m_db.isValid() && m_db.isOpen();
}

int64_t Connection::Execute(const QString& sql) {
    if (!isOpen()) {
        Internal::throwError(Internal::ObjectClosed, QStringLiteral("The connection is closed"));
    }
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        Internal::throwSqlError(query.lastError(), sql);
    }
    const int affected = query.numRowsAffected();
    return affected < 0 ? 0 : affected;
}

Recordset Connection::OpenRecordset(const QString& sql) {
    return Recordset(*this, sql);
}

void Connection::savepoint(const QString& verb) {
    Execute(verb + QStringLiteral(" tq_savepoint_%1").arg(m_transactionDepth));
}

void Connection::BeginTrans() {
    if (!isOpen()) {
        Internal::throwError(Internal::ObjectClosed, QStringLiteral("The connection is closed"));
    }
    if (m_transactionDepth == 0) {
        if (!m_db.transaction()) {
            Internal::throwSqlError(m_db.lastError(), QStringLiteral("BEGIN"));
        }
    } else {
        savepoint(QStringLiteral("SAVEPOINT"));
    }
    ++m_transactionDepth;
}

void Connection::CommitTrans() {
    if (m_transactionDepth == 0) {
        Internal::throwError(tqGlobal::ErrorNumber::DatabaseError,
                             QStringLiteral("No transaction is active"));
    }
    if (m_transactionDepth > 1) {
        --m_transactionDepth;
        savepoint(QStringLiteral("RELEASE SAVEPOINT"));
        return;
    }
    m_transactionDepth = 0;
    if (!m_db.commit()) {
        // A transaction whose commit failed is over: undo what is left of it so that the
        // connection is in a known state, then report the commit's error.
        const QSqlError error = m_db.lastError();
        m_db.rollback();
        Internal::throwSqlError(error, QStringLiteral("COMMIT"));
    }
}

void Connection::RollbackTrans() {
    if (m_transactionDepth == 0) {
        Internal::throwError(tqGlobal::ErrorNumber::DatabaseError,
                             QStringLiteral("No transaction is active"));
    }
    if (m_transactionDepth > 1) {
        --m_transactionDepth;
        savepoint(QStringLiteral("ROLLBACK TO SAVEPOINT"));
        savepoint(QStringLiteral("RELEASE SAVEPOINT"));
        return;
    }
    m_transactionDepth = 0;
    if (!m_db.rollback()) {
        Internal::throwSqlError(m_db.lastError(), QStringLiteral("ROLLBACK"));
    }
}

void Connection::Close() {
    if (!m_db.isValid()) {
        return;
    }
    QSqlError error;
    if (m_transactionDepth > 0 && m_db.isOpen()) {
        // Closing abandons work that was never committed.
        m_transactionDepth = 0;
        if (!m_db.rollback()) {
            error = m_db.lastError();
        }
    }
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_connectionName);
    if (error.isValid()) {
        Internal::throwSqlError(error, QStringLiteral("ROLLBACK"));
    }
}

}  // namespace tqplatform
