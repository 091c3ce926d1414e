#pragma once

#include <tqplatform/Recordset.h>

#include <QDialog>
#include <QList>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QToolBar;
class QToolButton;

namespace tqservicecode {

class RecordGrid;
class ServiceCodeEditorScreen;

/// The service code browser: the codes of one category (or of all) in a read-only grid
/// (TDBG), with a toolbar (TB) to add, edit, delete, import, search, print and return
/// codes, a pop-up menu (mnuPop), the category chooser (SelectCMD, SelectionLabel) and a
/// status bar with the panels "Main" and "Count". Opened by the code list operation and by
/// the picker's List button; "Okay" leaves the chosen codes in the host's ScreenReturn.
class SerCod : public QDialog {
    Q_OBJECT
public:
    explicit SerCod(QWidget* parent = nullptr);
    ~SerCod() override;

    /// Reads the user's category, window and sort settings and opens the rows; runs once,
    /// at the latest when the screen is first shown.
    void load();

    RecordGrid* grid() const { return m_grid; }
    /// The rows of the current query; the grid's current row is its current record.
    tqplatform::Recordset& rows() { return m_rs; }
    /// The statement last opened.
    QString currentQuery() const { return m_query; }
    QString currentCategory() const { return m_category; }
    /// Whether a search filter is active (the Search button shows its left arrow).
    bool searchActive() const { return m_searchActive; }
    /// The rows selected, in the order they were selected.
    QList<int> selectedRows() const;
    /// The SevCodID and the trimmed code of a row (0 and "" outside the rows).
    int32_t idAt(int row) const;
    QString codeAt(int row) const;
    /// The pop-up menu, as a right click over row and column of the grid sets it up.
    QMenu* popupFor(int row, int column);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildToolbar();
    void buildPopup();
    void buildStatusBar();
    QAction* addAction(const QString& key, const QString& caption, const QIcon& icon,
                       void (SerCod::*handler)());
    void restoreWindow();
    void saveSettings();

    // Rows.
    void openQuery();
    void openStatement(const QString& statement);
    void setFilter(const QString& criteria);
    void requeryKeepingPosition(int32_t id);
    void refreshKeepingView();
    /// Makes the row of the code with this id current; false when it is not shown.
    bool findId(int32_t id);
    void refreshCounts();
    int currentRow() const;
    int rowCount() const;
    void selectOnly(int row);
    void clearSelection();
    void showSortMark(bool descending);

    // Actions.
    void newCode();
    void editCode();
    void deleteCodes();
    void importDental();
    void importCodes(int displayType);
    void searchClicked();
    void search(const QString& initialText);
    void restoreSearchButton();
    void okay();
    void print();
    void help();
    void closeClicked();
    void changeFees();
    void chooseCategoryClicked();
    bool chooseCategory();
    /// Shows the codes of category; when they cannot be read, what was shown stays.
    void showCategory(const QString& category, const QString& type, const QString& label);
    void sortByColumn(int column);
    /// Enter, a double-click and the Delete key over the grid: the toolbar action of that
    /// key on the selected rows, or on the current row when none is selected.
    void triggerRowAction(const char* key);
    void popupEdit();
    void popupDelete();
    void runToolbarAction(const std::function<void()>& action);

    /// Selection check: nullopt when nothing is selected ("Please select a code." shown
    /// when showNone); else the answer of the count message (shown when showCount), Yes
    /// when none was shown.
    std::optional<int> checkSelection(bool showNone, bool showCount, const QString& extra,
                                      int style);
    void openEditor(int32_t id, bool hideBackNext);
    void connectEditor(ServiceCodeEditorScreen& editor);
    void stepEditor(ServiceCodeEditorScreen& editor, int step, bool dataChanged);
    void selectPopupCode();

    QString m_category;
    QString m_type;
    QString m_label;
    QString m_query;
    QString m_searchText;
    QString m_feeTag;
    bool m_searchActive = false;
    bool m_busy = false;
    bool m_loaded = false;
    bool m_closingFromCode = false;
    int m_sortColumn = 2;

    tqplatform::Recordset m_rs;
    RecordGrid* m_grid = nullptr;
    QToolBar* m_toolbar = nullptr;
    QLabel* m_selectionLabel = nullptr;
    QPushButton* m_selectButton = nullptr;
    QLabel* m_mainPanel = nullptr;
    QLabel* m_countPanel = nullptr;
    QMenu* m_popup = nullptr;
    QMenu* m_importMenu = nullptr;
    QList<QAction*> m_popupItems;
    QAction* m_searchAction = nullptr;
    int m_popupRow = -1;
};

}  // namespace tqservicecode
