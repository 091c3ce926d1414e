#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>

#include <tqplatform/Error.h>

#include "DatabaseErrors.h"
#include "PendingRead.h"

#include "SqliteCollation.h"

#include <QLocale>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>

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
    throw tqplatform::Error(tqplatform::ErrorNumber::DatabaseError, text);
}

void throwError(long number, const QString& description) {
    throw tqplatform::Error(number, description);
}

}  // namespace Internal

namespace {

QString nextConnectionName() {
    static std::atomic<quint64> counter{0};
    return QStringLiteral("tqplatform-connection-%1").arg(++counter);
}

/// The address as it may appear in a message: whatever stands between the user name's
/// colon and the last "@" (the password) is replaced, whether or not the address parses.
QString displayUrl(const QString& url) {
    const qsizetype at = url.lastIndexOf(u'@');
    if (at < 0) {
        return url;
    }
    const qsizetype scheme = url.indexOf(QStringLiteral("://"));
    const qsizetype from = scheme >= 0 && scheme < at ? scheme + 3 : 0;
    const qsizetype colon = url.indexOf(u':', from);
    if (colon < 0 || colon > at) {
        return url;
    }
    return url.left(colon + 1) + QStringLiteral("***") + url.mid(at);
}

[[noreturn]] void throwLost(const QString& what, const QString& reason) {
    Internal::throwError(Connection::ConnectionLost,
                         QStringLiteral("The connection to the database was lost%1: %2")
                             .arg(what, reason.trimmed()));
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
            Internal::throwError(tqplatform::ErrorNumber::DatabaseError,
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
        const QString timeout = QUrlQuery(parsed).queryItemValue(QStringLiteral("lock_timeout"));
        bool timeoutOk = true;
        const double seconds = timeout.isEmpty() ? DefaultLockTimeoutMs / 1000.0
                                                 : QLocale::c().toDouble(timeout, &timeoutOk);
        if (!parsed.isValid() || parsed.host().isEmpty() || database.isEmpty() || !timeoutOk ||
            !(seconds >= 0 && seconds <= 86400)) {
            Internal::throwError(
                tqplatform::ErrorNumber::DatabaseError,
                QStringLiteral("Cannot read the database address \"%1\"").arg(displayUrl(url)));
        }
        m_lockTimeoutMs = static_cast<int>(seconds * 1000);
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
            tqplatform::ErrorNumber::DatabaseError,
            QStringLiteral("Unsupported database address \"%1\"").arg(displayUrl(url)));
    }
    if (!m_db.isValid()) {
        const QString driver = m_db.driverName();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        Internal::throwError(tqplatform::ErrorNumber::DatabaseError,
                             QStringLiteral("The database driver %1 is not available").arg(driver));
    }
    try {
        openSession();
    } catch (const tqplatform::Error&) {
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw;
    }
}

void Connection::openSession() {
    if (!m_db.open()) {
        Internal::throwError(tqplatform::ErrorNumber::DatabaseError,
                             QStringLiteral("Cannot open the database %1: %2")
                                 .arg(displayUrl(m_url), m_db.lastError().text()));
    }
    QStringList settings;
    if (m_kind == DatabaseKind::PostgreSQL) {
        // Quotes doubled are the only escape in a literal (SqlText relies on it), whatever
        // the server's or the database's default; texts travel as UTF-8; a lock held by
        // another workstation fails the statement after a while instead of freezing it.
        settings << QStringLiteral("SET standard_conforming_strings = on")
                 << QStringLiteral("SET client_encoding = 'UTF8'")
                 << QStringLiteral("SET lock_timeout = %1").arg(m_lockTimeoutMs);
    } else {
        Internal::installUnicodeNoCase(m_db);
    }
    for (const QString& setting : settings) {
        QSqlQuery query(m_db);
        if (!query.exec(setting)) {
            failSession(query.lastError().text());
        }
    }
    for (const SessionStatement& statement : std::as_const(m_sessionStatements)) {
        bool ok = false;
        const QSqlQuery query = attempt(statement.sql, statement.values, false, ok);
        if (!ok) {
            failSession(query.lastError().text());
        }
    }
}

void Connection::failSession(const QString& reason) {
    m_db.close();
    Internal::throwError(
        tqplatform::ErrorNumber::DatabaseError,
        QStringLiteral("Cannot open the database %1: %2").arg(displayUrl(m_url), reason));
}

void Connection::setSessionStatement(const QString& key, const QString& sql,
                                     const QVariantList& values) {
    run(sql, values);
    m_sessionStatements.insert(key, {sql, values});
}

Connection::~Connection() {
    try {
        Close();
    } catch (const tqplatform::Error&) {
        // A destructor cannot report; Close has released the connection all the same.
    }
}

bool Connection::isOpen() const {
    return m_db.isValid() && m_db.isOpen();
}

int64_t Connection::Execute(const QString& sql) {
    const QSqlQuery query = run(sql);
    const int affected = query.numRowsAffected();
    return affected < 0 ? 0 : affected;
}

void Connection::settlePendingRead() {
    if (const auto pending = std::exchange(m_pendingRead, {}).lock()) {
        pending->settle();
    }
}

void Connection::requireOpen() {
    settlePendingRead();
    if (!m_db.isValid()) {
        Internal::throwError(Internal::ObjectClosed, QStringLiteral("The connection is closed"));
    }
    // Closed underneath: nothing of this statement ran yet, so it may run on the reopened
    // connection, unless it belongs to a transaction that went with the old one.
    if (!m_db.isOpen()) {
        reopenIfLost();
    }
    if (m_transactionLost) {
        throwLost(QStringLiteral(", and what was not yet saved is undone"),
                  QStringLiteral("roll the transaction back and begin again"));
    }
}

bool Connection::isLost() {
    if (!m_db.isValid()) {
        return false;  // closed on purpose
    }
    if (!m_db.isOpen()) {
        return true;
    }
    if (m_kind != DatabaseKind::PostgreSQL) {
        return false;
    }
    // A sound session answers, or refuses only because its transaction failed already.
    QSqlQuery probe(m_db);
    return !probe.exec(QStringLiteral("SELECT 1")) &&
           probe.lastError().nativeErrorCode() != QStringLiteral("25P02");
}

bool Connection::reopenIfLost() {
    if (!isLost()) {
        return false;
    }
    m_transactionLost = m_transactionDepth > 0;
    m_db.close();
    try {
        openSession();
    } catch (const tqplatform::Error& error) {
        throwLost(QStringLiteral(" and cannot be opened again"), error.description());
    }
    return true;
}

void Connection::failedRead(const QSqlError& error, const QString& statement, bool lost) {
    m_pendingRead.reset();
    if (lost || reopenIfLost()) {
        if (lost) {
            reopenIfLost();
        }
        m_lastFailure = error;
        throwLost(QStringLiteral(" while rows were read; it is open again"), error.text());
    }
    throwFailure(error, statement);
}

void Connection::throwFailure(const QSqlError& error, const QString& statement) {
    m_lastFailure = error;
    Internal::throwSqlError(error, statement);
}

QSqlQuery Connection::attempt(const QString& sql, const QVariantList& values, bool exactNumbers,
                              bool& ok) {
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    if (exactNumbers) {
        query.setNumericalPrecisionPolicy(QSql::HighPrecision);
    }
    if (values.isEmpty()) {
        // Unprepared: PostgreSQL prepares only queries and row changes, not SET or DDL.
        ok = query.exec(sql);
    } else {
        ok = query.prepare(sql);
        for (int i = 0; ok && i < values.size(); ++i) {
            query.bindValue(i, values.at(i));
        }
        ok = ok && query.exec();
    }
    return query;
}

QSqlQuery Connection::run(const QString& sql, const QVariantList& values, bool rerunIfReconnected,
                          bool exactNumbers) {
    requireOpen();
    bool ok = false;
    QSqlQuery query = attempt(sql, values, exactNumbers, ok);
    if (ok) {
        return query;
    }
    const QSqlError error = query.lastError();
    const bool inTransaction = m_transactionDepth > 0;
    if (!reopenIfLost()) {
        throwFailure(error, sql);
    }
    if (rerunIfReconnected && !inTransaction) {
        query = attempt(sql, values, exactNumbers, ok);
        if (ok) {
            return query;
        }
        throwFailure(query.lastError(), sql);
    }
    m_lastFailure = error;
    throwLost(inTransaction ? QStringLiteral(", and what was not yet saved is undone")
                            : QStringLiteral("; it is open again, but the last change was not "
                                             "saved"),
              error.text());
}

Recordset Connection::OpenRecordset(const QString& sql) {
    return Recordset(*this, sql);
}

Recordset Connection::OpenRecordset(const QString& sql, int firstRows) {
    return Recordset(*this, sql, firstRows);
}

void Connection::savepoint(const QString& verb) {
    Execute(verb + QStringLiteral(" tq_savepoint_%1").arg(m_transactionDepth));
}

void Connection::BeginTrans() {
    requireOpen();
    if (m_transactionDepth == 0) {
        // Nothing is lost when the connection fails before a transaction starts.
        if (!m_db.transaction() && (!reopenIfLost() || !m_db.transaction())) {
            throwFailure(m_db.lastError(), QStringLiteral("BEGIN"));
        }
    } else {
        savepoint(QStringLiteral("SAVEPOINT"));
    }
    ++m_transactionDepth;
}

void Connection::CommitTrans() {
    settlePendingRead();
    if (m_transactionLost) {
        m_transactionLost = --m_transactionDepth > 0;
        throwLost(QStringLiteral(" before this could be saved"),
                  QStringLiteral("nothing of it was kept"));
    }
    if (m_transactionDepth == 0) {
        Internal::throwError(tqplatform::ErrorNumber::DatabaseError,
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
        if (reopenIfLost()) {
            throwLost(QStringLiteral(" while saving"), error.text());
        }
        m_db.rollback();
        throwFailure(error, QStringLiteral("COMMIT"));
    }
}

void Connection::RollbackTrans() {
    settlePendingRead();
    if (m_transactionLost) {
        // The server undid it when the connection went.
        m_transactionLost = --m_transactionDepth > 0;
        return;
    }
    if (m_transactionDepth == 0) {
        Internal::throwError(tqplatform::ErrorNumber::DatabaseError,
                             QStringLiteral("No transaction is active"));
    }
    if (m_transactionDepth > 1) {
        --m_transactionDepth;
        savepoint(QStringLiteral("ROLLBACK TO SAVEPOINT"));
        savepoint(QStringLiteral("RELEASE SAVEPOINT"));
        return;
    }
    m_transactionDepth = 0;
    if (!m_db.rollback() && !reopenIfLost()) {
        throwFailure(m_db.lastError(), QStringLiteral("ROLLBACK"));
    }
}

void Connection::Close() {
    settlePendingRead();
    if (!m_db.isValid()) {
        return;
    }
    QSqlError error;
    if (m_transactionLost) {
        m_transactionDepth = 0;
        m_transactionLost = false;
    }
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
