#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <cstdint>

namespace tqservicecode {

struct ServiceCodeRecord;

/// Posts one to-do or letter-management item for a patient: a DTTable row carrying a
/// follow-up date, a responsible provider and a description, then its related note and
/// the lock file. Answers the new transaction's id, 0 when nothing was posted. The
/// caller's code and description are working copies that the posting may replace.
///
/// The row and its note are one unit: they are written in one transaction of the host's
/// connection (GetConnection), so a host that writes both through it never keeps a row
/// without its note. A note that is not stored undoes the row and counts as a failed
/// update (retried, then reported with Retry and Cancel). NUL characters are dropped
/// from the description and the note. A retry after a commit that failed first looks
/// for the row, so that a commit whose answer was lost does not post the item twice.
int32_t postPatientManagementItem(QString& relatedComment, int32_t& pid, QString& serviceCode,
                                  QString& description, bool toDoListOnly);

/// The text form in which posted dates are written: ISO 8601, "yyyy-MM-dd", which both
/// databases store and give back unchanged.
QString postedDateText(const QDate& date);

/// The lock file of a posting: the data folder's TEMP folder, "PR", the last six
/// characters of the code and ".LCK".
QString postingLockFile(const QString& dataPath, const QString& serviceCode);

}  // namespace tqservicecode
