#pragma once

#include <tqplatform/Recordset.h>

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

/// Writing a grid's rows to a delimited text file, and the texts the export shows.
///
/// The file format: every field is the qualifier, the text as the grid shows it, the
/// qualifier and the delimiter, so every line (the title line too) ends with the
/// delimiter; lines end with CR LF; a value holding the qualifier or the delimiter is
/// written as it stands; the file is in the practice's code page (Windows-1252, "?" for a
/// character it cannot hold).
namespace tqservicecode::exporting {

/// The bits of the export window's Options.
namespace Option {
inline constexpr int32_t TitlesDisabled = 1;
inline constexpr int32_t AllRowsDisabled = 2;
inline constexpr int32_t SelectedRowsDisabled = 4;
inline constexpr int32_t CurrentRowDisabled = 8;
inline constexpr int32_t Titles = 16;
inline constexpr int32_t AllRows = 32;
inline constexpr int32_t SelectedRows = 64;
inline constexpr int32_t CurrentRow = 128;
}  // namespace Option

/// Character codes of Delimiter and Qualifier; Custom takes the custom character.
inline constexpr int32_t Custom = 256;

/// A column that goes out: its caption and how its cells read from the recordset.
struct Column {
    QString caption;
    int field = -1;  ///< recordset field; -1 writes an empty value
    QString numberFormat;
    QString editMask;
};

/// Which rows go out.
struct RowChoice {
    bool allRows = false;
    /// Rows by bookmark, in this order (when not all rows).
    std::vector<tqplatform::Bookmark> bookmarks;
};

/// Called before each row line with the number of the row about to go out; answers false
/// to stop the writing (the lines written so far stay, each whole).
using Progress = std::function<bool(int current)>;

struct Result {
    bool opened = false;
    /// Every line went to the file and the file took the target's place.
    bool written = false;
    int errorNumber = 0;
    QString errorText;
    int rowsWritten = 0;
    bool stopped = false;
};

/// Writes the lines into path (replacing it when every line is written). Nothing is
/// written when the file cannot be made, and nothing replaces path when a write fails:
/// the result says why (75 "Path/File access error" with the system's reason, or 76 when
/// the folder does not exist). The recordset's cursor is left where it was.
Result writeExport(const QString& path, tqplatform::Recordset& rs,
                   const std::vector<Column>& columns, const QString& delimiter,
                   const QString& qualifier, bool titles, const RowChoice& rows,
                   const Progress& progress);

/// "Problem to open file [name].", two line breaks, "number - reason".
QString openFailureMessage(const QString& fileName, int errorNumber, const QString& errorText);
QString openFailureTitle();

/// The whole percent shown for current of total (0 when total is 0; at most 100; a
/// current above the total counts as the total).
int percentDone(int current, int total);
/// The status label's lines while writing.
QString statusText(int current, int total);
/// The progress bar's tooltip: "Export 50.00% Complete".
QString progressTip(int current, int total);

}  // namespace tqservicecode::exporting
