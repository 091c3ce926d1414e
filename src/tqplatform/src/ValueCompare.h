#pragma once

#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <optional>

namespace tqplatform::Internal {

/// A number as the recordset compares it: integers and money exactly, the rest as doubles.
struct Number {
    enum class Kind { Integer, Money, Real };
    Kind kind = Kind::Integer;
    int64_t integer = 0;  // Integer: the value; Money: ten-thousandths
    double real = 0;

    double toDouble() const;
};

/// -1, 0 or 1.
int compareNumbers(const Number& a, const Number& b);

/// The numeric value of a number, money or boolean variant (no texts).
std::optional<Number> numberOf(const QVariant& value);
/// Reads "12", "-3.25", "$1,234.50", " 7 ": at most four decimals stay exact.
std::optional<Number> parseNumber(QStringView text);

/// The date of a date or date-time variant (no texts).
std::optional<QDateTime> dateOf(const QVariant& value);
/// Reads "2024-01-31", "2024-01-31 10:30:00", "2024-01-31T10:30:00", "1/31/2024",
/// "01-31-2024", "1/31/2024 10:30:00 AM", "1/31/2024 10:30".
std::optional<QDateTime> parseDate(QStringView text);

bool isNumeric(const QVariant& value);
bool isDate(const QVariant& value);
bool isNullValue(const QVariant& value);

/// The text of a value as a person reads it (money without trailing zeros, dates in ISO form).
QString textOf(const QVariant& value);

/// Compares texts ignoring case and trailing blanks (fixed-width columns pad with blanks).
int compareTexts(QStringView a, QStringView b);

/// The order Sort uses: nulls first, then booleans, numbers (money exactly), dates and texts;
/// values of one kind compare by value, texts ignoring case.
int compareForSort(const QVariant& a, const QVariant& b);

}  // namespace tqplatform::Internal
