#include "ComponentFixture.h"
#include "TestMain.h"

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/entry/Calendar.h>
#include <tqservicecode/entry/CalendarLaunch.h>
#include <tqservicecode/forms/ContextHelp.h>

#include <tqplatform/ScriptedUi.h>

#include <QCalendarWidget>
#include <QComboBox>
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
    return date.toString("MM-dd-yyyy");
}

QCalendarWidget* month(Calendar& form) {
    return tqtest::control<QCalendarWidget>(form, "SSMonth1");
}

QWidget* calendarView(Calendar& form) {
    return month(form)->findChild<QWidget*>("qt_calendar_calendarview");
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
    if (how == u"ok" || how == u"cancel") {
        tqtest::control<QPushButton>(form, how == u"ok" ? "cmdOK" : "cmdCancel")->click();
    } else if (how != u"close") {
        QTest::keyClick(how == u"enter" ? calendarView(form) : &form,
                        how == u"enter" ? Qt::Key_Return : Qt::Key_Escape);
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

/// The screen number the screen leaves with its answer: 123456 with none, 0 with a text.
int screenNumberFor(const QString& answer) {
    return answer.isEmpty() ? 123456 : 0;
}

}  // namespace

class CalendarScreenTest : public QObject {
    Q_OBJECT

    static void dateRow(const char* name, const QString& moves, const QString& caption,
                        const QString& how, int answerDay) {
        QTest::newRow(name) << moves << caption << how << answerDay;
    }

    static void calculatorRow(const char* name, const QString& via, const QString& input,
                              const QString& display, const QString& message, const QString& how,
                              const QString& answer) {
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
            opened = month(form)->selectedDate();
            QCOMPARE(form.windowTitle(), "Enter follow-up date");
            QCOMPARE(f.host->ScreenOption(), QString());
            QCOMPARE(helpContextOf(&form), 848);
            QVERIFY(month(form)->isVisible() &&
                    !tqtest::control<QLineEdit>(form, "Readout")->isVisible());
            QVERIFY(!tqtest::control<QComboBox>(form, "TX_Date_Combo")->isVisible());
            QCOMPARE(tqtest::control<QLabel>(form, "Label1")->text(), "today");
            moveSelection(form, moves);
            QCOMPARE(tqtest::control<QLabel>(form, "Label1")->text(), caption);
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
            month(form)->setSelectedDate(start);
            for (QChar button : buttons) {
                tqtest::control<QPushButton>(form, button == u'3' ? "cmd3Months" : "cmd6Months")
                    ->click();
            }
            QVERIFY(form.isVisible());
            QCOMPARE(ScreenResultText(), dateText(expected));
            QCOMPARE(month(form)->selectedDate(), expected);
            QCOMPARE(month(form)->monthShown(), expected.month());
            QCOMPARE(tqtest::control<QLabel>(form, "Label1")->text(),
                     calendar::relativeCaption(QDate::currentDate(), expected));
            QCOMPARE(f.host->ScreenNumber(), 123456);
            QTest::keyClick(tqtest::control<QPushButton>(form, "cmd3Months"),
                            Qt::Key_Return);  // Enter accepts the date shown
        });
        QCOMPARE(askFollowUpDate("Enter follow-up date"), dateText(expected));
        QCOMPARE(f.host->ScreenNumber(), 0);
    }

    void treatmentDates_data() {
        QTest::addColumn<int>("patient");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("typed");  // "" keeps the entry chosen at load
        QTest::addColumn<QString>("answer");
        const QStringList visits = {"01-15-2026", "03-04-2026"};
        const QString today = dateText(QDate::currentDate());
        QTest::newRow("last visit") << 5 << visits << QString() << "03-04-2026";
        QTest::newRow("a date typed") << 5 << visits << "2/3/2026"
                                      << "02-03-2026";
        QTest::newRow("not a date") << 5 << visits << "soon" << QString();
        QTest::newRow("no visits: today") << 7 << QStringList{today} << "" << today;
    }

    void treatmentDates() {
        QFETCH(int, patient);
        QFETCH(QStringList, entries);
        QFETCH(QString, typed);
        QFETCH(QString, answer);
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
            auto* dates = tqtest::control<QComboBox>(form, "TX_Date_Combo");
            QCOMPARE(f.host->ScreenOption(), QString());
            QVERIFY(dates->isVisible() && month(form)->isVisible());
            QStringList items;
            for (int i = 0; i < dates->count(); ++i) {
                items << dates->itemText(i);
            }
            QCOMPARE(items, entries);
            QCOMPARE(dates->currentText(), entries.last());
            if (!typed.isEmpty()) {
                dates->lineEdit()->selectAll();
                QTest::keyClicks(dates->lineEdit(), typed);
            }
            tqtest::control<QPushButton>(form, "cmdTXDateOK")->click();
        });
        QCOMPARE(askFollowUpDate("Treatment date"), answer);
        QCOMPARE(f.host->ScreenNumber(), screenNumberFor(answer));
    }

    /// The month and year lists; both faces render, the calculator smaller than the calendar.
    void monthAndYearListsAndFaces() {
        TQ_FIXTURE(f);
        QPixmap calendarFace, calculatorFace;
        ScriptedUi ui;
        ui.onShowOnce("Calendar", [&](QDialog& dialog) {
            Calendar& form = screen(dialog);
            const auto tip = [&](const char* name) {
                return month(form)->findChild<QWidget*>(name)->toolTip();
            };
            QCOMPARE(tip("qt_calendar_monthbutton"), "Left click to change Month");
            QCOMPARE(tip("qt_calendar_yearbutton"), "Left click to change Year");
            month(form)->setSelectedDate(QDate(2026, 1, 31));

            auto* months = tqtest::control<QListWidget>(form, "MonthList");
            QTest::keyClick(calendarView(form), Qt::Key_M);
            QVERIFY(months->isVisible());
            QCOMPARE(months->count(), 12);
            QCOMPARE(months->item(11)->text(), "December");
            QCOMPARE(months->currentItem()->text(), "January");
            QTest::keyClick(months, Qt::Key_Escape);  // no choice
            QVERIFY(!months->isVisible());
            QTest::keyClick(calendarView(form), Qt::Key_M);
            clickItem(months, "February");
            QVERIFY(!months->isVisible());
            QCOMPARE(month(form)->monthShown(), 2);
            QCOMPARE(month(form)->selectedDate(), QDate(2026, 2, 28));

            QTest::keyClick(calendarView(form), Qt::Key_Y);
            QCOMPARE(tqtest::control<QListWidget>(form, "YearList")->currentItem()->text(), "2026");
            clickItem(tqtest::control<QListWidget>(form, "YearList"), "2028");
            QCOMPARE(month(form)->yearShown(), 2028);
            calendarFace = form.grab();
            tqtest::control<QPushButton>(form, "cmdOK")->click();
        });
        QCOMPARE(askFollowUpDate("Enter follow-up date"), "02-28-2028");
        ui.onShowOnce("Calendar", [&](QDialog& dialog) {
            enter(screen(dialog), "buttons", "1 9 . 9 9 x 3 =");
            calculatorFace = dialog.grab();
        });
        openCalculator();
        QVERIFY(!calendarFace.isNull() && !calculatorFace.isNull());
        QVERIFY(calculatorFace.width() < calendarFace.width());
        QVERIFY(calculatorFace.height() < calendarFace.height());
    }

    void calculator_data() {
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("answer");
        const QString none;
        calculatorRow("product", "buttons", "1 2 . 5 x 4 =", "50", none, "ok", "50");
        calculatorRow("zero with decimals", "buttons", "0 . 0 0", "0.00", none, "ok", "0");
        calculatorRow("nothing entered", "buttons", "", "0", none, "ok", "0");
        calculatorRow("keys * Enter", "keys", "12*3 Enter", "36", none, "ok", "36");
        calculatorRow("keys , x /", "keys", "9,5x2/4=", "4.75", none, "ok", "4.75");
        calculatorRow("keys Backspace %", "keys", "88 Backspace 4%", "0.04", none, "ok", "0.04");
        calculatorRow("keys c", "keys", "5+3c2=", "2", none, "ok", "2");
        calculatorRow("divide by zero", "buttons", "8 / 0 =", "8", "Can't divide by zero.", "ok",
                      "8");
        calculatorRow("1E+300 is too large", "keys", QString("100000000000000x").repeated(22),
                      "1E+294", "The result is too large for the calculator (1E+300 or more).",
                      "ok", "1E+294");
        calculatorRow("cancelled", "buttons", "4 2", "42", none, "cancel", none);
        calculatorRow("close box", "keys", "42", "42", none, "close", none);
    }

    void calculator() {
        QFETCH(QString, via);
        QFETCH(QString, input);
        QFETCH(QString, display);
        QFETCH(QString, message);
        QFETCH(QString, how);
        QFETCH(QString, answer);
        TQ_FIXTURE(f);
        f.host->setScreenText("a caption that does not apply");
        ScriptedUi ui;
        ui.onShow("Calendar", [&](QDialog& dialog) {
            Calendar& form = screen(dialog);
            QCOMPARE(form.windowTitle(), "Calculator");
            QCOMPARE(ScreenResultText(), "0");
            QVERIFY(tqtest::control<QLineEdit>(form, "Readout")->isVisible() &&
                    !month(form)->isVisible());
            enter(form, via, input);
            QCOMPARE(tqtest::control<QLineEdit>(form, "Readout")->text(), display);
            if (how == u"ok") {
                tqtest::control<QPushButton>(form, "cmdCalcOK")->click();
            } else if (how == u"cancel") {
                tqtest::control<QPushButton>(form, "cmdCalcCancel")->click();
            }
        });
        QCOMPARE(openCalculator(), answer);
        QCOMPARE(f.host->ScreenNumber(), screenNumberFor(answer));
        QCOMPARE(ui.prompts(), message.isEmpty() ? QStringList() : QStringList{message});
        for (const ScriptedUi::Message& shown : ui.messages) {
            QCOMPARE(shown.title, "Calculator");
        }
    }
};

TQ_TEST_MAIN(CalendarScreenTest)
#include "tst_db_calendar.moc"
