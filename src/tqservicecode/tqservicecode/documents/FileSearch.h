#pragma once

#include <tqservicecode/documents/DocumentPickerScreen.h>

#include <tqglobal/IHostServices.h>

#include <QDialog>
#include <QStringList>

#include <memory>

class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class QTimer;
class QTreeWidgetItem;

namespace tqservicecode {

class FileGrid;
class FolderTree;

/// The document file picker: a folder tree of the data folder, the chosen folder's files
/// with their titles and dates, a detail line and a preview of the current document.
/// Files can be renamed, deleted and dragged onto another folder; folders can be created,
/// renamed and deleted from the tree's menu.
///
/// Properties: FilePattern ("*.RTF"; several patterns separated by ";"), DirPath (the
/// folder it opens on, below the data folder, e.g. "WP\"), InitialParm (titles of the
/// documents instead of file titles), LimitAccess (the tree shows the start folder and
/// below only), InitSort (the column number sorted by when the user has no sort of his
/// own). After OK: SelFiels (the chosen files relative to the start folder, "\" between
/// folders, several separated by "|"), and for the first chosen file DriveSeek (the
/// root of its path), DirSeek (its folder, ending in a separator), FileSeek (its name)
/// and DateTimeSeek (its date and time as listed).
class FileSearch : public QDialog, public DocumentPickerScreen {
    Q_OBJECT

public:
    explicit FileSearch(QWidget* parent = nullptr);
    ~FileSearch() override;

    void setFilePattern(const QString& pattern) override { m_pattern = pattern; }
    void setDirPath(const QString& folder) override { m_dirPath = folder; }
    void setInitialParm(bool documentTitles) override { m_initialParm = documentTitles; }
    QString SelFiels() const override { return m_selFiles; }
    void setLimitAccess(bool limit) { m_limitAccess = limit; }
    void setInitSort(const QString& column) { m_initSort = column; }
    QString FilePattern() const { return m_pattern; }
    QString DirPath() const { return m_dirPath; }
    QString DriveSeek() const { return m_driveSeek; }
    QString DirSeek() const { return m_dirSeek; }
    QString FileSeek() const { return m_fileSeek; }
    QString DateTimeSeek() const { return m_dateTimeSeek; }

    /// The folder whose files are listed.
    QString currentFolder() const { return m_folder; }
    /// Lists the current folder's files that match the pattern and starts the detail
    /// loading.
    void Load_File_TG();
    /// Renames the file oFNM of the current folder to nFNM after the checks and
    /// questions of the Rename button; true when the new name took effect.
    bool Rename_File(const QString& oFNM, const QString& nFNM);
    /// True when FilName holds none of \ / : * ? ' < > | and the double quote; otherwise,
    /// when ShowMessage is set, says which characters a file name cannot hold.
    bool Check_File_Name(const QString& FilName, bool ShowMessage) const;
    /// "LOAD_DETAIL" while the dates and titles are being filled in, "STOP" otherwise.
    QString detailTag() const;

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
    void buildColumns();
    QString layoutName() const;
    void load();
    void fillTree();
    QString startFolder();
    void openFolder(QTreeWidgetItem* node);
    void loadNextDetail();
    void stopDetail();
    void showCurrent();
    void preview(const QString& path);
    void sortBy(int column, Qt::SortOrder order);
    void showSortMenu(const QPoint& pos);
    void showFolderMenu(const QPoint& pos);
    void onOk();
    void onRename();
    void onDelete();
    void onView();
    void onCellEdited(int row, int column);
    bool renameChecked(const QString& path, const QString& newName);
    bool changeTitle(const QString& path, const QString& title);
    void moveFiles(QTreeWidgetItem* node, const QStringList& files);
    bool moveOne(const QString& source, const QString& targetFolder);
    void newFolder(QTreeWidgetItem* parent);
    void deleteFolder(QTreeWidgetItem* node);
    void onFolderEdited(QTreeWidgetItem* node);
    bool isOwnDocument(const QString& path);
    bool protectedHere() const;
    void updateButtons();
    void saveSettings();
    QString section() const;
    QString setting(const QString& key, const QString& fallback) const;
    void saveSetting(const QString& key, const QString& value) const;
    QString shownFolder(const QString& folder) const;

    QString m_pattern = QStringLiteral("*.*");
    QString m_dirPath;
    QString m_initSort;
    bool m_initialParm = false;
    bool m_limitAccess = false;
    QString m_selFiles, m_driveSeek, m_dirSeek, m_fileSeek, m_dateTimeSeek;

    QString m_dataPath;
    QString m_root;
    QString m_folder;
    bool m_loaded = false;
    bool m_filling = false;
    int m_sortColumn = 1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QStringList m_detailQueue;

    FolderTree* m_tree = nullptr;
    FileGrid* m_grid = nullptr;
    QTextEdit* m_preview = nullptr;
    QLabel* m_detail = nullptr;
    QTimer* m_detailTimer = nullptr;
    QMenu* m_folderMenu = nullptr;
    QMenu* m_sortMenu = nullptr;
    QPushButton* m_okButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QPushButton* m_renameButton = nullptr;
    std::shared_ptr<tqGlobal::IWordProcessor> m_viewer;
    std::shared_ptr<tqGlobal::IWordProcessor> m_titleReader;
};

}  // namespace tqservicecode
