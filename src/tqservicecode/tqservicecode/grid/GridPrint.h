#pragma once

#include <QString>

#include <cstdint>
#include <vector>

class QPainter;
class QPrinter;

namespace tqservicecode {

class RecordGrid;

/// Prints the grid's selected rows (all rows when none is selected) under title: the
/// title bold at 12 points heads every page, the visible columns in display order follow
/// with their captions, and every page ends with the host's date and time on the left and
/// "Page: n of m" on the right; margins are a quarter inch. The practice's configured
/// printer is used when it is ready, else the system's default (with a message). preview
/// shows the pages in a preview window (caption: the title) instead of printing them.
/// keepStyles false prints without the row colours. False when there was no printer.
bool PrintGrid(RecordGrid& tg, const QString& title, int16_t landscape = 0, int16_t preview = 0,
               int16_t keepStyles = 0);

/// Checks that a printer can be used; shows why not, and answers false, when none can.
int16_t CheckPrinter();

/// Looks the host's configured printer up among the system's printers (names compared
/// in upper case, trimmed); when found it becomes the selected printer.
void ChooseConfiguredPrinter();

/// The widths of the printed columns on a page pageWidth wide. wanted: what each column
/// needs (its heading and its widest value up to a limit, with the gap to the next);
/// full: what it needs without the limit. Columns that fit get what they want; the width
/// left goes first to columns cut at the limit, then in equal shares to all. Columns that
/// do not fit are narrowed together.
std::vector<int> fitColumnWidths(const std::vector<int>& wanted, const std::vector<int>& full,
                                 int pageWidth);

/// Draws the grid's pages on printer (what PrintGrid and its preview draw).
void renderGridPages(RecordGrid& tg, const QString& title, QPrinter& printer);

}  // namespace tqservicecode
