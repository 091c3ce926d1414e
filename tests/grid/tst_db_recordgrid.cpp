#include "TestDatabase.h"
#include "TestMain.h"

#include <tqservicecode/grid/RecordGrid.h>

#include <tqplatform/Connection.h>
#include <tqplatform/ScriptedUi.h>

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QSignalSpy>

using namespace tqservicecode;

namespace {

constexpr int Rows = 3000;

void fillNumbers(tqplatform::Connection& conn) {
    conn.Execute("CREATE TABLE Numbers (N integer, Name varchar(20))");
    conn.BeginTrans();
    for (int start = 1; start <= Rows; start += 500) {
        QStringList values;
        for (int n = start; n < start + 500; ++n) {
            values << QStringLiteral("(%1, 'n%1')").arg(n);
        }
        conn.Execute("INSERT INTO Numbers (N, Name) VALUES " + values.join(','));
    }
    conn.CommitTrans();
}

}  // namespace

/// A grid over a recordset opened with its first rows only: binding reads nothing more,
/// scrolling reads the rest as it is reached.
class TestDbRecordGrid : public QObject {
    Q_OBJECT
private slots:
    void readsRowsAsTheyAreReached() {
        tqtest::TestDatabase db;
        TQ_REQUIRE_DATABASE(db);
        tqplatform::Connection conn(db.url());
        fillNumbers(conn);
        tqplatform::Recordset rs(conn, "SELECT N, Name FROM Numbers ORDER BY N", 100);
        RecordGrid grid;
        grid.addColumn(0, {"N", "N", "General Number"});
        grid.addColumn(1, {"Name", "Name"});
        grid.setDataSource(&rs);
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QCOMPARE(grid.model()->index(0, 1).data().toString(), "n1");
        QVERIFY(!rs.fetchComplete());
        QVERIFY(grid.model()->rowCount() < Rows);
        QCOMPARE(rs.AbsolutePosition(), 1);

        for (int i = 0; i < 40 && grid.model()->rowCount() < Rows; ++i) {
            grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
            QCoreApplication::processEvents();
        }
        QCOMPARE(grid.model()->rowCount(), Rows);
        QCOMPARE(grid.model()->index(Rows - 1, 0).data().toString(), QString::number(Rows));

        // Rows read by the recordset itself (MoveLast reads them all) reach the grid too.
        tqplatform::Recordset rs2(conn, "SELECT N, Name FROM Numbers ORDER BY N DESC", 50);
        grid.setDataSource(&rs2);
        rs2.MoveLast();
        grid.followCursor();
        QCOMPARE(grid.currentRowIndex(), Rows - 1);
        QCOMPARE(grid.model()->index(grid.currentRowIndex(), 1).data().toString(), "n1");

        // Rows come in as contiguous insertions at the end. (The item model tester fetches
        // from inside its own change handlers and then takes its fetch for a nested change:
        // it watches the model once every row is read, through a requery and a rebind.)
        tqplatform::Recordset rs3(conn, "SELECT N, Name FROM Numbers ORDER BY N", 100);
        RecordModel model;
        model.insertGridColumn(0, {"N", "N", "General Number"});
        model.setRecordset(&rs3);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        int expectedFirst = model.rowCount();
        while (model.canFetchMore({})) {
            const int before = inserted.count();
            model.fetchMore({});
            QCOMPARE(inserted.count(), before + 1);
            QCOMPARE(inserted.last().at(1).toInt(), expectedFirst);
            expectedFirst = inserted.last().at(2).toInt() + 1;
            QCOMPARE(model.rowCount(), expectedFirst);
        }
        QCOMPARE(model.rowCount(), Rows);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        conn.Execute("DELETE FROM Numbers WHERE N > 10");
        rs3.Requery();
        model.rebind();
        QCOMPARE(model.rowCount(), 10);
        QCOMPARE(model.index(9, 0).data().toString(), "10");
    }

    /// The connection goes while the user scrolls: told once, the rows read stay.
    void aDroppedConnectionStopsTheListOnce() {
        tqtest::TestDatabase db;
        TQ_REQUIRE_DATABASE(db);
        if (!db.isPostgres()) {
            QSKIP("SQLite reads its own file: no connection goes while rows are read.");
        }
        tqplatform::Connection conn(db.url());
        const QString pid = conn.OpenRecordset("SELECT pg_backend_pid()").Fields(0).toString();
        tqplatform::Recordset rs(
            conn, "SELECT n, repeat('x', 200) FROM generate_series(1, 200000) n", 100);
        RecordGrid grid;
        grid.addColumn(0, {"N", "n", "General Number"});
        grid.setDataSource(&rs);
        grid.show();
        tqplatform::Connection(db.url()).OpenRecordset("SELECT pg_terminate_backend(" + pid + ")");
        tqplatform::ScriptedUi ui;
        for (int i = 0; i < 2000; ++i) {  // on past the failure: it is told once
            grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
            QCoreApplication::processEvents();
        }
        QCOMPARE(ui.prompts().size(), 1);
        QVERIFY(ui.prompts()[0].startsWith("Not every row of this list could be read:\r\n"));
        const int rows = grid.model()->rowCount();
        QVERIFY(rows >= 100 && rows < 200000);
        QCOMPARE(grid.model()->index(rows - 1, 0).data().toString(), QString::number(rows));
    }
};

TQ_TEST_MAIN(TestDbRecordGrid)
#include "tst_db_recordgrid.moc"
