#pragma once

// A reference database with every shipped code set, built once per machine (and again
// only when the shipped files or the builder change) and shared by the tests, which only
// read it: building ICD-10-CM for every test would cost seconds each time.

#include "TestDatabase.h"

#include <tqhost/ReferenceCodes.h>
#include <tqplatform/Connection.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <stdexcept>

namespace tqtest {

/// Changes when the shipped files change (by their sizes) or the builder's tables do.
inline QString referenceStamp() {
    constexpr int BuilderVersion = 2;
    qint64 bytes = 0;
    QDirIterator it(tqhost::defaultCodeSetFolder(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        bytes += QFileInfo(it.next()).size();
    }
    return QStringLiteral("%1_%2").arg(BuilderVersion).arg(bytes);
}

/// The address of the shared reference database on the database of db's kind (for a
/// PostgreSQL db, on the same server). Built on first use: into a database of this
/// process's own that is then renamed, so that tests starting together never read a
/// half-built one. Throws tqGlobal::Error when it cannot be built.
inline QString sharedReferenceDatabase(const TestDatabase& db) {
    const QString name = QStringLiteral("tqtest_codes_") + referenceStamp();
    const QString mine = name + QStringLiteral("_%1").arg(QCoreApplication::applicationPid());
    // A file in the temporary folder, or a database on the test's server.
    const auto address = [&db](const QString& database) {
        if (!db.isPostgres()) {
            return QStringLiteral("sqlite://") + QDir::temp().filePath(database + ".db");
        }
        QUrl url(db.url());
        url.setPath(QLatin1Char('/') + database);
        return url.toString();
    };
    const QString url = address(name);
    const QString building = address(mine);
    if (tqhost::referenceDatabaseHasSets(url)) {
        return url;
    }
    tqhost::dropReferenceDatabase(building);
    tqhost::createReferenceDatabase(building);
    {
        tqplatform::Connection connection(building);
        tqhost::buildReferenceDatabase(connection, {});
    }
    QUrl server(db.url());
    server.setPath(QStringLiteral("/postgres"));
    try {
        if (db.isPostgres()) {
            tqplatform::Connection(server.toString())
                .run(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(mine, name));
        } else if (!QFile::rename(QDir::temp().filePath(mine + ".db"),
                                  QDir::temp().filePath(name + ".db"))) {
            throw std::runtime_error("taken");
        }
    } catch (const std::exception&) {
        tqhost::dropReferenceDatabase(building);  // another test was quicker
    }
    return url;
}

}  // namespace tqtest
