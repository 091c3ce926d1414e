#pragma once

#include <QList>
#include <QString>
#include <QWidget>

#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
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

/// The caption of the picker's category button that a stored category (the category
/// choice's answer, such as "Surgery") stands for: the picker opens on a caption
/// ("Oral Surgery"). "ALL" is the "All" button; anything else is answered unchanged.
QString categoryCaption(const QString& storedCategory);

/// The component's picking road: which categories the picker offers and where it
/// starts, the buttons that open it (codes for the chosen patient, or a category), and
/// the codes chosen, which are posted to the patient's ledger.
class PickPanel : public QWidget {
    Q_OBJECT
public:
    struct Options {
        /// The picker's button mask (0 every category); a mask not offered means 0.
        int16_t showFlag = 0;
        /// A category button's caption; "" opens on the user's saved default.
        QString category;
        bool singleSelection = false;
        bool expandExplosionCodes = true;
    };

    explicit PickPanel(tqservicecode::clsServiceCode& component, QWidget* parent = nullptr);

    /// Another patient clears the codes shown.
    void setPatient(int32_t id, const QString& name);
    Options options() const;
    void setOptions(const Options& options);

    /// Opens the picker for the chosen patient, shows the codes chosen and posts them.
    void selectCodes();
    /// Opens the category choice; the category chosen becomes the picker's start.
    void chooseCategory();

signals:
    /// Codes were posted to the chosen patient's ledger.
    void posted();

private:
    QWidget* buildOptions();
    QWidget* buildAnswer();
    void clearAnswer(const QString& status);
    void showAnswer(const QList<PickedCode>& codes);
    void post(const QList<PickedCode>& codes);

    tqservicecode::clsServiceCode& m_component;
    int32_t m_patientId = 0;
    QString m_patientName;

    QComboBox* m_offered = nullptr;
    QComboBox* m_category = nullptr;
    QCheckBox* m_single = nullptr;
    QCheckBox* m_expand = nullptr;
    QLabel* m_status = nullptr;
    QTableWidget* m_codes = nullptr;
    QLabel* m_categoryAnswer = nullptr;
};

}  // namespace tqdemo
