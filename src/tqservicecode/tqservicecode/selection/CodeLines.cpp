#include <tqservicecode/selection/CodeLines.h>

#include <tqservicecode/codes/Vocabulary.h>
#include <tqservicecode/selection/PickerCategories.h>
#include <tqservicecode/selection/PickerListModel.h>

#include <tqplatform/Vb.h>

namespace tqservicecode {

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

int CharacterWidths::width(QStringView text) const {
    int total = 0;
    for (QChar c : text) {
        total += widthOf(c);
    }
    return total;
}

namespace picker {

namespace {
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
    // Never half of a character: a pair of UTF-16 units (an emoji) goes whole or not at all.
    if (fitting > 0 && shown.at(fitting - 1).isHighSurrogate()) {
        --fitting;
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

QString totalLabel(int chosenCount, const tqplatform::Currency& total) {
    return chosenCount == 0 ? QString() : QStringLiteral("Total: ") + moneyText(total);
}

QString chosenItemText(const PickerRow& row) {
    if (row.id != 0) {
        return QString::number(row.id);
    }
    const QString officeCode = row.officeCodeShown ? row.officeCode.trimmed() : QString();
    return officeCode.isEmpty() ? row.code : officeCode;
}

}  // namespace picker
}  // namespace tqservicecode
