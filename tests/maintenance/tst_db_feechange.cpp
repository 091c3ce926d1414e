#include "EditorScript.h"
#include "TestMain.h"
#include "demo/FeeHistoryDialog.h"

#include <tqservicecode/maintenance/FeeChange.h>

#include <tqplatform/ScriptedUi.h>

#include <QDialog>
#include <QPushButton>
#include <QTableWidget>

using tqplatform::ScriptedUi;
using namespace tqtest;

namespace {

/// A host whose practice has no scope condition (every row of every office).
struct UnscopedHost : tqhost::PracticeHost {
    using PracticeHost::PracticeHost;
    QString GetScopeFilter(const QString&) override { return {}; }
};

}  // namespace

class FeeChangeTest : public QObject {
    Q_OBJECT

private slots:
    void changesFees_data() {
        QTest::addColumn<QString>("percent");
        QTest::addColumn<bool>("round");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("diag");   // fees of the Diag code after
        QTest::addColumn<QStringList>("other");  // fees of the Prev code after
        const auto row = [](const char* name, const char* percent, bool round, const char* tag,
                            const char* category, const QString& diag, const QString& other) {
            QTest::newRow(name) << QString(percent) << round << QString(tag) << QString(category)
                                << diag.split(' ') << other.split(' ');
        };
        const QString prevBefore = "10.0000 20.0000 30.0000 40.0000";
        row("fee 3 +5 % rounded", "5", true, "3", "Diag", "10.0000 null 32.0000 40.0000",
            prevBefore);
        row("all four +100 % rounded: doubled, a missing fee stays 0", "100", true, "", "Diag",
            "20.0000 0.0000 61.0000 80.0000", prevBefore);
        row("all four -100 %", "-100", false, "", "Diag", "0.0000 0.0000 0.0000 0.0000",
            prevBefore);
        row("all codes -10 %, a half cent kept", "-10", false, "x", "ALL CODES",
            "9.0000 0.0000 27.4050 36.0000", "9.0000 18.0000 27.0000 36.0000");
        row("all codes fee 1 +1.25 % rounded", "1.25", true, "1", "All Codes",
            "10.0000 null 30.4500 40.0000", prevBefore);
    }
    void changesFees() {
        QFETCH(QString, percent);
        QFETCH(bool, round);
        QFETCH(QString, tag);
        QFETCH(QString, category);
        QFETCH(QStringList, diag);
        QFETCH(QStringList, other);
        TQ_FIXTURE(f);
        const int32_t d = f.addCode("D1", {{"SevCodFee2", ""}, {"SevCodFee3", "30.45"}});
        const int32_t p = f.addCode("P1", {{"SevCodCat", "Prev"}});
        ScriptedUi ui;
        answerFeeDialog(ui, percent, round);
        ui.answers = {6};
        QVERIFY(tqservicecode::changeFees(category, tag));
        QCOMPARE(storedFees(f, d), diag);
        QCOMPARE(storedFees(f, p), other);
        QCOMPARE(ui.messages.size(), 1);  // Yes/No, a question, No by default
        QCOMPARE(
            QList<int>({ui.messages[0].buttons, ui.messages[0].icon, ui.messages[0].defaultButton}),
            QList<int>({4, 32, 2}));
    }

    void confirmationAndRefusals() {
        TQ_FIXTURE(f);
        const int32_t d = f.addCode("D1");
        const QStringList before = storedFees(f, d);
        ScriptedUi ui;
        answerFeeDialog(ui, "-7.5", true);
        ui.answers = {7};
        QVERIFY(!tqservicecode::changeFees(" Diag ", "2"));
        QCOMPARE(ui.prompts(),
                 QStringList{"You have chosen to DECREASE fee 2 by -7.5% for all codes having "
                             "category = [Diag] and Round fees to the nearest dollar.\r\n\r\nThis "
                             "process cannot be reversed. Do you want to continue?"});
        ui.messages.clear();
        answerFeeDialog(ui, "12", false);
        QVERIFY(!tqservicecode::changeFees("All Codes", ""));
        QCOMPARE(ui.prompts(),
                 QStringList{"You have chosen to INCREASE all 4 fees by 12% for all codes.\r\n\r\n"
                             "This process cannot be reversed. Do you want to continue?"});
        for (const QString& beyond : {QString("100.5"), QString("-100.5")}) {
            ui.messages.clear();
            answerFeeDialog(ui, beyond, false);
            QVERIFY(!tqservicecode::changeFees("Diag", ""));
            QCOMPARE(ui.prompts(), QStringList{"Fees cannot be changed by more than 100%"});
        }
        ui.messages.clear();
        answerFeeDialog(ui, "", false);  // cancelled: no message at all
        QVERIFY(!tqservicecode::changeFees("Diag", ""));
        QCOMPARE(ui.messages.size(), 0);
        QCOMPARE(storedFees(f, d), before);
    }

    /// A rounded fee is the fee as money (four decimals) rounded to whole dollars, a half
    /// away from zero, on both databases (SQLite's doubles put 12.50 * 1.16 just below
    /// 14.50). Fee 1 goes through a category (Clng, or ROUND on a server), fee 2 through
    /// all codes (CInt, not limited to 16 bits).
    void roundsTheFeeAsMoney_data() {
        QTest::addColumn<QString>("fee");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("rounded");
        const auto row = [](const char* tag, const char* fee, const char* percent,
                            const char* rounded) {
            QTest::newRow(tag) << fee << percent << QString(rounded) + ".0000";
        };
        row("12.50 +16 %", "12.50", "16", "15");
        row("-12.50 +16 %", "-12.50", "16", "-15");
        row("9.28 x 1.5625", "9.28", "56.25", "15");
        row("18.24 x 1.5625", "18.24", "56.25", "29");
        row("-18.24 x 1.5625", "-18.24", "56.25", "-29");
        row("14.2857 x 1.015 is $14.50", "14.2857", "1.5", "15");
        row("-2.50 halved", "-2.50", "-50", "-1");
        row("40,000 doubled", "40000", "100", "80000");
    }
    void roundsTheFeeAsMoney() {
        QFETCH(QString, fee);
        QFETCH(QString, percent);
        QFETCH(QString, rounded);
        TQ_FIXTURE(f);
        const int32_t id = f.addCode("H1", {{"SevCodFee1", fee}, {"SevCodFee2", fee}});
        ScriptedUi ui;
        answerFeeDialog(ui, percent, true);
        ui.answers = {6, 6};
        QVERIFY(tqservicecode::changeFees("Diag", "1"));
        QVERIFY(tqservicecode::changeFees("ALL CODES", "2"));
        QCOMPARE(storedFees(f, id).mid(0, 2), (QStringList{rounded, rounded}));
    }

    void aQuoteInTheCategoryChangesNothing() {
        TQ_FIXTURE(f);
        const int32_t d = f.addCode("Q1", {{"SevCodCat", "Pat's"}});
        const QStringList before = storedFees(f, d);
        ScriptedUi ui;
        answerFeeDialog(ui, "10", false);
        ui.answers = {6};
        const bool ran = tqplatform::ui::guard([] { tqservicecode::changeFees("Pat's", ""); });
        QVERIFY(!ran);
        QCOMPARE(ui.messages.size(), 2);  // the confirmation, then the database's reason
        QCOMPARE(ui.messages[1].icon, 16);
        QCOMPARE(storedFees(f, d), before);
    }

    void allCodesWithoutAScope() {
        TQ_FIXTURE(f);
        const int32_t a = f.addCode("A1", {{"SevCodFee4", ""}, {"OffLocID", "3"}});
        auto host =
            std::make_shared<UnscopedHost>(f.host->sharedConnection(), f.db.dataPath(), "tester");
        host->ensureSchema();
        f.component.setGIC(host);
        ScriptedUi ui;
        answerFeeDialog(ui, "50", false);
        ui.answers = {6, 6};
        QVERIFY(tqservicecode::changeFees("All Codes", "4"));
        QCOMPARE(storedFees(f, a), (QStringList{"10.0000", "20.0000", "30.0000", "0.0000"}));
        QVERIFY(tqservicecode::changeFees("All Codes", "1"));
        QCOMPARE(storedFees(f, a)[0], QString("15.0000"));
    }
    /// Whoever changes a fee (the fee change, the editor, a row written by an import), the
    /// database records it; the demo puts back one fee change where nobody changed it since.
    void feeHistoryRecordsEveryWriter() {
        TQ_FIXTURE(f);
        const int32_t d1 = f.addCode("D1");
        const int32_t d2 = f.addCode("D2");
        f.host->setCurrentUser("maria", 5);
        ScriptedUi ui;
        answerFeeDialog(ui, "10", false);
        ui.answers = {6};
        QVERIFY(tqservicecode::changeFees("Diag", "1"));
        {
            auto e = openEditor(d1);
            typeAndLeave(*e, 4, "25");
            button(*e, "Command3D2_2")->click();
        }
        int32_t key = d1;  // a row written as an import writes it
        int16_t written = 0;
        f.host->SaveRecord(1, "SevCodTable", "SevCodID", key, {"SevCodFee4", "SevCodDes"},
                           {"44", "x"}, true, written);
        QCOMPARE(written, int16_t(1));
        f.host->connection().Execute("UPDATE SevCodTable SET SevCodDes = 'y'");  // no fee
        const auto history = f.host->feeHistory(d1);
        QCOMPARE(history.size(), 3);
        QCOMPARE(history[0].feeNumber, 4);
        QCOMPARE(history[1].feeNumber, 2);
        QCOMPARE(history[1].newFee, tqplatform::Currency::fromUnits(25));
        QCOMPARE(history[2].feeNumber, 1);
        QCOMPARE(history[2].oldFee, tqplatform::Currency::fromUnits(10));
        QCOMPARE(history[2].newFee, tqplatform::Currency::fromUnits(11));
        QCOMPARE(history[2].user, QString("maria"));
        QCOMPARE(history[2].changedAt, f.host->feeHistory(d2)[0].changedAt);  // one statement
        f.host->connection().Execute("UPDATE SevCodTable SET SevCodFee1 = 12 WHERE SevCodID=" +
                                     QString::number(d2));

        tqdemo::FeeHistoryDialog dialog(*f.host, d1, "D1");
        auto* table = control<QTableWidget>(dialog, "tblHistory");
        QCOMPARE(table->rowCount(), 3);
        table->selectRow(2);
        ui.answers = {6};
        control<QPushButton>(dialog, "cmdPutBack")->click();
        QCOMPARE(ui.messages.last().prompt, QString("The fee was put back for 1 code(s)."));
        QCOMPARE(storedFees(f, d1)[0], QString("10.0000"));
        QCOMPARE(storedFees(f, d2)[0], QString("12.0000"));  // changed since: kept
        QCOMPARE(table->rowCount(), 4);                      // putting back is a change too
    }
};

TQ_TEST_MAIN(FeeChangeTest)
#include "tst_db_feechange.moc"
