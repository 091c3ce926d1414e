#include "CodesMenu.h"
#include "MainWindow.h"

#include <tqhost/PracticeHost.h>
#include <tqservicecode/clsServiceCode.h>

#include <tqplatform/ui.h>

#include <QAction>
#include <QMenu>

namespace tqdemo {

namespace {

/// What the code list returned, one code a line: "D0120  Periodic exam  45.00".
QString describeReturnedCodes(const QString& answer) {
    QStringList lines;
    for (const QString& line : answer.split(QLatin1Char('\r'), Qt::SkipEmptyParts)) {
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
}

}  // namespace tqdemo
