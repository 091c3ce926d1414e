#include <tqplatform/Vb.h>

#include "VbInternal.h"

#include <QList>
#include <QStringList>

#include <cmath>

namespace tqplatform::vb {

using Internal::Decimal;

namespace {

// ---- Format texts ----------------------------------------------------------------------

/// The sections of a format ("positive;negative;zero"), split outside quotes and escapes.
QStringList splitSections(const QString& format) {
    QStringList sections;
    QString current;
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (c == u'\\' && !quoted && i + 1 < format.size()) {
            current += c;
            current += format[++i];
            continue;
        } else if (c == u';' && !quoted) {
            sections.append(current);
            current.clear();
            continue;
        }
        current += c;
    }
    sections.append(current);
    return sections;
}

QString namedNumberFormat(const QString& key) {
    if (key == u"currency") {
        return QStringLiteral("$#,##0.00;($#,##0.00)");
    }
    if (key == u"fixed") {
        return QStringLiteral("0.00");
    }
    if (key == u"standard") {
        return QStringLiteral("#,##0.00");
    }
    if (key == u"percent") {
        return QStringLiteral("0.00%");
    }
    if (key == u"scientific") {
        return QStringLiteral("0.00E+00");
    }
    return {};
}

QString namedDateFormat(const QString& key) {
    if (key == u"long date") {
        return QStringLiteral("dddd, mmmm d, yyyy");
    }
    if (key == u"medium date") {
        return QStringLiteral("dd-mmm-yy");
    }
    if (key == u"short date") {
        return QStringLiteral("m/d/yyyy");
    }
    if (key == u"long time") {
        return QStringLiteral("h:mm:ss AM/PM");
    }
    if (key == u"medium time") {
        return QStringLiteral("hh:mm AM/PM");
    }
    if (key == u"short time") {
        return QStringLiteral("hh:mm");
    }
    return {};
}

bool isNamedNumberKey(const QString& key) {
    return !namedNumberFormat(key).isEmpty() || key == u"general number" || key == u"yes/no" ||
           key == u"true/false" || key == u"on/off";
}

/// Whether a format shows dates: a named date format, or date and time letters outside
/// quotes and escapes.
bool isDateFormat(const QString& format) {
    const QString key = format.trimmed().toLower();
    if (key == u"general date" || !namedDateFormat(key).isEmpty()) {
        return true;
    }
    if (isNamedNumberKey(key)) {
        return false;
    }
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == u'"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == u'\\') {
            ++i;
        } else if (QStringLiteral("dmyhnswqctDMYHNSWQCT").contains(c)) {
            return true;
        }
    }
    return false;
}

// ---- Numbers ---------------------------------------------------------------------------

/// Digits without grouping: "1234.5", "0.001".
QString plainDigits(const Decimal& value) {
    const int decimals = value.exponent < 0 ? -value.exponent : 0;
    QString digits = QString::fromStdString(value.scaledAwayFromZero(decimals));
    if (decimals == 0) {
        return digits;
    }
    digits = digits.rightJustified(decimals + 1, u'0');
    return digits.left(digits.size() - decimals) + u'.' + digits.right(decimals);
}

/// VB's "General Number": as many digits as needed, at most 15 significant ones, in
/// scientific form for very large and very small values.
QString generalNumber(const Decimal& value) {
    if (value.isZero()) {
        return QStringLiteral("0");
    }
    const QString sign = value.negative ? QStringLiteral("-") : QString();
    const int integerDigits = value.integerDigits();
    if (integerDigits <= 15 && integerDigits >= -3) {
        return sign + plainDigits(value);
    }
    // d.dddE+xx, the mantissa rounded to 15 significant digits.
    Decimal mantissa = value;
    mantissa.negative = false;
    mantissa.exponent = 1 - static_cast<int>(mantissa.digits.size());
    mantissa = Decimal::make(false, mantissa.scaledAwayFromZero(14), -14);
    int exponent = integerDigits - 1;
    if (mantissa.integerDigits() > 1) {  // 9.99...95 rounded up to 10
        mantissa = mantissa.shifted(-1);
        ++exponent;
    }
    const QString exponentText = QString::number(std::abs(exponent)).rightJustified(2, u'0');
    return sign + plainDigits(mantissa) +
           (exponent < 0 ? QStringLiteral("E-") : QStringLiteral("E+")) + exponentText;
}

/// One section of a user-defined number format, read into its parts.
struct NumberLayout {
    enum class Kind { Digit, Point, Literal, Exponent };
    struct Item {
        Kind kind;
        QString text;  // the literal; "0"/"#" for digits; "E+", "e-" for the exponent
        int part = 0;  // digits: 0 whole part, 1 decimals, 2 exponent
    };
    QList<Item> items;
    int wholePlaces = 0;
    int minWholeDigits = 0;
    int decimalPlaces = 0;
    int minDecimals = 0;
    int exponentZeros = 0;
    int thousandsScale = 0;
    bool grouping = false;
    bool percent = false;
    bool scientific = false;
};

NumberLayout readLayout(const QString& section) {
    NumberLayout layout;
    using Kind = NumberLayout::Kind;
    int part = 0;
    QList<qsizetype> commas;  // item positions of commas in the whole part
    auto literal = [&layout](const QString& text) {
        if (!layout.items.isEmpty() && layout.items.back().kind == Kind::Literal) {
            layout.items.back().text += text;
        } else {
            layout.items.append({Kind::Literal, text});
        }
    };
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'"') {
            const qsizetype end = section.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? section.size() : end;
            literal(section.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == u'\\') {
            if (i + 1 < section.size()) {
                literal(QString(section[++i]));
            }
        } else if (c == u'0' || c == u'#') {
            layout.items.append({Kind::Digit, QString(c), part});
            if (part == 0) {
                ++layout.wholePlaces;
            } else if (part == 1) {
                ++layout.decimalPlaces;
                if (c == u'0') {
                    layout.minDecimals = layout.decimalPlaces;
                }
            } else if (c == u'0') {
                ++layout.exponentZeros;
            }
        } else if (c == u'.' && part == 0) {
            layout.items.append({Kind::Point, QStringLiteral(".")});
            part = 1;
        } else if (c == u',') {
            if (part == 0) {
                commas.append(layout.items.size());
                layout.items.append({Kind::Literal, QString()});  // resolved below
            }
        } else if ((c == u'E' || c == u'e') && part < 2 && i + 1 < section.size() &&
                   (section[i + 1] == u'+' || section[i + 1] == u'-')) {
            layout.items.append({Kind::Exponent, QString(c) + section[i + 1]});
            layout.scientific = true;
            part = 2;
            ++i;
        } else {
            if (c == u'%') {
                layout.percent = true;
            }
            literal(QString(c));
        }
    }
    // A comma followed by a whole-part digit groups thousands; commas after the last whole
    // digit each scale the value down by a thousand.
    for (qsizetype position : commas) {
        bool digitFollows = false;
        for (qsizetype k = position + 1; k < layout.items.size(); ++k) {
            const auto& item = layout.items[k];
            if (item.kind == Kind::Point || item.kind == Kind::Exponent) {
                break;
            }
            if (item.kind == Kind::Digit) {
                digitFollows = true;
                break;
            }
        }
        if (digitFollows) {
            layout.grouping = true;
        } else {
            ++layout.thousandsScale;
        }
    }
    // The whole part shows every digit from its first "0" on.
    int index = 0;
    for (const auto& item : layout.items) {
        if (item.kind == Kind::Digit && item.part == 0) {
            if (item.text == u"0") {
                layout.minWholeDigits = layout.wholePlaces - index;
                break;
            }
            ++index;
        }
    }
    return layout;
}

Decimal scaledForLayout(const Decimal& magnitude, const NumberLayout& layout) {
    return magnitude.shifted((layout.percent ? 2 : 0) - 3 * layout.thousandsScale);
}

/// Whether the magnitude shows only zeros in this layout.
bool showsAsZero(const Decimal& magnitude, const NumberLayout& layout) {
    if (magnitude.isZero()) {
        return true;
    }
    if (layout.scientific) {
        return false;
    }
    return scaledForLayout(magnitude, layout).scaledAwayFromZero(layout.decimalPlaces) == "0";
}

/// The magnitude in one section's layout (no sign).
QString render(const Decimal& magnitude, const NumberLayout& layout) {
    using Kind = NumberLayout::Kind;
    Decimal value = scaledForLayout(magnitude, layout);
    value.negative = false;
    const int decimals = layout.decimalPlaces;
    int exponent = 0;
    if (layout.scientific && !value.isZero()) {
        exponent = value.integerDigits() - layout.wholePlaces;
        std::string mantissa = value.shifted(-exponent).scaledAwayFromZero(decimals);
        if (static_cast<int>(mantissa.size()) > std::max(layout.wholePlaces, 1) + decimals) {
            ++exponent;  // rounding carried into a new digit
        }
        value = value.shifted(-exponent);
    }
    const QString scaled = QString::fromStdString(value.scaledAwayFromZero(decimals))
                               .rightJustified(decimals + 1, u'0');
    QString whole = scaled.left(scaled.size() - decimals);
    QString fraction = scaled.right(decimals);
    while (whole.startsWith(u'0')) {
        whole.remove(0, 1);
    }
    if (whole.size() < layout.minWholeDigits) {
        whole = whole.rightJustified(layout.minWholeDigits, u'0');
    }
    while (fraction.size() > layout.minDecimals && fraction.endsWith(u'0')) {
        fraction.chop(1);
    }

    QString out;
    const auto wholeSize = whole.size();
    auto emitWholeDigit = [&](qsizetype k) {
        out += whole[k];
        const qsizetype fromRight = wholeSize - 1 - k;
        if (layout.grouping && fromRight > 0 && fromRight % 3 == 0) {
            out += u',';
        }
    };
    int wholeIndex = 0;
    int decimalIndex = 0;
    QString exponentDigits = QString::number(std::abs(exponent));
    exponentDigits = exponentDigits.rightJustified(layout.exponentZeros, u'0');
    bool exponentShown = false;
    for (const auto& item : layout.items) {
        switch (item.kind) {
            case Kind::Literal:
                out += item.text;
                break;
            case Kind::Point:
                if (layout.wholePlaces == 0) {
                    for (qsizetype k = 0; k < wholeSize; ++k) {
                        emitWholeDigit(k);
                    }
                }
                out += u'.';
                break;
            case Kind::Exponent:
                if (exponent < 0) {
                    out += item.text[0] + QStringLiteral("-");
                } else {
                    out += item.text[1] == u'+' ? item.text : QString(item.text[0]);
                }
                break;
            case Kind::Digit:
                if (item.part == 0) {
                    // Digits fill the places from the right; the leftmost place takes any
                    // digits beyond the places.
                    const qsizetype fromRight = layout.wholePlaces - 1 - wholeIndex;
                    const qsizetype own = wholeSize - 1 - fromRight;
                    for (qsizetype k = wholeIndex == 0 ? 0 : own; k <= own; ++k) {
                        if (k >= 0) {
                            emitWholeDigit(k);
                        }
                    }
                    ++wholeIndex;
                } else if (item.part == 1) {
                    if (decimalIndex < fraction.size()) {
                        out += fraction[decimalIndex];
                    }
                    ++decimalIndex;
                } else if (!exponentShown) {
                    out += exponentDigits;
                    exponentShown = true;
                }
                break;
        }
    }
    return out;
}

QString userNumber(const Decimal& value, const QString& format) {
    const QStringList sections = splitSections(format);
    const qsizetype zeroSection = sections.size() >= 3 && !sections[2].isEmpty() ? 2 : 0;
    Decimal magnitude = value;
    magnitude.negative = false;
    const NumberLayout first = readLayout(sections[0]);
    if (value.isZero()) {
        return render(Decimal(), readLayout(sections[zeroSection]));
    }
    if (value.negative) {
        const bool ownSection = sections.size() >= 2 && !sections[1].isEmpty();
        const NumberLayout layout = ownSection ? readLayout(sections[1]) : first;
        // A value that rounds away to nothing is shown as zero, without a sign.
        if (showsAsZero(magnitude, layout)) {
            return render(Decimal(), readLayout(sections[zeroSection]));
        }
        return (ownSection ? QString() : QStringLiteral("-")) + render(magnitude, layout);
    }
    if (zeroSection != 0 && showsAsZero(magnitude, first)) {
        return render(Decimal(), readLayout(sections[zeroSection]));
    }
    return render(magnitude, first);
}

QString formatNumber(const Decimal& value, const QString& format) {
    const QString key = format.trimmed().toLower();
    if (key.isEmpty() || key == u"general number") {
        return generalNumber(value);
    }
    if (key == u"yes/no") {
        return value.isZero() ? QStringLiteral("No") : QStringLiteral("Yes");
    }
    if (key == u"true/false") {
        return value.isZero() ? QStringLiteral("False") : QStringLiteral("True");
    }
    if (key == u"on/off") {
        return value.isZero() ? QStringLiteral("Off") : QStringLiteral("On");
    }
    const QString named = namedNumberFormat(key);
    return userNumber(value, named.isEmpty() ? format : named);
}

// ---- Dates -----------------------------------------------------------------------------

QString twoDigits(int value) {
    return QString::number(value).rightJustified(2, u'0');
}

QString formatDateTime(const QDateTime& value, const QString& format);

QString generalDate(const QDateTime& value) {
    const bool noTime = value.time().msecsSinceStartOfDay() == 0;
    const bool noDate = value.date() == Internal::zeroDate();
    if (noTime) {
        return formatDateTime(value, QStringLiteral("m/d/yyyy"));
    }
    if (noDate) {
        return formatDateTime(value, QStringLiteral("h:mm:ss AM/PM"));
    }
    return formatDateTime(value, QStringLiteral("m/d/yyyy h:mm:ss AM/PM"));
}

/// Week of the year, weeks starting on Sunday and week 1 holding 1 January.
int weekOfYear(const QDate& date) {
    const QDate first(date.year(), 1, 1);
    const QDate firstSunday = first.addDays(-(first.dayOfWeek() % 7));
    return static_cast<int>(firstSunday.daysTo(date) / 7) + 1;
}

bool startsWithNoCase(const QString& text, qsizetype at, QStringView what) {
    return QStringView(text).mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

/// A user-defined date format: the tokens d to dddddd, w, ww, m to mmmm, q, y, yy, yyyy,
/// h, hh, n, nn, s, ss, ttttt, c, AM/PM, am/pm, A/P, a/p, AMPM. "m" right after an hour
/// means minutes.
QString userDate(const QDateTime& value, const QString& format) {
    const QDate date = value.date();
    const QTime time = value.time();
    bool twelveHour = false;
    for (QStringView marker : {u"am/pm", u"a/p", u"ampm"}) {
        twelveHour = twelveHour || format.contains(marker, Qt::CaseInsensitive);
    }
    const int hour12 = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    const int hour = twelveHour ? hour12 : time.hour();
    const bool pm = time.hour() >= 12;

    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        const QChar lower = c.toLower();
        if (c == u'"') {
            const qsizetype end = format.indexOf(u'"', i + 1);
            const qsizetype stop = end < 0 ? format.size() : end;
            out += format.mid(i + 1, stop - i - 1);
            i = stop;
            continue;
        }
        if (c == u'\\') {
            if (i + 1 < format.size()) {
                out += format[++i];
            }
            continue;
        }
        if (startsWithNoCase(format, i, u"am/pm")) {
            const bool upper = c.isUpper();
            out += pm ? (upper ? u"PM" : u"pm") : (upper ? u"AM" : u"am");
            i += 4;
            continue;
        }
        if (startsWithNoCase(format, i, u"ampm")) {
            out += pm ? u"PM" : u"AM";
            i += 3;
            continue;
        }
        if (startsWithNoCase(format, i, u"a/p")) {
            const bool upper = c.isUpper();
            out += pm ? (upper ? u"P" : u"p") : (upper ? u"A" : u"a");
            i += 2;
            continue;
        }
        if (!QStringLiteral("dmyhnswqct").contains(lower)) {
            out += c;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run].toLower() == lower) {
            ++run;
        }
        bool hourToken = false;
        switch (lower.unicode()) {
            case u'd':
                if (run == 1) {
                    out += QString::number(date.day());
                } else if (run == 2) {
                    out += twoDigits(date.day());
                } else if (run <= 4) {
                    out += Internal::dayName(date.dayOfWeek(), run == 3);
                } else if (run == 5) {
                    out += userDate(value, QStringLiteral("m/d/yyyy"));
                } else {
                    out += userDate(value, QStringLiteral("dddd, mmmm d, yyyy"));
                }
                break;
            case u'm':
                if (run <= 2 && afterHour) {
                    out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
                } else if (run <= 2) {
                    out += run == 1 ? QString::number(date.month()) : twoDigits(date.month());
                } else {
                    out += Internal::monthName(date.month(), run == 3);
                }
                break;
            case u'y':
                if (run == 1) {
                    out += QString::number(date.dayOfYear());
                } else if (run == 2) {
                    out += twoDigits(date.year() % 100);
                } else {
                    out += QString::number(date.year()).rightJustified(4, u'0');
                }
                break;
            case u'h':
                out += run == 1 ? QString::number(hour) : twoDigits(hour);
                hourToken = true;
                break;
            case u'n':
                out += run == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
                break;
            case u's':
                out += run == 1 ? QString::number(time.second()) : twoDigits(time.second());
                break;
            case u'w':
                out += run == 1 ? QString::number(date.dayOfWeek() % 7 + 1)
                                : QString::number(weekOfYear(date));
                break;
            case u'q':
                run = 1;
                out += QString::number((date.month() - 1) / 3 + 1);
                break;
            case u'c':
                run = 1;
                out += generalDate(value);
                break;
            case u't':
                if (run >= 5) {
                    run = 5;
                    out += userDate(value, QStringLiteral("h:mm:ss AM/PM"));
                } else {
                    out += format.mid(i, run);
                }
                break;
            default:
                break;
        }
        afterHour = hourToken;
        i += run - 1;
    }
    return out;
}

QString formatDateTime(const QDateTime& value, const QString& format) {
    if (!value.isValid()) {
        return {};
    }
    const QString key = format.trimmed().toLower();
    if (key.isEmpty() || key == u"general date") {
        return generalDate(value);
    }
    const QString named = namedDateFormat(key);
    return userDate(value, named.isEmpty() ? splitSections(format).front() : named);
}

bool isIntegral(int typeId) {
    switch (typeId) {
        case QMetaType::Int:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::Char:
        case QMetaType::SChar:
            return true;
        default:
            return false;
    }
}

bool isUnsigned(int typeId) {
    switch (typeId) {
        case QMetaType::UInt:
        case QMetaType::ULong:
        case QMetaType::ULongLong:
        case QMetaType::UShort:
        case QMetaType::UChar:
            return true;
        default:
            return false;
    }
}

/// A number in any format: dates formats read it as a date serial.
QString formatDecimal(const Decimal& value, const QString& format) {
    if (isDateFormat(format)) {
        const auto serial = value.toDouble();
        return serial ? formatDateTime(Internal::fromSerial(*serial), format) : QString();
    }
    return formatNumber(value, format);
}

}  // namespace

QString Format(double value, const QString& format) {
    if (!std::isfinite(value)) {
        return QString::number(value);
    }
    return formatDecimal(Decimal::fromDouble(value), format);
}

QString Format(Currency value, const QString& format) {
    if (format.trimmed().isEmpty()) {
        return value.toString();
    }
    return formatDecimal(Decimal::fromCurrency(value), format);
}

QString Format(const QDateTime& value, const QString& format) {
    if (!value.isValid()) {
        return {};
    }
    if (!format.trimmed().isEmpty() && !isDateFormat(format)) {
        return formatNumber(Decimal::fromDouble(Internal::toSerial(value)), format);
    }
    return formatDateTime(value, format);
}

QString Format(const QDate& value, const QString& format) {
    if (!value.isValid()) {
        return {};
    }
    return Format(QDateTime(value, QTime(0, 0)), format);
}

QString Format(const QVariant& value, const QString& format) {
    if (!value.isValid() || value.isNull()) {
        return {};
    }
    const int typeId = value.typeId();
    if (value.metaType() == QMetaType::fromType<Currency>()) {
        return Format(value.value<Currency>(), format);
    }
    switch (typeId) {
        case QMetaType::QDate:
            return Format(value.toDate(), format);
        case QMetaType::QDateTime:
            return Format(value.toDateTime(), format);
        case QMetaType::QTime:
            return Format(QDateTime(Internal::zeroDate(), value.toTime()), format);
        case QMetaType::Bool:
            if (format.trimmed().isEmpty()) {
                return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
            }
            return formatDecimal(Decimal::fromInteger(value.toBool() ? -1 : 0), format);
        case QMetaType::Double:
        case QMetaType::Float:
            return Format(value.toDouble(), format);
        case QMetaType::QString:
        case QMetaType::QByteArray: {
            const QString text = value.toString();
            if (format.trimmed().isEmpty()) {
                return text;
            }
            if (isDateFormat(format)) {
                if (const auto date = CDate(text)) {
                    return formatDateTime(*date, format);
                }
            }
            if (const auto number = Internal::parseNumericText(text)) {
                return formatDecimal(*number, format);
            }
            return text;
        }
        default:
            break;
    }
    if (isIntegral(typeId)) {
        return formatDecimal(Decimal::fromInteger(value.toLongLong()), format);
    }
    if (isUnsigned(typeId)) {
        return formatDecimal(Decimal::fromUnsigned(value.toULongLong()), format);
    }
    return value.toString();
}

}  // namespace tqplatform::vb
