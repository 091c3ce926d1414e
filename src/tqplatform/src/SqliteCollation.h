#pragma once

#include <QSqlDatabase>

namespace tqplatform::Internal {

/// Makes NOCASE and LIKE on this SQLite connection fold the case of every letter (ä = Ä;
/// one letter to one letter, as PostgreSQL's citext and ILIKE do), not of ASCII letters
/// only, so that texts compare alike on both databases. Answers false when the driver's
/// SQLite library is not at hand (NOCASE and LIKE then stay SQLite's own).
bool installUnicodeNoCase(QSqlDatabase& db);

}  // namespace tqplatform::Internal
