#pragma once

#include <tqplatform/tqplatform_export.h>

#include <QMetaType>
#include <QString>

#include <compare>
#include <cstdint>
#include <optional>

namespace tqplatform {

/// Exact money, as VB's Currency: a 64-bit count of ten-thousandths.
/// Never converted through binary floating point except where a caller explicitly asks
/// (fromDouble rounds half to even at the fourth decimal).
class TQPLATFORM_EXPORT Currency {
public:
    static constexpr int64_t Scale = 10000;

    constexpr Currency() = default;
    static constexpr Currency fromRaw(int64_t tenThousandths) {
        Currency c;
        c.m_raw = tenThousandths;
        return c;
    }
    static constexpr Currency fromUnits(int64_t units) { return fromRaw(units * Scale); }
    /// Rounds the double's shortest decimal form half to even at the fourth decimal (so
    /// 2.00005 gives 2.0000 and 0.1 + 0.2 gives 0.3). Raises tqplatform::Error 6 (overflow)
    /// outside the range or for infinities and NaN.
    static Currency fromDouble(double value);
    /// Parses "1234.5", "-12", "$1,234.50", "($12.00)", " 7.25 ", "1e3" is refused.
    /// More than four decimals are rounded half to even. Empty or malformed text: nullopt.
    static std::optional<Currency> parse(const QString& text);

    constexpr int64_t raw() const { return m_raw; }
    double toDouble() const { return static_cast<double>(m_raw) / Scale; }
    /// Plain text with no trailing zeros: "1234.5", "-0.25", "0" (as VB's CStr).
    QString toString() const;
    /// Fixed four decimals: "1234.5000" (for SQL numeric literals).
    QString toFixedString() const;

    constexpr bool isZero() const { return m_raw == 0; }
    constexpr bool isNegative() const { return m_raw < 0; }

    Currency operator-() const { return fromRaw(-m_raw); }
    Currency& operator+=(Currency other) {
        m_raw += other.m_raw;
        return *this;
    }
    Currency& operator-=(Currency other) {
        m_raw -= other.m_raw;
        return *this;
    }
    friend Currency operator+(Currency a, Currency b) { return a += b; }
    friend Currency operator-(Currency a, Currency b) { return a -= b; }
    /// Multiplies by an exact decimal factor given as text-free ratio numerator/denominator,
    /// rounding half to even to four decimals. Raises tqplatform::Error 11 for a zero
    /// denominator and 6 when the result does not fit.
    Currency mulDiv(int64_t numerator, int64_t denominator) const;

    friend constexpr auto operator<=>(Currency, Currency) = default;
    friend constexpr bool operator==(Currency, Currency) = default;

private:
    int64_t m_raw = 0;
};

/// Registers QVariant conversions of Currency to and from QString and double. Text that is
/// no amount converts to zero. Safe to call more than once.
void registerCurrencyMetaType();

}  // namespace tqplatform

Q_DECLARE_METATYPE(tqplatform::Currency)
