#include <tqservicecode/entry/Calendar.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/CenterForm.h>
#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/FormIcon.h>

#include <tqplatform/ui.h>

#include <QCalendarWidget>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextCharFormat>
#include <QVBoxLayout>

namespace tqservicecode {

namespace {

const char* const MonthButtonName = "qt_calendar_monthbutton";
const char* const YearButtonName = "qt_calendar_yearbutton";

/// A list that pops up under the calendar's caption; Esc closes it without a choice.
class ChoiceList : public QListWidget {
    Q_OBJECT

public:
    explicit ChoiceList(QWidget* parent) : QListWidget(parent) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            hide();
            event->accept();
            return;
        }
        QListWidget::keyPressEvent(event);
    }
};

QPushButton* makeButton(const QString& caption, const QString& name, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

bool isDescendantOf(QObject* object, const QObject* ancestor) {
    for (QObject* o = object; o != nullptr; o = o->parent()) {
        if (o == ancestor) {
            return true;
        }
    }
    return false;
}

}  // namespace

Calendar::Calendar(QWidget* parent) : QDialog(parent) {
    setObjectName(protocol::screen::Calendar);
    setWindowTitle(QStringLiteral("Calendar"));
    setWindowFlags((windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                   ~Qt::WindowContextHelpButtonHint);

    fraCalendar = buildCalendarPanel();
    fraTXDate = buildTreatmentDatePanel();
    fraCalculator = buildCalculatorPanel();
    fraTXDate->hide();
    fraCalculator->hide();

    // The calculator takes the calendar's place when it is the face.
    auto* main = new QGridLayout(this);
    main->setSizeConstraint(QLayout::SetFixedSize);
    main->addWidget(fraCalendar, 0, 0);
    main->addWidget(fraCalculator, 0, 0);
    main->addWidget(fraTXDate, 1, 0);

    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
    MonthList = buildChoiceList(QStringLiteral("MonthList"));
    YearList = buildChoiceList(QStringLiteral("YearList"));
    connect(MonthList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        moveCalendarTo(SSMonth1->yearShown(), MonthList->row(item) + 1);
    });
    connect(YearList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        moveCalendarTo(item->text().toInt(), SSMonth1->monthShown());
    });
    connect(MonthList, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        moveCalendarTo(SSMonth1->yearShown(), MonthList->row(item) + 1);
    });
    connect(YearList, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        moveCalendarTo(item->text().toInt(), SSMonth1->monthShown());
    });

    SetFormIcon(this, QStringLiteral("APPICON"));
}

Calendar::~Calendar() = default;

QWidget* Calendar::buildCalendarPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("fraCalendar"));

    Label1 = new QLabel(QStringLiteral("today"), panel);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont captionFont = Label1->font();
    captionFont.setBold(true);
    Label1->setFont(captionFont);

    SSMonth1 = new QCalendarWidget(panel);
    SSMonth1->setObjectName(QStringLiteral("SSMonth1"));
    SSMonth1->setFirstDayOfWeek(Qt::Sunday);
    SSMonth1->setGridVisible(true);
    SSMonth1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    SSMonth1->setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    SSMonth1->setMinimumSize(330, 230);
    SSMonth1->setDateEditEnabled(false);
    // Only dates that a date text can carry back (years 100 to 9999) can be chosen.
    SSMonth1->setDateRange(calendar::FirstDate, calendar::LastDate);
    if (auto* month = SSMonth1->findChild<QWidget*>(QLatin1String(MonthButtonName))) {
        month->setToolTip(calendar::MonthTip);
    }
    if (auto* year = SSMonth1->findChild<QWidget*>(QLatin1String(YearButtonName))) {
        year->setToolTip(calendar::YearTip);
    }
    QTextCharFormat todayFormat;
    todayFormat.setFontWeight(QFont::Bold);
    todayFormat.setForeground(QColor(0, 0, 160));
    SSMonth1->setDateTextFormat(QDate::currentDate(), todayFormat);

    cmdOK = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdOK"), panel);
    cmd3Months = makeButton(QStringLiteral("3mo+"), QStringLiteral("cmd3Months"), panel);
    cmd6Months = makeButton(QStringLiteral("6mo+"), QStringLiteral("cmd6Months"), panel);
    cmdCancel = makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCancel"), panel);
    cmd3Months->setToolTip(QStringLiteral("Three months and a day after the selected date"));
    cmd6Months->setToolTip(QStringLiteral("Six months and a day after the selected date"));

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {cmdOK, cmd3Months, cmd6Months, cmdCancel}) {
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Label1);
    layout->addWidget(SSMonth1, 1);
    layout->addLayout(buttons);

    connect(SSMonth1, &QCalendarWidget::selectionChanged, this, &Calendar::updateCaption);
    connect(SSMonth1, &QCalendarWidget::activated, this, &Calendar::calendarOkClicked);
    connect(cmdOK, &QPushButton::clicked, this, &Calendar::calendarOkClicked);
    connect(cmd3Months, &QPushButton::clicked, this,
            [this] { tqplatform::ui::guard([this] { monthsAheadClicked(3); }); });
    connect(cmd6Months, &QPushButton::clicked, this,
            [this] { tqplatform::ui::guard([this] { monthsAheadClicked(6); }); });
    connect(cmdCancel, &QPushButton::clicked, this, &Calendar::reject);
    return panel;
}

QWidget* Calendar::buildTreatmentDatePanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("fraTXDate"));
    auto* label = new QLabel(QStringLiteral("Treatment date:"), panel);
    TX_Date_Combo = new QComboBox(panel);
    TX_Date_Combo->setObjectName(QStringLiteral("TX_Date_Combo"));
    TX_Date_Combo->setEditable(true);
    TX_Date_Combo->setInsertPolicy(QComboBox::NoInsert);
    TX_Date_Combo->setMinimumContentsLength(10);
    cmdTXDateOK = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdTXDateOK"), panel);

    auto* layout = new QHBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(label);
    layout->addWidget(TX_Date_Combo, 1);
    layout->addWidget(cmdTXDateOK);
    connect(cmdTXDateOK, &QPushButton::clicked, this,
            [this] { tqplatform::ui::guard([this] { treatmentDateOkClicked(); }); });
    return panel;
}

QPushButton* Calendar::addPadButton(const QString& caption, const QString& name) {
    QPushButton* button = makeButton(caption, name, fraCalculator);
    button->setMinimumSize(56, 36);
    button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);  // narrower than the style's

    button->setFocusPolicy(Qt::NoFocus);
    m_padButtons.insert(caption, button);
    connect(button, &QPushButton::clicked, this, [this, caption] { calculatorKey(caption); });
    return button;
}

QWidget* Calendar::buildCalculatorPanel() {
    fraCalculator = new QWidget(this);
    fraCalculator->setObjectName(QStringLiteral("fraCalculator"));

    Readout = new QLineEdit(QStringLiteral("0"), fraCalculator);
    Readout->setObjectName(QStringLiteral("Readout"));
    Readout->setReadOnly(true);
    Readout->setFocusPolicy(Qt::NoFocus);
    Readout->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont readoutFont = Readout->font();
    readoutFont.setPointSizeF(readoutFont.pointSizeF() * 1.6);
    Readout->setFont(readoutFont);
    Readout->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);  // the pad sets the width

    for (int i = 0; i < 10; ++i) {
        cmdNumber[i] = addPadButton(QString::number(i), QStringLiteral("cmdNumber_%1").arg(i));
    }
    const QString operators[5] = {QStringLiteral("+"), QStringLiteral("-"), QStringLiteral("x"),
                                  QStringLiteral("/"), QStringLiteral("=")};
    for (int i = 0; i < 5; ++i) {
        cmdOperator[i] = addPadButton(operators[i], QStringLiteral("cmdOperator_%1").arg(i));
    }
    cmdCE = addPadButton(QStringLiteral("CE"), QStringLiteral("cmdCE"));
    cmdC = addPadButton(QStringLiteral("C"), QStringLiteral("cmdC"));
    cmdPercent = addPadButton(QStringLiteral("%"), QStringLiteral("cmdPercent"));
    cmdDecimal = addPadButton(QStringLiteral("."), QStringLiteral("cmdDecimal"));
    cmdCalcOK = makeButton(QStringLiteral("&OK"), QStringLiteral("cmdCalcOK"), fraCalculator);
    cmdCalcCancel =
        makeButton(QStringLiteral("&Cancel"), QStringLiteral("cmdCalcCancel"), fraCalculator);

    //   C  CE  %  /
    //   7  8   9  x
    //   4  5   6  -
    //   1  2   3  +
    //   0      .  =
    //
    //   OK        Cancel
    auto* pad = new QGridLayout;
    pad->setSpacing(4);
    pad->addWidget(cmdC, 0, 0);
    pad->addWidget(cmdCE, 0, 1);
    pad->addWidget(cmdPercent, 0, 2);
    pad->addWidget(cmdOperator[3], 0, 3);
    for (int i = 1; i <= 9; ++i) {
        pad->addWidget(cmdNumber[i], 3 - (i - 1) / 3, (i - 1) % 3);
    }
    pad->addWidget(cmdOperator[2], 1, 3);
    pad->addWidget(cmdOperator[1], 2, 3);
    pad->addWidget(cmdOperator[0], 3, 3);
    pad->addWidget(cmdNumber[0], 4, 0, 1, 2);
    pad->addWidget(cmdDecimal, 4, 2);
    pad->addWidget(cmdOperator[4], 4, 3);
    pad->setRowMinimumHeight(5, 8);
    pad->addWidget(cmdCalcOK, 6, 0, 1, 2);
    pad->addWidget(cmdCalcCancel, 6, 2, 1, 2);

    auto* layout = new QVBoxLayout(fraCalculator);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Readout);
    layout->addLayout(pad);

    connect(cmdCalcOK, &QPushButton::clicked, this,
            [this] { tqplatform::ui::guard([this] { calculatorOkClicked(); }); });
    connect(cmdCalcCancel, &QPushButton::clicked, this, &Calendar::reject);
    return fraCalculator;
}

QListWidget* Calendar::buildChoiceList(const QString& name) {
    auto* list = new ChoiceList(this);
    list->setObjectName(name);
    list->setWindowFlags(Qt::Popup);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->hide();
    return list;
}

void Calendar::load() {
    tqGlobal::IHostServices& gic = GIC();
    tqplatform::ui::WaitCursor hourglass;
    m_today = QDate::currentDate();

    const QString parameter = gic.ScreenParameter();
    if (calendar::asksForTitle(parameter)) {
        setWindowTitle(gic.ScreenText());
    }
    if (calendar::asksForCalculator(parameter)) {
        showCalculatorFace();
    }
    const bool treatmentDates = gic.ScreenOption() == calendar::TreatmentDateOption;
    answer({.optionTaken = true});
    if (treatmentDates) {
        fillTreatmentDates();
        fraTXDate->setVisible(!calculatorFace());
    }

    updateCaption();  // "today": the selection starts on today's date
    answer({.outcome = calendar::Accepted, .faceTaken = true});
    hourglass.restore();
    answer({.outcome = calendar::Cancelled});
    SetHelpContext(this, static_cast<int16_t>(calculatorFace() ? calendar::CalculatorHelpContext
                                                               : calendar::CalendarHelpContext));
    adjustSize();
    CenterForm(this);
}

bool Calendar::calculatorFace() const {
    return m_face == Face::Calculator;
}

QPushButton* Calendar::calculatorButton(const QString& caption) const {
    return m_padButtons.value(caption);
}

void Calendar::showCalculatorFace() {
    fraCalendar->setEnabled(false);
    fraCalendar->hide();
    fraCalculator->show();
    setWindowTitle(calendar::CalculatorCaption);
    answer({.text = QStringLiteral("0")});
    m_face = Face::Calculator;
    Readout->setText(m_calculator.display());
}

void Calendar::fillTreatmentDates() {
    tqGlobal::IHostServices& gic = GIC();
    TX_Date_Combo->clear();
    TX_Date_Combo->addItems(
        calendar::treatmentDateEntries(gic.GetPatientTxDates(gic.PatientID()), m_today));
    TX_Date_Combo->setCurrentIndex(TX_Date_Combo->count() - 1);
}

void Calendar::updateCaption() {
    const QDate selected = SSMonth1->selectedDate();
    const QDate today = m_today.isValid() ? m_today : QDate::currentDate();
    Label1->setText(calendar::relativeCaption(today, selected));
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, calendar::relativeCaptionColor(today, selected));
    Label1->setPalette(palette);
}

void Calendar::calendarOkClicked() {
    tqplatform::ui::guard([this] { acceptShownDate(); });
}

void Calendar::acceptShownDate() {
    QDate date = SSMonth1->selectedDate();
    if (!date.isValid()) {
        date = QDate::currentDate();
    }
    answer({.text = calendar::dateText(date), .outcome = calendar::Accepted});
    accept();
}

void Calendar::monthsAheadClicked(int months) {
    const QDate next = calendar::monthsAhead(SSMonth1->selectedDate(), months,
                                             [] { return GIC().GetDefaultDate(); });
    if (!next.isValid() || next > calendar::LastDate) {
        return;
    }
    answer({.text = calendar::dateText(next)});
    SSMonth1->setSelectedDate(next);
    SSMonth1->setCurrentPage(next.year(), next.month());
}

void Calendar::treatmentDateOkClicked() {
    const QString text = calendar::treatmentDateAnswer(TX_Date_Combo->currentText());
    CalendarAnswer step{.text = text};
    if (!text.isEmpty()) {
        step.outcome = calendar::Accepted;
    }
    answer(step);
    accept();
}

void Calendar::calculatorOkClicked() {
    answer({.text = calendar::calculatorAnswer(Readout->text()), .outcome = calendar::Accepted});
    accept();
}

void Calendar::reject() {
    // The screen closes even when the host cannot take the answer.
    tqplatform::ui::guard([this] {
        CalendarAnswer step{.text = QString()};
        if (hasGIC()) {
            step.outcome = calendar::Cancelled;
        }
        answer(step);
    });
    QDialog::reject();
}

void Calendar::answer(const CalendarAnswer& step) const {
    if (m_answerSink) {
        m_answerSink(step);
    }
}

void Calendar::calculatorKey(const QString& key) {
    const calendar::Calculator::Outcome outcome = m_calculator.press(key);
    Readout->setText(m_calculator.display());
    if (outcome == calendar::Calculator::Outcome::DivideByZero ||
        outcome == calendar::Calculator::Outcome::Overflow) {
        tqplatform::ui::msgBox(outcome == calendar::Calculator::Outcome::Overflow
                                   ? calendar::OverflowMessage
                                   : calendar::DivideByZeroMessage,
                               tqplatform::ui::Buttons::Exclamation, calendar::CalculatorCaption);
    }
}

bool Calendar::handleCalculatorKey(const QKeyEvent& event) {
    const QString key = calendar::calculatorKeyFor(event.key(), event.modifiers());
    if (key.isEmpty()) {
        return false;
    }
    calculatorKey(key);
    return true;
}

bool Calendar::handleCalendarKey(QObject* watched, const QKeyEvent& event) {
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier) ||
        isDescendantOf(watched, fraTXDate)) {
        return false;
    }
    if ((event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter) &&
        isDescendantOf(watched, fraCalendar)) {
        calendarOkClicked();  // Enter anywhere on the calendar accepts the shown date
        return true;
    }
    if (event.key() == Qt::Key_M) {
        showChoiceList(MonthList, calendar::monthNames(), SSMonth1->monthShown() - 1,
                       MonthButtonName);
        return true;
    }
    if (event.key() == Qt::Key_Y) {
        const QList<int> years = calendar::yearChoices(SSMonth1->yearShown());
        QStringList entries;
        for (int year : years) {
            if (year >= calendar::FirstDate.year() && year <= calendar::LastDate.year()) {
                entries.append(QString::number(year));
            }
        }
        showChoiceList(YearList, entries,
                       static_cast<int>(entries.indexOf(QString::number(SSMonth1->yearShown()))),
                       YearButtonName);
        return true;
    }
    return false;
}

bool Calendar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (calculatorFace() ? handleCalculatorKey(key) : handleCalendarKey(watched, key)) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Calendar::keyPressEvent(QKeyEvent* event) {
    if (calculatorFace() ? handleCalculatorKey(*event) : handleCalendarKey(this, *event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Calendar::showChoiceList(QListWidget* list, const QStringList& entries, int currentRow,
                              const char* anchorName) {
    list->clear();
    list->addItems(entries);
    list->setCurrentRow(currentRow);
    const int rows = std::min(static_cast<int>(entries.size()), 12);
    const int rowHeight = list->sizeHintForRow(0) > 0 ? list->sizeHintForRow(0) : 18;
    list->resize(std::max(list->sizeHintForColumn(0) + 28, 90), rows * rowHeight + 6);
    const QWidget* anchor = SSMonth1->findChild<QWidget*>(QLatin1String(anchorName));
    list->move(anchor != nullptr ? anchor->mapToGlobal(QPoint(0, anchor->height()))
                                 : SSMonth1->mapToGlobal(QPoint(0, 0)));
    list->show();
    list->scrollToItem(list->currentItem(), QAbstractItemView::PositionAtCenter);
    list->setFocus();
}

void Calendar::moveCalendarTo(int year, int month) {
    MonthList->hide();
    YearList->hide();
    const QDate selected = SSMonth1->selectedDate();
    const QDate first(year, month, 1);
    if (!first.isValid()) {
        return;
    }
    const int day = std::min(selected.isValid() ? selected.day() : 1, first.daysInMonth());
    SSMonth1->setSelectedDate(QDate(year, month, day));
    SSMonth1->setCurrentPage(year, month);
    SSMonth1->setFocus();
}

}  // namespace tqservicecode

#include "Calendar.moc"
