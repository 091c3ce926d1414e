#include "ComponentFixture.h"
#include "Faults.h"
#include "Files.h"
#include "PostingScript.h"
#include "TestMain.h"

#include <tqservicecode/patient/PatientManagementPosting.h>
#include <tqservicecode/patient/UpdateRetry.h>
#include <tqservicecode/selection/PickerListModel.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/ScriptedUi.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>

#include <functional>
#include <stdexcept>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

const QDate FollowUp(2027, 2, 28);

/// The practice's host, with a look at the row handed to SaveRecord, and a hook that
/// can fail the calls "initials", "flag" and "selected" (with the id answered).
struct HookedHost : tqhost::PracticeHost {
    using PracticeHost::PracticeHost;
    QStringList names, values;
    std::function<void(const QString&, int32_t)> hook = [](const QString&, int32_t) {};
    tqplatform::Connection* componentConnection = nullptr;  // what GetConnection answers

    tqplatform::Connection& GetConnection() override {
        return componentConnection != nullptr ? *componentConnection : connection();
    }

    void SaveRecord(int mode, const QString& table, const QString& keyField, int32_t& key,
                    const QStringList& n, const QStringList& v, bool flag,
                    int16_t& success) override {
        names = n;
        values = v;
        PracticeHost::SaveRecord(mode, table, keyField, key, n, v, flag, success);
    }
    QString GetProviderInitials(int32_t id) override {
        hook("initials", id);
        return PracticeHost::GetProviderInitials(id);
    }
    void GetHostFlag(int16_t& flag) override {
        hook("flag", flag);
        PracticeHost::GetHostFlag(flag);
    }
    void setSelectedID(int32_t id) override {
        hook("selected", id);
        PracticeHost::setSelectedID(id);
    }
};

/// The posting's screens are the user's: no busy pointer over them.
void verifyNormalPointer() {
    QVERIFY2(QApplication::overrideCursor() == nullptr, "busy pointer over a posting's screen");
}

/// A practice with to-do and letter codes, a provider and a patient.
struct PostingPractice : tqtest::ComponentFixture {
    int32_t provider = 0, patient = 0, todo = 0;
    std::shared_ptr<HookedHost> hooked;

    bool setUp() {
        if (!open()) {
            return false;
        }
        hooked = std::make_shared<HookedHost>(host->sharedConnection(), db.dataPath(), "tester");
        host = hooked;
        component.setGIC(host);
        todo = addCode("RECALL6", {{"SevCodTyp", "3 - Admin."},
                                   {"SevCodCat", "Pat. Mgmt"},
                                   {"SevCodSubCat", ""},
                                   {"SevCodDep", "FD"},
                                   {"SevCodTax", "1.5"},
                                   {"SevCodDes", "Six month recall"}});
        addCode("LTR1", {{"SevCodTyp", "3 - Admin."},
                         {"SevCodCat", " ltr. mgmt"},
                         {"SevCodDes", "Welcome letter"},
                         {"SevCodLetNam", "WELCOME.RTF"}});
        addCode("NOSTOP", {{"SevCodTyp", "3 - Admin."}, {"SevCodCat", "Pat Mgmt"}});
        addCode("D0120", {{"SevCodDes", "Periodic exam"}});
        provider = insert(
            "PaTable", "pID",
            {{"pLasNam", "Moreau"}, {"pFirNam", "Alice"}, {"pDocIni", "AM"}, {"pTypEmp", "1"}});
        insert("PaTable", "pID",
               {{"pLasNam", "Baker"}, {"pFirNam", "Sam"}, {"pDocIni", "SB"}, {"pTypEmp", "2"}});
        patient = insert("PaTable", "pID",
                         {{"pLasNam", "Nguyen"}, {"pFirNam", "Linh"}, {"pTypPat", "1"}});
        return true;
    }

    /// Answers the provider list, the calendar and the description as a user would.
    void scriptScreens(ScriptedUi& ui, const QString& description = QString()) {
        ui.onShow("DocList", [this](QDialog& d) {
            verifyNormalPointer();
            tqtest::chooseProvider(d, provider);
        });
        ui.onShow("Calendar", [](QDialog& d) {
            verifyNormalPointer();
            tqtest::chooseDate(d, FollowUp);
        });
        ui.onShow("TextEntryDialog", [description](QDialog& d) {
            verifyNormalPointer();
            if (description.isNull()) {
                tqtest::clickButton(d, "Cancel");
                d.reject();
            } else {
                tqtest::enterText(d, description);
            }
        });
    }

    int32_t post(QString comment, std::optional<QString> code = std::nullopt,
                 std::optional<QString> description = std::nullopt, bool toDoOnly = false) {
        return component.SendPatientManagementCode(comment, patient, code, description, toDoOnly);
    }

    int rows(const QString& table) { return scalar("SELECT count(*) FROM " + table).toInt(); }

    QString lockFile(const QString& code) { return postingLockFile(host->GetDataPath(), code); }
};

}  // namespace

class PostingTest : public QObject {
    Q_OBJECT

private slots:
    // Failures are reported after one second instead of five.
    void initTestCase() { UpdateRetry::setDefaultWindow(1.0); }

    void postsTheRowInOrder() {
        TQ_SET_UP_FIXTURE(PostingPractice, f);
        f.host->setOfficeLocationID(2);
        ScriptedUi ui;
        f.scriptScreens(ui, "Call about the crown");
        QString prompt;
        QString defaultText;
        ui.onShow("TextEntryDialog", [&](QDialog& d) {
            prompt = d.findChild<QLabel*>("lblPrompt")->text();
            defaultText = d.findChild<QLineEdit*>("txtText")->text();
            QCOMPARE(d.windowTitle(), "Description");
            tqtest::enterText(d, "Call about the crown");
        });
        const int32_t id = f.post("Patient asked twice", QString("RECALL6"));
        // The host's dialog shows the prompt's line breaks as plain line feeds.
        QCOMPARE(prompt,
                 "Please enter a description for this new item.\n\n\n"
                 "[ RECALL6 - Six month recall ]");
        QCOMPARE(defaultText, "Six month recall");
        QVERIFY(id > 0);
        QCOMPARE(ui.shownScreens, QStringList({"DocList", "Calendar", "TextEntryDialog"}));
        QCOMPARE(ui.messages.size(), 0);

        // The row goes to the host as 31 names and values, in this order.
        QCOMPARE(f.hooked->names.join(' '),
                 "OffLocID traSevCodID trapID traCodTyp traDr traDrIni traAptSchDat traDes traCod "
                 "traStaDat traTyp traCat traSubCat traDep traTax TraBil TraActPst traPatMgrFla "
                 "traCha traTotCha traUni TraPatPor TraIns1Por TraIns2Por TraPatBal TraIns1Bal "
                 "TraIns2Bal TraInsDed1 TraInsDed2 TraPayInd TraCodMod");
        QStringList sent;
        for (const QString& value : f.hooked->values) {
            sent << value.trimmed();
        }
        QCOMPARE(sent.join('|'),
                 QString("2|%1|%2|D|%3|AM|2027-02-28|Call about the crown|RECALL6|%4|3|Pat. Mgmt||"
                         "FD|1.5|N|A|2|0|0|0|0|0|0|0|0|0|0|0|0|")
                     .arg(f.todo)
                     .arg(f.patient)
                     .arg(f.provider)
                     .arg(postedDateText(QDate::currentDate())));
        QCOMPARE(f.scalar("SELECT traAptSchDat FROM DTTable").toString().left(10), "2027-02-28");

        // The note: the description and the related comment; the lock file by code.
        QCOMPARE(f.rows("NoteTable"), 1);
        QVERIFY(f.lockFile("RECALL6").endsWith(QDir::separator() + QStringLiteral("PRECALL6.LCK")));
        QCOMPARE(tqtest::readFile(f.lockFile("RECALL6")), QByteArray("tester\r\n"));
        QCOMPARE(f.component.Pid(), f.patient);
        QCOMPARE(f.component.ServiceCode(), "RECALL6");

        // The code picked from the to-do list, or the picker cancelled.
        ui.onShow("Select_Code", [](QDialog& d) {
            auto& form = dynamic_cast<Select_Code&>(d);
            QVERIFY(tqtest::control<QPushButton>(form, "cmdCategory_20")->isEnabled() &&
                    !tqtest::control<QPushButton>(form, "cmdCategory_21")->isEnabled());
            QVERIFY(form.singleSelection());
            QCOMPARE(form.codeList().count(), 1);
            auto* list = tqtest::control<QListView>(form, "List1");
            const QPoint line = list->visualRect(form.codeList().index(0)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, line);
            tqtest::control<QPushButton>(form, "CMD_1")->click();
        });
        const int32_t picked = f.post("", std::nullopt, std::nullopt, true);
        QVERIFY(picked > 0);
        QCOMPARE(f.scalar("SELECT count(DISTINCT traCod) FROM DTTable").toInt(), 1);  // RECALL6
        QCOMPARE(f.host->lastNotedCode(), "RECALL6");

        ui.onShow("Select_Code", [](QDialog& d) { d.reject(); });  // picker cancelled
        QCOMPARE(f.post("", std::nullopt), 0);
        QCOMPARE(f.rows("DTTable"), 2);
    }

    void notesFollowTheCommentAndTheHostFlag() {
        TQ_SET_UP_FIXTURE(PostingPractice, f);
        ScriptedUi ui;
        f.scriptScreens(ui, QString());  // the description is cancelled: the code's own
        const int32_t first = f.post("", QString("LTR1"));
        QVERIFY(first > 0);
        QCOMPARE(f.scalar("SELECT traDes FROM DTTable").toString().trimmed(), "Welcome letter");
        QCOMPARE(f.scalar("SELECT traPatMgrFla FROM DTTable").toInt(), 4);
        QCOMPARE(f.scalar("SELECT notText FROM NoteTable").toString(), "Welcome letter");

        f.host->setHostFlagAnswer(false);
        QVERIFY(f.post("", QString("LTR1")) > 0);
        QCOMPARE(f.rows("NoteTable"), 1);  // no comment, flag off: no note
        // A NUL in the comment is dropped, not the note; the calendar offers no date before
        // the year 100.
        ui.onShow("Calendar", [](QDialog& d) { tqtest::chooseDate(d, QDate(99, 12, 31)); });
        QVERIFY(f.post(QString("Sent by") + QChar(0) + " mail", QString("LTR1")) > 0);
        QCOMPARE(f.rows("NoteTable"), 2);
        const QString last = "(SELECT max(traID) FROM DTTable)";
        QCOMPARE(f.scalar("SELECT notText FROM NoteTable WHERE notTraID=" + last).toString(),
                 "Welcome letter\r\nSent by mail");
        QCOMPARE(
            f.scalar("SELECT traAptSchDat FROM DTTable WHERE traID=" + last).toString().left(10),
            "0100-01-01");
    }

    void nothingIsPostedWhenTheUserStops() {
        TQ_SET_UP_FIXTURE(PostingPractice, f);
        ScriptedUi ui;
        QString comment;
        QCOMPARE(f.component.SendPatientManagementCode(comment), 0);  // no patient
        QCOMPARE(f.component.SendPatientManagementCode(comment, 0, QString("RECALL6")), 0);
        QCOMPARE(f.post("", QString("NOSTOP")), 0);  // "Pat Mgmt" is no to-do category
        QCOMPARE(f.post("", QString("D0120")), 0);
        QCOMPARE(f.post("", QString("NOSUCH")), 0);
        QCOMPARE(f.post("", QString("RECALL6") + QChar(0) + "B"), 0);  // no code holds a NUL
        QVERIFY(ui.shownScreens.isEmpty());
        QVERIFY(ui.messages.isEmpty());

        ui.onShow("DocList", [](QDialog& d) { tqtest::clickButton(d, "&Close"); });
        QCOMPARE(f.post("", QString("RECALL6")), 0);
        ui.onShow("DocList", [&f](QDialog& d) { tqtest::chooseProvider(d, f.provider); });
        ui.onShow("Calendar", [](QDialog& d) { tqtest::clickButton(d, "&Cancel"); });
        QCOMPARE(f.post("", QString("RECALL6")), 0);
        ui.onShow("Calendar", [](QDialog& d) { d.close(); });  // the close box
        QCOMPARE(f.post("", QString("RECALL6")), 0);
        QCOMPARE(f.rows("DTTable"), 0);
        QCOMPARE(f.rows("NoteTable"), 0);
        QVERIFY(!QFile::exists(f.lockFile("RECALL6")));
    }

    /// A host or database that fails during a posting: the user is told, and neither the
    /// row nor its note is left half-written.
    void aFailureIsToldAndNothingIsHalfWritten_data() {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("told");
        QTest::newRow("host's own exception")
            << "initials"
            << "An unexpected situation [ Code : 440,  Level : 0 ] has occured while updating."
               "\r\n\r\nMessage :\r\nprinter on fire\r\n\r\nClick Retry to have Tavix "
               "Windows attempt the update again or Cancel to discard all changes. If situation "
               "persists, Please call Tavix Support.";
        QTest::newRow("note refused") << "note"
                                      << "The note of this item could not be stored";
        QTest::newRow("one retry clock per call") << "slow"
                                                  << "Message :\r\nstill busy";
        QTest::newRow("provider list's answer refused")
            << "selected" << tqplatform::ui::failureMessage("no answers taken");
    }

    void aFailureIsToldAndNothingIsHalfWritten() {
        QFETCH(QString, fault);
        QFETCH(QString, told);
        TQ_SET_UP_FIXTURE(PostingPractice, f);
        ScriptedUi ui;
        f.scriptScreens(ui, "Faulty");
        ui.answers = {tqplatform::ui::Answer::Cancel};
        HookedHost& host = *f.hooked;
        int initials = 0, flags = 0;
        host.hook = [&](const QString& call, int32_t id) {
            if (fault == u"initials" && call == u"initials") {
                throw std::runtime_error("printer on fire");
            } else if (fault == u"slow" && call == u"initials" && ++initials <= 2) {
                throw std::runtime_error("busy");  // uses up most of the window
            } else if (fault == u"slow" && call == u"flag" && ++flags > 0) {
                throw std::runtime_error("still busy");
            } else if (fault == u"selected" && call == u"selected" && id != 0) {
                throw tqGlobal::Error(3146, "no answers taken");
            }
        };
        if (fault == u"note") {
            tqtest::failStatements(host.connection(), "NoteTable", "INSERT");
        } else if (fault == u"selected") {
            ui.onShow("DocList", [&](QDialog& d) {
                tqtest::chooseProvider(d, f.provider);  // refused: the list stays open
                tqtest::clickButton(d, "&Close");
            });
        }
        QCOMPARE(f.post("Comment", QString("RECALL6")), 0);
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages[0].prompt.contains(told), qPrintable(ui.messages[0].prompt));
        QCOMPARE(QFile::exists(f.lockFile("RECALL6")), fault != u"selected");
        QVERIFY2(fault != u"slow" || flags <= 3, qPrintable(QString::number(flags)));
        tqplatform::Connection other(f.db.url());  // the practice as another workstation sees it
        QCOMPARE(other.OpenRecordset("SELECT count(*) FROM DTTable").Fields(0).toInt(), 0);
        QCOMPARE(other.OpenRecordset("SELECT count(*) FROM NoteTable").Fields(0).toInt(), 0);
    }

    /// A commit that reports failure although the server committed (its answer lost) is
    /// not posted again by the retry.
    void aCommitWhoseAnswerIsLostPostsOnce() {
        TQ_SET_UP_FIXTURE(PostingPractice, f);
        // The posting's transaction runs on a second connection, which goes after the host
        // has written row and note on its own: the commit fails, and the row is in.
        tqplatform::Connection second(f.db.url());
        f.hooked->componentConnection = &second;
        f.hooked->hook = [&](const QString& call, int32_t) {
            if (call == u"flag" && f.hooked->componentConnection != nullptr) {
                tqtest::dropConnection(second);
                f.hooked->componentConnection = nullptr;
            }
        };
        ScriptedUi ui;
        f.scriptScreens(ui, "Once");
        QVERIFY(f.post("Comment", QString("RECALL6")) > 0);
        QCOMPARE(ui.messages.size(), 0);
        QCOMPARE(f.rows("DTTable"), 1);
        QCOMPARE(f.rows("NoteTable"), 1);
    }

    /// The wait before a retry: 1.5 s for user number 1, 0.5 s for any other, however
    /// the name reads as a number.
    void retryWaitsAndLockNames() {
        for (const char* one : {"1", "1.4", "0", "-7", "-1e400", "tester", ""}) {
            QCOMPARE(UpdateRetry::waitSeconds(one), 1.5);
        }
        for (const char* other : {"2", "1.5", "1.6", "2.5", "1e300", "1e400"}) {
            QCOMPARE(UpdateRetry::waitSeconds(other), 0.5);
        }
        // A long code's lock file: in the data folder's TEMP, the name cut.
        QCOMPARE(postingLockFile("/data/", "ABCDEFGHIJ"),
                 QStringLiteral("/data/TEMP") + QDir::separator() + QStringLiteral("PREFGHIJ.LCK"));
    }

    void aLockedTableIsRetried() {
        TQ_SET_UP_FIXTURE(PostingPractice, f);
        if (!f.db.isPostgres()) {
            QSKIP("Row locks across connections are a server's: this runs on PostgreSQL.");
        }
        f.host->connection().Execute("SET lock_timeout = '300ms'");

        // A second workstation holds the table and lets go while the user is deciding to
        // retry: when the retry message shows, whatever the machine's speed.
        tqtest::LockHolder other(f.db.url(), "DTTable");
        struct ReleasingUi : ScriptedUi {
            std::function<void()> afterMessage;
            int msgBox(const QString& prompt, int buttons, const QString& title) override {
                const int answer = ScriptedUi::msgBox(prompt, buttons, title);
                afterMessage();
                return answer;
            }
        } ui;
        ui.afterMessage = [&] { other.release(); };
        f.scriptScreens(ui, "Locked");
        ui.answers = {tqplatform::ui::Answer::Retry};
        QVERIFY(f.post("", QString("RECALL6")) > 0);
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].buttons, 5);
        QCOMPARE(ui.messages[0].icon, 48);
        QCOMPARE(ui.messages[0].title, "Tavix Windows");
        QVERIFY(ui.messages[0].prompt.startsWith(
            "An unexpected situation [ Code : 3146,  Level : 0 ]"));
        QCOMPARE(f.rows("DTTable"), 1);
        QCOMPARE(f.rows("NoteTable"), 1);
    }
};

TQ_TEST_MAIN(PostingTest)
#include "tst_db_posting.moc"
