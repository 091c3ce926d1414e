#pragma once

#include <tqplatform/Connection.h>

#include <QSet>
#include <QString>

/// The SQL the component writes, as the practice's databases need it.
namespace tqhost {

/// value as an SQL text literal: between single quotes, each quote doubled. A value with
/// a NUL character, which no text column can hold, is refused (tqGlobal::Error): dropping
/// it would make "A\0B" find "AB". Nothing else needs escaping: every PostgreSQL session
/// runs with standard_conforming_strings on, so a backslash is an ordinary character.
QString sqlTextLiteral(const QString& value);

/// Adapts a statement written in the component's dialect to the connected database.
/// Outside string literals and quoted names:
/// - "DELETE * FROM" (and "DELETE t.* FROM") becomes "DELETE FROM";
/// - [bracketed names] lose their brackets; a name that is not a plain identifier (a
///   blank in it, for example) becomes a quoted identifier;
/// - Clng(x) and CInt(x) become CAST(x AS INTEGER) on PostgreSQL and
///   CAST(ROUND(x) AS INTEGER) on SQLite, so that both round to the nearest whole number
///   rather than cut. On money (NUMERIC) both databases round a half away from zero:
///   2.50 gives 3 and -2.50 gives -3 (VB's own CLng would give 2 and -2). The fee change
///   runs them on fees times a factor: with rounding a fee lands on whole dollars, so a
///   half cent (10.005) simply goes with the rest of the cents (10). CInt is not limited
///   to 16 bits here: a fee above 32,767 (40,000.00 doubled) is rounded like any other
///   (80,000) rather than overflowing. The fee change's server form, ROUND(x, 0), is
///   PostgreSQL's own and also rounds a half away from zero on NUMERIC. Without rounding a
///   product keeps its fractions: NUMERIC(19,4) on PostgreSQL keeps 10.125 (a half cent)
///   as it is and rounds beyond four decimals; SQLite keeps the binary product, read back
///   at four decimals;
/// - a chain of operands joined by "+" is joined by "||" when one of its operands is a
///   string literal, a text column of the practice tables, one of extraTextColumns
///   (lower case), or a bracketed expression that joins texts;
/// - on PostgreSQL LIKE becomes ILIKE (comparisons of texts ignore case);
/// - an AND or WHERE left with no condition after it (a scope condition followed by
///   nothing) is dropped.
QString translateSql(const QString& statement, tqplatform::DatabaseKind kind,
                     const QSet<QString>& extraTextColumns = {});

}  // namespace tqhost
