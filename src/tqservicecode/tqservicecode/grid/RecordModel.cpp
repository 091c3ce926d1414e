#include "RecordModel.h"

#include <tqplatform/Error.h>
#include <tqplatform/Vb.h>

#include <QBrush>

#include <algorithm>
#include <exception>
#include <utility>

namespace tqservicecode {

namespace {

bool isMaskPlaceholder(QChar c) {
    static const QString placeholders = QStringLiteral("#09Aa?&CL");
    return placeholders.contains(c);
}

/// The value's characters laid into the mask's placeholders, the mask's other characters
/// shown as they stand ("\x" shows x). A value that already holds a literal where the mask
/// has one keeps it once.
QString applyEditMask(const QString& text, const QString& mask) {
    QString out;
    qsizetype next = 0;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        QChar m = mask.at(i);
        if (m == u'>' || m == u'<') {
            continue;
        }
        if (m == u'\\' && i + 1 < mask.size()) {
            m = mask.at(++i);
        } else if (isMaskPlaceholder(m)) {
            out += next < text.size() ? text.at(next++) : QChar(u' ');
            continue;
        }
        if (next < text.size() && text.at(next) == m) {
            ++next;
        }
        out += m;
    }
    return out;
}

/// Puts a cursor back where it stood: on a row, or before the first or after the last
/// row read so far (without reading the rest).
void restoreCursor(tqplatform::Recordset& rs, int before) {
    if (before >= 1) {
        rs.setAbsolutePosition(before);
    } else if (before == tqplatform::Position::Eof && rs.RecordCount() > 0) {
        rs.setAbsolutePosition(rs.RecordCount());
        rs.MoveNext();
    } else if (before == tqplatform::Position::Bof && rs.RecordCount() > 0) {
        rs.MoveFirst();
        rs.MovePrevious();
    }
}

}  // namespace

QString gridCellText(const QVariant& value, const QString& numberFormat, const QString& editMask) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    if (numberFormat.compare(QStringLiteral("Edit Mask"), Qt::CaseInsensitive) == 0) {
        return editMask.isEmpty() ? value.toString() : applyEditMask(value.toString(), editMask);
    }
    if (value.typeId() == QMetaType::QString) {
        return value.toString();
    }
    return tqplatform::vb::Format(value, numberFormat);
}

RecordModel::RecordModel(QObject* parent) : QAbstractTableModel(parent) {}

RecordModel::~RecordModel() = default;

void RecordModel::setRecordset(tqplatform::Recordset* rs) {
    beginResetModel();
    m_mode = Mode::Bound;
    m_rs = rs;
    m_storage.clear();
    m_rows = (m_rs && m_rs->isOpen()) ? m_rs->RecordCount() : 0;
    m_fetchFailed = false;
    m_lastError.clear();
    resolveFields();
    endResetModel();
}

void RecordModel::rebind() {
    if (m_mode == Mode::Bound) {
        setRecordset(m_rs);
    } else {
        beginResetModel();
        endResetModel();
    }
}

void RecordModel::setStorageRows(std::vector<std::vector<QVariant>> rows) {
    beginResetModel();
    m_mode = Mode::Storage;
    m_rs = nullptr;
    m_storage = std::move(rows);
    m_rows = static_cast<int>(m_storage.size());
    resolveFields();
    endResetModel();
}

void RecordModel::appendStorageRow(std::vector<QVariant> row) {
    if (m_mode != Mode::Storage) {
        setStorageRows({});
    }
    beginInsertRows({}, m_rows, m_rows);
    m_storage.push_back(std::move(row));
    ++m_rows;
    endInsertRows();
}

void RecordModel::removeStorageRow(int row) {
    if (m_mode != Mode::Storage || row < 0 || row >= m_rows) {
        return;
    }
    beginRemoveRows({}, row, row);
    m_storage.erase(m_storage.begin() + row);
    --m_rows;
    endRemoveRows();
}

QVariant RecordModel::storageValue(int row, int column) const {
    if (m_mode != Mode::Storage || row < 0 || row >= m_rows || column < 0) {
        return {};
    }
    const auto& cells = m_storage[static_cast<size_t>(row)];
    return std::cmp_less(column, cells.size()) ? cells[static_cast<size_t>(column)] : QVariant();
}

void RecordModel::setStorageValue(int row, int column, const QVariant& value) {
    if (m_mode != Mode::Storage || row < 0 || row >= m_rows || column < 0) {
        return;
    }
    auto& cells = m_storage[static_cast<size_t>(row)];
    if (std::cmp_greater_equal(column, cells.size())) {
        cells.resize(static_cast<size_t>(column) + 1);
    }
    cells[static_cast<size_t>(column)] = value;
    if (column < columnCountTotal()) {
        emit dataChanged(index(row, column), index(row, column));
    }
}

void RecordModel::insertGridColumn(int index, const GridColumn& column) {
    index = std::clamp(index, 0, columnCountTotal());
    beginInsertColumns({}, index, index);
    m_columns.insert(m_columns.begin() + index, column);
    m_fieldIndex.insert(m_fieldIndex.begin() + index, -1);
    resolveFields();
    endInsertColumns();
}

void RecordModel::removeGridColumn(int index) {
    if (index < 0 || index >= columnCountTotal()) {
        return;
    }
    beginRemoveColumns({}, index, index);
    m_columns.erase(m_columns.begin() + index);
    m_fieldIndex.erase(m_fieldIndex.begin() + index);
    endRemoveColumns();
}

void RecordModel::setGridColumn(int index, const GridColumn& column) {
    if (index < 0 || index >= columnCountTotal()) {
        return;
    }
    m_columns[static_cast<size_t>(index)] = column;
    resolveFields();
    emit headerDataChanged(Qt::Horizontal, index, index);
    if (m_rows > 0) {
        emit dataChanged(this->index(0, index), this->index(m_rows - 1, index));
    }
}

void RecordModel::noteWidth(int index, double width) {
    if (index >= 0 && index < columnCountTotal()) {
        m_columns[static_cast<size_t>(index)].width = width;
    }
}

void RecordModel::resolveFields() {
    m_fieldIndex.assign(m_columns.size(), -1);
    if (m_mode != Mode::Bound || !m_rs || !m_rs->isOpen()) {
        return;
    }
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (!m_columns[i].dataField.isEmpty()) {
            m_fieldIndex[i] = m_rs->FieldIndex(m_columns[i].dataField);
        }
    }
}

int RecordModel::fieldOf(int column) const {
    return (column >= 0 && column < columnCountTotal()) ? m_fieldIndex[static_cast<size_t>(column)]
                                                        : -1;
}

template <typename Read>
auto RecordModel::atRow(int row, Read read) const {
    if (!m_rs || !m_rs->isOpen()) {
        // ADO's "the object is closed".
        throw tqplatform::Error(3704, QStringLiteral("The rows of this list are closed."));
    }
    auto& rs = *m_rs;
    const int before = rs.AbsolutePosition();
    rs.setAbsolutePosition(row + 1);
    struct Restore {
        tqplatform::Recordset& rs;
        int before;
        ~Restore() { restoreCursor(rs, before); }
    } restore{rs, before};
    return read(rs);
}

tqplatform::Bookmark RecordModel::bookmarkAt(int row) const {
    if (row < 0 || row >= m_rows) {
        return -1;
    }
    if (m_mode == Mode::Storage) {
        return row;
    }
    return atRow(row, [](tqplatform::Recordset& rs) { return rs.bookmark(); });
}

int RecordModel::rowOf(tqplatform::Bookmark bookmark) const {
    if (m_mode == Mode::Storage) {
        return (bookmark >= 0 && bookmark < m_rows) ? static_cast<int>(bookmark) : -1;
    }
    if (!m_rs || !m_rs->isOpen() || m_rows == 0) {
        return -1;
    }
    auto& rs = *m_rs;
    const int before = rs.AbsolutePosition();
    int row = -1;
    try {
        rs.setBookmark(bookmark);
        row = rs.AbsolutePosition() - 1;
    } catch (...) {
        row = -1;
    }
    restoreCursor(rs, before);
    return row < m_rows ? row : -1;
}

QVariant RecordModel::value(int row, int column) const {
    if (row < 0 || row >= m_rows || column < 0 || column >= columnCountTotal()) {
        return {};
    }
    if (m_mode == Mode::Storage) {
        return storageValue(row, column);
    }
    const int field = fieldOf(column);
    if (field < 0) {
        return {};
    }
    return atRow(row, [field](tqplatform::Recordset& rs) { return rs.Fields(field); });
}

QString RecordModel::cellText(int row, int column) const {
    if (column < 0 || column >= columnCountTotal()) {
        return {};
    }
    const GridColumn& c = m_columns[static_cast<size_t>(column)];
    return gridCellText(value(row, column), c.numberFormat, c.editMask);
}

int RecordModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

int RecordModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columnCountTotal();
}

QVariant RecordModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    // The view asks from its paint handler, where nothing may be thrown: a cell that
    // cannot be read shows empty, and the reason is kept for the screen.
    try {
        return cellData(index.row(), index.column(), role);
    } catch (const std::exception& e) {
        m_lastError = QString::fromUtf8(e.what());
    } catch (...) {
        m_lastError = QStringLiteral("An unexpected error occurred.");
    }
    return {};
}

QVariant RecordModel::cellData(int row, int column, int role) const {
    switch (role) {
        case Qt::DisplayRole:
            return cellText(row, column);
        case Qt::EditRole:
        case int(Role::Value):
            return value(row, column);
        case int(Role::Bookmark):
            return QVariant::fromValue(bookmarkAt(row));
        case Qt::ForegroundRole: {
            if (!m_rowStyle || !m_fetchRowStyle) {
                return {};
            }
            QColor colour;
            if (m_mode == Mode::Bound) {
                colour = atRow(
                    row, [&](tqplatform::Recordset& rs) { return m_rowStyle(row, rs.bookmark()); });
            } else {
                colour = m_rowStyle(row, row);
            }
            return colour.isValid() ? QVariant(QBrush(colour)) : QVariant();
        }
        default:
            return {};
    }
}

QVariant RecordModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < columnCountTotal()) {
        return m_columns[static_cast<size_t>(section)].caption;
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && m_mode == Mode::Storage && m_allowUpdate &&
        !m_columns[static_cast<size_t>(index.column())].locked) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool RecordModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    setStorageValue(index.row(), index.column(), value);
    emit cellEdited(index.row(), index.column());
    return true;
}

bool RecordModel::canFetchMore(const QModelIndex& parent) const {
    if (parent.isValid() || m_mode != Mode::Bound || !m_rs || !m_rs->isOpen()) {
        return false;
    }
    // Rows read by someone else (a Find, a MoveLast) are announced too.
    return m_rs->RecordCount() > m_rows || (!m_rs->fetchComplete() && !m_fetchFailed);
}

void RecordModel::fetchMore(const QModelIndex& parent) {
    if (!canFetchMore(parent)) {
        return;
    }
    if (m_rs->RecordCount() <= m_rows) {
        try {
            m_rs->fetchMore(RowsPerFetch);
        } catch (const std::exception& e) {
            // The view asks from its paint and scroll handlers: nothing may leave them.
            // The rows read so far stay; the screen hears why no more come.
            m_fetchFailed = true;
            m_lastError = QString::fromUtf8(e.what());
            emit fetchFailed(m_lastError);
        }
    }
    const int now = m_rs->RecordCount();
    if (now > m_rows) {
        beginInsertRows({}, m_rows, now - 1);
        m_rows = now;
        endInsertRows();
    }
}

QString fetchFailedMessage(const QString& reason) {
    const QString lineBreak = QStringLiteral("\r\n");
    return QStringLiteral("Not every row of this list could be read:") + lineBreak + lineBreak +
           reason.trimmed() + lineBreak + lineBreak +
           QStringLiteral("The rows read so far are shown. Open the list again to see the rest.");
}

}  // namespace tqservicecode
