#include <tqservicecode/documents/FileGrid.h>

#include <tqservicecode/documents/FolderTree.h>

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>

namespace tqservicecode {

FileGrid::FileGrid(QWidget* parent) : RecordGrid(parent) {
    setObjectName(QStringLiteral("TDBG"));
    storeRows({});
}

std::vector<QVariant> FileGrid::cells(const FileRow& row) const {
    return {row.title, row.name, row.date, row.size, row.path};
}

void FileGrid::setFiles(std::vector<FileRow> rows) {
    m_rows = std::move(rows);
    std::vector<std::vector<QVariant>> stored;
    stored.reserve(m_rows.size());
    for (const FileRow& row : m_rows) {
        stored.push_back(cells(row));
    }
    storeRows(std::move(stored));
}

void FileGrid::updateRow(int r, const FileRow& row) {
    m_rows.at(size_t(r)) = row;
    const std::vector<QVariant> values = cells(row);
    for (int column = 0; column < ColumnCount; ++column) {
        if (recordModel()->storageValue(r, column) != values[size_t(column)]) {
            recordModel()->setStorageValue(r, column, values[size_t(column)]);
        }
    }
}

void FileGrid::revertCell(int r, int column) {
    recordModel()->setStorageValue(r, column, cells(row(r))[size_t(column)]);
}

QString FileGrid::cellValue(int r, int column) const {
    return recordModel()->storageValue(r, column).toString();
}

void FileGrid::sortRows(int column, Qt::SortOrder order) {
    auto key = [column](const FileRow& a, const FileRow& b) {
        switch (column) {
            case DateColumn:
                return a.modified < b.modified;
            case SizeColumn:
                return a.bytes < b.bytes;
            case TitleColumn:
                return a.title.compare(b.title, Qt::CaseInsensitive) < 0;
            default:
                return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
        }
    };
    std::vector<FileRow> rows = m_rows;
    if (order == Qt::AscendingOrder) {
        std::stable_sort(rows.begin(), rows.end(), key);
    } else {
        std::stable_sort(rows.begin(), rows.end(),
                         [&](const FileRow& a, const FileRow& b) { return key(b, a); });
    }
    setFiles(std::move(rows));
}

void FileGrid::selectFileRow(int r) {
    clearSelBookmarks();
    if (r >= 0 && r < rowCount()) {
        setBookmark(r);
        addSelBookmark(r);
    }
}

QString FileGrid::pathAt(int r) const {
    return r >= 0 && r < rowCount() ? row(r).path : QString();
}

QStringList FileGrid::selectedPaths() const {
    QStringList paths;
    for (const tqplatform::Bookmark bookmark : selBookmarks()) {
        if (const QString path = pathAt(int(bookmark)); !path.isEmpty()) {
            paths.append(path);
        }
    }
    return paths;
}

int FileGrid::rowOf(const QString& path) const {
    for (int r = 0; r < rowCount(); ++r) {
        if (row(r).path == path) {
            return r;
        }
    }
    return -1;
}

void FileGrid::mousePressEvent(QMouseEvent* event) {
    m_pressAt = event->position().toPoint();
    RecordGrid::mousePressEvent(event);
}

void FileGrid::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton) ||
        (event->position().toPoint() - m_pressAt).manhattanLength() <
            QApplication::startDragDistance() ||
        selectedPaths().isEmpty()) {
        RecordGrid::mouseMoveEvent(event);
        return;
    }
    auto* data = new QMimeData;
    data->setData(FolderTree::MimeType, selectedPaths().join(u'\n').toUtf8());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

}  // namespace tqservicecode
