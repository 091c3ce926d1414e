#include "TestDatabase.h"
#include "TestMain.h"

#include <tqservicecode/grid/GridRefresh.h>
#include <tqservicecode/grid/RecordGrid.h>

#include <tqplatform/Connection.h>

#include <QHeaderView>
#include <QScrollBar>

using namespace tqservicecode;
using tqplatform::Recordset;

namespace {

/// Rows with keys 10, 20, ... n*10 and names "k10"...
struct Numbers {
    tqtest::TestDatabase db;
    std::unique_ptr<tqplatform::Connection> conn;
    std::unique_ptr<Recordset> rs;
    RecordGrid grid;

    bool open(int n) {
        conn = std::make_unique<tqplatform::Connection>(db.url());
        conn->Execute("CREATE TABLE Numbers (K integer, Name varchar(20), Note varchar(20))");
        QStringList rows;
        for (int i = 1; i <= n; ++i) {
            rows << QStringLiteral("(%1, 'k%1')").arg(i * 10);
        }
        conn->Execute("INSERT INTO Numbers (K, Name) VALUES " + rows.join(','));
        rs = std::make_unique<Recordset>(*conn, "SELECT K, Name, Note FROM Numbers ORDER BY K");
        grid.addColumn(0, {"Key", "K"});
        grid.addColumn(1, {"Name", "Name"});
        grid.addColumn(2, {"Note", "Note", {}, {}, true, true, 4000});
        grid.setDataSource(rs.get());
        grid.resize(250, 10 * grid.verticalHeader()->defaultSectionSize());
        grid.show();
        return QTest::qWaitForWindowExposed(&grid);
    }
    void insert(int key) {
        conn->Execute(QStringLiteral("INSERT INTO Numbers (K, Name) VALUES (%1, 'k%1')").arg(key));
    }
    void remove(int key) {
        conn->Execute(QStringLiteral("DELETE FROM Numbers WHERE K = %1").arg(key));
    }
    /// The key of the grid's row that carries bookmark.
    int keyOf(tqplatform::Bookmark bookmark) const {
        return grid.model()->index(grid.recordModel()->rowOf(bookmark), 0).data().toInt();
    }
    QList<int> selectedKeys() const {
        QList<int> keys;
        for (auto b : grid.selBookmarks()) {
            keys << keyOf(b);
        }
        std::sort(keys.begin(), keys.end());
        return keys;
    }
    void makeCurrent(int key) {
        const QModelIndex row = grid.model()->index(key / 10 - 1, 0);
        grid.setBookmark(row.data(int(RecordModel::Role::Bookmark)).toLongLong());
    }
};

}  // namespace

class TestDbGridRefresh : public QObject {
    Q_OBJECT
private slots:
    void byKey_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QList<int>>("deleted");
        QTest::addColumn<QList<int>>("inserted");
        QTest::addColumn<int>("expectedCurrent");
        QTest::newRow("current row deleted: the next")
            << 150 << QList<int>{150} << QList<int>{} << 160;
        QTest::newRow("last row deleted: the one before")
            << 300 << QList<int>{300} << QList<int>{} << 290;
        QTest::newRow("rows inserted above") << 150 << QList<int>{} << QList<int>{5, 6, 7} << 150;
        QTest::newRow("rows deleted above") << 150 << QList<int>{10, 20, 30} << QList<int>{} << 150;
    }
    void byKey() {
        QFETCH(int, current);
        QFETCH(QList<int>, deleted);
        QFETCH(QList<int>, inserted);
        QFETCH(int, expectedCurrent);
        Numbers n;
        TQ_REQUIRE_DATABASE(n.db);
        QVERIFY(n.open(30));
        n.makeCurrent(current);
        n.grid.setFirstRow(n.rs->bookmark() - current / 10 + 10);  // key 100 on top
        n.grid.setCol(2);
        n.grid.setLeftCol(1);
        for (int k : {40, 120, 250, 290}) {
            n.grid.addSelBookmark(k / 10 - 1);
        }
        QCOMPARE(n.keyOf(n.grid.firstRow()), 100);
        QCOMPARE(n.grid.leftCol(), 1);
        Recordset clone = n.rs->Clone();
        for (int k : deleted) {
            n.remove(k);
        }
        for (int k : inserted) {
            n.insert(k);
        }

        RefreshGridKeepView(n.grid, *n.rs, 0, &clone);

        QCOMPARE(n.rs->Fields("K").toInt(), expectedCurrent);
        QCOMPARE(n.keyOf(n.grid.bookmark()), expectedCurrent);
        QCOMPARE(n.keyOf(n.grid.firstRow()), 100);
        QCOMPARE(n.grid.col(), 2);
        QCOMPARE(n.grid.leftCol(), 1);
        QList<int> stillSelected;
        for (int k : {40, 120, 250, 290}) {
            if (!deleted.contains(k)) {
                stillSelected << k;
            }
        }
        QCOMPARE(n.selectedKeys(), stillSelected);
        QCOMPARE(n.grid.selectionModel()->selectedRows().size(), stillSelected.size());
        // The caller's clone was made again over the new rows.
        QCOMPARE(clone.RecordCount(), n.rs->RecordCount());
        QVERIFY(n.grid.updatesEnabled());
    }

    void byPositionAndEdges() {
        Numbers n;
        TQ_REQUIRE_DATABASE(n.db);
        QVERIFY(n.open(20));
        n.makeCurrent(80);  // row 8
        n.insert(1);
        n.insert(2);
        RefreshGridKeepView(n.grid, *n.rs, -1);
        QCOMPARE(n.rs->AbsolutePosition(), 8);
        QCOMPARE(n.rs->Fields("K").toInt(), 60);
        QCOMPARE(n.grid.currentRowIndex(), 7);

        // A top row and current row whose neighbours have gone too: the row before.
        n.makeCurrent(200);
        n.remove(190);
        n.remove(200);
        RefreshGridKeepView(n.grid, *n.rs, 0);
        QCOMPARE(n.rs->Fields("K").toInt(), 180);

        // Nothing left: nothing restored, nothing thrown, drawing back on.
        n.conn->Execute("DELETE FROM Numbers");
        RefreshGridKeepView(n.grid, *n.rs, 0);
        QCOMPARE(n.grid.model()->rowCount(), 0);
        QVERIFY(n.grid.updatesEnabled());
    }

    void syncClone() {
        Numbers n;
        TQ_REQUIRE_DATABASE(n.db);
        QVERIFY(n.open(5));
        Recordset clone;
        QCOMPARE(SyncClone(*n.rs, clone, std::nullopt), int16_t(1));
        QCOMPARE(clone.RecordCount(), 5);
        QCOMPARE(SyncClone(*n.rs, clone, 3), int16_t(1));
        QCOMPARE(clone.Fields("K").toInt(), 40);
        // A clone of rows since requeried is made again before it is moved.
        n.insert(60);
        n.rs->Requery();
        QCOMPARE(SyncClone(*n.rs, clone, 5), int16_t(1));
        QCOMPARE(clone.Fields("K").toInt(), 60);
        QCOMPARE(SyncClone(*n.rs, clone, 99), int16_t(0));
    }
};

TQ_TEST_MAIN(TestDbGridRefresh)
#include "tst_db_gridrefresh.moc"
