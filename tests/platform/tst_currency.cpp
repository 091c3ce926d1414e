#include "Errors.h"
#include "TestMain.h"

#include <tqglobal/Error.h>
#include <tqplatform/Currency.h>

#include <QObject>
#include <QVariant>

#include <limits>

using tqplatform::Currency;
using tqtest::errorOf;

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
                 "0 0.0000");
        QCOMPARE(Currency::fromRaw(-2500).toString(), "-0.25");
        QCOMPARE(Currency::fromRaw(-1).toFixedString(), "-0.0001");
        QCOMPARE(Currency::fromRaw(MinRaw).toFixedString(), "-922337203685477.5808");
        QCOMPARE(QVariant::fromValue(Currency::fromRaw(12345000)).toString(), "1234.5");
    }

    void fromDouble() {
        // Binary tails kept off, half to even, and no amount beyond the range.
        const double inf = std::numeric_limits<double>::infinity();
        const std::pair<double, QVariant> rows[] = {
            {0.1 + 0.2, qint64(3000)},
            {2.00005, qint64(20000)},
            {2.00015, qint64(20002)},
            {-2.00015, qint64(-20002)},
            {123456789012.0, qint64(1234567890120000)},
            {1e15, Refused},
            {-1e15, Refused},
            {inf, Refused},
            {std::numeric_limits<double>::quiet_NaN(), Refused}};
        for (const auto& [value, raw] : rows) {
            qint64 converted = 0;
            QCOMPARE(errorOf([&] { converted = Currency::fromDouble(value).raw(); }),
                     raw.isValid() ? 0L : long(tqGlobal::ErrorNumber::Overflow));
            QCOMPARE(converted, raw.toLongLong());
        }
    }

    void mulDiv() {
        // raw * numerator / denominator, half to even; the error raised, 0 for none.
        const qint64 rows[][5] = {{100000, 2, 3, 66667, 0},
                                  {5, 1, 2, 2, 0},
                                  {7, 1, 2, 4, 0},
                                  {-7, -1, 2, 4, 0},
                                  {MaxRaw, 1000, 1000, MaxRaw, 0},
                                  {10000, 1, 0, 0, 11},
                                  {MaxRaw, 2, 1, 0, 6}};
        for (const auto& row : rows) {
            qint64 product = 0;
            QCOMPARE(
                errorOf([&] { product = Currency::fromRaw(row[0]).mulDiv(row[1], row[2]).raw(); }),
                long(row[4]));
            QCOMPARE(product, row[3]);
        }
    }
};

TQ_TEST_MAIN(TestCurrency)

#include "tst_currency.moc"
