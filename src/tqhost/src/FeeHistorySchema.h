#pragma once

#include <QString>

namespace tqplatform {
class Connection;
}

/// The fee history: a table FeeHistory and the triggers that fill it whenever a fee
/// column of SevCodTable changes, whatever statement changes it.
namespace tqhost::schema {

/// Creates the table, the session table (SQLite) and the triggers when missing.
void ensureFeeHistory(tqplatform::Connection& connection);
/// Names the user the triggers record for this connection's changes.
void setFeeHistoryUser(tqplatform::Connection& connection, const QString& user);

}  // namespace tqhost::schema
