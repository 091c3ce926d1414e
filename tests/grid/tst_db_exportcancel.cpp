#include "Controls.h"
#include "GridFixture.h"
#include "TestDatabase.h"
#include "TestMain.h"

#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/ExportWriter.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/grid/frmExportOpts.h>

#include <tqplatform/Connection.h>
#include <tqplatform/ScriptedUi.h>

#include <QProgressBar>
#include <QPushButton>

using namespace tqservicecode;

/// An export of many rows cancelled halfway, over a recordset read from the database.
class TestDbExportCancel : public QObject {
    Q_OBJECT
private slots:
    void cancelHalfwayKeepsWholeLines() {
        constexpr int Rows = 100000;
        tqtest::TestDatabase db;
        TQ_REQUIRE_DATABASE(db);
        HostFixture f;
        tqplatform::Connection conn(db.url());
        conn.Execute("CREATE TABLE Codes (Code varchar(10), Des varchar(60), Fee numeric(12,4))");
        conn.BeginTrans();
        for (int start = 0; start < Rows; start += 1000) {
            QStringList values;
            for (int i = start; i < start + 1000; ++i) {
                values << QStringLiteral("('C%1', 'Procedure %1, \"quoted\"', %2.25)")
                              .arg(i)
                              .arg(i % 900);
            }
            conn.Execute("INSERT INTO Codes (Code, Des, Fee) VALUES " + values.join(','));
        }
        conn.CommitTrans();
        tqplatform::Recordset rs(conn, "SELECT Code, Des, Fee FROM Codes ORDER BY Code", 200);
        RecordGrid grid;
        grid.addColumn(0, {"Code", "Code"});
        grid.addColumn(1, {"Description", "Des"});
        grid.addColumn(2, {"Fee", "Fee", "$0.00"});
        grid.setDataSource(&rs);

        tqplatform::ScriptedUi ui;
        ui.answers = {7, 6};  // "No" at a third, "Yes" at half
        const QString path = f.dir.filePath("codes.csv");
        auto screen = ScreenFactory::create(protocol::screen::ExportOptions);
        auto& form = dynamic_cast<frmExportOpts&>(*screen);
        form.Setup_Bound_Export(grid, rs);
        form.setFileName(path);
        auto* bar = tqtest::control<QProgressBar>(form, "ProgressBar1");
        // The progress shows while the rows go out: Cancel at a third ("No"), then at half.
        int asked = 0;
        QObject::connect(bar, &QProgressBar::valueChanged, &form, [&](int percent) {
            if ((asked == 0 && percent >= 33) || (asked == 1 && percent >= 50)) {
                ++asked;
                tqtest::control<QPushButton>(form, "cmdCancel")->click();
            }
        });
        ui.onShow(protocol::screen::ExportOptions,
                  [](QDialog& w) { tqtest::control<QPushButton>(w, "cmdExport")->click(); });
        tqplatform::ui::showModal(form, nullptr);

        QVERIFY(form.Canceled());
        QCOMPARE(ui.messages.size(), 2);
        QCOMPARE(ui.messages[1].prompt, "Are you sure you want to cancel exporting?");
        QCOMPARE(ui.messages[1].title, "Cancel Export");
        QCOMPARE(ui.messages[1].buttons, 4);
        QCOMPARE(ui.messages[1].icon, 32);
        const QByteArray bytes = tqtest::readFile(path);
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QByteArray> lines = bytes.left(bytes.size() - 2).split('\n');
        QVERIFY2(lines.size() >= Rows / 2 - 1 && lines.size() < Rows * 9 / 10,
                 qPrintable(QString::number(lines.size())));
        QRegularExpression whole(R"(^"C\d+","Procedure \d+, "quoted"","\$\d+\.25",\r?$)");
        for (const QByteArray& line : lines) {
            QVERIFY2(whole.match(QString::fromLatin1(line)).hasMatch(), line.constData());
        }
    }

    /// The connection goes before the rows still to come are read: the user is told, the
    /// window stays for another try, and no file is made.
    void aDroppedConnectionMakesNoFile() {
        tqtest::TestDatabase db;
        TQ_REQUIRE_DATABASE(db);
        if (!db.isPostgres()) {
            QSKIP("SQLite reads its own file: no connection goes while rows are read.");
        }
        HostFixture f;
        tqplatform::Connection conn(db.url());
        const QString pid = conn.OpenRecordset("SELECT pg_backend_pid()").Fields(0).toString();
        tqplatform::Recordset rs(
            conn, "SELECT n, repeat('x', 200) AS d FROM generate_series(1, 200000) n", 100);
        RecordGrid grid;
        grid.addColumn(0, {"N", "n"});
        grid.setDataSource(&rs);
        tqplatform::Connection(db.url()).OpenRecordset("SELECT pg_terminate_backend(" + pid + ")");
        tqplatform::ScriptedUi ui;
        frmExportOpts form;
        form.Setup_Bound_Export(grid, rs);
        form.setFileName(f.dir.filePath("codes.csv"));
        tqtest::control<QPushButton>(form, "cmdExport")->click();
        QCOMPARE(ui.prompts().size(), 1);
        QVERIFY2(ui.prompts()[0].contains("lost"), qPrintable(ui.prompts()[0]));
        QVERIFY(!form.isWriting() && !QFile::exists(f.dir.filePath("codes.csv")));
    }

    /// Numbers and money are written straight from the rows read: each cell must read as
    /// the same rows held as values would (negative, zero, large, NULL, a whole number too
    /// long for plain digits, a format and none).
    void numbersWriteAsTheirValues() {
        tqtest::TestDatabase db;
        TQ_REQUIRE_DATABASE(db);
        HostFixture f;
        tqplatform::Connection conn(db.url());
        conn.setCurrencyColumns({"fee", "fee2"});
        conn.Execute(
            "CREATE TABLE Nums (ID integer, Big bigint, Code varchar(10), Fee numeric(19,4), "
            "Fee2 numeric(19,4))");
        conn.Execute(
            "INSERT INTO Nums VALUES (-7, 1, 'A', -45.5, 0), (0, -12, 'B', 123456789012.3456, "
            "NULL), (NULL, 0, 'C', 10.005, 0.0001), (2147483647, 1234567890123456, 'D', 7, "
            "99999.9999)");
        tqplatform::Recordset read(conn, "SELECT ID, Big, Code, Fee, Fee2 FROM Nums ORDER BY Code");
        std::vector<tqplatform::Recordset::Column> fields;
        for (int i = 0; i < read.FieldCount(); ++i) {
            fields.push_back(read.FieldInfo(i));
        }
        std::vector<std::vector<QVariant>> values;
        for (read.MoveFirst(); !read.Eof(); read.MoveNext()) {
            values.push_back(
                {read.Fields(0), read.Fields(1), read.Fields(2), read.Fields(3), read.Fields(4)});
        }
        tqplatform::Recordset held(fields, values);
        const std::vector<exporting::Column> columns = {
            {"ID", 0, {}, {}},       {"Big", 1, {}, {}},   {"Code", 2, {}, {}},
            {"Fee", 3, "$0.00", {}}, {"Fee 2", 4, {}, {}}, {"Fee 2", 4, "###,##0.00", {}},
            {"ID", 0, "0.0", {}}};
        const auto written = [&](tqplatform::Recordset& rs) {
            const QString path = f.dir.filePath("numbers.csv");
            exporting::writeExport(path, rs, columns, ",", "", false, {true, {}}, {});
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
        };
        const QByteArray fromValues = written(held);
        QCOMPARE(fromValues.count("\r\n"), 4);
        QVERIFY2(fromValues.contains(",1.23456789012346E+15,"), fromValues.constData());
        QCOMPARE(written(read), fromValues);
    }
};

TQ_TEST_MAIN(TestDbExportCancel)
#include "tst_db_exportcancel.moc"
