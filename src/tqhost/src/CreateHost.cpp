#include <tqglobal/Error.h>
#include <tqhost/Host.h>
#include <tqhost/PracticeHost.h>
#include <tqplatform/Connection.h>

#include <QDir>

namespace tqhost {

std::shared_ptr<PracticeHost> createHost(const QString& database, const QString& dataPath,
                                         const QString& user) {
    // The data folder and the sub-folders the component writes into: lock files in
    // TEMP, grid layouts in STP.
    const QString folder = QDir(dataPath).absolutePath();
    for (const QString& sub : {QString(), QStringLiteral("TEMP"), QStringLiteral("STP")}) {
        const QString path = sub.isEmpty() ? folder : folder + QLatin1Char('/') + sub;
        if (!QDir().mkpath(path)) {
            throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                                  QStringLiteral("The folder %1 cannot be created.").arg(path));
        }
    }
    auto connection = std::make_shared<tqplatform::Connection>(database);
    auto host = std::make_shared<PracticeHost>(connection, folder, user);
    host->ensureSchema();
    return host;
}

}  // namespace tqhost
