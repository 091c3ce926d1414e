// Fills the code picker's list for one category and for "All" with 1,000, 10,000 and
// 100,000 codes in the table, beside the time the bare database driver takes to fetch
// the same rows. Runs on SQLite, and on PostgreSQL when a server answers (TQ_PG_* as the
// tests use them).
#include "TestDatabase.h"

#include <tqhost/Host.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/selection/CodeLines.h>
#include <tqservicecode/selection/PickerListModel.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqplatform/Connection.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlRecord>

#include <algorithm>
#include <cstdio>

namespace {

const QStringList Categories = {"Diag",     "Prev",     "Rest",       "Endo",
                                "Perio",    "Pros-Rem", "Maxil-Pros", "Implant",
                                "Pros-Fix", "Surgery",  "Ortho",      "Gen-Serv"};

void fillTable(tqplatform::Connection& conn, int count) {
    conn.Execute("DELETE FROM SevCodTable");
    conn.BeginTrans();
    QSqlQuery insert(conn.database());
    insert.prepare(
        "INSERT INTO SevCodTable (SevCodCod, SevCodOffCod, SevCodDes, SevCodTyp, SevCodCat, "
        "SevCodFee1, SevCodFee2, SevCodFee3, SevCodFee4, OffLocID) VALUES (?,?,?,?,?,?,?,?,?,0)");
    for (int i = 0; i < count; ++i) {
        insert.addBindValue(QStringLiteral("D%1").arg(i, 6, 10, QLatin1Char('0')));
        insert.addBindValue(QStringLiteral("O%1").arg(i % 9999));
        insert.addBindValue(QStringLiteral("Procedure number %1 with a longer description").arg(i));
        insert.addBindValue(QStringLiteral("1 - Charge"));
        insert.addBindValue(Categories[i % Categories.size()]);
        for (int fee = 1; fee <= 4; ++fee) {
            insert.addBindValue(
                QStringLiteral("%1.%2").arg(10 + i % 900).arg(fee * 5, 2, 10, QLatin1Char('0')));
        }
        if (!insert.exec()) {
            qFatal("insert failed");
        }
    }
    conn.CommitTrans();
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

double pickerFillMs(tqservicecode::Select_Code& picker, int button, int* rows) {
    QElapsedTimer timer;
    timer.start();
    picker.Click_Button_B4_Load(button);
    *rows = picker.codeList().count();
    return timer.nsecsElapsed() / 1e6;
}

template <typename F>
double bestOf(int runs, F f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        best = std::min(best, f());
    }
    return best;
}

void run(const QString& label, const tqtest::TestDatabase& db) {
    auto host = tqhost::createHost(db.url(), db.dataPath(), "bench");
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    std::printf("\n%s\n", qPrintable(label));
    std::printf("%-8s %-9s %8s %14s %14s %7s\n", "codes", "category", "rows", "picker ms",
                "bare fetch ms", "ratio");
    // TQ_BENCH_SIZES (e.g. "1000,10000") limits the table sizes, for profiling runs.
    QList<int> sizes = {1000, 10000, 100000};
    if (!qEnvironmentVariableIsEmpty("TQ_BENCH_SIZES")) {
        sizes.clear();
        for (const QString& size : qEnvironmentVariable("TQ_BENCH_SIZES").split(',')) {
            sizes.append(size.toInt());
        }
    }
    for (int count : sizes) {
        fillTable(host->connection(), count);
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
            int pickerRows = 0;
            const double bare =
                bestOf(3, [&] { return bareFetchMs(host->connection(), sql, &bareRows); });
            const double fill =
                bestOf(3, [&] { return pickerFillMs(picker, button, &pickerRows); });
            if (bareRows != pickerRows) {
                qFatal("row counts differ: %d and %d", bareRows, pickerRows);
            }
            std::printf("%-8d %-9s %8d %14.1f %14.1f %6.2fx\n", count, qPrintable(caption),
                        pickerRows, fill, bare, fill / bare);
        }
    }
    component.setGIC(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    QApplication app(argc, argv);
    tqplatform::registerCurrencyMetaType();
    tqplatform::ui::setRealDialogsForbidden(true);
    std::printf(
        "Code picker list fill against the bare driver fetch of the same rows "
        "(best of 3 runs; ratio = picker / bare)\n");
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
