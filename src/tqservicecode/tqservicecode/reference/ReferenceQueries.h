#pragma once

#include <QDate>
#include <QString>

#include <cstdint>

namespace tqplatform {
class Connection;
}

/// The statements and filters of the reference browser. Every name is the set's prefix
/// followed by a fixed part (prefix "CDT": CDTTable, CDTCod), so one screen serves every
/// set.
namespace tqservicecode::reference {

/// The escape character of every LIKE pattern the component builds.
inline constexpr char16_t LikeEscapeChar = u'\\';

/// A LIKE pattern that finds text anywhere in a value, every character of text taken
/// literally: "%" and "_" (the wildcards) and the escape character are escaped, so that a
/// search for "50%" finds "50%" and not "500". Use with likeEscapeClause().
QString containsPattern(const QString& text);
/// " ESCAPE '\'", put after a pattern of containsPattern(): without it PostgreSQL would
/// treat a backslash as its escape and SQLite would not.
QString likeEscapeClause();

/// "(column Like <literal> ESCAPE '\')" for a contains pattern of text; the literal is
/// the host's SQL text (quotes doubled).
QString likeContains(const QString& column, const QString& text);

/// The statement listing a node's codes: every column, the code joined with its modifier
/// as prefix + "CodMod", only the rows filter names (every row for ""), in the order of
/// sort (the sort is given to the database, so that the first rows come without reading
/// the whole set).
QString listStatement(const QString& prefix, const QString& filter, const QString& sort);

/// The tree rows of a set, parents first.
QString treeStatement(const QString& prefix);

/// The filter of a range node: codes from start to every code that begins with end
/// (the upper bound is extended with "zzz").
QString rangeFilter(const QString& prefix, const QString& start, const QString& end);

/// The filter of a node of a set whose codes carry their chapter and section (prefix +
/// "ChaID", prefix + "SecID"): a top-level node lists its chapter's codes, a node below it
/// its section's.
QString placementFilter(const QString& prefix, int32_t level, int32_t nodeId);

/// The key and filter of the "All Codes" and "Search Results" nodes.
QString allCodesKey(const QString& prefix);
QString searchResultsKey(const QString& prefix);
/// Matches no row: the "Search Results" node lists nothing itself.
QString searchResultsFilter(const QString& prefix);

/// A search node: its key (the same for a text in any letter case), its text and the
/// filter that lists every code whose code, modifier or description holds text, and for a
/// text that looks like a code, the codes it names (codeFormFilter).
QString searchKey(const QString& prefix, const QString& text);
QString searchText(const QString& text);
/// A text that reads as a code written the way clinicians write it ("K02.9", "K029",
/// "521.00"): letters and digits with at least one digit, points allowed, no blanks.
bool looksLikeCode(const QString& text);
/// The code without its points, upper-cased as the sets store their codes ("k02.9" gives
/// "K029").
QString compactCode(const QString& text);
/// The filter that finds a code typed with or without its point although the set keeps
/// the part after the point as the modifier (K02 and 9): the code is one of the starts
/// of the compact text (so that the database finds it by its index) and code and
/// modifier joined begin with it.
QString codeFormFilter(const QString& prefix, const QString& text);

/// indexed: the set has the search index below; a text of three characters or more is
/// then looked up in it first, and the LIKE decides among the rows it names (the same rows
/// as without it, found without reading every code).
QString searchFilter(const QString& prefix, const QString& text, bool indexed = false);

/// The search index of an embedded reference database: a full-text table of the trigrams
/// (runs of three characters) of every code's code, modifier and description, case-folded,
/// its row id the code's ID. The builder of the database makes it where SQLite offers it;
/// a server database indexes the columns themselves and needs no help from the statement.
QString searchIndexTable(const QString& prefix);
/// A text as the search index holds it: case-folded as the LIKE of the list compares.
QString searchIndexText(const QString& text);
/// The index's query that names every row holding text: the rows holding every third of
/// text's trigrams and its last one. Empty when text has fewer than three characters,
/// which the index cannot answer.
QString searchIndexQuery(const QString& text);
/// True when the set's codes on this connection have the search index.
bool hasSearchIndex(tqplatform::Connection& codes, const QString& prefix);

/// A sort of the list: the expression handed to the database and the column whose
/// heading shows the sort picture.
struct ListSort {
    QString column;
    QString expression;
};
/// The default: by code, then modifier, ascending.
ListSort defaultSort(const QString& prefix);
/// The sort for the list's current column (its field, compared upper-cased): the
/// modifier or the description first, any other column by code; each followed by the
/// second key in the same direction.
ListSort sortFor(const QString& prefix, const QString& field, bool ascending);

/// The dental set's revision: the window caption and the "Main" panel's text.
struct Revision {
    QString longTitle;
    QString shortTitle;
    QString notice;
    QDate effective;  // invalid when the set gives none
};
/// What the dental set shows when its revision table gives nothing.
Revision defaultRevision();
/// Long title + " (" + short title + ")", only the long title without a short one.
QString revisionCaption(const Revision& revision);
/// The notice, with " (Effective " + date + ")" when there is a date; "Effective " + date
/// without a notice; followed by one blank.
QString revisionPanel(const Revision& revision);

/// The statement of the dental set's revision row.
QString revisionStatement();

}  // namespace tqservicecode::reference
