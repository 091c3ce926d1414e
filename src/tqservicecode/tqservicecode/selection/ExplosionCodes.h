#pragma once

#include <QString>

#include <cstdint>

namespace tqservicecode {

/// Expands a chosen code (by SevCodID) into the codes actually entered. A code whose
/// description begins with "@" stands for the member codes listed after it, separated by
/// commas; members are looked up as a user would type them. Expansion goes two levels
/// deep at most; a code that recurs within its own expansion is reported and left out.
/// Results accumulate in Retcode ("code," each), RetID ("id," each) and NumCode; at level
/// 0 they are reset first. With expandServiceCode false every code is entered as itself.
void Expand_Explosion_Code(int32_t CodeIn, QString& Retcode, QString& RetID, int16_t& NumCode,
                           bool expandServiceCode, int16_t Level = 0,
                           const QString& ExplosionList = {});

/// The ids of RetID in order.
QList<int32_t> expandedIds(const QString& retID);

}  // namespace tqservicecode
