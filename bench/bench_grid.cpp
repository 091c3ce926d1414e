// The record grid at 1,000, 10,000 and 100,000 service codes, each figure beside its
// baseline measured in the same run:
//  - export of every row through the export window against a plain fwrite loop writing
//    the same text (bytes per second);
//  - RefreshGridKeepView after deleting 100 selected rows against the bare driver fetch of
//    the same statement;
//  - binding a recordset until the first screen of rows is drawn against the bare fetch.
// Runs on SQLite, and on PostgreSQL when a server answers (TQ_PG_* as the tests use them).
#include "TestDatabase.h"

#include <tqhost/Host.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/GridLayout.h>
#include <tqservicecode/grid/GridRefresh.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/grid/frmExportOpts.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ScriptedUi.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

#include "BenchCodeTable.h"
#include "BenchRun.h"

namespace {

using tqservicecode::RecordGrid;

void fillTable(tqplatform::Connection& conn, int count) {
    tqbench::fillCodeTable(conn, count);
}

/// The bare driver: the statement read forward only, every value of every row once.
double bareFetchMs(tqplatform::Connection& conn, const QString& sql) {
    QElapsedTimer timer;
    timer.start();
    QSqlQuery query(conn.database());
    query.setForwardOnly(true);
    query.exec(sql);
    while (query.next()) {
        for (int c = 0; c < 5; ++c) {
            const QVariant value = query.value(c);
            Q_UNUSED(value);
        }
    }
    return timer.nsecsElapsed() / 1e6;
}

/// The browser's columns: the key hidden, then code, description, category and fee.
void addColumns(RecordGrid& grid) {
    using tqservicecode::AddGridColumn;
    AddGridColumn(grid, 0, "SevCodID", "ID", 3, {}, false, 600);
    AddGridColumn(grid, 1, "SevCodCod", "Code", 202, {}, true, 1200);
    AddGridColumn(grid, 2, "SevCodDes", "Description", 202, {}, true, 5000);
    AddGridColumn(grid, 3, "SevCodCat", "Category", 202, {}, true, 1400);
    AddGridColumn(grid, 4, "SevCodFee1", "Fee", 6, QString("$0.00"), true, 1200);
}

/// Exports every row through the window; answers the milliseconds and the file's bytes.
double exportMs(RecordGrid& grid, tqplatform::Recordset& rs, const QString& path,
                QByteArray* written) {
    tqplatform::ScriptedUi ui;
    auto screen =
        tqservicecode::ScreenFactory::create(tqservicecode::protocol::screen::ExportOptions);
    auto& form = dynamic_cast<tqservicecode::frmExportOpts&>(*screen);
    form.Setup_Bound_Export(grid, rs);
    form.setFileName(path);
    double ms = 0;
    ui.onShow(tqservicecode::protocol::screen::ExportOptions, [&](QDialog& w) {
        auto* button = w.findChild<QPushButton*>("cmdExport");
        QElapsedTimer timer;
        timer.start();
        button->click();
        ms = timer.nsecsElapsed() / 1e6;
    });
    tqplatform::ui::showModal(form, nullptr);
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    *written = file.readAll();
    return ms;
}

/// The same text written line by line with fwrite.
double fwriteMs(const QByteArray& text, const QString& path) {
    std::vector<QByteArray> lines;
    for (const QByteArray& line : text.split('\n')) {
        if (!line.isEmpty()) {
            lines.push_back(line + '\n');
        }
    }
    QElapsedTimer timer;
    timer.start();
    FILE* out = std::fopen(path.toLocal8Bit().constData(), "wb");
    for (const QByteArray& line : lines) {
        std::fwrite(line.constData(), 1, static_cast<size_t>(line.size()), out);
    }
    std::fclose(out);
    return timer.nsecsElapsed() / 1e6;
}

/// Deletes 100 rows selected across the grid and refreshes keeping the view.
double refreshMs(tqplatform::Connection& conn, RecordGrid& grid, tqplatform::Recordset& rs) {
    const int rows = rs.RecordCount();
    QStringList ids;
    for (int i = 0; i < 100; ++i) {
        const int row = static_cast<int>((int64_t(i) * 7919) % rows);
        grid.addSelBookmark(grid.recordModel()->bookmarkAt(row));
        ids << grid.model()->index(row, 0).data(Qt::EditRole).toString();
    }
    grid.setBookmark(grid.recordModel()->bookmarkAt(rows / 2));
    grid.setFirstRow(grid.recordModel()->bookmarkAt(rows / 2 - 5));
    conn.Execute("DELETE FROM SevCodTable WHERE SevCodID IN (" + ids.join(',') + ")");
    QElapsedTimer timer;
    timer.start();
    tqservicecode::RefreshGridKeepView(grid, rs, 0);
    return timer.nsecsElapsed() / 1e6;
}

/// Opens the statement with its first rows, binds it and draws the first screen.
double firstScreenMs(tqplatform::Connection& conn, const QString& sql, int firstRows) {
    QElapsedTimer timer;
    timer.start();
    auto rs = firstRows > 0 ? tqplatform::Recordset(conn, sql, firstRows)
                            : tqplatform::Recordset(conn, sql);
    RecordGrid grid;
    addColumns(grid);
    grid.setDataSource(&rs);
    grid.resize(900, 600);
    grid.show();
    grid.repaint();
    const double ms = timer.nsecsElapsed() / 1e6;
    grid.hide();
    return ms;
}

/// The machine's load over the last minute, as /proc/loadavg gives it ("?" elsewhere).
QByteArray loadNow() {
    QFile file("/proc/loadavg");
    if (!file.open(QIODevice::ReadOnly)) {
        return "?";
    }
    return file.readAll().split(' ').value(0, "?");
}

void run(const QString& label, const tqtest::TestDatabase& db) {
    auto host = tqhost::createHost(db.url(), db.dataPath(), "bench");
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    QTemporaryDir dir;
    std::printf("\n%s\n", qPrintable(label));
    QList<int> sizes = {1000, 10000, 100000};
    if (!qEnvironmentVariableIsEmpty("TQ_BENCH_SIZES")) {
        sizes.clear();
        for (const QString& size : qEnvironmentVariable("TQ_BENCH_SIZES").split(',')) {
            sizes.append(size.toInt());
        }
    }
    const QString sql = host->TranslateSql(
        "SELECT SevCodID, SevCodCod, SevCodDes, SevCodCat, SevCodFee1 FROM SevCodTable "
        "ORDER BY SevCodCod",
        0);
    std::printf("%-7s | %9s %9s %9s %7s | %10s %9s %7s | %12s %11s %9s %7s | %s\n", "codes",
                "export ms", "fwrite ms", "MB", "B/s x", "refresh ms", "fetch ms", "ratio",
                "1st screen", "(all rows)", "fetch ms", "ratio", "load");
    for (int count : sizes) {
        fillTable(host->connection(), count);
        if (db.isPostgres()) {
            host->connection().Execute("ANALYZE SevCodTable");
        }
        double exp = 1e300, fw = 1e300, refresh = 1e300, fetch = 1e300, first = 1e300,
               firstAll = 1e300;
        QByteArray text;
        for (int i = 0; i < 5; ++i) {  // interleaved, best of 5
            tqplatform::Recordset rs(host->connection(), sql);
            RecordGrid grid;
            addColumns(grid);
            grid.setDataSource(&rs);
            grid.resize(900, 600);
            exp = std::min(exp, exportMs(grid, rs, dir.filePath("export.csv"), &text));
            fw = std::min(fw, fwriteMs(text, dir.filePath("fwrite.csv")));
            fetch = std::min(fetch, bareFetchMs(host->connection(), sql));
            refresh = std::min(refresh, refreshMs(host->connection(), grid, rs));
            first = std::min(first, firstScreenMs(host->connection(), sql, 200));
            firstAll = std::min(firstAll, firstScreenMs(host->connection(), sql, 0));
        }
        std::printf(
            "%-7d | %9.1f %9.1f %9.2f %6.2fx | %10.1f %9.1f %6.2fx | %12.1f %11.1f %9.1f %6.2fx | "
            "%s\n",
            count, exp, fw, text.size() / 1e6, fw / exp, refresh, fetch, refresh / fetch, first,
            firstAll, fetch, first / fetch, loadNow().constData());
    }
    component.setGIC(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    tqbench::prepareProcess();
    QApplication app(argc, argv);
    tqbench::prepareApplication();
    std::printf(
        "Record grid, best of 5 (load: the last minute's, at the end of the five). Export: the "
        "window writing every row, beside fwrite writing "
        "the same lines (B/s x: export bytes/s over fwrite's; target >= 0.8). Refresh: "
        "RefreshGridKeepView after deleting 100 selected rows, beside the bare Qt driver fetch "
        "(target <= 1.5x). First screen: a recordset opened with its first 200 rows, bound and "
        "drawn (all rows: opened whole), beside the bare fetch.\n");
    for (const char* kind : {"sqlite", "postgresql"}) {
        qputenv("TQ_TEST_DB", kind);
        tqtest::TestDatabase db;
        if (db.available()) {
            run(kind == QByteArray("sqlite") ? "SQLite" : "PostgreSQL", db);
        } else {
            std::printf("\n%s: skipped (%s)\n", kind, qPrintable(db.unavailableReason()));
        }
    }
    return 0;
}
