#include <tqservicecode/reference/ReferenceCodesLauncher.h>

#include <tqservicecode/forms/MainForm.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/reference/ReferenceCodeScreen.h>

#include <tqplatform/ui.h>

#include <QDialog>

#include <memory>

namespace tqservicecode {

void ShowReferenceCodes(int32_t displayType, const QString& searchText) {
    std::unique_ptr<QDialog> screen = ScreenFactory::create(ReferenceCodeScreenName);
    if (!screen) {
        return;
    }
    if (auto* codes = dynamic_cast<ReferenceCodeScreen*>(screen.get())) {
        codes->SetupScreen(displayType, searchText);
    }
    tqplatform::ui::showModal(*screen, MainForm());
}

}  // namespace tqservicecode
