#include "TestMain.h"

#include <tqplatform/Currency.h>
#include <tqplatform/Vb.h>

#include <QDateTime>
#include <QObject>
#include <QVariant>

#include <limits>

using tqplatform::Currency;
using tqplatform::vb::Format;

namespace {

QVariant money(qint64 raw) {
    return QVariant::fromValue(Currency::fromRaw(raw));
}

QVariant at(int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return QDateTime(QDate(2026, month, day), QTime(hour, minute, second));
}

}  // namespace

/// The texts a user sees: the formats of fees, entries, rates, grid columns and calendar dates.
class TestVbFormat : public QObject {
    Q_OBJECT

private slots:
    void format_data() {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* tag, const QVariant& v, const char* f, const char* e) {
            QTest::newRow(tag) << v << QString::fromUtf8(f) << QString::fromUtf8(e);
        };
        // Fees, fee entry, tax rate.
        row("fee", 1234.5, "$0.00", "$1234.50");
        row("fee, binary below half", 1.005, "$0.00", "$1.01");
        row("fee, negative binary below half", -1.005, "$0.00", "-$1.01");
        row("fee, negative that shows as zero", -0.004, "$0.00", "$0.00");
        row("entry", -1234.5, "###,##0.00", "-1,234.50");
        row("entry, carry into a group", 999.995, "###,##0.00", "1,000.00");
        row("rate", 6.25, "0.000###", "6.250");
        row("rate long", 1.23456789, "0.000###", "1.234568");
        // Rounding is half away from zero on the value as printed (15 digits).
        row("exact half", 0.125, "0.00", "0.13");
        row("exact half negative", -2.5, "0", "-3");
        row("binary below half", 2.675, "0.00", "2.68");
        row("carry into whole", 9.995, "0.00", "10.00");
        row("grouped huge", 1e20, "#,##0", "100,000,000,000,000,000,000");
        // Grid columns.
        row("Currency", 1234.5, "Currency", "$1,234.50");
        row("Currency negative", -1234.5, "Currency", "($1,234.50)");
        row("Currency, negative zero", -0.001, "Currency", "$0.00");
        row("Percent", 0.125, "Percent", "12.50%");
        row("General Number binary tail", 0.1 + 0.2, "General Number", "0.3");
        row("General Number large", 1e15, "General Number", "1E+15");
        row("no format", -2.5, "", "-2.5");
        // Money is exact at every size.
        row("largest money", money(std::numeric_limits<qint64>::max()), "###,##0.00",
            "922,337,203,685,477.58");
        row("smallest money", money(std::numeric_limits<qint64>::min()), "Currency",
            "($922,337,203,685,477.58)");
        row("half cent", money(50), "$0.00", "$0.01");
        row("half cent negative", money(-50), "$0.00", "-$0.01");
        row("below half cent", money(-49), "Currency", "$0.00");
        row("money, four decimals", money(12345678), "0.000###", "1234.5678");
        // Sections and literals.
        row("sections negative", -5.0, "0.00;(0.00);\\z\\e\\r\\o", "(5.00)");
        row("sections rounded zero", 0.001, "0.00;(0.00);\\z\\e\\r\\o", "zero");
        row("quoted text", 5.0, "0\" items\"", "5 items");
        // Dates and times.
        row("Short Date", at(12, 31), "Short Date", "12/31/2026");
        row("Short Date of a date", QDate(2026, 1, 5), "Short Date", "1/5/2026");
        row("calendar text", at(1, 5, 15, 7, 9), "MM-DD-YYYY", "01-05-2026");
        row("Medium Time", at(1, 5, 15, 7, 9), "Medium Time", "03:07 PM");
        row("Medium Time midnight", at(1, 5), "Medium Time", "12:00 AM");
        row("Medium Time noon", at(1, 5, 12), "Medium Time", "12:00 PM");
        row("Long Time", at(1, 5, 15, 7, 9), "Long Time", "3:07:09 PM");
        row("date with time", at(1, 5, 9, 5), "mm/dd/yy hh:nn ampm", "01/05/26 09:05 AM");
        row("General Date", at(1, 5, 15, 7, 9), "", "1/5/2026 3:07:09 PM");
        row("General Date at midnight", at(1, 5), "General Date", "1/5/2026");
        row("time only", QTime(15, 7, 9), "", "3:07:09 PM");
        row("month not after hour", at(1, 5, 15), "m/d hh", "1/5 15");
        // Variants as read from the database or a text box.
        row("null", QVariant(), "$0.00", "");
        row("database null", QVariant(QMetaType::fromType<double>()), "$0.00", "");
        row("display text", QStringLiteral("$1,234.5"), "###,##0.00", "1,234.50");
        row("numeric text is exact", QStringLiteral("0.125"), "0.00", "0.13");
        row("other text unchanged", QStringLiteral("abc"), "0.00", "abc");
        row("date text", QStringLiteral("12/31/2026"), "MM-DD-YYYY", "12-31-2026");
        row("true as number", true, "0", "-1");
        row("long long exact", qlonglong(1234567890123456789LL), "#,##0",
            "1,234,567,890,123,456,789");
        row("number as date", 45000.5, "Short Date", "3/15/2023");
    }

    void format() {
        QFETCH(QVariant, value);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(Format(value, format), expected);
        if (value.typeId() == QMetaType::Double && !value.isNull()) {
            QCOMPARE(Format(value.toDouble(), format), expected);
        }
    }
};

TQ_TEST_MAIN(TestVbFormat)

#include "tst_vbformat.moc"
