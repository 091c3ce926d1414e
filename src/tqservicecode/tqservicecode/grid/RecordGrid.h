#pragma once

#include <tqservicecode/grid/RecordModel.h>

#include <QTableView>

#include <unordered_set>
#include <vector>

namespace tqservicecode {

/// The record grid of the component's lists: a table over a RecordModel with a fixed row
/// height, columns described by GridColumn, and the navigation a list screen needs
/// (bookmarks, selected bookmarks in the order the user chose them, first visible row,
/// left column, current column).
///
/// Bound mode (setDataSource): the grid shows a recordset the screen owns and follows its
/// cursor: moving the current row moves the recordset, and followCursor() brings the
/// grid to where code moved the recordset. After a Requery, Sort or Filter the screen
/// calls rebind(). Storage mode (storeRows): the grid holds rows filled by code; cells of
/// unlocked columns are edited in place when updates are allowed.
///
/// The grid has one split: every column belongs to split 0.
class RecordGrid : public QTableView {
    Q_OBJECT
public:
    enum class DataMode { Bound = 0, Storage = 4 };

    explicit RecordGrid(QWidget* parent = nullptr);
    ~RecordGrid() override;

    RecordModel* recordModel() const { return m_model; }

    // Data.
    void setDataSource(tqplatform::Recordset* rs);
    tqplatform::Recordset* dataSource() const { return m_model->recordset(); }
    /// Reads the bound recordset again from its first row (selection and view are reset).
    void rebind();
    DataMode dataMode() const;
    /// Storage mode with these rows (values by column index).
    void storeRows(std::vector<std::vector<QVariant>> rows);
    void setAllowUpdate(bool allow);
    bool allowUpdate() const { return m_model->allowUpdate(); }

    // Columns (indexes are the column collection's, 0-based).
    int columnCountTotal() const { return m_model->columnCountTotal(); }
    int splitCount() const { return 1; }
    /// Inserts a column at index (clamped to the count); answers its index.
    int addColumn(int index, const GridColumn& column);
    void removeColumn(int index);
    /// The column as it stands now (width as the user left it).
    GridColumn column(int index) const;
    void setColumn(int index, const GridColumn& column);
    /// Display position, 0-based, as the user dragged it.
    int columnOrder(int index) const;
    void setColumnOrder(int index, int order);
    /// Width in twips.
    double columnWidth(int index) const;
    void setColumnWidth(int index, double width);
    bool columnVisible(int index) const;
    void setColumnVisible(int index, bool visible);
    /// The first column with this caption / data field (case-insensitive); -1 when none.
    int columnByCaption(const QString& caption) const;
    int columnByField(const QString& field) const;
    /// Column indexes of the visible columns, in display order.
    std::vector<int> visibleColumnsInOrder() const;

    // Rows and navigation.
    /// The current row's bookmark; -1 when there is no current row.
    tqplatform::Bookmark bookmark() const;
    /// Makes the row of bookmark current (the selection stays); false when it is not shown.
    bool setBookmark(tqplatform::Bookmark bookmark);
    /// The current row, 0-based; -1 when none.
    int currentRowIndex() const;
    /// Brings the grid's current row to the bound recordset's current record.
    void followCursor();
    /// The bookmark of the top visible row; -1 when the grid is empty.
    tqplatform::Bookmark firstRow() const;
    void setFirstRow(tqplatform::Bookmark bookmark);
    /// The first column in view (column index).
    int leftCol() const;
    void setLeftCol(int column);
    /// The current column; -1 when none.
    int col() const;
    void setCol(int column);
    /// Selected rows' bookmarks in the order they were selected.
    const std::vector<tqplatform::Bookmark>& selBookmarks() const { return m_selected; }
    void addSelBookmark(tqplatform::Bookmark bookmark);
    void removeSelBookmark(tqplatform::Bookmark bookmark);
    void clearSelBookmarks();
    /// Replaces the selection with these rows, in this order, in one step.
    void setSelBookmarks(const std::vector<tqplatform::Bookmark>& bookmarks);
    bool isSelected(tqplatform::Bookmark bookmark) const {
        return m_selectedSet.contains(bookmark);
    }

    // Looks.
    void setRowStyle(RecordModel::RowStyle style);
    void setFetchRowStyle(bool on);
    bool fetchRowStyle() const { return m_model->fetchRowStyle(); }
    /// Row height in twips (every row the same).
    double rowHeight() const;
    void setRowHeight(double twips);
    /// Sets the font; rows take the font's height.
    void setGridFont(const QFont& font);
    /// The width of an average letter of the grid's font, in twips: columns are sized in
    /// letters.
    double letterWidth() const;
    /// Record selectors: the row header at the left.
    void setRecordSelectors(bool on);
    /// Stops or resumes drawing (while a screen reworks the rows).
    void setRedraw(bool on);

signals:
    /// A column header was clicked (column index).
    void headClick(int column);
    /// A printable key was typed on a cell that is not being edited: the screen decides
    /// what it means (e.g. start a search). Only sent while something listens.
    void keyTyped(const QString& text);
    /// The current row or column changed.
    void rowColChange();
    /// The selected rows changed.
    void selChange();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void onCurrentChanged(const QModelIndex& current, const QModelIndex& previous);
    void onSectionResized(int logical, int oldSize, int newSize);
    void applyColumn(int index);
    void forgetSelection();
    void tellFetchFailed(const QString& reason);
    void selectRow(int row, bool on);

    RecordModel* m_model;
    std::vector<tqplatform::Bookmark> m_selected;
    std::unordered_set<tqplatform::Bookmark> m_selectedSet;
    bool m_syncing = false;
    int m_col = 0;
};

}  // namespace tqservicecode
