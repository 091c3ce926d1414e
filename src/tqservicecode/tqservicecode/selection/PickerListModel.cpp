#include <tqservicecode/selection/PickerListModel.h>

namespace tqservicecode {

int PickerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : count();
}

QVariant PickerListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= count()) {
        return {};
    }
    if (role == Qt::ToolTipRole && index.row() < m_toolTips.size()) {
        return m_toolTips.at(index.row());
    }
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return m_lines.at(index.row());
    }
    if (role == ItemDataRole) {
        return m_ids.at(index.row());
    }
    return {};
}

void PickerListModel::setLines(QStringList lines, QVector<int32_t> ids, QStringList toolTips) {
    beginResetModel();
    m_lines = std::move(lines);
    m_ids = std::move(ids);
    m_ids.resize(m_lines.size());
    m_toolTips = std::move(toolTips);
    endResetModel();
}

void PickerListModel::append(const QString& line, int32_t id) {
    beginInsertRows(QModelIndex(), count(), count());
    m_lines.append(line);
    m_ids.append(id);
    endInsertRows();
}

void PickerListModel::removeLine(int row) {
    if (row < 0 || row >= count()) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_lines.removeAt(row);
    m_ids.removeAt(row);
    if (row < m_toolTips.size()) {
        m_toolTips.removeAt(row);
    }
    endRemoveRows();
}

void PickerListModel::clear() {
    setLines({}, {});
}

int PickerListModel::rowOfItemData(int32_t id) const {
    const auto found = std::find(m_ids.cbegin(), m_ids.cend(), id);
    return found == m_ids.cend() ? -1 : static_cast<int>(found - m_ids.cbegin());
}

}  // namespace tqservicecode
