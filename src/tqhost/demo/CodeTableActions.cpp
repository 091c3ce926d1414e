#include "CodesMenu.h"
#include "MainWindow.h"

#include <tqhost/PracticeHost.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/grid/frmExportOpts.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ui.h>

#include <QAction>
#include <QDir>
#include <QMenu>

namespace tqdemo {

namespace {

/// What the code list returned, one code a line: "D0120  Periodic exam  45.00". Closed
/// without choosing, the list answers "0" or "" (no code lines at all).
QString describeReturnedCodes(const QString& answer) {
    QStringList lines;
    const bool noCodes = answer.trimmed().isEmpty() || answer.trimmed() == QStringLiteral("0");
    for (const QString& line :
         noCodes ? QStringList() : answer.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\n'));
        lines << (fields.size() >= 4 ? fields[1] + QStringLiteral("  ") + fields[2] +
                                           QStringLiteral("  ") + fields[3]
                                     : line);
    }
    if (lines.isEmpty()) {
        return QStringLiteral(
                   "The code list was closed without choosing a code (it returned "
                   "\"%1\").")
            .arg(answer);
    }
    return QStringLiteral("The code list returned %1 code%2:\n\n")
               .arg(lines.size())
               .arg(lines.size() == 1 ? QString() : QStringLiteral("s")) +
           lines.join(QLatin1Char('\n'));
}

/// Opens the export window over a grid of the whole code table, as a host offers the
/// export of any list it shows.
void exportCodeList(tqhost::PracticeHost& host, QWidget* owner) {
    tqplatform::Recordset rows = host.connection().OpenRecordset(host.TranslateSql(
        QStringLiteral("SELECT SevCodCod, SevCodDes, SevCodCat, SevCodFee1, SevCodID FROM "
                       "SevCodTable WHERE ") +
            host.GetScopeFilter(QStringLiteral("SevCodTable")) +
            QStringLiteral("NOT (SevCodCod IN ('CCRMB', 'CCRFN', 'CCPMT')) ORDER BY SevCodCod"),
        0));
    tqservicecode::RecordGrid grid;
    grid.addColumn(0, {QStringLiteral("Code"), QStringLiteral("SevCodCod")});
    grid.addColumn(1, {QStringLiteral("Description"), QStringLiteral("SevCodDes")});
    grid.addColumn(2, {QStringLiteral("Category"), QStringLiteral("SevCodCat")});
    grid.addColumn(3,
                   {QStringLiteral("Fee 1"), QStringLiteral("SevCodFee1"), QStringLiteral("0.00")});
    grid.setDataSource(&rows);
    tqservicecode::frmExportOpts window;
    window.Setup_Bound_Export(grid, rows);
    window.setFileName(QDir(host.GetDataPath()).filePath(QStringLiteral("codes.csv")));
    tqplatform::ui::showModal(window, owner);
    if (!window.Canceled()) {
        tqplatform::ui::msgBox(QStringLiteral("The code list was written to %1.")
                                   .arg(QDir::toNativeSeparators(window.FileName())),
                               tqplatform::ui::Buttons::Information,
                               QStringLiteral("Export the code list"));
    }
}

}  // namespace

void addCodeTableActions(QMenu& menu, const CodesMenuContext& context) {
    QAction* list = menu.addAction(QStringLiteral("Service code list\u2026"));
    list->setObjectName(QStringLiteral("actServiceCodeList"));
    list->setStatusTip(QStringLiteral("Maintain the code table and return the chosen codes"));
    tqhost::PracticeHost& host = context.host;
    tqservicecode::clsServiceCode& component = context.component;
    QObject::connect(list, &QAction::triggered, &menu, [&host, &component] {
        tqplatform::ui::guard([&] {
            // A value left from an earlier call must not change the next screen.
            host.setScreenParameter(QString());
            host.setScreenText(QString());
            host.setScreenOption(QString());
            const QString answer = component.ServiceCodeList();
            tqplatform::ui::msgBox(describeReturnedCodes(answer),
                                   tqplatform::ui::Buttons::Information,
                                   QStringLiteral("Service code list"));
        });
    });
    QAction* exporting = menu.addAction(QStringLiteral("Export the code list\u2026"));
    exporting->setObjectName(QStringLiteral("actExportCodeList"));
    exporting->setStatusTip(QStringLiteral("Write the code table to a delimited text file"));
    MainWindow& window = context.window;
    QObject::connect(exporting, &QAction::triggered, &menu, [&host, &window] {
        tqplatform::ui::guard([&] { exportCodeList(host, &window); });
    });
}

}  // namespace tqdemo
