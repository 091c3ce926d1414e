#include "TestDatabase.h"
#include "TestMain.h"

#include <demo/MainWindow.h>
#include <demo/PickPanel.h>
#include <demo/PostingPanel.h>

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
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>

#include <memory>

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
            const QModelIndex index = model.index(row);
            form.List1->scrollTo(index);
            QTest::mouseClick(form.List1->viewport(), Qt::LeftButton, {},
                              form.List1->visualRect(index).center());
            return;
        }
    }
    QFAIL(qPrintable("no line for " + code));
}

void clickButton(QDialog& dialog, const QString& caption) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
        if (button->text() == caption && button->isVisible() && button->isEnabled()) {
            button->click();
            return;
        }
    }
    QFAIL(qPrintable("no button " + caption));
}

QString enabledButtons(Select_Code& form) {
    QString pattern;
    for (QPushButton* button : form.cmdCategory) {
        pattern += button->isEnabled() ? '1' : '0';
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

/// The demo practice in a fresh database, with the demo's main window over it.
struct DemoPractice {
    tqtest::TestDatabase db;
    std::shared_ptr<tqhost::PracticeHost> host;
    tqservicecode::clsServiceCode component;
    std::unique_ptr<tqdemo::MainWindow> window;

    bool open() {
        if (!db.available()) {
            return false;
        }
        host = tqhost::createHost(db.url(), db.dataPath(), QStringLiteral("tester"));
        tqhost::loadSamplePractice(*host);
        component.setGIC(host);
        window = std::make_unique<tqdemo::MainWindow>(host, component);
        host->setMainForm(window.get());
        window->show();
        return true;
    }

    ~DemoPractice() {
        window.reset();
        component.setGIC(nullptr);
    }

    template <typename Widget>
    Widget* find(const char* name) {
        auto* widget = window->findChild<Widget*>(QLatin1String(name));
        if (widget == nullptr) {
            qFatal("no %s in the demo window", name);
        }
        return widget;
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

    QVariant scalar(const QString& sql) {
        tqplatform::Recordset rows = host->connection().OpenRecordset(sql);
        return rows.Eof() ? QVariant() : rows.Fields(0);
    }
};

}  // namespace

class DemoTest : public QObject {
    Q_OBJECT

private slots:
    void selectShowsWhatThePickerReturned() {
        DemoPractice f;
        TQ_REQUIRE_DATABASE(f.db);
        QVERIFY(f.open());
        auto* select = f.find<QAction>("actSelectCodes");
        QVERIFY(!select->isEnabled());  // no patient yet
        QVERIFY(!f.find<QAction>("actPostToDo")->isEnabled());
        const int32_t patient = f.choosePatient("Castillo, Brian");  // fee schedule 2
        QVERIFY(patient > 0);
        QVERIFY(select->isEnabled());
        f.find<QComboBox>("StartCategory")->setEditText("Diagnostic");

        ScriptedUi ui;
        ui.onShow("Select_Code", [](QDialog& d) {
            Select_Code& form = picker(d);
            QCOMPARE(form.currentButton(), 0);
            QVERIFY(!form.singleSelection());
            QVERIFY(form.ExpandServiceCode());
            clickCode(form, "D0120");
            clickCode(form, "D0140");
            QCOMPARE(form.chosenList().count(), 2);
            form.CMD[1]->click();
        });
        select->trigger();
        QCOMPARE(ui.shownScreens, QStringList{"Select_Code"});
        QCOMPARE(f.find<QTabWidget>("Panels")->currentWidget()->objectName(), "PickPanel");
        QCOMPARE(f.find<QLabel>("PickCount")->text(), "2 codes returned for Castillo, Brian");

        // One row per code: the host's id, code, description and the patient's fee.
        auto* answer = f.find<QTableWidget>("PickAnswer");
        QCOMPARE(answer->rowCount(), 2);
        for (int row = 0; row < 2; ++row) {
            const QString code = row == 0 ? "D0120" : "D0140";
            tqplatform::Recordset rs = f.host->connection().OpenRecordset(
                "SELECT SevCodID, SevCodDes, SevCodFee2 FROM SevCodTable WHERE SevCodCod = '" +
                code + "'");
            QVERIFY(!rs.Eof());
            QCOMPARE(tableRow(answer, row),
                     QStringList({rs.Fields("SevCodID").toString(), code,
                                  rs.Fields("SevCodDes").toString().trimmed(),
                                  tqplatform::vb::Format(rs.Fields("SevCodFee2"), "$0.00")}));
        }
        const QString raw = f.find<QLineEdit>("RawAnswer")->text();
        QCOMPARE(raw.count("\\r"), 2);
        QVERIFY(raw.endsWith("\\r"));
        QVERIFY(raw.contains("\\nD0120\\n"));
        // The host refreshed its views when the picker closed; the patient stays chosen.
        QCOMPARE(f.window->currentPatientId(), patient);
        QCOMPARE(f.chosenInList(), "Castillo, Brian");

        // Cancelled: nothing chosen, and the last answer is gone.
        ui.onShow("Select_Code", [](QDialog& d) { picker(d).CMD[0]->click(); });
        select->trigger();
        QCOMPARE(f.find<QLabel>("PickCount")->text(), "No code was chosen.");
        QCOMPARE(answer->rowCount(), 0);
        QVERIFY(f.find<QLineEdit>("RawAnswer")->text().isEmpty());
    }

    void optionsReachThePicker_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("category");
        QTest::addColumn<bool>("single");
        QTest::addColumn<bool>("expand");
        QTest::addColumn<int>("startButton");
        QTest::addColumn<QString>("enabled");
        const QString all(27, '1');
        QTest::newRow("to-do only, one code, unexpanded")
            << 256 << "" << true << false << 20 << "000000000000000000001000000";
        QTest::newRow("credits from the saved default")
            << 4 << "" << false << true << 12 << "000000000000111110000000000";
        QTest::newRow("caption typed in any case")
            << 0 << "  preventive " << false << true << 1 << all;
        QTest::newRow("unknown caption") << 0 << "Crowns" << false << true << 26 << all;
    }

    void optionsReachThePicker() {
        QFETCH(int, flag);
        QFETCH(QString, category);
        QFETCH(bool, single);
        QFETCH(bool, expand);
        QFETCH(int, startButton);
        QFETCH(QString, enabled);
        DemoPractice f;
        TQ_REQUIRE_DATABASE(f.db);
        QVERIFY(f.open());
        f.choosePatient("Kowalczyk, Anna");
        f.find<QSpinBox>("ShowFlag")->setValue(flag);
        f.find<QComboBox>("StartCategory")->setEditText(category);
        f.find<QCheckBox>("SingleSelection")->setChecked(single);
        f.find<QCheckBox>("ExpandCodes")->setChecked(expand);

        ScriptedUi ui;
        bool shown = false;
        ui.onShow("Select_Code", [&](QDialog& d) {
            Select_Code& form = picker(d);
            shown = true;
            QCOMPARE(form.currentButton(), startButton);
            QCOMPARE(enabledButtons(form), enabled);
            QCOMPARE(form.singleSelection(), single);
            QCOMPARE(form.ExpandServiceCode(), expand);
        });
        f.find<QPushButton>("SelectCodes")->click();
        QVERIFY(shown);
    }

    void chooseCategoryShowsTheAnswer() {
        DemoPractice f;
        TQ_REQUIRE_DATABASE(f.db);
        QVERIFY(f.open());
        auto* choose = f.find<QAction>("actChooseCategory");
        QVERIFY(choose->isEnabled());  // no patient needed
        auto* shown = f.find<QLabel>("CategoryAnswer");

        ScriptedUi ui;
        QString chosen;
        ui.onShow("Select_Code", [&](QDialog& d) {
            Select_Code& form = picker(d);
            QVERIFY(form.categoryChoiceMode());
            form.cmdCategory[1]->click();  // "Preventive"
            chosen = f.host->ScreenParameter();
        });
        choose->trigger();
        QVERIFY(!chosen.isEmpty());
        QCOMPARE(shown->text(), "Category chosen: \u201c" + chosen + "\u201d");

        ui.onShow("Select_Code", [](QDialog& d) { picker(d).cmdCategory[23]->click(); });
        choose->trigger();
        QCOMPARE(shown->text(), "Category chosen: \u201cALL\u201d");

        ui.onShow("Select_Code", [](QDialog& d) { d.reject(); });
        choose->trigger();
        QCOMPARE(shown->text(), "Category: left without choosing one.");
    }

    void postingShowsTheNewItemAndItsNote() {
        DemoPractice f;
        TQ_REQUIRE_DATABASE(f.db);
        QVERIFY(f.open());
        const int32_t patient = f.choosePatient("Kowalczyk, Anna");
        auto* items = f.find<QTableWidget>("Items");
        auto* notes = f.find<QTableWidget>("Notes");
        auto* result = f.find<QLabel>("PostResult");
        auto* post = f.find<QAction>("actPostToDo");
        QCOMPARE(items->rowCount(), 0);
        f.find<QPlainTextEdit>("Comment")->setPlainText("Call before noon\nAsk about insurance");
        QVERIFY(f.find<QCheckBox>("ToDoOnly")->isChecked());

        ScriptedUi ui;
        ui.onShow("Select_Code", [](QDialog& d) {
            Select_Code& form = picker(d);
            QCOMPARE(enabledButtons(form), "000000000000000000001000000");
            clickCode(form, "RCL6");
            form.CMD[1]->click();
        });
        // The user stops at the provider list: nothing is posted.
        ui.onShow("DocList", [](QDialog& d) { clickButton(d, "&Close"); });
        post->trigger();
        QCOMPARE(f.find<QTabWidget>("Panels")->currentWidget()->objectName(), "PostingPanel");
        QCOMPARE(result->text(), "Nothing was posted.");
        QCOMPARE(items->rowCount(), 0);

        int32_t provider = 0;
        ui.onShow("DocList", [&provider](QDialog& d) {
            auto* list = d.findChild<QListWidget*>("lstDoc");
            QVERIFY(list != nullptr && list->count() > 0);
            list->setCurrentRow(0);
            provider = list->item(0)->data(Qt::UserRole).toInt();
            clickButton(d, "&OK");
        });
        ui.onShow("Calendar", [](QDialog& d) { clickButton(d, "&OK"); });
        ui.onShow("TextEntryDialog", [](QDialog& d) {
            d.findChild<QLineEdit*>("txtText")->setText("Recall in June");
            d.findChild<QPushButton*>("cmdOK")->click();
        });
        ui.shownScreens.clear();
        post->trigger();
        QCOMPARE(ui.shownScreens,
                 QStringList({"Select_Code", "DocList", "Calendar", "TextEntryDialog"}));
        QVERIFY(ui.messages.isEmpty());
        const int32_t id = f.scalar("SELECT max(traID) FROM DTTable").toInt();
        QVERIFY(id > 0);
        QCOMPARE(result->text(), QString("Posted for Kowalczyk, Anna as transaction %1.").arg(id));

        const QString initials =
            f.scalar(QString("SELECT pDocIni FROM PaTable WHERE pID = %1").arg(provider))
                .toString()
                .trimmed();
        QVERIFY(!initials.isEmpty());
        const QVariant followUp =
            f.scalar(QString("SELECT traAptSchDat FROM DTTable WHERE traID = %1").arg(id));
        const QString today = tqplatform::vb::Format(QDate::currentDate(), "Short Date");
        QCOMPARE(items->rowCount(), 1);
        QCOMPARE(tableRow(items, 0),
                 QStringList({QString::number(id), "RCL6", "Recall in June",
                              tqplatform::vb::Format(followUp, "Short Date"), initials, today}));
        // The comment's lines are kept with the system's line breaks.
        QCOMPARE(f.scalar(QString("SELECT notText FROM NoteTable WHERE notTraID = %1").arg(id))
                     .toString(),
                 "Recall in June\r\nCall before noon\r\nAsk about insurance");
        QCOMPARE(notes->rowCount(), 1);
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
        QCOMPARE(items->rowCount(), 2);
        QCOMPARE(items->item(0, 1)->text(), "LRECALL");
        QCOMPARE(items->item(1, 0)->text(), QString::number(id));
        QCOMPARE(notes->rowCount(), 2);
        QCOMPARE(notes->item(0, 1)->text(), "Recall in June");

        // Another patient's view holds none of them.
        f.choosePatient("Castillo, Brian");
        QCOMPARE(items->rowCount(), 0);
        QCOMPARE(notes->rowCount(), 0);
        QCOMPARE(f.choosePatient("Kowalczyk, Anna"), patient);
        QCOMPARE(items->rowCount(), 2);
    }

    void aHostRefreshRereadsTheItems() {
        DemoPractice f;
        TQ_REQUIRE_DATABASE(f.db);
        QVERIFY(f.open());
        const int32_t patient = f.choosePatient("Liu, Grace");
        auto* items = f.find<QTableWidget>("Items");
        QCOMPARE(items->rowCount(), 0);

        // Another screen of the host posts an item, then asks the host to refresh.
        tqGlobal::IHostServices& gic = *f.host;
        int32_t key = 0;
        int16_t success = 0;
        gic.SaveRecord(
            1, "DTTable", "traID", key, {"trapID", "traCod", "traDes", "traStaDat", "traDrIni"},
            {QString::number(patient), "MEDHX", "  Update health history  ", "2026-03-02", "HM"},
            true, success);
        QVERIFY(success != 0);
        QCOMPARE(items->rowCount(), 0);
        int16_t value = 1;
        gic.RefreshHost(value);
        QCOMPARE(items->rowCount(), 1);
        QCOMPARE(tableRow(items, 0),
                 QStringList({QString::number(key), "MEDHX", "Update health history", "", "HM",
                              tqplatform::vb::Format(QDate(2026, 3, 2), "Short Date")}));
        QCOMPARE(f.window->currentPatientId(), patient);
        QCOMPARE(f.chosenInList(), "Liu, Grace");
    }
};

TQ_TEST_MAIN(DemoTest)
#include "tst_db_demo.moc"
