#include <tqservicecode/clsServiceCode.h>

#include <tqservicecode/component/EntryOperations.h>
#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/patient/PatientManagementPosting.h>

namespace tqservicecode {

clsServiceCode::clsServiceCode() = default;
clsServiceCode::~clsServiceCode() = default;

void clsServiceCode::setDAC(std::shared_ptr<tqGlobal::HostObject> value) {
    context().dac = std::move(value);
}
std::shared_ptr<tqGlobal::HostObject> clsServiceCode::DAC() const {
    return context().dac;
}
void clsServiceCode::setGIC(std::shared_ptr<tqGlobal::IHostServices> value) {
    context().gic = std::move(value);
}
std::shared_ptr<tqGlobal::IHostServices> clsServiceCode::GIC() const {
    return context().gic;
}
void clsServiceCode::setGC(std::shared_ptr<tqGlobal::HostObject> value) {
    context().gc = std::move(value);
}
std::shared_ptr<tqGlobal::HostObject> clsServiceCode::GC() const {
    return context().gc;
}
void clsServiceCode::setPV(std::shared_ptr<tqGlobal::HostObject> value) {
    context().pv = std::move(value);
}
std::shared_ptr<tqGlobal::HostObject> clsServiceCode::PV() const {
    return context().pv;
}

int32_t clsServiceCode::SendPatientManagementCode(QString& RelatedComment,
                                                  std::optional<int32_t> Pid,
                                                  std::optional<QString> ServiceCode,
                                                  std::optional<QString> Description,
                                                  std::optional<bool> ToDoListOnly) {
    m_pid = Pid.value_or(0);
    m_serviceCode = ServiceCode.value_or(QString());
    m_description = Description.value_or(QString());
    if (m_pid == 0) {
        return 0;
    }
    return postPatientManagementItem(RelatedComment, m_pid, m_serviceCode, m_description,
                                     ToDoListOnly.value_or(false));
}

void clsServiceCode::SelectServiceCode(int16_t& Show_Flag, int32_t& Pat_ID, QString& In_Cat_Name,
                                       QString& Return_Code, int16_t& Num_Code, QString& SelMod,
                                       std::optional<bool> ExpandServiceCode, QObject* Owner) {
    selectServiceCodes(Show_Flag, Pat_ID, In_Cat_Name, Return_Code, Num_Code, SelMod,
                       ExpandServiceCode.value_or(false), Owner);
}

QString clsServiceCode::ServiceCodeList() {
    return openServiceCodeList();
}

QString clsServiceCode::SelectServiceCodeCategory() {
    return chooseServiceCodeCategory();
}

}  // namespace tqservicecode
