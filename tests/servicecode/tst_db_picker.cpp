#include "ComponentFixture.h"
#include "TestMain.h"

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/HelpWindow.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/maintenance/ServiceCodeEditorScreen.h>
#include <tqservicecode/selection/PickerListModel.h>
#include <tqservicecode/selection/Select_Code.h>

#include "Faults.h"

#include <tqplatform/ScriptedUi.h>
#include <tqplatform/ui.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QSignalSpy>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

Select_Code& picker(QDialog& dialog) {
    return dynamic_cast<Select_Code&>(dialog);
}

void clickLine(QListView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    list->scrollTo(index);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}

int rowOfCode(const PickerListModel& model, const QString& code) {
    const QModelIndexList found =
        model.match(model.index(0), int(PickerListModel::Role::Code), code, 1, Qt::MatchExactly);
    return found.isEmpty() ? -1 : found[0].row();
}

QListView* codeLines(QDialog& form) {
    return tqtest::control<QListView>(form, "List1");
}

void press(QDialog& form, const QString& button) {
    tqtest::control<QPushButton>(form, button)->click();
}

/// The total of the chosen codes as the screen shows it.
QString total(QDialog& form) {
    return tqtest::control<QLabel>(form, "Tot_Sel_LBL")->text();
}

/// The codes of the highlighted lines of List1, sorted.
QStringList highlighted(Select_Code& form) {
    QStringList codes;
    for (const QModelIndex& line : codeLines(form)->selectionModel()->selectedIndexes()) {
        codes << line.data(int(PickerListModel::Role::Code)).toString();
    }
    codes.sort();
    return codes;
}

/// Counts the key presses that reach any object.
struct KeyCounter : QObject {
    int keys = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        keys += event->type() == QEvent::KeyPress ? 1 : 0;
        return false;
    }
};

void chooseCode(Select_Code& form, const QString& code) {
    const int row = rowOfCode(form.codeList(), code);
    QVERIFY2(row >= 0, qPrintable(code));
    clickLine(codeLines(form), row);
}

void typeCode(Select_Code& form, const QString& code) {
    tqtest::control<QLineEdit>(form, "Text1")->setFocus();
    tqtest::control<QLineEdit>(form, "Text1")->setText(code);
    QTest::keyClick(tqtest::control<QLineEdit>(form, "Text1"), Qt::Key_Return);
}

QString enabledButtons(Select_Code& form) {
    QString pattern;
    for (const bool enabled : form.enabledCategories()) {
        pattern += enabled ? '1' : '0';
    }
    return pattern;
}

struct PickResult {
    QString answer;
    int16_t count = -1;
};

/// A practice with a few codes of each kind, and two patients.
struct PickerPractice : tqtest::ComponentFixture {
    int32_t exam = 0, cleaning = 0, xrays = 0, recall = 0, free = 0, crown = 0;
    int32_t provider = 0, patient = 0;

    bool setUp() {
        if (!open()) {
            return false;
        }
        // Code, type, category, sub-category, office code, description, fee 1, fee 3.
        const QStringList codes[] = {
            {"D0120", "", "", "", "PE", "Periodic exam", "45.00", "40.50"},
            {"D0274", "", "", "", "", "Four bitewings", "60.00", "51.25"},
            {"D1110", "", "Prev", "", "", "Adult cleaning", "95.00", "80.00"},
            {"RECALL", "", "Prev", "", "", "@D0120,D1110,274", "0", "0"},
            {"D0999", "", "", "", "", "Courtesy look", "0", "0"},
            {"D2740", "", "Rest", "", "", "Porcelain crown", "", "900.00"},
            {"CCPMT", "2 - Credit", "Diag", "Cash", "", "", "", ""},
            {"TODO1", "3 - Admin.", "Pat. Mgmt", "", "", "Call back", "", ""},
            {"TODO2", "3 - Admin.", "Pat. Mgmt", "", "", "Ask about insurance", "", ""}};
        const QStringList columns = {"SevCodTyp", "SevCodCat",  "SevCodSubCat", "SevCodOffCod",
                                     "SevCodDes", "SevCodFee1", "SevCodFee3"};
        QList<int32_t> ids;
        for (const QStringList& code : codes) {
            QMap<QString, QString> values;
            for (int i = 0; i < columns.size(); ++i) {
                if (!code[i + 1].isEmpty()) {
                    values[columns[i]] = code[i + 1];
                }
            }
            ids << addCode(code[0], values);
        }
        exam = ids[0], xrays = ids[1], cleaning = ids[2], recall = ids[3], free = ids[4];
        crown = ids[5];
        provider = insert("PaTable", "pID",
                          {{"pLasNam", "Moreau"},
                           {"pFirNam", "Alice"},
                           {"pTypDoc", "1"},
                           {"pDocIni", "AM"},
                           {"pDOCFeeTyp", "3"}});
        patient = insert("PaTable", "pID",
                         {{"pLasNam", "Nguyen"},
                          {"pFirNam", "Linh"},
                          {"pTypPat", "1"},
                          {"pPROIND", QString::number(provider)},
                          {"pGPDenFeeTyp", "0"},
                          {"pGPDenFeeTypPerm", "0"}});
        host->grantRight("tester", "CHANGE-SER-CODE");
        return true;
    }

    PickResult pick(int16_t flag, const QString& category, const QString& mode = "MULTI",
                    bool expand = true, int32_t patientId = -1) {
        PickResult result;
        int32_t who = patientId < 0 ? patient : patientId;
        QString inCategory = category;
        QString selectionMode = mode;
        component.SelectServiceCode(flag, who, inCategory, result.answer, result.count,
                                    selectionMode, expand);
        return result;
    }
};

}  // namespace

/// Declares and opens the practice, or skips (fails under CI) when the database is unreachable.
#define TQ_PICKER_PRACTICE(practice)    \
    PickerPractice practice;            \
    TQ_REQUIRE_DATABASE((practice).db); \
    QVERIFY((practice).setUp())

class PickerTest : public QObject {
    Q_OBJECT

private slots:
    void buttonsFollowTheMask_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("enabled");
        QTest::addColumn<QString>("caption");  // of the pressed button
        QTest::addColumn<QString>("screenText");
        const auto row = [](const char* name, int flag, const char* category, QString enabled,
                            const char* caption, const char* screenText) {
            QTest::newRow(name) << flag << QString(category) << enabled << QString(caption)
                                << QString(screenText);
        };
        const QString all(27, '1');
        row("all on, saved default", 0, "", all, "All", "0");
        row("to-do only", 256, "PAT. MGMT", "000000000000000000001000000", "To Do List", "0");
        row("admin group, All off", 16, "", "000000000000000000001110000", "To Do List", "16");
        row("100 is like 0", 100, "Preventive", all, "Preventive", "0");
        row("-1 only All off", -1, "all", "111111111111111111111110111", "Diagnostic", "-1");
        row("unknown category starts on Tax", 0, "Nonsense", all, "Tax", "0");
    }

    void buttonsFollowTheMask() {
        QFETCH(int, flag);
        QFETCH(QString, category);
        QFETCH(QString, enabled);
        QFETCH(QString, caption);
        QFETCH(QString, screenText);
        TQ_PICKER_PRACTICE(f);
        ScriptedUi ui;
        bool shown = false;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            shown = true;
            Select_Code& form = picker(dialog);
            QCOMPARE(enabledButtons(form), enabled);
            QCOMPARE(form.windowTitle(), "Service Codes [ " + caption + " ]");
            QCOMPARE(f.host->ScreenText(), screenText);
            QCOMPARE(f.host->PatientID(), f.patient);
        });
        const PickResult result = f.pick(static_cast<int16_t>(flag), category);
        QVERIFY(shown);
        QCOMPARE(result.answer, QString());
        QCOMPARE(result.count, int16_t{0});
        QCOMPARE(f.host->ScreenText(), QString());
    }

    void codeListShowsTheCategoryAtThePatientsFees() {
        TQ_PICKER_PRACTICE(f);
        ScriptedUi ui;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            QStringList tabOrder;  // as the screen is seen
            tqtest::control<QLineEdit>(form, "Text1")->setFocus();
            for (int i = 0; i < 9; ++i) {
                tabOrder << form.focusWidget()->objectName();
                QTest::keyClick(form.focusWidget(), Qt::Key_Tab);
            }
            QCOMPARE(tabOrder, QStringList({"Text1", "List1", "List2", "chkDefault", "CMD_3",
                                            "CMD_2", "CMD_1", "CMD_0", "cmdCategory_0"}));
            QCOMPARE(form.feeSchedule(), 3);
            QCOMPARE(tqtest::control<QLabel>(form, "Label1")->text(),
                     QStringLiteral("Service code list, click to select.           Fee type: 3"));
            QCOMPARE(form.currentType(), QString());  // "All": every type
            QStringList codes;
            for (const QString& line : form.codeList().lines()) {
                codes << line.section('\t', 0, 0).trimmed();
            }
            QCOMPARE(codes, QStringList({"D0120", "D0274", "D0999", "D1110", "D2740", "RECALL",
                                         "TODO1", "TODO2"}));  // no reserved code
            const QString exam = form.codeList().line(0);
            QCOMPARE(exam.section('\t', 1, 1), QStringLiteral("PE"));
            QVERIFY(exam.section('\t', 2, 2).startsWith(QStringLiteral("Periodic exam")));
            QCOMPARE(exam.section('\t', 3, 3), QStringLiteral("$40.50"));
            QCOMPARE(form.codeList().line(2).section('\t', 3, 3), QString());  // zero fee
            QCOMPARE(form.codeList().itemData(0), f.exam);
            QVERIFY(tqtest::control<QPushButton>(form, "CMD_3")->isEnabled());

            press(form, "cmdCategory_20");
            QCOMPARE(form.currentType(), QStringLiteral("3 - Admin"));
            QCOMPARE(form.codeList().count(), 2);  // sorted by description
            QVERIFY(form.codeList().line(0).contains("TODO2"));
            press(form, "cmdCategory_21");
            QCOMPARE(form.codeList().count(), 0);
            QVERIFY(!tqtest::control<QPushButton>(form, "CMD_3")->isEnabled());
            QCOMPARE(form.windowTitle(), QStringLiteral("Service Codes [ Letter Mgmt ]"));
        });
        f.pick(0, "");  // the stored schedule: wholeRoadForANewPatient
    }

    void choosingAndRemovingCodes() {
        TQ_PICKER_PRACTICE(f);
        ScriptedUi ui;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            press(form, "cmdCategory_0");  // Diagnostic
            codeLines(form)->setFocus();
            // Space charges the line under the cursor, arrows only move the cursor.
            for (Qt::Key key :
                 {Qt::Key_Home, Qt::Key_Space, Qt::Key_Down, Qt::Key_Down, Qt::Key_Space}) {
                QTest::keyClick(codeLines(form), key);
            }
            QCOMPARE(highlighted(form), QStringList({"D0120", "D0999"}));
            QCOMPARE(form.chosenList().lines(), QStringList({"D0120\tPeriodic exam\t$40.50\t\t",
                                                             "D0999\tCourtesy look\t$0.00\t\t"}));
            QCOMPARE(total(form), QStringLiteral("Total: $40.50"));
            chooseCode(form, "D0120");  // clicking a chosen line again takes it back
            QCOMPARE(form.chosenList().count(), 1);
            QCOMPARE(total(form), QStringLiteral("Total: $0.00"));
            clickLine(tqtest::control<QListView>(form, "List2"),
                      0);  // and so does a click in the chosen list
            QCOMPARE(form.chosenList().count(), 0);
            QCOMPARE(total(form), QString());
            QVERIFY(highlighted(form).isEmpty());
            chooseCode(form, "D0274");
            typeCode(form, "pe");  // an office code typed in the box
            QCOMPARE(tqtest::control<QLineEdit>(form, "Text1")->text(), QString());
            QCOMPARE(form.chosenList().count(), 2);
            QCOMPARE(highlighted(form), QStringList({"D0120", "D0274"}));
            QCOMPARE(total(form), QStringLiteral("Total: $91.75"));
            press(form, "CMD_1");
        });
        const PickResult result = f.pick(0, "");
        QCOMPARE(result.count, int16_t{2});
        const QStringList lines = result.answer.split('\r', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].section('\n', 1, 1), QStringLiteral("D0274"));
        QCOMPARE(lines[1].section('\n', 1, 1), QStringLiteral("D0120"));
        QVERIFY(result.answer.endsWith('\r'));
        QCOMPARE(f.host->ScreenReturn(), QString());
    }

    void batchLimitAndCancel() {
        TQ_PICKER_PRACTICE(f);
        const QString longText = "A description far longer than its column";
        for (int i = 0; i < 26; ++i) {
            f.addCode(i == 0 ? QStringLiteral("CHARTNOTE") : QStringLiteral("T%1").arg(i),
                      {{"SevCodCat", "Tax"}, {"SevCodFee3", "1.00"}, {"SevCodDes", longText}});
        }
        ScriptedUi ui;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            QCOMPARE(form.codeList().count(), 26);
            // The tooltip shows what the line cuts; the code column fits the longest code.
            QCOMPARE(form.codeList().index(0).data(Qt::ToolTipRole).toString(),
                     "CHARTNOTE - " + longText);
            const auto stops = codeLines(form)->property("TabStops").value<QList<int>>();
            QVERIFY(codeLines(form)->fontMetrics().horizontalAdvance(" CHARTNOTE") <=
                    stops.value(1) - stops.value(0) - 4);
            for (int row = 0; row < 26; ++row) {
                clickLine(codeLines(form), row);
            }
            QCOMPARE(form.chosenList().count(), 25);
            QCOMPARE(ui.prompts(), QStringList{"25 selections per batch. "});
            QCOMPARE(ui.messages[0].icon, 48);
            QVERIFY(!codeLines(form)->selectionModel()->isSelected(form.codeList().index(25)));
            QCOMPARE(total(form), QStringLiteral("Total: $25.00"));
            QTest::keyClick(tqtest::control<QLineEdit>(form, "Text1"),
                            Qt::Key_Escape);  // Esc presses Cancel
        });
        QSignalSpy refreshed(f.host.get(), &tqhost::PracticeHost::refreshRequested);
        f.host->setScreenReturn("left over");
        const PickResult result = f.pick(0, "Tax");
        QCOMPARE(result.count, int16_t{0});
        QCOMPARE(result.answer, QString());
        QCOMPARE(refreshed.count(), 1);  // the host hears of the closed screen, values cleared
        QCOMPARE(refreshed.at(0).at(0).toInt(), 1);
        QCOMPARE(SelectedCodeCount(), int16_t{0});
        QCOMPARE(f.host->ScreenReturn(), QString());
    }

    void explosionCodesAndSingleSelection() {
        TQ_PICKER_PRACTICE(f);
        ScriptedUi ui;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            chooseCode(form, "RECALL");
            QCOMPARE(form.chosenList().count(), 3);
            QVERIFY(form.chosenList().line(2).startsWith("D0274\t"));  // "274": a short form
            QCOMPARE(total(form), QStringLiteral("Total: $171.75"));
            press(form, "CMD_1");
        });
        PickResult result = f.pick(0, "Preventive");
        QCOMPARE(result.count, int16_t{3});

        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            QVERIFY(form.singleSelection());
            chooseCode(form, "D1110");
            chooseCode(form, "RECALL");
            QCOMPARE(ui.prompts().last(),
                     QStringLiteral("This list is currently in single-select mode. Only the first "
                                    "item from the selected explosion code will be entered."));
            QCOMPARE(ui.messages.last().title, QStringLiteral("Select Service Code"));
            QCOMPARE(form.chosenList().count(), 1);  // the first member took the place
            QVERIFY(form.chosenList().line(0).startsWith("D0120\t"));
            press(form, "CMD_1");
        });
        result = f.pick(0, "Preventive", "SINGLE");
        QCOMPARE(result.count, int16_t{1});

        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            QVERIFY(!form.singleSelection());  // "single" is not "SINGLE"
            chooseCode(form, "RECALL");        // not expanded
            QCOMPARE(form.chosenList().count(), 1);
            QVERIFY(form.chosenList().line(0).startsWith("RECALL\t@D0120"));
        });
        f.pick(0, "Preventive", "single", false);
    }

    void aLongListFillsInSlicesAndDropsClicksMeanwhile() {
        TQ_PICKER_PRACTICE(f);
        const int extra = Select_Code::FirstScreenRows + 50;
        f.host->connection().BeginTrans();
        for (int i = 0; i < extra; ++i) {
            f.addCode(QStringLiteral("X%1").arg(i, 4, 10, QLatin1Char('0')),
                      {{"SevCodCat", "Tax"}, {"SevCodFee3", "2.00"}});
        }
        f.host->connection().CommitTrans();
        ScriptedUi ui;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            QTRY_VERIFY(!form.isBusy());
            typeCode(form, "X0149");  // beyond the first screen
            press(form, "cmdCategory_23");
            QCOMPARE(form.codeList().count(), Select_Code::FirstScreenRows);
            QVERIFY(form.isBusy() && form.isFilling());
            // Clicks while the rest is added are dropped, not queued.
            press(form, "cmdCategory_0");
            clickLine(codeLines(form), 1);
            typeCode(form, "X0001");
            QCOMPARE(form.chosenList().count(), 1);
            QTRY_VERIFY(!form.isBusy());
            QCOMPARE(form.currentButton(), 23);
            QCOMPARE(form.codeList().count(), extra + 8);
            QCOMPARE(highlighted(form), QStringList{"X0149"});
            QCOMPARE(total(form), QStringLiteral("Total: $2.00"));
        });
        f.pick(0, "Tax");
    }

    void listEditAndDefaultButtons() {
        TQ_PICKER_PRACTICE(f);
        ScriptedUi ui;
        int browserShown = 0;
        QString flagSeenByBrowser;
        ScreenFactory::Registration browser(ServiceCodeBrowserScreenName, [&] {
            ++browserShown;
            flagSeenByBrowser = f.host->ScreenText();
            return std::make_unique<QDialog>();
        });
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            press(form, "cmdCategory_1");
            tqtest::control<QCheckBox>(form, "chkDefault")->setChecked(true);
            press(form, "CMD_2");
        });
        PickResult result = f.pick(4 | 1, "Restorative");
        QCOMPARE(browserShown, 1);
        QCOMPARE(flagSeenByBrowser, QStringLiteral("5"));
        QCOMPARE(result.answer, QStringLiteral("EDIT_SERVICE_CODE"));
        const QString section = "USER_DEF_SETUP" + f.host->GetCurrentUserName();
        QCOMPARE(f.host->GetUserSetting(section, "SER_COD_CAT", 0, "?"), QStringLiteral("Prev"));
        QCOMPARE(f.host->GetUserSetting(section, "SER_COD_TYP", 0, "?"),
                 QStringLiteral("1 - Charge"));
        QCOMPARE(f.host->GetUserSetting(section, "SER_COD_DEF_CAT", 0, "?"),
                 QStringLiteral("Preventive"));

        // The saved default opens the next picker; without the right, no editing.
        f.host->revokeRight("tester", "CHANGE-SER-CODE");
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            QCOMPARE(form.currentButton(), 1);
            QVERIFY(!tqtest::control<QPushButton>(form, "CMD_3")->isEnabled());
            press(form, "cmdCategory_23");
            press(form, "CMD_2");
        });
        f.pick(0, "");
        QCOMPARE(f.host->GetUserSetting(section, "SER_COD_CAT", 0, "?"),
                 QStringLiteral(" All Codes"));
        QCOMPARE(f.host->GetUserSetting(section, "SER_COD_TYP", 0, "?"), QString());
    }

    void editingACodeRefreshesTheList() {
        TQ_PICKER_PRACTICE(f);
        struct FakeEditor : QDialog, ServiceCodeEditorScreen {
            int32_t id = 0;
            bool hidden = false;
            ServiceCodeEditorEvents raised;
            int32_t SevCodID() const override { return id; }
            void setSevCodID(int32_t value) override { id = value; }
            void setHideBackNext(bool hide) override { hidden = hide; }
            void Init_Data() override {}
            QString boxText(int) const override { return {}; }
            void setBoxText(int, const QString&) override {}
            ServiceCodeEditorEvents& events() override { return raised; }
        };
        int32_t edited = 0;
        bool backNextHidden = false;
        ScreenFactory::Registration editor(ServiceCodeEditorScreenName,
                                           [] { return std::make_unique<FakeEditor>(); });
        ScriptedUi ui;
        ui.onShow(ServiceCodeEditorScreenName, [&](QDialog& d) {
            auto& screen = dynamic_cast<FakeEditor&>(d);
            edited = screen.id;
            backNextHidden = screen.hidden;
            // The user renames the code while the editor is open.
            f.host->connection().Execute(
                "UPDATE SevCodTable SET SevCodDes='Renamed exam' WHERE "
                "SevCodID=" +
                QString::number(screen.id));
        });
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            press(form, "CMD_3");  // no current line: nothing opens
            QVERIFY(edited == 0);
            QTest::keyClick(codeLines(form),
                            Qt::Key_Home);  // the cursor on D0120
            press(form, "CMD_3");
            QCOMPARE(edited, f.exam);
            QVERIFY(backNextHidden);
            const int row = rowOfCode(form.codeList(), "D0120");
            QVERIFY(form.codeList().line(row).contains("Renamed exam"));
            QCOMPARE(codeLines(form)->currentIndex().row(), row);
            QCOMPARE(highlighted(form), QStringList());  // the cursor, not a choice
        });
        f.pick(0, "Diagnostic");
        QCOMPARE(ui.shownScreens, QStringList({"Select_Code", ServiceCodeEditorScreenName}));
    }

    void theOwnerOfThePicker() {
        TQ_PICKER_PRACTICE(f);
        QWidget main;
        QWidget window;
        QObject notAWindow;
        f.host->setMainForm(&main);
        ScriptedUi ui;
        QWidget* owner = nullptr;
        ui.onShow("Select_Code", [&](QDialog& dialog) { owner = dialog.parentWidget(); });
        const auto pickWith = [&](QObject* given) {
            int16_t flag = 0, count = 0;
            int32_t who = f.patient;
            QString category, answer, mode;
            owner = &window;  // anything but the expected answer
            f.component.SelectServiceCode(flag, who, category, answer, count, mode, true, given);
            return owner;
        };
        QCOMPARE(pickWith(nullptr), &main);
        QCOMPARE(pickWith(&window), &window);
        QCOMPARE(pickWith(&notAWindow), nullptr);
    }

    void chooseCategoryMode() {
        TQ_PICKER_PRACTICE(f);
        ScriptedUi ui;
        ui.onShowOnce("Select_Code", [](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            QVERIFY(form.categoryChoiceMode());
            QVERIFY(!codeLines(form)->isVisible());
            tqtest::control<QPushButton>(form, "cmdCategory_13")->setFocus();
            QTest::keyClick(tqtest::control<QPushButton>(form, "cmdCategory_13"),
                            Qt::Key_Return);  // the focused category
        });
        QCOMPARE(f.component.SelectServiceCodeCategory(), QStringLiteral("Pri. Ins."));
        QCOMPARE(ScreenResultText(), QStringLiteral("2 - Credit"));  // its type
        ui.onShowOnce("Select_Code", [](QDialog& dialog) { press(dialog, "cmdCategory_23"); });
        QCOMPARE(f.component.SelectServiceCodeCategory(), QStringLiteral("ALL"));
        QCOMPARE(f.host->ScreenParameter(), QStringLiteral("ALL"));
        QCOMPARE(f.component.SelectServiceCodeCategory(), QString());  // closed without choosing
        QCOMPARE(f.host->ScreenReturn(), QStringLiteral("0"));
        // The code list leaves its count raised; a picker after it answers its own count.
        ui.onShowOnce(ServiceCodeBrowserScreenName, [](QDialog& browser) {
            tqtest::control<QAction>(browser, "Okay")->trigger();  // the current code
        });
        QVERIFY(!f.component.ServiceCodeList().isEmpty());
        QCOMPARE(SelectedCodeCount(), int16_t(1));
        QCOMPARE(f.pick(0, "").count, int16_t(0));  // closed without choosing
        // A browser that never touches ScreenReturn leaves the operation's "0".
        ScreenFactory::Registration plainBrowser(ServiceCodeBrowserScreenName,
                                                 [] { return std::make_unique<QDialog>(); });
        QCOMPARE(f.component.ServiceCodeList(), QStringLiteral("0"));
    }

    void helpComesUpOverTheModalPicker() {
        TQ_PICKER_PRACTICE(f);
        ScriptedUi ui;
        bool shown = false;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            dialog.hide();  // modal, as the real screen is shown
            dialog.setWindowModality(Qt::ApplicationModal);
            dialog.show();
            QTest::keyClick(tqtest::control<QLineEdit>(dialog, "Text1"), Qt::Key_F1);
            HelpWindow* help = HelpWindow::existingInstance();
            QVERIFY(help != nullptr && help->isVisible());
            KeyCounter counter;  // the user's keys reach the help, not blocked by the picker
            qApp->installEventFilter(&counter);
            QTest::keyClick(help->windowHandle(), Qt::Key_Down);
            qApp->removeEventFilter(&counter);
            shown = counter.keys > 0;
        });
        f.pick(0, "");
        QVERIFY(shown);
    }

    void sizeIsKeptPerUser() {
        TQ_PICKER_PRACTICE(f);
        ScriptedUi ui;
        QSize fresh, wanted, reopened;
        ui.onShowOnce("Select_Code", [&](QDialog& d) {
            fresh = d.size();
            wanted = d.minimumSize() + QSize(0, 30);  // no wider: the test screen is narrow
            d.resize(wanted);
            d.reject();
        });
        f.pick(0, "");
        f.component.SelectServiceCodeCategory();  // the category choice keeps its own size
        f.host->setScreenParameter("");
        ui.onShow("Select_Code", [&](QDialog& d) { reopened = d.size(); });
        f.pick(0, "");
        QCOMPARE(reopened, wanted);
        f.host->setCurrentUser("maria", 5);  // another user: the default
        f.pick(0, "");
        QCOMPARE(reopened, fresh);
    }

    void databaseFaultsAreToldAndTheScreenStays_data() {
        QTest::addColumn<QString>("steps");  // the fault, then what the user does
        QTest::newRow("set as default category") << "settings default";
        QTest::newRow("go to the code table") << "settings list";
        QTest::newRow("add a code") << "count add";
        QTest::newRow("OK") << "drop ok";
        QTest::newRow("refill with All") << "drop all";
    }

    void databaseFaultsAreToldAndTheScreenStays() {
        QFETCH(QString, steps);
        TQ_PICKER_PRACTICE(f);
        const std::shared_ptr<tqtest::FaultyHost> host = f.useFaultyHost();
        ScriptedUi ui;
        bool stayed = false;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            chooseCode(form, "D0120");
            const QMap<QString, std::function<void()>> step = {
                {"settings",
                 [&] { tqtest::failStatements(host->connection(), "UserSetting", "INSERT"); }},
                {"count", [&] { host->failOn = "count(*)"; }},
                {"drop", [&] { host->connection().Close(); }},
                {"default",
                 [&] { tqtest::control<QCheckBox>(form, "chkDefault")->setChecked(true); }},
                {"list", [&] { press(form, "CMD_2"); }},
                {"add", [&] { chooseCode(form, "D0274"); }},
                {"ok", [&] { press(form, "CMD_1"); }},
                {"all", [&] { press(form, "cmdCategory_23"); }}};
            for (const QString& name : steps.split(' ')) {
                step[name]();
            }
            stayed = form.isVisible();
            QCOMPARE(ui.messages.size(), 1);
            QVERIFY(ui.messages[0].prompt.startsWith(tqplatform::ui::failureMessage("").trimmed()));
            QCOMPARE(ui.messages[0].icon, 16);
            QVERIFY(!tqtest::control<QCheckBox>(form, "chkDefault")
                         ->isChecked());             // the box shows what is stored
            QCOMPARE(form.chosenList().count(), 1);  // nothing added by halves
            QCOMPARE(highlighted(form),
                     steps.endsWith("all") ? QStringList() : QStringList{"D0120"});
        });
        const PickResult result = f.pick(0, "Diagnostic");
        QVERIFY(stayed);
        QCOMPARE(result.answer, QString());
        QCOMPARE(result.count, int16_t{0});
        if (steps.startsWith("drop")) {  // opening it now: the reason reaches the host's call
            QVERIFY_THROWS_EXCEPTION(tqGlobal::Error, f.pick(0, ""));
        }
    }

    void wholeRoadForANewPatient() {
        TQ_PICKER_PRACTICE(f);
        // A patient with neither provider nor schedule: the practice's default provider
        // (schedule 3) is stored, then the schedule.
        const int32_t newcomer = f.insert(
            "PaTable", "pID",
            {{"pLasNam", "Okafor"}, {"pFirNam", "Ada"}, {"pTypPat", "1"}, {"pPROIND", "0"}});
        f.host->setDefaultProviderID(f.provider);
        ScriptedUi ui;
        ui.onShow("Select_Code", [&](QDialog& dialog) {
            Select_Code& form = picker(dialog);
            press(form, "cmdCategory_1");
            chooseCode(form, "RECALL");
            typeCode(form, "2740");  // short form of D2740
            QCOMPARE(form.chosenList().count(), 4);
            QCOMPARE(total(form), QStringLiteral("Total: $1071.75"));
            tqtest::control<QPushButton>(form, "CMD_2")->setFocus();
            QTest::keyClick(tqtest::control<QPushButton>(form, "CMD_2"),
                            Qt::Key_Return);  // Enter outside the box: OK
        });
        const PickResult result = f.pick(0, "", "MULTI", true, newcomer);
        QCOMPARE(result.count, int16_t{4});
        QStringList codes;
        for (const QString& line : result.answer.split('\r', Qt::SkipEmptyParts)) {
            codes << line.section('\n', 1, 1);
        }
        QCOMPARE(codes, QStringList({"D0120", "D1110", "D0274", "D2740"}));
        const QString where = " FROM PaTable WHERE pID=" + QString::number(newcomer);
        QCOMPARE(f.scalar("SELECT pPROIND" + where).toInt(), f.provider);
        QCOMPARE(f.scalar("SELECT pGPDenFeeTyp" + where).toInt(), 3);
        QCOMPARE(f.scalar("SELECT pGPDenFeeTypPerm" + where).toInt(), 3);
    }
};

TQ_TEST_MAIN(PickerTest)
#include "tst_db_picker.moc"
