// Builds ICD-10-CM (72,621 codes and its tree) into an empty reference database, beside a
// baseline measured in the same run: the bare inserts of the same rows through the
// database's own C client (sqlite3 / libpq), in one transaction, with no file to read, no
// placement and no index. Runs on SQLite, and on PostgreSQL when a server answers (TQ_PG_*
// as the tests use them).
#include "TestDatabase.h"

#include <tqhost/ReferenceCodes.h>
#include <tqplatform/Connection.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QUrl>

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Row {
    std::string id, code, modifier, description;
};

constexpr const char* CreateBare =
    "CREATE TABLE BareTable (BareID INTEGER PRIMARY KEY, BareCod VARCHAR(10), BareMod "
    "VARCHAR(10), BareDes TEXT)";

std::vector<Row> builtRows(tqplatform::Connection& connection) {
    std::vector<Row> rows;
    QSqlQuery query = connection.run(
        QStringLiteral("SELECT ICD10ID, ICD10Cod, ICD10Mod, ICD10Des FROM ICD10Table"));
    while (query.next()) {
        rows.push_back(
            {query.value(0).toString().toStdString(), query.value(1).toString().toStdString(),
             query.value(2).toString().toStdString(), query.value(3).toString().toStdString()});
    }
    return rows;
}

double bareSqlite(const QString& file, const std::vector<Row>& rows) {
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db, CreateBare, nullptr, nullptr, nullptr);
    QElapsedTimer timer;
    timer.start();
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO BareTable VALUES (?, ?, ?, ?)", -1, &insert, nullptr);
    for (const Row& row : rows) {
        sqlite3_bind_int(insert, 1, std::stoi(row.id));
        sqlite3_bind_text(insert, 2, row.code.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, row.modifier.c_str(), -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, row.description.c_str(), -1, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    sqlite3_close(db);
    return seconds;
}

/// 500 rows to a statement, as the builder writes them.
double barePostgres(const QString& url, const std::vector<Row>& rows) {
    const QUrl u(url);
    const std::string conninfo = QStringLiteral("host=%1 port=%2 user=%3 password=%4 dbname=%5")
                                     .arg(u.host())
                                     .arg(u.port())
                                     .arg(u.userName(), u.password(), u.path().mid(1))
                                     .toStdString();
    PGconn* pg = PQconnectdb(conninfo.c_str());
    PQclear(PQexec(pg, CreateBare));
    QElapsedTimer timer;
    timer.start();
    PQclear(PQexec(pg, "BEGIN"));
    for (size_t first = 0; first < rows.size(); first += 500) {
        const size_t count = std::min<size_t>(500, rows.size() - first);
        std::string sql = "INSERT INTO BareTable VALUES ";
        std::vector<const char*> values;
        for (size_t i = 0; i < count; ++i) {
            const Row& row = rows[first + i];
            const size_t n = values.size();
            sql.append(i ? ", (" : "(");
            for (size_t k = 1; k <= 4; ++k) {
                sql.append(k > 1 ? ", $" : "$").append(std::to_string(n + k));
            }
            sql.append(")");
            values.insert(values.end(), {row.id.c_str(), row.code.c_str(), row.modifier.c_str(),
                                         row.description.c_str()});
        }
        PQclear(PQexecParams(pg, sql.c_str(), static_cast<int>(values.size()), nullptr,
                             values.data(), nullptr, nullptr, 0));
    }
    PQclear(PQexec(pg, "COMMIT"));
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    PQfinish(pg);
    return seconds;
}

void run(const char* name) {
    tqtest::TestDatabase db;
    if (!db.available()) {
        std::printf("%-10s skipped: %s\n", name, qPrintable(db.unavailableReason()));
        return;
    }
    const QString url = tqhost::referenceDatabaseUrl(db.url(), db.dataPath());
    tqhost::createReferenceDatabase(url);
    double build = 0;
    std::vector<Row> rows;
    {
        tqplatform::Connection connection(url);
        tqhost::ReferenceBuildOptions options;
        options.sets = {tqhost::ReferenceSet::Icd10};
        QElapsedTimer timer;
        timer.start();
        tqhost::buildReferenceDatabase(connection, options);
        build = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        rows = builtRows(connection);
    }
    const double bare = db.isPostgres()
                            ? barePostgres(url, rows)
                            : bareSqlite(url.mid(QStringLiteral("sqlite://").size()), rows);
    std::printf(
        "%-10s ICD-10-CM build (%zu codes, read, placed, indexed): %6.2f s   bare inserts "
        "of the same rows: %6.2f s   ratio %.1f\n",
        name, rows.size(), build, bare, build / bare);
    tqhost::dropReferenceDatabase(url);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    qputenv("TQ_TEST_DB", "sqlite");
    run("SQLite");
    qputenv("TQ_TEST_DB", "postgresql");
    run("PostgreSQL");
    return 0;
}
