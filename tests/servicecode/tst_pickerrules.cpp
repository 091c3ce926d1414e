#include "TestMain.h"

#include <tqservicecode/selection/CodeLines.h>
#include <tqservicecode/selection/PickerCategories.h>
#include <tqservicecode/selection/PickerListModel.h>

#include <tqplatform/Vb.h>

#include <QAbstractItemModelTester>
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
    }

    void linesAreMadeFromTypedRows() {
        PickerListModel codes(PickerListModel::Style::CodeList);
        PickerListModel chosen(PickerListModel::Style::Chosen);
        QAbstractItemModelTester codesTester(&codes);
        QAbstractItemModelTester chosenTester(&chosen);
        const auto money = [](qint64 raw) { return tqplatform::Currency::fromRaw(raw); };
        codes.append({{7, "D0120", " PE ", "Periodic exam       ", money(455000)}, {}});
        QCOMPARE(codes.lines(), QStringList({" D0120\tPE\tPeriodic exam       \t$45.50\t",
                                             " \t\t\t\t"}));  // null values, zero fee
        QCOMPARE(codes.rowOfItemData(0), 1);
        // The keyboard search finds what the generic search over the lines finds.
        for (const QString probe : {"", " ", " d", "D", " D0120\tpe\tPer", " D0120\tX", " \t"}) {
            for (int from : {0, 1}) {
                const auto flags = Qt::MatchStartsWith | Qt::MatchWrap;
                QCOMPARE(codes.match(codes.index(from), Qt::DisplayRole, probe, -1, flags),
                         codes.QAbstractListModel::match(codes.index(from), Qt::DisplayRole, probe,
                                                         -1, flags));
            }
        }

        // The chosen list shows the office code of a code that is not unique.
        chosen.append({{0, "D1110", "PRO", "Cleaning", money(600000), false},
                       {0, "D1110", "PRO", "Cleaning", {}, true},
                       {17, "D2740", "", "Crown", money(-12345), true}});
        QCOMPARE(chosen.lines(),
                 QStringList({"D1110\tCleaning\t$60.00\t\t", "D1110\tCleaning\t$0.00\tPRO\t",
                              "D2740\tCrown\t-$1.23\t\t"}));
        QCOMPARE(totalLabel(chosen.count(), chosen.feeTotal()), "Total: $58.77");
        QStringList handed;
        for (int row = 0; row < chosen.count(); ++row) {
            handed << chosenItemText(chosen.row(row));
        }
        QCOMPARE(handed, QStringList({"D1110", "PRO", "17"}));
        chosen.removeRow(0);  // the testers check the signals of both changes
        chosen.clear();
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
        QCOMPARE(listDescription("Exam", widths, 100000), QStringLiteral("Exam").leftJustified(20));
        QCOMPARE(listDescription("A very long description of a code", widths, 100000),
                 QStringLiteral("A very long descript"));
        const int limit = widths.width(QStringLiteral("WWWWWW"));
        const QString fitted = listDescription("WWWWWWWWWWWWWWWWWWWWWW", widths, limit);
        QCOMPARE(fitted, QStringLiteral("WWWWWW"));
        QCOMPARE(listDescription("anything", widths, 0), QString());
        // An emoji across the column's edge goes whole, never half of it.
        const QString nineteen(19, QLatin1Char('a'));
        QCOMPARE(listDescription(nineteen + QString::fromUtf8("\xF0\x9F\x98\x80"), widths, 100000),
                 nineteen);
    }
};

TQ_TEST_MAIN(PickerRulesTest)
#include "tst_pickerrules.moc"
