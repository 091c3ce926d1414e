#include "TestDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace tqtest {

namespace {

struct ServerSettings {
    QString host = qEnvironmentVariable("TQ_PG_HOST", QStringLiteral("127.0.0.1"));
    QString port = qEnvironmentVariable("TQ_PG_PORT", QStringLiteral("5432"));
    QString user = qEnvironmentVariable("TQ_PG_USER", QStringLiteral("tqtest"));
    QString password = qEnvironmentVariable("TQ_PG_PASSWORD", QStringLiteral("tqtest"));
};

/// Runs one statement on the server's maintenance database; answers the error text.
QString runOnServer(const ServerSettings& server, const QString& statement) {
    const QString name = QStringLiteral("tqtest-admin-") + QUuid::createUuid().toString();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(server.host);
        db.setPort(server.port.toInt());
        db.setUserName(server.user);
        db.setPassword(server.password);
        db.setDatabaseName(QStringLiteral("postgres"));
        db.setConnectOptions(QStringLiteral("connect_timeout=5"));
        if (!db.open()) {
            error = db.lastError().text();
        } else if (QSqlQuery query(db); !query.exec(statement)) {
            error = query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

}  // namespace

bool TestDatabase::wantsPostgres() {
    return qgetenv("TQ_TEST_DB").trimmed().toLower() == "postgresql";
}

bool TestDatabase::underCi() {
    return qgetenv("CI").trimmed().toLower() == "true";
}

TestDatabase::TestDatabase() : m_postgres(wantsPostgres()) {
    const QString unique = QStringLiteral("%1_%2")
                               .arg(QCoreApplication::applicationPid())
                               .arg(QRandomGenerator::global()->bounded(1u << 30));
    m_dataPath = QDir::tempPath() + QStringLiteral("/tqtest_") + unique + QStringLiteral("/");
    QDir().mkpath(m_dataPath);
    if (!m_postgres) {
        m_url = QStringLiteral("sqlite://") + m_dataPath + QStringLiteral("practice.db");
        return;
    }
    const ServerSettings server;
    m_pgDatabase = QStringLiteral("tqtest_") + unique;
    const QString error = runOnServer(server, QStringLiteral("CREATE DATABASE ") + m_pgDatabase);
    if (!error.isEmpty()) {
        m_reason = QStringLiteral("PostgreSQL at %1:%2 as %3 is not reachable: %4")
                       .arg(server.host, server.port, server.user, error);
        m_pgDatabase.clear();
        return;
    }
    m_url = QStringLiteral("postgresql://%1:%2@%3:%4/%5")
                .arg(server.user, server.password, server.host, server.port, m_pgDatabase);
}

TestDatabase::~TestDatabase() {
    if (!m_pgDatabase.isEmpty()) {
        runOnServer(ServerSettings{},
                    QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_pgDatabase));
    }
    QDir(m_dataPath).removeRecursively();
}

}  // namespace tqtest
