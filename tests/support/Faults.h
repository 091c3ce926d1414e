#pragma once

#include <QString>

#include <memory>

namespace tqplatform {
class Connection;
}

namespace tqtest {

class TestDatabase;

/// Makes every statement of one kind ("INSERT", "UPDATE" or "DELETE") on a table fail with
/// the given reason, through a trigger of the database itself, so that the fault reaches the
/// code exactly as a refusing database would. Works on SQLite and PostgreSQL alike.
void failStatements(tqplatform::Connection& connection, const QString& table, const QString& verb,
                    const QString& reason = QStringLiteral("injected fault"));
/// Takes the trigger of failStatements away again.
void stopFailingStatements(tqplatform::Connection& connection, const QString& table,
                           const QString& verb);

/// Cuts the connection from outside while the code still holds it: on PostgreSQL the server
/// terminates the connection's backend (as a restarted server or a lost network would); on
/// SQLite the database handle is closed underneath.
void dropConnection(tqplatform::Connection& connection);

/// Another workstation holding a lock on a table until the object goes: on PostgreSQL an
/// ACCESS EXCLUSIVE table lock in an open transaction, on SQLite an exclusive transaction on
/// the whole file.
class LockHolder {
public:
    LockHolder(const QString& url, const QString& table);
    /// Another workstation in the middle of a write to some rows: on PostgreSQL the rows of
    /// the table that match the condition locked in an open transaction, so that their
    /// updates wait while everyone still reads them; on SQLite a write begun on the file,
    /// which other writers wait for while readers go on.
    LockHolder(const QString& url, const QString& table, const QString& rowsWhere);
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
    /// Lets the lock go before the object does.
    void release();

private:
    std::unique_ptr<tqplatform::Connection> m_connection;
    bool m_holding = false;
};

}  // namespace tqtest
