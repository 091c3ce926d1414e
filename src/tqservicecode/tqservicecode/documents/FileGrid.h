#pragma once

#include <tqservicecode/grid/RecordGrid.h>

#include <QDateTime>
#include <QPoint>
#include <QStringList>

#include <vector>

namespace tqservicecode {

/// One listed file.
struct FileRow {
    QString title;  // the title column: the file or document title
    QString name;   // the file name
    QString date;   // the date and time as listed ("" until the detail loading ran)
    QString size;   // the size as listed
    QString path;   // the full path: the row's key
    QDateTime modified;
    qint64 bytes = 0;
    QString docTitle;  // the document title the detail loading found
};

/// The file list of the document file picker (TDBG): the record grid in storage mode,
/// its rows kept as FileRow so that dates and sizes sort as values. Rows dragged onto
/// the folder tree carry the files' paths.
class FileGrid : public RecordGrid {
    Q_OBJECT

public:
    /// The columns, in their built order.
    enum Column { TitleColumn, NameColumn, DateColumn, SizeColumn, PathColumn, ColumnCount };

    explicit FileGrid(QWidget* parent = nullptr);

    void setFiles(std::vector<FileRow> rows);
    int rowCount() const { return int(m_rows.size()); }
    const FileRow& row(int r) const { return m_rows.at(size_t(r)); }
    /// Changes a row and shows it.
    void updateRow(int r, const FileRow& row);
    /// Puts the shown text of an edited cell back to the row's value.
    void revertCell(int r, int column);
    QString cellValue(int r, int column) const;
    void sortRows(int column, Qt::SortOrder order);
    /// Makes r the current and only selected row.
    void selectFileRow(int r);

    QString pathAt(int r) const;
    /// The paths of the selected rows, in the order they were selected.
    QStringList selectedPaths() const;
    int rowOf(const QString& path) const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    std::vector<QVariant> cells(const FileRow& row) const;

    std::vector<FileRow> m_rows;
    QPoint m_pressAt;
};

}  // namespace tqservicecode
