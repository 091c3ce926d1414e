#include <tqservicecode/component/EntryOperations.h>

namespace tqservicecode {

void selectServiceCodes(int16_t& /*showFlag*/, int32_t& /*patientId*/, QString& /*inCategoryName*/,
                        QString& returnCode, int16_t& numCode, QString& /*selectionMode*/,
                        bool /*expandServiceCode*/, QObject* /*owner*/) {
    returnCode.clear();
    numCode = 0;
}

int32_t postPatientManagementItem(QString& /*relatedComment*/, int32_t& /*pid*/,
                                  QString& /*serviceCode*/, QString& /*description*/,
                                  bool /*toDoListOnly*/) {
    return 0;
}

QString openServiceCodeList() {
    return {};
}

QString chooseServiceCodeCategory() {
    return {};
}

}  // namespace tqservicecode
