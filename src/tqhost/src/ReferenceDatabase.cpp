// Where a practice's reference database lives, and making and dropping it.

#include <tqhost/ReferenceCodes.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

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
    server.run(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                   .arg(quotedName(postgresDatabase(url))));
}

bool referenceDatabaseHasSets(const QString& url, const QList<ReferenceSet>& sets) {
    try {
        if (isSqlite(url)) {
            if (!QFileInfo::exists(sqliteFile(url))) {
                return false;  // opening it would make an empty file
            }
        } else {
            tqplatform::Connection server(maintenanceUrl(url));
            if (!postgresDatabaseExists(server, postgresDatabase(url))) {
                return false;
            }
        }
        tqplatform::Connection connection(url);
        QList<ReferenceSet> wanted = sets;
        if (wanted.isEmpty()) {
            for (const ReferenceSetInfo& info : referenceSets()) {
                wanted << info.set;
            }
        }
        for (ReferenceSet set : wanted) {
            QSqlQuery query = connection.run(
                QStringLiteral("SELECT RefSetCodCou FROM RefSetTable WHERE RefSetDisTyp = ?"),
                {static_cast<int>(set)});
            if (!query.next() || query.value(0).toInt() <= 0) {
                return false;
            }
        }
        return true;
    } catch (const tqGlobal::Error&) {
        return false;
    }
}

}  // namespace tqhost
