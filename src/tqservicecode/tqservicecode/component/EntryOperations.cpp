#include <tqservicecode/component/EntryOperations.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/MainForm.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/maintenance/ServiceCodeEditorScreen.h>
#include <tqservicecode/selection/PickerCategories.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqplatform/ui.h>

#include <QPushButton>
#include <QWidget>

namespace tqservicecode {

namespace {

/// The window that owns the picker: a window given by the caller, the host's main
/// window when none is given, and none for any other kind of object.
QWidget* ownerFor(QObject* owner) {
    if (owner == nullptr) {
        return MainForm();
    }
    auto* widget = qobject_cast<QWidget*>(owner);
    return widget != nullptr && widget->isWindow() ? widget : nullptr;
}

/// The one place the picker's answer reaches the host.
void writePickerAnswer(const PickerAnswer& result) {
    switch (result.kind) {
        case PickerAnswer::Kind::Category:
            GIC().setScreenParameter(result.category);
            setScreenResultText(result.type);
            break;
        case PickerAnswer::Kind::Codes:
            GIC().setScreenReturn(result.codes);
            break;
        case PickerAnswer::Kind::EditList:
            GIC().setScreenReturn(protocol::EditServiceCode);
            break;
    }
}

/// Shows the service code browser, when the component has one, over owner.
void showServiceCodeBrowser(QWidget* owner) {
    if (std::unique_ptr<QDialog> browser = ScreenFactory::create(ServiceCodeBrowserScreenName)) {
        tqplatform::ui::showModal(*browser, owner);
    }
}

}  // namespace

void selectServiceCodes(int16_t& showFlag, int32_t& patientId, QString& inCategoryName,
                        QString& returnCode, int16_t& numCode, QString& selectionMode,
                        bool expandServiceCode, QObject* owner) {
    tqGlobal::IHostServices& gic = GIC();
    QWidget* ownerWindow = ownerFor(owner);
    returnCode.clear();
    numCode = 0;
    // The count answered is that of this call's screens: the code list leaves the count of
    // the codes it returned raised, and a picker closed without choosing sets none.
    setSelectedCodeCount(0);
    gic.setScreenReturn(QString());
    gic.setPatientID(patientId);

    tqplatform::ui::doEvents();
    Select_Code picker;
    picker.setAnswerSink(writePickerAnswer);
    tqplatform::ui::doEvents();
    picker.load();
    tqplatform::ui::doEvents();

    picker.setSelectionMode(selectionMode == protocol::SingleSelection
                                ? Select_Code::SelectionMode::Single
                                : Select_Code::SelectionMode::Multiple);

    QString category = inCategoryName;
    if (category.isEmpty()) {
        category = gic.GetUserSetting(protocol::UserSettingsSection + gic.GetCurrentUserName(),
                                      protocol::DefaultCategoryKey, 0, protocol::AllCategories);
    }
    int chosen = picker::buttonForCategory(category);

    picker::EnabledButtons enabled = picker.enabledCategories();
    picker::applyShowFlag(showFlag, enabled);
    picker.setEnabledCategories(enabled);
    const int16_t workingFlag = picker::normalisedShowFlag(showFlag);
    chosen = picker::startingButton(chosen, enabled);

    picker.Click_Button_B4_Load(chosen);
    gic.setPatientID(patientId);
    gic.setScreenText(QString::number(workingFlag));
    picker.setExpandServiceCode(expandServiceCode);

    tqplatform::ui::showModal(picker, ownerWindow);

    if (gic.ScreenReturn() == protocol::EditServiceCode) {
        gic.setScreenText(QString::number(workingFlag));
        showServiceCodeBrowser(ownerWindow);
    }
    numCode = SelectedCodeCount();
    gic.setScreenText(QString());
    returnCode = gic.ScreenReturn();
    gic.setScreenReturn(QString());
    setSelectedCodeCount(0);
    tqplatform::ui::doEvents();
    int16_t notification = 1;
    gic.RefreshHost(notification);
}

QString openServiceCodeList() {
    tqGlobal::IHostServices& gic = GIC();
    gic.setScreenReturn(QStringLiteral("0"));
    QString result;
    showServiceCodeBrowser(MainForm());
    if (!gic.ScreenReturn().isEmpty()) {
        result = gic.ScreenReturn();
    }
    return result;
}

QString chooseServiceCodeCategory() {
    tqGlobal::IHostServices& gic = GIC();
    QString result;
    gic.setScreenReturn(QStringLiteral("0"));
    gic.setScreenParameter(protocol::Buttons);
    Select_Code picker;
    picker.setAnswerSink(writePickerAnswer);
    picker.load();
    tqplatform::ui::showModal(picker, MainForm());
    const QString parameter = gic.ScreenParameter();
    if (parameter != protocol::Buttons) {
        if (parameter.isEmpty()) {
            gic.setScreenParameter(protocol::AllCategories);
        }
        result = gic.ScreenParameter();
    }
    return result;
}

}  // namespace tqservicecode
