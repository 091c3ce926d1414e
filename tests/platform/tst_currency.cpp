#include "TestMain.h"

#include <tqglobal/Error.h>
#include <tqplatform/Currency.h>

#include <QObject>
#include <QRandomGenerator>
#include <QVariant>

#include <cmath>
#include <limits>

using tqplatform::Currency;

namespace {

constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();

uint64_t magnitudeOf(int64_t raw) {
    return raw < 0 ? uint64_t(0) - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
}

/// Whole part with a comma every three digits, built digit by digit.
QString grouped(uint64_t whole) {
    QString digits = QString::number(whole);
    QString out;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out += u',';
        }
        out += digits[i];
    }
    return out;
}

/// A random amount spread over every order of magnitude, with the extremes now and then.
int64_t randomRaw(QRandomGenerator& random) {
    switch (random.bounded(10)) {
        case 0:
            return MaxRaw - random.bounded(3);
        case 1:
            return MinRaw + random.bounded(3);
        case 2:
            return random.bounded(-20000, 20000);
        default: {
            const int digits = random.bounded(1, 19);
            int64_t limit = 1;
            for (int i = 0; i < digits; ++i) {
                limit *= 10;
            }
            const auto value = static_cast<int64_t>(random.generate64() % uint64_t(limit));
            return random.bounded(2) ? -value : value;
        }
    }
}

}  // namespace

class TestCurrency : public QObject {
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseRoundsBeyondFourDecimals_data();
    void parseRoundsBeyondFourDecimals();
    void print_data();
    void print();
    void fromDouble_data();
    void fromDouble();
    void fromDoubleOverflow_data();
    void fromDoubleOverflow();
    void mulDiv_data();
    void mulDiv();
    void mulDivErrors();
    void variantConversions();
    void generatedRoundTrips();
    void generatedLongDecimals();
};

void TestCurrency::parse_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("raw");

    QTest::newRow("plain") << "1234.5" << true << qint64(12345000);
    QTest::newRow("negative whole") << "-12" << true << qint64(-120000);
    QTest::newRow("display") << "$1,234.50" << true << qint64(12345000);
    QTest::newRow("parentheses") << "($12.00)" << true << qint64(-120000);
    QTest::newRow("blanks") << " 7.25 " << true << qint64(72500);
    QTest::newRow("minus before dollar") << "-$5.00" << true << qint64(-50000);
    QTest::newRow("minus after dollar") << "$-5.00" << true << qint64(-50000);
    QTest::newRow("plus") << "+3" << true << qint64(30000);
    QTest::newRow("blank after sign") << "- $ 5" << true << qint64(-50000);
    QTest::newRow("leading point") << ".5" << true << qint64(5000);
    QTest::newRow("trailing point") << "5." << true << qint64(50000);
    QTest::newRow("four decimals") << "0.0001" << true << qint64(1);
    QTest::newRow("zero") << "0" << true << qint64(0);
    QTest::newRow("largest") << "922337203685477.5807" << true << MaxRaw;
    QTest::newRow("smallest") << "-922337203685477.5808" << true << MinRaw;
    QTest::newRow("one past largest") << "922337203685477.5808" << false << qint64(0);
    QTest::newRow("one past smallest") << "-922337203685477.5809" << false << qint64(0);
    QTest::newRow("huge") << "99999999999999999999999" << false << qint64(0);
    QTest::newRow("exponent") << "1e3" << false << qint64(0);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("blank") << "   " << false << qint64(0);
    QTest::newRow("point only") << "." << false << qint64(0);
    QTest::newRow("dollar only") << "$" << false << qint64(0);
    QTest::newRow("minus only") << "-" << false << qint64(0);
    QTest::newRow("two points") << "1.2.3" << false << qint64(0);
    QTest::newRow("letters") << "12abc" << false << qint64(0);
    QTest::newRow("two signs") << "--5" << false << qint64(0);
    QTest::newRow("sign in parentheses") << "(-5)" << false << qint64(0);
    QTest::newRow("unclosed parenthesis") << "(5" << false << qint64(0);
    QTest::newRow("leading comma") << ",5" << false << qint64(0);
    QTest::newRow("comma in decimals") << "1.2,5" << false << qint64(0);
}

void TestCurrency::parse() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, raw);
    const auto parsed = Currency::parse(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid) {
        QCOMPARE(parsed->raw(), raw);
    }
}

void TestCurrency::parseRoundsBeyondFourDecimals_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("raw");

    QTest::newRow("half to even, down") << "1.00005" << qint64(10000);
    QTest::newRow("half to even, up") << "1.00015" << qint64(10002);
    QTest::newRow("above half") << "1.000051" << qint64(10001);
    QTest::newRow("half with tail zeros") << "1.0000500000" << qint64(10000);
    QTest::newRow("below half") << "1.00004999" << qint64(10000);
    QTest::newRow("negative half") << "-1.00015" << qint64(-10002);
    QTest::newRow("carry into whole") << "0.99995" << qint64(10000);
    QTest::newRow("rounds past largest") << "922337203685477.58075" << qint64(0);
}

void TestCurrency::parseRoundsBeyondFourDecimals() {
    QFETCH(QString, text);
    QFETCH(qint64, raw);
    const auto parsed = Currency::parse(text);
    if (QByteArray(QTest::currentDataTag()) == "rounds past largest") {
        QVERIFY(!parsed.has_value());
        return;
    }
    QVERIFY(parsed.has_value());
    QCOMPARE(parsed->raw(), raw);
}

void TestCurrency::print_data() {
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("fixed");

    QTest::newRow("zero") << qint64(0) << "0"
                          << "0.0000";
    QTest::newRow("whole") << qint64(120000) << "12"
                           << "12.0000";
    QTest::newRow("one decimal") << qint64(12345000) << "1234.5"
                                 << "1234.5000";
    QTest::newRow("negative fraction") << qint64(-2500) << "-0.25"
                                       << "-0.2500";
    QTest::newRow("smallest unit") << qint64(1) << "0.0001"
                                   << "0.0001";
    QTest::newRow("negative unit") << qint64(-1) << "-0.0001"
                                   << "-0.0001";
    QTest::newRow("largest") << MaxRaw << "922337203685477.5807"
                             << "922337203685477.5807";
    QTest::newRow("smallest") << MinRaw << "-922337203685477.5808"
                              << "-922337203685477.5808";
}

void TestCurrency::print() {
    QFETCH(qint64, raw);
    QFETCH(QString, text);
    QFETCH(QString, fixed);
    QCOMPARE(Currency::fromRaw(raw).toString(), text);
    QCOMPARE(Currency::fromRaw(raw).toFixedString(), fixed);
}

void TestCurrency::fromDouble_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<qint64>("raw");

    QTest::newRow("cents") << 12.34 << qint64(123400);
    QTest::newRow("binary tail kept off") << 0.1 + 0.2 << qint64(3000);
    QTest::newRow("half to even, down") << 2.00005 << qint64(20000);
    QTest::newRow("half to even, up") << 2.00015 << qint64(20002);
    QTest::newRow("negative half") << -2.00015 << qint64(-20002);
    QTest::newRow("tiny") << 1e-300 << qint64(0);
    QTest::newRow("large whole") << 123456789012.0 << qint64(1234567890120000);
    QTest::newRow("negative zero") << -0.0 << qint64(0);
}

void TestCurrency::fromDouble() {
    QFETCH(double, value);
    QFETCH(qint64, raw);
    QCOMPARE(Currency::fromDouble(value).raw(), raw);
}

void TestCurrency::fromDoubleOverflow_data() {
    QTest::addColumn<double>("value");
    QTest::newRow("too large") << 1e15;
    QTest::newRow("too small") << -1e15;
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN();
}

void TestCurrency::fromDoubleOverflow() {
    QFETCH(double, value);
    try {
        Currency::fromDouble(value);
        QFAIL("no error raised");
    } catch (const tqGlobal::Error& error) {
        QCOMPARE(error.number(), tqGlobal::ErrorNumber::Overflow);
    }
}

void TestCurrency::mulDiv_data() {
    QTest::addColumn<qint64>("raw");
    QTest::addColumn<qint64>("numerator");
    QTest::addColumn<qint64>("denominator");
    QTest::addColumn<qint64>("expected");

    QTest::newRow("five percent more")
        << qint64(100000) << qint64(105) << qint64(100) << qint64(105000);
    QTest::newRow("a third") << qint64(100000) << qint64(1) << qint64(3) << qint64(33333);
    QTest::newRow("two thirds") << qint64(100000) << qint64(2) << qint64(3) << qint64(66667);
    QTest::newRow("half to even, down") << qint64(5) << qint64(1) << qint64(2) << qint64(2);
    QTest::newRow("half to even, up") << qint64(7) << qint64(1) << qint64(2) << qint64(4);
    QTest::newRow("negative half") << qint64(-7) << qint64(1) << qint64(2) << qint64(-4);
    QTest::newRow("negative denominator") << qint64(7) << qint64(1) << qint64(-2) << qint64(-4);
    QTest::newRow("both negative") << qint64(-7) << qint64(-1) << qint64(2) << qint64(4);
    QTest::newRow("wide intermediate") << MaxRaw << qint64(1000) << qint64(1000) << MaxRaw;
}

void TestCurrency::mulDiv() {
    QFETCH(qint64, raw);
    QFETCH(qint64, numerator);
    QFETCH(qint64, denominator);
    QFETCH(qint64, expected);
    QCOMPARE(Currency::fromRaw(raw).mulDiv(numerator, denominator).raw(), expected);
}

void TestCurrency::mulDivErrors() {
    try {
        Currency::fromUnits(1).mulDiv(1, 0);
        QFAIL("division by zero not raised");
    } catch (const tqGlobal::Error& error) {
        QCOMPARE(error.number(), 11L);
    }
    try {
        Currency::fromRaw(MaxRaw).mulDiv(2, 1);
        QFAIL("overflow not raised");
    } catch (const tqGlobal::Error& error) {
        QCOMPARE(error.number(), tqGlobal::ErrorNumber::Overflow);
    }
}

void TestCurrency::variantConversions() {
    const QVariant amount = QVariant::fromValue(Currency::fromRaw(12345000));
    QCOMPARE(amount.toString(), QStringLiteral("1234.5"));
    QCOMPARE(amount.toDouble(), 1234.5);
    QVERIFY(amount.canConvert<QString>());

    const QVariant text(QStringLiteral("$1,234.50"));
    QCOMPARE(text.value<Currency>(), Currency::fromRaw(12345000));
    QCOMPARE(QVariant(QStringLiteral("garbage")).value<Currency>(), Currency());

    QVariant converted(QStringLiteral("-0.25"));
    QVERIFY(converted.convert(QMetaType::fromType<Currency>()));
    QCOMPARE(converted.value<Currency>().raw(), qint64(-2500));

    // Registering twice is harmless.
    tqplatform::registerCurrencyMetaType();
    QCOMPARE(amount.toString(), QStringLiteral("1234.5"));
}

void TestCurrency::generatedRoundTrips() {
    QRandomGenerator random(20260105);
    for (int i = 0; i < 20000; ++i) {
        const int64_t raw = randomRaw(random);
        const Currency amount = Currency::fromRaw(raw);
        const uint64_t magnitude = magnitudeOf(raw);
        const QString decimals = QString::number(magnitude % 10000).rightJustified(4, u'0');

        // Independent spelling of the fixed form.
        const QString fixed = (raw < 0 ? QStringLiteral("-") : QString()) +
                              QString::number(magnitude / 10000) + u'.' + decimals;
        QCOMPARE(amount.toFixedString(), fixed);

        const auto fromText = Currency::parse(amount.toString());
        QVERIFY2(fromText.has_value(), qPrintable(amount.toString()));
        QCOMPARE(fromText->raw(), raw);

        const QString display = QStringLiteral("$") + grouped(magnitude / 10000) + u'.' + decimals;
        const QString shown = raw < 0 ? u'(' + display + u')' : display;
        const auto fromDisplay = Currency::parse(shown);
        QVERIFY2(fromDisplay.has_value(), qPrintable(shown));
        QCOMPARE(fromDisplay->raw(), raw);
    }
}

void TestCurrency::generatedLongDecimals() {
    // Texts with up to nine decimals, rounded half to even by integer arithmetic here.
    QRandomGenerator random(4711);
    for (int i = 0; i < 20000; ++i) {
        const int extra = random.bounded(1, 6);  // decimals beyond the fourth
        int64_t tailScale = 1;
        for (int k = 0; k < extra; ++k) {
            tailScale *= 10;
        }
        const int64_t kept = random.bounded(0, 1 << 30) * int64_t(random.bounded(1, 1000));
        int64_t tail = random.bounded(int(tailScale));
        if (random.bounded(4) == 0) {
            tail = tailScale / 2;  // exactly half
        }
        const bool negative = random.bounded(2) == 1;
        const QString text = (negative ? QStringLiteral("-") : QString()) +
                             QString::number(kept / 10000) + u'.' +
                             QString::number(kept % 10000).rightJustified(4, u'0') +
                             QString::number(tail).rightJustified(extra, u'0');

        int64_t expected = kept;
        if (tail * 2 > tailScale || (tail * 2 == tailScale && kept % 2 == 1)) {
            ++expected;
        }
        const auto parsed = Currency::parse(text);
        QVERIFY2(parsed.has_value(), qPrintable(text));
        QCOMPARE(parsed->raw(), negative ? -expected : expected);

        // The same amount through a double: with at most 15 significant digits the shortest
        // decimal of the double is the text itself.
        QString significant = text;
        significant.remove(u'-').remove(u'.');
        while (significant.startsWith(u'0')) {
            significant.remove(0, 1);
        }
        if (significant.size() <= 15) {
            const double asDouble = text.toDouble();
            QCOMPARE(Currency::fromDouble(asDouble).raw(), negative ? -expected : expected);
        }
    }
}

TQ_TEST_MAIN(TestCurrency)

#include "tst_currency.moc"
