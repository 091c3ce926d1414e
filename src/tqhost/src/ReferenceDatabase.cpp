// Where a practice's reference database lives, and making and dropping it.

#include <tqhost/ReferenceCodes.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QUrl>

#include <algorithm>
#include <memory>

namespace tqhost {

namespace {

const QString SqliteScheme = QStringLiteral("sqlite://");
const QString PostgresScheme = QStringLiteral("postgresql://");

[[noreturn]] void fail(const QString& text) {
    throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError, text);
}

bool isSqlite(const QString& url) {
    return url.startsWith(SqliteScheme, Qt::CaseInsensitive);
}

QString sqliteFile(const QString& url) {
    return url.mid(SqliteScheme.size());
}

/// The database name of a PostgreSQL address.
QString postgresDatabase(const QString& url) {
    return QUrl(url).path().mid(1);
}

/// The same address on the server's maintenance database.
QString maintenanceUrl(const QString& url) {
    QUrl maintenance(url);
    maintenance.setPath(QStringLiteral("/postgres"));
    return maintenance.toString();
}

QString quotedName(const QString& name) {
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

bool postgresDatabaseExists(tqplatform::Connection& server, const QString& name) {
    QSqlQuery query =
        server.run(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = ?"), {name});
    return query.next();
}

}  // namespace

QString referenceDatabaseUrl(const QString& practiceUrl, const QString& dataPath) {
    if (practiceUrl.startsWith(PostgresScheme, Qt::CaseInsensitive)) {
        QUrl url(practiceUrl);
        url.setPath(QLatin1Char('/') + postgresDatabase(practiceUrl) + QStringLiteral("_codes"));
        return url.toString();
    }
    // The embedded practice keeps it in its data folder, which goes with the practice
    // wherever it is copied.
    return SqliteScheme + QDir(QDir(dataPath).absolutePath()).filePath(QStringLiteral("codes.db"));
}

void createReferenceDatabase(const QString& url) {
    if (isSqlite(url)) {
        const QString folder = QFileInfo(sqliteFile(url)).absolutePath();
        if (!QDir().mkpath(folder)) {
            fail(QStringLiteral("The folder %1 cannot be created.").arg(folder));
        }
        return;
    }
    const QString name = postgresDatabase(url);
    tqplatform::Connection server(maintenanceUrl(url));
    if (postgresDatabaseExists(server, name)) {
        return;
    }
    try {
        server.run(QStringLiteral("CREATE DATABASE ") + quotedName(name));
    } catch (const tqGlobal::Error&) {
        // Another process may have made it at the same moment.
        if (!postgresDatabaseExists(server, name)) {
            throw;
        }
    }
}

void dropReferenceDatabase(const QString& url) {
    if (isSqlite(url)) {
        const QString file = sqliteFile(url);
        if (QFileInfo::exists(file) && !QFile::remove(file)) {
            fail(QStringLiteral("The file %1 cannot be removed.").arg(file));
        }
        return;
    }
    tqplatform::Connection server(maintenanceUrl(url));
    server.run(QStringLiteral("SET client_min_messages TO warning"));
    server.run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                   .arg(quotedName(postgresDatabase(url))));
}

QList<ReferenceSet> referenceDatabaseBuiltSets(const QString& url) {
    if (isSqlite(url) && !QFileInfo::exists(sqliteFile(url))) {
        return {};  // opening it would make an empty file
    }
    std::unique_ptr<tqplatform::Connection> connection;
    try {
        connection = std::make_unique<tqplatform::Connection>(url);
    } catch (const tqGlobal::Error&) {
        // A server database that does not exist was never built; a server that does not
        // answer is reported as it is.
        if (!isSqlite(url)) {
            bool missing = false;
            try {
                tqplatform::Connection server(maintenanceUrl(url));
                missing = !postgresDatabaseExists(server, postgresDatabase(url));
            } catch (const tqGlobal::Error&) {
                missing = false;
            }
            if (missing) {
                return {};
            }
        }
        throw;
    }
    if (!connection->database().tables().contains(QStringLiteral("RefSetTable"),
                                                  Qt::CaseInsensitive)) {
        return {};  // made, but no build finished in it
    }
    QSqlQuery query = connection->run(QStringLiteral(
        "SELECT RefSetDisTyp FROM RefSetTable WHERE RefSetCodCou > 0 ORDER BY RefSetDisTyp"));
    QList<ReferenceSet> sets;
    while (query.next()) {
        sets << static_cast<ReferenceSet>(query.value(0).toInt());
    }
    return sets;
}

bool referenceDatabaseHasSets(const QString& url, const QList<ReferenceSet>& sets) {
    QList<ReferenceSet> built;
    try {
        built = referenceDatabaseBuiltSets(url);
    } catch (const tqGlobal::Error&) {
        return false;
    }
    QList<ReferenceSet> wanted = sets;
    if (wanted.isEmpty()) {
        for (const ReferenceSetInfo& info : referenceSets()) {
            wanted << info.set;
        }
    }
    return std::all_of(wanted.begin(), wanted.end(),
                       [&built](ReferenceSet set) { return built.contains(set); });
}

}  // namespace tqhost
