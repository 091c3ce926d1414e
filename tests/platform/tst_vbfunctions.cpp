#include "TestMain.h"

#include <tqglobal/Error.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Vb.h>

#include <QDateTime>
#include <QObject>
#include <QVariant>

#include <functional>
#include <limits>

using tqplatform::Currency;
namespace vb = tqplatform::vb;

namespace {

/// The run-time error number a call raises, 0 when it raises none.
long errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const tqGlobal::Error& error) {
        return error.number();
    }
    return 0;
}

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
    void val_data();
    void val();
    void clng_data();
    void clng();
    void cint_data();
    void cint();
    void ccur_data();
    void ccur();
    void isNumeric_data();
    void isNumeric();
    void cdate_data();
    void cdate();
    void dateAdd_data();
    void dateAdd();
    void dateDiff_data();
    void dateDiff();
    void badDateArguments();
    void text_data();
    void text();
    void timerIsTimeOfDay();
};

void TestVbFunctions::val_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::addColumn<long>("error");

    QTest::newRow("leading number") << "  12.5abc" << 12.5 << 0L;
    QTest::newRow("blanks ignored") << "1 2 3" << 123.0 << 0L;
    QTest::newRow("tabs and line feeds ignored") << "\t-\n4" << -4.0 << 0L;
    QTest::newRow("hexadecimal") << "&H1F" << 31.0 << 0L;
    QTest::newRow("hexadecimal lower case") << "&h1f" << 31.0 << 0L;
    QTest::newRow("hexadecimal stops") << "&H1FG" << 31.0 << 0L;
    QTest::newRow("hexadecimal integer") << "&HFFFF" << -1.0 << 0L;
    QTest::newRow("hexadecimal long") << "&H10000" << 65536.0 << 0L;
    QTest::newRow("hexadecimal long negative") << "&HFFFFFFFF" << -1.0 << 0L;
    QTest::newRow("hexadecimal too long") << "&H100000000" << 0.0 << Overflow;
    QTest::newRow("octal") << "&O17" << 15.0 << 0L;
    QTest::newRow("octal short") << "&17" << 15.0 << 0L;
    QTest::newRow("octal stops at 8") << "&O178" << 15.0 << 0L;
    QTest::newRow("prefix only") << "&H" << 0.0 << 0L;
    QTest::newRow("empty") << "" << 0.0 << 0L;
    QTest::newRow("no number") << "abc" << 0.0 << 0L;
    QTest::newRow("sign only") << "-" << 0.0 << 0L;
    QTest::newRow("negative") << "-3.5" << -3.5 << 0L;
    QTest::newRow("plus") << "+7" << 7.0 << 0L;
    QTest::newRow("leading point") << ".5" << 0.5 << 0L;
    QTest::newRow("second point stops") << "1.2.3" << 1.2 << 0L;
    QTest::newRow("comma stops") << "1,234" << 1.0 << 0L;
    QTest::newRow("exponent") << "1e3" << 1000.0 << 0L;
    QTest::newRow("D exponent") << "1D2" << 100.0 << 0L;
    QTest::newRow("negative exponent") << "25E-1x" << 2.5 << 0L;
    QTest::newRow("exponent without digits") << "1e" << 1.0 << 0L;
    QTest::newRow("dollar stops") << "$5" << 0.0 << 0L;
    QTest::newRow("too large") << "1e400" << 0.0 << Overflow;
    QTest::newRow("too small is zero") << "1e-400" << 0.0 << 0L;
}

void TestVbFunctions::val() {
    QFETCH(QString, text);
    QFETCH(double, expected);
    QFETCH(long, error);
    double actual = -999;
    QCOMPARE(errorOf([&] { actual = vb::Val(text); }), error);
    if (error == 0) {
        QCOMPARE(actual, expected);
    }
}

void TestVbFunctions::clng_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<qint64>("expected");
    QTest::addColumn<long>("error");

    QTest::newRow("half to even down") << QVariant(2.5) << qint64(2) << 0L;
    QTest::newRow("half to even up") << QVariant(3.5) << qint64(4) << 0L;
    QTest::newRow("negative half down") << QVariant(-2.5) << qint64(-2) << 0L;
    QTest::newRow("negative half up") << QVariant(-3.5) << qint64(-4) << 0L;
    QTest::newRow("just below half") << QVariant(2.4999999) << qint64(2) << 0L;
    QTest::newRow("just above half") << QVariant(2.5000001) << qint64(3) << 0L;
    QTest::newRow("binary just below half") << QVariant(3.4999999999999996) << qint64(3) << 0L;
    QTest::newRow("text half") << QVariant("2.5") << qint64(2) << 0L;
    QTest::newRow("text odd half") << QVariant("3.5") << qint64(4) << 0L;
    QTest::newRow("text blanks") << QVariant(" 12 ") << qint64(12) << 0L;
    QTest::newRow("text display amount") << QVariant("$1,234.50") << qint64(1234) << 0L;
    QTest::newRow("text exponent") << QVariant("1e3") << qint64(1000) << 0L;
    QTest::newRow("text hexadecimal") << QVariant("&H1F") << qint64(31) << 0L;
    QTest::newRow("text parentheses") << QVariant("(7)") << qint64(-7) << 0L;
    QTest::newRow("text not a number") << QVariant("abc") << qint64(0) << TypeMismatch;
    QTest::newRow("text empty") << QVariant("") << qint64(0) << TypeMismatch;
    QTest::newRow("text trailing letters") << QVariant("12abc") << qint64(0) << TypeMismatch;
    QTest::newRow("largest") << QVariant(2147483647.0) << qint64(2147483647) << 0L;
    QTest::newRow("largest plus half") << QVariant(2147483647.5) << qint64(0) << Overflow;
    QTest::newRow("past largest") << QVariant(2147483648.0) << qint64(0) << Overflow;
    QTest::newRow("smallest") << QVariant(-2147483648.0) << qint64(-2147483648LL) << 0L;
    QTest::newRow("smallest minus half") << QVariant(-2147483648.5) << qint64(-2147483648LL) << 0L;
    QTest::newRow("text past largest") << QVariant("2147483648") << qint64(0) << Overflow;
    QTest::newRow("text enormous") << QVariant("99999999999999999999999") << qint64(0) << Overflow;
    QTest::newRow("text huge exponent") << QVariant("1e999999999999") << qint64(0) << Overflow;
    QTest::newRow("long long too large") << QVariant(qlonglong(1) << 40) << qint64(0) << Overflow;
    QTest::newRow("unsigned too large")
        << QVariant(std::numeric_limits<qulonglong>::max()) << qint64(0) << Overflow;
    QTest::newRow("not a number") << QVariant(std::numeric_limits<double>::quiet_NaN()) << qint64(0)
                                  << Overflow;
    QTest::newRow("true") << QVariant(true) << qint64(-1) << 0L;
    QTest::newRow("currency half") << money(25000) << qint64(2) << 0L;
    QTest::newRow("currency odd half") << money(35000) << qint64(4) << 0L;
    QTest::newRow("currency negative") << money(-35001) << qint64(-4) << 0L;
    QTest::newRow("null") << QVariant() << qint64(0) << InvalidUseOfNull;
    QTest::newRow("database null")
        << QVariant(QMetaType::fromType<int>()) << qint64(0) << InvalidUseOfNull;
    QTest::newRow("date") << QVariant(QDate(1900, 1, 1)) << qint64(2) << 0L;
}

void TestVbFunctions::clng() {
    QFETCH(QVariant, value);
    QFETCH(qint64, expected);
    QFETCH(long, error);
    qint64 actual = -999;
    QCOMPARE(errorOf([&] { actual = vb::CLng(value); }), error);
    if (error == 0) {
        QCOMPARE(actual, expected);
    }
}

void TestVbFunctions::cint_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<long>("error");

    QTest::newRow("largest") << QVariant(32767.4) << 32767 << 0L;
    QTest::newRow("rounds past largest") << QVariant(32767.5) << 0 << Overflow;
    QTest::newRow("smallest half") << QVariant(-32768.5) << -32768 << 0L;
    QTest::newRow("text too large") << QVariant("40000") << 0 << Overflow;
    QTest::newRow("long too large") << QVariant(70000) << 0 << Overflow;
    QTest::newRow("half of odd") << QVariant(1.5) << 2 << 0L;
    QTest::newRow("half of zero") << QVariant(0.5) << 0 << 0L;
    QTest::newRow("text") << QVariant("-12.5") << -12 << 0L;
    QTest::newRow("not a number") << QVariant("x") << 0 << TypeMismatch;
}

void TestVbFunctions::cint() {
    QFETCH(QVariant, value);
    QFETCH(int, expected);
    QFETCH(long, error);
    int actual = -999;
    QCOMPARE(errorOf([&] { actual = vb::CInt(value); }), error);
    if (error == 0) {
        QCOMPARE(actual, expected);
    }
}

void TestVbFunctions::ccur_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<long>("error");

    QTest::newRow("text rounds at four decimals")
        << QVariant("1234.56789") << qint64(12345679) << 0L;
    QTest::newRow("text half to even down") << QVariant("0.00005") << qint64(0) << 0L;
    QTest::newRow("text half to even up") << QVariant("0.00015") << qint64(2) << 0L;
    QTest::newRow("text display") << QVariant("$1,234.50") << qint64(12345000) << 0L;
    QTest::newRow("text parentheses") << QVariant("(5)") << qint64(-50000) << 0L;
    QTest::newRow("text trailing minus") << QVariant("5-") << qint64(-50000) << 0L;
    QTest::newRow("text exponent") << QVariant("1.5e2") << qint64(1500000) << 0L;
    QTest::newRow("text hexadecimal") << QVariant("&HFFFF") << qint64(-10000) << 0L;
    QTest::newRow("double") << QVariant(2.5) << qint64(25000) << 0L;
    QTest::newRow("double binary tail") << QVariant(0.1 + 0.2) << qint64(3000) << 0L;
    QTest::newRow("integer") << QVariant(3) << qint64(30000) << 0L;
    QTest::newRow("currency") << money(-7) << qint64(-7) << 0L;
    QTest::newRow("true") << QVariant(true) << qint64(-10000) << 0L;
    QTest::newRow("not a number") << QVariant("abc") << qint64(0) << TypeMismatch;
    QTest::newRow("too large text") << QVariant("1e20") << qint64(0) << Overflow;
    QTest::newRow("too large double") << QVariant(1e20) << qint64(0) << Overflow;
    QTest::newRow("too large integer")
        << QVariant(qlonglong(1000000000000000LL)) << qint64(0) << Overflow;
    QTest::newRow("null") << QVariant() << qint64(0) << InvalidUseOfNull;
}

void TestVbFunctions::ccur() {
    QFETCH(QVariant, value);
    QFETCH(qint64, raw);
    QFETCH(long, error);
    Currency actual;
    QCOMPARE(errorOf([&] { actual = vb::CCur(value); }), error);
    if (error == 0) {
        QCOMPARE(actual.raw(), raw);
    }
}

void TestVbFunctions::isNumeric_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("expected");

    QTest::newRow("whole") << QVariant("12") << true;
    QTest::newRow("blanks and decimals") << QVariant(" 12.5 ") << true;
    QTest::newRow("display amount") << QVariant("$1,234.50") << true;
    QTest::newRow("parentheses") << QVariant("(5)") << true;
    QTest::newRow("trailing minus") << QVariant("5-") << true;
    QTest::newRow("leading minus") << QVariant("-5") << true;
    QTest::newRow("exponent") << QVariant("1e3") << true;
    QTest::newRow("D exponent") << QVariant("1D3") << true;
    QTest::newRow("hexadecimal") << QVariant("&H1F") << true;
    QTest::newRow("bad hexadecimal") << QVariant("&HZZ") << false;
    QTest::newRow("empty") << QVariant("") << false;
    QTest::newRow("blank") << QVariant("  ") << false;
    QTest::newRow("letters") << QVariant("abc") << false;
    QTest::newRow("trailing letters") << QVariant("12abc") << false;
    QTest::newRow("exponent without digits") << QVariant("1e") << false;
    QTest::newRow("point only") << QVariant(".") << false;
    QTest::newRow("dollar only") << QVariant("$") << false;
    QTest::newRow("minus only") << QVariant("-") << false;
    QTest::newRow("two points") << QVariant("1.2.3") << false;
    QTest::newRow("two signs") << QVariant("-5-") << false;
    QTest::newRow("date text") << QVariant("12/31/2026") << false;
    QTest::newRow("integer") << QVariant(5) << true;
    QTest::newRow("double") << QVariant(2.5) << true;
    QTest::newRow("boolean") << QVariant(true) << true;
    QTest::newRow("currency") << money(1) << true;
    QTest::newRow("null") << QVariant() << false;
    QTest::newRow("date") << QVariant(QDate(2026, 1, 5)) << false;
}

void TestVbFunctions::isNumeric() {
    QFETCH(QVariant, value);
    QFETCH(bool, expected);
    QCOMPARE(vb::IsNumeric(value), expected);
}

void TestVbFunctions::cdate_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("isDate");
    QTest::addColumn<QDateTime>("expected");  // also for numbers, which are not IsDate

    const QDateTime newYearsEve = at(2026, 12, 31);
    QTest::newRow("slashes") << QVariant("12/31/2026") << true << newYearsEve;
    QTest::newRow("dashes") << QVariant("12-31-2026") << true << newYearsEve;
    QTest::newRow("year first") << QVariant("2026-12-31") << true << newYearsEve;
    QTest::newRow("month name first") << QVariant("Dec 31, 2026") << true << newYearsEve;
    QTest::newRow("full month name") << QVariant("December 31, 2026") << true << newYearsEve;
    QTest::newRow("day first") << QVariant("31 December 2026") << true << newYearsEve;
    QTest::newRow("day name ignored")
        << QVariant("Thursday, December 31, 2026") << true << newYearsEve;
    QTest::newRow("day past twelve swaps") << QVariant("31/12/2026") << true << newYearsEve;
    QTest::newRow("month and year") << QVariant("Jan 2026") << true << at(2026, 1, 1);
    QTest::newRow("two-digit year this century") << QVariant("1/5/26") << true << at(2026, 1, 5);
    QTest::newRow("two-digit year last century") << QVariant("1/5/45") << true << at(1945, 1, 5);
    QTest::newRow("month and day this year")
        << QVariant("12/31") << true << at(QDate::currentDate().year(), 12, 31);
    QTest::newRow("with time") << QVariant("12/31/2026 3:07 PM") << true << at(2026, 12, 31, 15, 7);
    QTest::newRow("with seconds") << QVariant("12/31/2026 15:07:09") << true
                                  << at(2026, 12, 31, 15, 7, 9);
    QTest::newRow("time only") << QVariant("3:07 PM") << true << at(1899, 12, 30, 15, 7);
    QTest::newRow("hour and meridiem") << QVariant("3 PM") << true << at(1899, 12, 30, 15);
    QTest::newRow("half past midnight") << QVariant("12:30 AM") << true << at(1899, 12, 30, 0, 30);
    QTest::newRow("date value") << QVariant(QDate(2026, 1, 5)) << true << at(2026, 1, 5);
    QTest::newRow("date time value") << QVariant(at(2026, 1, 5, 8)) << true << at(2026, 1, 5, 8);

    QTest::newRow("no such day") << QVariant("2/30/2026") << false << QDateTime();
    QTest::newRow("no such month") << QVariant("13/13/2026") << false << QDateTime();
    QTest::newRow("decimal number") << QVariant("12.5") << false << QDateTime();
    QTest::newRow("lone number") << QVariant("12") << false << QDateTime();
    QTest::newRow("hour too large") << QVariant("25:00") << false << QDateTime();
    QTest::newRow("meridiem hour too large") << QVariant("13:00 PM") << false << QDateTime();
    QTest::newRow("two times") << QVariant("1/5/2026 3:07 PM 4:00") << false << QDateTime();
    QTest::newRow("unknown word") << QVariant("12/31/2026 soon") << false << QDateTime();
    QTest::newRow("year too long") << QVariant("12/31/99999") << false << QDateTime();
    QTest::newRow("text") << QVariant("abc") << false << QDateTime();
    QTest::newRow("empty") << QVariant("") << false << QDateTime();
    QTest::newRow("null") << QVariant() << false << QDateTime();
    QTest::newRow("serial number") << QVariant(45000.5) << false << at(2023, 3, 15, 12);
}

void TestVbFunctions::cdate() {
    QFETCH(QVariant, value);
    QFETCH(bool, isDate);
    QFETCH(QDateTime, expected);
    QCOMPARE(vb::IsDate(value), isDate);
    const auto converted = vb::CDate(value);
    QCOMPARE(converted.has_value(), expected.isValid());
    if (converted) {
        QCOMPARE(*converted, expected);
    }
}

void TestVbFunctions::dateAdd_data() {
    QTest::addColumn<QString>("interval");
    QTest::addColumn<qint64>("number");
    QTest::addColumn<QDateTime>("date");
    QTest::addColumn<QDateTime>("expected");

    QTest::newRow("month to shorter month")
        << "m" << qint64(3) << at(2027, 1, 31) << at(2027, 4, 30);
    QTest::newRow("month to leap February")
        << "m" << qint64(1) << at(2024, 1, 31) << at(2024, 2, 29);
    QTest::newRow("month back") << "m" << qint64(-1) << at(2026, 3, 31) << at(2026, 2, 28);
    QTest::newRow("month keeps time")
        << "M" << qint64(1) << at(2026, 1, 15, 9, 30) << at(2026, 2, 15, 9, 30);
    QTest::newRow("year from leap day")
        << "yyyy" << qint64(1) << at(2024, 2, 29) << at(2025, 2, 28);
    QTest::newRow("quarter") << "q" << qint64(1) << at(2026, 11, 30) << at(2027, 2, 28);
    QTest::newRow("day over year end")
        << "d" << qint64(1) << at(2026, 12, 31, 23) << at(2027, 1, 1, 23);
    QTest::newRow("day of year") << "y" << qint64(-1) << at(2026, 3, 1) << at(2026, 2, 28);
    QTest::newRow("weekday") << "w" << qint64(1) << at(2026, 1, 9) << at(2026, 1, 10);
    QTest::newRow("weeks") << "ww" << qint64(2) << at(2026, 1, 5) << at(2026, 1, 19);
    QTest::newRow("hours over midnight")
        << "h" << qint64(2) << at(2026, 1, 5, 23, 30) << at(2026, 1, 6, 1, 30);
    QTest::newRow("minutes back over midnight")
        << "n" << qint64(-31) << at(2026, 1, 5, 0, 30) << at(2026, 1, 4, 23, 59);
    QTest::newRow("seconds of a day")
        << "s" << qint64(86400) << at(2026, 1, 5, 8) << at(2026, 1, 6, 8);
    QTest::newRow("interval blanks and case")
        << " D " << qint64(10) << at(2026, 1, 5) << at(2026, 1, 15);
}

void TestVbFunctions::dateAdd() {
    QFETCH(QString, interval);
    QFETCH(qint64, number);
    QFETCH(QDateTime, date);
    QFETCH(QDateTime, expected);
    QCOMPARE(vb::DateAdd(interval, number, date), expected);
    if (date.time() == QTime(0, 0) && expected.time() == QTime(0, 0)) {
        QCOMPARE(vb::DateAdd(interval, number, date.date()), expected.date());
    }
}

void TestVbFunctions::dateDiff_data() {
    QTest::addColumn<QString>("interval");
    QTest::addColumn<QDateTime>("first");
    QTest::addColumn<QDateTime>("second");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("day boundary") << "d" << at(2026, 1, 5, 23, 59) << at(2026, 1, 6, 0, 1)
                                  << qint64(1);
    QTest::newRow("day boundary backwards")
        << "d" << at(2026, 1, 6, 0, 1) << at(2026, 1, 5, 23, 59) << qint64(-1);
    QTest::newRow("same day") << "d" << at(2026, 1, 5, 0, 0) << at(2026, 1, 5, 23, 59) << qint64(0);
    QTest::newRow("day of year") << "y" << at(2026, 1, 1) << at(2027, 1, 1) << qint64(365);
    QTest::newRow("month boundary") << "m" << at(2026, 1, 31) << at(2026, 2, 1) << qint64(1);
    QTest::newRow("month not crossed") << "m" << at(2026, 1, 1) << at(2026, 1, 31) << qint64(0);
    QTest::newRow("months over years") << "m" << at(2025, 11, 15) << at(2027, 2, 1) << qint64(15);
    QTest::newRow("year boundary") << "yyyy" << at(2026, 12, 31) << at(2027, 1, 1) << qint64(1);
    QTest::newRow("year not crossed") << "yyyy" << at(2026, 1, 1) << at(2026, 12, 31) << qint64(0);
    QTest::newRow("quarter boundary") << "q" << at(2026, 3, 31) << at(2026, 4, 1) << qint64(1);
    QTest::newRow("hour boundary")
        << "h" << at(2026, 1, 5, 10, 59) << at(2026, 1, 5, 11, 0) << qint64(1);
    QTest::newRow("hour not crossed")
        << "h" << at(2026, 1, 5, 10, 0) << at(2026, 1, 5, 10, 59) << qint64(0);
    QTest::newRow("hour back over midnight")
        << "h" << at(2026, 1, 6, 0, 30) << at(2026, 1, 5, 23, 30) << qint64(-1);
    QTest::newRow("minute boundary")
        << "n" << at(2026, 1, 5, 10, 0, 59) << at(2026, 1, 5, 10, 1, 0) << qint64(1);
    QTest::newRow("seconds") << "s" << at(2026, 1, 5, 10, 0, 0) << at(2026, 1, 5, 10, 1, 1)
                             << qint64(61);
    QTest::newRow("whole weeks") << "w" << at(2026, 1, 5) << at(2026, 1, 18) << qint64(1);
    QTest::newRow("whole weeks backwards")
        << "w" << at(2026, 1, 18) << at(2026, 1, 5) << qint64(-1);
    QTest::newRow("Sunday crossed") << "ww" << at(2026, 1, 10) << at(2026, 1, 11) << qint64(1);
    QTest::newRow("no Sunday crossed") << "ww" << at(2026, 1, 11) << at(2026, 1, 17) << qint64(0);
}

void TestVbFunctions::dateDiff() {
    QFETCH(QString, interval);
    QFETCH(QDateTime, first);
    QFETCH(QDateTime, second);
    QFETCH(qint64, expected);
    QCOMPARE(vb::DateDiff(interval, first, second), expected);
    QCOMPARE(vb::DateDiff(interval, first.date(), second.date()),
             vb::DateDiff(interval, QDateTime(first.date(), QTime(0, 0)),
                          QDateTime(second.date(), QTime(0, 0))));
}

void TestVbFunctions::badDateArguments() {
    const QDateTime day = at(2026, 1, 5);
    QCOMPARE(errorOf([&] { vb::DateAdd("x", 1, day); }), InvalidCall);
    QCOMPARE(errorOf([&] { vb::DateAdd("yyyy", 9000, day); }), InvalidCall);
    QCOMPARE(errorOf([&] { vb::DateAdd("d", std::numeric_limits<qint64>::max(), day); }),
             InvalidCall);
    QCOMPARE(errorOf([&] { vb::DateAdd("s", std::numeric_limits<qint64>::min(), day); }),
             InvalidCall);
    QCOMPARE(errorOf([&] { vb::DateAdd("d", 1, QDateTime()); }), InvalidCall);
    QCOMPARE(errorOf([&] { vb::DateAdd("d", 1, QDate()); }), InvalidCall);
    QCOMPARE(errorOf([&] { vb::DateDiff("x", day, day); }), InvalidCall);
    QCOMPARE(errorOf([&] { vb::DateDiff("d", QDateTime(), day); }), InvalidCall);
}

void TestVbFunctions::text_data() {
    QTest::addColumn<QString>("call");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<long>("error");

    QTest::newRow("Left") << "Left 3"
                          << "abc" << 0L;
    QTest::newRow("Left beyond") << "Left 10"
                                 << "abcdef" << 0L;
    QTest::newRow("Left negative") << "Left -1"
                                   << "" << InvalidCall;
    QTest::newRow("Right") << "Right 2"
                           << "ef" << 0L;
    QTest::newRow("Right negative") << "Right -1"
                                    << "" << InvalidCall;
    QTest::newRow("Mid") << "Mid 2 3"
                         << "bcd" << 0L;
    QTest::newRow("Mid to end") << "Mid 5"
                                << "ef" << 0L;
    QTest::newRow("Mid past end") << "Mid 10 2"
                                  << "" << 0L;
    QTest::newRow("Mid from zero") << "Mid 0 2"
                                   << "" << InvalidCall;
    QTest::newRow("FixedWidth pads") << "FixedWidth 8"
                                     << "abcdef  " << 0L;
    QTest::newRow("FixedWidth cuts") << "FixedWidth 4"
                                     << "abcd" << 0L;
    QTest::newRow("FixedWidth none") << "FixedWidth 0"
                                     << "" << 0L;
}

void TestVbFunctions::text() {
    QFETCH(QString, call);
    QFETCH(QString, expected);
    QFETCH(long, error);
    const QString source = QStringLiteral("abcdef");
    const QStringList parts = call.split(u' ');
    const int a = parts.value(1).toInt();
    const int b = parts.size() > 2 ? parts[2].toInt() : -1;
    QString actual;
    const long raised = errorOf([&] {
        if (parts[0] == u"Left") {
            actual = vb::Left(source, a);
        } else if (parts[0] == u"Right") {
            actual = vb::Right(source, a);
        } else if (parts[0] == u"Mid") {
            actual = vb::Mid(source, a, b);
        } else {
            actual = vb::FixedWidth(source, a);
        }
    });
    QCOMPARE(raised, error);
    QCOMPARE(actual, expected);
}

void TestVbFunctions::timerIsTimeOfDay() {
    const double seconds = vb::Timer();
    QVERIFY(seconds >= 0.0);
    QVERIFY(seconds < 86400.0);
}

TQ_TEST_MAIN(TestVbFunctions)

#include "tst_vbfunctions.moc"
