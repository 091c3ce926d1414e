#include "ValueCompare.h"

#include <tqplatform/Currency.h>

#include <QDate>
#include <QTime>

#include <array>
#include <limits>

namespace tqplatform::Internal {

namespace {

constexpr int64_t kScale = Currency::Scale;
constexpr int64_t kMaxExactUnits = std::numeric_limits<int64_t>::max() / kScale;

int sign(int64_t v) {
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

int compareDoubles(double a, double b) {
    if (a < b) {
        return -1;
    }
    if (a > b) {
        return 1;
    }
    return 0;
}

QStringView trimRight(QStringView s) {
    qsizetype n = s.size();
    while (n > 0 && s[n - 1] == u' ') {
        --n;
    }
    return s.first(n);
}

bool isAsciiDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

enum class Rank { Null = 0, Boolean = 1, Number = 2, Date = 3, Text = 4 };

Rank rankOf(const QVariant& v) {
    if (isNullValue(v)) {
        return Rank::Null;
    }
    if (v.metaType().id() == QMetaType::Bool) {
        return Rank::Boolean;
    }
    if (isNumeric(v)) {
        return Rank::Number;
    }
    if (isDate(v)) {
        return Rank::Date;
    }
    return Rank::Text;
}

}  // namespace

double Number::toDouble() const {
    switch (kind) {
        case Kind::Integer:
            return static_cast<double>(integer);
        case Kind::Money:
            return static_cast<double>(integer) / kScale;
        case Kind::Real:
            break;
    }
    return real;
}

int compareNumbers(const Number& a, const Number& b) {
    using K = Number::Kind;
    if (a.kind == K::Real || b.kind == K::Real) {
        return compareDoubles(a.toDouble(), b.toDouble());
    }
    if (a.kind == b.kind) {
        return a.integer < b.integer ? -1 : (a.integer > b.integer ? 1 : 0);
    }
    // One integer, one money amount: compare in ten-thousandths unless the integer is
    // beyond what money can hold, in which case its sign decides.
    const bool aIsInteger = a.kind == K::Integer;
    const int64_t whole = aIsInteger ? a.integer : b.integer;
    const int64_t money = aIsInteger ? b.integer : a.integer;
    int result = 0;
    if (whole > kMaxExactUnits || whole < -kMaxExactUnits) {
        result = sign(whole);
    } else {
        const int64_t scaled = whole * kScale;
        result = scaled < money ? -1 : (scaled > money ? 1 : 0);
    }
    return aIsInteger ? result : -result;
}

std::optional<Number> numberOf(const QVariant& value) {
    Number n;
    switch (value.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::SChar:
        case QMetaType::Char:
        case QMetaType::Long:
        case QMetaType::LongLong:
            n.integer = value.toLongLong();
            return n;
        case QMetaType::UInt:
        case QMetaType::UShort:
        case QMetaType::UChar:
        case QMetaType::ULong:
        case QMetaType::ULongLong: {
            const qulonglong u = value.toULongLong();
            if (u > static_cast<qulonglong>(std::numeric_limits<int64_t>::max())) {
                n.kind = Number::Kind::Real;
                n.real = static_cast<double>(u);
            } else {
                n.integer = static_cast<int64_t>(u);
            }
            return n;
        }
        case QMetaType::Double:
        case QMetaType::Float:
            n.kind = Number::Kind::Real;
            n.real = value.toDouble();
            return n;
        default:
            break;
    }
    if (value.metaType() == QMetaType::fromType<Currency>()) {
        n.kind = Number::Kind::Money;
        n.integer = value.value<Currency>().raw();
        return n;
    }
    return std::nullopt;
}

std::optional<Number> parseNumber(QStringView text) {
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i < text.size() && text[i] == u'$') {
        ++i;
    }
    QString digits;  // the whole part, then "." and the decimals, without grouping
    int wholeDigits = 0;
    int decimals = 0;
    bool seenPoint = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (isAsciiDigit(c)) {
            digits.append(c);
            (seenPoint ? decimals : wholeDigits) += 1;
        } else if (c == u',' && !seenPoint && wholeDigits > 0) {
            continue;
        } else if (c == u'.' && !seenPoint) {
            seenPoint = true;
            digits.append(c);
        } else {
            return std::nullopt;
        }
    }
    if (wholeDigits + decimals == 0) {
        return std::nullopt;
    }
    Number n;
    if (wholeDigits <= 15 && decimals <= 4) {
        int64_t whole = 0;
        int64_t fraction = 0;
        for (int k = 0; k < wholeDigits; ++k) {
            whole = whole * 10 + (digits[k].unicode() - u'0');
        }
        for (int k = 0; k < 4; ++k) {
            const int at = wholeDigits + 1 + k;
            fraction = fraction * 10 + (k < decimals ? digits[at].unicode() - u'0' : 0);
        }
        if (!seenPoint) {
            n.integer = negative ? -whole : whole;
        } else {
            n.kind = Number::Kind::Money;
            const int64_t raw = whole * kScale + fraction;
            n.integer = negative ? -raw : raw;
        }
        return n;
    }
    bool ok = false;
    const double d = digits.toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    n.kind = Number::Kind::Real;
    n.real = negative ? -d : d;
    return n;
}

std::optional<QDateTime> dateOf(const QVariant& value) {
    switch (value.metaType().id()) {
        case QMetaType::QDate:
            return QDateTime(value.toDate(), QTime(0, 0));
        case QMetaType::QDateTime:
            return value.toDateTime();
        default:
            return std::nullopt;
    }
}

std::optional<QDateTime> parseDate(QStringView view) {
    const QString text = view.trimmed().toString();
    if (text.isEmpty() || !isAsciiDigit(text[0])) {
        return std::nullopt;
    }
    if (text.size() >= 10 && text[4] == u'-') {
        QString iso = text;
        if (iso.size() > 10 && iso[10] == u' ') {
            iso[10] = u'T';
        }
        QDateTime dt = QDateTime::fromString(iso, Qt::ISODate);
        if (dt.isValid()) {
            return dt;
        }
        const QDate d = QDate::fromString(iso, Qt::ISODate);
        if (d.isValid()) {
            return QDateTime(d, QTime(0, 0));
        }
        return std::nullopt;
    }
    static const std::array<QString, 10> formats = {
        QStringLiteral("M/d/yyyy"),
        QStringLiteral("M-d-yyyy"),
        QStringLiteral("M/d/yyyy h:mm:ss AP"),
        QStringLiteral("M/d/yyyy h:mm AP"),
        QStringLiteral("M/d/yyyy H:mm:ss"),
        QStringLiteral("M/d/yyyy H:mm"),
        QStringLiteral("M-d-yyyy h:mm:ss AP"),
        QStringLiteral("M-d-yyyy h:mm AP"),
        QStringLiteral("M-d-yyyy H:mm:ss"),
        QStringLiteral("M-d-yyyy H:mm"),
    };
    for (const QString& format : formats) {
        const QDateTime dt = QDateTime::fromString(text, format);
        if (dt.isValid()) {
            return dt;
        }
    }
    return std::nullopt;
}

bool isNumeric(const QVariant& value) {
    switch (value.metaType().id()) {
        case QMetaType::Int:
        case QMetaType::Short:
        case QMetaType::SChar:
        case QMetaType::Char:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::UShort:
        case QMetaType::UChar:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Float:
            return true;
        default:
            return value.metaType() == QMetaType::fromType<Currency>();
    }
}

bool isDate(const QVariant& value) {
    const int id = value.metaType().id();
    return id == QMetaType::QDate || id == QMetaType::QDateTime;
}

bool isNullValue(const QVariant& value) {
    return !value.isValid() || value.isNull();
}

QString textOf(const QVariant& value) {
    if (isNullValue(value)) {
        return {};
    }
    switch (value.metaType().id()) {
        case QMetaType::QString:
            return *static_cast<const QString*>(value.constData());
        case QMetaType::Double:
        case QMetaType::Float:
            return QString::number(value.toDouble(), 'g', 15);
        case QMetaType::Bool:
            return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
        case QMetaType::QDate:
            return value.toDate().toString(Qt::ISODate);
        case QMetaType::QDateTime: {
            const QDateTime dt = value.toDateTime();
            return dt.time() == QTime(0, 0) ? dt.date().toString(Qt::ISODate)
                                            : dt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        }
        default:
            break;
    }
    if (value.metaType() == QMetaType::fromType<Currency>()) {
        return value.value<Currency>().toString();
    }
    return value.toString();
}

int compareTexts(QStringView a, QStringView b) {
    const int c = trimRight(a).compare(trimRight(b), Qt::CaseInsensitive);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int compareForSort(const QVariant& a, const QVariant& b) {
    const Rank ra = rankOf(a);
    const Rank rb = rankOf(b);
    if (ra != rb) {
        return ra < rb ? -1 : 1;
    }
    switch (ra) {
        case Rank::Null:
            return 0;
        case Rank::Boolean:
            return static_cast<int>(a.toBool()) - static_cast<int>(b.toBool());
        case Rank::Number:
            return compareNumbers(*numberOf(a), *numberOf(b));
        case Rank::Date: {
            const QDateTime da = *dateOf(a);
            const QDateTime db = *dateOf(b);
            return da < db ? -1 : (db < da ? 1 : 0);
        }
        case Rank::Text:
            break;
    }
    if (a.metaType().id() == QMetaType::QString && b.metaType().id() == QMetaType::QString) {
        return compareTexts(*static_cast<const QString*>(a.constData()),
                            *static_cast<const QString*>(b.constData()));
    }
    return compareTexts(textOf(a), textOf(b));
}

}  // namespace tqplatform::Internal
