#pragma once

#include <tqservicecode/reference/ReferenceCodeScreen.h>
#include <tqservicecode/reference/ReferenceCodeSets.h>
#include <tqservicecode/reference/ReferenceQueries.h>

#include <tqplatform/Recordset.h>

#include <QDialog>
#include <QHash>
#include <QString>

#include <cstdint>
#include <memory>

class QAction;
class QLabel;
class QSplitter;
class QTimer;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace tqplatform {
class Connection;
}

namespace tqservicecode {

class RecordGrid;

/// The reference code browser: a published code set's chapters and ranges in a tree
/// (TV), the codes of the chosen node in a grid (TDBG), searches as nodes under "Search
/// Results", and the import of the current code into a new service code through the
/// editor. The set is chosen by SetupScreen; the codes are read from the host's "CODES"
/// database and never written.
class frmCodes : public QDialog, public ReferenceCodeScreen {
    Q_OBJECT
public:
    /// Rows read when a node is listed; the rest follow as the grid scrolls and while
    /// the user looks at the first ones.
    static constexpr int FirstScreenRows = 100;

    explicit frmCodes(QWidget* parent = nullptr);
    ~frmCodes() override;

    void SetupScreen(int32_t displayType, const QString& searchText) override;

    /// The set shown (null before SetupScreen, or after one with an unknown DisplayType).
    const reference::CodeSet* codeSet() const { return m_set; }
    const QString& CodeSetPrefix() const { return m_prefix; }
    const reference::ListSort& listSort() const { return m_sort; }
    bool sortAscending() const { return m_ascending; }
    /// The list of the node last listed (closed when none).
    const tqplatform::Recordset& list() const { return m_list; }
    /// The connection to the reference database (null when it could not be opened).
    tqplatform::Connection* codesConnection() const { return m_codes.get(); }

    /// Lists the codes whose code, modifier or description holds text, under a node of
    /// "Search Results" (one node per text, in any letter case).
    void search(const QString& text);
    /// Asks for the text to search for, starting with typed (a typed character, or "").
    void askSearch(const QString& typed);

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QToolBar* TB = nullptr;
    QSplitter* Splitter = nullptr;
    QTreeWidget* TV = nullptr;
    RecordGrid* TDBG = nullptr;
    QLabel* panelMain = nullptr;
    QLabel* panelCount = nullptr;
    QTimer* m_fetchTimer = nullptr;

    void buildControls();
    void loadSettings();
    void saveSettings();
    void openCodesDatabase();
    /// Builds the tree, the columns and the revision line; tells the user and answers
    /// false when the set cannot be read.
    bool readSet();
    void buildTree();
    /// With no width of the user's, the tree as wide as its chapters' texts, up to half
    /// the window.
    void fitTreeToNodes();
    void buildColumns();
    void showRevision();
    QTreeWidgetItem* addNode(const QString& key, const QString& parentKey, const QString& text,
                             const QString& filter);
    void nodeChosen(QTreeWidgetItem* item);
    void selectNode(QTreeWidgetItem* item);
    /// Lists the codes of the current node with filter.
    void listCodes(const QString& filter);
    void fetchRest();
    /// The rest of a long list could not be read: the user hears it once, the rows read
    /// so far stay.
    void listCutShort();
    /// The data field of the grid's current column ("" when none).
    QString currentField() const;
    void showSortPicture();
    void sortList(bool ascending);
    void importCode();
    void showCount();
    bool startSearchFromKey(QKeyEvent* event);

    std::unique_ptr<tqplatform::Connection> m_codes;
    tqplatform::Recordset m_list;
    const reference::CodeSet* m_set = nullptr;
    QString m_prefix;
    QString m_lastKey;
    reference::ListSort m_sort;
    bool m_ascending = true;
    bool m_columnsBuilt = false;
    // The user has a tree width of their own.
    bool m_treeWidthStored = false;
    // The set has the search index of an embedded reference database.
    bool m_searchIndexed = false;
    bool m_listing = false;
    QHash<QString, QTreeWidgetItem*> m_nodes;
};

}  // namespace tqservicecode
