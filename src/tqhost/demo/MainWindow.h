#pragma once

#include <QMainWindow>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace tqhost {
class PracticeHost;
}

namespace tqdemo {

/// The demo host's main window: the practice's patients, and a code box that looks a
/// typed code up through the component's store and shows what it found.
class MainWindow : public QMainWindow {
public:
    explicit MainWindow(std::shared_ptr<tqhost::PracticeHost> host, QWidget* parent = nullptr);

    /// Fills the patient list from the practice database.
    void reloadPatients();
    /// Looks the code up as a user would type it and shows the result.
    void lookUp(const QString& code);
    /// Selects the patient at row (0 is the first).
    void selectPatientRow(int row);

private:
    QWidget* buildPatientPanel();
    QWidget* buildLookupPanel();
    void showNotFound(const QString& typed);
    void markPatientFee();

    std::shared_ptr<tqhost::PracticeHost> m_host;
    QTableWidget* m_patients = nullptr;
    QLineEdit* m_codeBox = nullptr;
    QPushButton* m_lookUp = nullptr;
    QLabel* m_result = nullptr;
    QLabel* m_code = nullptr;
    QLabel* m_officeCode = nullptr;
    QLabel* m_insuranceCode = nullptr;
    QLabel* m_description = nullptr;
    QLabel* m_type = nullptr;
    QLabel* m_category = nullptr;
    QLabel* m_subCategory = nullptr;
    std::array<QLabel*, 4> m_feeNames{};
    std::array<QLabel*, 4> m_fees{};
};

}  // namespace tqdemo
