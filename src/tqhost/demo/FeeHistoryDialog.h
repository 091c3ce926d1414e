#pragma once

#include <QDialog>

#include <cstdint>

class QPushButton;
class QTableWidget;

namespace tqhost {
class PracticeHost;
}

namespace tqdemo {

/// A code's fee history: every recorded change of its four fees, newest first, and a
/// button that puts back the fees of the chosen change (for every code that change
/// touched) after a question. Object name "FeeHistory"; the table "tblHistory", the
/// button "cmdPutBack".
class FeeHistoryDialog : public QDialog {
    Q_OBJECT

public:
    FeeHistoryDialog(tqhost::PracticeHost& host, int32_t codeId, const QString& code,
                     QWidget* parent = nullptr);

    void reload();
    void putBackChosen();

private:
    tqhost::PracticeHost& m_host;
    int32_t m_codeId = 0;
    QTableWidget* m_table = nullptr;
    QPushButton* m_putBack = nullptr;
};

}  // namespace tqdemo
