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
    // Four decimals rounded half away from zero to cents.
    const int64_t cents = (fee.raw() + 50) / 100;
    QString text = QString::number(cents / 100);
    const int64_t fraction = cents % 100;
    text.prepend(QLatin1Char('$'));
    text += QLatin1Char('.');
    text += QLatin1Char(static_cast<char>('0' + fraction / 10));
    text += QLatin1Char(static_cast<char>('0' + fraction % 10));
    return text;
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
    int width = widths.width(shown);
    while (!shown.isEmpty() && width > maxWidth) {
        width -= widths.width(shown.right(1));
        shown.chop(1);
    }
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
    QString line = record.code() + Tab + record.description() + Tab +
                   moneyText(record.fee(feeSchedule)) + Tab;
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
