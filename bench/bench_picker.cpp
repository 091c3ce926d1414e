// Fills the code picker's list for one category and for "All" with 1,000, 10,000 and
// 100,000 codes in the table, beside the time the bare Qt driver and the database's own C
// client (sqlite3 / libpq) take to read the same rows into memory. Then the longest time
// each picker action keeps the event loop from running, and the memory the list holds.
// Runs on SQLite, and on PostgreSQL when a server answers (TQ_PG_* as the tests use them).
#include "Controls.h"
#include "TestDatabase.h"

#include <tqhost/Host.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/selection/CodeLines.h>
#include <tqservicecode/selection/PickerListModel.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QTimer>

#include <libpq-fe.h>
#include <malloc.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchCodeTable.h"
#include "BenchRun.h"

namespace {

void fillTable(tqplatform::Connection& conn, int count) {
    tqbench::fillCodeTable(conn, count);
}

/// The bare driver: the same statement, every value of every row read once.
double bareFetchMs(tqplatform::Connection& conn, const QString& sql, int* rows) {
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(conn.database());
    query.setForwardOnly(true);
    query.exec(sql);
    int n = 0;
    while (query.next()) {
        for (int c = 0; c < 5; ++c) {
            const QVariant value = query.value(c);
            Q_UNUSED(value);
        }
        ++n;
    }
    *rows = n;
    return timer.nsecsElapsed() / 1e6;
}

/// A row as a C client program would keep it: the id and the texts, in memory.
struct ClientRow {
    long long id = 0;
    std::array<std::string, 4> texts;
};

/// The database's own C client on a connection of its own, opened once: sqlite3
/// (prepare and step) or libpq (PQexec); every value of the statement's rows copied out.
class CClient {
public:
    explicit CClient(const tqtest::TestDatabase& db) {
        const QByteArray url = db.url().toUtf8();
        if (db.isPostgres()) {
            m_pg = PQconnectdb(url.constData());
            if (PQstatus(m_pg) != CONNECTION_OK) {
                qFatal("PQconnectdb: %s", PQerrorMessage(m_pg));
            }
        } else if (sqlite3_open_v2(url.constData() + 9, &m_sqlite, SQLITE_OPEN_READONLY, nullptr) !=
                   SQLITE_OK) {
            qFatal("sqlite3_open_v2: %s", sqlite3_errmsg(m_sqlite));
        }
    }
    ~CClient() {
        PQfinish(m_pg);
        sqlite3_close(m_sqlite);
    }
    CClient(const CClient&) = delete;
    CClient& operator=(const CClient&) = delete;

    double readMs(const QString& sql, int* rows) const {
        QElapsedTimer timer;
        timer.start();
        const QByteArray text = sql.toUtf8();
        *rows = static_cast<int>((m_pg != nullptr ? readPg(text) : readSqlite(text)).size());
        return timer.nsecsElapsed() / 1e6;
    }

private:
    std::vector<ClientRow> readSqlite(const QByteArray& sql) const {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(m_sqlite, sql.constData(), static_cast<int>(sql.size()), &statement,
                               nullptr) != SQLITE_OK) {
            qFatal("sqlite3_prepare_v2: %s", sqlite3_errmsg(m_sqlite));
        }
        std::vector<ClientRow> read;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            ClientRow& row = read.emplace_back();
            row.id = sqlite3_column_int64(statement, 0);
            for (int c = 1; c < 5; ++c) {
                const auto* value =
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                row.texts[c - 1].assign(value != nullptr ? value : "",
                                        static_cast<size_t>(sqlite3_column_bytes(statement, c)));
            }
        }
        sqlite3_finalize(statement);
        return read;
    }

    std::vector<ClientRow> readPg(const QByteArray& sql) const {
        PGresult* result = PQexec(m_pg, sql.constData());
        if (PQresultStatus(result) != PGRES_TUPLES_OK) {
            qFatal("PQexec: %s", PQerrorMessage(m_pg));
        }
        std::vector<ClientRow> read(static_cast<size_t>(PQntuples(result)));
        for (int r = 0; r < static_cast<int>(read.size()); ++r) {
            ClientRow& row = read[static_cast<size_t>(r)];
            row.id = std::strtoll(PQgetvalue(result, r, 0), nullptr, 10);
            for (int c = 1; c < 5; ++c) {
                row.texts[c - 1].assign(PQgetvalue(result, r, c),
                                        static_cast<size_t>(PQgetlength(result, r, c)));
            }
        }
        PQclear(result);
        return read;
    }

    PGconn* m_pg = nullptr;
    sqlite3* m_sqlite = nullptr;
};

/// The Recordset reading every row at once (the fill reads them in parts, between slices).
double recordsetMs(tqplatform::Connection& conn, const QString& sql) {
    QElapsedTimer timer;
    timer.start();
    const tqplatform::Recordset rows = conn.OpenRecordset(sql);
    Q_UNUSED(rows);
    return timer.nsecsElapsed() / 1e6;
}

/// Runs the event loop until the picker has finished what it started.
void waitForFill(tqservicecode::Select_Code& picker) {
    while (picker.isBusy()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

double pickerFillMs(tqservicecode::Select_Code& picker, int button, int* rows) {
    QElapsedTimer timer;
    timer.start();
    picker.Click_Button_B4_Load(button);
    waitForFill(picker);
    *rows = picker.codeList().count();
    return timer.nsecsElapsed() / 1e6;
}

struct Stalls {
    double open = 0, all = 0, category = 0, typing = 0;
};

/// Each action's longest block, the worst of two runs.
Stalls measureStalls(int count) {
    using tqservicecode::Select_Code;
    Stalls worst;
    for (int run = 0; run < 2; ++run) {
        std::unique_ptr<Select_Code> picker;
        worst.open = std::max(worst.open, tqbench::longestBlockMs(
                                              [&] {
                                                  picker = std::make_unique<Select_Code>();
                                                  picker->load();
                                                  picker->Click_Button_B4_Load(23);
                                                  picker->show();
                                              },
                                              [&] { return picker && !picker->isBusy(); }));
        const auto done = [&] { return !picker->isBusy(); };
        worst.category = std::max(
            worst.category,
            tqbench::longestBlockMs(
                [&] { tqtest::control<QPushButton>(*picker, "cmdCategory_0")->click(); }, done));
        worst.all = std::max(
            worst.all,
            tqbench::longestBlockMs(
                [&] { tqtest::control<QPushButton>(*picker, "cmdCategory_23")->click(); }, done));
        const QString code = QStringLiteral("D%1").arg(count / 2 + run, 6, 10, QLatin1Char('0'));
        worst.typing = std::max(worst.typing, tqbench::longestBlockMs(
                                                  [&] {
                                                      auto* text = tqtest::control<QLineEdit>(
                                                          *picker, "Text1");
                                                      text->setFocus();
                                                      text->setText(code);
                                                      QTest::keyClick(text, Qt::Key_Return);
                                                  },
                                                  done));
        if (picker->chosenList().count() != 1) {
            qFatal("typing %s chose %d codes", qPrintable(code), picker->chosenList().count());
        }
    }
    return worst;
}

/// Heap the list of "All" holds once filled, against the text of its lines.
void reportMemory(tqservicecode::Select_Code& picker) {
    picker.Click_Button_B4_Load(21);  // a category without codes: an empty list
    waitForFill(picker);
    // Blocks that malloc maps on their own are counted apart from the heap's.
    const auto inUse = [] { return mallinfo2().uordblks + mallinfo2().hblkhd; };
    const size_t before = inUse();
    picker.Click_Button_B4_Load(23);
    waitForFill(picker);
    const double held = static_cast<double>(inUse() - before);
    const tqservicecode::PickerListModel& model = picker.codeList();
    qsizetype characters = 0;
    QElapsedTimer timer;
    timer.start();
    for (int row = 0; row < model.count(); ++row) {
        characters += model.line(row).size();
    }
    const double formatMs = timer.nsecsElapsed() / 1e6;
    timer.restart();
    const int found =
        static_cast<int>(model
                             .match(model.index(0), Qt::DisplayRole, QStringLiteral("x"), 1,
                                    Qt::MatchStartsWith | Qt::MatchWrap)
                             .size());
    const double searchMs = timer.nsecsElapsed() / 1e6;
    const double utf16 = 2.0 * static_cast<double>(characters);
    std::printf(
        "memory at %d codes: the list holds %.2f MB of heap (its buffers %.2f MB); the lines "
        "shown are %.2f MB as UTF-16 (%.2fx), %.2f MB as 8-bit text (%.2fx)\n",
        model.count(), held / 1e6, static_cast<double>(model.bytesHeld()) / 1e6, utf16 / 1e6,
        held / utf16, utf16 / 2e6, 2 * held / utf16);
    std::printf(
        "every line made once: %.1f ms; a letter typed in the list, searched over every "
        "line (%d found): %.1f ms\n",
        formatMs, found, searchMs);
}

void run(const QString& label, const tqtest::TestDatabase& db) {
    auto host = tqhost::createHost(db.url(), db.dataPath(), "bench");
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    std::printf("\n%s\n", qPrintable(label));
    // TQ_BENCH_SIZES (e.g. "1000,10000") limits the table sizes, for profiling runs.
    QList<int> sizes = {1000, 10000, 100000};
    if (!qEnvironmentVariableIsEmpty("TQ_BENCH_SIZES")) {
        sizes.clear();
        for (const QString& size : qEnvironmentVariable("TQ_BENCH_SIZES").split(',')) {
            sizes.append(size.toInt());
        }
    }
    QStringList stallLines;
    const CClient cClient(db);
    std::printf("%-7s %-5s %7s %10s %10s %10s %8s %8s %13s\n", "codes", "list", "rows", "picker ms",
                "QtSql ms", "C ms", "pick/Qt", "pick/C", "Recordset ms");
    for (int count : sizes) {
        fillTable(host->connection(), count);
        if (db.isPostgres()) {
            host->connection().Execute("ANALYZE SevCodTable");
        }
        tqservicecode::Select_Code picker;
        picker.load();
        for (const auto& [caption, button] :
             {std::pair<QString, int>{"Diag", 0}, std::pair<QString, int>{"All", 23}}) {
            const QString sql =
                host->TranslateSql(tqservicecode::picker::codeListStatement(
                                       host->GetScopeFilter("sevcodTable"),
                                       button == 23 ? QString() : caption, picker.feeColumn()),
                                   0);
            int bareRows = 0;
            int clientRows = 0;
            int pickerRows = 0;
            double bare = 1e300;
            double client = 1e300;
            double fill = 1e300;
            double recordset = 1e300;
            for (int i = 0; i < 5; ++i) {  // interleaved, best of 5
                bare = std::min(bare, bareFetchMs(host->connection(), sql, &bareRows));
                client = std::min(client, cClient.readMs(sql, &clientRows));
                fill = std::min(fill, pickerFillMs(picker, button, &pickerRows));
                recordset = std::min(recordset, recordsetMs(host->connection(), sql));
            }
            if (bareRows != pickerRows || clientRows != pickerRows) {
                qFatal("row counts differ: %d, %d and %d", bareRows, clientRows, pickerRows);
            }
            std::printf("%-7d %-5s %7d %10.1f %10.1f %10.1f %7.2fx %7.2fx %13.1f\n", count,
                        qPrintable(caption), pickerRows, fill, bare, client, fill / bare,
                        fill / client, recordset);
        }
        const Stalls stalls = measureStalls(count);
        stallLines << QString::asprintf("%-7d %10.1f %10.1f %10.1f %10.1f", count, stalls.open,
                                        stalls.all, stalls.category, stalls.typing);
        if (count == sizes.last()) {
            reportMemory(picker);
        }
    }
    std::printf(
        "longest event-loop block per action, ms (worst of 2; open and All fill \"All\")\n");
    std::printf("%-7s %10s %10s %10s %10s\n", "codes", "open", "All", "category", "typing");
    for (const QString& line : stallLines) {
        std::printf("%s\n", qPrintable(line));
    }
    component.setGIC(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    tqbench::prepareProcess();
    QApplication app(argc, argv);
    tqbench::prepareApplication();
    std::printf(
        "Code picker list fill (until its last line is in) against the Qt driver's and the "
        "database's C client's read of the same rows into memory (best of 5, interleaved); "
        "Recordset ms: a Recordset reading every row at once (the fill reads them in parts)\n");
    {
        qputenv("TQ_TEST_DB", "sqlite");
        tqtest::TestDatabase db;
        run("SQLite", db);
    }
    {
        qputenv("TQ_TEST_DB", "postgresql");
        tqtest::TestDatabase db;
        if (qEnvironmentVariableIsSet("TQ_BENCH_SQLITE_ONLY")) {
            std::printf("\nPostgreSQL: left out (TQ_BENCH_SQLITE_ONLY)\n");
        } else if (db.available()) {
            run("PostgreSQL", db);
        } else {
            std::printf("\nPostgreSQL: skipped (%s)\n", qPrintable(db.unavailableReason()));
        }
    }
    return 0;
}
