#pragma once

#include <tqplatform/Currency.h>

#include <QFontMetrics>
#include <QHash>
#include <QString>

#include <array>

namespace tqservicecode {

struct PickerRow;

/// Widths of characters in one font, measured once each: a description's printed width
/// is then a sum, with no font measuring per row.
class CharacterWidths {
public:
    explicit CharacterWidths(const QFontMetrics& metrics);
    int width(QStringView text) const;
    int width(const QString& text) const { return width(QStringView(text)); }
    int widthOf(QChar c) const;

private:
    QFontMetrics m_metrics;
    std::array<int, 256> m_latin1{};
    mutable QHash<QChar, int> m_others;
};

}  // namespace tqservicecode

/// The lines of the picker's lists and what is read back from them.
namespace tqservicecode::picker {

/// The width the code list gives a description, in twips.
inline constexpr int DescriptionWidthTwips = 1680;
inline constexpr int DescriptionChars = 20;

/// A description as the code list shows it: padded with blanks to 20 characters, cut to
/// 20, then shortened a character at a time while wider than maxWidth pixels.
QString listDescription(const QString& description, const CharacterWidths& widths, int maxWidth);

/// The statement that fills the code list for a category ("" for all categories).
QString codeListStatement(const QString& scopeFilter, const QString& category,
                          const QString& feeColumn);

/// A fee as the lists show it, the display format "$0.00" ("$1234.50"), without parsing
/// the format for every row.
QString moneyText(const tqplatform::Currency& fee);

/// The total label of the chosen lines: "" for none, else "Total: " and the sum of
/// their fees.
QString totalLabel(int chosenCount, const tqplatform::Currency& total);

/// What the host is handed for a chosen row: its row id, else its office code when the
/// line shows it, else its code.
QString chosenItemText(const PickerRow& row);

}  // namespace tqservicecode::picker
