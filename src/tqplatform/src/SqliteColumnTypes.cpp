#include "SqliteColumnTypes.h"

#include <QSqlQuery>
#include <QSqlResult>
#include <QVariant>

#include <cstring>

#if defined(Q_OS_UNIX)
#include <dlfcn.h>
#endif

namespace tqplatform::Internal {

namespace {

using DeclTypeFunction = const char* (*)(void* statement, int column);

// The SQLite driver does not pass the declared column types on (it reduces them to a few
// Qt types), yet dates and money live in declared types. The declared type is read from
// the SQLite library the driver itself has loaded; a library that is not loaded already is
// never loaded here, so no second copy of SQLite can meet the driver's statement.
DeclTypeFunction declTypeFunction() {
    static const DeclTypeFunction function = []() -> DeclTypeFunction {
#if defined(Q_OS_UNIX)
        void* symbol = nullptr;
        for (const char* name : {"libsqlite3.so.0", "libsqlite3.so", "libsqlite3.dylib"}) {
            if (void* library = dlopen(name, RTLD_LAZY | RTLD_NOLOAD)) {
                symbol = dlsym(library, "sqlite3_column_decltype");
                if (symbol != nullptr) {
                    break;
                }
            }
        }
        DeclTypeFunction result = nullptr;
        static_assert(sizeof(result) == sizeof(symbol));
        std::memcpy(&result, &symbol, sizeof(result));
        return result;
#else
        return nullptr;
#endif
    }();
    return function;
}

}  // namespace

QByteArray sqliteDeclaredType(const QSqlQuery& query, int column) {
    const DeclTypeFunction function = declTypeFunction();
    if (function == nullptr || query.result() == nullptr) {
        return {};
    }
    const QVariant handle = query.result()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0) {
        return {};
    }
    void* statement = *static_cast<void* const*>(handle.constData());
    if (statement == nullptr) {
        return {};
    }
    return QByteArray(function(statement, column));
}

}  // namespace tqplatform::Internal
