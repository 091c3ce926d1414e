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
/// - Clng(x) and CInt(x) take x as money (four decimals, a half away from zero) and then
///   the nearest whole number, a half away from zero: CAST(ROUND(ROUND(x, 4)) AS INTEGER)
///   on SQLite, CAST(ROUND(CAST(x AS NUMERIC), 4) AS INTEGER) on PostgreSQL. 2.50 gives 3
///   and -2.50 gives -3 (VB's own CLng would give 2 and -2). The fee change runs them on a
///   fee times a factor; SQLite multiplies binary doubles (12.50 * 1.16 is
///   14.4999999999999982 there), and the four decimals make it the $14.50 PostgreSQL
///   computes, so both give $15. A product beyond four decimals rounds as the fee it
///   would be without rounding: 14.2857 * 1.015 = 14.4999855 is $14.50, so $15. CInt is
///   not limited to 16 bits here: a fee above 32,767 (40,000.00 doubled) is rounded like
///   any other (80,000) rather than overflowing;
/// - ROUND(x, 0), the fee change's server form, likewise becomes ROUND(ROUND(x, 4), 0):
///   both forms give a fee the same whole dollars. Without rounding a product keeps its
///   fractions: NUMERIC(19,4) on PostgreSQL keeps 10.125 (a half cent) as it is and rounds
///   beyond four decimals; SQLite keeps the binary product, read back at four decimals;
/// - a chain of operands joined by "+" is joined by "||" when one of its operands is a
///   string literal, a text column of the practice tables, one of extraTextColumns
///   (lower case), or a bracketed expression that joins texts;
/// - on PostgreSQL LIKE becomes ILIKE (comparisons of texts ignore case);
/// - an AND or WHERE left with no condition after it (a scope condition followed by
///   nothing) is dropped.
QString translateSql(const QString& statement, tqplatform::DatabaseKind kind,
                     const QSet<QString>& extraTextColumns = {});

}  // namespace tqhost
