#pragma once

#include <QAbstractListModel>
#include <QStringList>
#include <QVector>

#include <cstdint>

namespace tqservicecode {

/// The lines of a picker list with their item data (a SevCodID, 0 when none). Holds one
/// text per line and paints only what is visible, so a list of a hundred thousand codes
/// fills quickly.
class PickerListModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int ItemDataRole = Qt::UserRole;

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    /// Replaces the lines; a line's tooltip is its entry in toolTips, else the line.
    void setLines(QStringList lines, QVector<int32_t> ids, QStringList toolTips = {});
    void append(const QString& line, int32_t id);
    void removeLine(int row);
    void clear();

    int count() const { return static_cast<int>(m_lines.size()); }
    const QString& line(int row) const { return m_lines.at(row); }
    int32_t itemData(int row) const { return m_ids.at(row); }
    const QStringList& lines() const { return m_lines; }
    /// The first row whose item data is id; -1 when none.
    int rowOfItemData(int32_t id) const;

private:
    QStringList m_lines;
    QVector<int32_t> m_ids;
    QStringList m_toolTips;
};

}  // namespace tqservicecode
