#include "Controls.h"
#include "GridFixture.h"
#include "TestDatabase.h"
#include "TestMain.h"

#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/ScreenFactory.h>
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
        QObject::connect(bar, &QProgressBar::valueChanged, &form, [&](int percent) {
            if (percent == 33 || percent == 50) {
                const QString shot = qEnvironmentVariable("TQ_EXPORT_SCREENSHOT");
                if (percent == 50 && !shot.isEmpty()) {
                    form.grab().save(shot);
                }
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
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.endsWith("\r\n"));
        const QList<QByteArray> lines = bytes.left(bytes.size() - 2).split('\n');
        QVERIFY2(lines.size() > Rows * 49 / 100 && lines.size() <= Rows / 2,
                 qPrintable(QString::number(lines.size())));
        QRegularExpression whole(R"(^"C\d+","Procedure \d+, "quoted"","\$\d+\.25",\r?$)");
        for (const QByteArray& line : lines) {
            QVERIFY2(whole.match(QString::fromLatin1(line)).hasMatch(), line.constData());
        }
    }
};

TQ_TEST_MAIN(TestDbExportCancel)
#include "tst_db_exportcancel.moc"
