#include "CodesMenu.h"

#include <QMenu>

namespace tqdemo {

void addReferenceActions(QMenu& menu, const CodesMenuContext& context) {
    (void)menu;
    (void)context;
}

}  // namespace tqdemo
