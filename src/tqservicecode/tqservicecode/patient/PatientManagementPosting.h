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
int32_t postPatientManagementItem(QString& relatedComment, int32_t& pid, QString& serviceCode,
                                  QString& description, bool toDoListOnly);

/// The text form in which posted dates are written: ISO 8601, "yyyy-MM-dd", which both
/// databases store and give back unchanged.
QString postedDateText(const QDate& date);

/// The DTTable columns of a patient-management row, in the order they are written.
QStringList patientManagementColumns();

/// The lock file of a posting: the data folder's TEMP folder, "PR", the last six
/// characters of the code and ".LCK".
QString postingLockFile(const QString& dataPath, const QString& serviceCode);

}  // namespace tqservicecode
