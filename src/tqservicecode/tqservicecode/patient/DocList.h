#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tqservicecode {

/// The provider list's answer to its opener, handed over where it happens.
struct ProviderChoice {
    enum class Step {
        /// The list has read its kind: an earlier "CANCEL_BUTTON" is cleared, the answer
        /// starts as "CANCEL" and the list number is reset to 0.
        Opened,
        /// OK on a person: id is the person's pID.
        Chosen,
        /// Closed by any means but OK: "CANCEL_BUTTON" and no person.
        Closed
    };
    Step step = Step::Opened;
    int32_t id = 0;
};

/// A small list of the practice's people (the employee list) from which the user picks
/// one: OK leaves the person's pID in the host's SelectedID, Close leaves 0 there and
/// "CANCEL_BUTTON" in ScreenResultText. The window's size is kept per user in a size
/// file under the data folder's STP folder.
class DocList : public QDialog {
    Q_OBJECT
public:
    explicit DocList(QWidget* parent = nullptr);
    ~DocList() override;

    /// Where the list hands its answer; set by the opener before load().
    void setAnswerSink(std::function<void(const ProviderChoice&)> sink) {
        m_answerSink = std::move(sink);
    }

    /// Reads the list kind from the host's ScreenNumber (its opener resets it to 0), fills the
    /// list and applies the user's saved size.
    void load();

    /// Closing by any means but OK answers as "&Close" does.
    void reject() override;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The screen's controls; tests and hosts find them by these object names.
    QListWidget* lstDoc = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdClose = nullptr;
    QPushButton* cmdHelp = nullptr;

    void buildControls();
    void fillList(const QString& typeField);
    void applySavedSize();
    void saveSize();
    void okClicked();
    void helpClicked();
    void entryDoubleClicked(QListWidgetItem* item);
    void answer(const ProviderChoice& choice) const;

    QString m_sizeFile;
    std::function<void(const ProviderChoice&)> m_answerSink;
};

}  // namespace tqservicecode
