#include <tqservicecode/forms/MainForm.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/reference/CodeSearchLauncher.h>
#include <tqservicecode/reference/CodeSearchScreen.h>

#include <tqplatform/ui.h>

#include <QDialog>

namespace tqservicecode {

int32_t searchServiceCode(const QString& startText, int32_t arg1, int32_t arg2) {
    std::unique_ptr<QDialog> screen = ScreenFactory::create(CodeSearchScreenName);
    auto* search = dynamic_cast<CodeSearchScreen*>(screen.get());
    if (search == nullptr) {
        return 0;
    }
    search->SetupScreen(arg1, arg2);
    search->setStartText(startText);
    tqplatform::ui::showModal(*screen, MainForm());
    return search->SelectionID();
}

}  // namespace tqservicecode
