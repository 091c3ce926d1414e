#include "TestMain.h"

#include <tqservicecode/codes/ServiceCodeRecord.h>
#include <tqservicecode/codes/Vocabulary.h>

using namespace tqservicecode;

class VocabularyTest : public QObject {
    Q_OBJECT

private slots:
    void longNames_data() {
        QTest::addColumn<QString>("shortName");
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("longName");
        QTest::newRow("credit category as a charge") << "Pri. Ins." << 1 << "";
        QTest::newRow("credit category") << "Pri. Ins." << 2 << "Primary Insurance Payment";
        QTest::newRow("all codes, any type") << "All Codes" << 3 << "All Codes";
        QTest::newRow("all codes, no type") << "All Codes" << 0 << "All Codes";
        QTest::newRow("all codes in lower case") << "all codes" << 1 << "";
        QTest::newRow("exact case counts") << "diag" << 1 << "";
        QTest::newRow("blanks count") << "Diag " << 1 << "";
        QTest::newRow("charge") << "Maxil-Pros" << 1 << "Maxillo. Pros.";
        QTest::newRow("implants") << "Implant" << 1 << "Implants";
        QTest::newRow("adjustment as a charge") << "Adjustment" << 1 << "Adjustment";
        QTest::newRow("to do list") << "Pat. Mgmt" << 3 << "To Do List";
        QTest::newRow("no such type") << "Diag" << 4 << "";
        QTest::newRow("previous balance") << "Pre Bal" << 1 << "Previous Balance";
        QTest::newRow("nsf") << "NSF" << 1 << "Non-Sufficient Fund";
    }

    void longNames() {
        QFETCH(QString, shortName);
        QFETCH(int, type);
        QFETCH(QString, longName);
        QCOMPARE(CategoryLongName(shortName, type), longName);
    }

    void editorLists() {
        QCOMPARE(categoryShortNames(1, true),
                 QStringList({"CPT", "ICD", "Reimburse", "NSF", "Tax", "Pre Bal", "Shipping"}));
        const QStringList dental = categoryShortNames(1);
        QCOMPARE(dental.size(), 19);
        QCOMPARE(dental.first(), QStringLiteral("Diag"));
        QVERIFY(!dental.contains("Adjustment"));
        QCOMPARE(categoryShortNames(2).size(), 5);
        QCOMPARE(categoryShortNames(3),
                 QStringList({"Pat. Mgmt", "Ltr. Mgmt", "Silent", "Refund"}));
        QCOMPARE(subCategoryShortNames(2),
                 QStringList({"Cash", "Check", "Credit Crd", "Pre Bal", "EFT"}));
        QCOMPARE(subCategoryShortNames(1, true),
                 QStringList({"Adjustment", "State Tax", "Interest", "Hawaii Tax"}));
        QVERIFY(subCategoryShortNames(3).isEmpty());
        QCOMPARE(codeTypes(), QStringList({"1 - Charge", "2 - Credit", "3 - Admin."}));
    }

    void recordKeepsFixedWidths() {
        ServiceCodeRecord record;
        QCOMPARE(record.SevCodCod, QString(10, ' '));
        QCOMPARE(record.SevCodDes.size(), 255);
        QCOMPARE(record.SevCodLetNam, QString());
        record.setCode("ABCDEFGHIJKL");
        QCOMPARE(record.SevCodCod, QStringLiteral("ABCDEFGHIJ"));
        record.setCategory("Pat. Pay");
        QCOMPARE(record.SevCodCat, QStringLiteral("Pat. Pay  "));
        QCOMPARE(record.category(), QStringLiteral("Pat. Pay"));
        record.setType("2 - Credit");
        QCOMPARE(record.typeNumber(), 2);
        record.setType(" 3 - Admin");
        QCOMPARE(record.typeNumber(), 3);
        record.setType("Credit");
        QCOMPARE(record.typeNumber(), 0);
        record.SevCodFee3 = tqplatform::Currency::fromUnits(7);
        QCOMPARE(record.fee(3), tqplatform::Currency::fromUnits(7));
        QCOMPARE(record.fee(9), record.SevCodFee1);
        record.clear();
        QCOMPARE(record, ServiceCodeRecord());
        QCOMPARE(ServiceCodeRecord::defaults().SevCodCurMov,
                 QStringLiteral("YNNNYNNNN").leftJustified(20));
    }

    void pseudoCodes() {
        QVERIFY(isPseudoCode(" lab~ "));
        QVERIFY(isPseudoCode("CRDE~"));
        QVERIFY(!isPseudoCode("LAB"));
        QVERIFY(!isPseudoCode("XLAB~"));
    }
};

TQ_TEST_MAIN(VocabularyTest)
#include "tst_vocabulary.moc"
