#pragma once

class QMenu;

namespace tqhost {
class PracticeHost;
}
namespace tqservicecode {
class clsServiceCode;
}

namespace tqdemo {

class MainWindow;

/// What the actions of the Codes menu work with.
struct CodesMenuContext {
    tqhost::PracticeHost& host;
    tqservicecode::clsServiceCode& component;
    MainWindow& window;
};

/// The Codes menu is built from one file of actions per area, in this order.
void addCodeTableActions(QMenu& menu, const CodesMenuContext& context);
void addFeeHistoryActions(QMenu& menu, const CodesMenuContext& context);
void addReferenceActions(QMenu& menu, const CodesMenuContext& context);
void addLetterActions(QMenu& menu, const CodesMenuContext& context);

}  // namespace tqdemo
