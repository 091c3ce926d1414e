#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace tqservicecode {
class clsServiceCode;
}

namespace tqdemo {

/// One code of the picker's answer, as the host formatted it.
struct PickedCode {
    QString id;
    QString code;
    QString description;
    QString fee;
};

/// The picker's answer text split into its codes: one line per code, ended by a carriage
/// return, its fields (id, code, description, fee) separated by line feeds.
QList<PickedCode> splitPickerAnswer(const QString& answer);

/// The component's picking road: the options a host passes to the code picker, the
/// buttons that open it (codes for the chosen patient, or a category), and what it
/// returned.
class PickPanel : public QWidget {
    Q_OBJECT
public:
    struct Options {
        int16_t showFlag = 0;
        /// A category button's caption; "" opens on the user's saved default.
        QString category;
        bool singleSelection = false;
        bool expandExplosionCodes = true;
    };

    explicit PickPanel(tqservicecode::clsServiceCode& component, QWidget* parent = nullptr);

    void setPatient(int32_t id, const QString& name);
    Options options() const;
    void setOptions(const Options& options);

    /// Opens the picker for the chosen patient with the options and shows the answer.
    void selectCodes();
    /// Opens the picker in its category-choice mode and shows the category chosen.
    void chooseCategory();

private:
    QWidget* buildOptions();
    QWidget* buildAnswer();
    void showAnswer(const QString& answer, int16_t count);
    void showFlagChanged(int value);

    tqservicecode::clsServiceCode& m_component;
    int32_t m_patientId = 0;
    QString m_patientName;

    QSpinBox* m_showFlag = nullptr;
    QComboBox* m_flagPresets = nullptr;
    QComboBox* m_category = nullptr;
    QCheckBox* m_single = nullptr;
    QCheckBox* m_expand = nullptr;
    QLabel* m_count = nullptr;
    QTableWidget* m_codes = nullptr;
    QLineEdit* m_rawAnswer = nullptr;
    QLabel* m_categoryAnswer = nullptr;
};

}  // namespace tqdemo
