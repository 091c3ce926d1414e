#include "EditorScript.h"
#include "Faults.h"
#include "TestMain.h"

#include <tqservicecode/documents/DocumentPickerScreen.h>

#include <tqplatform/ScriptedUi.h>

#include <QFile>
#include <QLabel>
#include <QSignalSpy>

using tqplatform::ScriptedUi;
using namespace tqservicecode;
using namespace tqtest;

namespace {

int codeRows(ComponentFixture& f, const QString& code) {
    return f.scalar("SELECT count(*) FROM SevCodTable WHERE SevCodCod='" + code + "'").toInt();
}

/// A new charge code typed in: code, description, type, category, fee 1.
void typeNewCharge(Edit_Ser_Code& e, const QString& code, const QString& fee) {
    box(e, 0)->setText(code);
    box(e, 1)->setText("New " + code);
    choose(e, 0, "1 - Charge");
    choose(e, 1, "Diagnostic");
    typeAndLeave(e, 3, fee);
}

/// What the editor gave the document picker; it outlives the picker, which the editor
/// destroys when it closes.
struct PickerCall {
    QString pattern, folder;
    bool titles = false;
};

struct FakePicker : QDialog, DocumentPickerScreen {
    PickerCall* call = nullptr;
    QString answer;
    void setFilePattern(const QString& p) override { call->pattern = p; }
    void setDirPath(const QString& d) override { call->folder = d; }
    void setInitialParm(bool t) override { call->titles = t; }
    QString SelFiels() const override { return answer; }
};

}  // namespace

class EditorTest : public QObject {
    Q_OBJECT

private slots:
    void loadsAndSavesAnExistingCode() {
        TQ_FIXTURE(f);
        const int32_t id = f.addCode("D0150", {{"SevCodCurMov", "NPYYNNNNN"},
                                               {"SevCodTax", "-1"},
                                               {"SevCodBil", "N"},
                                               {"SevCodDocID", "7"}});
        ScriptedUi ui;
        auto e = openEditor(id);
        QCOMPARE(box(*e, 3)->text(), QString("$10.00"));
        QCOMPARE(box(*e, 13)->text(), QString("Not Applicable"));
        QVERIFY(option(*e, 1)->isChecked() && option(*e, 5)->isChecked());
        QVERIFY(option(*e, 6)->isChecked() && option(*e, 26)->isChecked());
        QVERIFY(!e->isChanged());
        typeAndLeave(*e, 1, "Comprehensive exam");
        button(*e, "Command3D2_2")->click();  // &Save
        QCOMPARE(codeColumn(f, id, "SevCodDes"), QString("Comprehensive exam"));
        QCOMPARE(codeColumn(f, id, "SevCodCurMov"), QString("NPYYNNNNN"));
        QCOMPARE(codeColumn(f, id, "SevCodTax").toDouble(), -1.0);
        QCOMPARE(codeColumn(f, id, "SevCodBil"), QString("N"));
        QCOMPARE(e->SevCodID(), 0);  // ready for the next new code
        QCOMPARE(box(*e, 0)->text(), QString());
        QCOMPARE(e->SevCodDrID(), 0);
        QCOMPARE(ui.messages.size(), 0);
        // The emptied editor says what it wrote, until the next change.
        auto* saved = control<QLabel>(*e, "lblSaved");
        QCOMPARE(saved->text(), QString("D0150 saved"));
        box(*e, 0)->setText("D0160");
        QCOMPARE(saved->text(), QString());
    }

    void sizeIsKeptPerUser() {
        TQ_FIXTURE(f);
        ScriptedUi ui;
        auto e = openEditor(0);
        const QSize fresh = e->size();
        const QSize wanted = e->minimumSize() + QSize(40, 30);
        e->resize(wanted);
        button(*e, "Command3D2_1")->click();  // &Cancel
        QCOMPARE(openEditor(0)->size(), wanted);
        f.host->setCurrentUser("maria", 5);  // another user: the default
        QCOMPARE(openEditor(0)->size(), fresh);
    }

    void validatesInOrder() {
        TQ_FIXTURE(f);
        ScriptedUi ui;
        auto e = openEditor(0);
        auto saveShows = [&](const QString& prompt) {
            ui.messages.clear();
            button(*e, "Command3D2_2")->click();
            QVERIFY2(!ui.messages.isEmpty() && ui.messages.first().prompt == prompt,
                     qPrintable(ui.prompts().join('|')));
        };
        saveShows("Please select type and category.");
        choose(*e, 0, "2 - Credit");
        QCOMPARE(box(*e, 7)->text(), QString("2 - Credit"));
        saveShows("Please select a category.");
        choose(*e, 1, "Patient Payment");
        QCOMPARE(box(*e, 8)->text(), QString("Pat. Pay"));  // the short name is stored
        saveShows("You must enter a Sub-Category for Patient Payments.");
        QVERIFY(control<QListWidget>(*e, "List1_ES")->isVisible());  // the sub-categories
        choose(*e, 2, "Check");
        saveShows("This code needs a code!");
        box(*e, 0)->setText("CCPMT");
        saveShows(
            "This program-defined code already exists in Service Codes and cannot\r"
            "be duplicated.  Please enter a different name in the Code field.");
        box(*e, 0)->setText("CHK");
        ui.messages.clear();
        button(*e, "Command3D2_2")->click();  // a credit without fees needs no question
        QCOMPARE(ui.prompts(), QStringList());
        QCOMPARE(codeRows(f, "CHK"), 1);

        // A charge without fees asks; No keeps it unsaved, ICD does not ask.
        box(*e, 0)->setText("X1");
        choose(*e, 0, "1 - Charge");
        QCOMPARE(box(*e, 8)->text(), QString());  // a new type empties the category
        choose(*e, 1, "Preventive");
        ui.answers = {7};
        saveShows("You did not setup any fees.\r\nDo you want to continue?");
        QCOMPARE(codeRows(f, "X1"), 0);
        choose(*e, 1, "ICD");
        ui.messages.clear();
        button(*e, "Command3D2_2")->click();
        QCOMPARE(ui.prompts(), QStringList());
        QCOMPARE(codeRows(f, "X1"), 1);
        QCOMPARE(f.scalar("SELECT SevCodCurMov FROM SevCodTable WHERE SevCodCod='X1'")
                     .toString()
                     .trimmed(),
                 QString("YYYYYYYYY"));
    }

    void duplicateShowsTheExistingRow() {
        TQ_FIXTURE(f);
        f.addCode("D0120", {{"SevCodOffCod", "EXAM"}, {"SevCodFee1", "1234.5"}});
        ScriptedUi ui;
        auto e = openEditor(0);
        typeNewCharge(*e, "D0120", "12");
        ui.answers = {7};
        button(*e, "Command3D2_2")->click();
        QCOMPARE(ui.messages.size(), 1);
        const ScriptedUi::Message& shown = ui.messages.first();
        QCOMPARE(shown.title, QString("Service Code Duplication"));
        QCOMPARE(shown.icon, 48);
        QCOMPARE(shown.defaultButton, 2);
        QVERIFY(
            shown.prompt.startsWith("This code is already in your database.\r\n\r\nCode: "
                                    "\t\tD0120\r\nOffice code: \tEXAM\r\n"));
        QVERIFY(shown.prompt.contains("Fee1: \t\t$1,234.50\r\nType: \t\t1 - Charge\r\n"));
        QCOMPARE(codeRows(f, "D0120"), 1);
        QCOMPARE(box(*e, 0)->text(), QString("D0120"));  // still on screen
        ui.answers = {6};
        button(*e, "Command3D2_2")->click();
        QCOMPARE(codeRows(f, "D0120"), 2);
    }

    void cancelAndNew() {
        TQ_FIXTURE(f);
        const int32_t id = f.addCode("D0140");
        ScriptedUi ui;
        auto e = openEditor(id);
        typeAndLeave(*e, 4, "99");
        ui.answers = {7};  // do not save
        button(*e, "Command3D2_1")->click();
        QCOMPARE(ui.prompts(), QStringList{"Do you want to save changes?"});
        QCOMPARE(e->SevCodID(), 0);
        QVERIFY(!e->isVisible());
        QCOMPARE(codeColumn(f, id, "SevCodFee2").toDouble(), 20.0);

        // New, filled from this code: the copy keeps code and fees, so the save finds the
        // duplicate; a blank new code keeps type and category only.
        e = openEditor(id);
        ui.messages.clear();
        ui.answers = {7, 6, 7};
        button(*e, "Command3D2_3")->click();
        QCOMPARE(f.host->ScreenNumber(), -777);
        QCOMPARE(e->SevCodID(), 0);
        QCOMPARE(box(*e, 0)->text(), QString("D0140"));
        QCOMPARE(box(*e, 4)->text(), QString("$20.00"));
        button(*e, "Command3D2_2")->click();
        QCOMPARE(ui.messages.last().title, QString("Service Code Duplication"));
        QCOMPARE(codeRows(f, "D0140"), 1);
        ui.answers = {7, 7};
        button(*e, "Command3D2_3")->click();
        QCOMPARE(box(*e, 0)->text(), QString());
        QCOMPARE(box(*e, 8)->text(), QString("Diag"));
    }

    void backAndNextAskTheOpener() {
        TQ_FIXTURE(f);
        const int32_t first = f.addCode("A1");
        const int32_t second = f.addCode("A2");
        ScriptedUi ui;
        auto e = openEditor(first);
        // The opener: no code before the first, the next code after it.
        QObject::connect(&e->events(), &ServiceCodeEditorEvents::BeforeBackClicked,
                         [&](bool& cancel) { cancel = e->SevCodID() == first; });
        QSignalSpy next(&e->events(), &ServiceCodeEditorEvents::NextClicked);
        QObject::connect(&e->events(), &ServiceCodeEditorEvents::NextClicked, [&](bool) {
            e->setSevCodID(second);
            e->Init_Data();
        });
        typeAndLeave(*e, 1, "Changed first");
        button(*e, "CMD_NextBack_0")->click();
        QCOMPARE(ui.messages.size(), 0);  // nothing before: no question, no move
        ui.answers = {6};
        button(*e, "CMD_NextBack_1")->click();
        QCOMPARE(next.size(), 1);
        QCOMPARE(next.first().first().toBool(), true);
        QCOMPARE(codeColumn(f, first, "SevCodDes"), QString("Changed first"));
        QCOMPARE(box(*e, 0)->text(), QString("A2"));
        e->setHideBackNext(true);
        QVERIFY(!button(*e, "CMD_NextBack_1")->isVisible());
    }

    void formatsListsAndLabels() {
        TQ_FIXTURE(f);
        ScriptedUi ui;
        auto e = openEditor(0);
        typeAndLeave(*e, 3, "1234.5");
        QCOMPARE(box(*e, 3)->text(), QString("$1234.50"));
        typeAndLeave(*e, 4, "pasted text");
        QCOMPARE(box(*e, 4)->text(), QString("$0.00"));
        box(*e, 6)->setText(QString(10000, '9'));  // a number too large for money
        QTest::keyClick(box(*e, 6), Qt::Key_Return);
        typeAndLeave(*e, 6, box(*e, 6)->text());
        QCOMPARE(box(*e, 6)->text(), QString("$0.00"));
        QCOMPARE(ui.prompts(), QStringList());
        QTest::keyClicks(box(*e, 5), "12a-");
        QCOMPARE(box(*e, 5)->text(), QString("$0.0012-"));  // the letter is refused
        e->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(e.get()));
        box(*e, 0)->setFocus();
        QTest::keyClick(box(*e, 0), Qt::Key_Return);  // Enter walks code, office code, ...
        QVERIFY(box(*e, 2)->hasFocus());
        typeAndLeave(*e, 1, QString("Crown ").repeated(12));
        typeAndLeave(*e, 1, QString("Crown ").repeated(12));  // said once for a text
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages.last().title, QString("Edit Description Field"));
        QVERIFY(
            ui.messages.last().prompt.endsWith("\r\n\r\n[" + QString("Crown ").repeated(10) + "]"));
        typeAndLeave(*e, 13, "6.25%");
        QCOMPARE(box(*e, 13)->text(), QString("6.250"));
        button(*e, "Command3D1_ES_1")->click();
        QCOMPARE(ui.messages.last().prompt, QString("You need to select type first."));
        QCOMPARE(ui.messages.last().title, QString("Edit Service Codes"));
        choose(*e, 0, "3 - Admin.");
        QVERIFY(!option(*e, 25)->isEnabled() && !option(*e, 26)->isChecked());
        button(*e, "Command3D1_ES_2")->click();
        QCOMPARE(ui.messages.last().prompt,
                 QString("There are no sub-categories for administrative codes."));
        QVERIFY(!control<QListWidget>(*e, "List1_ES")->isVisible());
        button(*e, "ExtraButton_1")->click();
        QCOMPARE(box(*e, 12)->text(), QString("NNNNNNNNN"));
        option(*e, 4)->click();
        QCOMPARE(box(*e, 12)->text(), QString("NANNNNNNN"));

        // The practice's own charge categories, and the medical labels.
        QFile file(f.host->GetDataPath() + "Typ1Cat.TXT");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Cosmetic\n\nWhitening\n");
        file.close();
        f.host->setHasChargeCategoryFile(true);
        choose(*e, 0, "1 - Charge");
        choose(*e, 1, "Whitening");
        QCOMPARE(box(*e, 8)->text(), QString("Whitening"));
        QCOMPARE(control<QListWidget>(*e, "List1_ES")->count(), 2);
        f.host->setMedicalPractice(true);
        auto medical = openEditor(0);
        QVERIFY(!option(*medical, 4)->isVisible() && !option(*medical, 8)->isVisible());
        QVERIFY(option(*medical, 2)->isVisible());
        QStringList labels;
        for (QLabel* label : medical->findChildren<QLabel*>()) {
            labels << label->text();
        }
        QVERIFY(labels.contains("Units : ") && labels.contains("Unit Fee : "));
        f.host->setHasChargeCategoryFile(false);
        choose(*medical, 0, "1 - Charge");
        button(*medical, "Command3D1_ES_1")->click();
        QCOMPARE(control<QListWidget>(*medical, "List1_ES")->item(0)->text(), QString("CPT"));
    }

    void calculatorAndLetter() {
        TQ_FIXTURE(f);
        const int32_t id = f.addCode(
            "LTR",
            {{"SevCodTyp", "3 - Admin."}, {"SevCodCat", "Ltr. Mgmt"}, {"SevCodLetNam", "OLD.RTF"}});
        ScriptedUi ui;
        ui.onShow("Calendar", [](QDialog& calc) {
            QTest::keyClicks(&calc, "12.5");
            control<QPushButton>(calc, "cmdCalcOK")->click();
        });
        auto e = openEditor(id);
        button(*e, "CalculatorButton_2")->click();
        QCOMPARE(box(*e, 5)->text(), QString("$12.50"));
        PickerCall shown;
        QString answer = "NEW.RTF";
        ScreenFactory::Registration picker(DocumentPickerScreenName, [&] {
            auto screen = std::make_unique<FakePicker>();
            screen->answer = answer;
            screen->call = &shown;
            return screen;
        });
        button(*e, "cmdLetter")->click();
        QCOMPARE(shown.pattern, QString("*.RTF"));
        QVERIFY(shown.folder.endsWith(QString("WP") + QDir::separator()));
        QVERIFY(shown.titles);
        QCOMPARE(box(*e, 16)->text(), QString("NEW.RTF"));
        answer.clear();
        ui.answers = {6};
        button(*e, "cmdLetter")->click();
        QCOMPARE(ui.messages.last().prompt,
                 QString("Would you like to remove the letter (NEW.RTF)?"));
        QCOMPARE(box(*e, 16)->text(), QString());
        button(*e, "Command3D2_2")->click();
        QCOMPARE(codeColumn(f, id, "SevCodLetNam"), QString());
        QCOMPARE(codeColumn(f, id, "SevCodFee3").toDouble(), 12.5);
        QCOMPARE(codeColumn(f, id, "SevCodBil"), QString("Y"));  // an administrative code
    }

    /// A box's width counts characters, as the database does: a full box may end in an
    /// emoji, and one character more (pasted) is cut whole, never stored as half of it.
    void widthsCountCharacters() {
        TQ_FIXTURE(f);
        const int32_t id = f.addCode("W1");
        ScriptedUi ui;
        auto e = openEditor(id);
        const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
        const QList<std::tuple<int, QString, int>> boxes = {
            {0, "SevCodCod", 10},        {1, "SevCodDes", 255},        {2, "SevCodOffCod", 10},
            {10, "SevCodCroRefCod", 10}, {14, "sevcodDesForPat", 255}, {15, "sevcod2ndDes", 255}};
        for (const auto& [index, name, width] : boxes) {
            box(*e, index)->clear();
            box(*e, index)->insert(QString(width - 1, 'x') + emoji + emoji);
        }
        button(*e, "Command3D2_2")->click();
        QCOMPARE(ui.prompts(), QStringList());
        for (const auto& [index, name, width] : boxes) {
            QCOMPARE(codeColumn(f, id, name), QString(width - 1, 'x') + emoji);
        }
    }

    /// A new code the database refuses keeps the typing and writes no row (a refused or
    /// lost update of an existing code is the maintenance fault suite's).
    void aRefusedInsertKeepsTheTyping() {
        TQ_FIXTURE(f);
        ScriptedUi ui;
        auto e = openEditor(0);
        typeNewCharge(*e, "NEW1", "45");
        failStatements(f.host->connection(), "SevCodTable", "INSERT", "no room for codes");
        button(*e, "Command3D2_2")->click();
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages.last().prompt.contains("no room for codes"),
                 qPrintable(ui.messages.last().prompt));
        stopFailingStatements(f.host->connection(), "SevCodTable", "INSERT");
        QCOMPARE(box(*e, 3)->text(), QString("$45.00"));
        QVERIFY(e->isChanged());
        QCOMPARE(codeRows(f, "NEW1"), 0);
    }
};

TQ_TEST_MAIN(EditorTest)
#include "tst_db_editor.moc"
