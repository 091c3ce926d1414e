#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// The layout file of a grid: one line per column ("key,order,width,split"), written in
/// the practice's code page with CR LF, optionally led by "ROWHEIGHT=" and the row height.
namespace tqservicecode::gridlayout {

/// The component's own type codes, for columns that show a date with time or a time.
namespace ColumnType {
inline constexpr int DateTime = 9996;
inline constexpr int LongTime = 9997;
inline constexpr int MediumTime = 9998;
inline constexpr int ShortTime = 9999;
}  // namespace ColumnType

inline constexpr int NarrowWidth = 45;
inline constexpr int RepairedWidth = 70;

/// The number format a column of a database type code shows with: "" for texts, "Edit
/// Mask" for a type it does not know (the column's edit mask shows the value then).
QString numberFormatForType(int dataType);

/// dataPath + "STP" + separator + "TG" + layoutName + ".STP", with the platform's
/// separators (a data path written with backslashes is turned).
QString layoutPath(const QString& dataPath, const QString& layoutName);

/// A width as the layout file writes it ("1200", "1234.5"): up to seven significant digits.
QString widthText(double width);

/// The cells of a row of the load table.
enum Cell { SortText = 0, Width, Key, LinePosition, Split, CellCount };

/// A layout file read into the load table: one row per column of the grid (rows), each of
/// five text cells; rows no line filled have the line position "-1". Lines beyond the
/// grid's columns are left out.
struct ReadLayout {
    std::optional<double> rowHeight;
    QList<QStringList> table;
    int linesRead = 0;
};
/// Reads the layout file; nullopt when it cannot be opened. When rowHeightLine is set, a
/// first line "ROWHEIGHT=n" gives the row height (any other first line is a column line).
std::optional<ReadLayout> readLayout(const QString& path, int rows, bool rowHeightLine);

/// Writes the lines, each ended by CR LF, replacing the file whole (the STP folder is made
/// when missing). False when the file could not be written whole: the file stays as it
/// was, and error (when given) holds the system's reason.
bool writeLayout(const QString& path, const QStringList& lines, QString* error = nullptr);

}  // namespace tqservicecode::gridlayout
