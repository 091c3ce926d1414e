// Faults of the code table's maintenance, on SQLite and PostgreSQL: a fee change and an
// editor's save meeting a refused statement, a lost connection and another workstation's
// lock; and a fee change over a table of some size, on a practice made by an earlier
// version of the host.

#include "../maintenance/EditorScript.h"
#include "Faults.h"
#include "TestMain.h"

#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/maintenance/FeeChange.h>
#include <tqservicecode/maintenance/SerCod.h>

#include <tqplatform/ScriptedUi.h>

#include <QAction>
#include <QMenu>

#include <functional>

using tqplatform::ScriptedUi;
using namespace tqtest;

namespace {

/// A host whose fault strikes at a chosen moment: before the fee change's UPDATE statement
/// of that number (1 for the first), or before the editor's row save (0).
struct FaultingHost : tqhost::PracticeHost {
    using PracticeHost::PracticeHost;
    int faultAt = -1;
    int updates = 0;
    std::function<void()> fault;
    void strike(int moment) {
        if (moment == faultAt && fault) {
            std::exchange(fault, {})();
        }
    }
    QString TranslateSql(const QString& statement, int mode) override {
        if (statement.startsWith("UPDATE SevCodTable", Qt::CaseInsensitive)) {
            strike(++updates);
        }
        return PracticeHost::TranslateSql(statement, mode);
    }
    bool SaveServiceCodeRow(int32_t& id, const QStringList& columns, const QStringList& texts,
                            int mode, const QString& keyField, const QString& table) override {
        strike(0);
        return PracticeHost::SaveServiceCodeRow(id, columns, texts, mode, keyField, table);
    }
};

/// The component's host on a connection of its own that waits one second for a lock on
/// PostgreSQL (SQLite waits its busy timeout).
std::shared_ptr<FaultingHost> useFaultingHost(ComponentFixture& f) {
    const QString url = f.db.isPostgres() ? f.db.url() + "?lock_timeout=1" : f.db.url();
    auto host = std::make_shared<FaultingHost>(std::make_shared<tqplatform::Connection>(url),
                                               f.db.dataPath(), "tester");
    host->ensureSchema();
    host->grantRight("tester", "CHANGE-SER-CODE");
    host->SaveUserSetting("USER_DEF_SETUP" + host->GetCurrentUserName(), "SER_COD_CAT", 0, "Diag");
    f.component.setGIC(host);
    return host;
}

/// Arms the fault of a row: "refused" (the database refuses UPDATE of the code table),
/// "dropped" (the connection is cut) at the host's moment, or "locked" (another
/// workstation is writing the code D2) from now on.
std::unique_ptr<LockHolder> arm(FaultingHost& host, const QString& fault, const QString& url,
                                int moment) {
    host.faultAt = moment;
    if (fault == "refused") {
        host.fault = [&host] {
            failStatements(host.connection(), "SevCodTable", "UPDATE", "no changes today");
        };
    } else if (fault == "dropped") {
        host.fault = [&host] {
            dropConnection(host.connection());
            QTest::qWait(300);
        };
    } else {
        return std::make_unique<LockHolder>(url, "SevCodTable", "SevCodCod = 'D2'");
    }
    return nullptr;
}

/// The four fees of a code as the browser shows them.
QStringList shownFees(tqservicecode::SerCod& browser, int32_t id) {
    QStringList fees;
    for (int row = 0; row < browser.grid()->model()->rowCount(); ++row) {
        if (browser.idAt(row) != id) {
            continue;
        }
        for (int column = 6; column <= 9; ++column) {
            const QString text = browser.grid()->model()->index(row, column).data().toString();
            fees << QString::number(text.mid(1).remove(',').toDouble(), 'f', 4);
        }
    }
    return fees;
}

/// The faults each maintenance screen meets, and the reason its message must give.
void faultRows() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char* name, const char* fault, const char* reason) {
        QTest::newRow(name) << QString(fault) << QString(reason);
    };
    row("statement refused", "refused", "no changes today");
    row("connection dropped", "dropped", "connection to the database was lost");
    row("rows locked elsewhere", "locked", "lock");
}

}  // namespace

class MaintenanceFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void feeChangeFault_data() { faultRows(); }
    /// The fault strikes after fees 1 and 2 (or, held by another workstation, at the first
    /// change): the statements that ran stay run, the user is told why the rest did not,
    /// and the browser shows the fees the database holds.
    void feeChangeFault() {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        TQ_FIXTURE(f);
        auto host = useFaultingHost(f);
        const int32_t ids[] = {f.addCode("D1"), f.addCode("D2")};
        std::unique_ptr<LockHolder> other = arm(*host, fault, f.db.url(), 5);
        tqservicecode::SerCod browser;
        browser.show();
        ScriptedUi ui;
        answerFeeDialog(ui, "10");
        ui.answers = {6};
        browser.popupFor(0, 3)->actions()[6]->trigger();  // all four fees
        // SQLite opens a closed file again and goes on; PostgreSQL cannot know what the
        // server did with the statement it lost.
        const bool whole = fault == "dropped" && !f.db.isPostgres();
        const int changed = whole ? 4 : fault == "locked" ? 0 : 2;
        const QStringList before = {"10.0000", "20.0000", "30.0000", "40.0000"};
        const QStringList after = {"11.0000", "22.0000", "33.0000", "44.0000"};
        const QStringList expected = after.mid(0, changed) + before.mid(changed);
        QCOMPARE(ui.messages.size(), whole ? 1 : 2);
        if (!whole) {
            QVERIFY2(ui.messages[1].prompt.contains(reason), qPrintable(ui.messages[1].prompt));
        }
        other.reset();
        for (const int32_t id : ids) {
            QCOMPARE(storedFees(f, id), expected);
            QCOMPARE(shownFees(browser, id), expected);
        }
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FeeHistory").toInt(), 2 * changed);
        // The fault gone, the same screen changes fees again.
        stopFailingStatements(host->connection(), "SevCodTable", "UPDATE");
        ui.answers = {6};
        browser.popupFor(0, 6)->actions()[6]->trigger();  // fee 1
        QCOMPARE(shownFees(browser, ids[1])[0], changed > 0 ? "12.1000" : "11.0000");
    }

    void editorSaveFault_data() { faultRows(); }
    /// A save that fails keeps the user's text on screen and writes nothing; saving again
    /// once the fault is gone writes it.
    void editorSaveFault() {
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        TQ_FIXTURE(f);
        auto host = useFaultingHost(f);
        const int32_t id = f.addCode("D2");
        std::unique_ptr<LockHolder> other = arm(*host, fault, f.db.url(), 0);
        auto editor = openEditor(id);
        typeAndLeave(*editor, 1, "Changed");
        ScriptedUi ui;
        button(*editor, "Command3D2_2")->click();
        if (fault == "dropped" && !f.db.isPostgres()) {
            QCOMPARE(codeColumn(f, id, "SevCodDes"), "Changed");  // the file was opened again
            return;
        }
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages[0].prompt.contains(reason), qPrintable(ui.messages[0].prompt));
        other.reset();
        QCOMPARE(codeColumn(f, id, "SevCodDes"), "Description of D2");
        QCOMPARE(box(*editor, 1)->text(), "Changed");
        QCOMPARE(editor->SevCodID(), id);
        stopFailingStatements(host->connection(), "SevCodTable", "UPDATE");
        button(*editor, "Command3D2_2")->click();
        QCOMPARE(codeColumn(f, id, "SevCodDes"), "Changed");
        QCOMPARE(box(*editor, 1)->text(), "");  // saved: ready for a new code
    }

    /// A practice made by an earlier version (its code table packed full, a second index
    /// over the codes, the history's trigger as it was) is brought up to date when the host
    /// opens it; a fee change over all codes then records every changed fee with its old
    /// and new value.
    void largeFeeChangeOnAnUpgradedPractice() {
        TQ_FIXTURE(f);
        constexpr int Codes = 3000;
        tqplatform::Connection& connection = f.host->connection();
        const bool postgres = f.db.isPostgres();
        if (postgres) {
            connection.Execute("ALTER TABLE SevCodTable RESET (fillfactor)");
            connection.Execute(
                "CREATE INDEX IF NOT EXISTS ix_sevcodtable_sevcodcod ON SevCodTable (SevCodCod)");
            connection.Execute("ALTER FUNCTION tq_fee_history() RESET ALL");
        }
        connection.Execute(QString("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM "
                                   "n WHERE i < %1) INSERT INTO SevCodTable (SevCodCod, SevCodDes, "
                                   "SevCodTyp, SevCodCat, SevCodFee1, SevCodFee2, SevCodFee3, "
                                   "SevCodFee4, OffLocID) SELECT 'T' || i, 'Procedure ' || i, "
                                   "'1 - Charge', 'Diag', 10.25 + i % 90, 20.5, 30.75, 40.25 + i, "
                                   "0 FROM n")
                               .arg(Codes - 1));
        const QString sums =
            "SELECT SUM(SevCodFee1) + SUM(SevCodFee2) * 2 + SUM(SevCodFee3) * 3 "
            "+ SUM(SevCodFee4) * 4 FROM SevCodTable";
        const double before = f.scalar(sums).toDouble();
        if (postgres) {
            // Reopened, the practice is brought up to date: its pages rewritten with room for
            // a second version of each row, and one index over the codes.
            const QString size = "SELECT pg_relation_size('sevcodtable')";
            const double packed = f.scalar(size).toDouble();
            f.component.setGIC(nullptr);
            f.host = tqhost::createHost(f.db.url(), f.db.dataPath(), "tester");
            f.component.setGIC(f.host);
            QVERIFY(f.scalar(size).toDouble() > 1.8 * packed);
            QCOMPARE(f.scalar("SELECT COUNT(*) FROM pg_indexes WHERE indexname = "
                              "'ix_sevcodtable_sevcodcod'")
                         .toInt(),
                     0);
        }
        ScriptedUi ui;
        answerFeeDialog(ui, "10");
        ui.answers = {6};
        QVERIFY(tqservicecode::changeFees("All Codes", ""));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FeeHistory").toInt(), 4 * Codes);
        QCOMPARE(f.scalar(sums).toDouble(), before * 1.1);
        QCOMPARE(f.scalar("SELECT SUM(OldFee * FeeNum) FROM FeeHistory").toDouble(), before);
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM FeeHistory h JOIN SevCodTable s ON s.SevCodID = "
                          "h.SevCodID WHERE h.NewFee = CASE h.FeeNum WHEN 1 THEN s.SevCodFee1 "
                          "WHEN 2 THEN s.SevCodFee2 WHEN 3 THEN s.SevCodFee3 ELSE s.SevCodFee4 END")
                     .toInt(),
                 4 * Codes);
    }
};

TQ_TEST_MAIN(MaintenanceFaultsTest)
#include "tst_db_maintenancefaults.moc"
