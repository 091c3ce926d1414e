#include <tqservicecode/patient/SelectToDoProvider.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/MainForm.h>
#include <tqservicecode/patient/DocList.h>
#include <tqservicecode/patient/ProviderList.h>

#include <tqplatform/ui.h>

namespace tqservicecode {

namespace {

/// The one place the provider list's answer reaches the host.
void writeProviderChoice(const ProviderChoice& choice) {
    switch (choice.step) {
        case ProviderChoice::Step::Opened:
            if (ScreenResultText() == protocol::CancelButton) {
                setScreenResultText(QString());
            }
            GIC().setScreenParameter(protocol::Cancel);
            GIC().setScreenNumber(0);
            break;
        case ProviderChoice::Step::Chosen:
            GIC().setSelectedID(choice.id);
            break;
        case ProviderChoice::Step::Closed:
            setScreenResultText(protocol::CancelButton);
            GIC().setSelectedID(0);
            break;
    }
}

}  // namespace

int32_t SelectToDoProvider() {
    tqGlobal::IHostServices& gic = GIC();
    gic.setScreenNumber(providers::EmployeeListNumber);
    DocList screen;
    screen.setAnswerSink(writeProviderChoice);
    screen.load();
    screen.setWindowTitle(QStringLiteral("Select a ToDoList Provider"));
    tqplatform::ui::showModal(screen, MainForm());
    return gic.SelectedID();
}

}  // namespace tqservicecode
