#pragma once

#include <QDialog>
#include <QString>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace tqservicecode {

/// A small list of the practice's people (the employee list) from which the user picks
/// one: OK leaves the person's pID in the host's SelectedID, Close leaves 0 there and
/// "CANCEL_BUTTON" in ScreenResultText. The window's size is kept per user in a size
/// file under the data folder's STP folder.
class DocList : public QDialog {
    Q_OBJECT
public:
    explicit DocList(QWidget* parent = nullptr);
    ~DocList() override;

    /// Reads the list kind from the host's ScreenNumber (and resets it to 0), fills the
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

    QString m_sizeFile;
};

}  // namespace tqservicecode
