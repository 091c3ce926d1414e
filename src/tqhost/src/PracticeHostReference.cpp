// The host's reference database: where the published code sets are read from.

#include <tqglobal/Error.h>
#include <tqhost/PracticeHost.h>
#include <tqhost/ReferenceCodes.h>
#include <tqplatform/Connection.h>

#include <QUrl>

namespace tqhost {

namespace {

/// The address as a message may show it: without a password.
QString withoutPassword(const QString& url) {
    QUrl parsed(url);
    if (!parsed.isValid() || parsed.password().isEmpty()) {
        return url;
    }
    parsed.setPassword(QString());
    return parsed.toString();
}

/// What the user is told when the practice's reference database was never built: what is
/// missing and the two ways this program builds it.
QString notBuiltMessage(const QString& url) {
    return QStringLiteral(
               "The reference code database (CODES) of this practice has not been built, so "
               "the published code sets cannot be shown.\r\n\r\nTo build it, run the "
               "program's tool tqrefcodes:\r\n    tqrefcodes --database %1\r\n(it takes "
               "less than a minute), or open the practice once in the demo host tqdemo, "
               "which builds it when it is missing.")
        .arg(withoutPassword(url));
}

}  // namespace

QString PracticeHost::referenceDatabaseAddress() const {
    return m_referenceUrl.isEmpty() ? referenceDatabaseUrl(m_connection->url(), m_dataPath)
                                    : m_referenceUrl;
}

QString PracticeHost::GetDatabaseConnectionString(const QString& name, int16_t /*flag*/,
                                                  const QString& /*extra*/) {
    if (name.trimmed().compare(QStringLiteral("CODES"), Qt::CaseInsensitive) != 0) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                              QStringLiteral("The host has no database named %1.").arg(name));
    }
    // The browser lists "code + modifier": on PostgreSQL that "+" must join texts.
    QStringList columns;
    for (const ReferenceSetInfo& info : referenceSets()) {
        columns << info.prefix + QStringLiteral("Cod") << info.prefix + QStringLiteral("Mod");
    }
    addTextColumnNames(columns);
    const QString url = referenceDatabaseAddress();
    if (referenceDatabaseBuiltSets(url).isEmpty()) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError, notBuiltMessage(url));
    }
    return url;
}

}  // namespace tqhost
