#include <tqservicecode/patient/SelectToDoProvider.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/MainForm.h>
#include <tqservicecode/patient/DocList.h>
#include <tqservicecode/patient/ProviderList.h>

#include <tqplatform/ui.h>

namespace tqservicecode {

int32_t SelectToDoProvider() {
    tqGlobal::IHostServices& gic = GIC();
    gic.setScreenNumber(providers::EmployeeListNumber);
    DocList screen;
    screen.load();
    screen.setWindowTitle(QStringLiteral("Select a ToDoList Provider"));
    tqplatform::ui::showModal(screen, MainForm());
    return gic.SelectedID();
}

}  // namespace tqservicecode
