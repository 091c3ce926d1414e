#include "GridFixture.h"
#include "TestMain.h"

#include <tqservicecode/grid/GridLayout.h>
#include <tqservicecode/grid/GridLayoutFile.h>
#include <tqservicecode/grid/RecordGrid.h>

using namespace tqservicecode;

namespace {

/// Columns Code, Description, Fee, Note (1000 twips each) and a hidden ID.
void buildColumns(RecordGrid& grid) {
    for (const char* caption : {"Code", "Description", "Fee", "Note"}) {
        AddGridColumn(grid, int16_t(grid.columnCountTotal()), caption, caption, 202, {}, true,
                      1000);
    }
    AddGridColumn(grid, 4, "ID", "ID", 3, {}, false, 800);
}

QString displayOrder(const RecordGrid& grid) {
    QStringList captions;
    for (int index : grid.visibleColumnsInOrder()) {
        captions << grid.column(index).caption;
    }
    return captions.join(',');
}

QString widths(const RecordGrid& grid) {
    QStringList out;
    for (int i = 0; i < grid.columnCountTotal(); ++i) {
        out << QString::number(grid.columnWidth(i));
    }
    return out.join(',');
}

}  // namespace

class TestGridLayout : public QObject {
    Q_OBJECT
private slots:
    void saveWritesOneLinePerColumn() {
        HostFixture f;
        RecordGrid grid;
        AddGridColumn(grid, 0, "", "A", 202, {}, true, 1200);
        AddGridColumn(grid, 1, "", "B", 202, {}, false, 900);
        grid.setColumnOrder(1, 0);
        SaveGridLayout(grid, "SRSCann");
        QCOMPARE(tqtest::readFile(f.layoutFile("SRSCann")),
                 QByteArray("A,1,1200,0\r\nB,0,0,0\r\n"));

        // Index keys, the row height line, and the practice's code page.
        grid.setColumn(0, {QString::fromUtf8("Prix €é日"), "", {}, {}, true, true, 1234.5});
        grid.setRowHeight(300);
        SaveGridLayout(grid, "X", 1, 0);
        QCOMPARE(tqtest::readFile(f.layoutFile("X")),
                 QByteArray("ROWHEIGHT=300\r\nPrix \x80\xe9?,1,1234.5,0\r\n"
                            "B,0,0,0\r\n"));
        SaveGridLayout(grid, "X", 0, 1);
        QCOMPARE(tqtest::readFile(f.layoutFile("X")), QByteArray("0,1,1234.5,0\r\n1,0,0,0\r\n"));

        // A storage grid is keyed by data field, or by caption when it has none.
        RecordGrid store;
        store.storeRows({});
        AddGridColumn(store, 0, "FileName", "Name", 202, {}, true, 2000);
        AddGridColumn(store, 1, "", "Folder", 202, {}, true, 1500);
        SaveGridLayout(store, "FlSrann");
        QCOMPARE(tqtest::readFile(f.layoutFile("FlSrann")),
                 QByteArray("FileName,0,2000,0\r\nFolder,1,1500,0\r\n"));
        QVERIFY(LoadGridLayout(store, "FlSrann"));
    }

    void load_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("widths");
        const auto row = [](const char* name, const QByteArray& file, const char* order,
                            const char* widths) { QTest::newRow(name) << file << order << widths; };
        row("four fields", "Fee,0,1500,0\r\nCode,2,900,0\r\n", "Fee,Description,Code,Note",
            "900,1000,1500,1000,800");
        row("old three-field line", "2,Description,3000\r\n", "Code,Fee,Description,Note",
            "1000,3000,1000,1000,800");
        row("narrow columns repaired", "Code,0,10,0\r\nDescription,1,44.9,0\r\nFee,2,45,0\r\n",
            "Code,Description,Fee,Note", "70,70,45,1000,800");
        row("orders 9 and 10 as numbers", "Note,10,1000,0\r\nCode,9,1000,0\r\n",
            "Description,Fee,Code,Note", "1000,1000,1000,1000,800");
        row("foreign and broken lines pass",
            "Fee,1,600,3\r\nFee,x,500,0\r\nNote,0,abc,0\r\nDescription,0,2000,0\r\nOther,0,500,"
            "0\r\n",
            "Description,Note,Code,Fee", "1000,2000,1000,1000,800");
        row("empty key by line position", ",3,1200,0\r\n", "Description,Fee,Note,Code",
            "1200,1000,1000,1000,800");
        row("hidden column keeps its width", "ID,0,0,0\r\n", "Code,Description,Fee,Note",
            "1000,1000,1000,1000,800");
        row("a row height line is not a column", "ROWHEIGHT=400\r\nFee,0,1000,0\r\n",
            "Fee,Code,Description,Note", "1000,1000,1000,1000,800");
        row("LF endings", "Fee,0,1100,0\nCode,1,1200,0\n", "Fee,Code,Description,Note",
            "1200,1000,1100,1000,800");
    }
    void load() {
        QFETCH(QByteArray, file);
        QFETCH(QString, order);
        QFETCH(QString, widths);
        HostFixture f;
        QVERIFY(QDir(f.dir.path()).mkpath("STP"));
        QVERIFY(tqtest::writeFile(f.layoutFile("SRSCann"), file));
        RecordGrid grid;
        buildColumns(grid);
        const double height = grid.rowHeight();
        QCOMPARE(LoadGridLayout(grid, "SRSCann"), int16_t(1));
        QCOMPARE(displayOrder(grid), order);
        QCOMPARE(::widths(grid), widths);
        QCOMPARE(grid.rowHeight(), height);
    }

    void loadOptionsAndRoundTrip() {
        HostFixture f;
        RecordGrid grid;
        buildColumns(grid);
        QCOMPARE(LoadGridLayout(grid, "SRSCann"), int16_t(0));  // no file: as built
        QCOMPARE(displayOrder(grid), "Code,Description,Fee,Note");

        grid.setColumnOrder(3, 0);
        grid.setColumnWidth(1, 2400);
        grid.setRowHeight(330);
        SaveGridLayout(grid, "SRSCann", 1, 0);
        RecordGrid again;
        buildColumns(again);
        QCOMPARE(LoadGridLayout(again, "SRSCann", 1, 0, 0, 0), int16_t(1));
        QCOMPARE(displayOrder(again), "Note,Code,Description,Fee");
        QCOMPARE(again.columnWidth(1), 2400.0);
        QCOMPARE(again.rowHeight(), 330.0);

        RecordGrid keep;
        buildColumns(keep);
        LoadGridLayout(keep, "SRSCann", 1, 0, 1, 1);
        QCOMPARE(keep.columnWidth(1), 1000.0);
        QCOMPARE(displayOrder(keep), "Note,Code,Description,Fee");
        QVERIFY(keep.rowHeight() != 330.0);

        // Index keys.
        QVERIFY(tqtest::writeFile(f.layoutFile("N"), "3,0,900,0\r\n0,3,800,0\r\n"));
        RecordGrid byIndex;
        buildColumns(byIndex);
        LoadGridLayout(byIndex, "N", 0, 1);
        QCOMPARE(displayOrder(byIndex), "Note,Description,Fee,Code");
    }

    void columnsAndFormats() {
        HostFixture f;
        RecordGrid grid;  // bound until rows are stored
        AddGridColumn(grid, 0, "SevCodFee", "Fee", 6, {}, true, 1000);
        AddGridColumn(grid, 1, "SevCodDate", "Date", 135, {}, true, 1000);
        AddGridColumn(grid, 2, "When", "When", gridlayout::ColumnType::DateTime, {}, true, 1000);
        AddGridColumn(grid, 3, "Phone", "Phone", 8, {}, false, 1000, 0, "###-####");
        AddGridColumn(grid, 0, "SevCodID", "ID", 3, QString("0000"), true, 500);
        QCOMPARE(grid.column(0).numberFormat, "0000");
        QCOMPARE(grid.column(1).numberFormat, "Currency");
        QCOMPARE(grid.column(2).numberFormat, "Short Date");
        QCOMPARE(grid.column(3).numberFormat, "mm/dd/yy hh:nn ampm");
        QCOMPARE(grid.column(4).numberFormat, "Edit Mask");
        QCOMPARE(grid.column(4).editMask, "###-####");
        QVERIFY(!grid.column(4).visible && !grid.column(4).resizable);

        RecordGrid store;
        store.storeRows({});
        AddGridColumn(store, 0, "Fee", "Fee", 6, {}, true, 1000);
        AddGridColumn(store, 1, "Fee2", "Fee2", 6, {}, true, 1000, 1);
        QCOMPARE(store.column(0).numberFormat, "");
        QCOMPARE(store.column(1).numberFormat, "Currency");
        ClearGrid(grid);
        QCOMPARE(grid.columnCountTotal(), 0);

        QList<QStringList> table = {{"   10", "a"}, {"    9", "b"}, {"", "c"}, {"    9", "d"}};
        f.host->SortTableRows(table);
        QCOMPARE(table,
                 (QList<QStringList>{{"", "c"}, {"    9", "b"}, {"    9", "d"}, {"   10", "a"}}));
    }
};

TQ_TEST_MAIN(TestGridLayout)
#include "tst_gridlayout.moc"
