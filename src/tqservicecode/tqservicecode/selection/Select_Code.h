#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QListView;
class QModelIndex;
class QPushButton;
class QTimer;

namespace tqplatform {
class Recordset;
namespace ui {
class WaitCursor;
}
}  // namespace tqplatform

namespace tqservicecode {

class PickerListModel;

/// The picker's answer to its opener, handed over where it happens.
struct PickerAnswer {
    enum class Kind {
        /// The category chooser's choice: category is its stored name, type its type.
        Category,
        /// OK: codes holds the host's answers for the codes it accepted so far, each ended
        /// by a carriage return ("" before the first and when the hand-over is taken back).
        Codes,
        /// "List": the user asked to edit the service codes.
        EditList
    };
    Kind kind = Kind::Codes;
    QString category{};
    QString type{};
    QString codes{};
};

/// The code picker: category buttons on the left, the codes of the chosen category
/// (List1) priced by the patient's fee schedule, the chosen codes (List2) with a running
/// total, and a box (Text1) to type a code. In category-choice mode ("BUTTONS") it only
/// lets the user choose a category.
class Select_Code : public QDialog {
    Q_OBJECT
public:
    /// How many codes the user may choose: one (the opener's "SINGLE") or any number.
    enum class SelectionMode { Multiple, Single };

    static constexpr int BatchLimit = 25;
    /// Lines filled at once when a category is pressed; the rest follow in slices.
    static constexpr int FirstScreenRows = 100;

    explicit Select_Code(QWidget* parent = nullptr);
    ~Select_Code() override;

    /// Reads the opener's options from the host and prepares the screen: the patient's
    /// fee schedule, or the category-choice mode.
    void load();

    /// Where the picker hands its answer; set by the opener before load().
    void setAnswerSink(std::function<void(const PickerAnswer&)> sink) {
        m_answerSink = std::move(sink);
    }
    /// Selects a category before the screen is shown (fills the code list at once).
    void Click_Button_B4_Load(int index);

    bool ExpandServiceCode() const { return m_expandServiceCode; }
    void setExpandServiceCode(bool expand) { m_expandServiceCode = expand; }
    void setSelectionMode(SelectionMode mode) { m_selectionMode = mode; }
    SelectionMode selectionMode() const { return m_selectionMode; }
    bool singleSelection() const { return m_selectionMode == SelectionMode::Single; }

    int feeSchedule() const { return m_feeSchedule; }
    QString feeColumn() const;
    /// The type of the pressed category ("" for all).
    const QString& currentType() const { return m_currentType; }
    /// The stored category name of the pressed button ("" for all).
    QString currentCategory() const;
    int currentButton() const { return m_currentButton; }
    /// Which category buttons are enabled; the opener narrows them by its show flag.
    std::array<bool, 27> enabledCategories() const;
    void setEnabledCategories(const std::array<bool, 27>& enabled);
    /// Whether a category fill or a click is being handled: further clicks wait.
    bool isBusy() const { return m_busy; }
    /// Whether lines of the pressed category are still being added.
    bool isFilling() const;
    bool categoryChoiceMode() const { return m_buttonsMode; }

    PickerListModel& codeList() const { return *m_codeList; }
    PickerListModel& chosenList() const { return *m_chosenList; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    // The screen's controls; tests and hosts find them by these object names.
    std::array<QPushButton*, 27> cmdCategory{};
    std::array<QPushButton*, 4> CMD{};
    QListView* List1 = nullptr;
    QListView* List2 = nullptr;
    QLineEdit* Text1 = nullptr;
    QCheckBox* chkDefault = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Tot_Sel_LBL = nullptr;

    class BusyGuard;
    void buildControls();
    void categoryClicked(int index);
    void refill();
    void fillCodeList(int index);
    /// Moves up to maxRows read rows, as many as a slice's time allows, into the code list.
    void fillSlice(int maxRows);
    void continueFill();
    void finishFill();
    void updateCodeColumn();
    void codeLineClicked(const QModelIndex& index, bool byMouse);
    void codeLineKeyed();
    void highlightChosenLines();
    void chosenLineClicked(const QModelIndex& index);
    void codeTyped();
    /// Adds the members of a code to List2, all or none; answers how many.
    int addExpandedCode(int32_t id, const QModelIndex& sourceLine);
    void removeChosenRow(int row);
    void unhighlightCodeLine(int32_t id);
    void updateTotal();
    void okClicked();
    void listClicked();
    void editClicked();
    void answer(const PickerAnswer& result) const;
    void defaultToggled(bool checked);
    bool handleEnterOrEscape(int key);
    void setBusy(bool busy) { m_busy = busy; }

    PickerListModel* m_codeList = nullptr;
    PickerListModel* m_chosenList = nullptr;
    int m_feeSchedule = 1;
    int m_currentButton = -1;
    QString m_currentType;
    bool m_expandServiceCode = false;
    bool m_buttonsMode = false;
    SelectionMode m_selectionMode = SelectionMode::Multiple;
    bool m_busy = false;
    // The code list's fill: the rows read and not yet added, and what follows it.
    std::unique_ptr<tqplatform::Recordset> m_pendingRows;
    std::unique_ptr<tqplatform::ui::WaitCursor> m_hourglass;
    QTimer* m_fillTimer = nullptr;
    std::function<void()> m_afterFill;
    std::function<void(const PickerAnswer&)> m_answerSink;
};

}  // namespace tqservicecode
