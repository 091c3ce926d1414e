#include <tqservicecode/selection/CodeLines.h>

#include <tqservicecode/codes/ServiceCodeRecord.h>
#include <tqservicecode/codes/Vocabulary.h>
#include <tqservicecode/selection/PickerCategories.h>

#include <tqplatform/Vb.h>

namespace tqservicecode::picker {

namespace {
const QString Tab = QStringLiteral("\t");
const QString MoneyFormat = QStringLiteral("$0.00");
}  // namespace

QString moneyText(const tqplatform::Currency& fee) {
    if (fee.isNegative()) {
        return tqplatform::vb::Format(fee, MoneyFormat);
    }
    // Four decimals rounded half away from zero to cents, written backwards into a small
    // buffer: this runs once per row of a list that may hold a hundred thousand codes.
    int64_t cents = (fee.raw() + 50) / 100;
    char buffer[32];
    int pos = sizeof buffer;
    buffer[--pos] = static_cast<char>('0' + cents % 10);
    cents /= 10;
    buffer[--pos] = static_cast<char>('0' + cents % 10);
    cents /= 10;
    buffer[--pos] = '.';
    do {
        buffer[--pos] = static_cast<char>('0' + cents % 10);
        cents /= 10;
    } while (cents > 0);
    buffer[--pos] = '$';
    return QString::fromLatin1(buffer + pos, static_cast<qsizetype>(sizeof buffer) - pos);
}

CharacterWidths::CharacterWidths(const QFontMetrics& metrics) : m_metrics(metrics) {
    for (int i = 0; i < 256; ++i) {
        m_latin1[i] = m_metrics.horizontalAdvance(QChar(i));
    }
}

int CharacterWidths::widthOf(QChar c) const {
    if (c.unicode() < 256) {
        return m_latin1[c.unicode()];
    }
    auto found = m_others.constFind(c);
    if (found != m_others.constEnd()) {
        return *found;
    }
    const int width = m_metrics.horizontalAdvance(c);
    m_others.insert(c, width);
    return width;
}

int CharacterWidths::width(const QString& text) const {
    int total = 0;
    for (QChar c : text) {
        total += widthOf(c);
    }
    return total;
}

QString listDescription(const QString& description, const CharacterWidths& widths, int maxWidth) {
    QString shown = description.leftJustified(DescriptionChars, QLatin1Char(' '), true);
    // Dropping characters from the end until the text fits keeps its longest prefix that
    // fits: found in one pass over the characters' widths.
    int width = 0;
    int fitting = 0;
    for (QChar c : std::as_const(shown)) {
        width += widths.widthOf(c);
        if (width > maxWidth) {
            break;
        }
        ++fitting;
    }
    shown.truncate(fitting);
    return shown;
}

QString codeListStatement(const QString& scopeFilter, const QString& category,
                          const QString& feeColumn) {
    QString sql = QStringLiteral("SELECT sevcodid, sevcodDes, sevCodOffCod, sevCodCod, ") +
                  feeColumn + QStringLiteral(" FROM SevCodTable WHERE ") + scopeFilter;
    if (!category.isEmpty()) {
        sql += QStringLiteral(" (sevcodCat = ") + QLatin1Char('\'') + category +
               QStringLiteral("') AND ");
    }
    return sql + QStringLiteral(" NOT (sevcodCod IN (") + ReservedCodeList + QStringLiteral(")) ") +
           sortClauseFor(category);
}

QString codeListLine(const QVariant& code, const QVariant& officeCode,
                     const QString& shownDescription, const tqplatform::Currency& fee) {
    QString line;
    line.reserve(64);
    line += QLatin1Char(' ');
    line += code.toString();
    line += Tab;
    line += officeCode.toString().trimmed();
    line += Tab;
    line += shownDescription;
    line += Tab;
    if (!fee.isZero()) {
        line += moneyText(fee);
    }
    line += Tab;
    return line;
}

QString chosenCodeLine(const ServiceCodeRecord& record, int feeSchedule, bool showOfficeCode) {
    QString line =
        record.code() + Tab + record.description() + Tab + moneyText(record.fee(feeSchedule)) + Tab;
    if (showOfficeCode) {
        line += record.SevCodOffCod.trimmed();
    }
    return line + Tab;
}

QString totalLabel(const QStringList& chosenLines) {
    if (chosenLines.isEmpty()) {
        return {};
    }
    tqplatform::Currency total;
    for (const QString& line : chosenLines) {
        total += tqplatform::Currency::parse(tabField(line, 2)).value_or(tqplatform::Currency());
    }
    return QStringLiteral("Total: ") + moneyText(total);
}

QString chosenItemText(const QString& line, int32_t id) {
    if (id != 0) {
        return QString::number(id);
    }
    const QString officeCode = tabField(line, 3);
    return officeCode.isEmpty() ? tabField(line, 0) : officeCode;
}

QString tabField(const QString& line, int n) {
    return line.section(QLatin1Char('\t'), n, n);
}

}  // namespace tqservicecode::picker
