#include <tqplatform/Criteria.h>
#include <tqplatform/Currency.h>

#include <tqglobal/Error.h>

#include "TestMain.h"

#include <QDate>
#include <QObject>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>

#include <memory>
#include <optional>
#include <vector>

using tqplatform::Criteria;
using tqplatform::Currency;

namespace {

/// One generated row: every field may be missing (SQL NULL).
struct Row {
    std::optional<int> num;
    std::optional<int64_t> amt;  // ten-thousandths
    std::optional<QString> txt;
    std::optional<QDate> dt;

    QVariant value(const QString& name) const {
        const QString n = name.toLower();
        if (n == u"num") {
            return num ? QVariant(*num) : QVariant();
        }
        if (n == u"amt") {
            return amt ? QVariant::fromValue(Currency::fromRaw(*amt)) : QVariant();
        }
        if (n == u"txt") {
            return txt ? QVariant(*txt) : QVariant();
        }
        if (n == u"dt") {
            return dt ? QVariant(*dt) : QVariant();
        }
        return {};
    }
};

enum class Field { Num, Amt, Txt, Dt };
enum class Op { Eq, Ne, Lt, Gt, Le, Ge, Like, EqNull, NeNull };

/// A generated criteria tree, evaluated here by plain rules and printed as criteria text.
struct Node {
    enum class Kind { Clause, And, Or } kind = Kind::Clause;
    std::vector<std::unique_ptr<Node>> children;
    Field field = Field::Num;
    Op op = Op::Eq;
    int64_t number = 0;  // Num: the integer; Amt: ten-thousandths
    QString text;        // Txt: the value or LIKE pattern
    QDate date;
};

const QStringList kWords = {QStringLiteral("Crown"),  QStringLiteral("crown"),
                            QStringLiteral("Bridge"), QStringLiteral("Exam"),
                            QStringLiteral("exam 2"), QStringLiteral("Exam  "),
                            QStringLiteral("O'Hara"), QStringLiteral("Ant"),
                            QStringLiteral("a_b"),    QString()};

const std::vector<int64_t> kAmounts = {-25000, 0, 1000, 2000, 3000, 12500, 999999, 123456781234};

int sign(int c) {
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

QString trimRight(QString s) {
    while (s.endsWith(u' ')) {
        s.chop(1);
    }
    return s;
}

bool likeReference(const QString& value, const QString& pattern) {
    QString rx;
    for (const QChar c : pattern) {
        if (c == u'%' || c == u'*') {
            rx += QStringLiteral(".*");
        } else if (c == u'_') {
            rx += u'.';
        } else {
            rx += QRegularExpression::escape(QString(c));
        }
    }
    const QRegularExpression re(
        QRegularExpression::anchoredPattern(rx),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re.match(trimRight(value)).hasMatch();
}

bool holds(Op op, int c) {
    switch (op) {
        case Op::Eq:
            return c == 0;
        case Op::Ne:
            return c != 0;
        case Op::Lt:
            return c < 0;
        case Op::Gt:
            return c > 0;
        case Op::Le:
            return c <= 0;
        case Op::Ge:
            return c >= 0;
        default:
            return false;
    }
}

bool evaluate(const Node& node, const Row& row) {
    if (node.kind == Node::Kind::And) {
        for (const auto& c : node.children) {
            if (!evaluate(*c, row)) {
                return false;
            }
        }
        return true;
    }
    if (node.kind == Node::Kind::Or) {
        for (const auto& c : node.children) {
            if (evaluate(*c, row)) {
                return true;
            }
        }
        return false;
    }
    bool present = false;
    int c = 0;
    switch (node.field) {
        case Field::Num:
            present = row.num.has_value();
            c = present ? sign(*row.num < node.number ? -1 : (*row.num > node.number ? 1 : 0)) : 0;
            break;
        case Field::Amt:
            present = row.amt.has_value();
            c = present ? (*row.amt < node.number ? -1 : (*row.amt > node.number ? 1 : 0)) : 0;
            break;
        case Field::Txt:
            present = row.txt.has_value();
            if (present) {
                c = sign(trimRight(row.txt->toLower()).compare(trimRight(node.text.toLower())));
            }
            break;
        case Field::Dt:
            present = row.dt.has_value();
            c = present ? (*row.dt < node.date ? -1 : (node.date < *row.dt ? 1 : 0)) : 0;
            break;
    }
    if (node.op == Op::EqNull) {
        return !present;
    }
    if (node.op == Op::NeNull) {
        return present;
    }
    if (!present) {
        return false;
    }
    if (node.op == Op::Like) {
        return likeReference(*row.txt, node.text);
    }
    return holds(node.op, c);
}

class Generator {
public:
    explicit Generator(quint32 seed) : m_random(seed) {}

    int pick(int n) { return static_cast<int>(m_random.bounded(n)); }
    bool chance(int percent) { return pick(100) < percent; }

    std::vector<Row> rows(int count) {
        std::vector<Row> result;
        for (int i = 0; i < count; ++i) {
            Row r;
            if (!chance(10)) {
                r.num = pick(21) - 5;
            }
            if (!chance(10)) {
                r.amt = kAmounts[static_cast<size_t>(pick(static_cast<int>(kAmounts.size())))];
            }
            if (!chance(10)) {
                r.txt = kWords[pick(static_cast<int>(kWords.size()))];
            }
            if (!chance(10)) {
                r.dt = QDate(2024, 1, 1).addDays(pick(60));
            }
            result.push_back(r);
        }
        return result;
    }

    std::unique_ptr<Node> tree(int depth) {
        if (depth == 0 || chance(35)) {
            return clause();
        }
        auto node = std::make_unique<Node>();
        node->kind = chance(50) ? Node::Kind::And : Node::Kind::Or;
        const int n = 2 + pick(2);
        for (int i = 0; i < n; ++i) {
            node->children.push_back(tree(depth - 1));
        }
        return node;
    }

    /// Prints with brackets only where precedence needs them, plus some for good measure.
    QString print(const Node& node, Node::Kind parent) {
        if (node.kind == Node::Kind::Clause) {
            const QString text = printClause(node);
            return chance(10) ? QStringLiteral("(") + text + QStringLiteral(")") : text;
        }
        const bool isAnd = node.kind == Node::Kind::And;
        QStringList parts;
        for (const auto& child : node.children) {
            parts << print(*child, node.kind);
        }
        const QString keyword =
            isAnd ? pickCase(QStringLiteral("AND")) : pickCase(QStringLiteral("OR"));
        const QString joined =
            parts.join(QStringLiteral(" ") + keyword + QStringLiteral("  ").left(1 + pick(2)));
        const bool needed = parent == Node::Kind::And && !isAnd;
        return needed || chance(20) ? QStringLiteral("(") + joined + QStringLiteral(")") : joined;
    }

private:
    QString pickCase(const QString& word) {
        switch (pick(3)) {
            case 0:
                return word.toLower();
            case 1:
                return word.left(1) + word.mid(1).toLower();
            default:
                return word;
        }
    }

    QString fieldName(Field f) {
        static const QStringList names = {QStringLiteral("Num"), QStringLiteral("Amt"),
                                          QStringLiteral("Txt"), QStringLiteral("Dt")};
        const QString name = pickCase(names[static_cast<int>(f)]);
        return chance(25) ? QStringLiteral("[") + name + QStringLiteral("]") : name;
    }

    std::unique_ptr<Node> clause() {
        auto node = std::make_unique<Node>();
        node->field = static_cast<Field>(pick(4));
        node->op = static_cast<Op>(pick(6));
        if (chance(5)) {
            node->op = chance(50) ? Op::EqNull : Op::NeNull;
        }
        switch (node->field) {
            case Field::Num:
                node->number = pick(21) - 5;
                break;
            case Field::Amt:
                node->number =
                    chance(70)
                        ? kAmounts[static_cast<size_t>(pick(static_cast<int>(kAmounts.size())))]
                        : static_cast<int64_t>(pick(40001)) - 20000;
                break;
            case Field::Txt:
                node->text = kWords[pick(static_cast<int>(kWords.size()))];
                if (chance(40) && node->op != Op::EqNull && node->op != Op::NeNull) {
                    node->op = Op::Like;
                    node->text = likePattern(node->text);
                }
                break;
            case Field::Dt:
                node->date = QDate(2024, 1, 1).addDays(pick(60));
                break;
        }
        return node;
    }

    QString likePattern(const QString& word) {
        const QString wild = chance(50) ? QStringLiteral("%") : QStringLiteral("*");
        QString core = word.trimmed();
        if (core.size() > 2 && chance(50)) {
            core = core.mid(pick(2), core.size() - 1 - pick(2));  // a piece of the word
        }
        if (!core.isEmpty() && chance(30)) {
            core[pick(static_cast<int>(core.size()))] = u'_';
        }
        switch (pick(4)) {
            case 0:
                return core + wild;
            case 1:
                return wild + core;
            case 2:
                return wild + core + wild;
            default:
                return chance(50) ? core.toUpper() : core;
        }
    }

    QString printClause(const Node& node) {
        static const QStringList ops = {QStringLiteral("="),  QStringLiteral("<>"),
                                        QStringLiteral("<"),  QStringLiteral(">"),
                                        QStringLiteral("<="), QStringLiteral(">=")};
        const QString name = fieldName(node.field);
        const QString space = chance(30) ? QString() : QStringLiteral(" ");
        if (node.op == Op::EqNull || node.op == Op::NeNull) {
            if (chance(50)) {
                return name + (node.op == Op::EqNull ? QStringLiteral(" IS NULL")
                                                     : QStringLiteral(" IS NOT NULL"));
            }
            return name +
                   (node.op == Op::EqNull ? QStringLiteral(" = NULL") : QStringLiteral(" <> NULL"));
        }
        if (node.op == Op::Like) {
            return name + QStringLiteral(" ") + pickCase(QStringLiteral("LIKE")) +
                   QStringLiteral(" ") + quoted(node.text);
        }
        QString value;
        switch (node.field) {
            case Field::Num:
                value = QString::number(node.number);
                if (chance(20)) {
                    value = quoted(value);
                } else if (chance(20)) {
                    value += QStringLiteral(".00");
                }
                break;
            case Field::Amt:
                value = Currency::fromRaw(node.number).toString();
                if (chance(20)) {
                    value = quoted(value);
                }
                break;
            case Field::Txt:
                value = quoted(chance(50) ? node.text.toUpper() : node.text);
                break;
            case Field::Dt:
                value = chance(50) ? node.date.toString(QStringLiteral("#M/d/yyyy#"))
                                   : QStringLiteral("#") + node.date.toString(Qt::ISODate) +
                                         QStringLiteral("#");
                break;
        }
        return name + space + ops[static_cast<int>(node.op)] + space + value;
    }

    static QString quoted(QString text) {
        return QStringLiteral("'") + text.replace(u'\'', QStringLiteral("''")) +
               QStringLiteral("'");
    }

    QRandomGenerator m_random;
};

/// Reads criteria, expecting either success or error 3001 and nothing else.
bool readsOrRefuses(const QString& text, QString* problem) {
    try {
        Criteria c(text);
        return true;
    } catch (const tqGlobal::Error& e) {
        if (e.number() != 3001) {
            *problem = QStringLiteral("error %1 (%2)").arg(e.number()).arg(e.description());
        }
        return false;
    } catch (const std::exception& e) {
        *problem = QString::fromUtf8(e.what());
        return false;
    }
}

}  // namespace

class TestCriteria : public QObject {
    Q_OBJECT

private slots:
    void generatedCriteriaMatchReference_data() {
        QTest::addColumn<quint32>("seed");
        QTest::addColumn<int>("depth");
        QTest::newRow("flat clauses") << 11u << 0;
        QTest::newRow("shallow trees") << 23u << 2;
        QTest::newRow("deep trees") << 37u << 4;
        QTest::newRow("deep trees, other rows") << 1009u << 4;
    }

    void generatedCriteriaMatchReference() {
        QFETCH(quint32, seed);
        QFETCH(int, depth);
        Generator gen(seed);
        const std::vector<Row> rows = gen.rows(150);
        int matchedSomewhere = 0;
        for (int i = 0; i < 300; ++i) {
            const auto tree = gen.tree(depth);
            const QString text = gen.print(*tree, Node::Kind::Or);
            Criteria byName(text);
            Criteria byIndex(text);
            byIndex.bind([](const QString& name) {
                static const QStringList order = {QStringLiteral("num"), QStringLiteral("amt"),
                                                  QStringLiteral("txt"), QStringLiteral("dt")};
                return static_cast<int>(order.indexOf(name.toLower()));
            });
            int matches = 0;
            for (size_t r = 0; r < rows.size(); ++r) {
                const Row& row = rows[r];
                const bool expected = evaluate(*tree, row);
                const bool actual =
                    byName.matches([&row](const QString& n) { return row.value(n); });
                const std::vector<QVariant> values = {
                    row.value(QStringLiteral("num")), row.value(QStringLiteral("amt")),
                    row.value(QStringLiteral("txt")), row.value(QStringLiteral("dt"))};
                QVERIFY2(actual == expected,
                         qPrintable(QStringLiteral("criteria %1, row %2").arg(text).arg(r)));
                QVERIFY2(byIndex.matchesRow(values) == expected,
                         qPrintable(QStringLiteral("bound criteria %1, row %2").arg(text).arg(r)));
                matches += expected ? 1 : 0;
            }
            matchedSomewhere += (matches > 0 && matches < static_cast<int>(rows.size())) ? 1 : 0;
        }
        // The generated criteria must tell rows apart, or the comparison proves nothing.
        QVERIFY(matchedSomewhere > 100);
    }

    void writtenCriteria_data() {
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<QVariantMap>("row");
        QTest::addColumn<bool>("expected");
        const QVariantMap patient{
            {QStringLiteral("Last Name"), QStringLiteral("O'Hara")},
            {QStringLiteral("Code"), QStringLiteral("D0120     ")},
            {QStringLiteral("Fee"), QVariant::fromValue(Currency::fromRaw(500000))},
            {QStringLiteral("Visits"), 12},
            {QStringLiteral("Seen"), QDateTime(QDate(2024, 3, 5), QTime(14, 30))},
            {QStringLiteral("Active"), true}};
        QTest::newRow("bracketed name with a space, doubled quote")
            << "[Last Name] = 'o''hara'" << patient << true;
        QTest::newRow("padding blanks are not part of the value")
            << "Code = 'D0120'" << patient << true;
        QTest::newRow("like with padding") << "Code LIKE '%120'" << patient << true;
        QTest::newRow("money literal with a dollar sign") << "Fee = $50.00" << patient << true;
        QTest::newRow("money with more decimals than cents") << "Fee < 50.0001" << patient << true;
        QTest::newRow("numbers compare as numbers, not texts") << "Visits > 9" << patient << true;
        QTest::newRow("number against a text value") << "Visits = '12'" << patient << true;
        QTest::newRow("date literal against a date and time")
            << "Seen > #3/5/2024#" << patient << true;
        QTest::newRow("date and time literal") << "Seen = #3/5/2024 2:30:00 PM#" << patient << true;
        QTest::newRow("boolean") << "Active = True" << patient << true;
        QTest::newRow("AND binds tighter than OR")
            << "Visits = 1 AND Code = 'x' OR Fee = 50" << patient << true;
        QTest::newRow("brackets change the grouping")
            << "Visits = 1 AND (Code = 'x' OR Fee = 50)" << patient << false;
        QTest::newRow("missing field is null") << "Nothing = 'x'" << patient << false;
        QTest::newRow("missing field is null, IS NULL") << "Nothing IS NULL" << patient << true;
        QTest::newRow("underscore is one character") << "Code LIKE 'D_120'" << patient << true;
        QTest::newRow("underscore is not two") << "Code LIKE 'D_20'" << patient << false;
        QTest::newRow("empty criteria match everything") << "   " << patient << true;
    }

    void writtenCriteria() {
        QFETCH(QString, criteria);
        QFETCH(QVariantMap, row);
        QFETCH(bool, expected);
        const Criteria c(criteria);
        QCOMPARE(c.matches([&row](const QString& name) { return row.value(name); }), expected);
    }

    void malformedCriteriaAreRefused_data() {
        QTest::addColumn<QString>("criteria");
        for (const char* text : {"Num =",
                                 "= 5",
                                 "Num 5",
                                 "Num == 5",
                                 "Num = 5 AND",
                                 "Num = 5 OR OR Num = 6",
                                 "(Num = 5",
                                 "Num = 5)",
                                 "Txt = 'abc",
                                 "Txt LIKE 5",
                                 "Txt LIKE",
                                 "Dt = #13/45/2024#",
                                 "Dt = #1/1/2024",
                                 "[Num = 5",
                                 "[] = 5",
                                 "Num = 5 Txt = 'a'",
                                 "AND Num = 5",
                                 "Num <> ",
                                 "Txt = abc",
                                 "Num = 1.2.3",
                                 "Num = --5",
                                 "()",
                                 "Num = 5 AND ()",
                                 "Num IS 5",
                                 "Num = 5;",
                                 "Num != 5",
                                 "Num = 5 AND NOT Num = 6",
                                 "'x' = Txt"}) {
            QTest::newRow(text) << QString::fromLatin1(text);
        }
        QTest::newRow("brackets nested beyond reason")
            << QString(100000, u'(') + QStringLiteral("Num = 1") + QString(100000, u')');
        QTest::newRow("unbalanced deep brackets") << QString(100000, u'(');
    }

    void malformedCriteriaAreRefused() {
        QFETCH(QString, criteria);
        try {
            Criteria c(criteria);
            QFAIL("criteria were accepted");
        } catch (const tqGlobal::Error& e) {
            QCOMPARE(e.number(), 3001L);
            QVERIFY(!e.description().isEmpty());
        }
    }

    void damagedCriteriaNeverCrash_data() {
        QTest::addColumn<quint32>("seed");
        QTest::newRow("cut and spliced") << 5u;
        QTest::newRow("random characters") << 77u;
    }

    void damagedCriteriaNeverCrash() {
        QFETCH(quint32, seed);
        Generator gen(seed);
        QRandomGenerator random(seed);
        const QString alphabet = QStringLiteral("()[]'#=<>%*_ ANDORLIKEnum.$-0123456789\"");
        int refused = 0;
        for (int i = 0; i < 2000; ++i) {
            QString text = gen.print(*gen.tree(3), Node::Kind::Or);
            if (seed == 5u) {
                text = text.left(random.bounded(static_cast<int>(text.size()) + 1)) +
                       text.mid(random.bounded(static_cast<int>(text.size()) + 1));
            } else {
                for (int k = 0; k < 3; ++k) {
                    text[random.bounded(static_cast<int>(text.size()))] =
                        alphabet[random.bounded(static_cast<int>(alphabet.size()))];
                }
            }
            QString problem;
            if (!readsOrRefuses(text, &problem)) {
                ++refused;
            }
            QVERIFY2(problem.isEmpty(), qPrintable(text + QStringLiteral(": ") + problem));
        }
        QVERIFY(refused > 100);
    }
};

TQ_TEST_MAIN(TestCriteria)
#include "tst_criteria.moc"
