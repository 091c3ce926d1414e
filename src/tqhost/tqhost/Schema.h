#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

namespace tqplatform {
class Connection;
}

/// The practice database's tables: one catalogue of columns that serves both the table
/// definitions (on SQLite and PostgreSQL) and the conversions of SaveRecord.
namespace tqhost::schema {

enum class ColumnType {
    Integer,   ///< 32-bit whole number
    SmallInt,  ///< 16-bit whole number
    Single,    ///< single-precision real
    Double,    ///< double-precision real
    Currency,  ///< exact money, four decimals
    Text,      ///< text of at most `width` characters
    Memo,      ///< text of any length
    Date,      ///< a date (with an optional time) stored as text "yyyy-MM-dd[ HH:mm:ss]"
};

struct Column {
    QString name;
    ColumnType type = ColumnType::Text;
    int width = 0;  ///< the most characters of a Text column; 0 for the other types
    bool nullable = true;
};

struct Table {
    QString name;
    /// The key column that the database numbers (SaveRecord's key); empty when the table
    /// has none.
    QString autoKey;
    /// The primary key of a table without a numbered key.
    QStringList primaryKey;
    /// The rows belong to an office (OffLocID) and GetScopeFilter limits them.
    bool officeScoped = false;
    std::vector<Column> columns;
    /// Columns with an index of their own.
    QStringList indexed;
    /// PostgreSQL: the percentage of each page that inserts fill (0: all of it, the
    /// server's default). The rest is room for the new versions of the page's rows when
    /// they are updated, so that an update stays on its page and the indexes are left as
    /// they are.
    int fillFactor = 0;

    /// The column of that name, found without regard to case; nullptr when none.
    const Column* column(const QString& name) const;
};

/// The practice tables: SevCodTable, DTTable, PaTable, the per-user settings, rights,
/// notes and the practice's options.
const std::vector<Table>& tables();
/// The table of that name, found without regard to case; nullptr when none.
const Table* findTable(const QString& name);
/// Lower-case names of every money column (for Connection::setCurrencyColumns).
QSet<QString> currencyColumnNames();
/// Lower-case names of every text, memo and date column of the catalogue.
QSet<QString> textColumnNames();
/// The program-defined codes the component creates on first use, in capitals: one row
/// each per office at most (a unique index refuses a second one).
const QStringList& programCodes();

/// The DDL type of a column on SQLite ("INTEGER", "TEXT COLLATE NOCASE CHECK (...)").
QString sqliteColumnDefinition(const Column& column);
/// The DDL type of a column on PostgreSQL ("INTEGER", "CITEXT CHECK (...)").
QString postgresColumnDefinition(const Column& column);

/// Creates the tables, columns and indexes that are missing (and, on PostgreSQL, the
/// citext extension); what exists is kept, and what an earlier version made differently
/// (the fee-history trigger, a table's fill factor, an index made redundant) is brought
/// up to date. Also tells the connection which columns hold money. Throws
/// tqGlobal::Error when a statement fails.
void ensureSchema(tqplatform::Connection& connection);

}  // namespace tqhost::schema
