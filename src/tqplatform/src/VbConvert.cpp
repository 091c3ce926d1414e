#include <tqplatform/Vb.h>

#include "VbInternal.h"

#include <tqplatform/Error.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace tqplatform::vb {

using Internal::Decimal;

namespace {

constexpr long InvalidProcedureCall = 5;

[[noreturn]] void raise(long number) {
    switch (number) {
        case tqplatform::ErrorNumber::Overflow:
            throw tqplatform::Error(number, QStringLiteral("Overflow"));
        case tqplatform::ErrorNumber::TypeMismatch:
            throw tqplatform::Error(number, QStringLiteral("Type mismatch"));
        case tqplatform::ErrorNumber::InvalidUseOfNull:
            throw tqplatform::Error(number, QStringLiteral("Invalid use of Null"));
        default:
            throw tqplatform::Error(number, QStringLiteral("Invalid procedure call or argument"));
    }
}

bool isNull(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

bool isCurrency(const QVariant& value) {
    return value.metaType() == QMetaType::fromType<Currency>();
}

bool isIntegral(int typeId) {
    switch (typeId) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::ULong:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return true;
        default:
            return false;
    }
}

bool isText(int typeId) {
    return typeId == QMetaType::QString || typeId == QMetaType::QByteArray ||
           typeId == QMetaType::QChar;
}

bool isDateLike(int typeId) {
    return typeId == QMetaType::QDate || typeId == QMetaType::QDateTime ||
           typeId == QMetaType::QTime;
}

QDateTime dateTimeOf(const QVariant& value) {
    switch (value.typeId()) {
        case QMetaType::QDate:
            return QDateTime(value.toDate(), QTime(0, 0));
        case QMetaType::QTime:
            return QDateTime(Internal::zeroDate(), value.toTime());
        default:
            return value.toDateTime();
    }
}

/// Whole number nearest to value, halves to the even neighbour.
double roundHalfEven(double value) {
    const double floor = std::floor(value);
    const double difference = value - floor;
    if (difference > 0.5) {
        return floor + 1;
    }
    if (difference < 0.5) {
        return floor;
    }
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
}

int64_t roundedDouble(double value, int64_t low, int64_t high) {
    if (!std::isfinite(value)) {
        raise(tqplatform::ErrorNumber::Overflow);
    }
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(low) || rounded > static_cast<double>(high)) {
        raise(tqplatform::ErrorNumber::Overflow);
    }
    return static_cast<int64_t>(rounded);
}

/// VB's conversion to a whole number of the given range (CLng, CInt).
int64_t toWhole(const QVariant& value, int64_t low, int64_t high) {
    if (isNull(value)) {
        raise(tqplatform::ErrorNumber::InvalidUseOfNull);
    }
    const int typeId = value.typeId();
    std::optional<int64_t> whole;
    if (typeId == QMetaType::Bool) {
        whole = value.toBool() ? -1 : 0;
    } else if (isCurrency(value)) {
        whole = Internal::toInt64(Decimal::fromCurrency(value.value<Currency>()).scaledHalfEven(0),
                                  value.value<Currency>().isNegative());
    } else if (isText(typeId)) {
        const auto number = Internal::parseNumericText(value.toString());
        if (!number) {
            raise(tqplatform::ErrorNumber::TypeMismatch);
        }
        if (number->integerDigits() > 20) {
            raise(tqplatform::ErrorNumber::Overflow);
        }
        whole = Internal::toInt64(number->scaledHalfEven(0), number->negative);
    } else if (typeId == QMetaType::ULongLong || typeId == QMetaType::ULong) {
        const qulonglong unsignedValue = value.toULongLong();
        if (unsignedValue <= qulonglong(std::numeric_limits<int64_t>::max())) {
            whole = static_cast<int64_t>(unsignedValue);
        }
    } else if (isIntegral(typeId)) {
        whole = value.toLongLong();
    } else if (isDateLike(typeId)) {
        return roundedDouble(Internal::toSerial(dateTimeOf(value)), low, high);
    } else {
        bool ok = false;
        const double number = value.toDouble(&ok);
        if (!ok) {
            raise(tqplatform::ErrorNumber::TypeMismatch);
        }
        return roundedDouble(number, low, high);
    }
    if (!whole || *whole < low || *whole > high) {
        raise(tqplatform::ErrorNumber::Overflow);
    }
    return *whole;
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n';
}

int digitValue(QChar c) {
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

/// Val of "&H..." (hexadecimal) or "&O..." / "&..." (octal): the digits up to the first
/// that does not belong.
double valOfRadix(const QString& text) {
    int base = 8;
    qsizetype i = 1;
    if (i < text.size() && (text[i] == u'h' || text[i] == u'H')) {
        base = 16;
        ++i;
    } else if (i < text.size() && (text[i] == u'o' || text[i] == u'O')) {
        ++i;
    }
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = digitValue(text[i]);
        if (digit < 0 || digit >= base) {
            break;
        }
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) {
            raise(tqplatform::ErrorNumber::Overflow);
        }
    }
    return static_cast<double>(*Internal::radixLiteralValue(value));
}

}  // namespace

double Val(const QString& text) {
    QString compact;
    compact.reserve(text.size());
    for (QChar c : text) {
        if (!isBlank(c)) {
            compact += c;
        }
    }
    if (compact.startsWith(u'&')) {
        return valOfRadix(compact);
    }
    std::string number;
    qsizetype i = 0;
    const qsizetype n = compact.size();
    if (i < n && (compact[i] == u'-' || compact[i] == u'+')) {
        if (compact[i] == u'-') {
            number += '-';
        }
        ++i;
    }
    bool anyDigit = false;
    bool pointSeen = false;
    for (; i < n; ++i) {
        const QChar c = compact[i];
        if (c >= u'0' && c <= u'9') {
            number += static_cast<char>(c.unicode());
            anyDigit = true;
        } else if (c == u'.' && !pointSeen) {
            number += '.';
            pointSeen = true;
        } else {
            break;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (i < n &&
        (compact[i] == u'e' || compact[i] == u'E' || compact[i] == u'd' || compact[i] == u'D')) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        if (j < n && (compact[j] == u'-' || compact[j] == u'+')) {
            exponent += static_cast<char>(compact[j].unicode());
            ++j;
        }
        bool exponentDigits = false;
        for (; j < n && compact[j] >= u'0' && compact[j] <= u'9'; ++j) {
            exponent += static_cast<char>(compact[j].unicode());
            exponentDigits = true;
        }
        if (exponentDigits) {
            number += exponent;
        }
    }
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone when out of range: tell underflow from overflow.
        const auto e = number.find('e');
        if (e != std::string::npos && number.find('-', e) != std::string::npos) {
            return 0.0;
        }
        raise(tqplatform::ErrorNumber::Overflow);
    }
    return value + 0.0;  // no negative zero
}

int32_t CLng(const QVariant& value) {
    return static_cast<int32_t>(
        toWhole(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int16_t CInt(const QVariant& value) {
    return static_cast<int16_t>(
        toWhole(value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

Currency CCur(const QVariant& value) {
    if (isNull(value)) {
        raise(tqplatform::ErrorNumber::InvalidUseOfNull);
    }
    const int typeId = value.typeId();
    if (isCurrency(value)) {
        return value.value<Currency>();
    }
    if (typeId == QMetaType::Bool) {
        return Currency::fromUnits(value.toBool() ? -1 : 0);
    }
    if (isText(typeId)) {
        const auto number = Internal::parseNumericText(value.toString());
        if (!number) {
            raise(tqplatform::ErrorNumber::TypeMismatch);
        }
        if (number->integerDigits() > 16) {
            raise(tqplatform::ErrorNumber::Overflow);
        }
        const auto raw = Internal::toInt64(number->scaledHalfEven(4), number->negative);
        if (!raw) {
            raise(tqplatform::ErrorNumber::Overflow);
        }
        return Currency::fromRaw(*raw);
    }
    if (isIntegral(typeId)) {
        constexpr int64_t limit = std::numeric_limits<int64_t>::max() / Currency::Scale;
        bool inRange = false;
        if (typeId == QMetaType::ULongLong || typeId == QMetaType::ULong) {
            inRange = value.toULongLong() <= qulonglong(limit);
        } else {
            inRange = value.toLongLong() >= -limit && value.toLongLong() <= limit;
        }
        if (!inRange) {
            raise(tqplatform::ErrorNumber::Overflow);
        }
        return Currency::fromUnits(value.toLongLong());
    }
    if (isDateLike(typeId)) {
        return Currency::fromDouble(Internal::toSerial(dateTimeOf(value)));
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok) {
        raise(tqplatform::ErrorNumber::TypeMismatch);
    }
    return Currency::fromDouble(number);
}

bool IsNumeric(const QVariant& value) {
    if (isNull(value)) {
        return false;
    }
    const int typeId = value.typeId();
    if (isCurrency(value) || typeId == QMetaType::Bool || isIntegral(typeId) ||
        typeId == QMetaType::Double || typeId == QMetaType::Float) {
        return true;
    }
    if (isText(typeId)) {
        return Internal::parseNumericText(value.toString()).has_value();
    }
    return false;
}

QString Left(const QString& text, int length) {
    if (length < 0) {
        raise(InvalidProcedureCall);
    }
    return text.left(length);
}

QString Right(const QString& text, int length) {
    if (length < 0) {
        raise(InvalidProcedureCall);
    }
    return text.right(length);
}

QString Mid(const QString& text, int start, int length) {
    if (start < 1) {
        raise(InvalidProcedureCall);
    }
    if (start > text.size()) {
        return {};
    }
    return length < 0 ? text.mid(start - 1) : text.mid(start - 1, length);
}

QString FixedWidth(const QString& text, int width) {
    if (width <= 0) {
        return {};
    }
    return text.leftJustified(width, u' ', true);
}

}  // namespace tqplatform::vb
