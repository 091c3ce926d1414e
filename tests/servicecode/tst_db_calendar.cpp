#include "ComponentFixture.h"
#include "TestMain.h"

#include <tqservicecode/component/ComponentContext.h>
#include <tqservicecode/entry/Calendar.h>
#include <tqservicecode/entry/CalendarLaunch.h>
#include <tqservicecode/forms/FormHelpers.h>

#include <tqplatform/ScriptedUi.h>

#include <QCalendarWidget>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

Calendar& screen(QDialog& dialog) {
    return dynamic_cast<Calendar&>(dialog);
}

QString dateText(const QDate& date) {
    return date.toString(QStringLiteral("MM-dd-yyyy"));
}

QWidget* calendarView(Calendar& form) {
    return form.SSMonth1->findChild<QWidget*>(QStringLiteral("qt_calendar_calendarview"));
}

/// Moves the calendar's selection as the arrow keys do: L and R a day, U and D a week.
void moveSelection(Calendar& form, const QString& moves) {
    const QMap<QChar, Qt::Key> keys = {
        {u'L', Qt::Key_Left}, {u'R', Qt::Key_Right}, {u'U', Qt::Key_Up}, {u'D', Qt::Key_Down}};
    for (QChar move : moves) {
        QTest::keyClick(calendarView(form), keys.value(move));
    }
}

/// Finishes the screen as the user would: "ok", "enter", "cancel", "escape" or "close"
/// (the close box: the script closes a screen left open).
void finish(Calendar& form, const QString& how) {
    if (how == u"ok") {
        form.cmdOK->click();
    } else if (how == u"enter") {
        QTest::keyClick(calendarView(form), Qt::Key_Return);
    } else if (how == u"cancel") {
        form.cmdCancel->click();
    } else if (how == u"escape") {
        QTest::keyClick(&form, Qt::Key_Escape);
    }
}

/// Presses the calculator's buttons, or types the keys ("Enter", "Backspace" and "Delete"
/// name those keys), given separated by blanks.
void enter(Calendar& form, const QString& via, const QString& input) {
    const QMap<QString, Qt::Key> named = {
        {"Enter", Qt::Key_Return}, {"Backspace", Qt::Key_Backspace}, {"Delete", Qt::Key_Delete}};
    for (const QString& token : input.split(u' ', Qt::SkipEmptyParts)) {
        if (via == u"buttons") {
            QPushButton* button = form.calculatorButton(token);
            QVERIFY2(button != nullptr, qPrintable(token));
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QWidget* target = form.focusWidget() != nullptr ? form.focusWidget() : &form;
            if (named.contains(token)) {
                QTest::keyClick(target, named.value(token));
            } else {
                QTest::keyClicks(target, token);
            }
        }
    }
}

void clickItem(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(found.size() == 1, qPrintable(text));
    list->scrollToItem(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found.first()).center());
}

/// The answer the screen leaves: no answer ("") and 123456, or a text and 0.
struct Answer {
    QString text;
    int screenNumber = 123456;
};
}  // namespace

Q_DECLARE_METATYPE(Answer)

class CalendarScreenTest : public QObject {
    Q_OBJECT

    static void dateRow(const char* name, const QString& moves, const QString& caption,
                        const QString& how, int answerDay) {
        QTest::newRow(name) << moves << caption << how << answerDay;
    }

    static void calculatorRow(const char* name, const QString& via, const QString& input,
                              const QString& display, const QString& message, const QString& how,
                              const Answer& answer) {
        QTest::newRow(name) << via << input << display << message << how << answer;
    }

private slots:
    void followUpDate_data() {
        QTest::addColumn<QString>("moves");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("answerDay");  // days from the opening day; 999: cancelled
        dateRow("OK on today", "", "today", "ok", 0);
        dateRow("OK a week and a day on", "DR", "8 days from today", "ok", 8);
        dateRow("Enter on yesterday", "L", "1 day ago", "enter", -1);
        dateRow("day after tomorrow, cancelled", "RR", "2 days from today", "cancel", 999);
        dateRow("last week, Esc", "U", "7 days ago", "escape", 999);
        dateRow("close box", "R", "1 day from today", "close", 999);
    }

    void followUpDate() {
        QFETCH(QString, moves);
        QFETCH(QString, caption);
        QFETCH(QString, how);
        QFETCH(int, answerDay);
        TQ_FIXTURE(f);
        f.host->setScreenOption("LEFT OVER");
        setScreenResultText("01-01-2020");  // an earlier answer
        ScriptedUi ui;
        QDate opened;  // the selection the screen starts with: today
        ui.onShow("Calendar", [&](QDialog& dialog) {
            Calendar& form = screen(dialog);
            opened = form.SSMonth1->selectedDate();
            QCOMPARE(form.windowTitle(), QString("Enter follow-up date"));
            QCOMPARE(f.host->ScreenOption(), QString());
            QCOMPARE(helpContextOf(&form), 848);
            QVERIFY(form.SSMonth1->isVisible() && !form.Readout->isVisible());
            QVERIFY(!form.TX_Date_Combo->isVisible());
            QCOMPARE(form.Label1->text(), QString("today"));
            moveSelection(form, moves);
            QCOMPARE(form.Label1->text(), caption);
            finish(form, how);
        });
        const QString answer = askFollowUpDate("Enter follow-up date");
        QVERIFY(opened.isValid());
        QCOMPARE(answer, answerDay == 999 ? QString() : dateText(opened.addDays(answerDay)));
        QCOMPARE(ScreenResultText(), answer);
        QCOMPARE(f.host->ScreenNumber(), answerDay == 999 ? 123456 : 0);
    }

    void monthsAheadKeepsTheScreenOpen_data() {
        QTest::addColumn<QDate>("start");
        QTest::addColumn<QString>("buttons");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("3mo+ on 31 January") << QDate(2026, 1, 31) << "3" << QDate(2026, 5, 1);
        QTest::newRow("6mo+, then 3mo+") << QDate(2026, 8, 31) << "63" << QDate(2027, 6, 2);
    }

    void monthsAheadKeepsTheScreenOpen() {
        QFETCH(QDate, start);
        QFETCH(QString, buttons);
        QFETCH(QDate, expected);
        TQ_FIXTURE(f);
        ScriptedUi ui;
        ui.onShow("Calendar", [&](QDialog& dialog) {
            Calendar& form = screen(dialog);
            form.SSMonth1->setSelectedDate(start);
            for (QChar button : buttons) {
                (button == u'3' ? form.cmd3Months : form.cmd6Months)->click();
            }
            QVERIFY(form.isVisible());
            QCOMPARE(ScreenResultText(), dateText(expected));
            QCOMPARE(form.SSMonth1->selectedDate(), expected);
            QCOMPARE(form.SSMonth1->monthShown(), expected.month());
            QCOMPARE(form.Label1->text(),
                     calendar::relativeCaption(QDate::currentDate(), expected));
            QCOMPARE(f.host->ScreenNumber(), 123456);
            QTest::keyClick(form.cmd3Months, Qt::Key_Return);  // Enter accepts the date shown
        });
        QCOMPARE(askFollowUpDate("Enter follow-up date"), dateText(expected));
        QCOMPARE(f.host->ScreenNumber(), 0);
    }

    void treatmentDates_data() {
        QTest::addColumn<int>("patient");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("typed");  // "" keeps the entry chosen at load
        QTest::addColumn<Answer>("answer");
        const QStringList visits = {"01-15-2026", "03-04-2026"};
        const QString today = dateText(QDate::currentDate());
        QTest::newRow("last visit") << 5 << visits << QString() << Answer{"03-04-2026", 0};
        QTest::newRow("a date typed") << 5 << visits << "2/3/2026" << Answer{"02-03-2026", 0};
        QTest::newRow("not a date") << 5 << visits << "soon" << Answer{};
        QTest::newRow("no visits: today") << 7 << QStringList{today} << "" << Answer{today, 0};
    }

    void treatmentDates() {
        QFETCH(int, patient);
        QFETCH(QStringList, entries);
        QFETCH(QString, typed);
        QFETCH(Answer, answer);
        TQ_FIXTURE(f);
        const char* const visits[][2] = {
            {"5", "2026-03-04"}, {"5", "2026-01-15"}, {"5", "2026-03-04"}, {"6", "2025-12-24"}};
        for (const auto& visit : visits) {
            f.insert("DTTable", "traID", {{"trapID", visit[0]}, {"traStaDat", visit[1]}});
        }
        f.host->setPatientID(patient);
        f.host->setScreenOption("TXDATE");
        ScriptedUi ui;
        ui.onShow("Calendar", [&](QDialog& dialog) {
            Calendar& form = screen(dialog);
            QCOMPARE(f.host->ScreenOption(), QString());
            QVERIFY(form.TX_Date_Combo->isVisible() && form.SSMonth1->isVisible());
            QStringList items;
            for (int i = 0; i < form.TX_Date_Combo->count(); ++i) {
                items << form.TX_Date_Combo->itemText(i);
            }
            QCOMPARE(items, entries);
            QCOMPARE(form.TX_Date_Combo->currentText(), entries.last());
            if (!typed.isEmpty()) {
                form.TX_Date_Combo->lineEdit()->selectAll();
                QTest::keyClicks(form.TX_Date_Combo->lineEdit(), typed);
            }
            form.cmdTXDateOK->click();
        });
        QCOMPARE(askFollowUpDate("Treatment date"), answer.text);
        QCOMPARE(f.host->ScreenNumber(), answer.screenNumber);
    }

    void monthAndYearLists() {
        TQ_FIXTURE(f);
        ScriptedUi ui;
        ui.onShow("Calendar", [&](QDialog& dialog) {
            Calendar& form = screen(dialog);
            const auto tip = [&](const char* name) {
                return form.SSMonth1->findChild<QWidget*>(name)->toolTip();
            };
            QCOMPARE(tip("qt_calendar_monthbutton"), QString("Left click to change Month"));
            QCOMPARE(tip("qt_calendar_yearbutton"), QString("Left click to change Year"));
            form.SSMonth1->setSelectedDate(QDate(2026, 1, 31));

            QTest::keyClick(calendarView(form), Qt::Key_M);
            QVERIFY(form.MonthList->isVisible());
            QCOMPARE(form.MonthList->count(), 12);
            QCOMPARE(form.MonthList->item(11)->text(), QString("December"));
            QCOMPARE(form.MonthList->currentItem()->text(), QString("January"));
            QTest::keyClick(form.MonthList, Qt::Key_Escape);  // no choice
            QVERIFY(!form.MonthList->isVisible());
            QTest::keyClick(calendarView(form), Qt::Key_M);
            clickItem(form.MonthList, "February");
            QVERIFY(!form.MonthList->isVisible());
            QCOMPARE(form.SSMonth1->monthShown(), 2);
            QCOMPARE(form.SSMonth1->selectedDate(), QDate(2026, 2, 28));

            QTest::keyClick(calendarView(form), Qt::Key_Y);
            QCOMPARE(form.YearList->currentItem()->text(), QString("2026"));
            clickItem(form.YearList, "2028");
            QCOMPARE(form.SSMonth1->yearShown(), 2028);
            form.cmdOK->click();
        });
        QCOMPARE(askFollowUpDate("Enter follow-up date"), QString("02-28-2028"));
    }

    void calculator_data() {
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("how");
        QTest::addColumn<Answer>("answer");
        const QString none;
        calculatorRow("product", "buttons", "1 2 . 5 x 4 =", "50", none, "ok", {"50", 0});
        calculatorRow("zero with decimals", "buttons", "0 . 0 0", "0.00", none, "ok", {"0", 0});
        calculatorRow("nothing entered", "buttons", "", "0", none, "ok", {"0", 0});
        calculatorRow("keys * Enter", "keys", "12*3 Enter", "36", none, "ok", {"36", 0});
        calculatorRow("keys , x /", "keys", "9,5x2/4=", "4.75", none, "ok", {"4.75", 0});
        calculatorRow("keys Backspace %", "keys", "88 Backspace 4%", "0.04", none, "ok",
                      {"0.04", 0});
        calculatorRow("keys c", "keys", "5+3c2=", "2", none, "ok", {"2", 0});
        calculatorRow("divide by zero", "buttons", "8 / 0 =", "8", "Can't divide by zero.", "ok",
                      {"8", 0});
        calculatorRow("1E+300 is too large", "keys", QString("100000000000000x").repeated(22),
                      "1E+294", "The result is too large for the calculator (1E+300 or more).",
                      "ok", {"1E+294", 0});
        calculatorRow("cancelled", "buttons", "4 2", "42", none, "cancel", {});
        calculatorRow("close box", "keys", "42", "42", none, "close", {});
    }

    void calculator() {
        QFETCH(QString, via);
        QFETCH(QString, input);
        QFETCH(QString, display);
        QFETCH(QString, message);
        QFETCH(QString, how);
        QFETCH(Answer, answer);
        TQ_FIXTURE(f);
        f.host->setScreenText("a caption that does not apply");
        ScriptedUi ui;
        ui.onShow("Calendar", [&](QDialog& dialog) {
            Calendar& form = screen(dialog);
            QCOMPARE(form.windowTitle(), QString("Calculator"));
            QCOMPARE(ScreenResultText(), QString("0"));
            QVERIFY(form.Readout->isVisible() && !form.SSMonth1->isVisible());
            enter(form, via, input);
            QCOMPARE(form.Readout->text(), display);
            if (how == u"ok") {
                form.cmdCalcOK->click();
            } else if (how == u"cancel") {
                form.cmdCalcCancel->click();
            }
        });
        QCOMPARE(openCalculator(), answer.text);
        QCOMPARE(f.host->ScreenNumber(), answer.screenNumber);
        QCOMPARE(ui.prompts(), message.isEmpty() ? QStringList() : QStringList{message});
        for (const ScriptedUi::Message& shown : ui.messages) {
            QCOMPARE(shown.title, QString("Calculator"));
        }
    }

    /// Both faces render, the calculator in the calendar's place and smaller than it. With
    /// TQ_SCREENSHOTS set to a folder, the pictures are saved there.
    void bothFacesRender() {
        TQ_FIXTURE(f);
        f.insert("DTTable", "traID", {{"trapID", "5"}, {"traStaDat", "2026-03-04"}});
        f.host->setPatientID(5);
        f.host->setScreenOption("TXDATE");
        QPixmap calendarFace;
        QPixmap calculatorFace;
        ScriptedUi ui;
        ui.onShowOnce("Calendar", [&](QDialog& dialog) {
            screen(dialog).cmd3Months->click();
            calendarFace = dialog.grab();
        });
        askFollowUpDate("Enter follow-up date");
        ui.onShowOnce("Calendar", [&](QDialog& dialog) {
            enter(screen(dialog), "buttons", "1 9 . 9 9 x 3 =");
            calculatorFace = dialog.grab();
        });
        openCalculator();
        QVERIFY(!calendarFace.isNull() && !calculatorFace.isNull());
        QVERIFY(calculatorFace.width() < calendarFace.width());
        QVERIFY(calculatorFace.height() < calendarFace.height());
        const QString folder = qEnvironmentVariable("TQ_SCREENSHOTS");
        if (!folder.isEmpty()) {
            QVERIFY(calendarFace.save(QDir(folder).filePath("calendar.png")));
            QVERIFY(calculatorFace.save(QDir(folder).filePath("calculator.png")));
        }
    }
};

TQ_TEST_MAIN(CalendarScreenTest)
#include "tst_db_calendar.moc"
