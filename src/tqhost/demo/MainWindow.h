#pragma once

#include <QMainWindow>

#include <cstdint>
#include <memory>

class QAction;
class QTabWidget;
class QTableWidget;

namespace tqhost {
class PracticeHost;
}
namespace tqservicecode {
class clsServiceCode;
}

namespace tqdemo {

class LookupPanel;
class PatientItemsView;
class PickPanel;
class PostingPanel;

/// The demo host's main window: the practice's patients with the chosen patient's ledger
/// and notes, and panels that call the component's operations for that patient
/// (select codes, choose a category, post a to-do item, look a code up).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(std::shared_ptr<tqhost::PracticeHost> host, tqservicecode::clsServiceCode& component,
               QWidget* parent = nullptr);

    /// Fills the patient list from the practice database, keeping the chosen patient.
    void reloadPatients();
    /// Selects the patient at row (0 is the first).
    void selectPatientRow(int row);
    /// The chosen patient's id, 0 for none.
    int32_t currentPatientId() const { return m_patientId; }

    PickPanel& pickPanel() const { return *m_pick; }
    PostingPanel& postingPanel() const { return *m_posting; }
    LookupPanel& lookupPanel() const { return *m_lookup; }
    PatientItemsView& itemsView() const { return *m_items; }
    /// Brings a panel's tab to the front; the look-up tab gets the cursor in its box.
    void showPanel(QWidget* panel);
    /// Sizes the window to its screen: never larger than the room available, a little
    /// less than it on a large screen, and centres it.
    void fitToScreen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    QWidget* buildPatientPanel();
    void patientChosen();
    void selectCodes();
    void chooseCategory();
    void postItem();
    void lookUpCode();

    std::shared_ptr<tqhost::PracticeHost> m_host;
    tqservicecode::clsServiceCode& m_component;
    int32_t m_patientId = 0;
    QTableWidget* m_patients = nullptr;
    QTabWidget* m_tabs = nullptr;
    PickPanel* m_pick = nullptr;
    PostingPanel* m_posting = nullptr;
    LookupPanel* m_lookup = nullptr;
    PatientItemsView* m_items = nullptr;
    QAction* m_selectAction = nullptr;
    QAction* m_categoryAction = nullptr;
    QAction* m_postAction = nullptr;
    QAction* m_lookupAction = nullptr;
};

}  // namespace tqdemo
