#pragma once

#include <QTableWidget>

namespace tqservicecode {

/// The file list of the document file picker (TDBG): rows filled by the screen, the name
/// and title cells editable, rows dragged onto the folder tree carry the files' paths.
class FileGrid : public QTableWidget {
    Q_OBJECT

public:
    /// The columns, in their built order.
    enum Column { TitleColumn, NameColumn, DateColumn, SizeColumn, PathColumn, ColumnCount };
    /// The role of the value a column sorts by (dates and sizes sort as values).
    static constexpr int SortRole = Qt::UserRole + 1;

    explicit FileGrid(QWidget* parent = nullptr);

    /// The full path of row's file ("" for no row).
    QString pathAt(int row) const;
    /// The paths of the selected rows, in row order.
    QStringList selectedPaths() const;
    int rowOf(const QString& path) const;

protected:
    QMimeData* mimeData(const QList<QTableWidgetItem*>& items) const override;
    QStringList mimeTypes() const override;
};

/// A grid cell that sorts by its SortRole value when it has one.
class FileGridItem : public QTableWidgetItem {
public:
    using QTableWidgetItem::QTableWidgetItem;
    bool operator<(const QTableWidgetItem& other) const override;
};

}  // namespace tqservicecode
