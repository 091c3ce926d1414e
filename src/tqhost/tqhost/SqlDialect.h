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
///   CAST(ROUND(x) AS INTEGER) on SQLite, so that both round as VB does rather than cut;
/// - a chain of operands joined by "+" is joined by "||" when one of its operands is a
///   string literal, a text column of the practice tables, one of extraTextColumns
///   (lower case), or a bracketed expression that joins texts;
/// - on PostgreSQL LIKE becomes ILIKE (comparisons of texts ignore case);
/// - an AND or WHERE left with no condition after it (a scope condition followed by
///   nothing) is dropped.
QString translateSql(const QString& statement, tqplatform::DatabaseKind kind,
                     const QSet<QString>& extraTextColumns = {});

}  // namespace tqhost
