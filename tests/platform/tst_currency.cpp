#include "TestMain.h"

#include <tqglobal/Error.h>
#include <tqplatform/Currency.h>

#include <QObject>
#include <QVariant>

#include <limits>

using tqplatform::Currency;

namespace {

constexpr qint64 MaxRaw = std::numeric_limits<qint64>::max();
constexpr qint64 MinRaw = std::numeric_limits<qint64>::min();
const QVariant Refused;  // the text is no amount, or the call raises overflow

}  // namespace

class TestCurrency : public QObject {
    Q_OBJECT

private slots:
    void parse_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVariant>("raw");
        const auto row = [](const char* text, const QVariant& raw) {
            QTest::addRow("'%s'", text) << QString::fromUtf8(text) << raw;
        };
        row("1234.5", qint64(12345000));
        row("$1,234.50", qint64(12345000));
        row("($12.00)", qint64(-120000));
        row(" -$5.00 ", qint64(-50000));
        row("$-5.00", qint64(-50000));
        row("- $ 5", qint64(-50000));
        row(".5", qint64(5000));
        row("5.", qint64(50000));
        row("922337203685477.5807", MaxRaw);
        row("-922337203685477.5808", MinRaw);
        // Beyond four decimals: half to even.
        row("1.00005", qint64(10000));
        row("1.00015", qint64(10002));
        row("1.000051", qint64(10001));
        row("1.0000500000", qint64(10000));
        row("-1.00015", qint64(-10002));
        row("0.99995", qint64(10000));
        for (const char* text :
             {"922337203685477.5808", "-922337203685477.5809", "922337203685477.58075",
              "99999999999999999999999", "1e3", "", "   ", ".", "$", "-", "1.2.3", "12abc", "--5",
              "(-5)", "(5", ",5", "1.2,5"}) {
            row(text, Refused);
        }
    }

    void parse() {
        QFETCH(QString, text);
        QFETCH(QVariant, raw);
        const auto parsed = Currency::parse(text);
        QCOMPARE(parsed.has_value(), raw.isValid());
        if (parsed) {
            QCOMPARE(parsed->raw(), raw.toLongLong());
            // What is printed reads back as the same amount.
            QCOMPARE(Currency::parse(parsed->toString()).value().raw(), parsed->raw());
            QCOMPARE(Currency::parse(parsed->toFixedString()).value().raw(), parsed->raw());
        }
        // A text box's value converts the same way; text that is no amount becomes zero.
        QCOMPARE(QVariant(text).value<Currency>().raw(), parsed ? parsed->raw() : 0);
    }

    void print() {
        QCOMPARE(Currency::fromRaw(0).toString() + ' ' + Currency::fromRaw(0).toFixedString(),
                 QStringLiteral("0 0.0000"));
        QCOMPARE(Currency::fromRaw(-2500).toString(), QStringLiteral("-0.25"));
        QCOMPARE(Currency::fromRaw(-1).toFixedString(), QStringLiteral("-0.0001"));
        QCOMPARE(Currency::fromRaw(MinRaw).toFixedString(),
                 QStringLiteral("-922337203685477.5808"));
        QCOMPARE(QVariant::fromValue(Currency::fromRaw(12345000)).toString(),
                 QStringLiteral("1234.5"));
    }

    void fromDouble_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QVariant>("raw");
        QTest::newRow("binary tail kept off") << 0.1 + 0.2 << QVariant(qint64(3000));
        QTest::newRow("half to even, down") << 2.00005 << QVariant(qint64(20000));
        QTest::newRow("half to even, up") << 2.00015 << QVariant(qint64(20002));
        QTest::newRow("negative half") << -2.00015 << QVariant(qint64(-20002));
        QTest::newRow("large whole") << 123456789012.0 << QVariant(qint64(1234567890120000));
        QTest::newRow("too large") << 1e15 << Refused;
        QTest::newRow("too small") << -1e15 << Refused;
        QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << Refused;
        QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << Refused;
    }

    void fromDouble() {
        QFETCH(double, value);
        QFETCH(QVariant, raw);
        try {
            QCOMPARE(Currency::fromDouble(value).raw(), raw.toLongLong());
            QVERIFY(raw.isValid());
        } catch (const tqGlobal::Error& error) {
            QCOMPARE(error.number(), tqGlobal::ErrorNumber::Overflow);
            QVERIFY(!raw.isValid());
        }
    }

    void mulDiv_data() {
        QTest::addColumn<qint64>("raw");
        QTest::addColumn<qint64>("numerator");
        QTest::addColumn<qint64>("denominator");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<long>("error");
        QTest::newRow("two thirds") << qint64(100000) << 2LL << 3LL << 66667LL << 0L;
        QTest::newRow("half to even, down") << qint64(5) << 1LL << 2LL << 2LL << 0L;
        QTest::newRow("half to even, up") << qint64(7) << 1LL << 2LL << 4LL << 0L;
        QTest::newRow("both negative") << qint64(-7) << -1LL << 2LL << 4LL << 0L;
        QTest::newRow("wide intermediate") << MaxRaw << 1000LL << 1000LL << MaxRaw << 0L;
        QTest::newRow("division by zero") << qint64(10000) << 1LL << 0LL << 0LL << 11L;
        QTest::newRow("overflow") << MaxRaw << 2LL << 1LL << 0LL << 6L;
    }

    void mulDiv() {
        QFETCH(qint64, raw);
        QFETCH(qint64, numerator);
        QFETCH(qint64, denominator);
        QFETCH(qint64, expected);
        QFETCH(long, error);
        try {
            QCOMPARE(Currency::fromRaw(raw).mulDiv(numerator, denominator).raw(), expected);
            QCOMPARE(0L, error);
        } catch (const tqGlobal::Error& e) {
            QCOMPARE(e.number(), error);
        }
    }
};

TQ_TEST_MAIN(TestCurrency)

#include "tst_currency.moc"
