#include <tqservicecode/documents/FileGrid.h>

#include <tqservicecode/documents/FolderTree.h>

#include <QHeaderView>
#include <QMimeData>
#include <QSet>

#include <algorithm>

namespace tqservicecode {

FileGrid::FileGrid(QWidget* parent) : QTableWidget(0, ColumnCount, parent) {
    setObjectName(QStringLiteral("TDBG"));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setDragEnabled(true);
    setDragDropMode(QAbstractItemView::DragOnly);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    setWordWrap(false);
}

QString FileGrid::pathAt(int row) const {
    const QTableWidgetItem* cell = item(row, PathColumn);
    return cell != nullptr ? cell->text() : QString();
}

QStringList FileGrid::selectedPaths() const {
    QList<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.append(index.row());
    }
    std::sort(rows.begin(), rows.end());
    QStringList paths;
    for (const int row : rows) {
        paths.append(pathAt(row));
    }
    return paths;
}

int FileGrid::rowOf(const QString& path) const {
    for (int row = 0; row < rowCount(); ++row) {
        if (pathAt(row) == path) {
            return row;
        }
    }
    return -1;
}

QStringList FileGrid::mimeTypes() const {
    return {FolderTree::MimeType};
}

QMimeData* FileGrid::mimeData(const QList<QTableWidgetItem*>& items) const {
    QSet<int> seen;
    QStringList paths;
    for (const QTableWidgetItem* cell : items) {
        if (!seen.contains(cell->row())) {
            seen.insert(cell->row());
            paths.append(pathAt(cell->row()));
        }
    }
    auto* data = new QMimeData;
    data->setData(FolderTree::MimeType, paths.join(u'\n').toUtf8());
    return data;
}

bool FileGridItem::operator<(const QTableWidgetItem& other) const {
    const QVariant mine = data(FileGrid::SortRole);
    const QVariant theirs = other.data(FileGrid::SortRole);
    if (mine.isValid() && theirs.isValid()) {
        return QVariant::compare(mine, theirs) == QPartialOrdering::Less;
    }
    return text().compare(other.text(), Qt::CaseInsensitive) < 0;
}

}  // namespace tqservicecode
