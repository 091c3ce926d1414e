// Writes code sets into the reference database. Each set's tables are dropped and made
// again inside one transaction for the whole build, so that readers see the old sets
// until the new ones are complete, and a failure leaves the old ones in place.

#include "ReferenceContent.h"

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqservicecode/reference/ReferenceQueries.h>

#include <QDateTime>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QVariantList>

namespace tqhost {

namespace {

using Internal::CodeSetContent;
using Internal::ReferenceNode;
using tqplatform::DatabaseKind;

/// Rows written by one INSERT on PostgreSQL: few round trips to the server, and well below
/// the 65,535 values a statement may bind.
constexpr int RowsPerStatement = 500;

struct Dialect {
    bool postgres = false;
    /// Codes compare as plain text (by character code), as the browser's ranges expect;
    /// PostgreSQL would otherwise compare by the server's language rules.
    QString code(int width) const {
        return QStringLiteral("VARCHAR(%1)%2")
            .arg(width)
            .arg(postgres ? QStringLiteral(" COLLATE \"C\"") : QString());
    }
    QString text() const { return QStringLiteral("TEXT"); }
    QString date() const { return postgres ? QStringLiteral("DATE") : QStringLiteral("TEXT"); }
};

void execute(tqplatform::Connection& connection, const QString& sql) {
    connection.run(sql);
}

/// Inserts rows of columns.size() values each. SQLite runs one prepared single-row
/// statement again and again (it has no round trips to save, and it finds a statement's
/// values by a search that grows with their number); PostgreSQL gets RowsPerStatement rows
/// to a statement.
void insertRows(tqplatform::Connection& connection, const QString& table,
                const QStringList& columns, const QVariantList& values) {
    const qsizetype width = columns.size();
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ")
                             .arg(table, columns.join(QStringLiteral(", ")));
    QString one = QStringLiteral("(?");
    for (qsizetype i = 1; i < width; ++i) {
        one += QStringLiteral(", ?");
    }
    one += QLatin1Char(')');
    const qsizetype rows = values.size() / width;
    if (connection.kind() == DatabaseKind::SQLite) {
        QSqlQuery insert(connection.database());
        bool ok = insert.prepare(head + one);
        for (qsizetype row = 0; ok && row < rows; ++row) {
            for (qsizetype i = 0; i < width; ++i) {
                insert.bindValue(static_cast<int>(i), values.at(row * width + i));
            }
            ok = insert.exec();
        }
        if (!ok) {
            throw tqGlobal::Error(
                tqGlobal::ErrorNumber::DatabaseError,
                insert.lastError().text() + QStringLiteral("\nStatement: ") + head + one);
        }
        return;
    }
    // The values are written into the statement as literals by the driver's own quoting
    // (one round trip and one parse a statement, where a prepared one takes three).
    QSqlDriver* driver = connection.database().driver();
    for (qsizetype first = 0; first < rows; first += RowsPerStatement) {
        const qsizetype count = std::min<qsizetype>(RowsPerStatement, rows - first);
        QString sql = head;
        for (qsizetype row = first; row < first + count; ++row) {
            sql += row == first ? QStringLiteral("(") : QStringLiteral(", (");
            for (qsizetype i = 0; i < width; ++i) {
                const QVariant& value = values.at(row * width + i);
                QSqlField field(QString(), value.metaType());
                field.setValue(value);
                sql += (i ? QStringLiteral(", ") : QString()) + driver->formatValue(field);
            }
            sql += QLatin1Char(')');
        }
        connection.run(sql);
    }
}

QString notNull(const QString& text) {
    return text.isNull() ? QStringLiteral("") : text;
}

QVariant textOrNull(const QString& text) {
    return text.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(text);
}

/// "yyyyMMdd" as a date; null when empty.
QVariant dateOrNull(const QString& compact) {
    const QDate date = QDate::fromString(compact, QStringLiteral("yyyyMMdd"));
    return date.isValid() ? QVariant(date) : QVariant(QMetaType::fromType<QDate>());
}

/// The chapter (level 0) and section (level 1) node of each code: by the category table
/// when the set has one, else the deepest node whose range holds the code, compared as
/// text with the upper bound extended by "zzz", as the browser's ranges are.
class Placement {
public:
    explicit Placement(const CodeSetContent& content) : m_content(content) {
        for (const ReferenceNode& node : content.nodes) {
            m_byId.insert(node.id, &node);
        }
    }

    std::pair<int, int> place(const QString& code) const {
        const ReferenceNode* deepest = nullptr;
        if (!m_content.sectionOfCategory.isEmpty()) {
            deepest = m_byId.value(m_content.sectionOfCategory.value(code), nullptr);
        } else {
            for (const ReferenceNode& node : m_content.nodes) {
                if (code >= node.start && code <= node.end + QLatin1String("zzz") &&
                    (deepest == nullptr || node.level > deepest->level)) {
                    deepest = &node;
                }
            }
        }
        int chapter = 0;
        int section = 0;
        for (const ReferenceNode* node = deepest; node != nullptr;
             node = m_byId.value(node->parent, nullptr)) {
            if (node->level == 1) {
                section = node->id;
            } else if (node->level == 0) {
                chapter = node->id;
            }
        }
        return {chapter, section};
    }

private:
    const CodeSetContent& m_content;
    QHash<int, const ReferenceNode*> m_byId;
};

void createSetTables(tqplatform::Connection& connection, const Dialect& d, const QString& p,
                     bool withEndDate) {
    QStringList tables = {p + QStringLiteral("Table"), p + QStringLiteral("TreTable")};
    if (!d.postgres) {
        tables << tqservicecode::reference::searchIndexTable(p);
    }
    for (const QString& table : tables) {
        execute(connection, QStringLiteral("DROP TABLE IF EXISTS ") + table);
    }
    execute(connection,
            QStringLiteral("CREATE TABLE %1Table (%1ID INTEGER PRIMARY KEY, %1Cod %2 NOT NULL, "
                           "%1Mod %3 NOT NULL DEFAULT '', %1Des %4, %1ChaID INTEGER, "
                           "%1SecID INTEGER%5)")
                .arg(p, d.code(10), d.code(10), d.text(),
                     withEndDate ? QStringLiteral(", %1EndDat %2").arg(p, d.date()) : QString()));
    execute(connection, QStringLiteral("CREATE TABLE %1TreTable (%1TreID INTEGER PRIMARY KEY, "
                                       "%1TreLev INTEGER NOT NULL, %1TrePar INTEGER NOT NULL, "
                                       "%1TreDes VARCHAR(255), %1TreRanSta %2, %1TreRanEnd %2)")
                            .arg(p, d.code(10)));
}

/// Indexes are made after the rows are in: one sort instead of an update per row.
void indexSetTables(tqplatform::Connection& connection, const QString& p) {
    const QString lower = p.toLower();
    execute(
        connection,
        QStringLiteral("CREATE INDEX ix_%1table_codmod ON %2Table (%2Cod, %2Mod)").arg(lower, p));
    execute(connection,
            QStringLiteral("CREATE INDEX ix_%1table_chaid ON %2Table (%2ChaID)").arg(lower, p));
    execute(connection,
            QStringLiteral("CREATE INDEX ix_%1table_secid ON %2Table (%2SecID)").arg(lower, p));
}

/// PostgreSQL's trigram operator classes (the contrib module pg_trgm), made available in the
/// database when the server has them; false when it has not, or the role may not add them.
bool enableTrigrams(tqplatform::Connection& connection) {
    if (connection.run(QStringLiteral("SELECT 1 FROM pg_extension WHERE extname = 'pg_trgm'"))
            .next()) {
        return true;
    }
    if (!connection
             .run(QStringLiteral("SELECT 1 FROM pg_available_extensions WHERE name = 'pg_trgm'"))
             .next()) {
        return false;
    }
    // A refusal must not abort the build's transaction.
    execute(connection, QStringLiteral("SAVEPOINT trigrams"));
    try {
        execute(connection, QStringLiteral("CREATE EXTENSION IF NOT EXISTS pg_trgm"));
        execute(connection, QStringLiteral("RELEASE SAVEPOINT trigrams"));
        return true;
    } catch (const tqGlobal::Error&) {
        execute(connection, QStringLiteral("ROLLBACK TO SAVEPOINT trigrams"));
        return false;
    }
}

/// The index of the browser's word search, which finds text anywhere in a code, modifier or
/// description. PostgreSQL: a trigram index on the three columns, which the server uses for
/// the search's own ILIKE and rechecks. SQLite: a full-text table of trigrams over the
/// case-folded texts, row id the code's ID, which the browser asks for the rows that may
/// hold the text before its LIKE decides. Without either, the search reads every code.
void indexSearchText(tqplatform::Connection& connection, const Dialect& d, const QString& p,
                     const CodeSetContent& content, bool trigrams) {
    if (d.postgres) {
        if (trigrams) {
            execute(connection, QStringLiteral("CREATE INDEX ix_%1table_search ON %2Table USING "
                                               "gin (%2Cod gin_trgm_ops, %2Mod gin_trgm_ops, "
                                               "%2Des gin_trgm_ops)")
                                    .arg(p.toLower(), p));
        }
        return;
    }
    const QString table = tqservicecode::reference::searchIndexTable(p);
    try {
        // Contentless and without positions: the browser asks only which rows hold all of
        // some trigrams, and reads the texts from the code table.
        execute(connection,
                QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2SrcCod, %2SrcMod, %2SrcDes, "
                               "content='', detail=none, columnsize=0, "
                               "tokenize='trigram case_sensitive 1')")
                    .arg(table, p));
    } catch (const tqGlobal::Error&) {
        return;  // a SQLite built without full-text search
    }
    QVariantList values;
    values.reserve(content.codes.size() * 4);
    int id = 0;
    for (const Internal::ReferenceCode& code : content.codes) {
        values << ++id << tqservicecode::reference::searchIndexText(code.code)
               << tqservicecode::reference::searchIndexText(notNull(code.modifier))
               << tqservicecode::reference::searchIndexText(code.description);
    }
    insertRows(connection, table,
               {QStringLiteral("rowid"), p + QStringLiteral("SrcCod"), p + QStringLiteral("SrcMod"),
                p + QStringLiteral("SrcDes")},
               values);
}

void writeCodes(tqplatform::Connection& connection, const QString& p, const CodeSetContent& content,
                bool withEndDate) {
    const Placement placement(content);
    QStringList columns = {p + QStringLiteral("ID"),    p + QStringLiteral("Cod"),
                           p + QStringLiteral("Mod"),   p + QStringLiteral("Des"),
                           p + QStringLiteral("ChaID"), p + QStringLiteral("SecID")};
    if (withEndDate) {
        columns << p + QStringLiteral("EndDat");
    }
    QVariantList values;
    values.reserve(content.codes.size() * columns.size());
    int id = 0;
    for (const Internal::ReferenceCode& code : content.codes) {
        const auto [chapter, section] = placement.place(code.code);
        // The modifier is never null: the browser joins code and modifier as texts.
        values << ++id << code.code << notNull(code.modifier) << code.description
               << (chapter ? QVariant(chapter) : QVariant(QMetaType::fromType<int>()))
               << (section ? QVariant(section) : QVariant(QMetaType::fromType<int>()));
        if (withEndDate) {
            values << dateOrNull(code.endDate);
        }
    }
    insertRows(connection, p + QStringLiteral("Table"), columns, values);

    QVariantList nodes;
    for (const ReferenceNode& node : content.nodes) {
        nodes << node.id << node.level << node.parent << node.description << node.start << node.end;
    }
    insertRows(connection, p + QStringLiteral("TreTable"),
               {p + QStringLiteral("TreID"), p + QStringLiteral("TreLev"),
                p + QStringLiteral("TrePar"), p + QStringLiteral("TreDes"),
                p + QStringLiteral("TreRanSta"), p + QStringLiteral("TreRanEnd")},
               nodes);
}

void writeRevision(tqplatform::Connection& connection, const Dialect& d,
                   const CodeSetContent& content) {
    execute(connection, QStringLiteral("DROP TABLE IF EXISTS CDTRevTable"));
    execute(connection, QStringLiteral("CREATE TABLE CDTRevTable (CDTRevID INTEGER PRIMARY KEY, "
                                       "CDTLonDes VARCHAR(255), CDTShoDes VARCHAR(100), "
                                       "CDTCop VARCHAR(500), CDTEffDat %1)")
                            .arg(d.date()));
    if (content.revision) {
        const Internal::ReferenceRevision& r = *content.revision;
        insertRows(
            connection, QStringLiteral("CDTRevTable"),
            {QStringLiteral("CDTRevID"), QStringLiteral("CDTLonDes"), QStringLiteral("CDTShoDes"),
             QStringLiteral("CDTCop"), QStringLiteral("CDTEffDat")},
            {1, r.longTitle, r.shortTitle, r.notice,
             r.effective.isValid() ? QVariant(r.effective)
                                   : QVariant(QMetaType::fromType<QDate>())});
    }
}

void writeModifiers(tqplatform::Connection& connection, const Dialect& d,
                    const CodeSetContent& content) {
    execute(connection, QStringLiteral("DROP TABLE IF EXISTS HCPCSModTable"));
    execute(connection,
            QStringLiteral("CREATE TABLE HCPCSModTable (HCPCSModID INTEGER PRIMARY KEY, "
                           "HCPCSModCod %1 NOT NULL, HCPCSModDes %2, HCPCSModEndDat %3)")
                .arg(d.code(2), d.text(), d.date()));
    QVariantList values;
    int id = 0;
    for (const Internal::ReferenceModifier& modifier : content.modifiers) {
        values << ++id << modifier.code << modifier.description << dateOrNull(modifier.endDate);
    }
    insertRows(connection, QStringLiteral("HCPCSModTable"),
               {QStringLiteral("HCPCSModID"), QStringLiteral("HCPCSModCod"),
                QStringLiteral("HCPCSModDes"), QStringLiteral("HCPCSModEndDat")},
               values);
}

/// The record of what each set was built from, one row a set.
void recordBuild(tqplatform::Connection& connection, const ReferenceSetInfo& info,
                 const CodeSetContent& content) {
    execute(connection, QStringLiteral("CREATE TABLE IF NOT EXISTS RefSetTable (RefSetDisTyp "
                                       "INTEGER PRIMARY KEY, RefSetPre VARCHAR(10), "
                                       "RefSetCodCou INTEGER, RefSetNodCou INTEGER, "
                                       "RefSetSou VARCHAR(500), RefSetBuiDat VARCHAR(19))"));
    connection.run(QStringLiteral("DELETE FROM RefSetTable WHERE RefSetDisTyp = ?"),
                   {static_cast<int>(info.set)});
    insertRows(connection, QStringLiteral("RefSetTable"),
               {QStringLiteral("RefSetDisTyp"), QStringLiteral("RefSetPre"),
                QStringLiteral("RefSetCodCou"), QStringLiteral("RefSetNodCou"),
                QStringLiteral("RefSetSou"), QStringLiteral("RefSetBuiDat")},
               {static_cast<int>(info.set), info.prefix, static_cast<int>(content.codes.size()),
                static_cast<int>(content.nodes.size()), textOrNull(content.source.left(500)),
                QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))});
}

}  // namespace

QList<ReferenceBuiltSet> buildReferenceDatabase(tqplatform::Connection& connection,
                                                const ReferenceBuildOptions& options) {
    const QString folder =
        options.sourceFolder.isEmpty() ? defaultCodeSetFolder() : options.sourceFolder;
    QList<ReferenceSet> sets = options.sets;
    if (sets.isEmpty() && !options.licensedFile.isEmpty()) {
        sets = {options.licensedSet};
    } else if (sets.isEmpty()) {
        for (const ReferenceSetInfo& info : referenceSets()) {
            sets << info.set;
        }
    }
    if (!options.licensedFile.isEmpty() && !sets.contains(options.licensedSet)) {
        sets << options.licensedSet;
    }
    // Every file is read before the database is touched: most bad input stops here.
    QList<CodeSetContent> contents;
    for (ReferenceSet set : sets) {
        contents << (!options.licensedFile.isEmpty() && set == options.licensedSet
                         ? Internal::readLicensedCodeFile(options.licensedFile, set)
                         : Internal::readShippedSet(set, folder));
    }
    const Dialect dialect{connection.kind() == DatabaseKind::PostgreSQL};
    if (dialect.postgres) {
        // "Table does not exist, skipping" on a first build is no news to anyone.
        execute(connection, QStringLiteral("SET client_min_messages TO warning"));
    }
    QList<ReferenceBuiltSet> built;
    connection.BeginTrans();
    try {
        const bool trigrams = dialect.postgres && enableTrigrams(connection);
        for (qsizetype i = 0; i < sets.size(); ++i) {
            const ReferenceSetInfo& info = referenceSetInfo(sets.at(i));
            const CodeSetContent& content = contents.at(i);
            const bool withEndDate = info.set == ReferenceSet::Hcpcs;
            createSetTables(connection, dialect, info.prefix, withEndDate);
            writeCodes(connection, info.prefix, content, withEndDate);
            indexSetTables(connection, info.prefix);
            indexSearchText(connection, dialect, info.prefix, content, trigrams);
            if (info.set == ReferenceSet::Dental) {
                writeRevision(connection, dialect, content);
            }
            if (info.set == ReferenceSet::Hcpcs) {
                writeModifiers(connection, dialect, content);
            }
            recordBuild(connection, info, content);
            built.append({info.set, static_cast<int>(content.codes.size()),
                          static_cast<int>(content.nodes.size()), content.source});
            if (dialect.postgres) {
                // Fresh tables have no statistics: the server would plan the browser's
                // first list as for an empty table, sorting the whole set first.
                execute(connection, QStringLiteral("ANALYZE %1Table, %1TreTable").arg(info.prefix));
            }
        }
        connection.CommitTrans();
    } catch (...) {
        if (connection.transactionDepth() > 0) {
            try {
                connection.RollbackTrans();
            } catch (const tqGlobal::Error&) {
                // The connection went with the transaction: nothing was kept.
            }
        }
        throw;
    }
    return built;
}

}  // namespace tqhost
