// Fee history. A practice's fees are its income, so every change of SevCodTable's fee
// columns is kept: the code, the fee number, the old and the new value, the user and the
// time. Triggers of the database write it, so that a change made by any program (the fee
// change, the editor, an import, a tool run on the database) is recorded.
//
// How a trigger learns the user:
// - PostgreSQL: the host sets the session setting "tq.user" on its connection
//   (set_config); a connection that set none records the database role (session_user).
// - SQLite: a trigger cannot read anything per connection, so the one-row table
//   FeeHistorySession holds the user that the host last named. An SQLite practice is one
//   workstation's file; a second program writing to it at the same moment would record
//   the last-named user.
//
// The time is the statement's, in UTC: one UPDATE gives every row it changes the same
// time (PostgreSQL's statement_timestamp(); SQLite's 'now' is fixed within a statement),
// so that the rows of one fee change can be found together and put back.
//
// A new row is not a change: inserting a code records nothing. A value that stays the
// same (a null fee updated to null) is not recorded.

#include "FeeHistorySchema.h"

#include "SqlExec.h"

#include <tqplatform/Connection.h>

namespace tqhost::schema {

namespace {

using Internal::firstValue;
using Internal::runBound;

constexpr int FeeCount = 4;

/// The history's key is the plain rowid: history rows are not deleted, and AUTOINCREMENT
/// would write its counter table once more for every row a fee change records.
void ensureSqlite(tqplatform::Connection& connection) {
    runBound(connection,
             QStringLiteral("CREATE TABLE IF NOT EXISTS FeeHistory (FeeHisID INTEGER PRIMARY KEY, "
                            "SevCodID INTEGER NOT NULL, FeeNum INTEGER NOT NULL, "
                            "OldFee NUMERIC, NewFee NUMERIC, UserName TEXT, ChangedAt TEXT NOT "
                            "NULL)"));
    runBound(connection,
             QStringLiteral("CREATE TABLE IF NOT EXISTS FeeHistorySession (OneRow INTEGER "
                            "PRIMARY KEY CHECK (OneRow = 1), UserName TEXT)"));
    for (int n = 1; n <= FeeCount; ++n) {
        runBound(connection,
                 QStringLiteral(
                     "CREATE TRIGGER IF NOT EXISTS tq_fee_history_%1 AFTER UPDATE OF SevCodFee%1 "
                     "ON SevCodTable WHEN OLD.SevCodFee%1 IS NOT NEW.SevCodFee%1 BEGIN INSERT "
                     "INTO FeeHistory (SevCodID, FeeNum, OldFee, NewFee, UserName, ChangedAt) "
                     "VALUES (NEW.SevCodID, %1, OLD.SevCodFee%1, NEW.SevCodFee%1, (SELECT "
                     "UserName FROM FeeHistorySession WHERE OneRow = 1), strftime('%Y-%m-%d "
                     "%H:%M:%f', 'now')); END")
                     .arg(n));
    }
}

/// The trigger function's body: one INSERT of the history rows of the statement's changed
/// fees, from the old and new rows joined once, each fee taken from the joined rows by a
/// scan of its own.
QString postgresBody() {
    QStringList pairs;
    QStringList perFee;
    for (int n = 1; n <= FeeCount; ++n) {
        pairs << QStringLiteral("o.SevCodFee%1 AS o%1, n.SevCodFee%1 AS n%1").arg(n);
        perFee << QStringLiteral(
                      "SELECT id, %1, o%1, n%1, $1, $2 FROM j WHERE o%1 IS DISTINCT "
                      "FROM n%1")
                      .arg(n);
    }
    // EXECUTE plans the statement at each call, for the rows this statement changed. A
    // plan kept for the session would be made at its first call, often a statement that
    // changed nothing, and would then join 100,000 rows as if they were one.
    return QStringLiteral(
               " BEGIN EXECUTE 'WITH j AS MATERIALIZED (SELECT n.SevCodID AS id, %1 FROM "
               "tq_old o JOIN tq_new n ON n.SevCodID = o.SevCodID) INSERT INTO FeeHistory "
               "(SevCodID, FeeNum, OldFee, NewFee, UserName, ChangedAt) %2' USING "
               "COALESCE(NULLIF(current_setting('tq.user', true), ''), session_user), "
               "to_char(statement_timestamp() AT TIME ZONE 'UTC', 'YYYY-MM-DD HH24:MI:SS.US'); "
               "RETURN NULL; END ")
        .arg(pairs.join(QStringLiteral(", ")), perFee.join(QStringLiteral(" UNION ALL ")));
}

/// The trigger function's settings. The planner knows how many rows the transition tables
/// hold but not that each code is in each of them once: it expects millions of joined
/// rows, and would compile the statement to machine code first (which costs more than the
/// statement) and sort both tables to merge them, beyond the usual working memory. A hash
/// join of the 100,000 rows of a fee change over all codes fits in 64 MB.
const QStringList PostgresSettings = {QStringLiteral("jit=off"), QStringLiteral("work_mem=64MB"),
                                      QStringLiteral("enable_mergejoin=off")};

/// Numbers for the history's rows are taken from the server 100 at a time: one call per
/// row would cost as much as the row's insert (gaps in the numbers mean nothing).
constexpr int NumbersAtATime = 100;

/// One statement-level trigger with transition tables: a fee change over 100,000 codes
/// records its history in one INSERT rather than 100,000 function calls.
void ensurePostgres(tqplatform::Connection& connection) {
    runBound(connection,
             QStringLiteral("CREATE TABLE IF NOT EXISTS FeeHistory (FeeHisID INTEGER GENERATED BY "
                            "DEFAULT AS IDENTITY PRIMARY KEY, SevCodID INTEGER NOT NULL, FeeNum "
                            "INTEGER NOT NULL, OldFee NUMERIC(19,4), NewFee NUMERIC(19,4), "
                            "UserName TEXT, ChangedAt TEXT NOT NULL)"));
    if (firstValue(connection, QStringLiteral("SELECT cache_size FROM pg_sequences WHERE "
                                              "sequencename = 'feehistory_feehisid_seq'"))
            .toInt() != NumbersAtATime) {
        runBound(connection, QStringLiteral("ALTER TABLE FeeHistory ALTER COLUMN FeeHisID SET "
                                            "CACHE %1")
                                 .arg(NumbersAtATime));
    }
    const QString body = postgresBody();
    // Replaced only when it differs (a practice made by an earlier version gets this
    // one): two workstations opening the practice at once would otherwise both rewrite
    // the function, and the server refuses one of them.
    QSqlQuery stored = runBound(
        connection, QStringLiteral("SELECT prosrc, array_to_string(proconfig, ',') FROM pg_proc "
                                   "WHERE proname = 'tq_fee_history'"));
    if (!stored.next() || stored.value(0).toString() != body ||
        stored.value(1).toString() != PostgresSettings.join(QLatin1Char(','))) {
        QString settings;
        for (const QString& setting : PostgresSettings) {
            const qsizetype equals = setting.indexOf(QLatin1Char('='));
            settings +=
                QStringLiteral(" SET %1 = '%2'").arg(setting.left(equals), setting.mid(equals + 1));
        }
        runBound(connection, QStringLiteral("CREATE OR REPLACE FUNCTION tq_fee_history() RETURNS "
                                            "trigger LANGUAGE plpgsql") +
                                 settings + QStringLiteral(" AS $$") + body + QStringLiteral("$$"));
    }
    if (!firstValue(connection, QStringLiteral("SELECT 1 FROM pg_trigger WHERE tgname = "
                                               "'tq_fee_history' AND NOT tgisinternal"))
             .isValid()) {
        runBound(connection,
                 QStringLiteral("CREATE TRIGGER tq_fee_history AFTER UPDATE ON SevCodTable "
                                "REFERENCING OLD TABLE AS tq_old NEW TABLE AS tq_new FOR EACH "
                                "STATEMENT EXECUTE FUNCTION tq_fee_history()"));
    }
}

}  // namespace

void ensureFeeHistory(tqplatform::Connection& connection) {
    if (connection.kind() == tqplatform::DatabaseKind::PostgreSQL) {
        ensurePostgres(connection);
    } else {
        ensureSqlite(connection);
    }
    runBound(connection, QStringLiteral("CREATE INDEX IF NOT EXISTS ix_feehistory_sevcodid ON "
                                        "FeeHistory (SevCodID)"));
}

void setFeeHistoryUser(tqplatform::Connection& connection, const QString& user) {
    if (connection.kind() == tqplatform::DatabaseKind::PostgreSQL) {
        // Kept by the connection: a session opened anew after a lost one names the user too.
        connection.setSessionStatement(QStringLiteral("tq.user"),
                                       QStringLiteral("SELECT set_config('tq.user', ?, false)"),
                                       {user});
        return;
    }
    runBound(connection,
             QStringLiteral("INSERT INTO FeeHistorySession (OneRow, UserName) VALUES (1, ?) ON "
                            "CONFLICT (OneRow) DO UPDATE SET UserName = excluded.UserName"),
             {user});
}

}  // namespace tqhost::schema
