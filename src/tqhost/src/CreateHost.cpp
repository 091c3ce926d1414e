#include <tqglobal/Error.h>
#include <tqhost/Host.h>
#include <tqhost/PracticeHost.h>
#include <tqplatform/Connection.h>

#include <QDir>

namespace tqhost {

std::shared_ptr<PracticeHost> createHost(const QString& database, const QString& dataPath,
                                         const QString& user) {
    const QString folder = QDir(dataPath).absolutePath();
    // The data folder may hold the practice file itself; one made here for a practice
    // that then fails to open goes again.
    const bool folderIsNew = !QDir(folder).exists();
    if (!QDir().mkpath(folder)) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                              QStringLiteral("The folder %1 cannot be created.").arg(folder));
    }
    std::shared_ptr<PracticeHost> host;
    try {
        auto connection = std::make_shared<tqplatform::Connection>(database);
        host = std::make_shared<PracticeHost>(connection, folder, user);
        host->ensureSchema();
    } catch (const tqGlobal::Error&) {
        if (folderIsNew) {
            QDir().rmdir(folder);  // only when nothing was left in it
        }
        throw;
    }
    // The sub-folders the component writes into, for a practice that opened: lock files
    // in TEMP, grid layouts in STP.
    for (const QString& sub : {QStringLiteral("TEMP"), QStringLiteral("STP")}) {
        const QString path = folder + QLatin1Char('/') + sub;
        if (!QDir().mkpath(path)) {
            throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                                  QStringLiteral("The folder %1 cannot be created.").arg(path));
        }
    }
    return host;
}

}  // namespace tqhost
