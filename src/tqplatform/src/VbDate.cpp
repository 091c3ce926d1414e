#include <tqplatform/Vb.h>

#include "VbInternal.h"

#include <tqplatform/Error.h>

#include <QList>
#include <QTime>

#include <array>

namespace tqplatform::vb {

namespace Internal {

namespace {

constexpr std::array<const char*, 12> MonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> DayNames = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                                 "Friday", "Saturday", "Sunday"};

}  // namespace

QString monthName(int month, bool abbreviated) {
    if (month < 1 || month > 12) {
        return {};
    }
    const QString name = QString::fromLatin1(MonthNames[static_cast<size_t>(month - 1)]);
    return abbreviated ? name.left(3) : name;
}

QString dayName(int dayOfWeek, bool abbreviated) {
    if (dayOfWeek < 1 || dayOfWeek > 7) {
        return {};
    }
    const QString name = QString::fromLatin1(DayNames[static_cast<size_t>(dayOfWeek - 1)]);
    return abbreviated ? name.left(3) : name;
}

}  // namespace Internal

namespace {

constexpr long InvalidProcedureCall = 5;

[[noreturn]] void raiseInvalidCall() {
    throw tqplatform::Error(InvalidProcedureCall,
                            QStringLiteral("Invalid procedure call or argument"));
}

// ---- Reading dates from text ----------------------------------------------------------

struct Token {
    enum class Kind { Number, Word, Separator };
    Kind kind;
    QString text;
    int value = 0;
    int digits = 0;
};

std::optional<QList<Token>> tokenize(QStringView text) {
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c.isSpace()) {
            ++i;
        } else if (c >= u'0' && c <= u'9') {
            Token token{Token::Kind::Number, {}};
            for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
                token.text += text[i];
            }
            if (token.text.size() > 4) {
                return std::nullopt;
            }
            token.value = token.text.toInt();
            token.digits = static_cast<int>(token.text.size());
            tokens.append(token);
        } else if (c.isLetter()) {
            Token token{Token::Kind::Word, {}};
            for (; i < text.size() && text[i].isLetter(); ++i) {
                token.text += text[i].toLower();
            }
            tokens.append(token);
        } else if (c == u'/' || c == u'-' || c == u'.' || c == u',' || c == u':') {
            tokens.append(Token{Token::Kind::Separator, QString(c)});
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

/// 1 for "am"/"a", 2 for "pm"/"p", 0 otherwise.
int meridiem(const Token& token) {
    if (token.kind != Token::Kind::Word) {
        return 0;
    }
    if (token.text == u"am" || token.text == u"a") {
        return 1;
    }
    if (token.text == u"pm" || token.text == u"p") {
        return 2;
    }
    return 0;
}

bool isSeparator(const QList<Token>& tokens, qsizetype i, QChar c) {
    return i < tokens.size() && tokens[i].kind == Token::Kind::Separator &&
           tokens[i].text == QString(c);
}

bool isNumber(const QList<Token>& tokens, qsizetype i) {
    return i < tokens.size() && tokens[i].kind == Token::Kind::Number;
}

/// Finds and removes the time of day ("15:07", "3:07:09 PM", "3 PM"). Returns false when
/// the text holds a malformed or second time.
bool takeTime(QList<Token>& tokens, std::optional<QTime>& time) {
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!isNumber(tokens, i)) {
            continue;
        }
        qsizetype end = i + 1;
        int hour = tokens[i].value;
        int minute = 0;
        int second = 0;
        bool colon = false;
        if (isSeparator(tokens, end, u':')) {
            if (!isNumber(tokens, end + 1)) {
                return false;
            }
            colon = true;
            minute = tokens[end + 1].value;
            end += 2;
            if (isSeparator(tokens, end, u':')) {
                if (!isNumber(tokens, end + 1)) {
                    return false;
                }
                second = tokens[end + 1].value;
                end += 2;
            }
        }
        const int half = end < tokens.size() ? meridiem(tokens[end]) : 0;
        if (!colon && half == 0) {
            continue;
        }
        if (time) {
            return false;  // a second time
        }
        if (half != 0) {
            if (hour > 12) {
                return false;
            }
            hour = hour % 12 + (half == 2 ? 12 : 0);
            ++end;
        }
        if (hour > 23 || minute > 59 || second > 59) {
            return false;
        }
        time = QTime(hour, minute, second);
        tokens.remove(i, end - i);
        --i;
    }
    return true;
}

int monthOfWord(const QString& word) {
    if (word.size() < 3) {
        return 0;
    }
    for (int month = 1; month <= 12; ++month) {
        const QString name = Internal::monthName(month, false).toLower();
        if (name == word || name.left(3) == word || (month == 9 && word == u"sept")) {
            return month;
        }
    }
    return 0;
}

bool isDayWord(const QString& word) {
    for (int day = 1; day <= 7; ++day) {
        const QString name = Internal::dayName(day, false).toLower();
        if (name == word || name.left(3) == word) {
            return true;
        }
    }
    return false;
}

/// A year as written: two digits fall in 1930 to 2029.
int fullYear(const Token& token) {
    if (token.digits <= 2) {
        return token.value < 30 ? 2000 + token.value : 1900 + token.value;
    }
    return token.value;
}

bool looksLikeYear(const Token& token) {
    return token.digits >= 3 || token.value > 31;
}

std::optional<QDate> makeDate(int year, int month, int day) {
    if (year < 100 || year > 9999 || !QDate::isValid(year, month, day)) {
        return std::nullopt;
    }
    return QDate(year, month, day);
}

/// Month and day in US order, swapped when only the other order makes a date (31/12).
std::optional<QDate> monthDay(int year, int first, int second) {
    if (auto date = makeDate(year, first, second)) {
        return date;
    }
    if (first > 12) {
        return makeDate(year, second, first);
    }
    return std::nullopt;
}

std::optional<QDate> takeDate(const QList<Token>& tokens) {
    QList<Token> numbers;
    int month = 0;
    int points = 0;
    int dateSeparators = 0;
    for (const Token& token : tokens) {
        switch (token.kind) {
            case Token::Kind::Number:
                numbers.append(token);
                break;
            case Token::Kind::Word:
                if (const int m = monthOfWord(token.text); m != 0 && month == 0) {
                    month = m;
                } else if (!isDayWord(token.text)) {
                    return std::nullopt;
                }
                break;
            case Token::Kind::Separator:
                if (token.text == u":") {
                    return std::nullopt;
                }
                points += token.text == u"." ? 1 : 0;
                dateSeparators += (token.text == u"/" || token.text == u"-") ? 1 : 0;
                break;
        }
    }
    const int thisYear = QDate::currentDate().year();
    if (month != 0) {
        if (numbers.size() == 2) {
            if (looksLikeYear(numbers[0])) {
                return makeDate(fullYear(numbers[0]), month, numbers[1].value);
            }
            return makeDate(fullYear(numbers[1]), month, numbers[0].value);
        }
        if (numbers.size() == 1) {
            if (looksLikeYear(numbers[0])) {
                return makeDate(fullYear(numbers[0]), month, 1);
            }
            return makeDate(thisYear, month, numbers[0].value);
        }
        return std::nullopt;
    }
    if (numbers.size() == 3) {
        if (numbers[0].digits >= 3) {
            return makeDate(numbers[0].value, numbers[1].value, numbers[2].value);
        }
        return monthDay(fullYear(numbers[2]), numbers[0].value, numbers[1].value);
    }
    // Two numbers make a date only with a date separator ("12/31"); "12.5" is a number.
    if (numbers.size() == 2 && points == 0 && dateSeparators > 0) {
        if (looksLikeYear(numbers[1])) {
            return makeDate(fullYear(numbers[1]), numbers[0].value, 1);
        }
        return monthDay(thisYear, numbers[0].value, numbers[1].value);
    }
    return std::nullopt;
}

std::optional<QDateTime> parseDateText(const QString& text) {
    auto tokens = tokenize(text);
    if (!tokens || tokens->isEmpty()) {
        return std::nullopt;
    }
    std::optional<QTime> time;
    if (!takeTime(*tokens, time)) {
        return std::nullopt;
    }
    bool anyDatePart = false;
    for (const Token& token : *tokens) {
        anyDatePart = anyDatePart || token.kind != Token::Kind::Separator;
    }
    if (!anyDatePart) {
        if (!time) {
            return std::nullopt;
        }
        return QDateTime(Internal::zeroDate(), *time);
    }
    const auto date = takeDate(*tokens);
    if (!date) {
        return std::nullopt;
    }
    return QDateTime(*date, time.value_or(QTime(0, 0)));
}

// ---- Date arithmetic -------------------------------------------------------------------

QString intervalKey(const QString& interval) {
    return interval.trimmed().toLower();
}

int64_t floorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

/// The date and time as one count of seconds, ignoring time zones as VB does.
int64_t naiveSeconds(const QDateTime& value) {
    return value.date().toJulianDay() * 86400 + value.time().msecsSinceStartOfDay() / 1000;
}

bool beyond(int64_t number, int64_t limit) {
    return number > limit || number < -limit;
}

void checkYear(const QDate& date) {
    if (!date.isValid() || date.year() < 100 || date.year() > 9999) {
        raiseInvalidCall();
    }
}

}  // namespace

bool IsDate(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return false;
    }
    switch (value.typeId()) {
        case QMetaType::QDate:
            return value.toDate().isValid();
        case QMetaType::QDateTime:
            return value.toDateTime().isValid();
        case QMetaType::QTime:
            return value.toTime().isValid();
        case QMetaType::QString:
        case QMetaType::QByteArray:
            return parseDateText(value.toString()).has_value();
        default:
            return false;
    }
}

std::optional<QDateTime> CDate(const QVariant& value) {
    if (!value.isValid() || value.isNull()) {
        return std::nullopt;
    }
    switch (value.typeId()) {
        case QMetaType::QDate:
            if (!value.toDate().isValid()) {
                return std::nullopt;
            }
            return QDateTime(value.toDate(), QTime(0, 0));
        case QMetaType::QDateTime:
            if (!value.toDateTime().isValid()) {
                return std::nullopt;
            }
            return value.toDateTime();
        case QMetaType::QTime:
            if (!value.toTime().isValid()) {
                return std::nullopt;
            }
            return QDateTime(Internal::zeroDate(), value.toTime());
        case QMetaType::QString:
        case QMetaType::QByteArray:
            return parseDateText(value.toString());
        default:
            break;
    }
    if (value.metaType() == QMetaType::fromType<Currency>()) {
        const QDateTime date = Internal::fromSerial(value.value<Currency>().toDouble());
        return date.isValid() ? std::optional<QDateTime>(date) : std::nullopt;
    }
    bool ok = false;
    const double serial = value.toDouble(&ok);
    if (!ok) {
        return std::nullopt;
    }
    const QDateTime date = Internal::fromSerial(serial);
    if (!date.isValid() || date.date().year() < 100 || date.date().year() > 9999) {
        return std::nullopt;
    }
    return date;
}

QDateTime DateAdd(const QString& interval, int64_t number, const QDateTime& date) {
    if (!date.isValid()) {
        raiseInvalidCall();
    }
    const QString key = intervalKey(interval);
    constexpr int64_t MaxDays = 4'000'000;  // more than the span of years VB knows
    QDate day = date.date();
    QTime time = date.time();
    int64_t months = 0;
    if (key == u"yyyy" || key == u"q" || key == u"m") {
        if (beyond(number, MaxDays)) {
            raiseInvalidCall();
        }
        months = number * (key == u"yyyy" ? 12 : key == u"q" ? 3 : 1);
        day = day.addMonths(static_cast<int>(months));
    } else if (key == u"y" || key == u"d" || key == u"w" || key == u"ww") {
        if (beyond(number, MaxDays)) {
            raiseInvalidCall();
        }
        day = day.addDays(key == u"ww" ? number * 7 : number);
    } else if (key == u"h" || key == u"n" || key == u"s") {
        const int64_t unit = key == u"h" ? 3600 : key == u"n" ? 60 : 1;
        if (beyond(number, MaxDays * 86400 / unit)) {
            raiseInvalidCall();
        }
        const int64_t msecs = time.msecsSinceStartOfDay() + number * unit * 1000;
        const int64_t days = floorDiv(msecs, 86400000);
        day = day.addDays(days);
        time = QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecs - days * 86400000));
    } else {
        raiseInvalidCall();
    }
    checkYear(day);
    QDateTime result = date;
    result.setDate(day);
    result.setTime(time);
    return result;
}

QDate DateAdd(const QString& interval, int64_t number, const QDate& date) {
    if (!date.isValid()) {
        raiseInvalidCall();
    }
    return DateAdd(interval, number, QDateTime(date, QTime(0, 0))).date();
}

int64_t DateDiff(const QString& interval, const QDateTime& date1, const QDateTime& date2) {
    if (!date1.isValid() || !date2.isValid()) {
        raiseInvalidCall();
    }
    const QString key = intervalKey(interval);
    const QDate a = date1.date();
    const QDate b = date2.date();
    if (key == u"yyyy") {
        return b.year() - a.year();
    }
    if (key == u"q") {
        return (b.year() * 4 + (b.month() - 1) / 3) - (a.year() * 4 + (a.month() - 1) / 3);
    }
    if (key == u"m") {
        return (b.year() * 12 + b.month()) - (a.year() * 12 + a.month());
    }
    if (key == u"y" || key == u"d") {
        return a.daysTo(b);
    }
    if (key == u"w") {
        return a.daysTo(b) / 7;  // whole weeks, toward zero
    }
    if (key == u"ww") {
        // Sundays crossed: compare the Sundays that start each date's week.
        const QDate weekA = a.addDays(-(a.dayOfWeek() % 7));
        const QDate weekB = b.addDays(-(b.dayOfWeek() % 7));
        return weekA.daysTo(weekB) / 7;
    }
    const int64_t first = naiveSeconds(date1);
    const int64_t second = naiveSeconds(date2);
    if (key == u"h") {
        return floorDiv(second, 3600) - floorDiv(first, 3600);
    }
    if (key == u"n") {
        return floorDiv(second, 60) - floorDiv(first, 60);
    }
    if (key == u"s") {
        return second - first;
    }
    raiseInvalidCall();
}

int64_t DateDiff(const QString& interval, const QDate& date1, const QDate& date2) {
    return DateDiff(interval, QDateTime(date1, QTime(0, 0)), QDateTime(date2, QTime(0, 0)));
}

double Timer() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

}  // namespace tqplatform::vb
