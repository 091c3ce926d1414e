#include "TestMain.h"

#include <tqservicecode/grid/RecordGrid.h>

#include <tqplatform/Currency.h>

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>

using namespace tqservicecode;
using tqplatform::Recordset;

namespace {

/// Codes 1..n: id, code "Dnnnn", fee n dollars.
Recordset codes(int n) {
    std::vector<std::vector<QVariant>> rows;
    for (int i = 1; i <= n; ++i) {
        rows.push_back({i, QStringLiteral("D%1").arg(i, 4, 10, QChar(u'0')),
                        QVariant::fromValue(tqplatform::Currency::fromUnits(i))});
    }
    return Recordset({{"SevCodID", tqplatform::FieldType::Integer, 0},
                      {"SevCodCod", tqplatform::FieldType::VarWChar, 10},
                      {"SevCodFee", tqplatform::FieldType::Currency, 0}},
                     std::move(rows));
}

void bindCodes(RecordGrid& grid, Recordset& rs) {
    grid.addColumn(0, {"ID", "SevCodID", "General Number", {}, false});
    grid.addColumn(1, {"Code", "SevCodCod"});
    grid.addColumn(2, {"Fee", "SevCodFee", "$0.00"});
    grid.setDataSource(&rs);
    grid.resize(400, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));
}

QString cell(const RecordGrid& grid, int row, int column) {
    return grid.model()->index(row, column).data().toString();
}

}  // namespace

class TestRecordGrid : public QObject {
    Q_OBJECT
private slots:
    void modelHoldsUpUnderChange() {
        Recordset rs = codes(50);
        RecordGrid grid;
        QAbstractItemModelTester tester(grid.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        bindCodes(grid, rs);
        rs.setSort("SevCodCod DESC");
        grid.rebind();
        // Rows closed behind the model's back: cells paint empty and the model says why.
        rs.Close();
        QVERIFY(!grid.grab().isNull());
        QCOMPARE(cell(grid, 0, 1), "");
        QVERIFY(grid.recordModel()->lastError().contains("closed"));
        rs = codes(50);
        grid.rebind();
        grid.addColumn(1, {"Again", "SevCodCod"});
        grid.removeColumn(0);
        grid.storeRows({{"a", 1}, {"b"}});
        grid.recordModel()->appendStorageRow({"c", 3});
        grid.recordModel()->removeStorageRow(0);
        QCOMPARE(cell(grid, 0, 0), "b");
        QCOMPARE(cell(grid, 0, 1), "");  // a short row shows empty cells
    }

    void cellText_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, const QVariant& value, const char* format,
                            const char* mask, const char* text) {
            QTest::newRow(name) << value << format << mask << text;
        };
        row("money", QVariant::fromValue(tqplatform::Currency::fromRaw(12345678)), "$0.00", "",
            "$1234.57");
        row("general number", 1500, "General Number", "", "1500");
        row("short date", QDate(2026, 3, 4), "Short Date", "", "3/4/2026");
        row("text keeps format chars", "0.00", "", "", "0.00");
        row("null", QVariant(), "$0.00", "", "");
        row("mask", "5551234", "Edit Mask", "###-####", "555-1234");
        row("mask literal present", "555-1234", "Edit Mask", "###-####", "555-1234");
        row("mask short value", "55", "Edit Mask", "(##)", "(55)");
    }
    void cellText() {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, mask);
        QFETCH(QString, text);
        QCOMPARE(gridCellText(value, format, mask), text);
    }

    /// The grid follows the recordset's cursor both ways, and reading cells for painting
    /// leaves the cursor where it stood (BOF and EOF included).
    void cursorAndBookmarks() {
        Recordset rs = codes(200);
        RecordGrid grid;
        bindCodes(grid, rs);
        QVERIFY(!grid.columnVisible(0));
        QCOMPARE(grid.visibleColumnsInOrder(), (std::vector<int>{1, 2}));
        rs.setAbsolutePosition(120);
        grid.followCursor();
        QCOMPARE(grid.currentRowIndex(), 119);
        QCOMPARE(grid.bookmark(), rs.bookmark());
        grid.setCurrentIndex(grid.model()->index(5, 1));
        QCOMPARE(rs.AbsolutePosition(), 6);
        QCOMPARE(grid.col(), 1);
        QCOMPARE(cell(grid, 199, 1), "D0200");
        QCOMPARE(rs.AbsolutePosition(), 6);
        rs.MoveLast();
        rs.MoveNext();
        QCOMPARE(cell(grid, 3, 2), "$4.00");
        QVERIFY(rs.Eof());
        rs.MoveFirst();
        rs.MovePrevious();
        QCOMPARE(grid.recordModel()->rowOf(rs.RecordCount() - 1), 199);
        QVERIFY(rs.Bof());

        // Bookmarks survive a sort; the selection keeps the order it was made in.
        grid.addSelBookmark(40);
        grid.addSelBookmark(3);
        rs.MoveFirst();
        rs.setSort("SevCodCod DESC");
        grid.rebind();
        QVERIFY(grid.selBookmarks().empty());  // a rebind starts afresh
        grid.addSelBookmark(40);
        grid.addSelBookmark(3);
        grid.addSelBookmark(199);
        QCOMPARE(grid.selBookmarks(), (std::vector<tqplatform::Bookmark>{40, 3, 199}));
        QVERIFY(grid.selectionModel()->isRowSelected(0));  // bookmark 199 leads the sort
        grid.removeSelBookmark(3);
        QVERIFY(!grid.selectionModel()->isRowSelected(196));
        QCOMPARE(grid.selBookmarks(), (std::vector<tqplatform::Bookmark>{40, 199}));
        grid.clearSelBookmarks();
        QVERIFY(grid.selBookmarks().empty());
        QVERIFY(!grid.selectionModel()->hasSelection());
    }

    /// Clicks select rows as the user chooses them; a ctrl-click takes one out again.
    void userSelection() {
        Recordset rs = codes(30);
        RecordGrid grid;
        bindCodes(grid, rs);
        QSignalSpy changes(&grid, &RecordGrid::selChange);
        auto click = [&](int row, Qt::KeyboardModifiers mods) {
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, mods,
                              grid.visualRect(grid.model()->index(row, 1)).center());
        };
        click(4, {});
        click(1, Qt::ControlModifier);
        click(7, Qt::ControlModifier);
        QCOMPARE(grid.selBookmarks(), (std::vector<tqplatform::Bookmark>{4, 1, 7}));
        click(1, Qt::ControlModifier);
        QCOMPARE(grid.selBookmarks(), (std::vector<tqplatform::Bookmark>{4, 7}));
        QVERIFY(changes.count() >= 4);
        QCOMPARE(rs.AbsolutePosition(), 2);  // the last clicked row is current
    }

    void columnWidthsInTwips() {
        Recordset rs = codes(5);
        RecordGrid grid;
        bindCodes(grid, rs);
        // First row, left column and column order: the refresh, layout and export tests.
        grid.setColumnWidth(1, 2880);
        QCOMPARE(grid.horizontalHeader()->sectionSize(1), 192);  // 96 dpi: 2 inches
        grid.horizontalHeader()->resizeSection(1, 48);           // the user drags it narrower
        QCOMPARE(grid.columnWidth(1), 720.0);
        grid.setColumnVisible(1, false);
        grid.setColumnVisible(1, true);
        QCOMPARE(grid.columnWidth(1), 720.0);  // hiding keeps the width
    }

    /// Typed keys go to whoever listens (the browser's search): no keyboard search of the
    /// view's own moves the row. Row styles and heading clicks: the browser's tests.
    void typedKeysDoNotMoveTheRow() {
        Recordset rs = codes(10);
        RecordGrid grid;
        bindCodes(grid, rs);
        QSignalSpy typed(&grid, &RecordGrid::keyTyped);
        grid.setCurrentIndex(grid.model()->index(0, 1));
        QTest::keyClicks(&grid, "d2");
        QCOMPARE(typed.count(), 2);
        QCOMPARE(typed.value(1).value(0).toString(), "2");
        QCOMPARE(grid.currentRowIndex(), 0);
    }

    /// Storage mode: cells of unlocked columns are edited in place; bound cells never.
    void storageEditing() {
        RecordGrid grid;
        grid.addColumn(0, {"Name", "Name"});
        GridColumn path{"Path", "Path"};
        path.locked = true;
        grid.addColumn(1, path);
        grid.storeRows({{"letter.rtf", "/docs"}, {"memo.rtf", "/docs"}});
        QCOMPARE(grid.dataMode(), RecordGrid::DataMode::Storage);
        QSignalSpy edited(grid.recordModel(), &RecordModel::cellEdited);
        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.setCurrentIndex(grid.model()->index(1, 0));
        QTest::keyClick(&grid, Qt::Key_F2);
        auto* editor = grid.viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, "plan.rtf");
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(grid.recordModel()->storageValue(1, 0).toString(), "plan.rtf");
        QCOMPARE(edited.count(), 1);
        QVERIFY(!grid.model()->setData(grid.model()->index(0, 1), "/x"));
        grid.setAllowUpdate(false);
        QVERIFY(!grid.model()->setData(grid.model()->index(0, 0), "x"));
        QCOMPARE(grid.bookmark(), 1);
    }
};

TQ_TEST_MAIN(TestRecordGrid)
#include "tst_recordgrid.moc"
