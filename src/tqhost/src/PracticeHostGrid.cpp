#include <tqhost/PracticeHost.h>

#include <algorithm>

namespace tqhost {

void PracticeHost::SortTableRows(QList<QStringList>& rows) {
    // Stable, so rows with the same first cell keep the order they came in.
    std::stable_sort(rows.begin(), rows.end(), [](const QStringList& a, const QStringList& b) {
        return QString::compare(a.value(0), b.value(0), Qt::CaseSensitive) < 0;
    });
}

QDate PracticeHost::GetHostDate() {
    return m_hostClock.isValid() ? m_hostClock.date() : QDate::currentDate();
}

QTime PracticeHost::GetHostTime() {
    return m_hostClock.isValid() ? m_hostClock.time() : QTime::currentTime();
}

}  // namespace tqhost
