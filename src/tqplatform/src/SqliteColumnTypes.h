#pragma once

#include <QByteArray>

class QSqlQuery;

namespace tqplatform::Internal {

/// The declared type of a result column of an executed SQLite query ("VARCHAR(20)",
/// "DATE", "NUMERIC(19,4)"), empty for expressions or when it cannot be learnt.
QByteArray sqliteDeclaredType(const QSqlQuery& query, int column);

}  // namespace tqplatform::Internal
