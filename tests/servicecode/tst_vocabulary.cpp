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
        QTest::newRow("all codes, no type") << "All Codes" << 0 << "All Codes";
        QTest::newRow("exact case counts") << "diag" << 1 << "";
        QTest::newRow("blanks count") << "Diag " << 1 << "";
        QTest::newRow("adjustment as a charge") << "Adjustment" << 1 << "Adjustment";
        QTest::newRow("to do list") << "Pat. Mgmt" << 3 << "To Do List";
        QTest::newRow("no such type") << "Diag" << 4 << "";
    }

    void longNames() {
        QFETCH(QString, shortName);
        QFETCH(int, type);
        QFETCH(QString, longName);
        QCOMPARE(CategoryLongName(shortName, type), longName);
    }

    void recordKeepsFixedWidths() {
        // Padding, the defaults, fees by schedule and clearing as the store and the picker
        // read them: tst_db_store, tst_db_picker.
        ServiceCodeRecord record;
        record.setCode("ABCDEFGHIJKL");
        QCOMPARE(record.SevCodCod, QStringLiteral("ABCDEFGHIJ"));
        record.setType("2 - Credit");
        QCOMPARE(record.typeNumber(), 2);
        record.setType("Credit");
        QCOMPARE(record.typeNumber(), 0);
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
