#pragma once

#include <tqplatform/Recordset.h>

#include <QAbstractTableModel>
#include <QColor>
#include <QString>
#include <QVariant>

#include <functional>
#include <vector>

namespace tqservicecode {

/// What a grid column shows and how. Visible and width stay here so that a hidden
/// column keeps the width it comes back with; the display position lives in the view.
struct GridColumn {
    QString caption{};
    /// The recordset field (bound mode), or the column's name in storage mode.
    QString dataField{};
    /// A tqplatform::vb::Format format; "Edit Mask" shows the value through editMask.
    QString numberFormat{};
    QString editMask{};
    bool visible = true;
    /// A column the user may not drag narrower or wider when false.
    bool resizable = true;
    /// Width in the grid's units (twips).
    double width = 1440;
    /// In storage mode: the cell may not be edited.
    bool locked = false;
};

/// The text a cell shows for value: the number format applied (none for text), or the
/// edit mask when the format is "Edit Mask".
QString gridCellText(const QVariant& value, const QString& numberFormat, const QString& editMask);

/// The rows and columns behind a RecordGrid.
///
/// Bound mode reads a tqplatform::Recordset owned by the screen: a cell is read when it
/// is asked for (the view asks only for the rows it paints), by standing the recordset
/// on the row and putting its cursor back, so opening a grid over a hundred thousand
/// rows costs nothing per row. A recordset opened with only its first rows read gives
/// the rest as the view scrolls toward them (canFetchMore / fetchMore).
///
/// Storage mode holds its rows itself (filled by code); cells of unlocked columns may be
/// edited when editing is allowed. A storage row's bookmark is its row number.
class RecordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Mode { Bound, Storage };
    enum class Role { Bookmark = Qt::UserRole, Value };
    /// The text colour of a row; an invalid colour keeps the default. In bound mode the
    /// recordset stands on the row during the call, so the hook may read its fields.
    using RowStyle = std::function<QColor(int row, tqplatform::Bookmark bookmark)>;
    /// Rows read at once when the view scrolls past the rows read so far.
    static constexpr int RowsPerFetch = 500;

    explicit RecordModel(QObject* parent = nullptr);
    ~RecordModel() override;

    Mode mode() const { return m_mode; }
    /// Binds to rs (not owned; nullptr unbinds), in bound mode. Call again, or rebind(),
    /// after the recordset was requeried, sorted or filtered.
    void setRecordset(tqplatform::Recordset* rs);
    tqplatform::Recordset* recordset() const { return m_rs; }
    void rebind();
    /// Storage mode with rows of values by column index (a row may be shorter). The values
    /// stay where they are when columns are added or removed: column i shows value i.
    void setStorageRows(std::vector<std::vector<QVariant>> rows);
    void appendStorageRow(std::vector<QVariant> row);
    void removeStorageRow(int row);
    QVariant storageValue(int row, int column) const;
    void setStorageValue(int row, int column, const QVariant& value);
    /// Cells of unlocked columns may be edited (storage mode only).
    void setAllowUpdate(bool allow) { m_allowUpdate = allow; }
    bool allowUpdate() const { return m_allowUpdate; }

    // Columns.
    int columnCountTotal() const { return static_cast<int>(m_columns.size()); }
    const GridColumn& column(int index) const { return m_columns.at(static_cast<size_t>(index)); }
    void insertGridColumn(int index, const GridColumn& column);
    void removeGridColumn(int index);
    /// Replaces a column's description (caption, field, format shown again).
    void setGridColumn(int index, const GridColumn& column);
    /// Records a width or visibility the view changed, without a change signal.
    void noteWidth(int index, double width);

    // Rows.
    /// The bookmark of a row; -1 when there is no such row.
    tqplatform::Bookmark bookmarkAt(int row) const;
    /// The row of a bookmark; -1 when it is not among the rows.
    int rowOf(tqplatform::Bookmark bookmark) const;
    /// The value of a column (by grid column index) at a row.
    QVariant value(int row, int column) const;
    /// The text a cell shows.
    QString cellText(int row, int column) const;

    void setRowStyle(RowStyle style) { m_rowStyle = std::move(style); }
    /// Row styles are asked for only while this is on (printing may switch it off).
    void setFetchRowStyle(bool on) { m_fetchRowStyle = on; }
    bool fetchRowStyle() const { return m_fetchRowStyle; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    /// Why the last cell or rows could not be read ("" since the last binding when all
    /// could): data() answers an empty value then rather than throwing.
    QString lastError() const { return m_lastError; }

signals:
    /// A cell was changed by editing (storage mode).
    void cellEdited(int row, int column);
    /// Reading more rows failed (the connection went away): the rows read so far stay.
    void fetchFailed(const QString& reason);

private:
    /// Stands the recordset on row for the call of read, then puts the cursor back.
    template <typename Read>
    auto atRow(int row, Read read) const;
    QVariant cellData(int row, int column, int role) const;
    int fieldOf(int column) const;
    void resolveFields();

    Mode m_mode = Mode::Bound;
    tqplatform::Recordset* m_rs = nullptr;
    int m_rows = 0;  // rows the model has announced
    std::vector<std::vector<QVariant>> m_storage;
    std::vector<GridColumn> m_columns;
    std::vector<int> m_fieldIndex;  // recordset field of each column; -1 none
    RowStyle m_rowStyle;
    bool m_fetchRowStyle = true;
    bool m_allowUpdate = true;
    bool m_fetchFailed = false;
    mutable QString m_lastError;
};

/// What the user is told, once, when a list's further rows cannot be read.
QString fetchFailedMessage(const QString& reason);

}  // namespace tqservicecode
