#include <tqplatform/Criteria.h>
#include <tqplatform/Currency.h>

#include <tqglobal/Error.h>

#include "TestMain.h"

#include <QDate>
#include <QObject>
#include <QTest>

using tqplatform::Criteria;
using tqplatform::Currency;

class TestCriteria : public QObject {
    Q_OBJECT

private slots:
    void criteria_data() {
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<bool>("expected");
        const auto row = [](const char* text, bool expected) {
            QTest::newRow(text) << QString::fromUtf8(text) << expected;
        };
        row("[Last Name] = 'o''hara'", true);
        row("[Last Name] <> 'O''HARA'", false);
        row("Code = 'D0120'", true);  // the padding blanks are not part of the value
        row("Code = 'd0120' AND Code < 'D0121'", true);
        row("Code LIKE '%120'", true);
        row("Code like 'd0*'", true);
        row("Code LIKE 'D_120'", true);
        row("Code LIKE 'D_20'", false);
        row("Code LIKE 'D0120'", true);
        row("[Last Name] LIKE '%[%]%'", false);  // a bracketed wildcard is itself
        row("[Last Name] LIKE '%''h[_]%'", false);
        row("[Last Name] LIKE '%''h[a]%'", true);
        row("Code LIKE 'D[0]1*'", true);
        row("Code LIKE '[[]*'", false);
        row("[Last Name] LIKE '%[%'", false);  // an open bracket alone is a plain character
        row("Fee = $50.00", true);
        row("Fee < 50.0001", true);
        row("Visits > 9", true);  // numbers compare as numbers, not texts
        row("Visits = '12'", true);
        row("Seen > #3/5/2024#", true);
        row("Seen < #2024-03-06#", true);
        row("Seen = #3/5/2024 2:30:00 PM#", true);
        row("Active = True", true);
        row("Visits = 1 AND Code = 'x' OR Fee = 50", true);  // AND binds tighter than OR
        row("Visits = 1 AND (Code = 'x' OR Fee = 50)", false);
        row("(Visits = 1 OR (Code = 'x' or Fee = 50)) and Active = True", true);
        row("Visits = 12 OR Nothing = 'x'", true);
        row("Nothing = 'x'", false);  // a missing field is null
        row("Nothing <> 'x'", false);
        row("Nothing IS NULL", true);
        row("Nothing = NULL AND Code IS NOT NULL", true);
        row("   ", true);
    }

    void criteria() {
        QFETCH(QString, criteria);
        QFETCH(bool, expected);
        const QVariantMap patient{{"Last Name", "O'Hara"},
                                  {"Code", "D0120     "},
                                  {"Fee", QVariant::fromValue(Currency::fromRaw(500000))},
                                  {"Visits", 12},
                                  {"Seen", QDateTime(QDate(2024, 3, 5), QTime(14, 30))},
                                  {"Active", true},
                                  {"Nothing", QVariant()}};
        Criteria c(criteria);
        QCOMPARE(c.matches([&](const QString& name) { return patient.value(name); }), expected);
        // The same criteria bound to column numbers, as a recordset filters its rows.
        const QStringList names = patient.keys();
        c.bind([&](const QString& name) { return static_cast<int>(names.indexOf(name)); });
        const QVariantList values = patient.values();
        QCOMPARE(c.matchesRow(std::vector<QVariant>(values.cbegin(), values.cend())), expected);
    }

    void malformedCriteriaAreRefused_data() {
        QTest::addColumn<QString>("criteria");
        const QStringList malformed =
            QStringLiteral(
                "Num =|= 5|Num 5|Num == 5|Num = 5 AND|Num = 5 OR OR Num = 6|(Num = 5|Num = 5)|"
                "Txt = 'abc|Txt LIKE 5|Dt = #13/45/2024#|Dt = #1/1/2024|[Num = 5|Num = 5 Txt = 'a'|"
                "Txt = abc|Num = 1.2.3|Num = 5 AND ()|Num IS 5|Num = 5;|Num = 5 AND NOT Num = 6")
                .split(u'|');
        for (const QString& text : malformed) {
            QTest::newRow(qPrintable(text)) << text;
        }
        QTest::newRow("brackets nested beyond reason")
            << QString(100000, u'(') + "Num = 1" + QString(100000, u')');
    }

    void malformedCriteriaAreRefused() {
        QFETCH(QString, criteria);
        try {
            Criteria c(criteria);
            QFAIL("criteria were accepted");
        } catch (const tqGlobal::Error& e) {
            QCOMPARE(e.number(), 3001L);
            QVERIFY(!e.description().isEmpty());
        }
    }
};

TQ_TEST_MAIN(TestCriteria)
#include "tst_criteria.moc"
