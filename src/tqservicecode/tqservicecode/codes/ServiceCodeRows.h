#pragma once

#include <tqservicecode/codes/ServiceCodeRecord.h>

#include <QStringList>
#include <QVariant>

namespace tqplatform {
class Recordset;
}

namespace tqservicecode {

/// Reads the current row of a SevCodTable recordset into record (nulls read as blank or
/// 0; fees exactly).
void readServiceCodeRecord(const tqplatform::Recordset& rows, ServiceCodeRecord& record);

/// Appends the record's columns and their values as texts (trimmed; numbers in plain
/// form) in the order the host's SaveRecord receives them.
void appendServiceCodeColumns(const ServiceCodeRecord& record, QStringList& names,
                              QStringList& values);

/// A money value of a field: Currency, number or text; null is 0.
tqplatform::Currency currencyOf(const QVariant& value);

}  // namespace tqservicecode
