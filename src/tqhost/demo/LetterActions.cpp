#include "CodesMenu.h"

#include <QMenu>

namespace tqdemo {

void addLetterActions(QMenu& menu, const CodesMenuContext& context) {
    (void)menu;
    (void)context;
}

}  // namespace tqdemo
