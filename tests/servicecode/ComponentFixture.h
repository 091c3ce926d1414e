#pragma once

#include "Controls.h"
#include "TestDatabase.h"

#include <tqhost/Host.h>
#include <tqservicecode/clsServiceCode.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>

#include <QMap>
#include <QTest>

#include <memory>

namespace tqtest {

/// A host on the practice whose statements containing failOn fail, as a refusing
/// database would, before they reach the database.
struct FaultyHost : tqhost::PracticeHost {
    using PracticeHost::PracticeHost;
    QString failOn;
    QString TranslateSql(const QString& statement, int mode) override {
        if (!failOn.isEmpty() && statement.contains(failOn, Qt::CaseInsensitive)) {
            throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError, "injected fault");
        }
        return PracticeHost::TranslateSql(statement, mode);
    }
};

/// A fresh practice database with a working host handed to the component, for one test.
struct ComponentFixture {
    TestDatabase db;
    std::shared_ptr<tqhost::PracticeHost> host;
    tqservicecode::clsServiceCode component;

    /// Creates the host; answers false (the test then skips or fails) when the database
    /// of this run is unreachable.
    bool open() {
        if (!db.available()) {
            return false;
        }
        host = tqhost::createHost(db.url(), db.dataPath(), QStringLiteral("tester"));
        component.setGIC(host);
        return true;
    }

    ~ComponentFixture() { component.setGIC(nullptr); }

    /// Hands the component a FaultyHost on the same practice in place of the host.
    std::shared_ptr<FaultyHost> useFaultyHost() {
        auto faulty = std::make_shared<FaultyHost>(host->sharedConnection(), host->dataPath(),
                                                   QStringLiteral("tester"));
        faulty->ensureSchema();
        host = faulty;
        component.setGIC(faulty);
        return faulty;
    }

    /// Inserts a SevCodTable row; unnamed columns take the row below. Answers its id.
    int32_t addCode(const QString& code, const QMap<QString, QString>& columns = {}) {
        QMap<QString, QString> row = {{"SevCodCod", code},
                                      {"SevCodDes", "Description of " + code},
                                      {"SevCodTyp", "1 - Charge"},
                                      {"SevCodCat", "Diag"},
                                      {"SevCodFee1", "10.00"},
                                      {"SevCodFee2", "20.00"},
                                      {"SevCodFee3", "30.00"},
                                      {"SevCodFee4", "40.00"},
                                      {"OffLocID", "0"}};
        row.insert(columns);  // the test's own columns replace the defaults
        return insert(QStringLiteral("SevCodTable"), QStringLiteral("SevCodID"), row);
    }

    int32_t insert(const QString& table, const QString& keyField,
                   const QMap<QString, QString>& columns) {
        int32_t key = 0;
        int16_t success = 0;
        tqGlobal::IHostServices& gic = *host;
        gic.SaveRecord(1, table, keyField, key, columns.keys(), columns.values(), true, success);
        if (success == 0) {
            qFatal("test row refused: %s", qPrintable(columns.values().join(QLatin1Char('|'))));
        }
        return key;
    }

    /// The first value of a query.
    QVariant scalar(const QString& sql) {
        tqplatform::Recordset rows = host->connection().OpenRecordset(sql);
        return rows.Eof() ? QVariant() : rows.Fields(0);
    }
};

}  // namespace tqtest

/// Opens the fixture or skips (fails under CI) when the database is unreachable.
#define TQ_OPEN_FIXTURE(fixture)       \
    TQ_REQUIRE_DATABASE((fixture).db); \
    QVERIFY((fixture).open())

/// Declares a ComponentFixture named fixture and opens it.
#define TQ_FIXTURE(fixture)           \
    tqtest::ComponentFixture fixture; \
    TQ_OPEN_FIXTURE(fixture)

/// Declares a practice of a fixture type (with its own setUp()) and sets it up.
#define TQ_SET_UP_FIXTURE(Practice, practice) \
    Practice practice;                        \
    TQ_REQUIRE_DATABASE((practice).db);       \
    QVERIFY((practice).setUp())
