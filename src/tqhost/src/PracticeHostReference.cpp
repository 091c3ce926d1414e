// The host's reference database: where the published code sets are read from.

#include <tqglobal/Error.h>
#include <tqhost/PracticeHost.h>
#include <tqhost/ReferenceCodes.h>
#include <tqplatform/Connection.h>

namespace tqhost {

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
    return m_referenceUrl.isEmpty() ? referenceDatabaseUrl(m_connection->url(), m_dataPath)
                                    : m_referenceUrl;
}

}  // namespace tqhost
