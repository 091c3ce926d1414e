#include <tqservicecode/maintenance/ServiceCodeValidation.h>

#include <tqplatform/Currency.h>
#include <tqplatform/Error.h>
#include <tqplatform/TextWidth.h>
#include <tqplatform/Vb.h>

#include <QFile>

#include <algorithm>
#include <cstring>
#include <optional>

namespace tqservicecode::editor {

using tqplatform::vb::Format;
using tqplatform::vb::IsNumeric;

const QStringList& boxColumns() {
    static const QStringList columns = {
        QStringLiteral("sevcodCod"),       QStringLiteral("sevcodDes"),
        QStringLiteral("sevcodOffCod"),    QStringLiteral("sevcodFee1"),
        QStringLiteral("sevcodFee2"),      QStringLiteral("sevcodFee3"),
        QStringLiteral("sevcodFee4"),      QStringLiteral("sevcodTyp"),
        QStringLiteral("sevcodCat"),       QStringLiteral("sevcodSubCat"),
        QStringLiteral("sevcodCroRefCod"), QStringLiteral("sevcodBil"),
        QStringLiteral("sevcodCurMov"),    QStringLiteral("sevcodTax"),
        QStringLiteral("sevcodDesForPat"), QStringLiteral("sevcod2ndDes"),
        QStringLiteral("sevcodLetNam")};
    return columns;
}

int boxWidth(int box) {
    static constexpr std::array<int, BoxCount> widths = {10, 255, 10, 0,  0, 0,   0,   10, 10,
                                                         10, 10,  3,  20, 0, 255, 255, 0};
    return box >= 0 && box < BoxCount ? widths[static_cast<size_t>(box)] : 0;
}

CharacterWidthValidator::CharacterWidthValidator(int width, QObject* parent)
    : QValidator(parent), m_width(width) {}

QValidator::State CharacterWidthValidator::validate(QString& input, int& pos) const {
    using tqplatform::characterCount;
    using tqplatform::leftCharacters;
    if (characterCount(input) <= m_width) {
        return Acceptable;
    }
    const QString after = input.mid(pos);
    const QString before =
        leftCharacters(input.left(pos), std::max<qsizetype>(0, m_width - characterCount(after)));
    input = before + leftCharacters(after, m_width - characterCount(before));
    pos = static_cast<int>(before.size());
    return Acceptable;
}

namespace {

/// The first option of each position, and the letters of its options in order.
struct Position {
    int first;
    const char* letters;
};
constexpr std::array<Position, CursorPositions> positions = {{{0, "YN"},
                                                              {2, "YNAP"},
                                                              {6, "YN12345"},
                                                              {13, "YN"},
                                                              {15, "YN"},
                                                              {17, "YN"},
                                                              {19, "YN"},
                                                              {21, "YN"},
                                                              {23, "YN"}}};

}  // namespace

int positionOfOption(int option) {
    for (int p = 0; p < CursorPositions; ++p) {
        const Position& pos = positions[static_cast<size_t>(p)];
        if (option >= pos.first && option < pos.first + static_cast<int>(strlen(pos.letters))) {
            return p + 1;
        }
    }
    return 0;
}

QChar letterOfOption(int option) {
    if (option == BillableYes || option == BillableNo) {
        return option == BillableYes ? QLatin1Char('Y') : QLatin1Char('N');
    }
    const int p = positionOfOption(option);
    if (p == 0) {
        return {};
    }
    const Position& pos = positions[static_cast<size_t>(p - 1)];
    return QLatin1Char(pos.letters[option - pos.first]);
}

QList<int> optionsOfPosition(int position) {
    QList<int> options;
    if (position >= 1 && position <= CursorPositions) {
        const Position& pos = positions[static_cast<size_t>(position - 1)];
        for (int i = 0; pos.letters[i] != '\0'; ++i) {
            options << pos.first + i;
        }
    }
    return options;
}

int optionForLetter(int position, QChar letter) {
    const Position& pos = positions[static_cast<size_t>(position - 1)];
    const int at = QString::fromLatin1(pos.letters).indexOf(letter.toUpper());
    return pos.first + (at < 0 ? 0 : at);
}

QString withLetter(QString cursorStops, int position, QChar letter) {
    while (cursorStops.size() < CursorPositions) {
        cursorStops += QLatin1Char('N');
    }
    cursorStops[position - 1] = letter;
    return cursorStops;
}

const std::array<int, CursorPositions>& yesOptions() {
    static constexpr std::array<int, CursorPositions> options = {0, 2, 6, 13, 15, 17, 19, 21, 23};
    return options;
}

const std::array<int, CursorPositions>& noOptions() {
    static constexpr std::array<int, CursorPositions> options = {1, 3, 7, 14, 16, 18, 20, 22, 24};
    return options;
}

namespace {

/// The amount of a fee text; none for a text that is no number or too large for money.
std::optional<tqplatform::Currency> feeAmount(const QString& text) {
    if (!IsNumeric(text)) {
        return std::nullopt;
    }
    try {
        return tqplatform::vb::CCur(text);
    } catch (const tqplatform::Error&) {
        return std::nullopt;  // beyond money's range: no amount
    }
}

}  // namespace

QString feeDisplay(const QString& text) {
    const std::optional<tqplatform::Currency> fee = feeAmount(text.trimmed());
    return Format(fee.value_or(tqplatform::Currency()), QStringLiteral("$0.00"));
}

QString feeOnEnter(const QString& text) {
    const std::optional<tqplatform::Currency> fee = feeAmount(text.trimmed());
    return fee ? Format(*fee, QStringLiteral("###,##0.00")) : text;
}

bool allFeesZero(const QStringList& feeTexts) {
    for (QString fee : feeTexts) {
        fee = fee.trimmed();
        if (fee.startsWith(QLatin1Char('$'))) {
            fee.remove(0, 1);
        }
        if (tqplatform::vb::Val(fee.remove(QLatin1Char(','))) != 0) {
            return false;
        }
    }
    return true;
}

QString taxDisplay(const QString& text) {
    QString tax = text.trimmed();
    if (tax.compare(NotApplicable, Qt::CaseInsensitive) == 0) {
        return NotApplicable;
    }
    if (tax.endsWith(QLatin1Char('%'))) {
        tax.chop(1);
        tax = tax.trimmed();
    }
    if (!IsNumeric(tax)) {
        return tax;
    }
    const double value = tqplatform::vb::Val(tax);
    if (value == -1) {
        return NotApplicable;
    }
    return Format(value, QStringLiteral("0.000###"));
}

QString taxToStore(const QString& text) {
    return text.trimmed().compare(NotApplicable, Qt::CaseInsensitive) == 0 ? QStringLiteral("-1.00")
                                                                           : text.trimmed();
}

QString longTextNotice(const QString& fieldName, const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() <= TransactionScreenWidth) {
        return {};
    }
    return QStringLiteral("The [") + fieldName +
           QStringLiteral(
               "] field can hold up to 255 characters.\r\n\r\nHowever, the "
               "Transaction screen can only display 255 characters as "
               "follows:\r\n\r\n[") +
           trimmed.left(TransactionScreenWidth) + QLatin1Char(']');
}

QString recordSourceStatement(int id) {
    if (id == 0) {
        return {};
    }
    return QStringLiteral("Select * from SevCodTable where SevCodID=") + QString::number(id) +
           QLatin1Char(';');
}

QString duplicateStatement(const QString& scope, const QString& quotedCode) {
    QString condition = scope;
    // The host's translation drops an AND left without a condition before it.
    if (!condition.trimmed().endsWith(QStringLiteral("where"), Qt::CaseInsensitive)) {
        condition += QStringLiteral(" and");
    }
    return QStringLiteral("Select * From SevCodTable where ") + condition +
           QStringLiteral(" sevcodCod = ") + quotedCode + QLatin1Char(';');
}

QString duplicateMessage(const ExistingCode& row) {
    return QStringLiteral("This code is already in your database.\r\n\r\n") +
           QStringLiteral("Code: \t\t") + row.code + QStringLiteral("\r\n") +
           QStringLiteral("Office code: \t") + row.officeCode + QStringLiteral("\r\n") +
           QStringLiteral("Description: \t") + row.description + QStringLiteral("\r\n") +
           QStringLiteral("Fee1: \t\t") + row.fee1 + QStringLiteral("\r\n") +
           QStringLiteral("Type: \t\t") + row.type + QStringLiteral("\r\n") +
           QStringLiteral("Category: \t") + row.category + QStringLiteral("\r\n") +
           QStringLiteral("Subcategory: \t") + row.subCategory + QStringLiteral("\r\n\r\n") +
           QStringLiteral(
               "Tavix recommends that you do not add the same code again in your "
               "database since your reports will not accurately track these "
               "codes.\r\n") +
           QStringLiteral(
               "Click on [No] to exit without saving. Click on [Yes] to save this "
               "duplicate code.");
}

QStringList categoriesFromFile(const QString& path) {
    QFile file(path);
    QStringList categories;
    if (!file.open(QIODevice::ReadOnly)) {
        return categories;
    }
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString category = line.trimmed();
        if (!category.isEmpty()) {
            categories << category;
        }
    }
    return categories;
}

int typeNumber(const QString& typeText) {
    return static_cast<int>(tqplatform::vb::Val(typeText.trimmed()));
}

}  // namespace tqservicecode::editor
