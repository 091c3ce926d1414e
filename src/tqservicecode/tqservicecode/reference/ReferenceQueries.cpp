#include <tqservicecode/reference/ReferenceQueries.h>

#include <tqservicecode/core/ComponentContext.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Vb.h>

#include <QSqlDatabase>

namespace tqservicecode::reference {

QString containsPattern(const QString& text) {
    QString pattern;
    pattern.reserve(text.size() + 8);
    pattern += QLatin1Char('%');
    for (const QChar c : text) {
        if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QChar(LikeEscapeChar)) {
            pattern += QChar(LikeEscapeChar);
        }
        pattern += c;
    }
    pattern += QLatin1Char('%');
    return pattern;
}

QString likeEscapeClause() {
    return QStringLiteral(" ESCAPE '") + QChar(LikeEscapeChar) + QLatin1Char('\'');
}

QString likeContains(const QString& column, const QString& text) {
    return QLatin1Char('(') + column + QStringLiteral(" Like ") +
           GIC().SqlText(containsPattern(text)) + likeEscapeClause() + QLatin1Char(')');
}

QString listStatement(const QString& prefix, const QString& filter, const QString& sort) {
    QString sql = QStringLiteral("SELECT *, ") + prefix + QStringLiteral("Cod + ") + prefix +
                  QStringLiteral("Mod as ") + prefix + QStringLiteral("CodMod FROM ") + prefix +
                  QStringLiteral("Table ");
    if (!filter.isEmpty()) {
        sql += QStringLiteral("WHERE ") + filter;
    }
    if (!sort.trimmed().isEmpty()) {
        sql += QStringLiteral(" ORDER BY ") + sort;
    }
    return sql + QLatin1Char(';');
}

QString treeStatement(const QString& prefix) {
    return QStringLiteral("SELECT * FROM ") + prefix + QStringLiteral("TreTable ORDER BY ") +
           prefix + QStringLiteral("TrePar, ") + prefix + QStringLiteral("TreRanSta;");
}

QString rangeFilter(const QString& prefix, const QString& start, const QString& end) {
    // Through the host's quoting, so that a range from the file never leaves its literal.
    return QLatin1Char('(') + prefix + QStringLiteral("Cod Between ") + GIC().SqlText(start) +
           QStringLiteral(" AND ") + GIC().SqlText(end + QStringLiteral("zzz")) + QLatin1Char(')');
}

QString placementFilter(const QString& prefix, int32_t level, int32_t nodeId) {
    const QString column = level == 0 ? QStringLiteral("ChaID") : QStringLiteral("SecID");
    return QLatin1Char('(') + prefix + column + QStringLiteral(" = ") + QString::number(nodeId) +
           QLatin1Char(')');
}

QString allCodesKey(const QString& prefix) {
    return prefix + QStringLiteral("ALL");
}

QString searchResultsKey(const QString& prefix) {
    return prefix + QStringLiteral("SRCH");
}

QString searchResultsFilter(const QString& prefix) {
    return QLatin1Char('(') + prefix + QStringLiteral("ID = 0)");
}

QString searchKey(const QString& prefix, const QString& text) {
    return (searchResultsKey(prefix) + text).toUpper();
}

QString searchText(const QString& text) {
    return QStringLiteral("Search : '") + text + QLatin1Char('\'');
}

bool looksLikeCode(const QString& text) {
    bool digit = false;
    for (const QChar c : text) {
        if (c.isDigit()) {
            digit = true;
        } else if (!((c.isLetter() && c.unicode() < 128) || c == QLatin1Char('.'))) {
            return false;
        }
    }
    return digit && compactCode(text).size() <= 16;
}

QString compactCode(const QString& text) {
    QString compact = text.toUpper();
    compact.remove(QLatin1Char('.'));
    return compact;
}

QString codeFormFilter(const QString& prefix, const QString& text) {
    const QString compact = compactCode(text);
    QStringList starts;
    for (qsizetype length = 1; length <= compact.size(); ++length) {
        starts << GIC().SqlText(compact.left(length));
    }
    const QString code = prefix + QStringLiteral("Cod");
    // Letters and digits only: the pattern needs no escapes.
    return QStringLiteral("(") + code + QStringLiteral(" IN (") +
           starts.join(QStringLiteral(", ")) + QStringLiteral(") AND ((") + code +
           QStringLiteral(" + ") + prefix + QStringLiteral("Mod) Like ") +
           GIC().SqlText(compact + QLatin1Char('%')) + QStringLiteral("))");
}

namespace {

/// The search for text as words: in code, modifier or description.
QString wordFilter(const QString& prefix, const QString& text, bool indexed) {
    const QString like = QLatin1Char('(') + likeContains(prefix + QStringLiteral("Cod"), text) +
                         QStringLiteral(" OR ") +
                         likeContains(prefix + QStringLiteral("Mod"), text) +
                         QStringLiteral(" OR ") +
                         likeContains(prefix + QStringLiteral("Des"), text) + QLatin1Char(')');
    const QString query = indexed ? searchIndexQuery(text) : QString();
    if (query.isEmpty()) {
        return like;
    }
    const QString table = searchIndexTable(prefix);
    return QStringLiteral("(") + prefix + QStringLiteral("ID IN (SELECT rowid FROM ") + table +
           QStringLiteral(" WHERE ") + table + QStringLiteral(" MATCH ") + GIC().SqlText(query) +
           QStringLiteral(") AND ") + like + QLatin1Char(')');
}

}  // namespace

QString searchFilter(const QString& prefix, const QString& text, bool indexed) {
    const QString words = wordFilter(prefix, text, indexed);
    if (!looksLikeCode(text)) {
        return words;
    }
    return QLatin1Char('(') + words + QStringLiteral(" OR ") + codeFormFilter(prefix, text) +
           QLatin1Char(')');
}

QString searchIndexTable(const QString& prefix) {
    return prefix + QStringLiteral("SrcTable");
}

QString searchIndexText(const QString& text) {
    return text.toCaseFolded();
}

QString searchIndexQuery(const QString& text) {
    // By characters, as the index counts them (a pair of surrogates is one).
    const QList<uint> characters = searchIndexText(text).toUcs4();
    const qsizetype count = characters.size();
    if (count < 3) {
        return {};
    }
    QStringList trigrams;
    for (qsizetype start = 0;; start = std::min(start + 3, count - 3)) {
        QString trigram = QString::fromUcs4(characters.constData() + start, 3);
        // A string of the full-text query: in double quotes, a quote doubled.
        trigram.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        trigram = QLatin1Char('"') + trigram + QLatin1Char('"');
        if (!trigrams.contains(trigram)) {
            trigrams << trigram;
        }
        if (start == count - 3) {
            break;
        }
    }
    return trigrams.join(QStringLiteral(" AND "));
}

bool hasSearchIndex(tqplatform::Connection& codes, const QString& prefix) {
    const QString table = searchIndexTable(prefix);
    if (codes.kind() != tqplatform::DatabaseKind::SQLite ||
        !codes.database().tables().contains(table, Qt::CaseInsensitive)) {
        return false;
    }
    try {
        // A SQLite without full-text search cannot read the table that another one made.
        codes.run(QStringLiteral("SELECT rowid FROM %1 WHERE %1 MATCH 'abc' LIMIT 0").arg(table));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

ListSort defaultSort(const QString& prefix) {
    return {prefix + QStringLiteral("Cod"),
            prefix + QStringLiteral("Cod, ") + prefix + QStringLiteral("Mod")};
}

ListSort sortFor(const QString& prefix, const QString& field, bool ascending) {
    const QString dir = ascending ? QString() : QStringLiteral(" DESC");
    const QString wanted = field.toUpper();
    QString first = prefix + QStringLiteral("Cod");
    QString second = prefix + QStringLiteral("Mod");
    if (wanted == (prefix + QStringLiteral("Mod")).toUpper()) {
        std::swap(first, second);
    } else if (wanted == (prefix + QStringLiteral("Des")).toUpper()) {
        first = prefix + QStringLiteral("Des");
        second = prefix + QStringLiteral("Cod");
    }
    return {first, first + dir + QStringLiteral(", ") + second + dir};
}

Revision defaultRevision() {
    return {QStringLiteral("Code on Dental Procedures and Nomenclature"),
            QStringLiteral("CDT 2011/2012"),
            QStringLiteral("Current Dental Terminology (CDT) \u00a9 2010 American Dental "
                           "Association (ADA). All rights reserved."),
            QDate()};
}

QString revisionCaption(const Revision& revision) {
    if (revision.shortTitle.isEmpty()) {
        return revision.longTitle;
    }
    return revision.longTitle + QStringLiteral(" (") + revision.shortTitle + QLatin1Char(')');
}

QString revisionPanel(const Revision& revision) {
    const bool dated = revision.effective.isValid();
    const QString date =
        dated ? tqplatform::vb::Format(revision.effective, QStringLiteral("Short Date"))
              : QString();
    QString text;
    if (!revision.notice.isEmpty()) {
        text = revision.notice;
        if (dated) {
            text += QStringLiteral(" (Effective ") + date + QLatin1Char(')');
        }
    } else if (dated) {
        text = QStringLiteral("Effective ") + date;
    }
    return text + QLatin1Char(' ');
}

QString revisionStatement() {
    return QStringLiteral("SELECT * FROM CDTRevTable");
}

}  // namespace tqservicecode::reference
