#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace tqdemo {

/// A code box that looks a typed code up through the component's store and shows the
/// row it found, the chosen patient's fee standing out.
class LookupPanel : public QWidget {
    Q_OBJECT
public:
    explicit LookupPanel(QWidget* parent = nullptr);

    /// Looks the code up as a user would type it and shows the result.
    void lookUp(const QString& code);
    /// Puts the cursor in the code box, its text selected for typing over.
    void focusCodeBox();
    /// The fee schedule (1 to 4) of the chosen patient; 0 for none.
    void setPatientFeeSchedule(int schedule);

private:
    void showNotFound(const QString& typed);
    void markPatientFee();

    int m_schedule = 0;
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
