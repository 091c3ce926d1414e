#pragma once

#include <QStringList>
#include <QTreeWidget>
#include <functional>

namespace tqservicecode {

/// The folder tree of the document file picker (TV): one node per folder below the data
/// folder that the picker offers, keyed by its path. Files dragged from the picker's
/// grid can be dropped on a node; the tree reports the drop and the screen moves them.
class FolderTree : public QTreeWidget {
    Q_OBJECT

public:
    /// The mime type the grid's drag carries: the full paths, one a line.
    static const QString MimeType;
    /// The item role holding a node's folder path.
    static constexpr int PathRole = Qt::UserRole;
    /// The item role holding the key of the node's picture ("FolderC" or "FolderO").
    static constexpr int PictureRole = Qt::UserRole + 1;

    explicit FolderTree(QWidget* parent = nullptr);

    /// Fills the tree from root (shown as its top node); accept decides which folders
    /// are offered (a refused folder hides everything below it).
    void fill(const QString& root, const std::function<bool(const QString&)>& accept);
    QTreeWidgetItem* nodeOf(const QString& folder) const;
    /// Adds a node for folder under parent, with the closed and open folder pictures.
    QTreeWidgetItem* addNode(QTreeWidgetItem* parent, const QString& folder);
    static QString pathOf(const QTreeWidgetItem* node);

signals:
    void filesDropped(QTreeWidgetItem* node, const QStringList& files);

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void addChildren(QTreeWidgetItem* parent, const QString& folder, int depth,
                     const std::function<bool(const QString&)>& accept);
    void showPicture(QTreeWidgetItem* node, bool open);
};

}  // namespace tqservicecode
