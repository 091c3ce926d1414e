#include "Errors.h"
#include "TestMain.h"

#include <tqglobal/Error.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Vb.h>

#include <QDateTime>
#include <QObject>
#include <QVariant>

#include <functional>
#include <limits>
#include <map>

using tqplatform::Currency;
using tqtest::errorOf;
namespace vb = tqplatform::vb;

namespace {

QVariant money(qint64 raw) {
    return QVariant::fromValue(Currency::fromRaw(raw));
}

QDateTime at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

constexpr long Overflow = tqGlobal::ErrorNumber::Overflow;
constexpr long TypeMismatch = tqGlobal::ErrorNumber::TypeMismatch;
constexpr long InvalidUseOfNull = tqGlobal::ErrorNumber::InvalidUseOfNull;
constexpr long InvalidCall = 5;

}  // namespace

class TestVbFunctions : public QObject {
    Q_OBJECT

private slots:
    void numbers_data() {
        QTest::addColumn<QString>("function");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QVariant>("expected");  // CCur: ten-thousandths
        QTest::addColumn<long>("error");
        int n = 0;
        const auto row = [&n](const char* function, const QVariant& value, const QVariant& expected,
                              long error = 0) {
            QTest::addRow("%d %s(%s)", ++n, function, qPrintable(value.toString()))
                << QString::fromLatin1(function) << value << expected << error;
        };
        row("Val", "  12.5abc", 12.5);
        row("Val", "\t-\n1 2", -12.0);
        row("Val", "&HFFFF", -1.0);
        row("Val", "&h1f", 31.0);
        row("Val", "&H100000000", 0.0, Overflow);
        row("Val", "&O178", 15.0);
        row("Val", "1.2.3", 1.2);
        row("Val", "1,234", 1.0);
        row("Val", "$5", 0.0);
        row("Val", "1e400", 0.0, Overflow);
        // Banker's rounding to whole numbers.
        row("CLng", 2.5, qint64(2));
        row("CLng", 3.5, qint64(4));
        row("CLng", 3.4999999999999996, qint64(3));
        row("CLng", "2.5", qint64(2));
        row("CLng", "$1,234.50", qint64(1234));
        row("CLng", "12abc", 0, TypeMismatch);
        row("CLng", 2147483647.5, 0, Overflow);
        row("CLng", -2147483648.5, qint64(-2147483648LL));
        row("CLng", -2147483649.0, 0, Overflow);
        row("CLng", "1e999999999999", 0, Overflow);
        row("CLng", std::numeric_limits<double>::quiet_NaN(), 0, Overflow);
        row("CLng", money(35000), qint64(4));
        row("CLng", QVariant(), 0, InvalidUseOfNull);
        row("CInt", 32767.5, 0, Overflow);
        row("CInt", -32768.5, qint64(-32768));
        row("CInt", "40000", 0, Overflow);
        row("CCur", "1234.56789", qint64(12345679));
        row("CCur", "0.00005", qint64(0));
        row("CCur", "0.00015", qint64(2));
        row("CCur", 0.1 + 0.2, qint64(3000));
        row("CCur", 1e20, 0, Overflow);
        row("CCur", QVariant(), 0, InvalidUseOfNull);
        for (const char* text : {" 12.5 ", "$1,234.50", "(5)", "5-", "1D3", "&H1F"}) {
            row("IsNumeric", text, true);
        }
        row("CLng", "&h1F", qint64(31));
        for (const char* text :
             {"", "  ", "12abc", "1e", ".", "$", "1.2.3", "-5-", "&HZZ", "12/31/2026"}) {
            row("IsNumeric", text, false);
        }
        row("IsNumeric", money(1), true);
        row("IsNumeric", QVariant(), false);
        row("IsNumeric", QDate(2026, 1, 5), false);
    }

    void numbers() {
        QFETCH(QString, function);
        QFETCH(QVariant, value);
        QFETCH(QVariant, expected);
        QFETCH(long, error);
        using Call = std::function<QVariant(const QVariant&)>;
        const std::map<QString, Call> calls = {
            {"Val", [](const QVariant& v) { return QVariant(vb::Val(v.toString())); }},
            {"CLng", [](const QVariant& v) { return QVariant(qint64(vb::CLng(v))); }},
            {"CInt", [](const QVariant& v) { return QVariant(qint64(vb::CInt(v))); }},
            {"CCur", [](const QVariant& v) { return QVariant(qint64(vb::CCur(v).raw())); }},
            {"IsNumeric", [](const QVariant& v) { return QVariant(vb::IsNumeric(v)); }}};
        QVariant actual;
        QCOMPARE(errorOf([&] { actual = calls.at(function)(value); }), error);
        if (error == 0) {
            QCOMPARE(actual, expected);
        }
    }

    void cdate_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QDateTime>("expected");  // invalid: not a date
        const QDateTime newYearsEve = at(2026, 12, 31);
        QTest::newRow("slashes") << QVariant("12/31/2026") << newYearsEve;
        QTest::newRow("calendar text") << QVariant("12-31-2026") << newYearsEve;
        QTest::newRow("year first") << QVariant("2026-12-31") << newYearsEve;
        QTest::newRow("month name") << QVariant("Thursday, Dec 31, 2026") << newYearsEve;
        QTest::newRow("day past twelve swaps") << QVariant("31/12/2026") << newYearsEve;
        QTest::newRow("two-digit year this century") << QVariant("1/5/26") << at(2026, 1, 5);
        QTest::newRow("two-digit year last century") << QVariant("1/5/45") << at(1945, 1, 5);
        QTest::newRow("with time") << QVariant("12/31/2026 3:07 PM") << at(2026, 12, 31, 15, 7);
        QTest::newRow("time only") << QVariant("12:30 AM") << at(1899, 12, 30, 0, 30);
        QTest::newRow("date value") << QVariant(QDate(2026, 1, 5)) << at(2026, 1, 5);
        QTest::newRow("serial number") << QVariant(45000.5) << at(2023, 3, 15, 12);
        for (const char* text : {"2/30/2026", "13/13/2026", "12.5", "12", "25:00", "13:00 PM",
                                 "12/31/2026 soon", "12/31/99999", ""}) {
            QTest::newRow(text) << QVariant(text) << QDateTime();
        }
        QTest::newRow("null") << QVariant() << QDateTime();
    }

    void cdate() {
        QFETCH(QVariant, value);
        QFETCH(QDateTime, expected);
        // A number converts to a date but is not a date.
        QCOMPARE(vb::IsDate(value), expected.isValid() && value.typeId() != QMetaType::Double);
        const auto converted = vb::CDate(value);
        QCOMPARE(converted.value_or(QDateTime()), expected);
    }

    void dates() {
        // DateDiff(interval, first, second) gives number; where "added" also
        // DateAdd(interval, number, first) gives second.
        struct Row {
            const char *tag, *interval;
            qint64 number;
            QDateTime first, second;
            bool added = true;
        };
        const Row rows[] = {
            {"month to shorter month", "m", 3, at(2027, 1, 31), at(2027, 4, 30)},
            {"month to leap February", "m", 1, at(2024, 1, 31), at(2024, 2, 29)},
            {"month back", "m", -1, at(2026, 3, 31), at(2026, 2, 28)},
            {"year from leap day", "yyyy", 1, at(2024, 2, 29), at(2025, 2, 28)},
            {"quarter", "q", 1, at(2026, 11, 30), at(2027, 2, 28)},
            {"day over year end", " D ", 1, at(2026, 12, 31, 23), at(2027, 1, 1, 23)},
            {"minutes back over midnight", "n", -31, at(2026, 1, 5, 0, 30), at(2026, 1, 4, 23, 59)},
            {"day boundary crossed", "d", 1, at(2026, 1, 5, 23, 59), at(2026, 1, 6, 0, 1), false},
            {"day boundary backwards", "d", -1, at(2026, 1, 6, 0, 1), at(2026, 1, 5, 23, 59),
             false},
            {"month boundary crossed", "m", 1, at(2026, 1, 31), at(2026, 2, 1), false},
            {"months over years", "m", 15, at(2025, 11, 15), at(2027, 2, 1), false},
            {"hour back over midnight", "h", -1, at(2026, 1, 6, 0, 30), at(2026, 1, 5, 23, 30),
             false},
            {"whole weeks", "w", 1, at(2026, 1, 5), at(2026, 1, 18), false},
            {"Sunday crossed", "ww", 1, at(2026, 1, 10), at(2026, 1, 11), false},
            {"no Sunday crossed", "ww", 0, at(2026, 1, 11), at(2026, 1, 17), false},
        };
        for (const Row& row : rows) {
            QVERIFY2(vb::DateDiff(row.interval, row.first, row.second) == row.number, row.tag);
            if (row.added) {
                QCOMPARE(vb::DateAdd(row.interval, row.number, row.first), row.second);
            }
            if (row.added && row.first.time() == QTime(0, 0)) {
                QCOMPARE(vb::DateAdd(row.interval, row.number, row.first.date()),
                         row.second.date());
            }
        }
    }

    void badDateArguments() {
        const QDateTime day = at(2026, 1, 5);
        QCOMPARE(errorOf([&] { vb::DateAdd("x", 1, day); }), InvalidCall);
        QCOMPARE(errorOf([&] { vb::DateAdd("yyyy", 9000, day); }), InvalidCall);
        QCOMPARE(errorOf([&] { vb::DateAdd("d", std::numeric_limits<qint64>::max(), day); }),
                 InvalidCall);
        QCOMPARE(errorOf([&] { vb::DateAdd("d", 1, QDate()); }), InvalidCall);
        QCOMPARE(errorOf([&] { vb::DateDiff("d", QDateTime(), day); }), InvalidCall);
    }
};

TQ_TEST_MAIN(TestVbFunctions)

#include "tst_vbfunctions.moc"
