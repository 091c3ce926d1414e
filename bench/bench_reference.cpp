// The reference browser on ICD-10-CM (72,621 codes): opening it on its tree and listing
// "All Codes" until the first screen of rows is drawn, and a search over the descriptions
// until its first screen is drawn, each beside the bare Qt driver running the same
// statements and reading the same rows in the same run. The search (with the index the
// build makes) is measured beside the bare statement of the plain '%text%' LIKE and its goal.
// Runs on SQLite, and on PostgreSQL when a server answers (TQ_PG_* as the tests use them).
#include "Controls.h"
#include "TestDatabase.h"

#include <tqhost/Host.h>
#include <tqhost/ReferenceCodes.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/reference/ReferenceQueries.h>
#include <tqservicecode/reference/frmCodes.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>

#include "BenchRun.h"

namespace {

using tqservicecode::frmCodes;

constexpr int Runs = 5;
const QString Prefix = QStringLiteral("ICD10");

/// Runs sql with the bare driver and reads up to rows rows (all for -1), every column.
double bareMs(tqplatform::Connection& conn, const QString& sql, int rows, int* read = nullptr) {
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(conn.database());
    query.setForwardOnly(true);
    if (!query.exec(sql)) {
        qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    }
    int n = 0;
    const int columns = query.record().count();
    while ((rows < 0 || n < rows) && query.next()) {
        for (int c = 0; c < columns; ++c) {
            (void)query.value(c);
        }
        ++n;
    }
    query.finish();
    if (read != nullptr) {
        *read = n;
    }
    return timer.nsecsElapsed() / 1e6;
}

/// Runs action and draws the browser's list at once; answers the time both took.
double drawnMs(frmCodes& form, const std::function<void()>& action) {
    QElapsedTimer timer;
    timer.start();
    action();
    tqtest::control<tqservicecode::RecordGrid>(form, "TDBG")->viewport()->repaint();
    return timer.nsecsElapsed() / 1e6;
}

void chooseNode(frmCodes& form, const QString& text) {
    auto* tree = tqtest::control<QTreeWidget>(form, "TV");
    const QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly);
    tree->setCurrentItem(found.value(0));
}

struct Figures {
    double screen = 1e300;
    double bare = 1e300;
};

double loadAverage();

void printLine(const char* what, const Figures& f) {
    std::printf("%-44s %10.2f %10.2f %7.2fx %6.2f\n", what, f.screen, f.bare, f.screen / f.bare,
                loadAverage());
}

/// The machine's load over the last minute, printed beside each figure: the machine is
/// shared, and a figure means little without it.
double loadAverage() {
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().split(' ').value(0).toDouble() : -1;
}

/// The browser's word search (its index where the database has one) against the bare
/// statement of the plain '%text%' LIKE, which reads every code, and against the goal.
void measureSearches(tqhost::PracticeHost& host, tqplatform::Connection& codes, frmCodes& form) {
    using namespace tqservicecode::reference;
    struct Search {
        QString text;
        double firstGoal;
        double wholeGoal;  // 0: none
    };
    const QList<Search> searches = {
        {"caries", 20, 0}, {"fracture of tooth", 20, 0}, {"fracture", 0, 150}};
    std::printf("%-34s %9s %9s %7s %6s %6s\n", "search, best of 5, ms", "screen", "bare LIKE",
                "ratio", "goal", "load");
    for (const Search& search : searches) {
        const QString plain =
            host.TranslateSql(listStatement(Prefix, searchFilter(Prefix, search.text),
                                            defaultSort(Prefix).expression),
                              0);
        Figures first;
        Figures whole;
        double afterAll = 1e300;
        int matches = 0;
        for (int i = 0; i < Runs; ++i) {
            // From a list read to its end, and straight after opening "All Codes", whose
            // unread rows the connection lets go of before the search runs.
            chooseNode(form, "Search Results");
            first.screen = std::min(first.screen, drawnMs(form, [&] { form.search(search.text); }));
            first.bare = std::min(first.bare, bareMs(codes, plain, frmCodes::FirstScreenRows));
            chooseNode(form, "Search Results");
            whole.screen = std::min(
                whole.screen, drawnMs(form, [&] {
                    form.search(search.text);
                    auto* model =
                        tqtest::control<tqservicecode::RecordGrid>(form, "TDBG")->recordModel();
                    while (model->canFetchMore({})) {
                        model->fetchMore({});
                    }
                }));
            whole.bare = std::min(whole.bare, bareMs(codes, plain, -1, &matches));
            chooseNode(form, "All Codes");
            afterAll = std::min(afterAll, drawnMs(form, [&] { form.search(search.text); }));
        }
        const auto line = [&](const QString& what, const Figures& f, double goal) {
            std::printf("%-34s %9.2f %9.2f %6.2fx %6s %6.2f\n", qPrintable(what), f.screen, f.bare,
                        f.screen / f.bare,
                        goal > 0 ? qPrintable(QStringLiteral("<%1").arg(goal)) : "", loadAverage());
        };
        line(QStringLiteral("'%1' first screen").arg(search.text), first, search.firstGoal);
        line(QStringLiteral("'%1' all %2 rows").arg(search.text).arg(matches), whole,
             search.wholeGoal);
        std::printf(
            "%-34s %9.2f %9s %7s %6s %6.2f\n", "  first screen after All Codes", afterAll, "", "",
            search.firstGoal > 0 ? qPrintable(QStringLiteral("<%1").arg(search.firstGoal)) : "",
            loadAverage());
    }
}

void run(const QString& label, tqtest::TestDatabase& practice, tqtest::TestDatabase& codesDb) {
    std::printf("\n%s\n", qPrintable(label));
    auto host = tqhost::createHost(practice.url(), practice.dataPath(), "bench");
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    {
        tqplatform::Connection build(codesDb.url());
        QElapsedTimer timer;
        timer.start();
        tqhost::ReferenceBuildOptions options;
        options.sets = {tqhost::ReferenceSet::Icd10};
        tqhost::buildReferenceDatabase(build, options);
        std::printf("ICD-10-CM built in %.0f ms\n", timer.nsecsElapsed() / 1e6);
    }
    host->setReferenceDatabaseUrl(codesDb.url());
    (void)host->GetDatabaseConnectionString("CODES", 1, QString());  // names the text columns
    tqplatform::Connection codes(codesDb.url());
    const QString treeSql = host->TranslateSql(tqservicecode::reference::treeStatement(Prefix), 0);
    const QString allSql = host->TranslateSql(
        tqservicecode::reference::listStatement(
            Prefix, QString(), tqservicecode::reference::defaultSort(Prefix).expression),
        0);
    std::printf("%-44s %10s %10s %8s %6s\n", "best of 5, ms", "screen", "bare", "ratio", "load");

    Figures open;
    Figures listing;
    double openConnected = 1e300;
    for (int i = 0; i < Runs; ++i) {
        std::unique_ptr<frmCodes> form;
        open.screen = std::min(open.screen, [&] {
            QElapsedTimer timer;
            timer.start();
            form = std::make_unique<frmCodes>();
            form->SetupScreen(3, QString());
            chooseNode(*form, "All Codes");
            form->show();
            tqtest::control<tqservicecode::RecordGrid>(*form, "TDBG")->viewport()->repaint();
            return timer.nsecsElapsed() / 1e6;
        }());
        open.bare = std::min(open.bare, bareMs(codes, treeSql, -1) +
                                            bareMs(codes, allSql, frmCodes::FirstScreenRows));
        // The same with the connection the window opens for itself.
        QElapsedTimer connecting;
        connecting.start();
        {
            tqplatform::Connection fresh(codesDb.url());
            bareMs(fresh, treeSql, -1);
            bareMs(fresh, allSql, frmCodes::FirstScreenRows);
        }
        openConnected = std::min(openConnected, connecting.nsecsElapsed() / 1e6);
        // Listing "All Codes" again, from another node, on the open window.
        chooseNode(*form, "Search Results");
        listing.screen =
            std::min(listing.screen, drawnMs(*form, [&] { chooseNode(*form, "All Codes"); }));
        listing.bare = std::min(listing.bare, bareMs(codes, allSql, frmCodes::FirstScreenRows));
        form->hide();
    }
    printLine("open: window, tree, All Codes drawn", open);
    std::printf("%-44s %10s %10.2f %7.2fx\n", "  bare with opening its connection", "",
                openConnected, open.screen / openConnected);
    printLine("All Codes listed and drawn (window open)", listing);
    std::printf("%-44s %10s %10.2f\n", "  bare, every row of All Codes", "",
                bareMs(codes, allSql, -1));

    frmCodes form;
    form.SetupScreen(3, QString());
    form.show();
    measureSearches(*host, codes, form);
    form.hide();
    component.setGIC(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    tqbench::prepareProcess();
    QApplication app(argc, argv);
    tqbench::prepareApplication();
    std::printf(
        "Reference browser on ICD-10-CM: the screen until its first screen of rows is "
        "drawn, beside the bare Qt driver running the same statements and reading the "
        "same rows (best of %d, interleaved)\n",
        Runs);
    for (const char* database : {"sqlite", "postgresql"}) {
        qputenv("TQ_TEST_DB", database);
        tqtest::TestDatabase practice;
        tqtest::TestDatabase codes;
        const QString label = practice.isPostgres() ? "PostgreSQL" : "SQLite";
        if (practice.available() && codes.available()) {
            run(label, practice, codes);
        } else {
            std::printf("\n%s: skipped (%s)\n", qPrintable(label),
                        qPrintable(practice.unavailableReason()));
        }
    }
    return 0;
}
