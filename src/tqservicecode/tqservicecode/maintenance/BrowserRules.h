#pragma once

#include <QColor>
#include <QString>

#include <cstdint>

/// The service code browser's statements, filters, settings and texts, kept apart from
/// the screen so that they can be checked without a window.
namespace tqservicecode::browser {

/// What the browser shows in place of a category when every code is shown.
inline const QString AllCodesCategory = QStringLiteral(" All Codes");
/// The right that lets a user add, edit and delete codes.
inline const QString ChangeRight = QStringLiteral("CHANGE-SER-CODE");
inline constexpr int HelpContext = 1062;
inline const QString MessageTitle = QStringLiteral("Tavix Windows");

namespace key {
inline const QString Category = QStringLiteral("SER_COD_CAT");
inline const QString Type = QStringLiteral("SER_COD_TYP");
inline const QString Left = QStringLiteral("SERCOD_LEFT");
inline const QString Top = QStringLiteral("SERCOD_TOP");
inline const QString Width = QStringLiteral("SERCOD_WIDTH");
inline const QString Height = QStringLiteral("SERCOD_HEIGHT");
inline const QString SortColumn = QStringLiteral("SER_COD_SORT_COL");
inline const QString SortDirection = QStringLiteral("SER_COD_SORT_DIR");
}  // namespace key

/// The grid's columns by position. The first never sorts; the code is column 2 and the
/// four fees columns 6 to 9, where the pop-up menu and the settings expect them.
inline constexpr int ColumnCount = 11;
inline constexpr int CodeColumn = 2;
inline constexpr int FirstFeeColumn = 6;
inline constexpr int LastFeeColumn = 9;
/// The key SevCodID, by which a requery finds the rows again.
inline constexpr int IdColumn = 10;
inline constexpr int DefaultSortColumn = CodeColumn;
struct Column {
    const char* caption;
    const char* field;
    double width;  // twips
};
const Column& column(int index);

/// Whether category (trimmed, any case) stands for every code.
bool isAllCodes(const QString& category);

/// The statement for the codes of category (or every code), without the program's own
/// reserved codes, ordered by sortField in direction ("ASC" or "DESC"); scope is the
/// host's scope condition and categoryLiteral the category as an SQL text literal.
QString codeStatement(const QString& category, const QString& scope, const QString& categoryLiteral,
                      const QString& sortField, const QString& direction);

/// The statement re-ordered by field: descending when the same column sorted it
/// ascending, else ascending. descending tells which it became.
QString resortedStatement(const QString& statement, const QString& field, bool sameColumn,
                          bool& descending);

/// The rowset filter that finds typed (trimmed) in the code, office code, description,
/// category or sub-category. Every character typed is matched as itself: a quote cannot
/// end the text, and %, *, _ and [ are bracketed so that they match only themselves.
QString searchFilter(const QString& typed);

/// The "Count" panel: position, record count and how many rows are selected.
QString countText(int position, int recordCount, int selected);

/// The text colour of a row of this type and category (credits red, refunds brown, other
/// admin codes dark blue, the rest black).
QColor rowTextColour(const QString& type, const QString& category);

/// "You have n code(s) selected. " followed by extra.
QString selectionMessage(int count, const QString& extra);
QString sortQuestion(int count);
QString notFoundMessage(const QString& text, bool allCodes);
QString editCaption(const QString& code);
QString deleteCaption(const QString& code);
/// The pop-up item that changes fees: one fee (feeNumber 1 to 4) or all four (0).
QString changeFeeCaption(int feeNumber, const QString& categoryLabel);

/// The statement that deletes one code row.
QString deleteStatement(int32_t id);

}  // namespace tqservicecode::browser
