#pragma once

#include <tqplatform/Recordset.h>

#include <QAbstractTableModel>

#include <array>
#include <cstdint>

namespace tqservicecode {

/// The browser's rows: a read-only table over the rowset of the current query, with the
/// browser's columns. Cells are read from the rowset only when they are drawn; a row's
/// text colour follows its type and category.
class BrowserRowsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Role { Id = Qt::UserRole, Code };

    explicit BrowserRowsModel(QObject* parent = nullptr);

    /// Shows rows in place of the rows shown before.
    void setRows(tqplatform::Recordset rows);
    /// The rowset; its cursor is moved by every read, so position it before use.
    tqplatform::Recordset& rows() { return m_rows; }
    /// Applies a rowset filter ("" removes it) and shows what remains.
    void setFilter(const QString& criteria);
    /// The row's SevCodID and trimmed code; 0 and "" outside the rows.
    int32_t idAt(int row) const;
    QString codeAt(int row) const;
    /// The row of the code with this id; -1 when it is not shown.
    int rowOfId(int32_t id) const;
    /// Positions the rowset on row (0-based).
    void moveTo(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// The column whose heading carries the sort mark, and its direction.
    void setSortMark(int column, bool descending);

private:
    void bindFields();
    QVariant field(int row, int fieldIndex) const;

    mutable tqplatform::Recordset m_rows;
    std::array<int, 11> m_fields{};
    int m_typeField = -1;
    int m_categoryField = -1;
    int m_idField = -1;
    int m_codeField = -1;
    int m_count = 0;
    int m_sortColumn = -1;
    bool m_descending = false;
};

}  // namespace tqservicecode
