#include "CodesMenu.h"

#include <tqservicecode/reference/ReferenceCodeSets.h>
#include <tqservicecode/reference/ReferenceCodesLauncher.h>

#include <tqplatform/ui.h>

#include <QMenu>

namespace tqdemo {

/// "Look up reference codes": the reference browser on each published set, from which a
/// code can be imported into the practice's table.
void addReferenceActions(QMenu& menu, const CodesMenuContext& context) {
    (void)context;
    QMenu* lookUp = menu.addMenu(QStringLiteral("Look up reference codes"));
    lookUp->setObjectName(QStringLiteral("mnuReferenceCodes"));
    for (const tqservicecode::reference::CodeSet& set : tqservicecode::reference::codeSets()) {
        QAction* action = lookUp->addAction(set.caption);
        action->setObjectName(QStringLiteral("actReference") + set.prefix);
        const int32_t displayType = set.displayType;
        QObject::connect(action, &QAction::triggered, lookUp, [displayType] {
            tqplatform::ui::guard(
                [displayType] { tqservicecode::ShowReferenceCodes(displayType, QString()); });
        });
    }
}

}  // namespace tqdemo
