#include <tqservicecode/documents/FolderTree.h>

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QStyle>

namespace tqservicecode {

namespace {

/// Deeper folders are not walked: a link loop or a very deep tree must not hang the screen.
constexpr int kMaxDepth = 12;

}  // namespace

const QString FolderTree::MimeType = QStringLiteral("application/x-tq-document-files");

FolderTree::FolderTree(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("TV"));
    setHeaderHidden(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DropOnly);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { showPicture(node, true); });
    connect(this, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* node) { showPicture(node, false); });
}

void FolderTree::fill(const QString& root, const std::function<bool(const QString&)>& accept) {
    clear();
    QTreeWidgetItem* top = addNode(nullptr, root);
    top->setText(0, QDir(root).dirName());
    addChildren(top, root, 0, accept);
    top->setExpanded(true);
}

void FolderTree::addChildren(QTreeWidgetItem* parent, const QString& folder, int depth,
                             const std::function<bool(const QString&)>& accept) {
    if (depth >= kMaxDepth) {
        return;
    }
    const QStringList names =
        QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : names) {
        const QString path = QDir(folder).filePath(name);
        if (!accept(path)) {
            continue;
        }
        addChildren(addNode(parent, path), path, depth + 1, accept);
    }
}

QTreeWidgetItem* FolderTree::addNode(QTreeWidgetItem* parent, const QString& folder) {
    auto* node = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    node->setText(0, QDir(folder).dirName());
    node->setData(0, PathRole, QDir::cleanPath(folder));
    node->setFlags(node->flags() | Qt::ItemIsEditable | Qt::ItemIsDropEnabled);
    showPicture(node, false);
    return node;
}

void FolderTree::showPicture(QTreeWidgetItem* node, bool open) {
    node->setData(0, PictureRole, open ? QStringLiteral("FolderO") : QStringLiteral("FolderC"));
    node->setIcon(0,
                  style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
}

QString FolderTree::pathOf(const QTreeWidgetItem* node) {
    return node != nullptr ? node->data(0, PathRole).toString() : QString();
}

QTreeWidgetItem* FolderTree::nodeOf(const QString& folder) const {
    const QString wanted = QDir::cleanPath(folder);
    for (QTreeWidgetItemIterator it(const_cast<FolderTree*>(this)); *it != nullptr; ++it) {
        if (pathOf(*it).compare(wanted, Qt::CaseInsensitive) == 0) {
            return *it;
        }
    }
    return nullptr;
}

void FolderTree::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(MimeType)) {
        event->acceptProposedAction();
    }
}

void FolderTree::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasFormat(MimeType) && itemAt(event->position().toPoint())) {
        event->acceptProposedAction();
    } else {
        event->ignore();
    }
}

void FolderTree::dropEvent(QDropEvent* event) {
    QTreeWidgetItem* node = itemAt(event->position().toPoint());
    if (node == nullptr || !event->mimeData()->hasFormat(MimeType)) {
        event->ignore();
        return;
    }
    const QStringList files =
        QString::fromUtf8(event->mimeData()->data(MimeType)).split(u'\n', Qt::SkipEmptyParts);
    event->acceptProposedAction();
    emit filesDropped(node, files);
}

}  // namespace tqservicecode
