#pragma once

#include <tqservicecode/codes/ServiceCodeRecord.h>
#include <tqservicecode/codes/Vocabulary.h>

#include <QString>

#include <cstdint>

/// The one place where a typed or chosen service code becomes a ServiceCodeRecord.
/// Every function reaches the database through the host services the component was
/// handed (GIC).
namespace tqservicecode {

/// Finds a code by its code, office code, insurance code or (byID) row id, forgiving
/// the short forms users type for procedure codes, creating the program-defined
/// pseudo-codes on first use, and refusing reserved codes and uncategorised credits with
/// their messages. record is cleared whenever the answer is false. With allowSearch, a
/// code matching no row or several opens the code search window; its choice sets byID.
bool FindServiceCode(const QString& code, ServiceCodeRecord& record, bool allowSearch, bool& byID,
                     int32_t searchArg1 = 0, int32_t searchArg2 = 0,
                     bool skipReservedCheck = false);
/// A chosen code by row id: no search window, reserved codes refused.
bool FindServiceCodeByID(int32_t id, ServiceCodeRecord& record);
/// A typed code: no search window, reserved codes refused, not by id.
bool FindServiceCodeByCode(const QString& code, ServiceCodeRecord& record);

/// Counts the rows in scope carrying code (with includeAliases, also as office or
/// insurance code). wantNone: whether there are none; else expected >= 0: whether there
/// are exactly expected; expected < 0: whether there is at most one.
bool CountCodeRows(const QString& code, bool wantNone, bool includeAliases, int16_t expected);

/// Inserts or updates (by SevCodCod, in scope) the row of a program-made code; a blank
/// code is ignored. On success record.SevCodID holds the row's key.
void SaveProgramCode(ServiceCodeRecord& record);

/// Whether code is one of the reserved program-defined codes; shows the message of
/// mode ("MANUAL", "DUPE", "DELETE"; any other mode shows none) when it is.
bool IsProgramDefinedCode(const QString& code, const QString& mode);

}  // namespace tqservicecode
