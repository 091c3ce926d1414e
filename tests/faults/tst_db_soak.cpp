// Soaks. Four workstations post to-do items for one patient while a fifth takes and lets
// go of table locks at random for the whole run. Every item is posted once, with its note,
// and no posting waits longer than the lock timeout and the retry window together. And on
// PostgreSQL, a fee change of all four fees over the code table while four workstations
// post and a fifth edits codes: every fee the change reached holds the percentage.
//
// The executable is also the workstations: "--agent URL DATAPATH USER PATIENT PROVIDER
// CODE COUNT" posts COUNT items and prints "id milliseconds" for each; "--locker URL
// TABLE..." locks the tables at random until it is stopped; "--editor URL DATAPATH USER
// FIRSTID LASTID COUNT" edits the descriptions of COUNT codes between the two ids in the
// code editor and prints "id milliseconds" for each save. TQ_SOAK_ITEMS sets the items per
// workstation (10 by default, the short form ctest runs; 100 for the full soak);
// TQ_SOAK_CODES the codes of the fee change (5,000; 20,000 for the full soak).

#include "../maintenance/EditorScript.h"
#include "../servicecode/PostingScript.h"
#include "TestMain.h"

#include <tqservicecode/maintenance/FeeChange.h>

#include <tqplatform/ScriptedUi.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>

namespace {

/// The lock timeout the workstations run with, and the posting's retry window.
constexpr int LockTimeoutMs = 1000;
constexpr int RetryWindowMs = 5000;

int runAgent(const QStringList& args) {
    auto host = tqhost::createHost(args[0], args[1], args[2]);
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    tqplatform::ScriptedUi ui;  // a Retry/Cancel box takes Retry, and is counted
    ui.onShow("DocList", [&](QDialog& d) { tqtest::chooseProvider(d, args[4].toInt()); });
    ui.onShow("Calendar", [](QDialog& d) { tqtest::chooseDate(d, QDate(2027, 1, 15)); });
    int failures = 0;
    for (int i = 0; i < args[6].toInt(); ++i) {
        const QString description = QStringLiteral("%1 item %2").arg(args[2]).arg(i);
        ui.onShow("TextEntryDialog",
                  [description](QDialog& d) { tqtest::enterText(d, description); });
        QElapsedTimer clock;
        clock.start();
        QString comment = QStringLiteral("from ") + args[2];
        const int32_t id = component.SendPatientManagementCode(comment, args[3].toInt(), args[5]);
        std::printf("%d %lld\n", id, static_cast<long long>(clock.elapsed()));
        std::fflush(stdout);
        failures += id > 0 ? 0 : 1;
    }
    for (const auto& message : ui.messages) {
        std::printf("message %s\n", qPrintable(QString(message.prompt).replace('\n', ' ')));
    }
    component.setGIC(nullptr);
    return failures == 0 && ui.messages.isEmpty() ? 0 : 1;
}

/// Edits codes as a user of the code editor does: opens one, changes its description,
/// saves; a save the database refused is told and saved again, as the user would.
int runEditor(const QStringList& args) {
    auto host = tqhost::createHost(args[0], args[1], args[2]);
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    tqplatform::ScriptedUi ui;
    QRandomGenerator& random = *QRandomGenerator::global();
    const int first = args[3].toInt();
    const int last = args[4].toInt();
    for (int i = 0; i < args[5].toInt(); ++i) {
        const auto id = static_cast<int32_t>(random.bounded(first, last + 1));
        auto editor = tqtest::openEditor(id);
        tqtest::typeAndLeave(*editor, 1, QStringLiteral("Edited by %1 %2").arg(args[2]).arg(i));
        QElapsedTimer clock;
        clock.start();
        for (int attempt = 0; attempt < 3 && !tqtest::box(*editor, 1)->text().isEmpty();
             ++attempt) {
            tqtest::button(*editor, QStringLiteral("Command3D2_2"))->click();
        }
        std::printf("%d %lld\n", tqtest::box(*editor, 1)->text().isEmpty() ? id : 0,
                    static_cast<long long>(clock.elapsed()));
        std::fflush(stdout);
    }
    for (const auto& message : ui.messages) {
        std::printf("message %s\n", qPrintable(QString(message.prompt).replace('\n', ' ')));
    }
    component.setGIC(nullptr);
    return 0;
}

/// The lines "id milliseconds" of a workstation's output: the ids, and the longest time.
struct Timings {
    QList<int> ids;
    qint64 longest = 0;
    int waited = 0;  // how many outlasted a lock timeout
};
Timings timingsOf(const QByteArray& output) {
    Timings timings;
    for (const QByteArray& line : output.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() == 2 && fields[0] != "message") {
            timings.ids << fields[0].toInt();
            timings.longest = std::max(timings.longest, fields[1].toLongLong());
            timings.waited += fields[1].toLongLong() > LockTimeoutMs ? 1 : 0;
        }
    }
    return timings;
}

/// Holds a table for up to one and a half lock timeouts, so that some statements wait it
/// out and go through the posting's retry, then lets go for a moment.
int runLocker(const QStringList& args) {
    tqplatform::Connection connection(args[0]);
    const bool postgres = connection.kind() == tqplatform::DatabaseKind::PostgreSQL;
    QRandomGenerator& random = *QRandomGenerator::global();
    for (;;) {
        const QString table = args.at(1 + static_cast<int>(random.bounded(args.size() - 1)));
        QSqlQuery query(connection.database());
        query.exec(postgres ? "BEGIN" : "BEGIN EXCLUSIVE");
        if (postgres) {
            query.exec("LOCK TABLE " + table + " IN EXCLUSIVE MODE");
        }
        QThread::msleep(100 + random.bounded(LockTimeoutMs * 3 / 2));
        query.exec("COMMIT");
        QThread::msleep(100 + random.bounded(400));
    }
}

}  // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void fourWorkstationsPostWhileAFifthLocks() {
        TQ_FIXTURE(f);
        f.addCode("RECALL6", {{"SevCodTyp", "3 - Admin."}, {"SevCodCat", "Pat. Mgmt"}});
        const int32_t provider = f.insert(
            "PaTable", "pID", {{"pLasNam", "Moreau"}, {"pDocIni", "AM"}, {"pTypEmp", "1"}});
        const int32_t patient =
            f.insert("PaTable", "pID", {{"pLasNam", "Nguyen"}, {"pTypPat", "1"}});
        const int items = qEnvironmentVariableIntValue("TQ_SOAK_ITEMS") > 0
                              ? qEnvironmentVariableIntValue("TQ_SOAK_ITEMS")
                              : 10;
        // SQLite waits for a lock up to its busy timeout instead.
        const QString url =
            f.db.isPostgres() ? f.db.url() + QString("?lock_timeout=%1").arg(LockTimeoutMs / 1000.0)
                              : f.db.url();
        const int bound = (f.db.isPostgres() ? LockTimeoutMs : 10000) + RetryWindowMs + 3000;

        const QString self = QCoreApplication::applicationFilePath();
        QProcess locker;
        locker.start(self, {"--locker", url, "DTTable", "NoteTable"});
        QVERIFY(locker.waitForStarted());
        const QStringList users = {"front", "back", "surgery", "office"};
        std::vector<std::unique_ptr<QProcess>> workstations;
        for (const QString& user : users) {
            auto& process = workstations.emplace_back(std::make_unique<QProcess>());
            process->start(self, {"--agent", url, f.db.dataPath(), user, QString::number(patient),
                                  QString::number(provider), "RECALL6", QString::number(items)});
        }
        QSet<int> ids;
        qint64 longest = 0;
        int waited = 0;  // postings that outlasted a lock timeout
        for (auto& process : workstations) {
            QVERIFY(process->waitForFinished(items * bound));
            const QByteArray output = process->readAllStandardOutput();
            QVERIFY2(process->exitCode() == 0, output + process->readAllStandardError());
            const Timings timings = timingsOf(output);
            ids.unite(QSet<int>(timings.ids.begin(), timings.ids.end()));
            longest = std::max(longest, timings.longest);
            waited += timings.waited;
        }
        locker.kill();
        locker.waitForFinished();

        const int total = items * static_cast<int>(users.size());
        QCOMPARE(ids.size(), total);
        qInfo("longest posting: %lld ms; %d waited out a lock timeout",
              static_cast<long long>(longest), waited);
        QVERIFY2(longest < bound, qPrintable(QString("a posting took %1 ms").arg(longest)));
        QCOMPARE(f.scalar("SELECT COUNT(*) FROM DTTable").toInt(), total);
        QCOMPARE(f.scalar("SELECT COUNT(DISTINCT notTraID) FROM NoteTable n JOIN DTTable t ON "
                          "t.traID = n.notTraID")
                     .toInt(),
                 total);
    }

    void feeChangeWhileFourPostAndAFifthEdits() {
        TQ_FIXTURE(f);
        if (!f.db.isPostgres()) {
            QSKIP("A practice with several workstations is on a server.");
        }
        const int codes = qEnvironmentVariableIntValue("TQ_SOAK_CODES") > 0
                              ? qEnvironmentVariableIntValue("TQ_SOAK_CODES")
                              : 5000;
        const int items = qEnvironmentVariableIntValue("TQ_SOAK_ITEMS") > 0
                              ? qEnvironmentVariableIntValue("TQ_SOAK_ITEMS")
                              : 10;
        f.host->connection().Execute(
            QString("INSERT INTO SevCodTable (SevCodCod, SevCodDes, SevCodTyp, SevCodCat, "
                    "SevCodFee1, SevCodFee2, SevCodFee3, SevCodFee4, OffLocID) SELECT 'S' || i, "
                    "'Procedure ' || i, '1 - Charge', 'Diag', 10.25 + i % 90, 20.5, 30.75, "
                    "40.25 + i, 0 FROM generate_series(1, %1) i")
                .arg(codes));
        const QString range = "SELECT %1(SevCodID) FROM SevCodTable";
        const QString first = f.scalar(range.arg("MIN")).toString();
        const QString last = f.scalar(range.arg("MAX")).toString();
        f.addCode("RECALL6", {{"SevCodTyp", "3 - Admin."}, {"SevCodCat", "Pat. Mgmt"}});
        const int32_t provider = f.insert(
            "PaTable", "pID", {{"pLasNam", "Moreau"}, {"pDocIni", "AM"}, {"pTypEmp", "1"}});
        const int32_t patient =
            f.insert("PaTable", "pID", {{"pLasNam", "Nguyen"}, {"pTypPat", "1"}});
        const QString url = f.db.url() + QString("?lock_timeout=%1").arg(LockTimeoutMs / 1000.0);
        const QString self = QCoreApplication::applicationFilePath();
        std::vector<std::unique_ptr<QProcess>> workstations;
        for (const QString user : {"front", "back", "surgery", "office", "desk"}) {
            auto& process = workstations.emplace_back(std::make_unique<QProcess>());
            process->start(
                self,
                user == QString("desk")
                    ? QStringList{"--editor", url, f.db.dataPath(), user, first, last,
                                  QString::number(items)}
                    : QStringList{"--agent", url, f.db.dataPath(), user, QString::number(patient),
                                  QString::number(provider), "RECALL6", QString::number(items)});
        }
        // The change starts once every workstation is at work.
        QVERIFY(QTest::qWaitFor(
            [&] {
                return std::all_of(
                    workstations.begin(), workstations.end(),
                    [](const auto& process) { return process->bytesAvailable() > 0; });
            },
            60000));
        tqplatform::ScriptedUi ui;
        tqtest::answerFeeDialog(ui, "10");
        ui.answers = {6};
        QElapsedTimer clock;
        clock.start();
        QVERIFY(tqservicecode::changeFees("All Codes", ""));
        qInfo("fee change over %d codes: %lld ms", codes, static_cast<long long>(clock.elapsed()));

        const qint64 bound = LockTimeoutMs + RetryWindowMs + 3000;
        QStringList edited;  // the codes the fifth workstation saved
        int postings = 0;
        for (auto& process : workstations) {
            QVERIFY(process->state() == QProcess::NotRunning ||
                    process->waitForFinished(int(items * bound)));
            const QByteArray output = process->readAllStandardOutput();
            QVERIFY2(process->exitCode() == 0, output + process->readAllStandardError());
            const Timings timings = timingsOf(output);
            QVERIFY2(!timings.ids.contains(0) && timings.longest < bound, output.constData());
            qInfo("%s: longest %lld ms", process == workstations.back() ? "save" : "posting",
                  static_cast<long long>(timings.longest));
            if (process == workstations.back()) {
                for (const int id : timings.ids) {
                    edited << QString::number(id);
                }
            } else {
                postings += int(timings.ids.size());
            }
        }
        QCOMPARE(postings, 4 * items);
        QCOMPARE(f.scalar("SELECT COUNT(DISTINCT notTraID) FROM NoteTable n JOIN DTTable t ON "
                          "t.traID = n.notTraID")
                     .toInt(),
                 4 * items);
        // The change reached every fee of every code, by the percentage; the codes nobody
        // saved since still hold what it gave them.
        const QString changed =
            "FROM FeeHistory h JOIN SevCodTable s ON s.SevCodID = h.SevCodID "
            "WHERE h.UserName = 'tester' AND s.SevCodCod LIKE 'S%' ";
        QCOMPARE(f.scalar("SELECT COUNT(*) " + changed + "AND h.NewFee = h.OldFee * 1.1").toInt(),
                 4 * codes);
        QCOMPARE(
            f.scalar("SELECT COUNT(*) " + changed + "AND s.SevCodID NOT IN (" + edited.join(',') +
                     ") AND h.NewFee <> CASE h.FeeNum WHEN 1 THEN s.SevCodFee1 WHEN 2 THEN "
                     "s.SevCodFee2 WHEN 3 THEN s.SevCodFee3 ELSE s.SevCodFee4 END")
                .toInt(),
            0);
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tqplatform::registerCurrencyMetaType();
    tqplatform::ui::setRealDialogsForbidden(true);
    const QStringList args = app.arguments().mid(2);
    const QString mode = app.arguments().value(1);
    try {
        if (mode == "--agent" && args.size() == 7) {
            return runAgent(args);
        }
        if (mode == "--editor" && args.size() == 6) {
            return runEditor(args);
        }
        if (mode == "--locker" && args.size() >= 2) {
            return runLocker(args);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    SoakTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_db_soak.moc"
