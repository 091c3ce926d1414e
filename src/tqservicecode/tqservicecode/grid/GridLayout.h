#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace tqservicecode {

class RecordGrid;

/// Adds a column at index: caption; data field when not empty; visible and resizable both
/// by visible; width (twips); the number format when the grid is bound or forceFormat is
/// set (derived from dataType when none is given); the edit mask when not empty.
void AddGridColumn(RecordGrid& tg, int16_t index, const QString& dataField, const QString& caption,
                   int16_t dataType, const std::optional<QString>& numberFormat, bool visible,
                   float width, int16_t forceFormat = 0, const QString& editMask = {});

/// Empties the grid: its selection and rows, then its columns one by one from index 0.
void ClearGrid(RecordGrid& tg);

/// Applies the user's layout file of this layout name (under the host's data folder):
/// column order and widths, matched by key (caption, or data field in storage mode, or the
/// column index when indexKeys is set), else by line position. Columns dragged narrower
/// than 45 come back 70 wide. A line that names no column, or holds a number that does not
/// read, is passed over; the rest still applies. False when there is no layout file.
int16_t LoadGridLayout(RecordGrid& tg, const QString& layoutName, int16_t rowHeightLine = 0,
                       int16_t indexKeys = 0, int16_t keepWidths = 0, int16_t keepRowHeight = 0);

/// Writes the grid's layout file: one line per column (key, display position, width, 0
/// for a hidden column, split), led by "ROWHEIGHT=" when asked. A file that cannot be
/// written whole is not replaced (the next load applies the last layout) and the user is
/// told why; false then.
bool SaveGridLayout(RecordGrid& tg, const QString& layoutName, int16_t rowHeightLine = 0,
                    int16_t indexKeys = 0);

}  // namespace tqservicecode
