// A fee change of all four fees over 10,000 and 100,000 codes (rounded to whole dollars,
// the heavier form), through the component and its host, beside the same UPDATE
// statements run bare through the Qt driver in the same run, with the fee-history
// triggers in place and with them dropped (their own share). Best of 3, interleaved. Runs
// on SQLite, and on PostgreSQL when a server answers (TQ_PG_* as the tests use them).
// TQ_BENCH_SIZES (e.g. "10000") limits the table sizes; TQ_BENCH_SQLITE_ONLY and
// TQ_BENCH_POSTGRESQL_ONLY leave a database out.
#include "BenchCodeTable.h"
#include "TestDatabase.h"

#include <tqhost/Host.h>
#include <tqhost/PracticeHost.h>
#include <tqhost/Schema.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/maintenance/FeeChange.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ScriptedUi.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <cstdio>
#include <memory>

#include "BenchRun.h"

namespace {

/// TQ_BENCH_ROUNDS changes the number of rounds (3).
int Rounds = 3;

/// The host, keeping the statements it translated for the bare runs.
struct RecordingHost : tqhost::PracticeHost {
    using PracticeHost::PracticeHost;
    QStringList translated;
    QString TranslateSql(const QString& statement, int mode) override {
        translated << PracticeHost::TranslateSql(statement, mode);
        return translated.last();
    }
};

/// Dropped, not disabled: PostgreSQL keeps the rows of a statement for a disabled trigger
/// that has transition tables, so only a dropped one shows the statements' own time.
void setTriggers(tqplatform::Connection& conn, bool on, bool postgres) {
    if (on) {
        tqhost::schema::ensureSchema(conn);  // creates the missing triggers again
    } else if (postgres) {
        conn.Execute(QStringLiteral("DROP TRIGGER IF EXISTS tq_fee_history ON SevCodTable"));
    } else {
        for (int n = 1; n <= 4; ++n) {
            conn.Execute(QStringLiteral("DROP TRIGGER IF EXISTS tq_fee_history_%1").arg(n));
        }
    }
}

double componentMs(RecordingHost& host, const QString& percent) {
    tqplatform::ScriptedUi ui;
    ui.onShow("FeeChangeDialog", [&](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("txtPercent")->setText(percent);
        dialog.findChild<QCheckBox*>("chkRound")->setChecked(true);
        dialog.findChild<QPushButton*>("cmdOK")->click();
    });
    ui.answers = {6};
    host.translated.clear();
    QElapsedTimer timer;
    timer.start();
    tqservicecode::changeFees("All Codes", "");
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double bareMs(tqplatform::Connection& conn, const QStringList& statements) {
    QElapsedTimer timer;
    timer.start();
    for (const QString& sql : statements) {
        QSqlQuery query(conn.database());
        if (!query.exec(sql)) {
            qFatal("bare statement failed: %s", qPrintable(query.lastError().text()));
        }
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void run(const QString& label, const tqtest::TestDatabase& db, int codes) {
    auto host = std::make_shared<RecordingHost>(std::make_shared<tqplatform::Connection>(db.url()),
                                                db.dataPath(), "bench");
    host->ensureSchema();
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    tqplatform::Connection& conn = host->connection();
    tqbench::fillCodeTable(conn, codes);
    const bool postgres = db.isPostgres();
    double best[3] = {1e18, 1e18, 1e18};
    QStringList statements;
    // Each run leaves dead rows behind on PostgreSQL: the table is vacuumed before each
    // measurement, and the order of the three turns round by round.
    const auto settle = [&] {
        conn.Execute("DELETE FROM FeeHistory");
        if (postgres) {
            conn.Execute("VACUUM SevCodTable");
        }
    };
    for (int round = 0; round < Rounds; ++round) {
        for (int k = 0; k < 3; ++k) {
            const int which = (round + k) % 3;
            settle();
            if (which == 0) {
                best[0] = std::min(best[0], componentMs(*host, round % 2 == 0 ? "5" : "-5"));
                statements = host->translated;
            } else if (statements.isEmpty()) {
                componentMs(*host, "1");  // the statements to run bare
                statements = host->translated;
                settle();
            }
            if (which == 1) {
                best[1] = std::min(best[1], bareMs(conn, statements));
            } else if (which == 2) {
                setTriggers(conn, false, postgres);
                best[2] = std::min(best[2], bareMs(conn, statements));
                setTriggers(conn, true, postgres);
            }
        }
    }
    const long history =
        conn.OpenRecordset("SELECT count(*) FROM FeeHistory").Fields(0).toLongLong();
    std::printf("\n%s, %d codes, all 4 fees, rounded (%lld statements):\n", qPrintable(label),
                codes, static_cast<long long>(statements.size()));
    std::printf("  fee change through the component  %9.1f ms\n", best[0]);
    std::printf("  same statements, bare driver      %9.1f ms   ratio %.2fx (target <= 1.2x)\n",
                best[1], best[0] / best[1]);
    std::printf("  bare, history triggers dropped    %9.1f ms   triggers' share %.0f %%\n", best[2],
                100.0 * (best[1] - best[2]) / best[1]);
    std::printf("  component against no triggers     %9.2fx   (target <= 2x)\n", best[0] / best[2]);
    std::printf("  history rows of the last run      %9ld\n", history);
    component.setGIC(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    tqbench::prepareProcess();
    QApplication app(argc, argv);
    tqbench::prepareApplication();
    if (const int rounds = qEnvironmentVariableIntValue("TQ_BENCH_ROUNDS"); rounds > 0) {
        Rounds = rounds;
    }
    QList<int> sizes = {10000, 100000};
    if (!qEnvironmentVariableIsEmpty("TQ_BENCH_SIZES")) {
        sizes.clear();
        for (const QString& size : qEnvironmentVariable("TQ_BENCH_SIZES").split(',')) {
            sizes << size.toInt();
        }
    }
    std::printf("Fee change against the same UPDATE statements run bare (best of %d)\n", Rounds);
    for (const char* kind : {"sqlite", "postgresql"}) {
        const bool postgres = qstrcmp(kind, "postgresql") == 0;
        const char* label = postgres ? "PostgreSQL" : "SQLite";
        if (qEnvironmentVariableIsSet(postgres ? "TQ_BENCH_SQLITE_ONLY"
                                               : "TQ_BENCH_POSTGRESQL_ONLY")) {
            std::printf("\n%s: left out\n", label);
            continue;
        }
        for (const int codes : sizes) {
            qputenv("TQ_TEST_DB", kind);
            tqtest::TestDatabase db;
            if (!db.available()) {
                std::printf("\n%s: skipped (%s)\n", label, qPrintable(db.unavailableReason()));
                break;
            }
            run(label, db, codes);
        }
    }
    return 0;
}
