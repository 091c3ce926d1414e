#include "TestMain.h"

#include <tqservicecode/entry/CalendarRules.h>

using namespace tqservicecode::calendar;

namespace {

/// Presses the space-separated keys; answers the display, with "!" appended for each
/// division by zero the calculator refused.
QString run(Calculator& calculator, const QString& keys) {
    QString refused;
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        if (calculator.press(key) == Calculator::Outcome::DivideByZero) {
            refused += u'!';
        }
    }
    return calculator.display() + refused;
}

}  // namespace

class CalendarRulesTest : public QObject {
    Q_OBJECT

private slots:
    void monthsAhead_data() {
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("31 Jan +3: end of April, then a day")
            << QDate(2026, 1, 31) << 3 << QDate(2026, 5, 1);
        QTest::newRow("leap day +3") << QDate(2028, 2, 29) << 3 << QDate(2028, 5, 30);
        QTest::newRow("30 Nov +3 lands on leap day")
            << QDate(2027, 11, 30) << 3 << QDate(2028, 3, 1);
        QTest::newRow("turn of the year") << QDate(2026, 11, 15) << 3 << QDate(2027, 2, 16);
        QTest::newRow("31 Aug +6: end of February") << QDate(2026, 8, 31) << 6 << QDate(2027, 3, 1);
        QTest::newRow("31 Dec +6") << QDate(2026, 12, 31) << 6 << QDate(2027, 7, 1);
        QTest::newRow("no selection: host default date") << QDate() << 3 << QDate(2026, 7, 11);
        QTest::newRow("beyond the last year") << QDate(9999, 11, 1) << 3 << QDate();
    }

    void monthsAhead() {
        QFETCH(QDate, selected);
        QFETCH(int, months);
        QFETCH(QDate, expected);
        const auto hostDefault = [] { return QDate(2026, 4, 10); };
        QCOMPARE(tqservicecode::calendar::monthsAhead(selected, months, hostDefault), expected);
    }

    void relativeCaption_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("caption");
        QTest::newRow("today") << 0 << "today";
        QTest::newRow("tomorrow") << 1 << "1 day from today";
        QTest::newRow("day after tomorrow") << 2 << "2 days from today";
        QTest::newRow("yesterday") << -1 << "1 day ago";
        QTest::newRow("two days ago") << -2 << "2 days ago";
        QTest::newRow("over a year ahead") << 400 << "400 days from today";
    }

    void relativeCaption() {
        QFETCH(int, offset);
        QFETCH(QString, caption);
        const QDate today(2026, 12, 31);  // the turn of the year in between
        QCOMPARE(tqservicecode::calendar::relativeCaption(today, today.addDays(offset)), caption);
        const QColor colour = relativeCaptionColor(today, today.addDays(offset));
        const QColor todayColour = relativeCaptionColor(today, today);
        QCOMPARE(colour == todayColour, offset == 0);
    }

    void screenParameterKeywords_data() {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<bool>("title");
        QTest::addColumn<bool>("calculator");
        QTest::newRow("GET_TITLE") << "GET_TITLE" << true << false;
        QTest::newRow("contained") << "XGET_TITLEY" << true << false;
        QTest::newRow("lower case") << "get_title" << false << false;
        QTest::newRow("CALCULATOR") << "CALCULATOR" << false << true;
        QTest::newRow("ends in it") << "FEE1CALCULATOR" << false << true;
        QTest::newRow("blank after") << "CALCULATOR " << false << false;
        QTest::newRow("both") << "GET_TITLE CALCULATOR" << true << true;
        QTest::newRow("empty") << "" << false << false;
    }

    void screenParameterKeywords() {
        QFETCH(QString, parameter);
        QFETCH(bool, title);
        QFETCH(bool, calculator);
        QCOMPARE(asksForTitle(parameter), title);
        QCOMPARE(asksForCalculator(parameter), calculator);
    }

    void treatmentDates() {
        QCOMPARE(treatmentDateEntries({QDate(2026, 1, 15), QDate(2026, 3, 4)}, QDate(2026, 7, 1)),
                 QStringList({"01-15-2026", "03-04-2026"}));
        QCOMPARE(treatmentDateEntries({}, QDate(2026, 7, 1)), QStringList({"07-01-2026"}));
        QCOMPARE(treatmentDateAnswer("03-04-2026"), QString("03-04-2026"));
        QCOMPARE(treatmentDateAnswer("3/4/2026"), QString("03-04-2026"));
        QCOMPARE(treatmentDateAnswer("soon"), QString());
        QCOMPARE(treatmentDateAnswer(""), QString());
    }

    void calculator_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        QTest::newRow("sum") << "1 2 + 3 0 ="
                             << "42";
        QTest::newRow("difference below zero") << "5 - 8 ="
                                               << "-3";
        QTest::newRow("product of decimals") << "1 2 . 5 x 0 . 4 ="
                                             << "5";
        QTest::newRow("quotient") << "9 / 4 ="
                                  << "2.25";
        QTest::newRow("thirds") << "1 / 3 ="
                                << "0.333333333333333";
        QTest::newRow("chain computes left to right") << "2 + 3 x 4 ="
                                                      << "20";
        QTest::newRow("operator shows running result") << "2 + 3 x"
                                                       << "5";
        QTest::newRow("second operator replaces the first") << "6 + x 2 ="
                                                            << "12";
        QTest::newRow("= then a number: the number") << "5 + 1 = 7 ="
                                                     << "7";
        QTest::newRow("result goes on") << "5 + 1 = + 4 ="
                                        << "10";
        QTest::newRow("percent") << "5 0 %"
                                 << "0.5";
        QTest::newRow("percent in a sum") << "2 0 0 + 5 % ="
                                          << "200.05";
        QTest::newRow("leading zeros") << "0 0 7"
                                       << "7";
        QTest::newRow("point starts 0.") << ". 5"
                                         << "0.5";
        QTest::newRow("second point ignored") << "1 . 2 . 3"
                                              << "1.23";
        QTest::newRow("CE clears the entry only") << "5 + 3 CE 4 ="
                                                  << "9";
        QTest::newRow("CE then operator takes 0") << "5 x 3 CE ="
                                                  << "0";
        QTest::newRow("C clears everything") << "5 + 3 C 2 ="
                                             << "2";
        QTest::newRow("digit after C") << "9 C 1"
                                       << "1";
        QTest::newRow("15 digits at most") << "1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7"
                                           << "123456789012345";
        QTest::newRow("large result") << "9 9 9 9 9 9 9 9 x 9 9 9 9 9 9 9 9 ="
                                      << "9.9999998E+15";
        QTest::newRow("division by zero keeps first") << "8 / 0 ="
                                                      << "8!";
        QTest::newRow("and goes on from it") << "8 / 0 = + 2 ="
                                             << "10!";
        QTest::newRow("division by 0.0") << "8 / 0 . 0 x"
                                         << "8!";
    }

    void calculator() {
        QFETCH(QString, keys);
        QFETCH(QString, display);
        Calculator calculator;
        QCOMPARE(calculator.display(), QString("0"));
        QCOMPARE(run(calculator, keys), display);
    }

    void calculatorAnswers_data() {
        QTest::addColumn<QString>("display");
        QTest::addColumn<QString>("answer");  // "(none)": the previous answer stays
        QTest::newRow("whole") << "42"
                               << "42";
        QTest::newRow("trailing zeros") << "12.50"
                                        << "12.5";
        QTest::newRow("zero with point") << "0."
                                         << "0";
        QTest::newRow("zeros") << "0.000"
                               << "0";
        QTest::newRow("negative") << "-3.25"
                                  << "-3.25";
        QTest::newRow("not numeric") << "E"
                                     << "(none)";
    }

    void calculatorAnswers() {
        QFETCH(QString, display);
        QFETCH(QString, answer);
        QCOMPARE(calculatorAnswer(display).value_or("(none)"), answer);
    }

    void keyboard_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("calculatorKey");
        QTest::newRow("7") << int(Qt::Key_7) << 0 << "7";
        QTest::newRow("keypad 0") << int(Qt::Key_0) << int(Qt::KeypadModifier) << "0";
        QTest::newRow("comma") << int(Qt::Key_Comma) << 0 << ".";
        QTest::newRow("asterisk") << int(Qt::Key_Asterisk) << 0 << "x";
        QTest::newRow("x") << int(Qt::Key_X) << 0 << "x";
        QTest::newRow("enter") << int(Qt::Key_Return) << 0 << "=";
        QTest::newRow("percent") << int(Qt::Key_Percent) << int(Qt::ShiftModifier) << "%";
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << "CE";
        QTest::newRow("c") << int(Qt::Key_C) << 0 << "C";
        QTest::newRow("alt+c is the Cancel button") << int(Qt::Key_C) << int(Qt::AltModifier) << "";
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << "";
        QTest::newRow("letter") << int(Qt::Key_Q) << 0 << "";
    }

    void keyboard() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, calculatorKey);
        QCOMPARE(calculatorKeyFor(key, Qt::KeyboardModifiers(modifiers)), calculatorKey);
    }

    void monthAndYearChoices() {
        QCOMPARE(monthNames().size(), 12);
        QCOMPARE(monthNames().first(), QString("January"));
        QCOMPARE(monthNames().last(), QString("December"));
        const QList<int> years = yearChoices(2026);
        QVERIFY(years.contains(2026) && years.contains(2006) && years.contains(2046));
        QCOMPARE(yearChoices(9995).last(), 9999);
    }
};

TQ_TEST_MAIN(CalendarRulesTest)
#include "tst_calendarrules.moc"
