#include "TestMain.h"

#include <tqplatform/Currency.h>
#include <tqplatform/Vb.h>

#include <QDateTime>
#include <QObject>
#include <QRandomGenerator>
#include <QVariant>

#include <functional>

using tqplatform::Currency;
using tqplatform::vb::Format;

namespace {

__extension__ typedef __int128 Wide;

Wide power10(int exponent) {
    Wide result = 1;
    for (int i = 0; i < exponent; ++i) {
        result *= 10;
    }
    return result;
}

QString digitsOf(Wide value) {
    if (value == 0) {
        return QStringLiteral("0");
    }
    QString text;
    while (value > 0) {
        text.prepend(QChar(u'0' + static_cast<int>(value % 10)));
        value /= 10;
    }
    return text;
}

QString withCommas(const QString& digits) {
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += u',';
        }
        out += digits[i];
    }
    return out;
}

/// A decimal given as an unsigned count of units of 10^-scale, and its sign.
struct Amount {
    bool negative = false;
    Wide units = 0;
    int scale = 0;

    /// The number as a plain text "-12.345".
    QString text() const {
        QString digits = digitsOf(units).rightJustified(scale + 1, u'0');
        if (scale > 0) {
            digits.insert(digits.size() - scale, u'.');
        }
        return (negative ? QStringLiteral("-") : QString()) + digits;
    }
};

/// Reference rounding: the magnitude in units of 10^-decimals, half away from zero.
Wide roundedUnits(const Amount& amount, int decimals) {
    if (amount.scale <= decimals) {
        return amount.units * power10(decimals - amount.scale);
    }
    const Wide divisor = power10(amount.scale - decimals);
    Wide quotient = amount.units / divisor;
    if ((amount.units % divisor) * 2 >= divisor) {
        ++quotient;
    }
    return quotient;
}

struct Shown {
    bool zero;
    QString whole;
    QString decimals;
};

Shown shown(const Amount& amount, int decimals) {
    const Wide units = roundedUnits(amount, decimals);
    const Wide unit = power10(decimals);
    return {units == 0, digitsOf(units / unit),
            digitsOf(units % unit).rightJustified(decimals, u'0')};
}

/// The numeric formats in use, each spelled out independently of the code under test.
QString reference(const QString& format, const Amount& amount) {
    const bool negative = amount.negative;
    if (format == u"$0.00") {
        const Shown s = shown(amount, 2);
        return (negative && !s.zero ? QStringLiteral("-") : QString()) + u'$' + s.whole + u'.' +
               s.decimals;
    }
    if (format == u"###,##0.00") {
        const Shown s = shown(amount, 2);
        return (negative && !s.zero ? QStringLiteral("-") : QString()) + withCommas(s.whole) +
               u'.' + s.decimals;
    }
    if (format == u"0.000###") {
        const Shown s = shown(amount, 6);
        QString decimals = s.decimals;
        while (decimals.size() > 3 && decimals.endsWith(u'0')) {
            decimals.chop(1);
        }
        return (negative && !s.zero ? QStringLiteral("-") : QString()) + s.whole + u'.' + decimals;
    }
    if (format == u"Currency") {
        const Shown s = shown(amount, 2);
        const QString text = u'$' + withCommas(s.whole) + u'.' + s.decimals;
        return negative && !s.zero ? u'(' + text + u')' : text;
    }
    if (format == u"#,##0") {
        const Shown s = shown(amount, 0);
        return (negative && !s.zero ? QStringLiteral("-") : QString()) + withCommas(s.whole);
    }
    if (format == u"0.00") {
        const Shown s = shown(amount, 2);
        return (negative && !s.zero ? QStringLiteral("-") : QString()) + s.whole + u'.' +
               s.decimals;
    }
    if (format == u"Percent") {
        Amount hundredfold = amount;
        if (amount.scale >= 2) {
            hundredfold.scale -= 2;
        } else {
            hundredfold.units *= power10(2 - amount.scale);
            hundredfold.scale = 0;
        }
        const Shown s = shown(hundredfold, 2);
        return (negative && !s.zero ? QStringLiteral("-") : QString()) + s.whole + u'.' +
               s.decimals + u'%';
    }
    return QStringLiteral("?");
}

/// The decimals at which a format rounds, counted on the value itself.
int roundingDecimals(const QString& format) {
    if (format == u"0.000###") {
        return 6;
    }
    if (format == u"#,##0") {
        return 0;
    }
    if (format == u"Percent") {
        return 4;
    }
    return 2;
}

const QStringList& formatsInUse() {
    static const QStringList formats = {"$0.00", "###,##0.00", "0.000###", "Currency",
                                        "#,##0", "0.00",       "Percent"};
    return formats;
}

/// A random amount: any size up to 15 significant digits, a third of them exactly on a
/// rounding edge (a 5 right after the last shown decimal), some zero.
Amount randomAmount(QRandomGenerator& random, int edgeDecimals, int maxDigits) {
    Amount amount;
    amount.negative = random.bounded(2) == 1;
    const int kind = random.bounded(12);
    if (kind == 0) {
        return amount;  // zero (negative zero included)
    }
    const int digits = random.bounded(1, maxDigits + 1);
    const Wide limit = power10(digits);
    amount.units = static_cast<Wide>(random.generate64() % static_cast<uint64_t>(limit));
    if (kind <= 4) {
        // n...n5 at one place past the shown decimals: an exact half.
        amount.units = (amount.units / 10) * 10 + 5;
        amount.scale = edgeDecimals + 1;
    } else if (kind == 5) {
        // Just below and above a half: ...4999 and ...5001.
        amount.units = (amount.units / 10000) * 10000 + (random.bounded(2) ? 4999 : 5001);
        amount.scale = edgeDecimals + 4;
    } else {
        amount.scale = random.bounded(0, 7);
    }
    return amount;
}

QDateTime afternoon() {
    return QDateTime(QDate(2026, 1, 5), QTime(15, 7, 9));
}

}  // namespace

class TestVbFormat : public QObject {
    Q_OBJECT

private slots:
    void numbers_data();
    void numbers();
    void currencyIsExact_data();
    void currencyIsExact();
    void dates_data();
    void dates();
    void variants_data();
    void variants();
    void generatedNumbers();
    void generatedCurrency();
};

void TestVbFormat::numbers_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");

    // The display formats of fees and rates.
    QTest::newRow("fee") << 1234.5 << "$0.00"
                         << "$1234.50";
    QTest::newRow("fee negative") << -5.0 << "$0.00"
                                  << "-$5.00";
    QTest::newRow("fee zero") << 0.0 << "$0.00"
                              << "$0.00";
    QTest::newRow("entry") << 1234.5 << "###,##0.00"
                           << "1,234.50";
    QTest::newRow("entry negative") << -1234.5 << "###,##0.00"
                                    << "-1,234.50";
    QTest::newRow("entry zero") << 0.0 << "###,##0.00"
                                << "0.00";
    QTest::newRow("entry below one") << 0.5 << "###,##0.00"
                                     << "0.50";
    QTest::newRow("rate") << 6.25 << "0.000###"
                          << "6.250";
    QTest::newRow("rate whole") << 6.0 << "0.000###"
                                << "6.000";
    QTest::newRow("rate long") << 1.23456789 << "0.000###"
                               << "1.234568";
    QTest::newRow("rate negative") << -1.0 << "0.000###"
                                   << "-1.000";
    QTest::newRow("grouped zero") << 0.0 << "#,##0"
                                  << "0";
    QTest::newRow("optional digits of zero") << 0.0 << "###"
                                             << "";
    QTest::newRow("grouped millions") << 1234567.0 << "#,##0"
                                      << "1,234,567";
    QTest::newRow("grouped huge") << 1e20 << "#,##0"
                                  << "100,000,000,000,000,000,000";

    // Named formats.
    QTest::newRow("Currency") << 1234.5 << "Currency"
                              << "$1,234.50";
    QTest::newRow("Currency negative") << -1234.5 << "Currency"
                                       << "($1,234.50)";
    QTest::newRow("Currency zero") << 0.0 << "Currency"
                                   << "$0.00";
    QTest::newRow("Currency name any case") << 2.0 << "currency"
                                            << "$2.00";
    QTest::newRow("Percent") << 0.125 << "Percent"
                             << "12.50%";
    QTest::newRow("Percent whole") << 1.0 << "Percent"
                                   << "100.00%";
    QTest::newRow("Fixed") << 1234.5 << "Fixed"
                           << "1234.50";
    QTest::newRow("Fixed below one") << -0.5 << "Fixed"
                                     << "-0.50";
    QTest::newRow("Standard") << 1234567.891 << "Standard"
                              << "1,234,567.89";
    QTest::newRow("General Number") << 1234.5 << "General Number"
                                    << "1234.5";
    QTest::newRow("General Number binary tail") << 0.1 + 0.2 << "General Number"
                                                << "0.3";
    QTest::newRow("General Number negative") << -2.5 << "General Number"
                                             << "-2.5";
    QTest::newRow("General Number large") << 1e15 << "General Number"
                                          << "1E+15";
    QTest::newRow("General Number small") << 0.00001 << "General Number"
                                          << "1E-05";
    QTest::newRow("General Number fifteen digits") << 123456789012345.0 << "General Number"
                                                   << "123456789012345";
    QTest::newRow("empty format") << 1234.5 << ""
                                  << "1234.5";
    QTest::newRow("Scientific") << 1234.5 << "Scientific"
                                << "1.23E+03";
    QTest::newRow("Yes/No") << 3.0 << "Yes/No"
                            << "Yes";
    QTest::newRow("Yes/No zero") << 0.0 << "Yes/No"
                                 << "No";
    QTest::newRow("On/Off") << -1.0 << "On/Off"
                            << "On";
    QTest::newRow("True/False") << 0.0 << "True/False"
                                << "False";

    // Rounding is half away from zero on the value as printed (15 digits).
    QTest::newRow("half up") << 2.5 << "0"
                             << "3";
    QTest::newRow("half up negative") << -2.5 << "0"
                                      << "-3";
    QTest::newRow("half of odd") << 1.5 << "0"
                                 << "2";
    QTest::newRow("binary below half") << 2.675 << "0.00"
                                       << "2.68";
    QTest::newRow("binary below half 2") << 1.005 << "$0.00"
                                         << "$1.01";
    QTest::newRow("binary below half negative") << -1.005 << "$0.00"
                                                << "-$1.01";
    QTest::newRow("carry into whole") << 9.995 << "0.00"
                                      << "10.00";
    QTest::newRow("carry into group") << 999.995 << "#,##0.00"
                                      << "1,000.00";
    QTest::newRow("negative that shows as zero") << -0.004 << "$0.00"
                                                 << "$0.00";
    QTest::newRow("negative zero in Currency") << -0.001 << "Currency"
                                               << "$0.00";

    // Placeholders, literals, sections, scaling, exponents.
    QTest::newRow("literals between digits") << 123456789.0 << "000-00-0000"
                                             << "123-45-6789";
    QTest::newRow("padding zeros") << 42.0 << "00000"
                                   << "00042";
    QTest::newRow("extra digits go left") << 123456.0 << "00"
                                          << "123456";
    QTest::newRow("optional decimals keep point") << 5.0 << "#.##"
                                                  << "5.";
    QTest::newRow("no whole digit") << 0.5 << "#.00"
                                    << ".50";
    QTest::newRow("no whole placeholder") << 12.5 << ".00"
                                          << "12.50";
    QTest::newRow("thousands scaling") << 1234567.0 << "#,##0,"
                                       << "1,235";
    QTest::newRow("millions scaling") << 1234567.0 << "0,,.0"
                                      << "1.2";
    QTest::newRow("quoted text") << 5.0 << "0\" items\""
                                 << "5 items";
    QTest::newRow("escaped text") << 5.0 << "0\\x"
                                  << "5x";
    QTest::newRow("percent sign in place") << 0.5 << "0%"
                                           << "50%";
    QTest::newRow("sections positive") << 5.0 << "0.00;(0.00);\\z\\e\\r\\o"
                                       << "5.00";
    QTest::newRow("sections negative") << -5.0 << "0.00;(0.00);\\z\\e\\r\\o"
                                       << "(5.00)";
    QTest::newRow("sections zero") << 0.0 << "0.00;(0.00);\\z\\e\\r\\o"
                                   << "zero";
    QTest::newRow("sections rounded zero") << 0.001 << "0.00;(0.00);\\z\\e\\r\\o"
                                           << "zero";
    QTest::newRow("empty negative section") << -5.0 << "0.0;;z"
                                            << "-5.0";
    QTest::newRow("two sections zero") << 0.0 << "0.0;(0.0)"
                                       << "0.0";
    QTest::newRow("exponent") << 1234.5 << "0.00E+00"
                              << "1.23E+03";
    QTest::newRow("exponent negative") << 0.000123 << "0.00E-00"
                                       << "1.23E-04";
    QTest::newRow("exponent sign only when negative") << 1234.5 << "0.00E-00"
                                                      << "1.23E03";
    QTest::newRow("exponent carry") << 99999.0 << "0.0E+00"
                                    << "1.0E+05";
    QTest::newRow("exponent of zero") << 0.0 << "0.00E+00"
                                      << "0.00E+00";
}

void TestVbFormat::numbers() {
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(Format(value, format), expected);
}

void TestVbFormat::currencyIsExact_data() {
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");

    QTest::newRow("largest") << std::numeric_limits<qint64>::max() << "###,##0.00"
                             << "922,337,203,685,477.58";
    QTest::newRow("smallest") << std::numeric_limits<qint64>::min() << "Currency"
                              << "($922,337,203,685,477.58)";
    QTest::newRow("largest general") << std::numeric_limits<qint64>::max() << "General Number"
                                     << "922337203685477.5807";
    QTest::newRow("half cent up") << qint64(50) << "$0.00"
                                  << "$0.01";
    QTest::newRow("half cent negative") << qint64(-50) << "$0.00"
                                        << "-$0.01";
    QTest::newRow("below half cent") << qint64(49) << "$0.00"
                                     << "$0.00";
    QTest::newRow("below half cent negative") << qint64(-49) << "Currency"
                                              << "$0.00";
    QTest::newRow("all four decimals") << qint64(12345678) << "0.000###"
                                       << "1234.5678";
    QTest::newRow("no format") << qint64(12345000) << ""
                               << "1234.5";
    QTest::newRow("percent") << qint64(625) << "Percent"
                             << "6.25%";
}

void TestVbFormat::currencyIsExact() {
    QFETCH(qint64, raw);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(Format(Currency::fromRaw(raw), format), expected);
    QCOMPARE(Format(QVariant::fromValue(Currency::fromRaw(raw)), format), expected);
}

void TestVbFormat::dates_data() {
    QTest::addColumn<QDateTime>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");

    const QDateTime t = afternoon();
    const QDateTime midnight(QDate(2026, 1, 5), QTime(0, 0));
    const QDateTime noon(QDate(2026, 1, 5), QTime(12, 0));
    const QDateTime timeOnly(QDate(1899, 12, 30), QTime(15, 7, 9));

    QTest::newRow("Short Date") << t << "Short Date"
                                << "1/5/2026";
    QTest::newRow("Short Date two digits")
        << QDateTime(QDate(2026, 12, 31), QTime(0, 0)) << "Short Date"
        << "12/31/2026";
    QTest::newRow("Medium Date") << t << "Medium Date"
                                 << "05-Jan-26";
    QTest::newRow("Long Date") << t << "Long Date"
                               << "Monday, January 5, 2026";
    QTest::newRow("Medium Time") << t << "Medium Time"
                                 << "03:07 PM";
    QTest::newRow("Medium Time midnight") << midnight << "Medium Time"
                                          << "12:00 AM";
    QTest::newRow("Medium Time noon") << noon << "Medium Time"
                                      << "12:00 PM";
    QTest::newRow("Long Time") << t << "Long Time"
                               << "3:07:09 PM";
    QTest::newRow("Short Time") << t << "Short Time"
                                << "15:07";
    QTest::newRow("General Date") << t << "General Date"
                                  << "1/5/2026 3:07:09 PM";
    QTest::newRow("General Date at midnight") << midnight << "General Date"
                                              << "1/5/2026";
    QTest::newRow("General Date time only") << timeOnly << "General Date"
                                            << "3:07:09 PM";
    QTest::newRow("empty format") << t << ""
                                  << "1/5/2026 3:07:09 PM";

    QTest::newRow("calendar text") << t << "MM-DD-YYYY"
                                   << "01-05-2026";
    QTest::newRow("file time") << t << "MM/DD/YYYY h:m"
                               << "01/05/2026 15:7";
    QTest::newRow("month name") << t << "mmmm"
                                << "January";
    QTest::newRow("month short") << t << "mmm d, yyyy"
                                 << "Jan 5, 2026";
    QTest::newRow("day names") << t << "dddd ddd"
                               << "Monday Mon";
    QTest::newRow("two-digit year") << t << "yy"
                                    << "26";
    QTest::newRow("day of year") << t << "y"
                                 << "5";
    QTest::newRow("quarter") << QDateTime(QDate(2026, 8, 1), QTime(0, 0)) << "q"
                             << "3";
    QTest::newRow("weekday number") << t << "w"
                                    << "2";
    QTest::newRow("week of year") << t << "ww"
                                  << "2";
    QTest::newRow("minutes after hour") << t << "hh:mm:ss"
                                        << "15:07:09";
    QTest::newRow("minutes with n") << t << "h:nn"
                                    << "15:07";
    QTest::newRow("month not after hour") << t << "m/d hh"
                                          << "1/5 15";
    QTest::newRow("twelve hour") << t << "h:mm AM/PM"
                                 << "3:07 PM";
    QTest::newRow("lower am/pm") << t << "h:mm am/pm"
                                 << "3:07 pm";
    QTest::newRow("a/p") << t << "ha/p"
                         << "3p";
    QTest::newRow("AMPM") << QDateTime(QDate(2026, 1, 5), QTime(9, 5)) << "hh:mm AMPM"
                          << "09:05 AM";
    QTest::newRow("escaped literal") << t << "\\D\\a\\t\\e: m/d"
                                     << "Date: 1/5";
    QTest::newRow("quoted literal") << t << "\"Day\" d"
                                    << "Day 5";
    QTest::newRow("ttttt") << t << "ttttt"
                           << "3:07:09 PM";
    QTest::newRow("ddddd") << t << "ddddd"
                           << "1/5/2026";
}

void TestVbFormat::dates() {
    QFETCH(QDateTime, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(Format(value, format), expected);
    if (value.time() == QTime(0, 0)) {
        QCOMPARE(Format(value.date(), format), expected);
    }
}

void TestVbFormat::variants_data() {
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");

    QTest::newRow("invalid") << QVariant() << "$0.00"
                             << "";
    QTest::newRow("database null") << QVariant(QMetaType::fromType<double>()) << "$0.00"
                                   << "";
    QTest::newRow("numeric text") << QVariant(QStringLiteral("12.5")) << "$0.00"
                                  << "$12.50";
    QTest::newRow("display text") << QVariant(QStringLiteral("$1,234.5")) << "###,##0.00"
                                  << "1,234.50";
    QTest::newRow("numeric text is exact") << QVariant(QStringLiteral("0.125")) << "0.00"
                                           << "0.13";
    QTest::newRow("other text unchanged") << QVariant(QStringLiteral("abc")) << "0.00"
                                          << "abc";
    QTest::newRow("text without format") << QVariant(QStringLiteral("12.50")) << ""
                                         << "12.50";
    QTest::newRow("date text") << QVariant(QStringLiteral("12/31/2026")) << "MM-DD-YYYY"
                               << "12-31-2026";
    QTest::newRow("true") << QVariant(true) << ""
                          << "True";
    QTest::newRow("true as number") << QVariant(true) << "0"
                                    << "-1";
    QTest::newRow("integer") << QVariant(1234) << "#,##0"
                             << "1,234";
    QTest::newRow("long long exact") << QVariant(qlonglong(1234567890123456789LL)) << "#,##0"
                                     << "1,234,567,890,123,456,789";
    QTest::newRow("unsigned") << QVariant(quint32(7)) << "00"
                              << "07";
    QTest::newRow("double") << QVariant(0.125) << "Percent"
                            << "12.50%";
    QTest::newRow("date") << QVariant(QDate(2026, 1, 5)) << "Short Date"
                          << "1/5/2026";
    QTest::newRow("date time") << QVariant(afternoon()) << "Medium Time"
                               << "03:07 PM";
    QTest::newRow("time") << QVariant(QTime(15, 7, 9)) << "Long Time"
                          << "3:07:09 PM";
    QTest::newRow("number as date") << QVariant(45000.5) << "Short Date"
                                    << "3/15/2023";
    QTest::newRow("date as number")
        << QVariant(QDateTime(QDate(2023, 3, 15), QTime(12, 0))) << "0.00"
        << "45000.50";
}

void TestVbFormat::variants() {
    QFETCH(QVariant, value);
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(Format(value, format), expected);
}

void TestVbFormat::generatedNumbers() {
    QRandomGenerator random(1234);
    for (const QString& format : formatsInUse()) {
        const int edge = roundingDecimals(format);
        for (int i = 0; i < 4000; ++i) {
            const Amount amount = randomAmount(random, edge, 15);
            // The double nearest the text prints back as the text (at most 15 digits).
            const double value = amount.text().toDouble();
            const QString expected = reference(format, amount);
            const QString actual = Format(value, format);
            if (actual != expected) {
                QFAIL(qPrintable(QStringLiteral("Format(%1, \"%2\") gave \"%3\", expected \"%4\"")
                                     .arg(amount.text(), format, actual, expected)));
            }
        }
    }
}

void TestVbFormat::generatedCurrency() {
    QRandomGenerator random(99);
    for (const QString& format : formatsInUse()) {
        for (int i = 0; i < 4000; ++i) {
            Amount amount;
            amount.scale = 4;
            amount.negative = random.bounded(2) == 1;
            const int digits = random.bounded(1, 19);
            amount.units = static_cast<Wide>(random.generate64() % uint64_t(power10(digits)));
            if (random.bounded(4) == 0) {
                amount.units = (amount.units / 100) * 100 + 50;  // half a cent
            }
            const qint64 raw = amount.negative ? -static_cast<qint64>(amount.units)
                                               : static_cast<qint64>(amount.units);
            const QString expected = reference(format, amount);
            const QString actual = Format(Currency::fromRaw(raw), format);
            if (actual != expected) {
                QFAIL(qPrintable(QStringLiteral("Format(%1 as Currency, \"%2\") gave \"%3\", "
                                                "expected \"%4\"")
                                     .arg(amount.text(), format, actual, expected)));
            }
        }
    }
}

TQ_TEST_MAIN(TestVbFormat)

#include "tst_vbformat.moc"
