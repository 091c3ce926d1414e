#pragma once

#include <QString>

#include <cstdint>

class QObject;

/// The public operations of clsServiceCode, each opening the screens it needs.
namespace tqservicecode {

void selectServiceCodes(int16_t& showFlag, int32_t& patientId, QString& inCategoryName,
                        QString& returnCode, int16_t& numCode, QString& selectionMode,
                        bool expandServiceCode, QObject* owner);
QString openServiceCodeList();
QString chooseServiceCodeCategory();

}  // namespace tqservicecode
