// Opens the service code browser on every code with 1,000, 10,000 and 100,000 codes in the
// table and measures, beside the bare Qt driver reading the same statement in the same run:
// opening until the first screen of rows is drawn, a sort toggle, and a delete of 100
// selected rows with the refresh that keeps the view; and a search matching 1 % of the
// rows beside a plain loop that tests the same rows' texts. Then the longest time each of
// these actions keeps the event loop from running. Runs on SQLite, and on PostgreSQL when
// a server answers (TQ_PG_* as the tests use them).
#include "TestDatabase.h"

#include <tqhost/Host.h>
#include <tqhost/PracticeHost.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/maintenance/SerCod.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ScriptedUi.h>
#include <tqplatform/ui.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "BenchCodeTable.h"
#include "BenchRun.h"

namespace {

using tqservicecode::SerCod;

const QStringList Categories = {"Diag", "Prev", "Rest", "Endo", "Perio", "Surgery"};

/// count codes; one in a hundred has "marked" in its description.
void fillTable(tqplatform::Connection& conn, int count) {
    tqbench::fillCodeTable(conn, count, Categories, [](int i) {
        return QStringLiteral("Procedure number %1 %2")
            .arg(i)
            .arg(i % 100 == 0 ? QStringLiteral("marked") : QString());
    });
}

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

/// The bare driver: the statement run forward-only, every value of every row read once.
double bareFetchMs(tqplatform::Connection& conn, const QString& sql) {
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(conn.database());
    query.setForwardOnly(true);
    query.exec(sql);
    const int columns = query.record().count();
    while (query.next()) {
        for (int c = 0; c < columns; ++c) {
            const QVariant value = query.value(c);
            Q_UNUSED(value);
        }
    }
    return msSince(timer);
}

/// A plain loop over the rows the browser holds: which hold text in any of the five
/// searched fields, ignoring case.
double bareFilterMs(tqplatform::Recordset rows, const QString& text, int* found) {
    QElapsedTimer timer;
    timer.start();
    std::array<int, 5> fields{};
    int f = 0;
    for (const char* name :
         {"SevCodCod", "SevCodOffCod", "SevCodDes", "SevCodCat", "SevCodSubCat"}) {
        fields[static_cast<size_t>(f++)] = rows.FieldIndex(QLatin1String(name));
    }
    int n = 0;
    for (rows.MoveFirst(); !rows.Eof(); rows.MoveNext()) {
        n += std::any_of(fields.begin(), fields.end(),
                         [&](int field) {
                             return rows.Fields(field).toString().contains(text,
                                                                           Qt::CaseInsensitive);
                         })
                 ? 1
                 : 0;
    }
    *found = n;
    return msSince(timer);
}

/// Draws what the grid shows now, as the screen would on its next paint.
void drawGrid(SerCod& browser) {
    QCoreApplication::processEvents();
    browser.grid()->viewport()->repaint();
}

void clickHeading(SerCod& browser, int column) {
    emit browser.grid()->horizontalHeader()->sectionClicked(column);
}

void selectRows(SerCod& browser, int count) {
    tqservicecode::RecordGrid* grid = browser.grid();
    grid->clearSelBookmarks();
    const int rows = grid->model()->rowCount();
    for (int i = 0; i < count && i < rows; ++i) {
        grid->addSelBookmark(grid->recordModel()->bookmarkAt((rows / count) * i));
    }
}

void line(const char* what, int count, double measured, double baseline) {
    std::printf("%-34s %7d %10.1f %10.1f %7.2fx\n", what, count, measured, baseline,
                measured / baseline);
}

void run(const QString& label, const tqtest::TestDatabase& db) {
    auto host = tqhost::createHost(db.url(), db.dataPath(), "bench");
    host->grantRight("bench", "CHANGE-SER-CODE");
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    tqplatform::ScriptedUi ui;
    std::printf("\n%s\n%-34s %7s %10s %10s %8s\n", qPrintable(label), "action", "codes",
                "browser ms", "bare ms", "ratio");
    QList<int> sizes = {1000, 10000, 100000};
    if (!qEnvironmentVariableIsEmpty("TQ_BENCH_SIZES")) {
        sizes.clear();
        for (const QString& size : qEnvironmentVariable("TQ_BENCH_SIZES").split(',')) {
            sizes.append(size.toInt());
        }
    }
    QStringList stalls;
    for (const int count : sizes) {
        fillTable(host->connection(), count);
        if (db.isPostgres()) {
            host->connection().Execute("ANALYZE SevCodTable");
        }
        const auto sqlOf = [&](const SerCod& browser) {
            return host->TranslateSql(browser.currentQuery(), 0);
        };
        double open = 1e300, openBare = 1e300, sort = 1e300, sortBare = 1e300;
        double search = 1e300, searchBare = 1e300, refresh = 1e300, refreshBare = 1e300;
        int found = 0, bareFound = 0;
        for (int i = 0; i < 3; ++i) {  // interleaved, best of 3
            host->SaveUserSettingNumber("SER_COD_SORT_COLbench", 2);
            host->SaveUserSettingNumber("SER_COD_SORT_DIRbench", 1);
            QElapsedTimer timer;
            timer.start();
            SerCod browser;
            browser.show();
            drawGrid(browser);
            open = std::min(open, msSince(timer));
            openBare = std::min(openBare, bareFetchMs(host->connection(), sqlOf(browser)));

            timer.restart();
            clickHeading(browser, 2);  // the sorted column again: descending
            drawGrid(browser);
            sort = std::min(sort, msSince(timer));
            sortBare = std::min(sortBare, bareFetchMs(host->connection(), sqlOf(browser)));

            const tqplatform::Recordset held = browser.rows();  // the same rows, a copy
            ui.inputs = {"marked"};
            timer.restart();
            browser.findChild<QAction*>("Search")->trigger();
            drawGrid(browser);
            search = std::min(search, msSince(timer));
            found = browser.grid()->model()->rowCount();
            searchBare = std::min(searchBare, bareFilterMs(held, "marked", &bareFound));
            browser.findChild<QAction*>("Search")->trigger();  // the filter off again

            selectRows(browser, 100);
            ui.answers = {6};
            timer.restart();
            browser.findChild<QAction*>("Delete")->trigger();
            drawGrid(browser);
            refresh = std::min(refresh, msSince(timer));
            // The same work bare: 100 rows deleted (in one transaction where the browser
            // uses one), then the statement read again.
            std::vector<qlonglong> ids;
            {
                QSqlQuery some(host->connection().database());
                some.exec("SELECT SevCodID FROM SevCodTable ORDER BY SevCodID DESC LIMIT 100");
                while (some.next()) {
                    ids.push_back(some.value(0).toLongLong());
                }
            }
            timer.restart();
            const bool transaction = host->GetDatabaseKind(1) == 1;
            if (transaction) {
                host->connection().BeginTrans();
            }
            for (const qlonglong id : ids) {
                host->connection().Execute("DELETE FROM SevCodTable WHERE SevCodID = " +
                                           QString::number(id));
            }
            if (transaction) {
                host->connection().CommitTrans();
            }
            const double deletes = msSince(timer);
            refreshBare =
                std::min(refreshBare, deletes + bareFetchMs(host->connection(), sqlOf(browser)));
        }
        if (found != bareFound) {
            qFatal("the search found %d rows, the loop %d", found, bareFound);
        }
        line("open until the first rows drawn", count, open, openBare);
        line("sort toggle", count, sort, sortBare);
        line("search matching 1 % (rows found)", found, search, searchBare);
        line("delete 100 selected + refresh", count, refresh, refreshBare);

        // The longest block of each action, and the pointer meanwhile.
        std::unique_ptr<SerCod> browser;
        const double openBlock = tqbench::longestBlockMs([&] {
            browser = std::make_unique<SerCod>();
            browser->show();
        });
        const double sortBlock = tqbench::longestBlockMs([&] { clickHeading(*browser, 2); });
        ui.inputs = {"marked"};
        const double searchBlock =
            tqbench::longestBlockMs([&] { browser->findChild<QAction*>("Search")->trigger(); });
        browser->findChild<QAction*>("Search")->trigger();
        selectRows(*browser, 100);
        ui.answers = {6};
        const double deleteBlock =
            tqbench::longestBlockMs([&] { browser->findChild<QAction*>("Delete")->trigger(); });
        stalls << QStringLiteral("%1 codes: open %2 ms, sort %3 ms, search %4 ms, delete %5 ms")
                      .arg(count)
                      .arg(openBlock, 0, 'f', 1)
                      .arg(sortBlock, 0, 'f', 1)
                      .arg(searchBlock, 0, 'f', 1)
                      .arg(deleteBlock, 0, 'f', 1);
    }
    std::printf("longest block of the event loop (the hourglass is up during each):\n");
    for (const QString& stall : stalls) {
        std::printf("  %s\n", qPrintable(stall));
    }
}

}  // namespace

int main(int argc, char** argv) {
    tqbench::prepareProcess();
    QApplication app(argc, argv);
    tqbench::prepareApplication();
    for (const char* kind : {"sqlite", "postgresql"}) {
        qputenv("TQ_TEST_DB", kind);
        tqtest::TestDatabase db;
        if (!db.available()) {
            std::printf("\n%s: not reachable, skipped\n", kind);
            continue;
        }
        run(QString::fromLatin1(kind), db);
    }
    return 0;
}
