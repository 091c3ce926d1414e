#pragma once

#include <tqservicecode/maintenance/ServiceCodeEditorScreen.h>

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;

namespace tqservicecode {

/// The service code editor: one SevCodTable row in seventeen bound boxes (Text1_ES_0 to
/// Text1_ES_16), the type, category and sub-category chosen from one drop list (List1_ES),
/// the cursor-stop options (Option3D1_ES_0 to _26), and the buttons Command3D2_0 to _3
/// (close, "&Cancel", "&Save", "&New"), CMD_NextBack_0/1 ("< &Back", "Ne&xt >"),
/// ExtraButton_0/1 ("Yes to all", "No to all"), cmdLetter and CalculatorButton_0 to _3.
/// Command3D2_0 is the window's own close (the close box and Escape press it).
class Edit_Ser_Code : public QDialog, public ServiceCodeEditorScreen {
    Q_OBJECT

public:
    explicit Edit_Ser_Code(QWidget* parent = nullptr);
    ~Edit_Ser_Code() override;

    // ServiceCodeEditorScreen.
    int32_t SevCodID() const override { return m_sevCodID; }
    void setSevCodID(int32_t id) override { m_sevCodID = id; }
    void setHideBackNext(bool hide) override;
    void Init_Data() override;
    QString boxText(int index) const override;
    void setBoxText(int index, const QString& text) override;
    ServiceCodeEditorEvents& events() override { return m_events; }

    bool HideBackNext() const { return m_hideBackNext; }
    QString SevCodDesc() const { return m_sevCodDesc; }
    QString SevCodCod() const { return m_sevCodCod; }
    QString SevCodOffCod() const { return m_sevCodOffCod; }
    int32_t SevCodDrID() const { return m_sevCodDrID; }
    /// Whether the user changed the record since it was loaded or saved.
    bool isChanged() const { return m_changed; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    void done(int result) override;

private:
    QWidget* buildFields();
    QWidget* buildCursorStops();
    QWidget* buildButtons();
    void connectBoxes();

    void load();
    void setOptionsFromBoxes();
    void selectOption(int option, bool select);
    void optionClicked(int option);
    void setBillableEnabled(bool enabled);
    void boxEdited(int box);
    void markChanged();
    void feeLeft(int box);
    void taxLeft();
    void descriptionLeft(int box);
    void moveOnEnter(int box);

    void showTypes();
    void showCategories();
    void showSubCategories();
    void showList(int box, const QStringList& entries, const QStringList& stored);
    void listChosen(QListWidgetItem* item);
    void hideList();

    bool validate();
    bool duplicateAllowed();
    void setLettersFromOptions();
    bool save();
    void refreshPublic();
    void resetPublic();

    void finish(int result);
    void closeClicked();
    void cancelClicked();
    void saveClicked();
    bool saveAndReset();
    void newClicked();
    void backNextClicked(bool next);
    void allOptions(bool yes);
    void calculatorClicked(int fee);
    void letterClicked();

    std::array<QLineEdit*, 17> Text1_ES{};
    std::array<QPushButton*, 3> Command3D1_ES{};
    QListWidget* List1_ES = nullptr;
    std::array<QRadioButton*, 27> Option3D1_ES{};
    std::array<QButtonGroup*, 10> m_groups{};
    std::array<QLabel*, 9> m_stopLabels{};
    std::array<QPushButton*, 4> Command3D2{};
    std::array<QPushButton*, 2> CMD_NextBack{};
    QLabel* m_savedLine = nullptr;

    ServiceCodeEditorEvents m_events;
    int32_t m_sevCodID = 0;
    QString m_sevCodDesc;
    QString m_sevCodCod;
    QString m_sevCodOffCod;
    int32_t m_sevCodDrID = 0;
    bool m_hideBackNext = false;
    bool m_changed = false;
    bool m_loading = false;
    bool m_closing = false;
    int m_listFor = -1;
    QStringList m_listStored;
    /// The descriptions whose long-text notice was shown, so that it shows once per text.
    std::array<QString, 2> m_noticeShownFor;
};

}  // namespace tqservicecode
