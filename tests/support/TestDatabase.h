#pragma once

#include <QString>

namespace tqtest {

/// A fresh, empty practice database for one test, on the database that TQ_TEST_DB names
/// ("sqlite", the default, or "postgresql"). A PostgreSQL database is created on the
/// server given by TQ_PG_HOST, TQ_PG_PORT, TQ_PG_USER and TQ_PG_PASSWORD (defaults
/// 127.0.0.1, 5432, tqtest, tqtest) and dropped when the object goes.
///
/// Without a reachable server, unavailableReason() says why; the test then skips, except
/// under CI=true, where it fails (QVERIFY2 in TQ_REQUIRE_DATABASE).
class TestDatabase {
public:
    TestDatabase();
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    static bool wantsPostgres();
    bool isPostgres() const { return m_postgres; }

    bool available() const { return m_reason.isEmpty(); }
    const QString& unavailableReason() const { return m_reason; }
    /// The database's URL for tqplatform::Connection and tqhost::createHost.
    const QString& url() const { return m_url; }
    /// A folder of this test's own (removed with the object), ending in a separator.
    const QString& dataPath() const { return m_dataPath; }

    static bool underCi();

private:
    bool m_postgres = false;
    QString m_reason;
    QString m_url;
    QString m_dataPath;
    QString m_pgDatabase;
};

}  // namespace tqtest

/// Skips the test (or fails it under CI) when the database of this run is unreachable.
#define TQ_REQUIRE_DATABASE(db)                                                        \
    do {                                                                               \
        if (!(db).available()) {                                                       \
            if (tqtest::TestDatabase::underCi()) {                                     \
                QFAIL(qPrintable(QStringLiteral("PostgreSQL is required under CI: ") + \
                                 (db).unavailableReason()));                           \
            }                                                                          \
            QSKIP(qPrintable((db).unavailableReason()));                               \
        }                                                                              \
    } while (false)
