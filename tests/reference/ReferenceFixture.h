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
    if (!db.isPostgres()) {
        const QString file = QDir(QDir::tempPath()).filePath(name + QStringLiteral(".db"));
        const QString url = QStringLiteral("sqlite://") + file;
        if (QFileInfo::exists(file)) {
            return url;
        }
        const QString building = QDir(QDir::tempPath()).filePath(mine + QStringLiteral(".db"));
        {
            tqplatform::Connection connection(QStringLiteral("sqlite://") + building);
            tqhost::buildReferenceDatabase(connection, {});
        }
        if (!QFile::rename(building, file)) {
            QFile::remove(building);  // another test was quicker
        }
        return url;
    }
    QUrl url(db.url());
    url.setPath(QLatin1Char('/') + name);
    if (tqhost::referenceDatabaseHasSets(url.toString())) {
        return url.toString();
    }
    QUrl building(db.url());
    building.setPath(QLatin1Char('/') + mine);
    tqhost::dropReferenceDatabase(building.toString());
    tqhost::createReferenceDatabase(building.toString());
    {
        tqplatform::Connection connection(building.toString());
        tqhost::buildReferenceDatabase(connection, {});
    }
    QUrl server(db.url());
    server.setPath(QStringLiteral("/postgres"));
    try {
        tqplatform::Connection admin(server.toString());
        admin.run(QStringLiteral("ALTER DATABASE %1 RENAME TO %2").arg(mine, name));
    } catch (const std::exception&) {
        tqhost::dropReferenceDatabase(building.toString());  // another test was quicker
    }
    return url.toString();
}

}  // namespace tqtest
