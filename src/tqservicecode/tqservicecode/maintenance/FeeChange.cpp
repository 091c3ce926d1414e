#include <tqservicecode/maintenance/FeeChange.h>

namespace tqservicecode {

bool changeFees(const QString& category, const QString& feeTag) {
    (void)category;
    (void)feeTag;
    return false;
}

}  // namespace tqservicecode
