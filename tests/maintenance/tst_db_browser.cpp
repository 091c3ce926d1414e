#include "../servicecode/ComponentFixture.h"
#include "Faults.h"
#include "Files.h"
#include "TestMain.h"

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/PrinterSystem.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/grid/frmExportOpts.h>
#include <tqservicecode/maintenance/SerCod.h>
#include <tqservicecode/maintenance/ServiceCodeEditorScreen.h>
#include <tqservicecode/reference/ReferenceCodeScreen.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqplatform/Connection.h>
#include <tqplatform/ScriptedUi.h>

#include <demo/MainWindow.h>

#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

/// A stand-in for the service code editor: records what the browser gave it and lets a
/// test act as the user inside it.
struct FakeEditor : QDialog, ServiceCodeEditorScreen {
    int32_t id = 0;
    bool hidden = false;
    QMap<int, QString> boxes;
    ServiceCodeEditorEvents raised;
    int32_t SevCodID() const override { return id; }
    void setSevCodID(int32_t value) override { id = value; }
    void setHideBackNext(bool hide) override { hidden = hide; }
    void Init_Data() override {}
    QString boxText(int index) const override { return boxes.value(index); }
    void setBoxText(int index, const QString& text) override { boxes[index] = text; }
    ServiceCodeEditorEvents& events() override { return raised; }
};

struct BrowserPractice : tqtest::ComponentFixture {
    QMap<QString, int32_t> ids;

    bool setUp() {
        if (!open()) {
            return false;
        }
        // Code, type, category, description: texts that a filter could misread.
        const QStringList codes[] = {{"D0120", "1 - Charge", "Diag", "Periodic exam"},
                                     {"D1110", "1 - Charge", "Prev", "Adult cleaning"},
                                     {"50%OFF", "2 - Credit", "Discount", "Half price"},
                                     {"A*B", "1 - Charge", "Diag", "Star code"},
                                     {"ONEIL", "1 - Charge", "Diag", "O'Neil [x] #1"},
                                     {"X_Y", "1 - Charge", "Diag", "Underscore"},
                                     {"REF1", "3 - Admin.", "Refund", "Refund cheque"},
                                     {"CCPMT", "2 - Credit", "Diag", "Reserved"}};
        for (const QStringList& code : codes) {
            ids[code[0]] = addCode(
                code[0], {{"SevCodTyp", code[1]}, {"SevCodCat", code[2]}, {"SevCodDes", code[3]}});
        }
        host->grantRight("tester", "CHANGE-SER-CODE");
        return true;
    }
    void showCategory(const QString& category, const QString& type = "1 - Charge") {
        host->SaveUserSetting("USER_DEF_SETUP" + host->GetCurrentUserName(), "SER_COD_CAT", 0,
                              category);
        host->SaveUserSetting("USER_DEF_SETUP" + host->GetCurrentUserName(), "SER_COD_TYP", 0,
                              type);
    }
    double number(const QString& key) { return host->GetUserSettingNumber(key + "tester", -1); }
};

QStringList shownCodes(SerCod& browser) {
    QStringList codes;
    for (int row = 0; row < browser.grid()->model()->rowCount(); ++row) {
        codes << browser.codeAt(row);
    }
    return codes;
}

int rowOf(SerCod& browser, const QString& code) {
    return int(shownCodes(browser).indexOf(code));
}

/// Clicks the rows of codes, Ctrl held after the first, as a user selects several.
void selectCodes(SerCod& browser, const QStringList& codes) {
    RecordGrid* grid = browser.grid();
    for (int i = 0; i < codes.size(); ++i) {
        const QModelIndex index = grid->model()->index(rowOf(browser, codes[i]), 2);
        QVERIFY2(index.isValid(), qPrintable(codes[i]));
        grid->scrollTo(index);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton,
                          i == 0 ? Qt::NoModifier : Qt::ControlModifier,
                          grid->visualRect(index).center());
    }
}

void clickHeading(SerCod& browser, int column) {
    QHeaderView* header = browser.grid()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, 5));
}

void trigger(SerCod& browser, const char* key) {
    tqtest::control<QAction>(browser, key)->trigger();
}

QString panel(SerCod& browser, const char* key) {
    return tqtest::control<QLabel>(browser, key)->text();
}

}  // namespace

class BrowserTest : public QObject {
    Q_OBJECT

private slots:
    void opensTheUsersCategoryAndKeepsItsSettings() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        f.host->setMedicalPractice(false);
        {
            SerCod browser;
            browser.show();
            // " All Codes" by default; the program's reserved codes are never listed.
            QCOMPARE(shownCodes(browser),
                     QStringList({"50%OFF", "A*B", "D0120", "D1110", "ONEIL", "REF1", "X_Y"}));
            QCOMPARE(browser.windowTitle(), "Service Codes - All Codes");
            QCOMPARE(panel(browser, "Count"), "1 of 7 (0)");
            QCOMPARE(tqtest::control<QMenu>(browser, "ImportMenu")->actions().size(), 1);
            // Row colours: credits red, refunds brown, charges black.
            const auto colour = [&](const char* code) {
                const QModelIndex cell = browser.grid()->model()->index(rowOf(browser, code), 2);
                return cell.data(Qt::ForegroundRole).value<QBrush>().color();
            };
            QCOMPARE(colour("50%OFF"), QColor(255, 0, 0));
            QCOMPARE(colour("REF1"), QColor(128, 64, 64));
            QCOMPARE(colour("D0120"), QColor(0, 0, 0));
            browser.move(40, 60);
            browser.resize(700, 400);
            trigger(browser, "Close");
        }
        QCOMPARE(f.number("SERCOD_WIDTH"), 700 * 15.0);  // twips at 96 dpi
        QCOMPARE(f.number("SERCOD_HEIGHT"), 400 * 15.0);

        f.showCategory("Diag");
        f.host->revokeRight("tester", "CHANGE-SER-CODE");
        f.host->setUsesMedicalCodeSets(true);
        SerCod browser;
        browser.show();
        QCOMPARE(shownCodes(browser), QStringList({"A*B", "D0120", "ONEIL", "X_Y"}));
        QCOMPARE(browser.windowTitle(), "Service Codes -Diagnostic ");
        QCOMPARE(panel(browser, "SelectionLabel"), "Diagnostic ");
        QCOMPARE(browser.width(), 700);
        for (const char* key : {"New", "Edit", "Delete"}) {
            QVERIFY(!tqtest::control<QAction>(browser, key)->isEnabled());
        }
        QMenu* popup = browser.popupFor(0, 7);
        for (int item : {0, 1, 2}) {
            QVERIFY(!popup->actions()[item]->isEnabled());
        }
        QCOMPARE(popup->actions()[1]->text(), "&Edit [ Code = A*B]");
        QCOMPARE(popup->actions()[2]->text(), "&Delete [ Code = A*B]");
        QCOMPARE(popup->actions()[6]->text(), "&Change Fee 2 [ Category = Diagnostic  ] ...");
        QCOMPARE(browser.popupFor(1, 3)->actions()[6]->text(),
                 "&Change All 4 Fees [ Category = Diagnostic  ] ...");
        QStringList imports;
        for (QAction* item : tqtest::control<QMenu>(browser, "ImportMenu")->actions()) {
            imports << item->text();
        }
        QCOMPARE(imports,
                 QStringList({"Import CDT Codes", "", "Import CPT Codes", "Import ICD Codes",
                              "Import ICD-10-CM Codes", "Import HCPCS Codes"}));
    }

    void sortsAndTogglesByTheClickedColumn() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        f.showCategory("Diag");
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        const auto clickHeading = [&](int column) { ::clickHeading(browser, column); };
        clickHeading(4);  // description, ascending
        QCOMPARE(shownCodes(browser), QStringList({"ONEIL", "D0120", "A*B", "X_Y"}));
        clickHeading(4);  // again: descending
        QCOMPARE(shownCodes(browser), QStringList({"X_Y", "A*B", "D0120", "ONEIL"}));
        QCOMPARE(f.number("SER_COD_SORT_COL"), 4.0);
        QCOMPARE(f.number("SER_COD_SORT_DIR"), 2.0);
        clickHeading(0);  // the first column never sorts
        QCOMPARE(shownCodes(browser).first(), "X_Y");
        selectCodes(browser, {"A*B", "ONEIL"});
        ui.answers = {7};
        clickHeading(2);
        QCOMPARE(ui.messages.last().prompt,
                 "You have 2 code(s) selected.\r\n\r\nSorting the column will "
                 "clear this selection.\r\nDo you want to continue?");
        QCOMPARE(ui.messages.last().defaultButton, 2);
        QCOMPARE(shownCodes(browser).first(), "X_Y");  // No: nothing moved
        ui.answers = {6};
        clickHeading(2);  // a new column sorts ascending
        QCOMPARE(shownCodes(browser), QStringList({"A*B", "D0120", "ONEIL", "X_Y"}));
        QCOMPARE(f.number("SER_COD_SORT_DIR"), 1.0);
        QVERIFY(browser.currentQuery().endsWith("ORDER BY SevCodCod ASC;"));
        QCOMPARE(browser.selectedRows(), QList<int>());
        SerCod reopened;  // the user's order comes back
        reopened.load();
        QVERIFY(reopened.currentQuery().endsWith("ORDER BY SevCodCod ASC;"));
    }

    void searchMatchesWhatWasTypedLiterally_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("percent") << "50%" << QStringList{"50%OFF"};
        QTest::newRow("star") << "a*" << QStringList{"A*B"};
        QTest::newRow("quote") << "o'neil" << QStringList{"ONEIL"};
        QTest::newRow("bracket") << "[x]" << QStringList{"ONEIL"};
        QTest::newRow("hash") << "#1" << QStringList{"ONEIL"};
        QTest::newRow("underscore") << "x_" << QStringList{"X_Y"};
        QTest::newRow("category") << "refund" << QStringList{"REF1"};
        QTest::newRow("padded") << "  d0120 " << QStringList{"D0120"};
    }

    void searchMatchesWhatWasTypedLiterally() {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        ui.inputs = {typed};
        trigger(browser, "Search");
        QCOMPARE(ui.inputBoxes[0].title, "Search Window");
        QCOMPARE(ui.inputBoxes[0].prompt, "Please type your selection");
        QCOMPARE(shownCodes(browser), found);
        QVERIFY(browser.searchActive());
        QCOMPARE(browser.selectedRows(), QList<int>({0}));
        QCOMPARE(tqtest::control<QAction>(browser, "Search")->toolTip(),
                 "Please right click to change this button back to 'Find'.");
        trigger(browser, "Search");  // the left arrow takes the filter away
        QVERIFY(!browser.searchActive());
        QCOMPARE(shownCodes(browser).size(), 7);
        QVERIFY(ui.messages.isEmpty());
    }

    void searchThatFindsNothing() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        ScreenFactory::Registration editor(ServiceCodeEditorScreenName,
                                           [] { return std::make_unique<FakeEditor>(); });
        f.showCategory("Diag");
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        // Typing a printable character starts the search with it.
        ui.inputs = {"cleaning"};
        ui.answers = {6};
        QTest::keyClick(browser.grid(), Qt::Key_C);
        QCOMPARE(ui.inputBoxes[0].defaultText, "c");
        QCOMPARE(ui.messages[0].prompt,
                 "[ cleaning ]  was not found in the current category. Would "
                 "you like to search all codes?");
        QCOMPARE(ui.messages[0].buttons, 4);
        QCOMPARE(shownCodes(browser), QStringList({"D1110"}));  // widened to every code
        QCOMPARE(browser.currentCategory(), " All Codes");
        QVERIFY(browser.searchActive());

        trigger(browser, "Search");
        ui.inputs = {"zzz"};
        ui.answers = {6, 7};  // add as new? yes; then the category chooser is cancelled
        trigger(browser, "Search");
        QCOMPARE(ui.messages[1].prompt, "[ zzz ]  was not found in the database.\r\nAdd as new?");
        QCOMPARE(ui.shownScreens, QStringList({"Select_Code"}));  // New asks for a category
        QCOMPARE(shownCodes(browser).size(), 7);
        QVERIFY(!browser.searchActive());
    }

    void selectionCheckAndDelete() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        f.showCategory("Diag");
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        browser.grid()->clearSelBookmarks();
        trigger(browser, "Edit");
        trigger(browser, "Delete");
        QCOMPARE(ui.prompts(), QStringList({"Please select a code.", "Please select a code."}));
        QCOMPARE(ui.messages[0].icon, 64);

        selectCodes(browser, {"D0120"});
        ui.answers = {7};
        trigger(browser, "Delete");
        QCOMPARE(ui.messages.last().prompt,
                 "You have 1 code selected. \r\nDo you want to delete this selection?");
        QCOMPARE(ui.messages.last().title, "Tavix Windows");
        QCOMPARE(ui.messages.last().defaultButton, 2);
        selectCodes(browser, {"D0120", "X_Y"});
        ui.answers = {6};
        trigger(browser, "Delete");
        QVERIFY(ui.messages.last().prompt.startsWith("You have 2 codes selected. "));
        QCOMPARE(shownCodes(browser), QStringList({"A*B", "ONEIL"}));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM SevCodTable").toInt(), 6);
    }

    void aDeleteThatFailsShowsTheReasonAndWhatRemains() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        f.showCategory("Diag");
        auto faulty = f.useFaultyHost();
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        selectCodes(browser, {"A*B", "D0120", "ONEIL"});
        // The second statement is refused: one transaction on the embedded database keeps
        // every row; on a server the first delete stands.
        faulty->failOn = "sevcodID=" + QString::number(f.ids["D0120"]);
        ui.answers = {6};
        trigger(browser, "Delete");
        QVERIFY(ui.messages.last().prompt.contains("injected fault"));
        QCOMPARE(ui.messages.last().icon, 16);
        QStringList remaining;
        tqplatform::Recordset rows = f.host->connection().OpenRecordset(
            "SELECT SevCodCod FROM SevCodTable WHERE SevCodCat='Diag' AND SevCodCod<>'CCPMT' "
            "ORDER BY SevCodCod");
        for (; !rows.Eof(); rows.MoveNext()) {
            remaining << rows.Fields(0).toString().trimmed();
        }
        QCOMPARE(shownCodes(browser), remaining);
        QCOMPARE(remaining.size(), f.host->GetDatabaseKind(1) == 1 ? 4 : 3);
        QVERIFY(f.host->connection().transactionDepth() == 0);

        // A refusal of the database itself carries its reason too.
        faulty->failOn.clear();
        tqtest::failStatements(f.host->connection(), "SevCodTable", "DELETE", "codes are kept");
        selectCodes(browser, {"X_Y"});
        ui.answers = {6};
        trigger(browser, "Delete");
        QVERIFY(ui.messages.last().prompt.contains("codes are kept"));
        QCOMPARE(shownCodes(browser), remaining);
    }

    void okayHandsTheChosenCodesToTheOpener() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        ScriptedUi ui;
        ui.onShowOnce(ServiceCodeBrowserScreenName, [&](QDialog& dialog) {
            auto& browser = dynamic_cast<SerCod&>(dialog);
            selectCodes(browser, {"X_Y", "D0120"});
            trigger(browser, "Okay");
        });
        setSelectedCodeCount(1);
        const QString answer = f.component.ServiceCodeList();
        QCOMPARE(answer, QString::number(f.ids["X_Y"]) + "\nX_Y\nUnderscore\n10.00\r" +
                             QString::number(f.ids["D0120"]) + "\nD0120\nPeriodic exam\n10.00\r");
        QCOMPARE(SelectedCodeCount(), 3);
        // Close leaves the "0" the operation set; the close box leaves nothing.
        ui.onShowOnce(ServiceCodeBrowserScreenName,
                      [&](QDialog& dialog) { trigger(dynamic_cast<SerCod&>(dialog), "Close"); });
        QCOMPARE(f.component.ServiceCodeList(), "0");
        QCOMPARE(f.component.ServiceCodeList(), QString());

        // The picker's List button opens the browser on the picker's category, and what
        // "Okay" returns is the picker's answer. No selection: the current row is taken.
        ui.onShowOnce("Select_Code", [](QDialog& dialog) {
            tqtest::control<QPushButton>(dialog, "cmdCategory_1")->click();  // Preventive
            tqtest::control<QPushButton>(dialog, "CMD_2")->click();
        });
        ui.onShowOnce(ServiceCodeBrowserScreenName, [&](QDialog& dialog) {
            auto& browser = dynamic_cast<SerCod&>(dialog);
            QCOMPARE(shownCodes(browser), QStringList({"D1110"}));
            trigger(browser, "Okay");
        });
        setSelectedCodeCount(0);
        int16_t flag = 0, count = 0;
        int32_t patient = 0;
        QString category, returned, mode;
        f.component.SelectServiceCode(flag, patient, category, returned, count, mode, true);
        QCOMPARE(returned, QString::number(f.ids["D1110"]) + "\nD1110\nAdult cleaning\n10.00\r");
        QCOMPARE(count, 1);
    }

    void newAndEditThroughTheEditor() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        ScreenFactory::Registration registration(ServiceCodeEditorScreenName,
                                                 [] { return std::make_unique<FakeEditor>(); });
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        // New on all codes: the category comes first from the chooser.
        ui.onShowOnce("Select_Code", [](QDialog& dialog) {
            QVERIFY(dynamic_cast<Select_Code&>(dialog).categoryChoiceMode());
            tqtest::control<QPushButton>(dialog, "cmdCategory_1")->click();  // Preventive
        });
        int32_t added = 0;
        ui.onShowOnce(ServiceCodeEditorScreenName, [&](QDialog& dialog) {
            auto& editor = dynamic_cast<FakeEditor&>(dialog);
            QCOMPARE(editor.id, 0);
            QVERIFY(editor.hidden);
            QCOMPARE(editor.boxes[7], "1 - Charge");
            QCOMPARE(editor.boxes[8], "Prev");
            editor.id = added = f.addCode("D1120", {{"SevCodCat", "Prev"}});
        });
        trigger(browser, "New");
        QCOMPARE(shownCodes(browser), QStringList({"D1110", "D1120"}));
        QCOMPARE(panel(browser, "SelectionLabel"), "Preventive ");
        QCOMPARE(browser.selectedRows(), QList<int>({1}));
        QCOMPARE(f.host->ScreenParameter(), QString());

        // Edit the last selected row, then walk with Back and Next.
        QStringList walked;
        ui.onShowOnce(ServiceCodeEditorScreenName, [&](QDialog& dialog) {
            auto& editor = dynamic_cast<FakeEditor&>(dialog);
            QVERIFY(!editor.hidden);
            walked << QString::number(editor.id);
            bool cancel = false;
            emit editor.raised.BeforeNextClicked(cancel);
            walked << (cancel ? "last" : "next");
            emit editor.raised.BeforeBackClicked(cancel);
            if (!cancel) {
                emit editor.raised.BackClicked(true);
            }
            walked << QString::number(editor.id);
            emit editor.raised.BeforeBackClicked(cancel);
            walked << (cancel ? "first" : "back");
        });
        selectCodes(browser, {"D1110", "D1120"});
        trigger(browser, "Edit");
        QCOMPARE(walked, QStringList({QString::number(added), "last",
                                      QString::number(f.ids["D1110"]), "first"}));
    }

    void chooseTheCategoryShown() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        QPushButton* selectCmd = tqtest::control<QPushButton>(browser, "SelectCMD");
        selectCmd->click();  // closed without choosing: nothing changes
        QCOMPARE(shownCodes(browser).size(), 7);
        ui.onShowOnce("Select_Code", [](QDialog& dialog) {
            tqtest::control<QPushButton>(dialog, "cmdCategory_23")->click();  // All
        });
        selectCmd->click();
        QCOMPARE(shownCodes(browser).size(), 7);
        QCOMPARE(panel(browser, "SelectionLabel"), "All Codes ");
        QCOMPARE(browser.windowTitle(), "Service Codes -All Codes ");
        ui.onShowOnce("Select_Code", [](QDialog& dialog) {
            tqtest::control<QPushButton>(dialog, "cmdCategory_0")->click();  // Diagnostic
        });
        selectCmd->click();
        QCOMPARE(shownCodes(browser), QStringList({"A*B", "D0120", "ONEIL", "X_Y"}));
        QCOMPARE(browser.currentCategory(), "Diag ");
        trigger(browser, "Close");
        QCOMPARE(f.host->GetUserSetting("USER_DEF_SETUPtester", "SER_COD_CAT", 0, "?"), "Diag");
        QCOMPARE(f.host->GetUserSetting("USER_DEF_SETUPtester", "SER_COD_TYP", 0, "?"),
                 "1 - Charge");
    }

    void printChecksThePrinterFirst_data() {
        QTest::addColumn<QString>("printer");  // the only one, and the default
        QTest::addColumn<QString>("message");  // its title, and a part of its text
        QTest::newRow("none") << ""
                              << "Printer Not Found|installed.\r\n\r\nCode: 482\r\n";
        QTest::newRow("not ready") << "Stopped"
                                   << "Printer not ready|printer named Stopped.";
        QTest::newRow("ready") << "PDF"
                               << "";
    }
    void printChecksThePrinterFirst() {
        QFETCH(QString, printer);
        QFETCH(QString, message);
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        f.showCategory("Diag");
        struct Printers : PrinterSystem {
            QStringList names;
            QStringList printerNames() override { return names; }
            QString defaultPrinterName() override { return names.value(0); }
            bool isReady(const QString& name) override { return name != "Stopped"; }
            void select(QPrinter& p, const QString&) override {
                p.setOutputFormat(QPrinter::PdfFormat);
            }
        } system;
        system.names = printer.isEmpty() ? QStringList() : QStringList{printer};
        PrinterSystem* previous = installPrinterSystem(&system);
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        trigger(browser, "Print");
        installPrinterSystem(previous);
        // A usable printer previews the rows under the window's caption; else only why not.
        QCOMPARE(ui.shownScreens, message.isEmpty() ? QStringList{"PrintPreview"} : QStringList());
        QCOMPARE(ui.messages.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty()) {
            QCOMPARE(ui.messages[0].title, message.section('|', 0, 0));
            QVERIFY(ui.messages[0].prompt.contains(message.section('|', 1)));
        }
    }

    void aRightClickMovesOnlyTheCurrentRow() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        f.showCategory("Diag");
        SerCod browser;
        browser.show();
        selectCodes(browser, {"D0120", "X_Y"});
        RecordGrid* grid = browser.grid();
        const QModelIndex target = grid->model()->index(rowOf(browser, "A*B"), 4);
        QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, grid->visualRect(target).center());
        auto* popup = tqtest::control<QMenu>(browser, "mnuPop");
        QVERIFY(popup->isVisible());
        popup->close();
        QCOMPARE(browser.codeAt(grid->currentRowIndex()), "A*B");
        QCOMPARE(browser.selectedRows(), QList<int>({1, 3}));
    }

    /// A read that fails while sorting, choosing a category or widening a search: the user
    /// is told, the rows shown stay and paint. A dropped connection is opened again.
    void aFailedReadKeepsTheRowsShown_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("refused");  // the table is gone; else the connection dropped
        QTest::addColumn<QStringList>("after");
        for (const bool refused : {true, false}) {
            const char* fault = refused ? "refused" : "dropped";
            QTest::addRow("sort, %s", fault)
                << "sort" << refused << QStringList{"ONEIL", "D0120", "A*B", "X_Y"};
            QTest::addRow("category, %s", fault) << "category" << refused << QStringList{"D1110"};
            QTest::addRow("search, %s", fault) << "search" << refused << QStringList{"D1110"};
        }
    }
    void aFailedReadKeepsTheRowsShown() {
        QFETCH(QString, action);
        QFETCH(bool, refused);
        QFETCH(QStringList, after);
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        f.showCategory("Diag");
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        const QStringList before = shownCodes(browser);
        tqplatform::Connection other(f.db.url());
        if (refused) {
            other.Execute("ALTER TABLE SevCodTable RENAME TO SevCodKept");
        } else {
            tqtest::dropConnection(f.host->connection());
            QTest::qWait(300);  // the server ends the session
        }
        ui.inputs = {"cleaning"};
        ui.answers = {6};  // not in the category: search all codes
        ui.onShowOnce("Select_Code", [](QDialog& dialog) {
            tqtest::control<QPushButton>(dialog, "cmdCategory_1")->click();  // Preventive
        });
        action == "sort"       ? clickHeading(browser, 4)
        : action == "category" ? tqtest::control<QPushButton>(browser, "SelectCMD")->click()
                               : trigger(browser, "Search");
        if (refused) {
            other.Execute("ALTER TABLE SevCodKept RENAME TO SevCodTable");
        }
        // A read runs again on the connection opened anew; a write that finds it lost is
        // reported, never repeated (sorting saves the user's order first).
        const bool told = refused || (action == "sort" && f.db.isPostgres());
        if (told) {
            const QString reason = refused ? "sevcodtable" : "connection to the database was lost";
            QVERIFY2(ui.messages.last().prompt.contains(reason, Qt::CaseInsensitive),
                     qPrintable(ui.messages.last().prompt));
            QCOMPARE(panel(browser, "SelectionLabel"), "Diagnostic ");
        }
        QCOMPARE(ui.messages.size(), (told ? 1 : 0) + (action == "search" ? 1 : 0));
        QCOMPARE(shownCodes(browser), told ? before : after);
        QVERIFY(!browser.grab().isNull());  // every row paints
        QCOMPARE(browser.grid()->recordModel()->lastError(), QString());
    }

    /// A second workstation holds the code table: the delete tells why, once; rows stay.
    void aDeleteWaitingOnAnotherWorkstation() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        if (!f.db.isPostgres()) {
            QSKIP("SQLite waits for a lock up to its busy timeout.");
        }
        f.host->connection().Execute("SET lock_timeout = '300ms'");
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        selectCodes(browser, {"A*B", "ONEIL"});
        tqtest::LockHolder other(f.db.url(), "SevCodTable");
        ui.answers = {6};
        trigger(browser, "Delete");
        other.release();
        QCOMPARE(ui.messages.size(), 2);
        QVERIFY2(ui.messages[1].prompt.contains("lock timeout"), qPrintable(ui.messages[1].prompt));
        QCOMPARE(shownCodes(browser).size(), 7);
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM SevCodTable").toInt(), 8);
    }

    void anImportRefreshesAndKeepsTheCurrentRow() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        struct FakeImport : QDialog, ReferenceCodeScreen {
            void SetupScreen(int32_t displayType, const QString&) override {
                setProperty("codeSet", displayType);
            }
        };
        ScreenFactory::Registration registration(ReferenceCodeScreenName,
                                                 [] { return std::make_unique<FakeImport>(); });
        f.showCategory("Diag");
        f.host->setMedicalPractice(true);
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        QList<int> codeSets;
        ui.onShow(ReferenceCodeScreenName, [&](QDialog& dialog) {
            codeSets << dialog.property("codeSet").toInt();
            f.addCode("D01" + QString::number(codeSets.size()), {{"SevCodCat", "Diag"}});
        });
        selectCodes(browser, {"ONEIL"});
        tqtest::control<QAction>(browser, "ImportICD")->trigger();
        trigger(browser, "Import");  // the button itself imports the dental codes
        QCOMPARE(codeSets, QList<int>({2, 0}));
        QCOMPARE(shownCodes(browser),
                 QStringList({"A*B", "D011", "D012", "D0120", "ONEIL", "X_Y"}));
        QCOMPARE(browser.codeAt(browser.grid()->currentRowIndex()), "ONEIL");
    }

    void theDemoShowsWhatTheCodeListReturned() {
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        tqdemo::MainWindow window(f.host, f.component);
        f.host->setScreenParameter("BUTTONS");  // left from an earlier call
        ScriptedUi ui;
        ui.onShowOnce(ServiceCodeBrowserScreenName, [&](QDialog& dialog) {
            auto& browser = dynamic_cast<SerCod&>(dialog);
            selectCodes(browser, {"D0120"});
            trigger(browser, "Okay");
        });
        tqtest::control<QAction>(window, "actServiceCodeList")->trigger();
        QCOMPARE(ui.prompts(),
                 QStringList({"The code list returned 1 code:\n\nD0120  Periodic exam  10.00"}));
        tqtest::control<QAction>(window, "actServiceCodeList")->trigger();  // closed at once
        QVERIFY(ui.prompts().last().contains("without choosing"));

        // The export window writes the code table through the grid it was given.
        const QString file = f.db.dataPath() + "/codes.txt";
        ui.onShowOnce("frmExportOpts", [&](QDialog& dialog) {
            auto& window = dynamic_cast<frmExportOpts&>(dialog);
            window.setFileName(file);
            window.setDelimiter(9);
            tqtest::control<QPushButton>(dialog, "cmdExport")->click();
        });
        tqtest::control<QAction>(window, "actExportCodeList")->trigger();
        const QList<QByteArray> lines = tqtest::readFile(file).split('\n');
        QCOMPARE(lines.size(), 7 + 1);  // seven codes, and the end of the last line
        QCOMPARE(lines[0], QByteArray("\"50%OFF\"\t\"Half price\"\t\"Discount\"\t\"10.00\"\t\r"));
        QVERIFY(ui.prompts().last().startsWith("The code list was written to "));
    }

    /// Enter and a double-click edit the row, the Delete key asks the toolbar's question;
    /// Escape still closes the browser.
    void enterDoubleClickAndDeleteActOnTheRow_data() {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("double-click") << 0;
        QTest::newRow("Delete") << int(Qt::Key_Delete);
    }
    void enterDoubleClickAndDeleteActOnTheRow() {
        QFETCH(int, key);
        TQ_SET_UP_FIXTURE(BrowserPractice, f);
        ScreenFactory::Registration registration(ServiceCodeEditorScreenName,
                                                 [] { return std::make_unique<FakeEditor>(); });
        f.showCategory("Diag");
        SerCod browser;
        browser.show();
        ScriptedUi ui;
        int32_t edited = 0;
        ui.onShowOnce(ServiceCodeEditorScreenName,
                      [&](QDialog& dialog) { edited = dynamic_cast<FakeEditor&>(dialog).id; });
        ui.answers = {7};
        RecordGrid* grid = browser.grid();
        const QModelIndex row = grid->model()->index(rowOf(browser, "ONEIL"), 2);
        if (key == 0) {
            // A double-click arrives as a click followed by the second press.
            const QPoint at = grid->visualRect(row).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        } else {
            grid->setCurrentIndex(row);
            grid->clearSelBookmarks();  // only current, as the arrow keys with Ctrl leave it
            QTest::keyClick(grid, Qt::Key(key));
        }
        const bool deletes = key == Qt::Key_Delete;
        QCOMPARE(edited, deletes ? 0 : f.ids["ONEIL"]);
        QCOMPARE(ui.prompts(),
                 deletes ? QStringList({"You have 1 code selected. \r\nDo you want to delete "
                                        "this selection?"})
                         : QStringList());
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM SevCodTable").toInt(), 8);
        QTest::keyClick(grid, Qt::Key_Escape);
        QVERIFY(!browser.isVisible());
    }
};

TQ_TEST_MAIN(BrowserTest)
#include "tst_db_browser.moc"
