#include <tqservicecode/maintenance/BrowserRowsModel.h>

#include <tqservicecode/maintenance/BrowserRules.h>

#include <tqplatform/Currency.h>
#include <tqplatform/Vb.h>

#include <QBrush>

namespace tqservicecode {

BrowserRowsModel::BrowserRowsModel(QObject* parent) : QAbstractTableModel(parent) {
    m_fields.fill(-1);
}

void BrowserRowsModel::setRows(tqplatform::Recordset rows) {
    beginResetModel();
    m_rows = std::move(rows);
    bindFields();
    endResetModel();
}

void BrowserRowsModel::setFilter(const QString& criteria) {
    beginResetModel();
    m_rows.setFilter(criteria);
    m_count = m_rows.isOpen() ? m_rows.RecordCount() : 0;
    endResetModel();
}

void BrowserRowsModel::bindFields() {
    m_count = m_rows.isOpen() ? m_rows.RecordCount() : 0;
    for (int c = 0; c < browser::ColumnCount; ++c) {
        m_fields[static_cast<size_t>(c)] =
            m_rows.isOpen() ? m_rows.FieldIndex(QLatin1String(browser::column(c).field)) : -1;
    }
    m_typeField = m_fields[0];
    m_categoryField = m_fields[1];
    m_codeField = m_fields[browser::CodeColumn];
    m_idField = m_fields[browser::ColumnCount - 1];
}

void BrowserRowsModel::moveTo(int row) const {
    if (row >= 0 && row < m_count) {
        m_rows.setAbsolutePosition(row + 1);
    }
}

QVariant BrowserRowsModel::field(int row, int fieldIndex) const {
    if (row < 0 || row >= m_count || fieldIndex < 0) {
        return {};
    }
    m_rows.setAbsolutePosition(row + 1);
    return m_rows.Fields(fieldIndex);
}

int32_t BrowserRowsModel::idAt(int row) const {
    return tqplatform::vb::CLng(field(row, m_idField));
}

QString BrowserRowsModel::codeAt(int row) const {
    return field(row, m_codeField).toString().trimmed();
}

int BrowserRowsModel::rowOfId(int32_t id) const {
    for (int row = 0; row < m_count; ++row) {
        if (idAt(row) == id) {
            return row;
        }
    }
    return -1;
}

int BrowserRowsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_count;
}

int BrowserRowsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : browser::ColumnCount;
}

QVariant BrowserRowsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int row = index.row();
    switch (role) {
        case Qt::DisplayRole: {
            const QVariant value = field(row, m_fields[static_cast<size_t>(index.column())]);
            if (value.isNull()) {
                return QString();
            }
            if (index.column() >= browser::FirstFeeColumn &&
                index.column() <= browser::LastFeeColumn) {
                return tqplatform::vb::Format(value, QStringLiteral("$0.00"));
            }
            return value.toString().trimmed();
        }
        case Qt::ForegroundRole:
            return QBrush(browser::rowTextColour(field(row, m_typeField).toString(),
                                                 field(row, m_categoryField).toString()));
        case Qt::BackgroundRole:
            return QBrush(QColor(255, 255, 255));
        case int(Role::Id):
            return idAt(row);
        case int(Role::Code):
            return codeAt(row);
        default:
            return {};
    }
}

QVariant BrowserRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= browser::ColumnCount) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    if (role == Qt::DisplayRole) {
        QString caption = QLatin1String(browser::column(section).caption);
        if (section == m_sortColumn) {
            caption += m_descending ? QStringLiteral(" \u25bc") : QStringLiteral(" \u25b2");
        }
        return caption;
    }
    return {};
}

void BrowserRowsModel::setSortMark(int column, bool descending) {
    m_sortColumn = column;
    m_descending = descending;
    emit headerDataChanged(Qt::Horizontal, 0, browser::ColumnCount - 1);
}

}  // namespace tqservicecode
