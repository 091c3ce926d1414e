#pragma once

#include <tqplatform/Recordset.h>

#include <cstdint>
#include <optional>

namespace tqservicecode {

class RecordGrid;

/// Requeries the grid's recordset and puts the view back as the user left it: the same
/// top row, current row, left column, current column and selected rows.
///
/// keyColumn -1 keeps the view by position (the same row numbers). Any other value is
/// the index of the grid column whose data field holds an integer key identifying a row:
/// the rows are found again by key in one pass over the requeried rows, and a top or
/// current row that has gone is replaced by the row that followed it, else the row before.
/// clone, when given, is closed before the requery and made again over the new rows.
void RefreshGridKeepView(RecordGrid& tg, tqplatform::Recordset& rs, int16_t keyColumn,
                         tqplatform::Recordset* clone = nullptr);

/// Makes clone a fresh clone of rs when bookmark is empty; otherwise moves clone to the
/// bookmark, and when that fails makes a fresh clone and tries once more. True when the
/// clone stands where it was asked to.
int16_t SyncClone(tqplatform::Recordset& rs, tqplatform::Recordset& clone,
                  std::optional<tqplatform::Bookmark> bookmark);

}  // namespace tqservicecode
