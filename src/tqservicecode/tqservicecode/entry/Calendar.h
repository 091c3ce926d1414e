#pragma once

#include <tqservicecode/entry/CalendarRules.h>

#include <QDate>
#include <QDialog>
#include <QHash>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QCalendarWidget;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;

namespace tqservicecode {

/// One step of the calendar's answer, handed to its opener where it happens. The opener
/// passes on what is set, in this order: the request's option taken, the answer text (the
/// date as "MM-DD-YYYY", the calculator's number, "" when cancelled), the outcome
/// (calendar::Accepted or calendar::Cancelled), the request's face taken.
struct CalendarAnswer {
    std::optional<QString> text{};
    std::optional<int32_t> outcome{};
    bool optionTaken = false;
    bool faceTaken = false;
};

/// The date and number entry screen. Its opener chooses the face through the host's
/// ScreenParameter before load():
/// - "GET_TITLE" (contained): the calendar face titled with the host's ScreenText;
/// - ending in "CALCULATOR": the calculator face, titled "Calculator";
/// - anything else: the calendar face titled "Calendar".
/// With the host's ScreenOption "TXDATE" the treatment-date panel under the calendar lists
/// the dates of the host's PatientID. load() has its opener clear ScreenParameter and
/// ScreenOption.
///
/// Answers (through the opener's answer sink): ScreenResultText (the date as "MM-DD-YYYY", the
/// calculator's number) and the host's ScreenNumber, 0 when accepted and 123456 when cancelled.
/// Closing the window with its close box or Esc is the same as "&Cancel".
///
/// Calendar face: the selected date's distance from today is shown above the calendar
/// (Label1; black for today, dark blue ahead, dark red gone by). Double-click on a date,
/// and Enter anywhere on the calendar (also on its buttons, after "3mo+"), is "&OK"; a
/// focused button is pressed with Space. Only the dates from 1 January 100 to 31 December
/// 9999 can be chosen: those a date text carries back. Key "m" opens the list of months, "y" a list
/// of years (the shown year and twenty either side); choosing an entry moves the calendar and its
/// selection there (the day kept, or the month's last day).
///
/// Calculator face: the pad's buttons and the keys listed at calendar::calculatorKeyFor
/// drive calendar::Calculator, whose entry rules are described there.
class Calendar : public QDialog {
    Q_OBJECT
public:
    explicit Calendar(QWidget* parent = nullptr);
    ~Calendar() override;

    /// Where the screen hands each step of its answer; set by the opener before load().
    void setAnswerSink(std::function<void(const CalendarAnswer&)> sink) {
        m_answerSink = std::move(sink);
    }

    /// Reads the opener's options from the host and prepares the face.
    void load();

    /// True on the calculator face.
    bool calculatorFace() const;
    const calendar::Calculator& calculator() const { return m_calculator; }
    /// The calculator pad's button with that caption ("0".."9", "+", "-", "x", "/", "=",
    /// "CE", "C", "%", "."), or null.
    QPushButton* calculatorButton(const QString& caption) const;

    /// Cancel: ScreenResultText "" and ScreenNumber 123456, then the screen closes.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The calendar panel.
    QWidget* fraCalendar = nullptr;
    QLabel* Label1 = nullptr;
    QCalendarWidget* SSMonth1 = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmd3Months = nullptr;
    QPushButton* cmd6Months = nullptr;
    QPushButton* cmdCancel = nullptr;
    /// The lists the keys "m" and "y" open.
    QListWidget* MonthList = nullptr;
    QListWidget* YearList = nullptr;

    // The treatment-date panel.
    QWidget* fraTXDate = nullptr;
    QComboBox* TX_Date_Combo = nullptr;
    QPushButton* cmdTXDateOK = nullptr;

    // The calculator panel.
    QWidget* fraCalculator = nullptr;
    QLineEdit* Readout = nullptr;
    std::array<QPushButton*, 10> cmdNumber{};
    /// "+", "-", "x", "/", "=".
    std::array<QPushButton*, 5> cmdOperator{};
    QPushButton* cmdCE = nullptr;
    QPushButton* cmdC = nullptr;
    QPushButton* cmdPercent = nullptr;
    QPushButton* cmdDecimal = nullptr;
    QPushButton* cmdCalcOK = nullptr;
    QPushButton* cmdCalcCancel = nullptr;

    /// Which face the screen shows; the opener's ScreenParameter chooses it in load().
    enum class Face { Calendar, Calculator };

    QWidget* buildCalendarPanel();
    QWidget* buildTreatmentDatePanel();
    QWidget* buildCalculatorPanel();
    QListWidget* buildChoiceList(const QString& name);
    QPushButton* addPadButton(const QString& caption, const QString& name);
    void showCalculatorFace();
    void fillTreatmentDates();
    void updateCaption();
    void calendarOkClicked();
    void acceptShownDate();
    void monthsAheadClicked(int months);
    void treatmentDateOkClicked();
    void calculatorOkClicked();
    void calculatorKey(const QString& key);
    bool handleCalculatorKey(const QKeyEvent& event);
    bool handleCalendarKey(QObject* watched, const QKeyEvent& event);
    void showChoiceList(QListWidget* list, const QStringList& entries, int currentRow,
                        const char* anchorName);
    void moveCalendarTo(int year, int month);
    void answer(const CalendarAnswer& step) const;

    Face m_face = Face::Calendar;
    calendar::Calculator m_calculator;
    QHash<QString, QPushButton*> m_padButtons;
    QDate m_today;
    std::function<void(const CalendarAnswer&)> m_answerSink;
};

}  // namespace tqservicecode
