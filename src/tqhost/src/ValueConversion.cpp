#include "ValueConversion.h"

#include <tqplatform/Currency.h>
#include <tqplatform/TextWidth.h>
#include <tqplatform/Vb.h>

#include <QLocale>
#include <QMetaType>
#include <QRegularExpression>

#include <cfloat>
#include <cmath>
#include <limits>

namespace tqhost::Internal {

namespace {

using schema::ColumnType;

Conversion fits(QVariant value) {
    return {true, std::move(value), {}};
}
Conversion refused(const QString& problem) {
    return {false, {}, problem};
}

QVariant typedNull(ColumnType type) {
    switch (type) {
        case ColumnType::Integer:
        case ColumnType::SmallInt:
            return QVariant(QMetaType::fromType<qlonglong>());
        case ColumnType::Single:
        case ColumnType::Double:
            return QVariant(QMetaType::fromType<double>());
        default:
            return QVariant(QMetaType::fromType<QString>());
    }
}

Conversion wholeNumber(const QString& trimmed, qlonglong lowest, qlonglong highest) {
    static const QRegularExpression pattern(QStringLiteral("^([+-]?\\d+)(\\.0*)?$"));
    const QRegularExpressionMatch match = pattern.match(trimmed);
    if (!match.hasMatch()) {
        return refused(QStringLiteral("is not a whole number"));
    }
    bool ok = false;
    const qlonglong number = match.captured(1).toLongLong(&ok);
    if (!ok || number < lowest || number > highest) {
        return refused(QStringLiteral("is out of range (%1 to %2)").arg(lowest).arg(highest));
    }
    return fits(QVariant::fromValue(number));
}

Conversion realNumber(const QString& trimmed, bool single) {
    bool ok = false;
    const double number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(number)) {
        return refused(QStringLiteral("is not a number"));
    }
    if (single && std::fabs(number) > static_cast<double>(FLT_MAX)) {
        return refused(QStringLiteral("is out of range"));
    }
    return fits(QVariant::fromValue(number));
}

Conversion money(const QString& trimmed) {
    const std::optional<tqplatform::Currency> amount = tqplatform::Currency::parse(trimmed);
    if (!amount.has_value()) {
        return refused(QStringLiteral("is not an amount of money"));
    }
    // Bound as exact decimal text: NUMERIC keeps it as written on PostgreSQL.
    return fits(QVariant::fromValue(amount->toFixedString()));
}

Conversion dateValue(const QString& trimmed) {
    std::optional<QDateTime> moment;
    for (const QString& format :
         {QStringLiteral("yyyy-MM-dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd")}) {
        const QDateTime stored = QDateTime::fromString(trimmed, format);
        if (stored.isValid()) {
            moment = stored;
            break;
        }
    }
    if (!moment.has_value()) {
        moment = tqplatform::vb::CDate(trimmed);
    }
    if (!moment.has_value() || !moment->isValid()) {
        return refused(QStringLiteral("is not a date"));
    }
    const QTime time = moment->time();
    const bool hasTime = time.isValid() && time != QTime(0, 0);
    return fits(QVariant::fromValue(moment->toString(hasTime ? QStringLiteral("yyyy-MM-dd HH:mm:ss")
                                                             : QStringLiteral("yyyy-MM-dd"))));
}

}  // namespace

Conversion convertValue(const schema::Column& column, const QString& text) {
    if (text.contains(QChar(u'\0'))) {
        return refused(QStringLiteral("contains a NUL character"));
    }
    if (column.type == ColumnType::Text || column.type == ColumnType::Memo) {
        if (column.type == ColumnType::Text && tqplatform::characterCount(text) > column.width) {
            return refused(QStringLiteral("is longer than %1 characters").arg(column.width));
        }
        return fits(QVariant::fromValue(text));
    }
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        if (!column.nullable) {
            return refused(QStringLiteral("is empty"));
        }
        return fits(typedNull(column.type));
    }
    switch (column.type) {
        case ColumnType::Integer:
            return wholeNumber(trimmed, std::numeric_limits<int32_t>::min(),
                               std::numeric_limits<int32_t>::max());
        case ColumnType::SmallInt:
            return wholeNumber(trimmed, std::numeric_limits<int16_t>::min(),
                               std::numeric_limits<int16_t>::max());
        case ColumnType::Single:
            return realNumber(trimmed, true);
        case ColumnType::Double:
            return realNumber(trimmed, false);
        case ColumnType::Currency:
            return money(trimmed);
        case ColumnType::Date:
            return dateValue(trimmed);
        case ColumnType::Text:
        case ColumnType::Memo:
            break;
    }
    return refused(QStringLiteral("has no conversion"));
}

}  // namespace tqhost::Internal
