#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <QValidator>

#include <array>

/// The service code editor's rules that need no window: the bound columns, the cursor-stop
/// options, the field formats, the statements and the messages.
namespace tqservicecode::editor {

inline constexpr int BoxCount = 17;
/// The boxes of the editor, by what they hold.
enum Box {
    Code = 0,
    Description,
    OfficeCode,
    Fee1,
    Fee2,
    Fee3,
    Fee4,
    Type,
    Category,
    SubCategory,
    CrossRef,
    Billable,
    CursorStops,
    TaxRate,
    Friendly,
    Spanish,
    Letter
};
/// The column each box is bound to, in box order.
const QStringList& boxColumns();
/// The most characters a box holds (0: no limit).
int boxWidth(int box);

/// Holds a box to a width counted in characters, as the databases count them: an emoji
/// is one character though a QString holds it in two units. What goes beyond the width is
/// cut from the text just typed or pasted (before the cursor), never inside a character.
class CharacterWidthValidator : public QValidator {
    Q_OBJECT

public:
    CharacterWidthValidator(int width, QObject* parent);
    State validate(QString& input, int& pos) const override;

private:
    int m_width;
};

inline constexpr int OptionCount = 27;
inline constexpr int CursorPositions = 9;
/// The billable pair of the service code fields.
inline constexpr int BillableYes = 25;
inline constexpr int BillableNo = 26;
/// The cursor position (1 to 9) that an option sets; 0 for the billable pair.
int positionOfOption(int option);
/// The letter an option writes.
QChar letterOfOption(int option);
/// The options of a position, "Y" first.
QList<int> optionsOfPosition(int position);
/// The option a stored letter selects (compared upper-cased); the "Y" option for any other.
int optionForLetter(int position, QChar letter);
/// cursorStops with letter written at position (1 to 9), padded with "N" when shorter.
QString withLetter(QString cursorStops, int position, QChar letter);
/// The options "Yes to all" and "No to all" select.
const std::array<int, CursorPositions>& yesOptions();
const std::array<int, CursorPositions>& noOptions();

/// A fee as the editor shows it, "$0.00"; a text that is no amount of money (no number,
/// or a number too large for money) shows "$0.00".
QString feeDisplay(const QString& text);
/// A fee after Enter: "###,##0.00"; a text that is no amount of money stays.
QString feeOnEnter(const QString& text);
/// Whether every fee text is zero, each read without its leading currency sign.
bool allFeesZero(const QStringList& feeTexts);
inline const QString NotApplicable = QStringLiteral("Not Applicable");
/// A tax rate as shown, "0.000###": a trailing "%" is dropped; "Not Applicable" and -1
/// show "Not Applicable"; a text that is no number stays as typed.
QString taxDisplay(const QString& text);
/// The tax rate as stored: "Not Applicable" is -1.00.
QString taxToStore(const QString& text);

/// The part of a description the host's transaction screen shows.
inline constexpr int TransactionScreenWidth = 60;
/// The notice for a description longer than that; "" when it fits.
QString longTextNotice(const QString& fieldName, const QString& text);

/// The record source of the code id; "" for a new code (no rows to read).
QString recordSourceStatement(int id);
/// The duplicate check's statement for a new code.
QString duplicateStatement(const QString& scope, const QString& quotedCode);

struct ExistingCode {
    QString code, officeCode, description, fee1, type, category, subCategory;
};
/// The duplication box's text about the existing row (fee1 already in "Currency" form).
QString duplicateMessage(const ExistingCode& row);

/// The charge categories of "Typ1Cat.TXT": one per line, blank lines left out.
QStringList categoriesFromFile(const QString& path);

/// The leading type number of a type text ("2 - Credit" is 2); 0 for none.
int typeNumber(const QString& typeText);

}  // namespace tqservicecode::editor
