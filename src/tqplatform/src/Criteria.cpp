#include <tqplatform/Criteria.h>

#include <tqplatform/Error.h>

#include "DatabaseErrors.h"
#include "ValueCompare.h"

#include <QDateTime>

#include <optional>

namespace tqplatform {

using Internal::Number;

namespace {

enum class Op { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual, Like, IsNull, IsNotNull };

enum class LiteralKind { Text, Number, Date, Null, Boolean };

/// Brackets deeper than this are refused rather than risking the stack.
constexpr int kMaxDepth = 200;

struct Literal {
    LiteralKind kind = LiteralKind::Text;
    QString text;  // as written (texts without their quotes)
    Number number;
    QDateTime date;
    bool boolean = false;
    // A text literal read as a number or a date, for comparing with such fields.
    std::optional<Number> textAsNumber;
    std::optional<QDateTime> textAsDate;
    QString foldedPattern;  // LIKE patterns, case-folded
};

int compareDates(const QDateTime& a, const QDateTime& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

int compareBools(bool a, bool b) {
    return static_cast<int>(a) - static_cast<int>(b);
}

std::optional<bool> boolOfText(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(u"true", Qt::CaseInsensitive) == 0) {
        return true;
    }
    if (t.compare(u"false", Qt::CaseInsensitive) == 0) {
        return false;
    }
    if (const auto n = Internal::parseNumber(t)) {
        return n->toDouble() != 0;
    }
    return std::nullopt;
}

/// Compares a field's (non-null) value with a literal: values of one kind by value, a text
/// with a number or a date as that number or date when it reads as one, otherwise as texts.
int compareWithLiteral(const QVariant& field, const Literal& lit) {
    const int id = field.metaType().id();
    if (id == QMetaType::Bool) {
        const bool value = field.toBool();
        switch (lit.kind) {
            case LiteralKind::Boolean:
                return compareBools(value, lit.boolean);
            case LiteralKind::Number:
                return compareBools(value, lit.number.toDouble() != 0);
            case LiteralKind::Text:
                if (const auto b = boolOfText(lit.text)) {
                    return compareBools(value, *b);
                }
                break;
            default:
                break;
        }
        return Internal::compareTexts(Internal::textOf(field), lit.text);
    }
    if (const auto number = Internal::numberOf(field)) {
        switch (lit.kind) {
            case LiteralKind::Number:
                return Internal::compareNumbers(*number, lit.number);
            case LiteralKind::Boolean:
                return compareBools(number->toDouble() != 0, lit.boolean);
            case LiteralKind::Text:
                if (lit.textAsNumber) {
                    return Internal::compareNumbers(*number, *lit.textAsNumber);
                }
                break;
            default:
                break;
        }
        return Internal::compareTexts(Internal::textOf(field), lit.text);
    }
    if (const auto date = Internal::dateOf(field)) {
        if (lit.kind == LiteralKind::Date) {
            return compareDates(*date, lit.date);
        }
        if (lit.kind == LiteralKind::Text && lit.textAsDate) {
            return compareDates(*date, *lit.textAsDate);
        }
        return Internal::compareTexts(Internal::textOf(field), lit.text);
    }
    // A text (or anything else read as one).
    const QString text = Internal::textOf(field);
    switch (lit.kind) {
        case LiteralKind::Number:
            if (const auto n = Internal::parseNumber(text)) {
                return Internal::compareNumbers(*n, lit.number);
            }
            break;
        case LiteralKind::Date:
            if (const auto d = Internal::parseDate(text)) {
                return compareDates(*d, lit.date);
            }
            break;
        case LiteralKind::Boolean:
            if (const auto b = boolOfText(text)) {
                return compareBools(*b, lit.boolean);
            }
            break;
        default:
            break;
    }
    return Internal::compareTexts(text, lit.text);
}

/// Whether the pattern holds a bracketed single character at p ("[%]", "[*]", "[_]", "[[]"):
/// that character is matched literally, so that a typed wildcard can be searched for.
bool bracketedAt(QStringView pattern, qsizetype p) {
    return pattern[p] == u'[' && p + 2 < pattern.size() && pattern[p + 2] == u']';
}

/// LIKE: % and * match any run of characters, _ exactly one, a bracketed character itself;
/// case is ignored, and so are the blanks that pad fixed-width texts.
bool likeMatches(QStringView text, QStringView pattern) {
    while (!text.isEmpty() && text.back() == u' ') {
        text.chop(1);
    }
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starAt = -1;   // pattern position after the last wildcard run
    qsizetype starText = 0;  // text position that run has reached
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == u'%' || pattern[p] == u'*')) {
            starAt = ++p;
            starText = t;
        } else if (p < pattern.size() && bracketedAt(pattern, p)) {
            if (pattern[p + 1] != text[t].toCaseFolded()) {
                if (starAt < 0) {
                    return false;
                }
                p = starAt;
                t = ++starText;
                continue;
            }
            p += 3;
            ++t;
        } else if (p < pattern.size() &&
                   (pattern[p] == u'_' || pattern[p] == text[t].toCaseFolded())) {
            ++p;
            ++t;
        } else if (starAt >= 0) {
            p = starAt;
            t = ++starText;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && (pattern[p] == u'%' || pattern[p] == u'*')) {
        ++p;
    }
    return p == pattern.size();
}

bool applyOp(Op op, int c) {
    switch (op) {
        case Op::Equal:
            return c == 0;
        case Op::NotEqual:
            return c != 0;
        case Op::Less:
            return c < 0;
        case Op::Greater:
            return c > 0;
        case Op::LessEqual:
            return c <= 0;
        case Op::GreaterEqual:
            return c >= 0;
        default:
            return false;
    }
}

}  // namespace

struct Criteria::Node {
    enum class Kind { And, Or, Clause };
    Kind kind = Kind::Clause;
    std::vector<std::unique_ptr<Node>> children;
    QString field;
    int column = -1;
    Op op = Op::Equal;
    Literal literal;

    bool clauseMatches(const QVariant& value) const {
        if (op == Op::IsNull) {
            return Internal::isNullValue(value);
        }
        if (op == Op::IsNotNull) {
            return !Internal::isNullValue(value);
        }
        if (literal.kind == LiteralKind::Null) {
            const bool isNull = Internal::isNullValue(value);
            return op == Op::Equal ? isNull : (op == Op::NotEqual ? !isNull : false);
        }
        if (Internal::isNullValue(value)) {
            return false;  // a missing value meets no comparison
        }
        if (op == Op::Like) {
            if (value.metaType().id() == QMetaType::QString) {
                return likeMatches(*static_cast<const QString*>(value.constData()),
                                   literal.foldedPattern);
            }
            return likeMatches(Internal::textOf(value), literal.foldedPattern);
        }
        return applyOp(op, compareWithLiteral(value, literal));
    }

    template <typename ValueOf>
    bool evaluate(const ValueOf& valueOf) const {
        switch (kind) {
            case Kind::And:
                for (const auto& child : children) {
                    if (!child->evaluate(valueOf)) {
                        return false;
                    }
                }
                return true;
            case Kind::Or:
                for (const auto& child : children) {
                    if (child->evaluate(valueOf)) {
                        return true;
                    }
                }
                return false;
            case Kind::Clause:
                break;
        }
        return clauseMatches(valueOf(*this));
    }

    template <typename Visit>
    void forEachClause(const Visit& visit) {
        if (kind == Kind::Clause) {
            visit(*this);
        }
        for (const auto& child : children) {
            child->forEachClause(visit);
        }
    }
};

namespace {

class Parser {
public:
    explicit Parser(const QString& text) : m_text(text) {}

    std::unique_ptr<Criteria::Node> parse() {
        skipSpace();
        if (atEnd()) {
            return nullptr;
        }
        auto root = parseOr();
        skipSpace();
        if (!atEnd()) {
            fail(QStringLiteral("unexpected \"%1\"").arg(m_text.mid(m_pos, 20)));
        }
        return root;
    }

private:
    using Node = Criteria::Node;

    [[noreturn]] void fail(const QString& why) const {
        Internal::throwError(Internal::BadArgument,
                             QStringLiteral("Cannot read the criteria \"%1\": %2 at position %3")
                                 .arg(m_text, why)
                                 .arg(m_pos + 1));
    }

    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text[m_pos]; }

    void skipSpace() {
        while (!atEnd() && m_text[m_pos].isSpace()) {
            ++m_pos;
        }
    }

    static bool isWordChar(QChar c) {
        return c.isLetterOrNumber() || c == u'_' || c == u'.' || c == u'$';
    }

    /// The bare word at the cursor (not consumed).
    QStringView wordAt() const {
        qsizetype end = m_pos;
        while (end < m_text.size() && isWordChar(m_text[end])) {
            ++end;
        }
        return QStringView(m_text).mid(m_pos, end - m_pos);
    }

    bool acceptKeyword(QStringView keyword) {
        skipSpace();
        if (wordAt().compare(keyword, Qt::CaseInsensitive) == 0) {
            m_pos += keyword.size();
            return true;
        }
        return false;
    }

    static bool isKeyword(QStringView word) {
        for (const QStringView k : {u"AND", u"OR", u"LIKE", u"IS", u"NOT"}) {
            if (word.compare(k, Qt::CaseInsensitive) == 0) {
                return true;
            }
        }
        return false;
    }

    std::unique_ptr<Node> combine(Node::Kind kind, std::unique_ptr<Node> first,
                                  bool (Parser::*more)(), std::unique_ptr<Node> (Parser::*next)()) {
        if (!(this->*more)()) {
            return first;
        }
        auto node = std::make_unique<Node>();
        node->kind = kind;
        node->children.push_back(std::move(first));
        do {
            node->children.push_back((this->*next)());
        } while ((this->*more)());
        return node;
    }

    bool acceptOr() { return acceptKeyword(u"OR"); }
    bool acceptAnd() { return acceptKeyword(u"AND"); }

    std::unique_ptr<Node> parseOr() {
        return combine(Node::Kind::Or, parseAnd(), &Parser::acceptOr, &Parser::parseAnd);
    }

    std::unique_ptr<Node> parseAnd() {
        return combine(Node::Kind::And, parsePrimary(), &Parser::acceptAnd, &Parser::parsePrimary);
    }

    std::unique_ptr<Node> parsePrimary() {
        skipSpace();
        if (peek() == u'(') {
            if (++m_depth > kMaxDepth) {
                fail(QStringLiteral("brackets nested too deeply"));
            }
            ++m_pos;
            auto inner = parseOr();
            skipSpace();
            if (peek() != u')') {
                fail(QStringLiteral("\")\" expected"));
            }
            ++m_pos;
            --m_depth;
            return inner;
        }
        return parseClause();
    }

    QString parseFieldName() {
        skipSpace();
        if (peek() == u'[') {
            const qsizetype close = m_text.indexOf(u']', m_pos + 1);
            if (close < 0) {
                fail(QStringLiteral("\"]\" expected"));
            }
            QString name = m_text.mid(m_pos + 1, close - m_pos - 1).trimmed();
            if (name.isEmpty()) {
                fail(QStringLiteral("empty field name"));
            }
            m_pos = close + 1;
            return name;
        }
        const QStringView word = wordAt();
        if (word.isEmpty()) {
            fail(atEnd() ? QStringLiteral("field name expected at the end")
                         : QStringLiteral("field name expected"));
        }
        if (isKeyword(word)) {
            fail(QStringLiteral("field name expected instead of \"%1\"").arg(word));
        }
        m_pos += word.size();
        return word.toString();
    }

    Op parseOperator() {
        skipSpace();
        const QStringView rest = QStringView(m_text).mid(m_pos);
        struct Symbol {
            QStringView text;
            Op op;
        };
        for (const Symbol& s : {Symbol{u"<=", Op::LessEqual}, Symbol{u">=", Op::GreaterEqual},
                                Symbol{u"<>", Op::NotEqual}, Symbol{u"=", Op::Equal},
                                Symbol{u"<", Op::Less}, Symbol{u">", Op::Greater}}) {
            if (rest.startsWith(s.text)) {
                m_pos += s.text.size();
                return s.op;
            }
        }
        if (acceptKeyword(u"LIKE")) {
            return Op::Like;
        }
        if (acceptKeyword(u"IS")) {
            const bool negated = acceptKeyword(u"NOT");
            if (!acceptKeyword(u"NULL")) {
                fail(QStringLiteral("NULL expected"));
            }
            return negated ? Op::IsNotNull : Op::IsNull;
        }
        fail(QStringLiteral("operator expected"));
    }

    Literal parseValue() {
        skipSpace();
        Literal lit;
        const QChar c = peek();
        if (c == u'\'') {
            ++m_pos;
            for (;;) {
                if (atEnd()) {
                    fail(QStringLiteral("closing quote expected"));
                }
                const QChar ch = m_text[m_pos++];
                if (ch == u'\'') {
                    if (peek() == u'\'') {
                        lit.text.append(ch);
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                lit.text.append(ch);
            }
            lit.kind = LiteralKind::Text;
            lit.textAsNumber = Internal::parseNumber(lit.text);
            lit.textAsDate = Internal::parseDate(lit.text);
            return lit;
        }
        if (c == u'#') {
            const qsizetype close = m_text.indexOf(u'#', m_pos + 1);
            if (close < 0) {
                fail(QStringLiteral("closing # expected"));
            }
            lit.text = m_text.mid(m_pos + 1, close - m_pos - 1);
            const auto date = Internal::parseDate(lit.text);
            if (!date) {
                fail(QStringLiteral("\"%1\" is not a date").arg(lit.text));
            }
            m_pos = close + 1;
            lit.kind = LiteralKind::Date;
            lit.date = *date;
            return lit;
        }
        if (c.isDigit() || c == u'-' || c == u'+' || c == u'.' || c == u'$') {
            qsizetype end = m_pos + 1;
            while (end < m_text.size() &&
                   (m_text[end].isDigit() || m_text[end] == u'.' || m_text[end] == u'$')) {
                ++end;
            }
            lit.text = m_text.mid(m_pos, end - m_pos);
            const auto number = Internal::parseNumber(lit.text);
            if (!number) {
                fail(QStringLiteral("\"%1\" is not a number").arg(lit.text));
            }
            m_pos = end;
            lit.kind = LiteralKind::Number;
            lit.number = *number;
            return lit;
        }
        const QStringView word = wordAt();
        if (word.compare(u"NULL", Qt::CaseInsensitive) == 0) {
            lit.kind = LiteralKind::Null;
        } else if (word.compare(u"TRUE", Qt::CaseInsensitive) == 0 ||
                   word.compare(u"FALSE", Qt::CaseInsensitive) == 0) {
            lit.kind = LiteralKind::Boolean;
            lit.boolean = word.compare(u"TRUE", Qt::CaseInsensitive) == 0;
        } else {
            fail(atEnd() ? QStringLiteral("value expected at the end")
                         : QStringLiteral("value expected"));
        }
        lit.text = word.toString();
        m_pos += word.size();
        return lit;
    }

    std::unique_ptr<Node> parseClause() {
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::Clause;
        node->field = parseFieldName();
        node->op = parseOperator();
        if (node->op == Op::IsNull || node->op == Op::IsNotNull) {
            return node;
        }
        node->literal = parseValue();
        if (node->op == Op::Like) {
            if (node->literal.kind != LiteralKind::Text) {
                fail(QStringLiteral("LIKE needs a quoted text"));
            }
            node->literal.foldedPattern = node->literal.text.toCaseFolded();
        }
        return node;
    }

    const QString& m_text;
    qsizetype m_pos = 0;
    int m_depth = 0;
};

}  // namespace

Criteria::Criteria(const QString& criteria) : m_root(Parser(criteria).parse()) {}

Criteria::~Criteria() = default;
Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;

bool Criteria::isEmpty() const {
    return m_root == nullptr;
}

bool Criteria::matches(const std::function<QVariant(const QString& name)>& fieldValue) const {
    if (!m_root) {
        return true;
    }
    return m_root->evaluate([&fieldValue](const Node& clause) { return fieldValue(clause.field); });
}

QStringList Criteria::fieldNames() const {
    QStringList names;
    if (m_root) {
        m_root->forEachClause([&names](Node& clause) {
            if (!names.contains(clause.field, Qt::CaseInsensitive)) {
                names.append(clause.field);
            }
        });
    }
    return names;
}

void Criteria::bind(const std::function<int(const QString& name)>& indexOf) {
    if (m_root) {
        m_root->forEachClause([&indexOf](Node& clause) { clause.column = indexOf(clause.field); });
    }
}

bool Criteria::matchesRow(const std::vector<QVariant>& row) const {
    if (!m_root) {
        return true;
    }
    static const QVariant missing;
    return m_root->evaluate([&row](const Node& clause) -> const QVariant& {
        if (clause.column < 0 || clause.column >= static_cast<int>(row.size())) {
            return missing;
        }
        return row[static_cast<size_t>(clause.column)];
    });
}

}  // namespace tqplatform
