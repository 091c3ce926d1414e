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
using ScalarFunction = void (*)(void* context, int count, void** values);
using CreateCollation = int (*)(void* db, const char* name, int encoding, void* argument,
                                CompareFunction compare);
using CreateFunction = int (*)(void* db, const char* name, int count, int encoding, void* argument,
                               ScalarFunction function, void* step, void* final);
using ValueText16 = const void* (*)(void* value);
using ValueBytes16 = int (*)(void* value);
using ResultInt = void (*)(void* context, int value);
using ResultNull = void (*)(void* context);

// SQLITE_UTF8: the encoding of SQLite's own NOCASE, which a collation of another encoding
// would not replace. SQLITE_UTF16 | SQLITE_DETERMINISTIC for LIKE, which reads UTF-16.
constexpr int SqliteUtf8 = 1;
constexpr int SqliteUtf16Deterministic = 4 | 0x800;

/// The SQLite functions used here, from the library the driver has loaded already (the
/// same way as the declared column types), so that no second copy of SQLite meets its
/// handle. All null when it is not at hand.
struct Api {
    CreateCollation createCollation = nullptr;
    CreateFunction createFunction = nullptr;
    ValueText16 valueText16 = nullptr;
    ValueBytes16 valueBytes16 = nullptr;
    ResultInt resultInt = nullptr;
    ResultNull resultNull = nullptr;

    bool complete() const {
        return createCollation && createFunction && valueText16 && valueBytes16 && resultInt &&
               resultNull;
    }
};

#if defined(Q_OS_UNIX)
template <typename Function>
void resolve(void* library, const char* name, Function& function) {
    void* symbol = dlsym(library, name);
    static_assert(sizeof(function) == sizeof(symbol));
    std::memcpy(&function, &symbol, sizeof(function));
}
#endif

const Api& api() {
    static const Api loaded = [] {
        Api result;
#if defined(Q_OS_UNIX)
        for (const char* name : {"libsqlite3.so.0", "libsqlite3.so", "libsqlite3.dylib"}) {
            if (void* library = dlopen(name, RTLD_LAZY | RTLD_NOLOAD)) {
                resolve(library, "sqlite3_create_collation", result.createCollation);
                resolve(library, "sqlite3_create_function", result.createFunction);
                resolve(library, "sqlite3_value_text16", result.valueText16);
                resolve(library, "sqlite3_value_bytes16", result.valueBytes16);
                resolve(library, "sqlite3_result_int", result.resultInt);
                resolve(library, "sqlite3_result_null", result.resultNull);
                if (result.complete()) {
                    break;
                }
            }
        }
#endif
        return result.complete() ? result : Api{};
    }();
    return loaded;
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

/// One character of s at i (a surrogate pair whole): its length in units.
qsizetype characterAt(const QString& s, qsizetype i) {
    return s.at(i).isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate() ? 2 : 1;
}

/// SQL LIKE on case-folded texts: "%" any run of characters, "_" one character, escape
/// (when not null) makes the next pattern character literal.
bool likeMatches(const QString& pattern, const QString& text, QChar escape) {
    qsizetype p = 0, t = 0, starP = -1, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern.at(p) == u'%' && pattern.at(p) != escape) {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            const bool escaped = pattern.at(p) == escape && !escape.isNull();
            const qsizetype at = escaped ? p + 1 : p;
            if (!escaped && pattern.at(p) == u'_') {
                p += 1;
                t += characterAt(text, t);
                continue;
            }
            if (at < pattern.size()) {
                const qsizetype length = characterAt(pattern, at);
                if (QStringView(pattern).mid(at, length) == QStringView(text).mid(t, length)) {
                    p = at + length;
                    t += length;
                    continue;
                }
            }
        }
        if (starP < 0) {
            return false;
        }
        p = starP;  // the last "%" takes one more character
        starT += characterAt(text, starT);
        t = starT;
    }
    while (p < pattern.size() && pattern.at(p) == u'%' && pattern.at(p) != escape) {
        ++p;
    }
    return p == pattern.size();
}

QString foldedText(void* value) {
    const auto* text = static_cast<const char16_t*>(api().valueText16(value));
    return text == nullptr
               ? QString()
               : QStringView(text, api().valueBytes16(value) / 2).toString().toCaseFolded();
}

/// like(pattern, text[, escape]), which "text LIKE pattern" calls.
void like(void* context, int count, void** values) {
    if (api().valueText16(values[0]) == nullptr || api().valueText16(values[1]) == nullptr) {
        api().resultNull(context);
        return;
    }
    const QString escape = count > 2 ? foldedText(values[2]) : QString();
    api().resultInt(context, likeMatches(foldedText(values[0]), foldedText(values[1]),
                                         escape.isEmpty() ? QChar() : escape.at(0))
                                 ? 1
                                 : 0);
}

}  // namespace

bool installUnicodeNoCase(QSqlDatabase& db) {
    const Api& sqlite = api();
    const QVariant handle = db.driver() != nullptr ? db.driver()->handle() : QVariant();
    if (sqlite.createCollation == nullptr || !handle.isValid() ||
        qstrcmp(handle.typeName(), "sqlite3*") != 0) {
        return false;
    }
    void* native = *static_cast<void* const*>(handle.constData());
    return native != nullptr &&
           sqlite.createCollation(native, "NOCASE", SqliteUtf8, nullptr, &compareFolded) == 0 &&
           sqlite.createFunction(native, "like", 2, SqliteUtf16Deterministic, nullptr, &like,
                                 nullptr, nullptr) == 0 &&
           sqlite.createFunction(native, "like", 3, SqliteUtf16Deterministic, nullptr, &like,
                                 nullptr, nullptr) == 0;
}

}  // namespace tqplatform::Internal
