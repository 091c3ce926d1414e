#include "Faults.h"

#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>

namespace tqtest {

namespace {

QString triggerName(const QString& table, const QString& verb) {
    return QStringLiteral("tq_fault_%1_%2").arg(table.toLower(), verb.toLower());
}

QString quoted(const QString& text) {
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

bool isPostgres(const tqplatform::Connection& connection) {
    return connection.kind() == tqplatform::DatabaseKind::PostgreSQL;
}

}  // namespace

void failStatements(tqplatform::Connection& connection, const QString& table, const QString& verb,
                    const QString& reason) {
    const QString name = triggerName(table, verb);
    stopFailingStatements(connection, table, verb);
    if (isPostgres(connection)) {
        connection.Execute(
            QStringLiteral("CREATE OR REPLACE FUNCTION tq_fault_raise() RETURNS trigger "
                           "LANGUAGE plpgsql AS $$ BEGIN RAISE EXCEPTION '%', TG_ARGV[0]; END $$"));
        connection.Execute(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 FOR EACH ROW "
                                          "EXECUTE FUNCTION tq_fault_raise(%4)")
                               .arg(name, verb, table, quoted(reason)));
    } else {
        connection.Execute(QStringLiteral("CREATE TRIGGER %1 BEFORE %2 ON %3 BEGIN "
                                          "SELECT RAISE(ABORT, %4); END")
                               .arg(name, verb, table, quoted(reason)));
    }
}

void stopFailingStatements(tqplatform::Connection& connection, const QString& table,
                           const QString& verb) {
    const QString name = triggerName(table, verb);
    connection.Execute(isPostgres(connection)
                           ? QStringLiteral("DROP TRIGGER IF EXISTS %1 ON %2").arg(name, table)
                           : QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(name));
}

void dropConnection(tqplatform::Connection& connection) {
    if (!isPostgres(connection)) {
        connection.database().close();
        return;
    }
    const QString pid =
        connection.OpenRecordset(QStringLiteral("SELECT pg_backend_pid()")).Fields(0).toString();
    tqplatform::Connection other(connection.url());
    other.OpenRecordset(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
}

LockHolder::LockHolder(const QString& url, const QString& table)
    : m_connection(std::make_unique<tqplatform::Connection>(url)) {
    if (m_connection->kind() == tqplatform::DatabaseKind::PostgreSQL) {
        m_connection->Execute(QStringLiteral("BEGIN"));
        m_connection->Execute(QStringLiteral("LOCK TABLE %1 IN ACCESS EXCLUSIVE MODE").arg(table));
    } else {
        m_connection->Execute(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    m_holding = true;
}

LockHolder::LockHolder(const QString& url, const QString& table, const QString& rowsWhere)
    : m_connection(std::make_unique<tqplatform::Connection>(url)) {
    if (m_connection->kind() == tqplatform::DatabaseKind::PostgreSQL) {
        m_connection->Execute(QStringLiteral("BEGIN"));
        m_connection->OpenRecordset(
            QStringLiteral("SELECT 1 FROM %1 WHERE %2 FOR UPDATE").arg(table, rowsWhere));
    } else {
        m_connection->Execute(QStringLiteral("BEGIN IMMEDIATE"));
    }
    m_holding = true;
}

LockHolder::~LockHolder() {
    release();
}

void LockHolder::release() {
    if (m_holding) {
        m_holding = false;
        m_connection->Execute(QStringLiteral("ROLLBACK"));
    }
}

}  // namespace tqtest
