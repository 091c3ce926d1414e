#pragma once

#include <tqplatform/Currency.h>

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

/// VB run-time functions with VB's results under US conventions.
namespace tqplatform::vb {

/// VB's Format for numbers, Currency and dates. Numeric formats: digit placeholders
/// "0" and "#", "." decimal point, "," thousands separator, literal characters ("$", "%",
/// text in quotes, "\x"), up to three sections separated by ";" (positive;negative;zero).
/// Named formats: "Currency", "Fixed", "Standard", "Percent", "General Number",
/// "Short Date", "Medium Date", "Long Date", "Short Time", "Medium Time", "Long Time",
/// "General Date". Date formats with the tokens m mm mmm mmmm d dd ddd dddd yy yyyy
/// h hh n nn s ss AM/PM am/pm (M/D/Y also accepted in upper case; "m" after "h" is minutes).
/// A Null or empty variant gives "". Rounding is half away from zero, as VB's Format; a
/// double is first taken at 15 significant digits, as VB prints it. A value that rounds to
/// zero at the shown decimals is shown as zero: no minus sign, and the zero section.
QString Format(const QVariant& value, const QString& format = {});
QString Format(Currency value, const QString& format);
QString Format(double value, const QString& format);
QString Format(const QDateTime& value, const QString& format);
QString Format(const QDate& value, const QString& format);

/// VB's Val: the leading number of a text ("  12.5abc" -> 12.5, "&H1F" -> 31, "" -> 0).
double Val(const QString& text);
/// VB's CLng: banker's rounding; text is parsed as a number; throws tqplatform::Error 13
/// (type mismatch) for non-numeric text and 6 (overflow) outside 32 bits.
int32_t CLng(const QVariant& value);
/// VB's CInt: as CLng for 16 bits.
int16_t CInt(const QVariant& value);
/// VB's CCur of a text or number; throws error 13 on non-numeric text, 6 on overflow and
/// 94 for Null (as CLng and CInt).
Currency CCur(const QVariant& value);
/// VB's IsNumeric: numbers, Currency and booleans; texts that CLng or CCur would read
/// ("$1,234.50", "(5)", "5-", "1E3", "&H1F"). Null and dates are not numeric.
bool IsNumeric(const QVariant& value);
/// VB's IsDate for US-style texts ("12/31/2026", "12-31-2026", "2026-12-31",
/// "Dec 31, 2026", "31 December 2026") and date values.
bool IsDate(const QVariant& value);
/// VB's CDate of the same texts; nullopt when not a date.
std::optional<QDateTime> CDate(const QVariant& value);
/// VB's DateAdd: intervals "yyyy", "q", "m", "y", "d", "w", "ww", "h", "n", "s".
/// Adding months keeps the day where it exists, else the month's last day. Raises
/// tqplatform::Error 5 for an unknown interval, an invalid date or a result outside the
/// years 100 to 9999.
QDateTime DateAdd(const QString& interval, int64_t number, const QDateTime& date);
QDate DateAdd(const QString& interval, int64_t number, const QDate& date);
/// VB's DateDiff: the number of interval boundaries crossed from date1 to date2 ("ww"
/// counts Sundays, "w" whole weeks). Raises tqplatform::Error 5 as DateAdd.
int64_t DateDiff(const QString& interval, const QDateTime& date1, const QDateTime& date2);
int64_t DateDiff(const QString& interval, const QDate& date1, const QDate& date2);
/// Seconds since midnight, as VB's Timer.
double Timer();

/// Text helpers with VB's semantics. A negative length for Left or Right, or a start
/// below 1 for Mid, raises tqplatform::Error 5; a negative length for Mid means "to the end".
QString Left(const QString& text, int length);
QString Right(const QString& text, int length);
QString Mid(const QString& text, int start, int length = -1);  // start from 1
/// The text padded on the right with blanks and cut to width (a fixed-length string).
QString FixedWidth(const QString& text, int width);

}  // namespace tqplatform::vb
