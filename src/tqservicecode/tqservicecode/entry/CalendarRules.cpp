#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/entry/CalendarRules.h>

#include <tqglobal/Error.h>
#include <tqplatform/Vb.h>

#include <cmath>

namespace tqservicecode::calendar {

namespace vb = tqplatform::vb;

namespace {

const QString Numbers = QStringLiteral("NUMS");
const QString Operators = QStringLiteral("OPS");
const QString Percent = QStringLiteral("PCT");
const QString ClearedEntry = QStringLiteral("CE");
const QString Cleared = QStringLiteral("CANCEL");

/// Results the display can hold and read back.
constexpr double DisplayLimit = 1e300;

/// The number a display or operand text stands for; nothing when it cannot be read.
std::optional<double> numberOf(const QString& text) {
    try {
        const double value = vb::Val(text);
        if (!std::isfinite(value)) {
            return std::nullopt;
        }
        return value;
    } catch (const tqGlobal::Error&) {
        return std::nullopt;
    }
}

/// A number as the display shows it: up to 15 significant digits, no needless zeros.
QString numberText(double value) {
    return vb::Format(value, QString());
}

int digitCount(const QString& text) {
    int count = 0;
    for (QChar c : text) {
        if (c.isDigit()) {
            ++count;
        }
    }
    return count;
}

}  // namespace

bool asksForTitle(const QString& screenParameter) {
    return screenParameter.contains(protocol::GetTitle);
}

bool asksForCalculator(const QString& screenParameter) {
    return screenParameter.right(10) == protocol::Calculator;
}

QString dateText(const QDate& date) {
    return vb::Format(date, DateFormat);
}

QString relativeCaption(const QDate& today, const QDate& selected) {
    const int64_t days = vb::DateDiff(QStringLiteral("d"), today, selected);
    if (days == 0) {
        return QStringLiteral("today");
    }
    if (days == 1) {
        return QStringLiteral("1 day from today");
    }
    if (days > 1) {
        return QString::number(days) + QStringLiteral(" days from today");
    }
    if (days == -1) {
        return QStringLiteral("1 day ago");
    }
    return QString::number(-days) + QStringLiteral(" days ago");
}

QColor relativeCaptionColor(const QDate& today, const QDate& selected) {
    const int64_t days = today.daysTo(selected);
    if (days == 0) {
        return QColor(0, 0, 0);
    }
    return days > 0 ? QColor(0, 0, 160) : QColor(160, 0, 0);
}

QDate monthsAhead(const QDate& selected, int months, const std::function<QDate()>& defaultDate) {
    const QDate base = selected.isValid() ? selected : defaultDate();
    if (!base.isValid()) {
        return {};
    }
    try {
        return vb::DateAdd(QStringLiteral("d"), 1, vb::DateAdd(QStringLiteral("m"), months, base));
    } catch (const tqGlobal::Error&) {
        return {};
    }
}

QStringList monthNames() {
    return {QStringLiteral("January"), QStringLiteral("February"), QStringLiteral("March"),
            QStringLiteral("April"),   QStringLiteral("May"),      QStringLiteral("June"),
            QStringLiteral("July"),    QStringLiteral("August"),   QStringLiteral("September"),
            QStringLiteral("October"), QStringLiteral("November"), QStringLiteral("December")};
}

QList<int> yearChoices(int aroundYear) {
    QList<int> years;
    for (int year = std::max(1000, aroundYear - 20); year <= std::min(9999, aroundYear + 20);
         ++year) {
        years.append(year);
    }
    return years;
}

QStringList treatmentDateEntries(const QList<QDate>& dates, const QDate& today) {
    QStringList entries;
    for (const QDate& date : dates) {
        if (date.isValid()) {
            entries.append(dateText(date));
        }
    }
    if (entries.isEmpty()) {
        entries.append(dateText(today));
    }
    return entries;
}

QString treatmentDateAnswer(const QString& entry) {
    const std::optional<QDateTime> date = vb::CDate(entry);
    return date.has_value() && date->isValid() ? dateText(date->date()) : QString();
}

std::optional<QString> calculatorAnswer(const QString& display) {
    if (!vb::IsNumeric(display)) {
        return std::nullopt;
    }
    const std::optional<double> value = numberOf(display);
    if (!value.has_value()) {
        return std::nullopt;
    }
    return *value == 0.0 ? QStringLiteral("0") : numberText(*value);
}

QString calculatorKeyFor(int key, Qt::KeyboardModifiers modifiers) {
    if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return {};
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return QString(QChar(u'0' + (key - Qt::Key_0)));
    }
    switch (key) {
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return QStringLiteral(".");
        case Qt::Key_Plus:
            return QStringLiteral("+");
        case Qt::Key_Minus:
            return QStringLiteral("-");
        case Qt::Key_Asterisk:
        case Qt::Key_X:
            return QStringLiteral("x");
        case Qt::Key_Slash:
            return QStringLiteral("/");
        case Qt::Key_Equal:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return QStringLiteral("=");
        case Qt::Key_Percent:
            return QStringLiteral("%");
        case Qt::Key_Delete:
        case Qt::Key_Backspace:
            return QStringLiteral("CE");
        case Qt::Key_C:
            return QStringLiteral("C");
        default:
            return {};
    }
}

// ---- Calculator ------------------------------------------------------------------------

Calculator::Outcome Calculator::press(const QString& key) {
    if (key.size() == 1 && key[0].isDigit()) {
        return digit(key[0]);
    }
    if (key == u".") {
        return point();
    }
    if (key == u"+" || key == u"-" || key == u"x" || key == u"/" || key == u"=") {
        return operate(key);
    }
    if (key == u"%") {
        return percent();
    }
    if (key == u"CE") {
        return clearEntry();
    }
    if (key == u"C") {
        return clearAll();
    }
    return Outcome::Ignored;
}

bool Calculator::typingNumber() const {
    return m_lastInput == Numbers;
}

Calculator::Outcome Calculator::digit(QChar digit) {
    if (!typingNumber()) {
        m_display = digit;
        m_decimalTyped = false;
    } else if (digitCount(m_display) >= MaxDigits) {
        return Outcome::Ignored;
    } else if (m_display == u"0") {
        m_display = digit;
    } else {
        m_display += digit;
    }
    m_lastInput = Numbers;
    return Outcome::Done;
}

Calculator::Outcome Calculator::point() {
    if (!typingNumber()) {
        m_display = QStringLiteral("0.");
    } else if (m_decimalTyped) {
        return Outcome::Ignored;
    } else {
        m_display += u'.';
    }
    m_decimalTyped = true;
    m_lastInput = Numbers;
    return Outcome::Done;
}

Calculator::Outcome Calculator::operate(const QString& op) {
    Outcome outcome = Outcome::Done;
    if (m_lastInput != Operators) {
        ++m_operandCount;
        if (m_operandCount == 1) {
            m_firstOperand = m_display;
        } else {
            m_secondOperand = m_display;
            const double first = numberOf(m_firstOperand).value_or(0.0);
            const double second = numberOf(m_secondOperand).value_or(0.0);
            std::optional<double> result;
            if (m_pendingOperator == u"+") {
                result = first + second;
            } else if (m_pendingOperator == u"-") {
                result = first - second;
            } else if (m_pendingOperator == u"x") {
                result = first * second;
            } else if (m_pendingOperator == u"/") {
                if (second == 0.0) {
                    outcome = Outcome::DivideByZero;
                } else {
                    result = first / second;
                }
            } else {  // "="
                result = second;
            }
            if (result.has_value() && !(std::fabs(*result) < DisplayLimit)) {
                result.reset();
                outcome = Outcome::Overflow;
            }
            if (result.has_value()) {
                m_firstOperand = numberText(*result);
            }
            m_display = m_firstOperand;
            m_secondOperand.clear();
            m_operandCount = 1;
        }
    }
    m_pendingOperator = op;
    m_lastInput = Operators;
    m_decimalTyped = false;
    return outcome;
}

Calculator::Outcome Calculator::percent() {
    m_display = numberText(numberOf(m_display).value_or(0.0) / 100.0);
    m_lastInput = Percent;
    m_decimalTyped = false;
    return Outcome::Done;
}

Calculator::Outcome Calculator::clearEntry() {
    m_display = QStringLiteral("0");
    m_lastInput = ClearedEntry;
    m_decimalTyped = false;
    return Outcome::Done;
}

Calculator::Outcome Calculator::clearAll() {
    m_display = QStringLiteral("0");
    m_firstOperand.clear();
    m_secondOperand.clear();
    m_pendingOperator.clear();
    m_operandCount = 0;
    m_lastInput = Cleared;
    m_decimalTyped = false;
    return Outcome::Done;
}

}  // namespace tqservicecode::calendar
