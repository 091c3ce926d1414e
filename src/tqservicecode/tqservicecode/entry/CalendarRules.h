#pragma once

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

/// The rules of the calendar and calculator screen, kept apart from its widgets: the
/// answer codes, the date texts, the relative caption under the calendar, the "3mo+" and
/// "6mo+" dates, the treatment-date list and the four-function calculator.
namespace tqservicecode::calendar {

/// ScreenNumber after the screen closes: accepted, or cancelled (also its value while the
/// screen is open, so that closing the window counts as cancel).
inline constexpr int32_t Accepted = 0;
inline constexpr int32_t Cancelled = 123456;

inline constexpr int CalendarHelpContext = 848;
inline constexpr int CalculatorHelpContext = 0;

/// Dates leave the calendar as "MM-DD-YYYY" texts.
inline const QString DateFormat = QStringLiteral("MM-DD-YYYY");
inline const QString CalculatorCaption = QStringLiteral("Calculator");
inline const QString DivideByZeroMessage = QStringLiteral("Can't divide by zero.");
inline const QString OverflowMessage =
    QStringLiteral("The result is too large for the calculator (1E+300 or more).");
/// The dates the calendar offers: those whose "MM-DD-YYYY" text reads back as a date.
inline const QDate FirstDate = QDate(100, 1, 1);
inline const QDate LastDate = QDate(9999, 12, 31);
inline const QString TreatmentDateOption = QStringLiteral("TXDATE");
inline const QString MonthTip = QStringLiteral("Left click to change Month");
inline const QString YearTip = QStringLiteral("Left click to change Year");

/// The opener's ScreenParameter: the calendar face with the caption from ScreenText when
/// it contains "GET_TITLE"; the calculator face when it ends in "CALCULATOR". Both tests
/// are case-sensitive; when both hold, the calculator face wins.
bool asksForTitle(const QString& screenParameter);
bool asksForCalculator(const QString& screenParameter);

/// A date as the calendar answers it: "MM-DD-YYYY".
QString dateText(const QDate& date);

/// The caption under the calendar for the selected date, counted in day boundaries from
/// today: "today", "1 day from today", "5 days from today", "1 day ago", "5 days ago".
QString relativeCaption(const QDate& today, const QDate& selected);
/// Its colour: black for today, dark blue for a date ahead, dark red for one gone by.
QColor relativeCaptionColor(const QDate& today, const QDate& selected);

/// The date of "3mo+" (months 3) and "6mo+" (months 6): the base date plus the months
/// (the last day of the month where the day does not exist) plus one day. The base is the
/// selected date, or defaultDate() when the selection is not a valid date. Invalid when
/// the result falls outside the calendar's years.
QDate monthsAhead(const QDate& selected, int months, const std::function<QDate()>& defaultDate);

/// "January" to "December", and the four-digit years offered around a year.
QStringList monthNames();
QList<int> yearChoices(int aroundYear);

/// The entries of the treatment-date list: each date as "MM-DD-YYYY", or today's date
/// alone when the patient has none.
QStringList treatmentDateEntries(const QList<QDate>& dates, const QDate& today);
/// The answer of the treatment-date "&OK": the entry as "MM-DD-YYYY" when it is a date,
/// else "".
QString treatmentDateAnswer(const QString& entry);

/// The calculator's "&OK" answer: the display's numeric value as text (a zero value gives
/// "0"); nothing when the display is not numeric, so the previous answer stays.
std::optional<QString> calculatorAnswer(const QString& display);

/// The calculator key a keyboard key stands for ("" when none), for keys typed while the
/// calculator face is active:
///   0-9 (main row or keypad)   the digits
///   . and ,                    "."
///   + - / %                    themselves
///   * and x                    "x"
///   = Enter Return             "="
///   Delete Backspace           "CE"
///   c                          "C"
/// Keys held with Ctrl, Alt or Meta are not calculator keys (Alt+O and Alt+C stay the
/// "&OK" and "&Cancel" buttons, Esc cancels as on every screen).
QString calculatorKeyFor(int key, Qt::KeyboardModifiers modifiers);

/// The four-function calculator behind the pad. Operands are held as text and computed
/// in double precision. Keys are the button captions: "0".."9", ".", "+", "-", "x", "/",
/// "=", "%", "CE", "C".
///
/// Entry rules:
/// - A digit after anything but a digit or "." starts a new number in the display; while a
///   number is being typed digits are appended. A leading zero is replaced ("07" shows
///   "7"). An entry holds at most 15 digits; further digits are ignored.
/// - "." starts "0." when a new number begins and is ignored when the number already has
///   a decimal point.
/// - An operator ("+", "-", "x", "/", "=") takes the display as an operand unless the last
///   key was an operator (then it only replaces the pending operator). With two operands
///   held the pending operation is computed: "+" sum, "-" difference, "x" product, "/"
///   quotient, "=" the second operand; the result is shown and becomes the first operand.
/// - Division by zero is not performed: the first operand is kept and shown, and press()
///   answers DivideByZero so that the screen can say so. A result beyond the range of the
///   display (1E+300 or more) is treated the same way but answers Overflow.
/// - "%": the display becomes its value divided by 100; the next digit starts a new number.
/// - "CE" clears the number being entered (the display shows "0", which counts as the
///   operand if an operator follows); the first operand and the pending operator stay.
/// - "C" clears the whole calculation.
class Calculator {
public:
    enum class Outcome { Done, Ignored, DivideByZero, Overflow };

    Outcome press(const QString& key);

    const QString& display() const { return m_display; }
    int operandCount() const { return m_operandCount; }
    const QString& firstOperand() const { return m_firstOperand; }
    const QString& pendingOperator() const { return m_pendingOperator; }

    static constexpr int MaxDigits = 15;

private:
    Outcome digit(QChar digit);
    Outcome point();
    Outcome operate(const QString& op);
    Outcome percent();
    Outcome clearEntry();
    Outcome clearAll();
    bool typingNumber() const;

    QString m_display = QStringLiteral("0");
    QString m_firstOperand;
    QString m_secondOperand;
    QString m_pendingOperator;
    int m_operandCount = 0;
    /// "NUMS" while a number is typed, "OPS" after an operator, "PCT" after "%", "CE",
    /// "CANCEL" after "C", "" at the start.
    QString m_lastInput;
    bool m_decimalTyped = false;
};

}  // namespace tqservicecode::calendar
