#include "Controls.h"
#include "GridFixture.h"
#include "ScratchDisk.h"
#include "TestMain.h"

#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/ExportWriter.h>
#include <tqservicecode/grid/GridLayout.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/grid/frmExportOpts.h>

#include <tqplatform/Currency.h>
#include <tqplatform/ScriptedUi.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace tqservicecode;
using tqplatform::Recordset;

namespace {

Recordset codes() {
    auto money = [](int cents) {
        return QVariant::fromValue(tqplatform::Currency::fromRaw(cents * 100));
    };
    return Recordset({{"Code", tqplatform::FieldType::VarWChar, 10},
                      {"Des", tqplatform::FieldType::VarWChar, 40},
                      {"Fee", tqplatform::FieldType::Currency, 0},
                      {"ID", tqplatform::FieldType::Integer, 0}},
                     {{"D0120", "Exam, \"periodic\"", money(4550), 1},
                      {"D0140", QString::fromUtf8("Café € 日"), money(0), 2},
                      {"D0150", "Comprehensive", money(12000), 3}});
}

struct ExportFixture {
    HostFixture host;
    Recordset rs = codes();
    RecordGrid grid;
    tqplatform::ScriptedUi ui;
    ExportFixture() {
        grid.addColumn(0, {"Code", "Code"});
        grid.addColumn(1, {"Description", "Des"});
        grid.addColumn(2, {"Fee", "Fee", "$0.00"});
        grid.addColumn(3, {"ID", "ID", {}, {}, false});
        grid.setDataSource(&rs);
    }
    QString path() const { return host.dir.filePath("out.csv"); }
    QByteArray written() const {
        QFile f(path());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
    /// Opens the window through the screen factory, lets script set it up and press Export.
    std::unique_ptr<frmExportOpts> run(const std::function<void(frmExportOpts&)>& script) {
        std::unique_ptr<QDialog> screen = ScreenFactory::create(protocol::screen::ExportOptions);
        auto form = std::unique_ptr<frmExportOpts>(dynamic_cast<frmExportOpts*>(screen.release()));
        form->Setup_Bound_Export(grid, rs);
        ui.onShowOnce(protocol::screen::ExportOptions, [&](QDialog&) {
            script(*form);
            if (form->isVisible()) {
                tqtest::control<QPushButton>(*form, "cmdExport")->click();
            }
        });
        tqplatform::ui::showModal(*form, nullptr);
        return form;
    }
};

}  // namespace

class TestExportOpts : public QObject {
    Q_OBJECT
private slots:
    void fileFormat_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("comma, double quote, titles")
            << "comma"
            << QByteArray(
                   "\"Code\",\"Description\",\"Fee\",\r\n"
                   "\"D0120\",\"Exam, \"periodic\"\",\"$45.50\",\r\n"
                   "\"D0140\",\"Caf\xe9 \x80 ?\",\"$0.00\",\r\n"
                   "\"D0150\",\"Comprehensive\",\"$120.00\",\r\n");
        QTest::newRow("tab, no qualifier")
            << "tab"
            << QByteArray(
                   "D0120\tExam, \"periodic\"\t$45.50\t\r\nD0140\tCaf\xe9 \x80 ?\t$0.00\t\r\n"
                   "D0150\tComprehensive\t$120.00\t\r\n");
        QTest::newRow("typed delimiter and qualifier, moved column")
            << "custom"
            << QByteArray(
                   "bFeeb|bCodeb|bDescriptionb|\r\nb$45.50b|bD0120b|bExam, \"periodic\"b|\r\n"
                   "b$0.00b|bD0140b|bCaf\xe9 \x80 ?b|\r\nb$120.00b|bD0150b|bComprehensiveb|\r\n");
    }
    void fileFormat() {
        QFETCH(QString, choice);
        QFETCH(QByteArray, expected);
        ExportFixture f;
        f.ui.saveFileNames = {f.path()};
        auto form = f.run([&](frmExportOpts& w) {
            auto* combo = tqtest::control<QComboBox>(w, "cboQualifier");
            if (choice == "comma") {
                tqtest::control<QCheckBox>(w, "chkTitles")->click();
            } else if (choice == "tab") {
                tqtest::control<QRadioButton>(w, "optDelimiter2")->click();
                combo->setCurrentIndex(2);
            } else {
                QTest::keyClicks(tqtest::control<QLineEdit>(w, "txtOther"), "|");
                combo->lineEdit()->clear();
                QTest::keyClicks(combo->lineEdit(), "ab");
                tqtest::control<QCheckBox>(w, "chkTitles")->click();
                f.grid.setColumnOrder(2, 0);
            }
            tqtest::control<QPushButton>(w, "cmdBrowse")->click();
        });
        QCOMPARE(f.written(), expected);
        QVERIFY(!form->Canceled());
        QCOMPARE(f.ui.fileDialogs.size(), 1);
        const auto& dialog = f.ui.fileDialogs[0];
        QCOMPARE(dialog.title, "Export To:");
        QCOMPARE(dialog.folder, f.host.dir.path() + "/Export");
        if (choice == "tab") {
            QCOMPARE(dialog.filter, "Tab Deliminated (*.tab)|*.tab|All Files (*.*)|*.*");
            QCOMPARE(dialog.defaultExtension, "tab");
        } else {
            QCOMPARE(dialog.filter, "Character Separated (*.csv)|*.csv|All Files (*.*)|*.*");
            QCOMPARE(dialog.defaultExtension, "csv");
        }
        if (choice == "custom") {
            QCOMPARE(form->Delimiter(), 256);
            QCOMPARE(form->CustomDelimiter(), uint8_t('|'));
            QCOMPARE(form->Qualifier(), 256);
            QCOMPARE(form->CustomQualifier(), uint8_t('b'));
        }
    }

    void rowChoices() {
        ExportFixture f;
        f.grid.setCurrentIndex(f.grid.model()->index(1, 0));
        auto exportWith = [&](int32_t options) {
            f.run([&](frmExportOpts& w) {
                w.setFileName(f.path());
                w.setQualifier(0);
                w.setOptions(options);
            });
            return f.written();
        };
        // Nothing selected: the current row alone, and it becomes selected.
        QCOMPARE(exportWith(exporting::Option::SelectedRows),
                 QByteArray("D0140,Caf\xe9 \x80 ?,$0.00,\r\n"));
        QCOMPARE(f.grid.selBookmarks(), (std::vector<tqplatform::Bookmark>{1}));
        f.grid.clearSelBookmarks();
        f.grid.addSelBookmark(2);
        f.grid.addSelBookmark(0);
        QCOMPARE(
            exportWith(exporting::Option::SelectedRows),
            QByteArray("D0150,Comprehensive,$120.00,\r\nD0120,Exam, \"periodic\",$45.50,\r\n"));
        QCOMPARE(exportWith(exporting::Option::CurrentRow),
                 QByteArray("D0140,Caf\xe9 \x80 ?,$0.00,\r\n"));
        QCOMPARE(exportWith(exporting::Option::Titles), QByteArray("Code,Description,Fee,\r\n"));
        QCOMPARE(f.rs.AbsolutePosition(), 2);  // the recordset stands where it stood
    }

    void optionBits() {
        frmExportOpts w;
        QCOMPARE(w.Options(), exporting::Option::AllRows);
        QCOMPARE(w.Qualifier(), 34);
        QCOMPARE(w.Delimiter(), 44);
        w.setOptions(1 | 4 | 16 | 64);
        QCOMPARE(w.Options(), 16);  // the selected rows are disabled: not chosen
        QVERIFY(!tqtest::control<QCheckBox>(w, "chkTitles")->isEnabled());
        QVERIFY(!tqtest::control<QRadioButton>(w, "optSelectedRows")->isEnabled());
        w.setOptions(128);
        QCOMPARE(w.Options(), 128);
        QVERIFY(tqtest::control<QCheckBox>(w, "chkTitles")->isEnabled());
    }

    void messagesAndCancel() {
        ExportFixture f;
        // No file name: a message, the window stays.
        auto form = f.run([](frmExportOpts& w) {
            tqtest::control<QPushButton>(w, "cmdExport")->click();
            QVERIFY(w.isVisible());
        });
        QCOMPARE(f.ui.messages.value(0).prompt,
                 "Please enter a file name in the 'Export To:' Field.");
        QCOMPARE(f.ui.messages.value(0).icon, 64);

        // A file that cannot be made: the message, nothing written.
        f.ui.messages.clear();
        const QString missing = f.host.dir.filePath("nowhere/out.csv");
        f.run([&](frmExportOpts& w) { w.setFileName(missing); });
        QCOMPARE(f.ui.messages.value(0).title, "Open Export File");
        QCOMPARE(f.ui.messages.value(0).prompt,
                 "Problem to open file [" + missing + "].\r\n\r\n76 - Path not found");
        QVERIFY(!QFile::exists(missing));
        // Cancel while idle: at once, no question.
        f.ui.messages.clear();
        form =
            f.run([](frmExportOpts& w) { tqtest::control<QPushButton>(w, "cmdCancel")->click(); });
        QVERIFY(form->Canceled());
        QVERIFY(f.ui.messages.isEmpty());
    }

    /// The export or a grid layout on a full disk or in a read-only folder: the user is told
    /// why, the last file stays whole, and nothing half-written lies beside it.
    void aFileThatCannotBeWrittenWholeIsNotLeft_data() {
        QTest::addColumn<bool>("layout");
        QTest::addColumn<bool>("fullDisk");
        for (const bool layout : {false, true}) {
            for (const bool full : {false, true}) {
                QTest::addRow("%s, %s", layout ? "layout" : "export", full ? "full" : "read-only")
                    << layout << full;
            }
        }
    }
    void aFileThatCannotBeWrittenWholeIsNotLeft() {
        QFETCH(bool, layout);
        QFETCH(bool, fullDisk);
        ExportFixture f;
        tqtest::ScratchDisk disk;
        if (!disk.mounted()) {
            QSKIP("This process may not mount a disk of its own: no full or read-only folder.");
        }
        f.host.host = tqhost::createHost("sqlite:///" + f.host.dir.filePath("d.db"),
                                         disk.path() + "/", "ann");
        context().gic = f.host.host;
        const QString path = disk.filePath(layout ? "STP/TGL.STP" : "codes.csv");
        const auto write = [&](bool titles) {
            f.grid.setColumnWidth(0, titles ? 2400 : 1200);
            if (layout) {
                SaveGridLayout(f.grid, "L");
            } else {
                f.run([&](frmExportOpts& w) {
                    w.setFileName(path);
                    w.setOptions(exporting::Option::AllRows | (titles ? 16 : 0));
                });
            }
        };
        write(false);
        QFile last(path);
        QVERIFY(last.open(QIODevice::ReadOnly));
        const QByteArray before = last.readAll();
        last.close();
        if (fullDisk) {
            QVERIFY(disk.fill());
        } else {
            disk.setReadOnly(true);
        }
        write(true);
        disk.setReadOnly(false);
        disk.release();
        QCOMPARE(f.ui.messages.size(), 1);
        QCOMPARE(f.ui.messages[0].title, layout ? "Tavix Windows" : "Open Export File");
        QVERIFY2(f.ui.messages[0].prompt.startsWith(
                     "Problem to open file [" + QDir::toNativeSeparators(path) + "].\r\n\r\n75 - "),
                 qPrintable(f.ui.messages[0].prompt));
        QVERIFY(last.open(QIODevice::ReadOnly));
        QCOMPARE(last.readAll(), before);
        QCOMPARE(QFileInfo(path).dir().entryList(QDir::Files), {QFileInfo(path).fileName()});
    }

    void progressTexts() {
        QCOMPARE(exporting::percentDone(0, 0), 0);
        QCOMPARE(exporting::percentDone(5, 0), 0);
        QCOMPARE(exporting::percentDone(1, 3), 33);
        QCOMPARE(exporting::percentDone(7, 5), 100);
        QCOMPARE(exporting::statusText(5, 10),
                 "\nPlease Wait...\n\nExporting record 5 of 10\n\n50 % Complete");
        QCOMPARE(exporting::progressTip(1, 8), "Export 12.50% Complete");
        QCOMPARE(exporting::progressTip(3, 0), "Export 0.00% Complete");
    }
};

TQ_TEST_MAIN(TestExportOpts)
#include "tst_exportopts.moc"
