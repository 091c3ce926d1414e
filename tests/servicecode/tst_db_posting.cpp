#include "ComponentFixture.h"
#include "PostingScript.h"
#include "TestMain.h"

#include <tqservicecode/patient/PatientManagementPosting.h>
#include <tqservicecode/patient/UpdateRetry.h>
#include <tqservicecode/selection/PickerListModel.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqplatform/ScriptedUi.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QSet>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <functional>
#include <utility>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

const QDate FollowUp(2027, 2, 28);

/// A practice with to-do and letter codes, a provider and a patient.
struct PostingPractice : tqtest::ComponentFixture {
    int32_t provider = 0, patient = 0, todo = 0;

    bool setUp() {
        if (!open()) {
            return false;
        }
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
        ui.onShow("DocList", [this](QDialog& d) { tqtest::chooseProvider(d, provider); });
        ui.onShow("Calendar", [](QDialog& d) { tqtest::chooseDate(d, FollowUp); });
        ui.onShow("TextEntryDialog", [description](QDialog& d) {
            if (description.isNull()) {
                tqtest::clickButton(d, QStringLiteral("Cancel"));
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

/// Opens the practice, or skips (fails under CI) when the database is unreachable.
#define TQ_OPEN_POSTING_PRACTICE(practice) \
    TQ_REQUIRE_DATABASE((practice).db);    \
    QVERIFY((practice).setUp())

class PostingTest : public QObject {
    Q_OBJECT

private slots:
    void postsTheRowInOrder() {
        PostingPractice f;
        TQ_OPEN_POSTING_PRACTICE(f);
        f.host->setOfficeLocationID(2);
        ScriptedUi ui;
        f.scriptScreens(ui, "Call about the crown");
        QString prompt;
        QString defaultText;
        ui.onShow("TextEntryDialog", [&](QDialog& d) {
            prompt = d.findChild<QLabel*>("lblPrompt")->text();
            defaultText = d.findChild<QLineEdit*>("txtText")->text();
            QCOMPARE(d.windowTitle(), QStringLiteral("Description"));
            tqtest::enterText(d, "Call about the crown");
        });
        const int32_t id = f.post("Patient asked twice", QString("RECALL6"));
        // The host's dialog shows the prompt's line breaks as plain line feeds.
        QCOMPARE(prompt, QStringLiteral("Please enter a description for this new item.\n\n\n"
                                        "[ RECALL6 - Six month recall ]"));
        QCOMPARE(defaultText, QStringLiteral("Six month recall"));
        QVERIFY(id > 0);
        QCOMPARE(ui.shownScreens, QStringList({"DocList", "Calendar", "TextEntryDialog"}));
        QCOMPARE(ui.messages.size(), 0);

        tqplatform::Recordset row = f.host->connection().OpenRecordset(
            "SELECT * FROM DTTable WHERE traID=" + QString::number(id));
        QVERIFY(!row.Eof());
        const QStringList columns = patientManagementColumns();
        QCOMPARE(columns.size(), 31);
        const QMap<QString, QString> expected = {
            {"offlocid", "2"},
            {"trasevcodid", QString::number(f.todo)},
            {"trapid", QString::number(f.patient)},
            {"tracodtyp", "D"},
            {"tradr", QString::number(f.provider)},
            {"tradrini", "AM"},
            {"traaptschdat", "2027-02-28"},
            {"tracod", "RECALL6"},
            {"trastadat", postedDateText(QDate::currentDate())},
            {"tratyp", "3"},
            {"tracat", "Pat. Mgmt"},
            {"trasubcat", ""},
            {"tradep", "FD"},
            {"trabil", "N"},
            {"traactpst", "A"},
            {"trapatmgrfla", "2"},
            {"tracodmod", ""}};
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            QCOMPARE(row.Fields(it.key()).toString().trimmed(), it.value());
        }
        QCOMPARE(row.Fields("traDes").toString().trimmed(), QStringLiteral("Call about the crown"));
        QCOMPARE(row.Fields("traTax").toDouble(), 1.5);
        for (const char* zero : {"traCha", "traTotCha", "traUni", "TraPatBal", "TraPayInd"}) {
            QCOMPARE(row.Fields(zero).toString().toDouble(), 0.0);
        }

        // The note: the description and the related comment; the lock file by code.
        QCOMPARE(f.rows("NoteTable"), 1);
        QVERIFY(f.scalar("SELECT count(*) FROM NoteTable").toInt() == 1);
        QFile lock(f.lockFile("RECALL6"));
        QVERIFY2(lock.exists(), qPrintable(lock.fileName()));
        QVERIFY(lock.fileName().endsWith(QDir::separator() + QStringLiteral("PRECALL6.LCK")));
        QVERIFY(lock.open(QIODevice::ReadOnly));
        QCOMPARE(lock.readAll(), QByteArray("tester\r\n"));
        QCOMPARE(f.component.Pid(), f.patient);
        QCOMPARE(f.component.ServiceCode(), QStringLiteral("RECALL6"));
    }

    void notesFollowTheCommentAndTheHostFlag() {
        PostingPractice f;
        TQ_OPEN_POSTING_PRACTICE(f);
        ScriptedUi ui;
        f.scriptScreens(ui, QString());  // the description is cancelled: the code's own
        const int32_t first = f.post("", QString("LTR1"));
        QVERIFY(first > 0);
        QCOMPARE(f.scalar("SELECT traDes FROM DTTable").toString().trimmed(),
                 QStringLiteral("Welcome letter"));
        QCOMPARE(f.scalar("SELECT traPatMgrFla FROM DTTable").toInt(), 4);
        QCOMPARE(f.scalar("SELECT notText FROM NoteTable").toString(),
                 QStringLiteral("Welcome letter"));

        f.host->setHostFlagAnswer(false);
        QVERIFY(f.post("", QString("LTR1")) > 0);
        QCOMPARE(f.rows("NoteTable"), 1);  // no comment, flag off: no note
        QVERIFY(f.post("Sent by mail", QString("LTR1")) > 0);
        QCOMPARE(f.rows("NoteTable"), 2);
        QCOMPARE(
            f.scalar(
                 "SELECT notText FROM NoteTable WHERE notTraID=(SELECT max(traID) FROM DTTable)")
                .toString(),
            QStringLiteral("Welcome letter\r\nSent by mail"));
    }

    void nothingIsPostedWhenTheUserStops() {
        PostingPractice f;
        TQ_OPEN_POSTING_PRACTICE(f);
        ScriptedUi ui;
        QString comment;
        QCOMPARE(f.component.SendPatientManagementCode(comment), 0);  // no patient
        QCOMPARE(f.component.SendPatientManagementCode(comment, 0, QString("RECALL6")), 0);
        QCOMPARE(f.post("", QString("NOSTOP")), 0);  // "Pat Mgmt" is no to-do category
        QCOMPARE(f.post("", QString("D0120")), 0);
        QCOMPARE(f.post("", QString("NOSUCH")), 0);
        QVERIFY(ui.shownScreens.isEmpty());
        QVERIFY(ui.messages.isEmpty());

        ui.onShow("DocList", [](QDialog& d) { tqtest::clickButton(d, QStringLiteral("&Close")); });
        QCOMPARE(f.post("", QString("RECALL6")), 0);
        ui.onShow("DocList", [&f](QDialog& d) { tqtest::chooseProvider(d, f.provider); });
        ui.onShow("Calendar",
                  [](QDialog& d) { tqtest::clickButton(d, QStringLiteral("&Cancel")); });
        QCOMPARE(f.post("", QString("RECALL6")), 0);
        ui.onShow("Calendar", [](QDialog& d) { d.close(); });  // the close box
        QCOMPARE(f.post("", QString("RECALL6")), 0);
        QCOMPARE(f.rows("DTTable"), 0);
        QCOMPARE(f.rows("NoteTable"), 0);
        QVERIFY(!QFile::exists(f.lockFile("RECALL6")));
    }

    void theCodeCanBePickedFromTheToDoList() {
        PostingPractice f;
        TQ_OPEN_POSTING_PRACTICE(f);
        ScriptedUi ui;
        f.scriptScreens(ui, "Pick up x-rays");
        ui.onShow("Select_Code", [](QDialog& d) {
            auto& form = dynamic_cast<Select_Code&>(d);
            for (int i = 0; i < 27; ++i) {
                QCOMPARE(form.cmdCategory[i]->isEnabled(), i == 20);
            }
            QVERIFY(form.singleSelection());
            QCOMPARE(form.codeList().count(), 1);
            form.List1->scrollTo(form.codeList().index(0));
            QTest::mouseClick(form.List1->viewport(), Qt::LeftButton, {},
                              form.List1->visualRect(form.codeList().index(0)).center());
            form.CMD[1]->click();
        });
        const int32_t id = f.post("", std::nullopt, std::nullopt, true);
        QVERIFY(id > 0);
        QCOMPARE(f.scalar("SELECT traCod FROM DTTable").toString().trimmed(),
                 QStringLiteral("RECALL6"));
        QCOMPARE(f.host->lastNotedCode(), QStringLiteral("RECALL6"));

        ui.onShow("Select_Code", [](QDialog& d) { d.reject(); });  // picker cancelled
        QCOMPARE(f.post("", std::nullopt), 0);
        QCOMPARE(f.rows("DTTable"), 1);
    }

    void lockFileNames() {
        QCOMPARE(postingLockFile("/data/", "TD1"),
                 QStringLiteral("/data/TEMP") + QDir::separator() + QStringLiteral("PRTD1.LCK"));
        QCOMPARE(postingLockFile("/data/", "ABCDEFGHIJ"),
                 QStringLiteral("/data/TEMP") + QDir::separator() + QStringLiteral("PREFGHIJ.LCK"));
        QCOMPARE(UpdateRetry::retryMessage(3146, 0, "table is locked"),
                 QStringLiteral("An unexpected situation [ Code : 3146,  Level : 0 ] has occured "
                                "while updating.\r\n\r\nMessage :\r\ntable is locked\r\n\r\nClick "
                                "Retry to have Tavix Windows attempt the update again or Cancel "
                                "to discard all changes. If situation persists, Please call Tavix "
                                "Support."));
    }

    void aLockedTableIsRetried() {
        PostingPractice f;
        TQ_REQUIRE_DATABASE(f.db);
        if (!f.db.isPostgres()) {
            QSKIP("Row locks across connections are a server's: this runs on PostgreSQL.");
        }
        QVERIFY(f.setUp());
        f.host->connection().Execute("SET lock_timeout = '300ms'");

        // A second workstation holds the table.
        QSqlDatabase other = QSqlDatabase::cloneDatabase(f.host->connection().database(), "other");
        QVERIFY(other.open());
        QSqlQuery hold(other);
        QVERIFY(hold.exec("BEGIN"));
        QVERIFY(hold.exec("LOCK TABLE DTTable IN ACCESS EXCLUSIVE MODE"));

        // The other workstation lets go while the user is deciding to retry: when the
        // retry message shows, whatever the machine's speed.
        struct ReleasingUi : ScriptedUi {
            std::function<void()> afterMessage;
            int msgBox(const QString& prompt, int buttons, const QString& title) override {
                const int answer = ScriptedUi::msgBox(prompt, buttons, title);
                if (afterMessage) {
                    std::exchange(afterMessage, nullptr)();
                }
                return answer;
            }
        } ui;
        f.scriptScreens(ui, "Locked");
        ui.answers = {tqplatform::ui::Answer::Retry};
        bool released = false;
        ui.afterMessage = [&] {
            hold.exec("COMMIT");
            released = true;
        };
        const int32_t id = f.post("", QString("RECALL6"));
        QVERIFY(released);
        QVERIFY(id > 0);
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].buttons, 5);
        QCOMPARE(ui.messages[0].icon, 48);
        QCOMPARE(ui.messages[0].title, QStringLiteral("Tavix Windows"));
        QVERIFY(ui.messages[0].prompt.startsWith(
            "An unexpected situation [ Code : 3146,  Level : 0 ]"));
        QCOMPARE(f.rows("DTTable"), 1);

        // Cancel discards the posting, but the lock file is still written.
        QFile::remove(f.lockFile("RECALL6"));
        QVERIFY(hold.exec("BEGIN"));
        QVERIFY(hold.exec("LOCK TABLE DTTable IN ACCESS EXCLUSIVE MODE"));
        ui.answers = {tqplatform::ui::Answer::Cancel};
        f.scriptScreens(ui, "Cancelled");
        QCOMPARE(f.post("", QString("RECALL6")), 0);
        QVERIFY(hold.exec("COMMIT"));
        QCOMPARE(ui.messages.size(), 2);
        QCOMPARE(f.rows("DTTable"), 1);
        QVERIFY(QFile::exists(f.lockFile("RECALL6")));
        other.close();
    }

    void twoWorkstationsPostAtTheSameTime() {
        PostingPractice f;
        TQ_REQUIRE_DATABASE(f.db);
        if (!f.db.isPostgres()) {
            QSKIP("Workstations share a practice on a server: this runs on PostgreSQL.");
        }
        QVERIFY(f.setUp());
        const QString agent = QCoreApplication::applicationDirPath() + "/tq_post_agent";
        QVERIFY2(QFile::exists(agent), qPrintable(agent));
        constexpr int PerWorkstation = 8;
        QList<QProcess*> workstations;
        for (const QString user : {"front", "back"}) {
            auto* process = new QProcess(this);
            process->start(
                agent, {f.db.url(), f.db.dataPath(), user, QString::number(f.patient),
                        QString::number(f.provider), "RECALL6", QString::number(PerWorkstation)});
            workstations << process;
        }
        QSet<int> ids;
        for (QProcess* process : workstations) {
            QVERIFY(process->waitForFinished(120000));
            QCOMPARE(process->exitCode(), 0);
            for (const QByteArray& line : process->readAllStandardOutput().split('\n')) {
                if (!line.trimmed().isEmpty()) {
                    ids.insert(line.trimmed().toInt());
                }
            }
            delete process;
        }
        QCOMPARE(ids.size(), 2 * PerWorkstation);
        QCOMPARE(f.rows("DTTable"), 2 * PerWorkstation);
        QCOMPARE(f.rows("NoteTable"), 2 * PerWorkstation);
        for (const QString user : {"front", "back"}) {
            for (int i = 0; i < PerWorkstation; ++i) {
                QCOMPARE(
                    f.scalar(QStringLiteral("SELECT count(*) FROM DTTable WHERE rtrim(traDes) = "
                                            "'%1 item %2'")
                                 .arg(user)
                                 .arg(i))
                        .toInt(),
                    1);
            }
        }
    }
};

TQ_TEST_MAIN(PostingTest)
#include "tst_db_posting.moc"
