#pragma once

#include <tqplatform/Currency.h>

#include <QDateTime>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string>

/// Pieces shared by the VB run-time functions: an exact decimal number, the text forms VB
/// reads as numbers, and VB's date serial numbers.
namespace tqplatform::vb::Internal {

/// An exact decimal number: (-1 if negative) × digits × 10^exponent.
struct Decimal {
    bool negative = false;
    std::string digits;  // no leading or trailing zeros; empty for zero
    int exponent = 0;

    bool isZero() const { return digits.empty(); }
    /// How many digits the value has before the decimal point (0 or less below 1).
    int integerDigits() const { return static_cast<int>(digits.size()) + exponent; }
    /// The value multiplied by 10^places.
    Decimal shifted(int places) const;
    /// The magnitude times 10^decimals, rounded half away from zero to a whole number,
    /// as decimal digits without leading zeros ("0" for zero).
    std::string scaledAwayFromZero(int decimals) const;
    /// The same, rounded half to even.
    std::string scaledHalfEven(int decimals) const;
    /// The nearest double; nullopt when out of the double's range.
    std::optional<double> toDouble() const;

    /// Builds a value from any digit string, dropping leading and trailing zeros.
    static Decimal make(bool negative, std::string digits, int exponent);
    static Decimal fromInteger(int64_t value);
    static Decimal fromUnsigned(uint64_t value);
    static Decimal fromCurrency(Currency value);
    /// A finite double as VB prints it: rounded to 15 significant digits.
    static Decimal fromDouble(double value);
};

/// A digit string as a signed 64-bit number; nullopt when it does not fit.
std::optional<int64_t> toInt64(const std::string& digits, bool negative);

/// A text VB accepts where a number is expected: blanks around, a sign before or after,
/// "$", thousands separators, parentheses for negative amounts, an exponent ("1E3", "1D3"),
/// hexadecimal "&H1F" and octal "&O17".
std::optional<Decimal> parseNumericText(QStringView text);

/// The value of the digits of "&H..." or "&O..." read as VB reads such literals: up to
/// 16 bits as an Integer, up to 32 bits as a Long (so "&HFFFF" is -1).
std::optional<int64_t> radixLiteralValue(uint64_t value);

/// VB's date serial: days since 30 Dec 1899, the time as the fraction of a day.
double toSerial(const QDateTime& value);
QDateTime fromSerial(double serial);
/// English month names (1 to 12) and day names (1 Monday to 7 Sunday), full or in three
/// letters, as VB shows them under US conventions.
QString monthName(int month, bool abbreviated);
QString dayName(int dayOfWeek, bool abbreviated);

/// The day VB uses for a time without a date.
inline QDate zeroDate() {
    return QDate(1899, 12, 30);
}

}  // namespace tqplatform::vb::Internal
