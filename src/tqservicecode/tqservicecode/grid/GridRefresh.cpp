#include "GridRefresh.h"

#include <tqservicecode/grid/RecordGrid.h>

#include <tqplatform/ui.h>

#include <QItemSelectionModel>

#include <array>
#include <unordered_set>
#include <vector>

namespace tqservicecode {

namespace {

using tqplatform::Bookmark;
using tqplatform::Recordset;
using Key = std::optional<int64_t>;

/// A row's integer key; none for NULL or a value that is not a number.
Key keyAt(const Recordset& rs, int field) {
    const QVariant value = rs.Fields(field);
    bool ok = false;
    const qlonglong key = value.toLongLong(&ok);
    return (!value.isNull() && ok) ? Key(key) : std::nullopt;
}

/// The keys of a row, the row after it and the row before it (as far as they exist).
std::array<Key, 3> keysAround(Recordset& clone, Bookmark bookmark, int field) {
    std::array<Key, 3> keys;
    try {
        clone.setBookmark(bookmark);
    } catch (const std::exception&) {
        return keys;  // no such row (an empty grid): nothing to find again
    }
    keys[0] = keyAt(clone, field);
    clone.MoveNext();
    if (!clone.Eof()) {
        keys[1] = keyAt(clone, field);
    }
    clone.setBookmark(bookmark);
    clone.MovePrevious();
    if (!clone.Bof()) {
        keys[2] = keyAt(clone, field);
    }
    return keys;
}

/// Stops the grid drawing and shows the hourglass until the refresh is over, however it
/// ends.
class Busy {
public:
    explicit Busy(RecordGrid& tg) : m_tg(tg) { m_tg.setRedraw(false); }
    ~Busy() { m_tg.setRedraw(true); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    RecordGrid& m_tg;
    tqplatform::ui::WaitCursor m_wait;
};

void reopenClone(Recordset& rs, Recordset* clone) {
    if (clone) {
        clone->Close();
    }
    rs.Requery();
    if (clone) {
        SyncClone(rs, *clone, std::nullopt);
    }
}

void refreshByPosition(RecordGrid& tg, Recordset& rs, Recordset* clone) {
    const int leftCol = tg.leftCol();
    const int col = tg.col();
    const int position = rs.isOpen() ? rs.AbsolutePosition() : -1;
    const int topRow = tg.recordModel()->rowOf(tg.firstRow());
    reopenClone(rs, clone);
    tg.rebind();
    const int count = rs.RecordCount();
    if (count == 0) {
        return;
    }
    tg.setCol(col);
    if (position >= 1) {
        rs.setAbsolutePosition(std::min(position, count));
        tg.followCursor();
    }
    if (topRow >= 0) {
        tg.setFirstRow(tg.recordModel()->bookmarkAt(std::min(topRow, count - 1)));
    }
    tg.setLeftCol(leftCol);
}

void refreshByKey(RecordGrid& tg, Recordset& rs, int keyColumn, Recordset* clone) {
    const int field = rs.FieldIndex(tg.column(keyColumn).dataField);
    if (field < 0) {
        refreshByPosition(tg, rs, clone);
        return;
    }
    const int leftCol = tg.leftCol();
    const int col = tg.col();
    std::array<Key, 6> wanted;  // top row, after, before; current row, after, before
    std::unordered_set<int64_t> selectedKeys;
    if (rs.RecordCount() > 0) {
        Recordset reader = rs.Clone();
        const auto top = keysAround(reader, tg.firstRow(), field);
        const auto current = keysAround(reader, tg.bookmark(), field);
        std::copy(top.begin(), top.end(), wanted.begin());
        std::copy(current.begin(), current.end(), wanted.begin() + 3);
        for (Bookmark b : tg.selBookmarks()) {
            try {
                reader.setBookmark(b);
            } catch (const std::exception&) {
                continue;  // a row the view no longer shows
            }
            if (const Key key = keyAt(reader, field)) {
                selectedKeys.insert(*key);
            }
        }
    }

    reopenClone(rs, clone);
    tg.rebind();
    if (rs.RecordCount() == 0) {
        return;
    }
    tg.setCol(col);

    // One pass over the new rows, comparing integer keys.
    std::array<std::optional<Bookmark>, 6> found;
    std::vector<Bookmark> selected;
    Recordset scan = rs.Clone();
    for (scan.MoveFirst(); !scan.Eof(); scan.MoveNext()) {
        const Key key = keyAt(scan, field);
        if (!key) {
            continue;
        }
        for (size_t i = 0; i < wanted.size(); ++i) {
            if (wanted[i] == key && !found[i]) {
                found[i] = scan.bookmark();
            }
        }
        if (selectedKeys.contains(*key)) {
            selected.push_back(scan.bookmark());
        }
    }
    tg.setSelBookmarks(selected);
    auto firstFound = [&](size_t from) -> std::optional<Bookmark> {
        for (size_t i = from; i < from + 3; ++i) {
            if (found[i]) {
                return found[i];
            }
        }
        return std::nullopt;
    };
    // The current row first: bringing it into view may scroll, the top row and the left
    // column then put the view back where it was.
    if (const auto current = firstFound(3)) {
        rs.setBookmark(*current);
        tg.followCursor();
    }
    if (const auto top = firstFound(0)) {
        tg.setFirstRow(*top);
    }
    tg.setLeftCol(leftCol);
}

}  // namespace

void RefreshGridKeepView(RecordGrid& tg, Recordset& rs, int16_t keyColumn, Recordset* clone) {
    Busy busy(tg);
    if (keyColumn < 0 || keyColumn >= tg.columnCountTotal()) {
        refreshByPosition(tg, rs, clone);
    } else {
        refreshByKey(tg, rs, keyColumn, clone);
    }
}

int16_t SyncClone(Recordset& rs, Recordset& clone, std::optional<Bookmark> bookmark) {
    if (!bookmark) {
        clone = rs.Clone();
        return 1;
    }
    try {
        clone.setBookmark(*bookmark);
        return 1;
    } catch (const std::exception&) {
        // A clone of rows since requeried: take a fresh one and try again.
    }
    try {
        clone = rs.Clone();
        clone.setBookmark(*bookmark);
        return 1;
    } catch (const std::exception&) {
        return 0;
    }
}

}  // namespace tqservicecode
