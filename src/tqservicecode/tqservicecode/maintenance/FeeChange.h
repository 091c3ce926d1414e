#pragma once

#include <QString>

namespace tqservicecode {

/// Raises or lowers fees by a percentage the user gives in the host's fee-change dialog,
/// for every code of category (trimmed; "ALL CODES" means every code). feeTag is the tag
/// of the browser's pop-up item: "1" to "4" for one fee, anything else for all four.
/// Answers true when fee statements ran (the browser then refreshes); false when the user
/// cancelled or the change was refused. A database failure throws tqGlobal::Error;
/// statements already run stay run.
bool changeFees(const QString& category, const QString& feeTag);

}  // namespace tqservicecode
