#pragma once

#include <QSqlDatabase>

namespace tqplatform::Internal {

/// Makes NOCASE on this SQLite connection fold the case of every letter (ä = Ä, ß = SS
/// is not folded: one letter to one letter, as PostgreSQL's citext does), not of ASCII
/// letters only, so that texts compare alike on both databases. Answers false when the
/// driver's SQLite library is not at hand (NOCASE then stays SQLite's own).
bool installUnicodeNoCase(QSqlDatabase& db);

}  // namespace tqplatform::Internal
