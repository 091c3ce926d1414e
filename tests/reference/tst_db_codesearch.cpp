#include "../servicecode/ComponentFixture.h"
#include "Faults.h"
#include "TestMain.h"

#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/reference/CodeSearchLauncher.h>
#include <tqservicecode/reference/ReferenceCodeScreen.h>
#include <tqservicecode/reference/frmSearchSCode.h>
#include <tqservicecode/selection/PickerListModel.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqplatform/ScriptedUi.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QUrl>

#include <functional>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

void pressOkay(const frmSearchSCode& form) {
    tqtest::control<QToolBar>(form, "TB")->findChild<QAction*>("Okay")->trigger();
}

/// The reference browser as the import opens it: it notes what it was asked to show.
struct FakeCodes : QDialog, ReferenceCodeScreen {
    void SetupScreen(int32_t type, const QString& text) override {
        setProperty("setup", QString::number(type) + ":" + text);
    }
};

/// The values of one result column, in the list's order.
QStringList column(const frmSearchSCode& form, const QString& caption) {
    const RecordGrid* grid = tqtest::control<RecordGrid>(form, "TDBG");
    const int col = grid->columnByCaption(caption);
    QStringList values;
    for (int row = 0; row < grid->recordModel()->rowCount(); ++row) {
        values << grid->recordModel()->cellText(row, col).trimmed();
    }
    return values;
}

void typeAndFind(frmSearchSCode& form, const QString& text) {
    QLineEdit* box = tqtest::control<QComboBox>(form, "dbcSCode")->lineEdit();
    box->setText(text);
    QTest::keyClick(box, Qt::Key_Return);
}

/// A practice whose codes hold the characters a search must take literally.
struct SearchPractice : tqtest::ComponentFixture {
    int32_t crown = 0, refund = 0;
    bool setUp() {
        if (!open()) {
            return false;
        }
        crown = addCode("D2740", {{"SevCodDes", "Crown - porcelain"}, {"SevCodOffCod", "CRN"}});
        addCode("D2750", {{"SevCodDes", "Crown 50% off"}});
        addCode("D2751", {{"SevCodDes", "Crown 500 series"}});
        addCode("D_9", {{"SevCodDes", "O'Neil [special] \\ path"}});
        addCode("DA9", {{"SevCodDes", "Plain"}});
        addCode("K02.9", {{"SevCodDes", "Dental caries, unspecified"}});
        refund = addCode(
            "RF1", {{"SevCodDes", "Refund"}, {"SevCodTyp", "3 - Admin"}, {"SevCodCat", "Refund"}});
        addCode("CR1", {{"SevCodDes", "Cash"},
                        {"SevCodTyp", "2 - Credit"},
                        {"SevCodCat", "Pat. Pay"},
                        {"SevCodSubCat", "Cash"}});
        return true;
    }
};

#define TQ_SEARCH_PRACTICE(f)  \
    SearchPractice f;          \
    TQ_REQUIRE_DATABASE(f.db); \
    QVERIFY(f.setUp())

}  // namespace

/// The run's practice, for the tests that only read it.
#define TQ_SHARED_PRACTICE(f)            \
    TQ_REQUIRE_DATABASE(m_practice->db); \
    QVERIFY(m_ready);                    \
    [[maybe_unused]] SearchPractice& f = *m_practice

class TestCodeSearch : public QObject {
    Q_OBJECT
    std::unique_ptr<SearchPractice> m_practice;
    bool m_ready = false;

private slots:
    void initTestCase() {
        m_practice = std::make_unique<SearchPractice>();
        m_ready = m_practice->db.available() && m_practice->setUp();
    }
    void cleanupTestCase() { m_practice.reset(); }

    void findsWhatWasTypedLiterally_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("codes");
        QTest::newRow("empty finds every code")
            << "" << QStringList{"CR1", "D2740", "D2750", "D2751", "D_9", "DA9", "K02.9", "RF1"};
        QTest::newRow("any case") << "crown" << QStringList{"D2740", "D2750", "D2751"};
        QTest::newRow("office code") << "crn" << QStringList{"D2740"};
        QTest::newRow("percent is no wildcard") << "50%" << QStringList{"D2750"};
        QTest::newRow("underscore is no wildcard") << "D_" << QStringList{"D_9"};
        QTest::newRow("quote") << "O'Neil" << QStringList{"D_9"};
        QTest::newRow("bracket") << "[special]" << QStringList{"D_9"};
        QTest::newRow("backslash") << "\\ path" << QStringList{"D_9"};
        QTest::newRow("a closing quote cannot widen") << "x' OR 'a'='a" << QStringList{};
        QTest::newRow("a code without its point") << "k029" << QStringList{"K02.9"};
        QTest::newRow("a point the practice left out") << "D27.40" << QStringList{"D2740"};
        QTest::newRow("no such code") << "K02.99" << QStringList{};
    }
    void findsWhatWasTypedLiterally() {
        QFETCH(QString, typed);
        QFETCH(QStringList, codes);
        TQ_SHARED_PRACTICE(f);
        frmSearchSCode form;
        typeAndFind(form, typed);
        QCOMPARE(column(form, "Service Code"), codes);  // sorted by service code
        if (codes.isEmpty()) {                          // said in the window, not in a box
            QCOMPARE(tqtest::control<QLabel>(form, "Status")->text(),
                     "No service code matches \"" + typed + "\".");
        }
        QVERIFY(tqtest::control<QPushButton>(form, "cmdFind")->isEnabled());
        if (const QString folder = qEnvironmentVariable("TQ_SCREENSHOTS");
            !folder.isEmpty() && typed == "crown") {
            form.show();
            QVERIFY(form.grab().save(QDir(folder).filePath("search-window-results.png")));
        }
    }

    void answersTheChosenRow() {
        TQ_SHARED_PRACTICE(f);
        ScriptedUi ui;
        {  // the office code when there is one, else the service code; Enter chooses
            frmSearchSCode form;
            form.setStartText("refund");
            QTest::keyClick(tqtest::control<RecordGrid>(form, "TDBG"), Qt::Key_Return);
            QCOMPARE(form.result(), int(QDialog::Accepted));
            QCOMPARE(form.SelectionID(), f.refund);
            QCOMPARE(form.Selection(), QStringLiteral("RF1"));
        }
        {
            frmSearchSCode form;
            form.setStartText("porcelain");
            pressOkay(form);
            QCOMPARE(form.Selection() + QString::number(form.SelectionID()),
                     "CRN" + QString::number(f.crown));
            // Escape forgets a choice made before.
            QTest::keyClick(&form, Qt::Key_Escape);
            QCOMPARE(form.Selection() + QString::number(form.SelectionID()), QStringLiteral("0"));
        }
        {  // nothing listed: Okay does nothing; no current row: asked to choose
            frmSearchSCode form;
            form.setStartText("no such code");
            pressOkay(form);
            QVERIFY(ui.messages.isEmpty());
            form.setStartText("crown");
            tqtest::control<RecordGrid>(form, "TDBG")->setCurrentIndex({});
            pressOkay(form);
            QCOMPARE(ui.prompts(), QStringList{"Please select a code first."});
            QCOMPARE(ui.messages[0].icon, 64);
            QCOMPARE(form.SelectionID(), 0);
        }
    }

    void rowsShowTheirTypeAndMoney() {
        TQ_SHARED_PRACTICE(f);
        frmSearchSCode form;
        form.setStartText("");
        const RecordGrid* grid = tqtest::control<RecordGrid>(form, "TDBG");
        const RecordModel& model = *grid->recordModel();
        const QStringList codes = column(form, "Service Code");
        const auto colour = [&](const QString& code) {
            return model.index(int(codes.indexOf(code)), 0)
                .data(Qt::ForegroundRole)
                .value<QColor>();
        };
        QCOMPARE(colour("CR1"), QColor(255, 0, 0));
        QCOMPARE(colour("RF1"), QColor(0, 0, 127));
        QCOMPARE(colour("D2740"), QColor(0, 0, 0));
        const int fee = grid->columnByCaption("Fee 1");
        QCOMPARE(model.cellText(int(codes.indexOf("D2740")), fee), QStringLiteral("$10.00"));
        QVERIFY(form.columnAlignment(fee) & Qt::AlignRight);
        QVERIFY(form.columnAlignment(grid->columnByCaption("Description")) & Qt::AlignLeft);
    }

    void importMenuInAMedicalPracticeOnly() {
        TQ_SEARCH_PRACTICE(f);
        {
            frmSearchSCode form;
            QCOMPARE(tqtest::control<QToolBar>(form, "TB")->actions().size(), 5);
            QVERIFY(form.findChild<QAction*>("Import") == nullptr);
        }
        f.host->setMedicalPractice(true);
        ScreenFactory::Registration codes(ReferenceCodeScreenName,
                                          [] { return std::make_unique<FakeCodes>(); });
        QStringList setups;
        ScriptedUi ui;
        ui.onShow(ReferenceCodeScreenName, [&](QDialog& d) {
            setups << d.property("setup").toString();
            f.addCode("D2740X", {{"SevCodDes", "Crown imported"}});  // what the import saved
        });
        frmSearchSCode form;
        QCOMPARE(tqtest::control<QToolBar>(form, "TB")->actions().size(), 7);
        form.setStartText("crown");
        QTest::keyClick(tqtest::control<RecordGrid>(form, "TDBG"), Qt::Key_Down);
        tqtest::control<QComboBox>(form, "dbcSCode")->setEditText(" crown ");
        QAction* import = form.findChild<QAction*>("Import");
        import->trigger();
        for (const QString key : {"ImportCPT", "ImportICD", "ImportICD10", "ImportHCPCS"}) {
            import->menu()->findChild<QAction*>(key)->trigger();
        }
        QCOMPARE(setups,
                 QStringList({"1:crown", "1: crown ", "2: crown ", "3: crown ", "4: crown "}));
        // Refreshed after each import, still on the row the user was on.
        QVERIFY(column(form, "Service Code").contains("D2740X"));
        QCOMPARE(form.list().Fields("Service Code").toString().trimmed(), QStringLiteral("D2750"));
    }

    void typedCodesOpenTheRealWindow() {
        TQ_SEARCH_PRACTICE(f);
        f.addCode("DUP", {{"SevCodDes", "First twin"}});
        const int32_t second = f.addCode("DUP", {{"SevCodDes", "Second twin"}});
        ScriptedUi ui;
        ui.onShow(CodeSearchScreenName, [&](QDialog& d) {
            auto& form = dynamic_cast<frmSearchSCode&>(d);
            QCOMPARE(tqtest::control<QComboBox>(form, "dbcSCode")->currentText(),
                     QStringLiteral("DUP"));
            QCOMPARE(column(form, "Description"), QStringList({"First twin", "Second twin"}));
            RecordGrid* grid = tqtest::control<RecordGrid>(form, "TDBG");
            grid->setColumnWidth(grid->columnByCaption("Description"), 5000);
            QTest::keyClick(grid, Qt::Key_Down);
            QTest::keyClick(grid, Qt::Key_Return);
        });
        // Typed in the picker's entry box: the code matches two rows.
        Select_Code picker;
        picker.load();
        QLineEdit* entry = tqtest::control<QLineEdit>(picker, "Text1");
        entry->setText("DUP");
        QTest::keyClick(entry, Qt::Key_Return);
        QCOMPARE(ui.shownScreens, QStringList{CodeSearchScreenName});
        QCOMPARE(picker.chosenList().count(), 1);
        QCOMPARE(picker.chosenList().index(0).data(int(PickerListModel::Role::Id)).toInt(), second);
        // The window's grid layout is kept for the user.
        QVERIFY(QFile::exists(f.db.dataPath() + "STP" + QDir::separator() + "TGSRSCtester.STP"));
        const frmSearchSCode again;
        const RecordGrid* grid = tqtest::control<RecordGrid>(again, "TDBG");
        QCOMPARE(grid->columnWidth(grid->columnByCaption("Description")), 5000.0);
    }

    void faultsLeaveTheWindowUsable() {
        TQ_SEARCH_PRACTICE(f);
        f.host->setMedicalPractice(true);
        ScreenFactory::Registration codes(ReferenceCodeScreenName,
                                          [] { return std::make_unique<FakeCodes>(); });
        std::function<void()> whileImporting;
        ScriptedUi ui;
        ui.onShow(ReferenceCodeScreenName, [&](QDialog&) { whileImporting(); });
        frmSearchSCode form;
        form.setStartText("crown");
        tqplatform::Connection& connection = f.host->connection();
        // A statement that fails: told, nothing offered, and the next search runs.
        connection.Execute("ALTER TABLE SevCodTable RENAME TO SevCodGone");
        typeAndFind(form, "porcelain");
        connection.Execute("ALTER TABLE SevCodGone RENAME TO SevCodTable");
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].icon, 16);
        QCOMPARE(column(form, "Service Code"), QStringList{});
        pressOkay(form);
        QCOMPARE(form.result(), int(QDialog::Rejected));
        QVERIFY(tqtest::control<QPushButton>(form, "cmdFind")->isEnabled());
        typeAndFind(form, "porcelain");
        QCOMPARE(column(form, "Service Code"), QStringList{"D2740"});
        // The connection dropped while the reference browser was open: the list is read
        // again on a new one.
        whileImporting = [&] {
            f.addCode("D2740X", {{"SevCodDes", "Porcelain imported"}});
            tqtest::dropConnection(connection);
            QTest::qWait(300);
        };
        form.findChild<QAction*>("Import")->trigger();
        QCOMPARE(column(form, "Service Code"), QStringList({"D2740", "D2740X"}));
        QCOMPARE(ui.messages.size(), 1);
        if (f.db.isPostgres()) {
            // The server lets nobody in: told once, no stale rows offered, found again later.
            QUrl server(f.db.url());
            const QString name = server.path().mid(1);
            server.setPath("/postgres");
            tqplatform::Connection admin(server.toString());
            const QString pid = f.scalar("SELECT pg_backend_pid()").toString();
            whileImporting = [&] {
                admin.Execute("ALTER DATABASE " + name + " ALLOW_CONNECTIONS false");
                admin.OpenRecordset("SELECT pg_terminate_backend(" + pid + ")");
                QTest::qWait(300);
            };
            form.findChild<QAction*>("Import")->trigger();
            admin.Execute("ALTER DATABASE " + name + " ALLOW_CONNECTIONS true");
            QCOMPARE(ui.messages.size(), 2);
            QVERIFY2(ui.messages[1].prompt.contains("not currently accepting connections"),
                     qPrintable(ui.messages[1].prompt));
            QCOMPARE(column(form, "Service Code"), QStringList{});
            pressOkay(form);  // nothing listed: nothing to choose, nothing asked
            QCOMPARE(form.result(), int(QDialog::Rejected));
            QCOMPARE(ui.messages.size(), 2);
        }
        typeAndFind(form, "porcelain");
        QCOMPARE(column(form, "Service Code"), QStringList({"D2740", "D2740X"}));
    }
};

TQ_TEST_MAIN(TestCodeSearch)
#include "tst_db_codesearch.moc"
