#include "ComponentFixture.h"
#include "TestMain.h"

#include <tqservicecode/codes/ServiceCodeStore.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/reference/CodeSearchScreen.h>

#include <tqplatform/ScriptedUi.h>

#include <QDialog>

using tqplatform::Currency;
using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

const QString CR = "\r";

/// A search window closed without a choice, which remembers the text it opened with.
class FakeSearchScreen : public QDialog, public CodeSearchScreen {
    Q_OBJECT

public:
    static inline QString startText;
    void SetupScreen(int32_t, int32_t) override {}
    void setStartText(const QString& text) override { startText = text; }
    int32_t SelectionID() const override { return 0; }
    QString Selection() const override { return {}; }
};

bool find(const QString& code, ServiceCodeRecord& record, bool allowSearch = false,
          bool skipReserved = false) {
    bool byID = false;
    return FindServiceCode(code, record, allowSearch, byID, 0, 0, skipReserved);
}

}  // namespace

class StoreTest : public QObject {
    Q_OBJECT

private slots:
    void shortFormsAreTriedInOrder_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");  // rows in the table
        QTest::addColumn<bool>("dPrefix");
        QTest::addColumn<QString>("found");  // "" when nothing is found
        const auto row = [](const char* name, const char* typed, const QStringList& codes,
                            bool dPrefix, const char* found) {
            QTest::newRow(name) << QString(typed) << codes << dPrefix << QString(found);
        };
        row("three digits take the D form first", "120", {"D0120", "00120"}, true, "D0120");
        row("then the zero form of the D form", "120", {"00120"}, true, "00120");
        row("without the prefix only the zero form", "120", {"D0120", "00120"}, false, "00120");
        row("without the prefix no D form", "120", {"D0120"}, false, "");
        row("typed code wins over its forms", "120", {"120", "D0120"}, true, "120");
        row("five character D code retried with zero", "D0150", {"00150"}, true, "00150");
        row("five character D code, no prefix", "D0150", {"00150"}, false, "");
        row("six characters are not changed", "D00150", {"000150"}, true, "");
        row("one digit", "9", {"D0009"}, true, "D0009");
        row("typed with blanks", "  140 ", {"D0140"}, true, "D0140");
        row("lower case code", "d2740", {"D2740"}, true, "D2740");
    }

    void shortFormsAreTriedInOrder() {
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        QFETCH(bool, dPrefix);
        QFETCH(QString, found);
        TQ_FIXTURE(f);
        f.host->setUseCdtDPrefix(dPrefix);
        for (const QString& code : codes) {
            f.addCode(code);
        }
        ServiceCodeRecord record;
        QCOMPARE(find(typed, record), !found.isEmpty());
        QCOMPARE(record.code(), found);
        QVERIFY(!found.isEmpty() || record == ServiceCodeRecord());  // nothing half filled
    }

    void aliasesIdsAndBadInput() {
        TQ_FIXTURE(f);
        f.addCode("PE", {{"SevCodDes", "Code named PE"}});
        const int32_t exam = f.addCode("D0120", {{"SevCodOffCod", "PE"}, {"SevCodInsCod", "X120"}});
        ServiceCodeRecord record;
        QVERIFY(find("PE", record));
        QCOMPARE(record.description(), "Code named PE");
        QVERIFY(find("x120", record));
        QCOMPARE(record.SevCodID, exam);
        QCOMPARE(record.SevCodOffCod, "PE        ");  // fixed width, padded

        bool byID = true;
        QVERIFY(FindServiceCode(QString::number(exam), record, false, byID));
        QCOMPARE(record.code(), "D0120");
        for (const QString id : {"999999", "0", "abc"}) {
            QVERIFY(!FindServiceCode(id, record, false, byID));
        }
        QVERIFY(!find("   ", record));

        // Quotes, percent signs and overlong input are answered, never thrown.
        f.addCode("O'NEIL", {{"SevCodDes", "It's 100% \"quoted\""}});
        f.addCode("10%");
        ScriptedUi ui;
        QVERIFY(find("O'NEIL", record));
        QCOMPARE(record.description(), "It's 100% \"quoted\"");
        QVERIFY(!find("1%", record));  // a percent sign is no wildcard here
        QVERIFY(find("10%", record));
        QVERIFY(!find("ABCDEFGHIJK", record));  // longer than any code
        QVERIFY(!find("x' OR '1'='1", record));
        QVERIFY(CountCodeRows("x' OR '1'='1", true, true, 0));

        // A pseudo-code row the table refuses leaves the record unstored, nothing half written.
        ServiceCodeRecord tooLong = ServiceCodeRecord::defaults();
        tooLong.setCode("LONGDESC");
        tooLong.SevCodDes = QString(300, QLatin1Char('x'));
        SaveProgramCode(tooLong);
        QCOMPARE(tooLong.SevCodID, 0);
        QCOMPARE(f.scalar("SELECT count(*) FROM SevCodTable WHERE SevCodCod='LONGDESC'").toInt(),
                 0);
        ServiceCodeRecord blank;
        SaveProgramCode(blank);  // a blank code is ignored
        QCOMPARE(f.scalar("SELECT count(*) FROM SevCodTable").toInt(), 4);
    }

    void reservedCodesAreRefused() {
        TQ_FIXTURE(f);
        f.addCode(
            "CCPMT",
            {{"SevCodTyp", "2 - Credit"}, {"SevCodCat", "Pat. Pay"}, {"SevCodSubCat", "Cash"}});
        ScriptedUi ui;
        ServiceCodeRecord record;
        QVERIFY(!find("ccpmt", record));
        QCOMPARE(ui.prompts(),
                 QStringList{"This is a program-defined code and cannot be entered manually."});
        QCOMPARE(ui.messages[0].icon, 64);
        QCOMPARE(record, ServiceCodeRecord());
        QVERIFY(find("ccpmt", record, false, true));  // the check may be skipped
        QCOMPARE(ui.messages.size(), 1);

        QVERIFY(IsProgramDefinedCode(" ccrfn ", "dupe"));
        QCOMPARE(ui.messages.last().prompt,
                 QString("This program-defined code already exists in Service Codes and cannot") +
                     CR + "be duplicated.  Please enter a different name in the Code field.");
        QVERIFY(IsProgramDefinedCode("CCRMB", "Delete"));
        QCOMPARE(ui.messages.last().prompt, "This program-defined code cannot be deleted.");
        const int shown = ui.messages.size();
        QVERIFY(IsProgramDefinedCode("CCRMB", "other"));
        QVERIFY(!IsProgramDefinedCode("CCRM", "Manual"));
        QVERIFY(!IsProgramDefinedCode("", "Manual"));
        QCOMPARE(ui.messages.size(), shown);
    }

    void pseudoCodesAreCreatedOnFirstUse_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("row");  // code, type, description, category, sub, stops
        const auto row = [](const char* typed, const char* expected) {
            QTest::newRow(typed) << typed << expected;
        };
        row("lab~", "LAB~|3 - Admin|Laboratory Case|Pat. Mgmt||YNNNYNNNN");
        row(" Rx~ ", "RX~|3 - Admin|Prescription|Silent||YNNNYNNNN");
        row("psr~", "PSR~|3 - Admin|PSR|Silent||YNNNYNNNN");
        row("crde~",
            "CRDE~|2 - Credit|Electronic Credit Card Process|Pat. Pay|CreditCrdE|YNNNYYNNN");
    }

    void pseudoCodesAreCreatedOnFirstUse() {
        QFETCH(QString, typed);
        QFETCH(QString, row);
        TQ_FIXTURE(f);
        f.host->setOfficeLocationID(3);
        ServiceCodeRecord record;
        QVERIFY(find(typed, record));
        ServiceCodeRecord again;  // read back from the table
        QVERIFY(find(typed, again));
        QCOMPARE(again.SevCodID, record.SevCodID);
        QCOMPARE(QStringList({again.code(), again.SevCodTyp.trimmed(), again.description(),
                              again.category(), again.subCategory(), again.SevCodCurMov.trimmed()})
                     .join('|'),
                 row);
        QCOMPARE(again.SevCodBil.trimmed(), "N");
        QCOMPARE(f.scalar("SELECT count(*) || '@' || max(OffLocID) FROM SevCodTable").toString(),
                 "1@3");
    }

    void creditRules_data() {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("subCategory");
        QTest::addColumn<QString>("message");  // "" when the credit passes
        const QString line = CR + CR + "        CR1 - Payment by cash" + CR + CR;
        const QString edit = "Please edit this code in the Edit Service Code screen.";
        const auto row = [](const char* name, const char* category, const char* sub,
                            const QString& message) {
            QTest::newRow(name) << category << sub << message;
        };
        const QString sub =
            "Also, for proper tracking in reports, this credit should be sub-categorized.";
        const QString uncategorized =
            "The following credit code must be categorized before it can be entered.";
        row("patient payment with method", "Pat. Pay", "Cash", "");
        row("insurance payment without method", "Pri. Ins.", "", "");
        row("no category, no method", "", "", uncategorized + line + sub + CR + CR + edit);
        row("no category, a method", "", "Cash", uncategorized + line + edit);
        row("patient payment without method", "pat. pay", "",
            "The following credit code must be Sub-categorized before it can be entered." + line +
                edit);
    }

    void creditRules() {
        QFETCH(QString, category);
        QFETCH(QString, subCategory);
        QFETCH(QString, message);
        TQ_FIXTURE(f);
        f.addCode("CR1", {{"SevCodTyp", "2 - Credit"},
                          {"SevCodDes", " Payment by cash "},
                          {"SevCodCat", category},
                          {"SevCodSubCat", subCategory}});
        ScriptedUi ui;
        ServiceCodeRecord record;
        QCOMPARE(find("CR1", record), message.isEmpty());
        QCOMPARE(ui.prompts().join(""), message);
        QVERIFY(ui.messages.isEmpty() || ui.messages[0].buttons == 0);
        QCOMPARE(record.code(), message.isEmpty() ? "CR1" : "");
    }

    void readRulesAndExactMoney() {
        TQ_FIXTURE(f);
        f.addCode("D2740", {{"SevCodDes", "Crown *tm* internal note"},
                            {"SevCodFee1", "-5.00"},
                            {"SevCodFee2", "12345678.1234"},
                            {"SevCodFee3", "$1,234.50"},
                            {"SevCodFee4", "0.1"}});
        f.addCode("INS1",
                  {{"SevCodTyp", "2 - Credit"}, {"SevCodCat", "Pri. Ins."}, {"SevCodSubCat", ""}});
        ServiceCodeRecord record;
        QVERIFY(find("D2740", record));
        QCOMPARE(record.SevCodDes.trimmed(), "Crown");
        QCOMPARE(record.SevCodDes.size(), 255);
        QCOMPARE(QList<Currency>(
                     {record.SevCodFee1, record.SevCodFee2, record.SevCodFee3, record.SevCodFee4}),
                 QList<Currency>({Currency(), Currency::fromRaw(123456781234),
                                  Currency::fromRaw(12345000), Currency::fromRaw(1000)}));

        QVERIFY(find("INS1", record));
        QCOMPARE(record.category(), "Pri. Ins.");
        f.host->setInsurancePaymentsAsChecks(true);
        QVERIFY(find("INS1", record));
        QCOMPARE(record.category() + "/" + record.subCategory(), "Pat. Pay/Check");

        // Null columns read as blanks and zeros.
        f.host->connection().Execute("INSERT INTO SevCodTable (SevCodCod) VALUES ('NULLS')");
        QVERIFY(find("NULLS", record));
        QCOMPARE(record.description() + record.SevCodLetNam, QString());
        QVERIFY(record.SevCodFee1 == Currency() && record.SevCodTax == 0.0f);
        QCOMPARE(record.typeNumber(), 0);

        // A program code saved over its row: one row, the values read back.
        const int32_t id = f.addCode("RX~", {{"SevCodDes", "Old words"}, {"SevCodFee1", "9.99"}});
        record = ServiceCodeRecord::defaults();
        record.setCode("RX~");
        record.setDescription("Prescription");
        record.SevCodFee1 = Currency::fromRaw(12345);
        record.SevCodTax = 8.25f;
        record.SevCodLetNam = "  letter.rtf ";
        SaveProgramCode(record);
        QCOMPARE(record.SevCodID, id);
        QCOMPARE(f.scalar("SELECT count(*) FROM SevCodTable WHERE SevCodCod = 'RX~'").toInt(), 1);
        ServiceCodeRecord read;
        QVERIFY(find("RX~", read));
        QCOMPARE(read.description() + "|" + read.SevCodLetNam + "|" + read.SevCodCurMov.trimmed(),
                 "Prescription|letter.rtf|YNNNYNNNN");
        QVERIFY(read.SevCodFee1 == Currency::fromRaw(12345) && read.SevCodTax == 8.25f);
    }

    void ambiguousCodesOpenTheSearchWindow() {
        TQ_FIXTURE(f);
        const int32_t first = f.addCode("DUP", {{"SevCodDes", "First"}});
        f.addCode("DUP", {{"SevCodDes", "Second"}});
        ScreenFactory::Registration search(CodeSearchScreenName,
                                           [] { return std::make_unique<FakeSearchScreen>(); });
        ScriptedUi ui;

        ServiceCodeRecord record;
        QVERIFY(find("DUP", record));  // no search window: the first row
        QCOMPARE(record.SevCodID, first);
        QVERIFY(ui.shownScreens.isEmpty());

        // The window's answer taken by id: tst_db_codesearch, through the real window.
        // Several rows at any step end the lookup: neither a later column nor a short
        // form may answer for them ("120" twice beside "D0120"; an office code twice
        // beside an insurance code).
        f.host->setUseCdtDPrefix(true);
        f.addCode("120");
        f.addCode("120");
        f.addCode("D0120");
        f.addCode("X1", {{"SevCodOffCod", "OC"}});
        f.addCode("X2", {{"SevCodOffCod", "OC"}});
        f.addCode("X3", {{"SevCodInsCod", "OC"}});
        bool byID = false;
        for (const QString typed : {"120", "OC", "NOSUCH"}) {
            QVERIFY(!FindServiceCode(typed, record, true, byID));
            QCOMPARE(FakeSearchScreen::startText, typed);
            QCOMPARE(record, ServiceCodeRecord());
        }
        QVERIFY(!byID);
        QCOMPARE(ui.shownScreens, QStringList(3, CodeSearchScreenName));
    }

    void countingRows() {
        TQ_FIXTURE(f);
        f.addCode("A1", {{"SevCodOffCod", "B1"}});
        f.addCode("A1");
        f.addCode("C1", {{"SevCodInsCod", "A1"}});
        f.addCode("OTHER", {{"OffLocID", "9"}});  // another office's code is out of scope
        f.addCode("D1", {{"OffLocID", "9"}, {"SevCodOffCod", "A1"}});  // and so are its aliases
        QVERIFY(CountCodeRows("B1", true, false, 0));
        QVERIFY(!CountCodeRows("B1", true, true, 0));
        QVERIFY(CountCodeRows("A1", false, false, 2));
        QVERIFY(CountCodeRows("A1", false, true, 3));
        QVERIFY(!CountCodeRows("A1", false, false, -1));
        QVERIFY(CountCodeRows("C1", false, false, -1));
        QVERIFY(CountCodeRows("OTHER", true, false, 0));
    }
};

TQ_TEST_MAIN(StoreTest)
#include "tst_db_store.moc"
