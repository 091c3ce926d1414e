#include <tqplatform/Currency.h>

#include <tqplatform/Error.h>

#include <QMetaType>

#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

namespace tqplatform {

namespace {

__extension__ typedef __int128 Wide;

constexpr Wide MaxRaw = std::numeric_limits<int64_t>::max();
constexpr Wide MinRaw = std::numeric_limits<int64_t>::min();

[[noreturn]] void throwOverflow() {
    throw tqplatform::Error(tqplatform::ErrorNumber::Overflow, QStringLiteral("Overflow"));
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

/// Reads an unsigned decimal "123,456.789" (thousands separators allowed in the whole
/// part when commasAllowed) into ten-thousandths, half to even beyond the fourth decimal.
/// Returns nullopt when the text is not such a number or is out of range.
std::optional<Wide> readMagnitude(QStringView text, bool commasAllowed) {
    Wide whole = 0;
    int digits = 0;
    qsizetype i = 0;
    const qsizetype n = text.size();
    for (; i < n; ++i) {
        const QChar c = text[i];
        if (isDigit(c)) {
            whole = whole * 10 + (c.unicode() - u'0');
            ++digits;
            if (whole > MaxRaw) {
                return std::nullopt;
            }
        } else if (c == u',' && commasAllowed && digits > 0) {
            continue;
        } else {
            break;
        }
    }
    Wide fraction = 0;
    int fractionDigits = 0;
    bool roundUp = false;
    if (i < n && text[i] == u'.') {
        ++i;
        int beyond = 0;  // digits after the fourth decimal
        QChar firstBeyond;
        bool restNonZero = false;
        for (; i < n && isDigit(text[i]); ++i) {
            ++digits;
            if (fractionDigits < 4) {
                fraction = fraction * 10 + (text[i].unicode() - u'0');
                ++fractionDigits;
            } else if (beyond++ == 0) {
                firstBeyond = text[i];
            } else if (text[i] != u'0') {
                restNonZero = true;
            }
        }
        if (beyond > 0) {
            const bool odd = (fraction % 2) != 0;
            roundUp = firstBeyond > u'5' || (firstBeyond == u'5' && (restNonZero || odd));
        }
    }
    if (i != n || digits == 0) {
        return std::nullopt;
    }
    for (; fractionDigits < 4; ++fractionDigits) {
        fraction *= 10;
    }
    Wide raw = whole * Currency::Scale + fraction + (roundUp ? 1 : 0);
    if (raw > MaxRaw + 1) {  // the magnitude of the most negative value is allowed here
        return std::nullopt;
    }
    return raw;
}

std::optional<Currency> fromSignedMagnitude(bool negative, Wide magnitude) {
    const Wide raw = negative ? -magnitude : magnitude;
    if (raw > MaxRaw || raw < MinRaw) {
        return std::nullopt;
    }
    return Currency::fromRaw(static_cast<int64_t>(raw));
}

/// Digits of the magnitude of raw: whole part and the four decimals.
void splitRaw(int64_t raw, QString& whole, QString& decimals) {
    const uint64_t magnitude =
        raw < 0 ? uint64_t(0) - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
    whole = QString::number(magnitude / Currency::Scale);
    decimals = QString::number(magnitude % Currency::Scale).rightJustified(4, u'0');
}

}  // namespace

Currency Currency::fromDouble(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 922337203685477.6) {
        throwOverflow();
    }
    // The shortest text that reads back as the same double is the decimal the caller meant;
    // rounding that text avoids the binary representation's tails (2.00005 is 2.0000499...).
    char buffer[512];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    if (result.ec != std::errc()) {
        throwOverflow();
    }
    std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) {
        text.remove_prefix(1);
    }
    const auto magnitude =
        readMagnitude(QString::fromLatin1(text.data(), qsizetype(text.size())), false);
    if (!magnitude) {
        throwOverflow();
    }
    const auto currency = fromSignedMagnitude(negative, *magnitude);
    if (!currency) {
        throwOverflow();
    }
    return *currency;
}

std::optional<Currency> Currency::parse(const QString& text) {
    QStringView rest = QStringView(text).trimmed();
    bool negative = false;
    if (rest.size() >= 2 && rest.front() == u'(' && rest.back() == u')') {
        negative = true;
        rest = rest.mid(1, rest.size() - 2).trimmed();
    }
    bool signSeen = false;
    bool dollarSeen = false;
    // A sign and a dollar sign may come in either order: "-$5.00", "$-5.00".
    for (int round = 0; round < 2 && !rest.isEmpty(); ++round) {
        const QChar c = rest.front();
        if ((c == u'-' || c == u'+') && !signSeen && !negative) {
            signSeen = true;
            negative = c == u'-';
            rest = rest.mid(1).trimmed();
        } else if (c == u'$' && !dollarSeen) {
            dollarSeen = true;
            rest = rest.mid(1).trimmed();
        }
    }
    if (rest.isEmpty() || !(isDigit(rest.front()) || rest.front() == u'.')) {
        return std::nullopt;
    }
    const auto magnitude = readMagnitude(rest, true);
    if (!magnitude) {
        return std::nullopt;
    }
    return fromSignedMagnitude(negative, *magnitude);
}

QString Currency::toString() const {
    QString whole;
    QString decimals;
    splitRaw(m_raw, whole, decimals);
    while (decimals.endsWith(u'0')) {
        decimals.chop(1);
    }
    QString text = m_raw < 0 ? QStringLiteral("-") + whole : whole;
    if (!decimals.isEmpty()) {
        text += u'.' + decimals;
    }
    return text;
}

QString Currency::toFixedString() const {
    QString whole;
    QString decimals;
    splitRaw(m_raw, whole, decimals);
    return (m_raw < 0 ? QStringLiteral("-") : QString()) + whole + u'.' + decimals;
}

Currency Currency::mulDiv(int64_t numerator, int64_t denominator) const {
    if (denominator == 0) {
        throw tqplatform::Error(11, QStringLiteral("Division by zero"));
    }
    const Wide product = Wide(m_raw) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const Wide p = product < 0 ? -product : product;
    const Wide d = denominator < 0 ? -Wide(denominator) : Wide(denominator);
    Wide quotient = p / d;
    const Wide remainder = p % d;
    if (remainder * 2 > d || (remainder * 2 == d && (quotient % 2) != 0)) {
        ++quotient;
    }
    const auto result = fromSignedMagnitude(negative, quotient);
    if (!result) {
        throwOverflow();
    }
    return *result;
}

void registerCurrencyMetaType() {
    static const bool registered = [] {
        qRegisterMetaType<Currency>();
        QMetaType::registerConverter<Currency, QString>(&Currency::toString);
        QMetaType::registerConverter<Currency, double>(&Currency::toDouble);
        // Text that is no amount converts to zero, as an unset amount.
        QMetaType::registerConverter<QString, Currency>(
            [](const QString& text) { return Currency::parse(text).value_or(Currency()); });
        return true;
    }();
    Q_UNUSED(registered);
}

}  // namespace tqplatform
