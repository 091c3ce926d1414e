#include "VbInternal.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace tqplatform::vb::Internal {

namespace {

constexpr int MaxExponent = 100000;  // beyond any value VB can hold; keeps digit strings small

/// Adds one to a digit string ("199" -> "200", "99" -> "100").
std::string incremented(std::string digits) {
    auto i = digits.size();
    while (i > 0) {
        --i;
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return digits;
        }
    }
    return '1' + digits;
}

enum class Rounding { AwayFromZero, HalfEven };

std::string scaled(const Decimal& value, int decimals, Rounding rounding) {
    if (value.isZero()) {
        return "0";
    }
    const int shift = value.exponent + decimals;
    if (shift >= 0) {
        return value.digits + std::string(static_cast<size_t>(shift), '0');
    }
    const auto size = static_cast<long>(value.digits.size());
    const long kept = size + shift;  // digits left of the rounding position
    if (kept < 0) {
        return "0";  // the first dropped digit is a leading zero
    }
    std::string result = value.digits.substr(0, static_cast<size_t>(kept));
    const char first = value.digits[static_cast<size_t>(kept)];
    const bool restNonZero = kept + 1 < size;  // no trailing zeros are stored
    bool up = false;
    if (rounding == Rounding::AwayFromZero) {
        up = first >= '5';
    } else {
        const bool odd = !result.empty() && ((result.back() - '0') % 2) != 0;
        up = first > '5' || (first == '5' && (restNonZero || odd));
    }
    if (up) {
        result = incremented(result);
    }
    const auto nonZero = result.find_first_not_of('0');
    return nonZero == std::string::npos ? std::string("0") : result.substr(nonZero);
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

/// "&H1F", "&O17" or "&17" (octal) with nothing after the digits.
std::optional<Decimal> parseRadixLiteral(QStringView text) {
    int base = 8;
    qsizetype i = 1;
    if (i < text.size() && (text[i] == u'h' || text[i] == u'H')) {
        base = 16;
        ++i;
    } else if (i < text.size() && (text[i] == u'o' || text[i] == u'O')) {
        ++i;
    }
    if (i == text.size()) {
        return std::nullopt;
    }
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0 || digit >= base) {
            return std::nullopt;
        }
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) {
            return std::nullopt;
        }
    }
    const auto literal = radixLiteralValue(value);
    if (!literal) {
        return std::nullopt;
    }
    return Decimal::fromInteger(*literal);
}

}  // namespace

Decimal Decimal::make(bool negative, std::string digits, int exponent) {
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return {};
    }
    digits.erase(0, first);
    const auto last = digits.find_last_not_of('0');
    exponent += static_cast<int>(digits.size() - 1 - last);
    digits.erase(last + 1);
    Decimal result;
    result.negative = negative;
    result.digits = std::move(digits);
    result.exponent = exponent;
    return result;
}

Decimal Decimal::fromInteger(int64_t value) {
    const uint64_t magnitude =
        value < 0 ? uint64_t(0) - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    Decimal result = fromUnsigned(magnitude);
    result.negative = value < 0;
    return result;
}

Decimal Decimal::fromUnsigned(uint64_t value) {
    return make(false, std::to_string(value), 0);
}

Decimal Decimal::fromCurrency(Currency value) {
    Decimal result = fromInteger(value.raw());
    if (!result.isZero()) {
        result.exponent -= 4;
    }
    return result;
}

Decimal Decimal::fromDouble(double value) {
    if (!std::isfinite(value) || value == 0.0) {
        return {};
    }
    char buffer[64];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
    // d.dddddddddddddde[+-]xx
    std::string_view text(buffer, static_cast<size_t>(written.ptr - buffer));
    const bool negative = text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    const auto e = text.find('e');
    std::string digits;
    for (char c : text.substr(0, e)) {
        if (c != '.') {
            digits += c;
        }
    }
    int exponent = 0;
    std::string_view exponentText = text.substr(e + 1);
    if (!exponentText.empty() && exponentText.front() == '+') {
        exponentText.remove_prefix(1);
    }
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    const int scale = exponent - static_cast<int>(digits.size()) + 1;
    return make(negative, std::move(digits), scale);
}

Decimal Decimal::shifted(int places) const {
    Decimal result = *this;
    if (!result.isZero()) {
        result.exponent += places;
    }
    return result;
}

std::string Decimal::scaledAwayFromZero(int decimals) const {
    return scaled(*this, decimals, Rounding::AwayFromZero);
}

std::string Decimal::scaledHalfEven(int decimals) const {
    return scaled(*this, decimals, Rounding::HalfEven);
}

std::optional<double> Decimal::toDouble() const {
    if (isZero()) {
        return 0.0;
    }
    const std::string text = digits + 'e' + std::to_string(exponent);
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Underflow reads as zero; overflow has no double.
        if (integerDigits() < 0) {
            return 0.0;
        }
        return std::nullopt;
    }
    return negative ? -value : value;
}

std::optional<int64_t> toInt64(const std::string& digits, bool negative) {
    if (digits.size() > 19) {
        return std::nullopt;
    }
    uint64_t magnitude = 0;
    for (char c : digits) {
        magnitude = magnitude * 10 + static_cast<uint64_t>(c - '0');
    }
    constexpr uint64_t limit = uint64_t(std::numeric_limits<int64_t>::max());
    if (digits.size() == 19 && digits > "9223372036854775808") {
        return std::nullopt;
    }
    if (negative) {
        if (magnitude > limit + 1) {
            return std::nullopt;
        }
        return static_cast<int64_t>(uint64_t(0) - magnitude);
    }
    if (magnitude > limit) {
        return std::nullopt;
    }
    return static_cast<int64_t>(magnitude);
}

std::optional<int64_t> radixLiteralValue(uint64_t value) {
    if (value <= 0xFFFF) {
        return static_cast<int16_t>(static_cast<uint16_t>(value));
    }
    if (value <= 0xFFFFFFFFull) {
        return static_cast<int32_t>(static_cast<uint32_t>(value));
    }
    return std::nullopt;
}

std::optional<Decimal> parseNumericText(QStringView text) {
    QStringView rest = text.trimmed();
    if (rest.isEmpty()) {
        return std::nullopt;
    }
    if (rest.front() == u'&') {
        return parseRadixLiteral(rest);
    }
    bool negative = false;
    bool parentheses = false;
    if (rest.front() == u'(' && rest.back() == u')') {
        parentheses = true;
        negative = true;
        rest = rest.mid(1, rest.size() - 2).trimmed();
    }
    // Before the digits: one sign and one "$", in either order, blanks between.
    bool signSeen = parentheses;
    bool dollarSeen = false;
    while (!rest.isEmpty()) {
        const QChar c = rest.front();
        if ((c == u'-' || c == u'+') && !signSeen) {
            signSeen = true;
            negative = c == u'-';
        } else if (c == u'$' && !dollarSeen) {
            dollarSeen = true;
        } else {
            break;
        }
        rest = rest.mid(1).trimmed();
    }
    // After the digits: a sign when none came before.
    if (!signSeen && !rest.isEmpty() && (rest.back() == u'-' || rest.back() == u'+')) {
        negative = rest.back() == u'-';
        rest = rest.chopped(1).trimmed();
    }

    std::string digits;
    int fractionDigits = 0;
    int mantissaDigits = 0;
    qsizetype i = 0;
    const qsizetype n = rest.size();
    for (; i < n; ++i) {
        if (isDigit(rest[i])) {
            digits += static_cast<char>(rest[i].unicode());
            ++mantissaDigits;
        } else if (rest[i] == u',' && mantissaDigits > 0) {
            continue;
        } else {
            break;
        }
    }
    if (i < n && rest[i] == u'.') {
        for (++i; i < n && isDigit(rest[i]); ++i) {
            digits += static_cast<char>(rest[i].unicode());
            ++fractionDigits;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) {
        return std::nullopt;
    }
    long exponent = 0;
    if (i < n && (rest[i] == u'e' || rest[i] == u'E' || rest[i] == u'd' || rest[i] == u'D')) {
        ++i;
        bool exponentNegative = false;
        if (i < n && (rest[i] == u'+' || rest[i] == u'-')) {
            exponentNegative = rest[i] == u'-';
            ++i;
        }
        const qsizetype start = i;
        for (; i < n && isDigit(rest[i]); ++i) {
            exponent = std::min<long>(exponent * 10 + (rest[i].unicode() - u'0'), MaxExponent);
        }
        if (i == start) {
            return std::nullopt;
        }
        if (exponentNegative) {
            exponent = -exponent;
        }
    }
    if (i != n) {
        return std::nullopt;
    }
    return Decimal::make(negative, std::move(digits), static_cast<int>(exponent) - fractionDigits);
}

double toSerial(const QDateTime& value) {
    const qint64 days = zeroDate().daysTo(value.date());
    const double fraction = value.time().msecsSinceStartOfDay() / 86400000.0;
    // Before the zero date VB counts the days down and the time of day up: -1.25 is
    // 29 Dec 1899 06:00.
    return days < 0 ? static_cast<double>(days) - fraction : static_cast<double>(days) + fraction;
}

QDateTime fromSerial(double serial) {
    if (!std::isfinite(serial) || std::fabs(serial) > 3e6) {
        return {};
    }
    const double whole = std::trunc(serial);
    const double fraction = std::fabs(serial - whole);
    auto msecs = static_cast<qint64>(std::llround(fraction * 86400000.0));
    qint64 days = static_cast<qint64>(whole);
    if (msecs >= 86400000) {
        msecs -= 86400000;
        days += serial < 0 ? -1 : 1;
    }
    return QDateTime(zeroDate().addDays(days), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

}  // namespace tqplatform::vb::Internal
