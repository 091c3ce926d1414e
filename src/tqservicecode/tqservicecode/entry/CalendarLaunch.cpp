#include <tqservicecode/entry/CalendarLaunch.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/entry/Calendar.h>
#include <tqservicecode/forms/MainForm.h>

#include <tqplatform/ui.h>

namespace tqservicecode {

namespace {

/// The one place the calendar's answer reaches the host.
void writeCalendarAnswer(const CalendarAnswer& step) {
    if (step.optionTaken) {
        GIC().setScreenOption(QString());
    }
    if (step.text) {
        setScreenResultText(*step.text);
    }
    if (step.outcome) {
        GIC().setScreenNumber(*step.outcome);
    }
    if (step.faceTaken) {
        GIC().setScreenParameter(QString());
    }
}

QString showCalendar(const QString& screenParameter) {
    GIC().setScreenParameter(screenParameter);
    Calendar screen;
    screen.setAnswerSink(writeCalendarAnswer);
    screen.load();
    tqplatform::ui::showModal(screen, MainForm());
    return ScreenResultText();
}

}  // namespace

QString askFollowUpDate(const QString& caption) {
    GIC().setScreenText(caption);
    return showCalendar(protocol::GetTitle);
}

QString openCalculator() {
    return showCalendar(protocol::Calculator);
}

}  // namespace tqservicecode
