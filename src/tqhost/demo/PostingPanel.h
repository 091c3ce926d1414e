#pragma once

#include <QString>
#include <QWidget>

#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace tqservicecode {
class clsServiceCode;
}

namespace tqdemo {

/// The component's posting road: posts one to-do or letter item for the chosen patient,
/// the code typed or picked in the to-do list, and shows the new transaction.
class PostingPanel : public QWidget {
    Q_OBJECT
public:
    explicit PostingPanel(tqservicecode::clsServiceCode& component, QWidget* parent = nullptr);

    void setPatient(int32_t id, const QString& name);
    /// Posts an item with the comment, code and to-do-only choice in the panel.
    void post();

signals:
    /// An item was posted (id > 0) or the user stopped on the way (id 0).
    void posted(int32_t transactionId);

private:
    tqservicecode::clsServiceCode& m_component;
    int32_t m_patientId = 0;
    QString m_patientName;

    QLabel* m_patient = nullptr;
    QPlainTextEdit* m_comment = nullptr;
    QLineEdit* m_code = nullptr;
    QCheckBox* m_toDoOnly = nullptr;
    QLabel* m_result = nullptr;
};

}  // namespace tqdemo
