#include "SqliteCollation.h"

#include <QSqlDriver>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <cstring>

#if defined(Q_OS_UNIX)
#include <dlfcn.h>
#endif

namespace tqplatform::Internal {

namespace {

using CompareFunction = int (*)(void*, int, const void*, int, const void*);
using CreateCollation = int (*)(void* db, const char* name, int encoding, void* argument,
                                CompareFunction compare);
// SQLITE_UTF8: the encoding of SQLite's own NOCASE, which a collation of another encoding
// would not replace.
constexpr int SqliteUtf8 = 1;

// The function comes from the SQLite library the driver has loaded already (the same
// way as the declared column types), so that no second copy of SQLite meets its handle.
CreateCollation createCollationFunction() {
    static const CreateCollation function = []() -> CreateCollation {
#if defined(Q_OS_UNIX)
        void* symbol = nullptr;
        for (const char* name : {"libsqlite3.so.0", "libsqlite3.so", "libsqlite3.dylib"}) {
            if (void* library = dlopen(name, RTLD_LAZY | RTLD_NOLOAD)) {
                symbol = dlsym(library, "sqlite3_create_collation");
                if (symbol != nullptr) {
                    break;
                }
            }
        }
        CreateCollation result = nullptr;
        static_assert(sizeof(result) == sizeof(symbol));
        std::memcpy(&result, &symbol, sizeof(result));
        return result;
#else
        return nullptr;
#endif
    }();
    return function;
}

bool isAscii(QByteArrayView text) {
    return std::none_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; });
}

int compareFolded(void* /*argument*/, int leftBytes, const void* left, int rightBytes,
                  const void* right) {
    const QByteArrayView a(static_cast<const char*>(left), leftBytes);
    const QByteArrayView b(static_cast<const char*>(right), rightBytes);
    if (isAscii(a) && isAscii(b)) {
        return QLatin1StringView(a).compare(QLatin1StringView(b), Qt::CaseInsensitive);
    }
    // Letters beyond ASCII: Unicode case folding, character by character.
    return QString::fromUtf8(a).compare(QString::fromUtf8(b), Qt::CaseInsensitive);
}

}  // namespace

bool installUnicodeNoCase(QSqlDatabase& db) {
    const CreateCollation create = createCollationFunction();
    const QVariant handle = db.driver() != nullptr ? db.driver()->handle() : QVariant();
    if (create == nullptr || !handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return false;
    }
    void* native = *static_cast<void* const*>(handle.constData());
    return native != nullptr && create(native, "NOCASE", SqliteUtf8, nullptr, &compareFolded) == 0;
}

}  // namespace tqplatform::Internal
