#include "CodesMenu.h"

#include <QMenu>

namespace tqdemo {

void addCodeTableActions(QMenu& menu, const CodesMenuContext& context) {
    (void)menu;
    (void)context;
}

}  // namespace tqdemo
