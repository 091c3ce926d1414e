#pragma once

#include <tqservicecode/reference/CodeSearchScreen.h>

#include <tqplatform/Recordset.h>

#include <QDialog>
#include <QString>

#include <cstdint>

class QComboBox;
class QLabel;
class QPushButton;
class QToolBar;

namespace tqservicecode {

class RecordGrid;

/// The service code search window: finds every code of the practice whose code, office
/// code or description holds the typed text, shows them in a grid (TDBG) coloured by type,
/// and answers the chosen one. In a medical practice its Import menu opens the reference
/// code browser on a published set and refreshes the list afterwards.
class frmSearchSCode : public QDialog, public CodeSearchScreen {
    Q_OBJECT
public:
    explicit frmSearchSCode(QWidget* parent = nullptr);
    ~frmSearchSCode() override;

    void SetupScreen(int32_t arg1, int32_t arg2) override;
    void setStartText(const QString& text) override;
    int32_t SelectionID() const override { return m_selectionId; }
    QString Selection() const override { return m_selection; }
    void setSelectionID(int32_t id) { m_selectionId = id; }
    void setSelection(const QString& text) { m_selection = text; }

    /// Runs the search for the text of the combo box.
    void Find_Codes();
    /// The result list (closed before the first search).
    const tqplatform::Recordset& list() const { return m_list; }

    /// How a column's cells and heading are aligned: money right, the rest left.
    Qt::Alignment columnAlignment(int column) const;

    void reject() override;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QToolBar* TB = nullptr;
    QComboBox* dbcSCode = nullptr;
    QPushButton* cmdFind = nullptr;
    QLabel* lblStatus = nullptr;
    RecordGrid* TDBG = nullptr;

    void buildControls();
    void Setup_TDBG();
    void Set_FormSize();
    void findClicked();
    void okay();
    void importCodes(int32_t displayType, const QString& text);
    void refreshAfterImport();
    void setTabOrder();
    /// The status line: how many codes were found, or in words that none matched.
    void showFound();

    tqplatform::Recordset m_list;
    int32_t m_selectionId = 0;
    QString m_selection;
    bool m_gridSetUp = false;
};

}  // namespace tqservicecode
