#include "../servicecode/ComponentFixture.h"
#include "../servicecode/PostingScript.h"
#include "TestMain.h"

#include <demo/MainWindow.h>

#include <tqhost/Host.h>
#include <tqhost/PracticeHost.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ScriptedUi.h>
#include <tqplatform/Vb.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/selection/PickerListModel.h>
#include <tqservicecode/selection/Select_Code.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>

#include <memory>
#include <utility>

using tqplatform::ScriptedUi;
using tqservicecode::Select_Code;

namespace {

Select_Code& picker(QDialog& dialog) {
    return dynamic_cast<Select_Code&>(dialog);
}

/// Clicks the line of the picker's code list that shows code.
void clickCode(Select_Code& form, const QString& code) {
    const tqservicecode::PickerListModel& model = form.codeList();
    for (int row = 0; row < model.count(); ++row) {
        if (model.line(row).section('\t', 0, 0).trimmed() == code) {
            auto* list = tqtest::control<QListView>(form, "List1");
            list->scrollTo(model.index(row));
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(model.index(row)).center());
            return;
        }
    }
    QFAIL(qPrintable("no line for " + code));
}

QString enabledButtons(Select_Code& form) {
    QString pattern;
    for (const bool enabled : form.enabledCategories()) {
        pattern += enabled ? '1' : '0';
    }
    return pattern;
}

QStringList tableRow(QTableWidget* table, int row) {
    QStringList cells;
    for (int column = 0; column < table->columnCount(); ++column) {
        cells << (table->item(row, column) ? table->item(row, column)->text() : QString());
    }
    return cells;
}

/// Picks D0120 and D0140 in the picker and confirms.
void pickTwoExams(QDialog& d) {
    clickCode(picker(d), "D0120");
    clickCode(picker(d), "D0140");
    tqtest::control<QPushButton>(d, "CMD_1")->click();
}

/// The demo practice in a fresh database, with the demo's main window over it.
struct DemoPractice : tqtest::ComponentFixture {
    std::unique_ptr<tqdemo::MainWindow> window;

    bool open() {
        if (!ComponentFixture::open()) {
            return false;
        }
        tqhost::loadSamplePractice(*host);
        window = std::make_unique<tqdemo::MainWindow>(host, component);
        host->setMainForm(window.get());
        window->show();
        return true;
    }

    ~DemoPractice() { window.reset(); }  // before the fixture takes the host away

    template <typename Widget>
    Widget* find(const char* name) {
        return tqtest::control<Widget>(*window, name);
    }

    /// Chooses the patient named "Last, First" in the patient list; answers the id.
    int32_t choosePatient(const QString& name) {
        auto* patients = find<QTableWidget>("Patients");
        for (int row = 0; row < patients->rowCount(); ++row) {
            if (patients->item(row, 0)->text() == name) {
                window->selectPatientRow(row);
                return window->currentPatientId();
            }
        }
        qFatal("no patient %s", qPrintable(name));
    }

    /// The patient the list shows chosen, "" for none.
    QString chosenInList() {
        const QList<QTableWidgetItem*> selected = find<QTableWidget>("Patients")->selectedItems();
        return selected.isEmpty()
                   ? QString()
                   : find<QTableWidget>("Patients")->item(selected[0]->row(), 0)->text();
    }
};

}  // namespace

#define OPEN_DEMO(f)           \
    DemoPractice f;            \
    TQ_REQUIRE_DATABASE(f.db); \
    QVERIFY(f.open())

class DemoTest : public QObject {
    Q_OBJECT

private slots:
    void selectPostsTheChosenCodesToTheLedger() {
        OPEN_DEMO(f);
        auto* select = f.find<QAction>("actSelectCodes");
        QVERIFY(!select->isEnabled());  // no patient yet
        QVERIFY(!f.find<QAction>("actPostToDo")->isEnabled());
        const int32_t patient = f.choosePatient("Castillo, Brian");  // fee schedule 2
        QVERIFY(select->isEnabled());
        f.find<QComboBox>("StartCategory")->setEditText("Diagnostic");

        ScriptedUi ui;
        ui.onShow("Select_Code", pickTwoExams);
        select->trigger();
        QCOMPARE(ui.shownScreens, QStringList{"Select_Code"});
        QVERIFY(ui.messages.isEmpty());
        QCOMPARE(f.find<QTabWidget>("Panels")->currentWidget()->objectName(), "PickPanel");
        QCOMPARE(f.find<QLabel>("PickCount")->text(),
                 "2 codes chosen for Castillo, Brian, posted to the ledger.");

        // One charge per code on the patient's ledger: the patient's fee, the patient's
        // provider, the code's type and category; the answer and the ledger show them.
        const QString money = "$0.00";
        tqplatform::Recordset rs = f.host->connection().OpenRecordset(
            QString("SELECT c.SevCodID, c.SevCodCod, c.SevCodDes, c.SevCodFee2, c.SevCodCat, "
                    "t.traCod, t.traCha, t.TraPatBal, t.traUni, t.traDr, t.traDrIni, t.traTyp, "
                    "t.traCat, p.pPROIND FROM DTTable t JOIN SevCodTable c ON c.SevCodID = "
                    "t.traSevCodID JOIN PaTable p ON p.pID = t.trapID WHERE t.trapID = %1 "
                    "ORDER BY t.traID")
                .arg(patient));
        QCOMPARE(rs.RecordCount(), 2);
        auto* answer = f.find<QTableWidget>("PickAnswer");
        auto* items = f.find<QTableWidget>("Items");
        for (int row = 0; row < 2; rs.MoveNext(), ++row) {
            const auto text = [&rs](const char* name) {
                return rs.Fields(name).toString().trimmed();
            };
            const QString fee = tqplatform::vb::Format(rs.Fields("SevCodFee2"), money);
            QCOMPARE(text("traCod"), row == 0 ? "D0120" : "D0140");
            QCOMPARE(tqplatform::vb::Format(rs.Fields("traCha"), money), fee);
            QCOMPARE(tqplatform::vb::Format(rs.Fields("TraPatBal"), money), fee);
            QCOMPARE(QStringList({text("traUni"), text("traDr"), text("traDrIni"), text("traTyp"),
                                  text("traCat")}),
                     QStringList({"1", text("pPROIND"), "RO", "1", text("SevCodCat")}));
            QCOMPARE(tableRow(answer, row),
                     QStringList({text("SevCodID"), text("SevCodCod"), text("SevCodDes"), fee}));
            QCOMPARE(tableRow(items, 1 - row).mid(1, 3),
                     QStringList({text("SevCodCod"), text("SevCodDes"), fee}));
        }

        // Another patient clears the answer and shows his own ledger; a cancelled picker
        // posts nothing.
        const int32_t grace = f.choosePatient("Liu, Grace");
        QCOMPARE(answer->rowCount() + items->rowCount(), 0);
        ui.onShow("Select_Code",
                  [](QDialog& d) { tqtest::control<QPushButton>(d, "CMD_0")->click(); });
        select->trigger();
        QCOMPARE(f.find<QLabel>("PickCount")->text(), "No code was chosen.");
        QCOMPARE(answer->rowCount(), 0);
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM DTTable").toInt(), 2);
        QCOMPARE(f.chosenInList(), "Liu, Grace");

        // Another screen of the host posts an item, then asks the host to refresh.
        tqGlobal::IHostServices& gic = *f.host;
        int32_t key = 0;
        int16_t success = 0;
        gic.SaveRecord(
            1, "DTTable", "traID", key, {"trapID", "traCod", "traDes", "traStaDat", "traDrIni"},
            {QString::number(grace), "MEDHX", "  Update health history  ", "2026-03-02", "HM"},
            true, success);
        QVERIFY(success != 0);
        QCOMPARE(items->rowCount(), 0);
        int16_t value = 1;
        gic.RefreshHost(value);
        QCOMPARE(tableRow(items, 0),
                 QStringList({QString::number(key), "MEDHX", "Update health history", "", "", "HM",
                              tqplatform::vb::Format(QDate(2026, 3, 2), "Short Date")}));
        QCOMPARE(f.window->currentPatientId(), grace);
        QCOMPARE(f.chosenInList(), "Liu, Grace");
    }

    void optionsReachThePicker_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("category");
        QTest::addColumn<bool>("single");       // one code, explosion codes not expanded
        QTest::addColumn<int>("chosenButton");  // in the category choice; -1 cancels it
        QTest::addColumn<int>("startButton");
        QTest::addColumn<QString>("enabled");
        const QString all(27, '1');
        const int noChoice = -2;
        QTest::newRow("to-do only, one code, unexpanded")
            << 256 << "" << true << noChoice << 20 << "000000000000000000001000000";
        QTest::newRow("credits from the saved default")
            << 4 << "" << false << noChoice << 12 << "000000000000111110000000000";
        QTest::newRow("caption typed in any case")
            << 0 << "  preventive " << false << noChoice << 1 << all;
        // The category choice answers "Surgery", "Pat. Mgmt": the picker starts on its button.
        QTest::newRow("chosen Oral Surgery") << 0 << "" << false << 9 << 9 << all;
        QTest::newRow("chosen To Do List") << 0 << "" << false << 20 << 20 << all;
        QTest::newRow("choice cancelled") << 0 << "" << false << -1 << 23 << all;
    }

    void optionsReachThePicker() {
        QFETCH(int, flag);
        QFETCH(QString, category);
        QFETCH(bool, single);
        QFETCH(int, chosenButton);
        QFETCH(int, startButton);
        QFETCH(QString, enabled);
        OPEN_DEMO(f);
        f.choosePatient("Kowalczyk, Anna");
        auto* offered = f.find<QComboBox>("CategoriesOffered");
        offered->setCurrentIndex(offered->findData(flag));
        f.find<QComboBox>("StartCategory")->setEditText(category);
        f.find<QCheckBox>("SingleSelection")->setChecked(single);
        f.find<QCheckBox>("ExpandCodes")->setChecked(!single);

        ScriptedUi ui;
        if (chosenButton > -2) {
            ui.onShowOnce("Select_Code", [&](QDialog& d) {
                QVERIFY(picker(d).categoryChoiceMode());
                chosenButton < 0 ? d.reject()
                                 : tqtest::control<QPushButton>(
                                       d, QStringLiteral("cmdCategory_%1").arg(chosenButton))
                                       ->click();
            });
            f.find<QAction>("actChooseCategory")->trigger();
        }
        bool shown = false;
        ui.onShow("Select_Code", [&](QDialog& d) {
            Select_Code& form = picker(d);
            shown = true;
            QVERIFY(!form.categoryChoiceMode());  // whatever the choice before left
            QCOMPARE(form.currentButton(), startButton);
            QCOMPARE(enabledButtons(form), enabled);
            QCOMPARE(form.singleSelection(), single);
            QCOMPARE(form.ExpandServiceCode(), !single);
        });
        f.find<QPushButton>("SelectCodes")->click();
        QVERIFY(shown);
    }

    void aFrontDeskPostsAToDoItem() {
        OPEN_DEMO(f);
        QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
        auto* patients = f.find<QTableWidget>("Patients");
        patients->setFocus(Qt::TabFocusReason);
        // Nobody is chosen, nor looks chosen: the first cell is drawn as the third.
        const auto strip = [patients](int row) {
            const QRect cell = patients->visualRect(patients->model()->index(row, 0));
            return patients->viewport()
                ->grab(QRect(cell.topLeft(), QSize(cell.width(), 3)))
                .toImage();
        };
        QVERIFY(f.chosenInList().isEmpty() && !f.find<QAction>("actSelectCodes")->isEnabled());
        QCOMPARE(strip(0), strip(2));
        for (int row = 0; row < 2; ++row) {
            QTest::keyClick(patients, Qt::Key_Down);
            QCOMPARE(f.chosenInList(), patients->item(row, 0)->text());
        }
        QTest::keyClick(patients, Qt::Key_Tab);  // Tab leaves the list; the patient stays chosen
        QVERIFY(QApplication::focusWidget() != patients);
        QCOMPARE(f.chosenInList(), patients->item(1, 0)->text());
        f.find<QTabWidget>("Panels")->setCurrentIndex(2);
        QCOMPARE(QApplication::focusWidget(), f.find<QLineEdit>("CodeBox"));

        // The practice line outlives a menu's hint; closing the code list is told as such.
        auto* practice = f.find<QLabel>("PracticeLine");
        f.window->statusBar()->showMessage("A menu item's hint");  // as a hovered menu shows
        QVERIFY(practice->isVisible() && practice->text().startsWith("Practice: "));
        ScriptedUi ui;
        ui.onShow("SerCod", [](QDialog& d) { tqtest::control<QAction>(d, "Close")->trigger(); });
        f.find<QAction>("actServiceCodeList")->trigger();
        QCOMPARE(ui.prompts(),
                 QStringList{"The code list was closed without choosing a code (it returned "
                             "\"0\")."});
        ui.messages.clear();

        f.choosePatient("Kowalczyk, Anna");
        auto* items = f.find<QTableWidget>("Items");
        auto* notes = f.find<QTableWidget>("Notes");
        auto* result = f.find<QLabel>("PostResult");
        auto* post = f.find<QAction>("actPostToDo");
        f.find<QPlainTextEdit>("Comment")->setPlainText("Call before noon\nAsk about insurance");

        ui.onShow("Select_Code", [](QDialog& d) {
            clickCode(picker(d), "RCL6");
            tqtest::control<QPushButton>(d, "CMD_1")->click();
        });
        // The user stops at the provider list: nothing is posted.
        ui.onShow("DocList", [](QDialog& d) { QVERIFY(tqtest::clickButton(d, "&Close")); });
        post->trigger();
        QCOMPARE(result->text(), "Nothing was posted.");
        QCOMPARE(items->rowCount(), 0);

        int32_t provider = 0;
        ui.onShow("DocList", [&provider](QDialog& d) {
            auto* list = d.findChild<QListWidget*>("lstDoc");
            list->setCurrentRow(0);
            provider = list->item(0)->data(Qt::UserRole).toInt();
            QVERIFY(tqtest::clickButton(d, "&OK"));
        });
        ui.onShow("Calendar", [](QDialog& d) { QVERIFY(tqtest::clickButton(d, "&OK")); });
        ui.onShow("TextEntryDialog", [](QDialog& d) { tqtest::enterText(d, "Recall in June"); });
        ui.shownScreens.clear();
        post->trigger();
        QCOMPARE(ui.shownScreens,
                 QStringList({"Select_Code", "DocList", "Calendar", "TextEntryDialog"}));
        QVERIFY(ui.messages.isEmpty());
        const int32_t id = f.scalar("SELECT max(traID) FROM DTTable").toInt();
        QCOMPARE(result->text(), QString("Posted for Kowalczyk, Anna as transaction %1.").arg(id));

        const QString initials =
            f.scalar(QString("SELECT pDocIni FROM PaTable WHERE pID = %1").arg(provider))
                .toString()
                .trimmed();
        const QVariant followUp =
            f.scalar(QString("SELECT traAptSchDat FROM DTTable WHERE traID = %1").arg(id));
        const QString today = tqplatform::vb::Format(QDate::currentDate(), "Short Date");
        QCOMPARE(tableRow(items, 0),
                 QStringList({QString::number(id), "RCL6", "Recall in June", "$0.00",
                              tqplatform::vb::Format(followUp, "Short Date"), initials, today}));
        // The comment's lines are kept with the system's line breaks.
        QCOMPARE(f.scalar(QString("SELECT notText FROM NoteTable WHERE notTraID = %1").arg(id))
                     .toString(),
                 "Recall in June\r\nCall before noon\r\nAsk about insurance");
        QCOMPARE(tableRow(notes, 0), QStringList({QString::number(id),
                                                  "Recall in June\nCall before noon\nAsk about "
                                                  "insurance",
                                                  today}));

        // A code typed in the box is posted without the picker; the newest item comes first.
        f.find<QLineEdit>("PostCode")->setText("LRECALL");
        f.find<QPlainTextEdit>("Comment")->clear();
        ui.shownScreens.clear();
        f.find<QPushButton>("Post")->click();
        QCOMPARE(ui.shownScreens, QStringList({"DocList", "Calendar", "TextEntryDialog"}));
        QCOMPARE(items->rowCount() + notes->rowCount(), 4);
        QCOMPARE(items->item(0, 1)->text() + items->item(1, 0)->text(),
                 "LRECALL" + QString::number(id));
        QCOMPARE(notes->item(0, 1)->text(), "Recall in June");
    }

    // The database fails between the picker and the posting (after the picker's refresh):
    // the user is told why, nothing is posted, and the window goes on.
    void aFailingDatabaseIsReportedAndPostsNothing_data() {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<QString>("undo");
        QTest::addColumn<QString>("lastReason");
        // A table gone: the next patient's ledger cannot be read either.
        QTest::newRow("ledger table gone")
            << QString("ALTER TABLE DTTable RENAME TO DTGone")
            << QString("ALTER TABLE DTGone RENAME TO DTTable") << QString("dttable");
        QTest::newRow("second code deleted meanwhile")
            << QString("DELETE FROM SevCodTable WHERE SevCodCod = 'D0140'") << QString()
            << QString("D0140");
    }

    void aFailingDatabaseIsReportedAndPostsNothing() {
        QFETCH(QString, statement);
        QFETCH(QString, undo);
        QFETCH(QString, lastReason);
        OPEN_DEMO(f);
        f.choosePatient("Castillo, Brian");
        f.find<QComboBox>("StartCategory")->setEditText("Diagnostic");
        bool failed = false;
        connect(f.host.get(), &tqhost::PracticeHost::refreshRequested, this, [&] {
            if (!std::exchange(failed, true)) {
                f.host->connection().Execute(statement);
            }
        });
        ScriptedUi ui;
        ui.onShow("Select_Code", pickTwoExams);
        f.find<QAction>("actSelectCodes")->trigger();
        QCOMPARE(f.find<QLabel>("PickCount")->text(),
                 "2 codes chosen for Castillo, Brian: not posted.");
        f.choosePatient("Liu, Grace");
        QVERIFY(!ui.messages.isEmpty());
        QVERIFY2(ui.messages.last().prompt.contains(lastReason, Qt::CaseInsensitive),
                 qPrintable(ui.messages.last().prompt));
        if (!undo.isEmpty()) {
            f.host->connection().Execute(undo);
        }
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM DTTable").toInt(), 0);
        f.choosePatient("Castillo, Brian");
        QCOMPARE(f.find<QTableWidget>("Items")->rowCount(), 0);
    }
};

TQ_TEST_MAIN(DemoTest)
#include "tst_db_demo.moc"
