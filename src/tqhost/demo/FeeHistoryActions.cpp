#include "CodesMenu.h"
#include "FeeHistoryDialog.h"
#include "MainWindow.h"

#include <tqhost/PracticeHost.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ui.h>

#include <QAction>
#include <QMenu>

namespace tqdemo {

/// Codes / Fee history: asks for a code and shows the recorded changes of its fees.
void addFeeHistoryActions(QMenu& menu, const CodesMenuContext& context) {
    QAction* action = menu.addAction(QStringLiteral("Fee &history..."));
    action->setObjectName(QStringLiteral("FeeHistory"));
    action->setStatusTip(QStringLiteral("The changes of a code's fees, and putting one back"));
    tqhost::PracticeHost* host = &context.host;
    MainWindow* window = &context.window;
    QObject::connect(action, &QAction::triggered, window, [host, window] {
        const QString code =
            tqplatform::ui::inputBox(QStringLiteral("The code whose fee history to show:"),
                                     QStringLiteral("Fee history"))
                .trimmed();
        if (code.isEmpty()) {
            return;
        }
        int32_t id = 0;
        const bool found = tqplatform::ui::guard([&] {
            tqplatform::Recordset rows = host->connection().OpenRecordset(
                host->TranslateSql(QStringLiteral("SELECT SevCodID FROM SevCodTable WHERE ") +
                                       host->GetScopeFilter(QStringLiteral("SevCodTable")) +
                                       QStringLiteral("SevCodCod = ") + host->SqlText(code),
                                   1));
            id = rows.Eof() ? 0 : rows.Fields(0).toInt();
        });
        if (!found) {
            return;
        }
        if (id == 0) {
            tqplatform::ui::msgBox(QStringLiteral("There is no code ") + code + QLatin1Char('.'),
                                   tqplatform::ui::Buttons::Information);
            return;
        }
        FeeHistoryDialog dialog(*host, id, code, window);
        tqplatform::ui::showModal(dialog, window);
    });
}

}  // namespace tqdemo
