#include "TestMain.h"

#include <tqservicecode/entry/CalendarRules.h>

using namespace tqservicecode::calendar;

namespace {

/// Presses the space-separated keys; answers the display.
QString run(Calculator& calculator, const QString& keys) {
    for (const QString& key : keys.split(u' ', Qt::SkipEmptyParts)) {
        calculator.press(key);
    }
    return calculator.display();
}

/// A data row of two text columns.
void row(const char* name, const QString& input, const QString& expected) {
    QTest::newRow(name) << input << expected;
}

}  // namespace

class CalendarRulesTest : public QObject {
    Q_OBJECT

private slots:
    void monthsAhead_data() {
        QTest::addColumn<QDate>("selected");
        QTest::addColumn<int>("months");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("leap day +3") << QDate(2028, 2, 29) << 3 << QDate(2028, 5, 30);
        QTest::newRow("turn of the year") << QDate(2026, 11, 15) << 3 << QDate(2027, 2, 16);
        QTest::newRow("31 Aug +6: end of February") << QDate(2026, 8, 31) << 6 << QDate(2027, 3, 1);
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

    void screenParameterKeywords_data() {
        QTest::addColumn<QString>("parameter");
        QTest::addColumn<bool>("title");
        QTest::addColumn<bool>("calculator");
        QTest::newRow("GET_TITLE") << "GET_TITLE" << true << false;
        QTest::newRow("contained") << "XGET_TITLEY" << true << false;
        QTest::newRow("CALCULATOR") << "CALCULATOR" << false << true;
        QTest::newRow("ends in it") << "FEE1CALCULATOR" << false << true;
        QTest::newRow("blank after") << "CALCULATOR " << false << false;
        QTest::newRow("both") << "GET_TITLE CALCULATOR" << true << true;
    }

    void screenParameterKeywords() {
        QFETCH(QString, parameter);
        QFETCH(bool, title);
        QFETCH(bool, calculator);
        QCOMPARE(asksForTitle(parameter), title);
        QCOMPARE(asksForCalculator(parameter), calculator);
    }

    void calculator_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("display");
        row("sum", "1 2 + 3 0 =", "42");
        row("quotient", "9 / 4 =", "2.25");
        row("thirds", "1 / 3 =", "0.333333333333333");
        row("chain computes left to right", "2 + 3 x 4 =", "20");
        row("second operator replaces the first", "6 + x 2 =", "12");
        row("= then a number: the number", "5 + 1 = 7 =", "7");
        row("result goes on", "5 + 1 = + 4 =", "10");
        row("percent in a sum", "2 0 0 + 5 % =", "200.05");
        row("point starts 0.", ". 5", "0.5");
        row("second point ignored", "1 . 2 . 3", "1.23");
        row("CE clears the entry only", "5 + 3 CE 4 =", "9");
        row("CE then operator takes 0", "5 x 3 CE =", "0");
        row("15 digits at most", "1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7", "123456789012345");
        row("large result", "9 9 9 9 9 9 9 9 x 9 9 9 9 9 9 9 9 =", "9.9999998E+15");
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
        row("whole", "42", "42");
        row("trailing zeros", "12.50", "12.5");
        row("zero with point", "0.", "0");
        row("not numeric", "E", "(none)");
    }

    void calculatorAnswers() {
        QFETCH(QString, display);
        QFETCH(QString, answer);
        QCOMPARE(calculatorAnswer(display).value_or("(none)"), answer);
    }
};

TQ_TEST_MAIN(CalendarRulesTest)
#include "tst_calendarrules.moc"
