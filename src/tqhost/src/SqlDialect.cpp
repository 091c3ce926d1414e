// The component writes its statements in the dialect of the desktop database it was
// first written for. The translation works on tokens, so that string literals and
// quoted names pass through untouched whatever they contain.

#include <tqglobal/Error.h>
#include <tqhost/Schema.h>
#include <tqhost/SqlDialect.h>

#include <QRegularExpression>

#include <functional>

#include <vector>

namespace tqhost {

namespace {

enum class Kind { Space, Comment, Word, Number, String, Quoted, Punct };

struct Token {
    Kind kind = Kind::Space;
    QString text;   // what is written out
    QString name;   // the identifier of a Word or Quoted token
    int paren = 0;  // +1 for "(", -1 for ")", as read (text may be rewritten later)
};

using Tokens = std::vector<Token>;

bool isPlainIdentifier(const QString& name) {
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

/// Index just past a literal that opens at `from` with `quote`; a doubled quote stays
/// inside. An unclosed literal runs to the end.
qsizetype literalEnd(const QString& s, qsizetype from, QChar quote) {
    qsizetype j = from + 1;
    while (j < s.size()) {
        if (s.at(j) == quote) {
            if (j + 1 < s.size() && s.at(j + 1) == quote) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return s.size();
}

Tokens tokenize(const QString& s) {
    Tokens tokens;
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto push = [&](Kind kind, qsizetype end, const QString& name = {}) {
        Token t{kind, s.mid(i, end - i), name, 0};
        if (kind == Kind::Punct && t.text == QStringLiteral("(")) {
            t.paren = 1;
        } else if (kind == Kind::Punct && t.text == QStringLiteral(")")) {
            t.paren = -1;
        }
        tokens.push_back(t);
        i = end;
    };
    while (i < n) {
        const QChar c = s.at(i);
        const QChar next = i + 1 < n ? s.at(i + 1) : QChar();
        if (c.isSpace()) {
            qsizetype j = i;
            while (j < n && s.at(j).isSpace()) {
                ++j;
            }
            push(Kind::Space, j);
        } else if (c == u'\'') {
            push(Kind::String, literalEnd(s, i, c));
        } else if (c == u'"') {
            const qsizetype end = literalEnd(s, i, c);
            QString name = s.mid(i + 1, end - i - 2);
            push(Kind::Quoted, end, name.replace(QStringLiteral("\"\""), QStringLiteral("\"")));
        } else if (c == u'[' && s.indexOf(u']', i + 1) > i + 1) {
            const qsizetype close = s.indexOf(u']', i + 1);
            const QString name = s.mid(i + 1, close - i - 1);
            if (isPlainIdentifier(name)) {
                tokens.push_back({Kind::Word, name, name, 0});
            } else {
                QString quoted = name;
                quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
                tokens.push_back(
                    {Kind::Quoted, QLatin1Char('"') + quoted + QLatin1Char('"'), name, 0});
            }
            i = close + 1;
        } else if (c == u'-' && next == u'-') {
            const qsizetype end = s.indexOf(u'\n', i);
            push(Kind::Comment, end < 0 ? n : end);
        } else if (c == u'/' && next == u'*') {
            const qsizetype end = s.indexOf(QStringLiteral("*/"), i + 2);
            push(Kind::Comment, end < 0 ? n : end + 2);
        } else if (c.isLetter() || c == u'_') {
            qsizetype j = i + 1;
            while (j < n && (s.at(j).isLetterOrNumber() || s.at(j) == u'_' || s.at(j) == u'$')) {
                ++j;
            }
            push(Kind::Word, j, s.mid(i, j - i));
        } else if (c.isDigit() || (c == u'.' && next.isDigit())) {
            qsizetype j = i + 1;
            while (j < n && (s.at(j).isDigit() || s.at(j) == u'.')) {
                ++j;
            }
            if (j < n && (s.at(j) == u'e' || s.at(j) == u'E')) {
                qsizetype k = j + 1;
                if (k < n && (s.at(k) == u'+' || s.at(k) == u'-')) {
                    ++k;
                }
                if (k < n && s.at(k).isDigit()) {
                    j = k;
                    while (j < n && s.at(j).isDigit()) {
                        ++j;
                    }
                }
            }
            push(Kind::Number, j);
        } else {
            static const QStringList pairs = {QStringLiteral("<="), QStringLiteral(">="),
                                              QStringLiteral("<>"), QStringLiteral("!="),
                                              QStringLiteral("||"), QStringLiteral("::")};
            const QString two = s.mid(i, 2);
            push(Kind::Punct, pairs.contains(two) ? i + 2 : i + 1);
        }
    }
    return tokens;
}

bool significant(const Token& t) {
    return t.kind != Kind::Space && t.kind != Kind::Comment && !t.text.isEmpty();
}

int nextSignificant(const Tokens& t, int i, int end) {
    for (int j = i + 1; j < end; ++j) {
        if (significant(t[j])) {
            return j;
        }
    }
    return -1;
}

int previousSignificant(const Tokens& t, int i) {
    for (int j = i - 1; j >= 0; --j) {
        if (significant(t[j])) {
            return j;
        }
    }
    return -1;
}

bool isWord(const Tokens& t, int i, std::initializer_list<const char*> words) {
    if (i < 0 || t[i].kind != Kind::Word) {
        return false;
    }
    for (const char* word : words) {
        if (t[i].text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

bool isPunct(const Tokens& t, int i, const char* text) {
    return i >= 0 && t[i].kind == Kind::Punct && t[i].text == QLatin1String(text);
}

/// The ")" that closes the "(" at open, before end; -1 when none does.
int matchingParen(const Tokens& t, int open, int end) {
    int depth = 0;
    for (int i = open; i < end; ++i) {
        depth += t[i].paren;
        if (depth == 0) {
            return i;
        }
    }
    return -1;
}

void drop(Token& t) {
    t.kind = Kind::Space;
    t.text.clear();
}

/// Drops a word together with the blanks before it.
void dropWord(Tokens& t, int i) {
    drop(t[i]);
    for (int j = i - 1; j >= 0 && t[j].kind == Kind::Space; --j) {
        drop(t[j]);
    }
}

void dropDeleteStar(Tokens& t) {
    const int end = static_cast<int>(t.size());
    for (int i = 0; i < end; ++i) {
        if (!isWord(t, i, {"delete"})) {
            continue;
        }
        int star = nextSignificant(t, i, end);
        int first = star;
        // "DELETE name.* FROM"
        if (star >= 0 && (t[star].kind == Kind::Word || t[star].kind == Kind::Quoted) &&
            isPunct(t, nextSignificant(t, star, end), ".")) {
            star = nextSignificant(t, nextSignificant(t, star, end), end);
        }
        const int from = nextSignificant(t, star, end);
        if (isPunct(t, star, "*") && isWord(t, from, {"from"})) {
            for (int j = first; j < from; ++j) {
                drop(t[j]);
            }
        }
    }
}

using TextTest = std::function<bool(const QString&)>;

bool isChainBoundary(const Tokens& t, int i) {
    if (t[i].kind == Kind::Punct) {
        static const QStringList stops = {
            QStringLiteral(","),  QStringLiteral(";"),  QStringLiteral("="),
            QStringLiteral("<"),  QStringLiteral(">"),  QStringLiteral("<="),
            QStringLiteral(">="), QStringLiteral("<>"), QStringLiteral("!=")};
        return stops.contains(t[i].text);
    }
    return isWord(
        t, i, {"select", "from",  "where", "and",      "or",   "not",    "as",   "on",    "set",
               "order",  "by",    "group", "having",   "like", "ilike",  "in",   "is",    "between",
               "when",   "then",  "else",  "end",      "case", "values", "join", "inner", "left",
               "right",  "outer", "union", "distinct", "into", "limit",  "asc",  "desc"});
}

bool isTextOperand(const Tokens& t, int begin, int end, const TextTest& isTextName) {
    std::vector<int> sig;
    for (int i = begin; i < end; ++i) {
        if (significant(t[i])) {
            sig.push_back(i);
        }
    }
    if (sig.empty()) {
        return false;
    }
    const Token& first = t[sig.front()];
    if (sig.size() == 1) {
        if (first.kind == Kind::String) {
            return true;
        }
        return (first.kind == Kind::Word || first.kind == Kind::Quoted) && isTextName(first.name);
    }
    if (sig.size() == 3 && isPunct(t, sig[1], ".") &&
        (t[sig[2]].kind == Kind::Word || t[sig[2]].kind == Kind::Quoted)) {
        return isTextName(t[sig[2]].name);
    }
    if (first.paren == 1 && matchingParen(t, sig.front(), end) == sig.back()) {
        for (int i = sig.front() + 1; i < sig.back(); ++i) {
            if (t[i].paren == 1) {
                i = matchingParen(t, i, sig.back());
                if (i < 0) {
                    return false;
                }
            } else if (isPunct(t, i, "||")) {
                return true;
            }
        }
        return isTextOperand(t, sig.front() + 1, sig.back(), isTextName);
    }
    return false;
}

/// One chain of operands joined by "+" at one bracket level, between boundaries.
void joinTextChain(Tokens& t, int begin, int end, const TextTest& isTextName) {
    std::vector<int> plus;
    for (int i = begin; i < end; ++i) {
        if (t[i].paren == 1) {
            const int close = matchingParen(t, i, end);
            if (close < 0) {
                break;
            }
            i = close;
        } else if (isPunct(t, i, "+")) {
            plus.push_back(i);
        }
    }
    if (plus.empty()) {
        return;
    }
    bool text = false;
    int from = begin;
    for (size_t k = 0; k <= plus.size() && !text; ++k) {
        const int to = k < plus.size() ? plus[k] : end;
        text = isTextOperand(t, from, to, isTextName);
        from = to + 1;
    }
    if (text) {
        for (int p : plus) {
            t[p].text = QStringLiteral("||");
        }
    }
}

void joinTexts(Tokens& t, int begin, int end, const TextTest& isTextName) {
    int chainStart = begin;
    for (int i = begin; i < end; ++i) {
        if (t[i].paren == 1) {
            int close = matchingParen(t, i, end);
            if (close < 0) {
                close = end;
            }
            joinTexts(t, i + 1, close, isTextName);
            i = close;
        } else if (isChainBoundary(t, i)) {
            joinTextChain(t, chainStart, i, isTextName);
            chainStart = i + 1;
        }
    }
    joinTextChain(t, chainStart, end, isTextName);
}

/// An AND with no condition after it, or none before it, and a WHERE with no condition.
void dropDanglingConditions(Tokens& t) {
    const int end = static_cast<int>(t.size());
    auto endsCondition = [&](int i) {
        return i < 0 || isPunct(t, i, ";") || t[i].paren == -1 ||
               isWord(t, i, {"order", "group", "having", "limit", "union"});
    };
    bool changed = true;
    while (changed) {
        changed = false;
        for (int i = 0; i < end; ++i) {
            if (!isWord(t, i, {"and"})) {
                continue;
            }
            const int next = nextSignificant(t, i, end);
            const int previous = previousSignificant(t, i);
            if (endsCondition(next) || isWord(t, next, {"and", "or"}) ||
                isWord(t, previous, {"where"}) || (previous >= 0 && t[previous].paren == 1)) {
                dropWord(t, i);
                changed = true;
            }
        }
    }
    for (int i = 0; i < end; ++i) {
        if (isWord(t, i, {"where"}) && endsCondition(nextSignificant(t, i, end))) {
            dropWord(t, i);
        }
    }
}

/// The whole number of a money amount: Clng(x) and CInt(x) take x as money first (four
/// decimals, a half away from zero), then the nearest whole number. SQLite computes x in
/// binary doubles (12.5 * 1.16 is 14.4999999999999982), which the four decimals bring back
/// to the amount PostgreSQL computes exactly.
void castWholeNumbers(Tokens& t, bool sqlite) {
    const int end = static_cast<int>(t.size());
    for (int i = 0; i < end; ++i) {
        if (!isWord(t, i, {"clng", "cint"}) || isPunct(t, previousSignificant(t, i), ".")) {
            continue;
        }
        const int open = nextSignificant(t, i, end);
        if (open < 0 || t[open].paren != 1) {
            continue;
        }
        const int close = matchingParen(t, open, end);
        if (close < 0) {
            continue;
        }
        t[i].text = sqlite ? QStringLiteral("CAST(ROUND(ROUND") : QStringLiteral("CAST(ROUND(CAST");
        t[close].text = sqlite ? QStringLiteral(", 4)) AS INTEGER)")
                               : QStringLiteral(" AS NUMERIC), 4) AS INTEGER)");
    }
}

/// ROUND(x, 0) rounds x as money (four decimals) first, as Clng does, so that a fee lands
/// on the same whole dollars whichever form of rounding the statement asks for.
void roundWholeAsMoney(Tokens& t) {
    const int end = static_cast<int>(t.size());
    for (int i = 0; i < end; ++i) {
        if (!isWord(t, i, {"round"}) || isPunct(t, previousSignificant(t, i), ".")) {
            continue;
        }
        const int open = nextSignificant(t, i, end);
        if (open < 0 || t[open].paren != 1) {
            continue;
        }
        const int close = matchingParen(t, open, end);
        int comma = -1;
        for (int j = open + 1; j < close; ++j) {
            if (t[j].paren == 1) {
                j = matchingParen(t, j, close);
                if (j < 0) {
                    break;
                }
            } else if (isPunct(t, j, ",")) {
                comma = j;
                break;
            }
        }
        const int digits = comma < 0 ? -1 : nextSignificant(t, comma, close);
        if (digits < 0 || t[digits].kind != Kind::Number || t[digits].text != QStringLiteral("0") ||
            nextSignificant(t, digits, end) != close) {
            continue;
        }
        t[open].text = QStringLiteral("(ROUND(");
        t[comma].text = QStringLiteral(", 4),");
    }
}

void likeIgnoringCase(Tokens& t) {
    for (int i = 0; i < static_cast<int>(t.size()); ++i) {
        if (isWord(t, i, {"like"}) && !isPunct(t, previousSignificant(t, i), ".")) {
            t[i].text = QStringLiteral("ILIKE");
        }
    }
}

}  // namespace

QString sqlTextLiteral(const QString& value) {
    if (value.contains(QChar(u'\0'))) {
        // No column keeps a NUL, and dropping it would make "A\0B" find "AB".
        constexpr long InvalidArgument = 5;
        throw tqGlobal::Error(InvalidArgument,
                              QStringLiteral("A text with a NUL character cannot be searched "
                                             "for or stored."));
    }
    QString text = value;
    text.replace(QStringLiteral("'"), QStringLiteral("''"));
    return QLatin1Char('\'') + text + QLatin1Char('\'');
}

QString translateSql(const QString& statement, tqplatform::DatabaseKind kind,
                     const QSet<QString>& extraTextColumns) {
    static const QSet<QString> practiceTexts = schema::textColumnNames();
    const TextTest isTextName = [&](const QString& name) {
        const QString lower = name.toLower();
        return practiceTexts.contains(lower) || extraTextColumns.contains(lower);
    };
    Tokens tokens = tokenize(statement);
    dropDeleteStar(tokens);
    joinTexts(tokens, 0, static_cast<int>(tokens.size()), isTextName);
    dropDanglingConditions(tokens);
    roundWholeAsMoney(tokens);
    castWholeNumbers(tokens, kind == tqplatform::DatabaseKind::SQLite);
    if (kind == tqplatform::DatabaseKind::PostgreSQL) {
        likeIgnoringCase(tokens);
    }
    QString out;
    out.reserve(statement.size() + 16);
    for (const Token& t : tokens) {
        out += t.text;
    }
    return out;
}

}  // namespace tqhost
