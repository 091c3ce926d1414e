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
using ValueText = const unsigned char* (*)(void* value);
using ValueBytes = int (*)(void* value);
using ResultInt = void (*)(void* context, int value);
using ResultNull = void (*)(void* context);

// SQLITE_UTF8: the encoding of SQLite's own NOCASE, which a collation of another encoding
// would not replace, and of the stored texts, which LIKE then reads without a conversion.
constexpr int SqliteUtf8 = 1;
constexpr int SqliteUtf8Deterministic = SqliteUtf8 | 0x800;

/// The SQLite functions used here, from the library the driver has loaded already (the
/// same way as the declared column types), so that no second copy of SQLite meets its
/// handle. All null when it is not at hand.
struct Api {
    CreateCollation createCollation = nullptr;
    CreateFunction createFunction = nullptr;
    ValueText valueText = nullptr;
    ValueBytes valueBytes = nullptr;
    ResultInt resultInt = nullptr;
    ResultNull resultNull = nullptr;

    bool complete() const {
        return createCollation && createFunction && valueText && valueBytes && resultInt &&
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
                resolve(library, "sqlite3_value_text", result.valueText);
                resolve(library, "sqlite3_value_bytes", result.valueBytes);
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

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

/// likeMatches for texts that are ASCII throughout, whose case folding is A-Z to a-z: byte
/// by byte, without decoding or folding a copy of the text.
bool asciiLikeMatches(QByteArrayView pattern, QByteArrayView text, char escape) {
    qsizetype p = 0, t = 0, starP = -1, starT = 0;
    const bool escapes = escape != '\0';
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%' && !(escapes && escape == '%')) {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            const bool escaped = escapes && pattern[p] == escape;
            const qsizetype at = escaped ? p + 1 : p;
            if (!escaped && pattern[p] == '_') {
                ++p;
                ++t;
                continue;
            }
            if (at < pattern.size() && asciiLower(pattern[at]) == asciiLower(text[t])) {
                p = at + 1;
                ++t;
                continue;
            }
        }
        if (starP < 0) {
            return false;
        }
        p = starP;  // the last "%" takes one more character
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == '%' && !(escapes && escape == '%')) {
        ++p;
    }
    return p == pattern.size();
}

QByteArrayView utf8Text(void* value) {
    const unsigned char* text = api().valueText(value);
    return text == nullptr
               ? QByteArrayView()
               : QByteArrayView(reinterpret_cast<const char*>(text), api().valueBytes(value));
}

/// like(pattern, text[, escape]), which "text LIKE pattern" calls.
void like(void* context, int count, void** values) {
    if (api().valueText(values[0]) == nullptr || api().valueText(values[1]) == nullptr) {
        api().resultNull(context);
        return;
    }
    // The text pointers stay valid until the next value call on the same value.
    const QByteArrayView escape = count > 2 ? utf8Text(values[2]) : QByteArrayView();
    const QByteArrayView pattern = utf8Text(values[0]);
    const QByteArrayView text = utf8Text(values[1]);
    bool matches = false;
    if (isAscii(pattern) && isAscii(text) && isAscii(escape)) {
        matches = asciiLikeMatches(pattern, text, escape.isEmpty() ? '\0' : escape[0]);
    } else {
        // Letters beyond ASCII: Unicode case folding, character by character.
        const QString folded = QString::fromUtf8(escape).toCaseFolded();
        matches = likeMatches(QString::fromUtf8(pattern).toCaseFolded(),
                              QString::fromUtf8(text).toCaseFolded(),
                              folded.isEmpty() ? QChar() : folded.at(0));
    }
    api().resultInt(context, matches ? 1 : 0);
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
           sqlite.createFunction(native, "like", 2, SqliteUtf8Deterministic, nullptr, &like,
                                 nullptr, nullptr) == 0 &&
           sqlite.createFunction(native, "like", 3, SqliteUtf8Deterministic, nullptr, &like,
                                 nullptr, nullptr) == 0;
}

}  // namespace tqplatform::Internal
