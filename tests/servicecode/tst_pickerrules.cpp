#include "TestMain.h"

#include <tqservicecode/codes/ServiceCodeRecord.h>
#include <tqservicecode/selection/CodeLines.h>
#include <tqservicecode/selection/PickerCategories.h>

#include <tqplatform/Vb.h>

#include <QFont>
#include <QRandomGenerator>

using namespace tqservicecode;
using namespace tqservicecode::picker;

namespace {

QString enabledPattern(int16_t flag) {
    EnabledButtons enabled;
    enabled.fill(true);
    applyShowFlag(flag, enabled);
    QString pattern;
    for (bool on : enabled) {
        pattern += on ? QLatin1Char('1') : QLatin1Char('0');
    }
    return pattern;
}

}  // namespace

class PickerRulesTest : public QObject {
    Q_OBJECT

private slots:
    void showFlagEnablesGroups_data() {
        QTest::addColumn<int>("flag");
        QTest::addColumn<QString>("enabled");  // buttons 0..26; more rows in tst_db_picker
        //                               0         1         2
        //                               012345678901234567890123456
        QTest::newRow("63 keeps all") << 63 << "111111111111111111111111111";
        QTest::newRow("1 dental") << 1 << "111111111111000000000000000";
        QTest::newRow("2 cpt icd") << 2 << "000000000000000000000000110";
        QTest::newRow("4 credits") << 4 << "000000000000111110000000000";
        QTest::newRow("8 reimburse nsf refund") << 8 << "000000000000000001110000000";
        QTest::newRow("32 tax") << 32 << "000000000000000000000000001";
        QTest::newRow("62 all but dental") << 62 << "000000000000111111111110111";
        QTest::newRow("-64 nothing") << -64 << "000000000000000000000000000";
    }

    void showFlagEnablesGroups() {
        QFETCH(int, flag);
        QFETCH(QString, enabled);
        QCOMPARE(enabledPattern(static_cast<int16_t>(flag)), enabled);
    }

    void startingCategory() {
        QCOMPARE(buttonForCategory("ALL"), AllButton);
        QCOMPARE(buttonForCategory(" pat. mgmt "), FallbackButton);  // a stored name, no caption
        QCOMPARE(buttonForCategory("to do list"), ToDoListButton);
        QCOMPARE(buttonForCategory("Pros.Remove"), 5);
        QCOMPARE(buttonForCategory("nothing like it"), FallbackButton);
        EnabledButtons enabled;
        enabled.fill(true);
        applyShowFlag(16, enabled);
        QCOMPARE(startingButton(AllButton, enabled), 20);
        QCOMPARE(startingButton(21, enabled), 21);
        enabled.fill(false);
        QCOMPARE(startingButton(4, enabled), 4);
        QCOMPARE(categoryButtons()[AllButton].category, QString());
        QCOMPARE(categoryButtons()[19].type, QStringLiteral("3 - Admin"));
    }

    void lines() {
        QCOMPARE(codeListLine("D0120", " PE ", "Periodic exam       ",
                              tqplatform::Currency::fromRaw(455000)),
                 QStringLiteral(" D0120\tPE\tPeriodic exam       \t$45.50\t"));
        QCOMPARE(codeListLine(QVariant(), QVariant(), "x", tqplatform::Currency()),
                 QStringLiteral(" \t\tx\t\t"));

        ServiceCodeRecord record;
        record.setCode("D1110");
        record.setOfficeCode("PRO");
        record.setDescription("Cleaning");
        record.SevCodFee2 = tqplatform::Currency::fromRaw(600000);
        QCOMPARE(chosenCodeLine(record, 2, false), QStringLiteral("D1110\tCleaning\t$60.00\t\t"));
        QCOMPARE(chosenCodeLine(record, 1, true), QStringLiteral("D1110\tCleaning\t$0.00\tPRO\t"));

        QCOMPARE(chosenItemText("D1110\tCleaning\t$60.00\tPRO\t", 0), QStringLiteral("PRO"));
        QCOMPARE(chosenItemText("D1110\tCleaning\t$60.00\t\t", 0), QStringLiteral("D1110"));
        QCOMPARE(chosenItemText("D1110\tCleaning\t$60.00\tPRO\t", 17), QStringLiteral("17"));
    }

    void moneyTextMatchesTheDisplayFormat() {
        // The lists' fast money text against the general formatter, over many values.
        QRandomGenerator random(20261205);
        for (int i = 0; i < 20000; ++i) {
            const qint64 raw = i < 1000 ? i * 25 - 5000
                                        : random.bounded(Q_INT64_C(2000000000)) - Q_INT64_C(100000);
            const tqplatform::Currency fee = tqplatform::Currency::fromRaw(raw);
            QCOMPARE(moneyText(fee), tqplatform::vb::Format(fee, QStringLiteral("$0.00")));
        }
    }

    void descriptionIsFittedToItsColumn() {
        const QFontMetrics metrics(QFont(QStringLiteral("DejaVu Sans"), 9));
        const CharacterWidths widths(metrics);
        QCOMPARE(widths.width("WWW"), 3 * widths.width("W"));
        QCOMPARE(listDescription("Exam", widths, 100000), QStringLiteral("Exam").leftJustified(20));
        QCOMPARE(listDescription("A very long description of a code", widths, 100000),
                 QStringLiteral("A very long descript"));
        const int limit = widths.width(QStringLiteral("WWWWWW"));
        const QString fitted = listDescription("WWWWWWWWWWWWWWWWWWWWWW", widths, limit);
        QCOMPARE(fitted, QStringLiteral("WWWWWW"));
        QCOMPARE(listDescription("anything", widths, 0), QString());
    }
};

TQ_TEST_MAIN(PickerRulesTest)
#include "tst_pickerrules.moc"
