#include <tqservicecode/maintenance/Edit_Ser_Code.h>

#include <tqservicecode/codes/ServiceCodeStore.h>
#include <tqservicecode/codes/Vocabulary.h>
#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/documents/DocumentPickerScreen.h>
#include <tqservicecode/entry/CalendarLaunch.h>
#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/forms/MainForm.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/forms/UserWindowSize.h>
#include <tqservicecode/maintenance/ServiceCodeValidation.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/TextWidth.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QButtonGroup>
#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tqservicecode {

using namespace editor;
namespace ui = tqplatform::ui;

namespace {

constexpr int Question = ui::Buttons::YesNo | ui::Buttons::Question;
constexpr int QuestionWithCancel = ui::Buttons::YesNoCancel | ui::Buttons::Question;
const QString EditorTitle = QStringLiteral("Edit Service Codes");
const QString AppTitle = QStringLiteral("Tavix Windows");
const QString SaveChanges = QStringLiteral("Do you want to save changes?");
/// The host's screen number while "&New" starts a code from the one shown.
constexpr int32_t NewCodeScreenNumber = -777;
/// The per-user size of the window ("EDIT_SER_CODE_WIDTH" + user, twips).
const QString SizeKey = QStringLiteral("EDIT_SER_CODE");
/// Wide enough for a whole description in its box at 1366x768.
constexpr QSize DefaultSize(1140, 680);

/// The editor opens through the screen factory (the picker's Edit, the browser).
const bool registered = [] {
    ScreenFactory::registerScreen(ServiceCodeEditorScreenName,
                                  [] { return std::make_unique<Edit_Ser_Code>(); });
    return true;
}();

const std::array<const char*, BoxCount> boxLabels = {
    "Code :",  "Description :", "Office Code :", "Fee 1 :",   "Fee 2 :",     "Fee 3 :",
    "Fee 4 :", "Type :",        "Category :",    "Sub Cat :", "Cross Ref :", "Billable :",
    "Flags :", "Tax Rate % :",  "Friendly :",    "Spanish :", "Letter :"};
const std::array<const char*, CursorPositions> dentalStops = {
    "Provider : ", "Tooth # : ", "Surface : ",   "Description : ", "Date : ",
    "Charge : ",   "Phase : ",   "Est. Ins1 : ", "Billable : "};

bool isFee(int box) {
    return box >= Fee1 && box <= Fee4;
}

/// The order in which Enter walks the boxes.
int nextOnEnter(int box) {
    static const QList<int> order = {Code, OfficeCode, Description, Friendly, Spanish, Fee1,
                                     Fee2, Fee3,       Fee4,        TaxRate,  CrossRef};
    if (box == Type || box == Category || box == SubCategory) {
        return TaxRate;
    }
    const int at = static_cast<int>(order.indexOf(box));
    return at < 0 ? -1 : order[(at + 1) % order.size()];
}

QString optionCaption(int option) {
    if (option == 4) {
        return QStringLiteral("Adult");
    }
    if (option == 5) {
        return QStringLiteral("Child");
    }
    return QString(letterOfOption(option));
}

}  // namespace

Edit_Ser_Code::Edit_Ser_Code(QWidget* parent) : QDialog(parent) {
    (void)registered;
    setObjectName(ServiceCodeEditorScreenName);
    setWindowTitle(EditorTitle);
    SetFormIcon(this);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(buildFields(), 3);
    top->addWidget(buildCursorStops(), 2);
    layout->addLayout(top);
    auto* explain = new QPlainTextEdit(this);
    explain->setObjectName(QStringLiteral("txtExplain"));
    explain->setReadOnly(true);
    explain->setMaximumHeight(60);
    explain->setPlainText(
        QStringLiteral("Insurance fee schedules are entered in the Insurance Plan screen.") +
        QStringLiteral("Everyone with the same insurance company and group number will then "
                       "share the same insurance plan fee schedule. ") +
        QStringLiteral("You can enter an unlimited number of fee schedules with Tavix!"));
    layout->addWidget(explain);
    layout->addWidget(buildButtons());
    List1_ES = new QListWidget(this);
    List1_ES->setObjectName(QStringLiteral("List1_ES"));
    List1_ES->setWindowFlags(Qt::Widget);
    List1_ES->hide();
    List1_ES->installEventFilter(this);
    connect(List1_ES, &QListWidget::itemClicked, this, &Edit_Ser_Code::listChosen);
    connectBoxes();
    load();
    SetHelpContext(this, static_cast<int16_t>(HelpContextOfScreen(objectName())));
    if (hasGIC()) {
        ui::guard([this] { RestoreUserWindowSize(*this, SizeKey, DefaultSize); });
    }
}

Edit_Ser_Code::~Edit_Ser_Code() = default;

QWidget* Edit_Ser_Code::buildFields() {
    auto* group = new QGroupBox(QStringLiteral("Service code fields :"), this);
    auto* grid = new QGridLayout(group);
    for (int box = 0; box < BoxCount; ++box) {
        auto* edit = new QLineEdit(group);
        edit->setObjectName(QStringLiteral("Text1_ES_%1").arg(box));
        if (boxWidth(box) > 0) {
            // Not setMaxLength: it counts UTF-16 units and would cut an emoji in half.
            edit->setValidator(new CharacterWidthValidator(boxWidth(box), edit));
        }
        // Chosen from the list, the options or the letter button, not typed.
        edit->setReadOnly(box == Type || box == Category || box == SubCategory || box == Billable ||
                          box == CursorStops || box == Letter);
        edit->installEventFilter(this);
        Text1_ES[static_cast<size_t>(box)] = edit;
        grid->addWidget(new QLabel(QString::fromLatin1(boxLabels[static_cast<size_t>(box)]), group),
                        box, 0);
        grid->addWidget(edit, box, 1);
    }
    for (int i = 0; i < 3; ++i) {
        auto* button = new QPushButton(QStringLiteral("..."), group);
        button->setObjectName(QStringLiteral("Command3D1_ES_%1").arg(i));
        button->setMaximumWidth(30);
        Command3D1_ES[static_cast<size_t>(i)] = button;
        grid->addWidget(button, Type + i, 2);
    }
    connect(Command3D1_ES[0], &QPushButton::clicked, this, [this] { showTypes(); });
    connect(Command3D1_ES[1], &QPushButton::clicked, this, [this] { showCategories(); });
    connect(Command3D1_ES[2], &QPushButton::clicked, this, [this] { showSubCategories(); });
    for (int fee = 0; fee < 4; ++fee) {
        auto* button = new QPushButton(QStringLiteral("Calc"), group);
        button->setObjectName(QStringLiteral("CalculatorButton_%1").arg(fee));
        button->setToolTip(QStringLiteral("Calculator"));
        button->setMaximumWidth(40);
        grid->addWidget(button, Fee1 + fee, 2);
        connect(button, &QPushButton::clicked, this, [this, fee] { calculatorClicked(fee); });
    }
    auto* letter = new QPushButton(QStringLiteral("..."), group);
    letter->setObjectName(QStringLiteral("cmdLetter"));
    letter->setMaximumWidth(30);
    grid->addWidget(letter, Letter, 2);
    connect(letter, &QPushButton::clicked, this, [this] { letterClicked(); });
    // The billable pair beside box 11.
    auto* billable = new QHBoxLayout;
    m_groups[9] = new QButtonGroup(this);
    for (int option : {BillableYes, BillableNo}) {
        auto* radio = new QRadioButton(
            option == BillableYes ? QStringLiteral("Y") : QStringLiteral("N"), group);
        radio->setObjectName(QStringLiteral("Option3D1_ES_%1").arg(option));
        Option3D1_ES[static_cast<size_t>(option)] = radio;
        m_groups[9]->addButton(radio, option);
        billable->addWidget(radio);
    }
    grid->addLayout(billable, Billable, 2);
    return group;
}

QWidget* Edit_Ser_Code::buildCursorStops() {
    auto* group = new QGroupBox(QStringLiteral("Stop the cursor at the following fields :"), this);
    auto* grid = new QGridLayout(group);
    for (int position = 1; position <= CursorPositions; ++position) {
        auto* label =
            new QLabel(QString::fromLatin1(dentalStops[static_cast<size_t>(position - 1)]), group);
        m_stopLabels[static_cast<size_t>(position - 1)] = label;
        grid->addWidget(label, position - 1, 0);
        auto* buttons = new QButtonGroup(this);
        m_groups[static_cast<size_t>(position - 1)] = buttons;
        int column = 1;
        for (int option : optionsOfPosition(position)) {
            auto* radio = new QRadioButton(optionCaption(option), group);
            radio->setObjectName(QStringLiteral("Option3D1_ES_%1").arg(option));
            Option3D1_ES[static_cast<size_t>(option)] = radio;
            buttons->addButton(radio, option);
            grid->addWidget(radio, position - 1, column++);
        }
    }
    for (QButtonGroup* buttons : m_groups) {
        connect(buttons, &QButtonGroup::idClicked, this, [this](int id) { optionClicked(id); });
    }
    auto* all = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(i == 0 ? QStringLiteral("Y") : QStringLiteral("N"), group);
        button->setObjectName(QStringLiteral("ExtraButton_%1").arg(i));
        button->setMaximumWidth(30);
        all->addWidget(button);
        all->addWidget(
            new QLabel(i == 0 ? QStringLiteral("Yes to all") : QStringLiteral("No to all"), group));
        connect(button, &QPushButton::clicked, this, [this, i] { allOptions(i == 0); });
    }
    grid->addLayout(all, CursorPositions, 0, 1, 8);
    const bool medical = hasGIC() && GIC().IsMedicalPractice();
    if (medical) {
        const std::array<const char*, 4> labels = {
            "Units : ", "Start Date : ", "End Date : ", "Unit Fee : "};
        const std::array<int, 4> at = {2, 3, 5, 6};
        for (size_t i = 0; i < labels.size(); ++i) {
            m_stopLabels[static_cast<size_t>(at[i] - 1)]->setText(QString::fromLatin1(labels[i]));
        }
        for (int option : {4, 5, 8, 9, 10, 11, 12}) {
            Option3D1_ES[static_cast<size_t>(option)]->hide();
        }
    }
    return group;
}

QWidget* Edit_Ser_Code::buildButtons() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    const std::array<const char*, 2> moves = {"< &Back", "Ne&xt >"};
    for (int i = 0; i < 2; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(moves[static_cast<size_t>(i)]), row);
        button->setObjectName(QStringLiteral("CMD_NextBack_%1").arg(i));
        CMD_NextBack[static_cast<size_t>(i)] = button;
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, i] { backNextClicked(i == 1); });
    }
    // What the last "&Save" wrote, until the next change: the emptied editor says it.
    m_savedLine = new QLabel(row);
    m_savedLine->setObjectName(QStringLiteral("lblSaved"));
    layout->addSpacing(12);
    layout->addWidget(m_savedLine);
    layout->addStretch();
    const std::array<const char*, 4> captions = {"&Cancel", "&Cancel", "&Save", "&New"};
    for (int i = 0; i < 4; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(captions[static_cast<size_t>(i)]), row);
        button->setObjectName(QStringLiteral("Command3D2_%1").arg(i));
        button->setAutoDefault(false);
        Command3D2[static_cast<size_t>(i)] = button;
        if (i > 0) {
            layout->addWidget(button);
        }
    }
    Command3D2[0]->hide();  // the close box and Escape press it
    connect(Command3D2[0], &QPushButton::clicked, this, [this] { closeClicked(); });
    connect(Command3D2[1], &QPushButton::clicked, this, [this] { cancelClicked(); });
    connect(Command3D2[2], &QPushButton::clicked, this, [this] { saveClicked(); });
    connect(Command3D2[3], &QPushButton::clicked, this, [this] { newClicked(); });
    return row;
}

void Edit_Ser_Code::connectBoxes() {
    for (int box = 0; box < BoxCount; ++box) {
        connect(Text1_ES[static_cast<size_t>(box)], &QLineEdit::textChanged, this,
                [this, box] { boxEdited(box); });
    }
}

void Edit_Ser_Code::setHideBackNext(bool hide) {
    m_hideBackNext = hide;
    for (QPushButton* button : CMD_NextBack) {
        button->setVisible(!hide);
    }
}

QString Edit_Ser_Code::boxText(int index) const {
    return index >= 0 && index < BoxCount ? Text1_ES[static_cast<size_t>(index)]->text()
                                          : QString();
}

void Edit_Ser_Code::setBoxText(int index, const QString& text) {
    if (index >= 0 && index < BoxCount) {
        Text1_ES[static_cast<size_t>(index)]->setText(text);
    }
}

// --- Loading.

void Edit_Ser_Code::Init_Data() {
    m_savedLine->clear();  // another record: what was saved before is no longer the news
    ui::guard([this] { load(); });
}

void Edit_Ser_Code::load() {
    m_loading = true;
    hideList();
    for (QLineEdit* box : Text1_ES) {
        box->clear();
    }
    m_noticeShownFor = {};
    m_sevCodDrID = 0;
    const QString source = recordSourceStatement(m_sevCodID);
    if (!source.isEmpty() && hasGIC()) {
        try {
            tqplatform::Recordset row =
                GIC().GetConnection().OpenRecordset(GIC().TranslateSql(source, 1));
            if (row.Eof()) {
                m_sevCodID = 0;  // removed meanwhile: the editor holds a new code
            } else {
                m_sevCodID = row.Fields(QStringLiteral("SevCodID")).toInt();
                m_sevCodDrID = row.Fields(QStringLiteral("SevCodDocID")).toInt();
                for (int box = 0; box < BoxCount; ++box) {
                    const QVariant value = row.Fields(boxColumns()[box]);
                    Text1_ES[static_cast<size_t>(box)]->setText(
                        value.isNull() ? QString() : value.toString().trimmed());
                }
            }
        } catch (...) {
            m_loading = false;
            throw;
        }
    }
    Text1_ES[TaxRate]->setText(taxDisplay(Text1_ES[TaxRate]->text()));
    setOptionsFromBoxes();
    for (int box = Fee1; box <= Fee4; ++box) {
        Text1_ES[static_cast<size_t>(box)]->setText(feeDisplay(boxText(box)));
    }
    m_loading = false;
    m_changed = false;
}

void Edit_Ser_Code::setOptionsFromBoxes() {
    const QString stops = boxText(CursorStops);
    for (int position = 1; position <= CursorPositions; ++position) {
        const QChar letter = position <= stops.size() ? stops.at(position - 1) : QChar();
        selectOption(optionForLetter(position, letter), true);
    }
    setBillableEnabled(typeNumber(boxText(Type)) != 3);
    if (Option3D1_ES[BillableYes]->isEnabled()) {
        selectOption(
            boxText(Billable).trimmed().compare(QStringLiteral("N"), Qt::CaseInsensitive) == 0
                ? BillableNo
                : BillableYes,
            true);
    }
}

void Edit_Ser_Code::selectOption(int option, bool select) {
    QRadioButton* radio = Option3D1_ES[static_cast<size_t>(option)];
    QButtonGroup* group = radio->group();
    group->setExclusive(select);  // an exclusive group cannot uncheck its checked button
    radio->setChecked(select);
    group->setExclusive(true);
}

void Edit_Ser_Code::setBillableEnabled(bool enabled) {
    for (int option : {BillableYes, BillableNo}) {
        Option3D1_ES[static_cast<size_t>(option)]->setEnabled(enabled);
        if (!enabled) {
            selectOption(option, false);
        }
    }
}

// --- Editing.

void Edit_Ser_Code::boxEdited(int box) {
    if (m_loading) {
        return;
    }
    markChanged();
    if (box == Type) {
        Text1_ES[Category]->clear();
        setBillableEnabled(typeNumber(boxText(Type)) != 3);
    } else if (box == Category) {
        Text1_ES[SubCategory]->clear();
    }
}

void Edit_Ser_Code::optionClicked(int option) {
    if (option == BillableYes || option == BillableNo) {
        Text1_ES[Billable]->setText(QString(letterOfOption(option)));
    } else {
        Text1_ES[CursorStops]->setText(
            withLetter(boxText(CursorStops), positionOfOption(option), letterOfOption(option)));
    }
    markChanged();
}

void Edit_Ser_Code::markChanged() {
    m_changed = true;
    m_savedLine->clear();
}

void Edit_Ser_Code::allOptions(bool yes) {
    for (int option : yes ? yesOptions() : noOptions()) {
        selectOption(option, true);
        optionClicked(option);
    }
}

void Edit_Ser_Code::feeLeft(int box) {
    QLineEdit* edit = Text1_ES[static_cast<size_t>(box)];
    const QString shown = feeDisplay(edit->text());
    if (shown != edit->text()) {
        edit->setText(shown);
    }
}

void Edit_Ser_Code::taxLeft() {
    const QString shown = taxDisplay(boxText(TaxRate));
    if (shown != boxText(TaxRate)) {
        Text1_ES[TaxRate]->setText(shown);
    }
}

void Edit_Ser_Code::descriptionLeft(int box) {
    const QString name =
        box == Description ? QStringLiteral("Description") : QStringLiteral("Spanish");
    const QString text = boxText(box).trimmed();
    QString& shownFor = m_noticeShownFor[box == Description ? 0 : 1];
    const QString notice = longTextNotice(name, text);
    if (notice.isEmpty() || shownFor == text) {
        return;
    }
    shownFor = text;  // once for each text: leaving the box again does not repeat it
    ui::msgBox(notice, ui::Buttons::Information,
               QStringLiteral("Edit ") + name + QStringLiteral(" Field"));
}

void Edit_Ser_Code::moveOnEnter(int box) {
    if (isFee(box)) {
        QLineEdit* edit = Text1_ES[static_cast<size_t>(box)];
        edit->setText(feeOnEnter(edit->text()));
    }
    const int next = nextOnEnter(box);
    if (next >= 0) {
        Text1_ES[static_cast<size_t>(next)]->setFocus();
    }
}

bool Edit_Ser_Code::eventFilter(QObject* watched, QEvent* event) {
    if (watched == List1_ES) {
        if (event->type() == QEvent::FocusOut) {
            hideList();
        } else if (event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            hideList();
            return true;
        }
        return false;
    }
    const auto found = std::find(Text1_ES.begin(), Text1_ES.end(), watched);
    if (found == Text1_ES.end()) {
        return false;
    }
    const int box = static_cast<int>(found - Text1_ES.begin());
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            ui::guard([&] { moveOnEnter(box); });
            return true;
        }
        if (isFee(box) && !key->text().isEmpty() && key->text().at(0).isPrint()) {
            const QChar c = key->text().at(0);
            return !(c.isDigit() || c == QLatin1Char('.') || c == QLatin1Char('-'));
        }
    } else if (event->type() == QEvent::FocusOut) {
        ui::guard([&] {
            if (isFee(box)) {
                feeLeft(box);
            } else if (box == TaxRate) {
                taxLeft();
            } else if (box == Description || box == Spanish) {
                descriptionLeft(box);
            }
        });
    }
    return false;
}

// --- The drop list.

void Edit_Ser_Code::showTypes() {
    showList(Type, codeTypes(), codeTypes());
}

void Edit_Ser_Code::showCategories() {
    ui::guard([this] {
        const int type = typeNumber(boxText(Type));
        if (boxText(Type).trimmed().isEmpty()) {
            ui::msgBox(QStringLiteral("You need to select type first."), ui::Buttons::Information,
                       EditorTitle);
            return;
        }
        const bool medical = GIC().IsMedicalPractice();
        if (type == 1 && GIC().HasChargeCategoryFile()) {
            const QString file = GIC().GetDataPath() + QStringLiteral("Typ1Cat.TXT");
            if (GIC().FileExists(file)) {
                const QStringList categories = categoriesFromFile(file);
                showList(Category, categories, categories);
                return;
            }
        }
        const QStringList shorts = categoryShortNames(type, medical);
        QStringList longs;
        for (const QString& name : shorts) {
            longs << CategoryLongName(name, type);
        }
        showList(Category, longs, shorts);
    });
}

void Edit_Ser_Code::showSubCategories() {
    ui::guard([this] {
        const int type = typeNumber(boxText(Type));
        if (boxText(Type).trimmed().isEmpty()) {
            ui::msgBox(QStringLiteral("You need to select type first."), ui::Buttons::Information,
                       EditorTitle);
            return;
        }
        if (type == 3) {
            ui::msgBox(QStringLiteral("There are no sub-categories for administrative codes."),
                       ui::Buttons::Information, AppTitle);
            return;
        }
        const QStringList names = subCategoryShortNames(type, GIC().IsMedicalPractice());
        showList(SubCategory, names, names);
    });
}

void Edit_Ser_Code::showList(int box, const QStringList& entries, const QStringList& stored) {
    m_listFor = box;
    // The stored names as one tab-separated text: the host picks the chosen one's field.
    m_listStored = stored;
    List1_ES->clear();
    List1_ES->addItems(entries);
    QLineEdit* edit = Text1_ES[static_cast<size_t>(box)];
    const QPoint at = edit->mapTo(this, QPoint(0, edit->height()));
    List1_ES->setGeometry(at.x(), at.y(), edit->width(), 160);
    List1_ES->show();
    List1_ES->raise();
    List1_ES->setFocus();
}

void Edit_Ser_Code::listChosen(QListWidgetItem* item) {
    ui::guard([&] {
        const int row = List1_ES->row(item);
        const int box = m_listFor;
        hideList();
        if (box < 0 || row < 0) {
            return;
        }
        QString text = item->text();
        if (box == Category) {
            text = GIC().ParseField(m_listStored.join(QLatin1Char('\t')), QStringLiteral("\t"),
                                    row + 1, 0);
        }
        Text1_ES[static_cast<size_t>(box)]->setText(
            tqplatform::leftCharacters(text, boxWidth(box)));
        m_changed = true;
    });
}

void Edit_Ser_Code::hideList() {
    m_listFor = -1;
    if (List1_ES != nullptr) {
        List1_ES->hide();
    }
}

// --- Validation and saving.

bool Edit_Ser_Code::validate() {
    const QString code = boxText(Code).trimmed();
    if (IsProgramDefinedCode(code, QStringLiteral("DUPE"))) {
        return false;
    }
    if (m_sevCodID == 0 && !duplicateAllowed()) {
        return false;
    }
    const QString type = boxText(Type).trimmed();
    const QString category = boxText(Category).trimmed();
    if (category.compare(QStringLiteral("Pat. Pay"), Qt::CaseInsensitive) == 0 &&
        boxText(SubCategory).trimmed().isEmpty()) {
        ui::msgBox(QStringLiteral("You must enter a Sub-Category for Patient Payments."),
                   ui::Buttons::OkOnly);
        Command3D1_ES[2]->click();
        return false;
    }
    if (type.isEmpty() && category.isEmpty()) {
        ui::msgBox(QStringLiteral("Please select type and category."), ui::Buttons::Information);
        Command3D1_ES[0]->click();
        return false;
    }
    if (type.isEmpty()) {
        ui::msgBox(QStringLiteral("Please select a type."), ui::Buttons::Information);
        Command3D1_ES[0]->click();
        return false;
    }
    if (category.isEmpty()) {
        ui::msgBox(QStringLiteral("Please select a category."), ui::Buttons::Information);
        Command3D1_ES[1]->click();
        return false;
    }
    if (code.isEmpty()) {
        ui::msgBox(QStringLiteral("This code needs a code!"), ui::Buttons::Information);
        Text1_ES[Code]->setFocus();
        return false;
    }
    const bool charge = typeNumber(type) == 1;
    const bool icd = category.toUpper() == QStringLiteral("ICD");
    if (charge && !icd &&
        allFeesZero({boxText(Fee1), boxText(Fee2), boxText(Fee3), boxText(Fee4)}) &&
        ui::msgBox(QStringLiteral("You did not setup any fees.\r\nDo you want to continue?"),
                   Question) != ui::Answer::Yes) {
        Text1_ES[Fee1]->setFocus();
        return false;
    }
    // A tax code without a rate would post no tax at all.
    if (charge && !icd && category.toUpper() == QStringLiteral("TAX") &&
        tqplatform::vb::Val(boxText(TaxRate)) == 0 &&
        ui::msgBox(QStringLiteral("You did not setup tax rate.\r\nDo you want to continue?"),
                   Question) != ui::Answer::Yes) {
        Text1_ES[TaxRate]->setFocus();
        return false;
    }
    setLettersFromOptions();
    return true;
}

bool Edit_Ser_Code::duplicateAllowed() {
    const QString sql = duplicateStatement(GIC().GetScopeFilter(QStringLiteral("sevcodTable")),
                                           GIC().SqlText(boxText(Code).trimmed()));
    tqplatform::Recordset rows = GIC().GetConnection().OpenRecordset(GIC().TranslateSql(sql, 1));
    if (rows.Eof()) {
        return true;
    }
    const auto text = [&](const char* column) {
        return rows.Fields(QString::fromLatin1(column)).toString().trimmed();
    };
    if (IsProgramDefinedCode(text("SevCodCod"), QStringLiteral("DUPE"))) {
        m_changed = true;
        return true;
    }
    const QVariant fee = rows.Fields(QStringLiteral("SevCodFee1"));
    const ExistingCode existing{
        text("SevCodCod"),
        text("SevCodOffCod"),
        text("SevCodDes"),
        tqplatform::vb::Format(fee.isNull() ? tqplatform::Currency() : tqplatform::vb::CCur(fee),
                               QStringLiteral("Currency")),
        text("SevCodTyp"),
        text("SevCodCat"),
        text("SevCodSubCat")};
    return ui::msgBox(duplicateMessage(existing),
                      ui::Buttons::YesNo | ui::Buttons::Exclamation | ui::Buttons::DefaultButton2,
                      QStringLiteral("Service Code Duplication")) == ui::Answer::Yes;
}

void Edit_Ser_Code::setLettersFromOptions() {
    QString stops = boxText(CursorStops);
    for (int position = 1; position < CursorPositions; ++position) {
        for (int option : optionsOfPosition(position)) {
            if (Option3D1_ES[static_cast<size_t>(option)]->isChecked()) {
                stops = withLetter(stops, position, letterOfOption(option));
            }
        }
    }
    // The last position is written as "Y" when its "Y" is chosen; an "N" was written when
    // it was clicked.
    stops = withLetter(
        stops, CursorPositions,
        Option3D1_ES[23]->isChecked()
            ? QLatin1Char('Y')
            : (stops.size() >= CursorPositions ? stops.at(CursorPositions - 1) : QLatin1Char('N')));
    Text1_ES[CursorStops]->setText(stops);
    // A code is billable unless the user chose the billable pair's "N". The rule looks at
    // the enabled state of the cursor stop's "N" (option 24), which this screen never
    // disables, not at the pair: an administrative code, whose pair is disabled and
    // unselected, is therefore written "Y", as every code not marked unbillable is.
    const bool stopEnabled = Option3D1_ES[24]->isEnabled();
    Text1_ES[Billable]->setText(stopEnabled && !Option3D1_ES[BillableNo]->isChecked()
                                    ? QStringLiteral("Y")
                                    : QStringLiteral("N"));
}

bool Edit_Ser_Code::save() {
    refreshPublic();
    if (!m_changed) {
        return true;
    }
    QStringList texts;
    for (int box = 0; box < BoxCount; ++box) {
        texts << (box == TaxRate ? taxToStore(boxText(box)) : boxText(box).trimmed());
    }
    int32_t id = m_sevCodID;
    if (!GIC().SaveServiceCodeRow(id, boxColumns(), texts, 1, QStringLiteral("SevCodID"),
                                  QStringLiteral("SevCodTable"))) {
        return false;  // the host said why; the record stays on screen
    }
    m_sevCodID = id;
    m_changed = false;
    return true;
}

void Edit_Ser_Code::refreshPublic() {
    m_sevCodDesc = boxText(Description).trimmed();
    m_sevCodCod = boxText(Code).trimmed();
    m_sevCodOffCod = boxText(OfficeCode).trimmed();
}

void Edit_Ser_Code::resetPublic() {
    m_sevCodID = 0;
    m_sevCodDesc.clear();
    m_sevCodCod.clear();
    m_sevCodOffCod.clear();
    m_sevCodDrID = 0;
}

// --- The buttons.

void Edit_Ser_Code::closeClicked() {
    ui::guard([this] {
        refreshPublic();
        if (m_changed) {
            if (!validate() || !save()) {
                return;
            }
            finish(QDialog::Accepted);
            return;
        }
        resetPublic();
        finish(QDialog::Rejected);
    });
}

void Edit_Ser_Code::cancelClicked() {
    ui::guard([this] {
        refreshPublic();
        if (m_changed && ui::msgBox(SaveChanges, Question) == ui::Answer::Yes) {
            if (!validate() || !save()) {
                return;
            }
            finish(QDialog::Accepted);
            return;
        }
        resetPublic();
        m_changed = false;
        finish(QDialog::Rejected);
    });
}

bool Edit_Ser_Code::saveAndReset() {
    refreshPublic();
    if (!validate()) {
        return false;
    }
    m_changed = true;
    if (!save()) {
        return false;
    }
    const QString saved = m_sevCodCod;
    resetPublic();
    load();
    m_savedLine->setText(saved + QStringLiteral(" saved"));
    Text1_ES[Code]->setFocus();
    return true;
}

void Edit_Ser_Code::saveClicked() {
    ui::guard([this] { saveAndReset(); });
}

void Edit_Ser_Code::newClicked() {
    ui::guard([this] {
        refreshPublic();
        const int saveFirst =
            ui::msgBox(QStringLiteral("Save current editing?"), QuestionWithCancel);
        if (saveFirst == ui::Answer::Cancel) {
            return;
        }
        // The texts the new code may start from are those the user sees now.
        std::array<QString, BoxCount> kept;
        for (int box = 0; box < BoxCount; ++box) {
            kept[static_cast<size_t>(box)] = boxText(box);
        }
        if (saveFirst == ui::Answer::Yes && !saveAndReset()) {
            return;
        }
        const int fill = ui::msgBox(
            QStringLiteral("Would you like Tavix Windows to automatically fill the new code ") +
                QStringLiteral("with the information from this one?") +
                QStringLiteral("\r\n\r\nSelect 'No' start a blank new code."),
            QuestionWithCancel);
        if (fill == ui::Answer::Cancel) {
            return;
        }
        GIC().setScreenNumber(NewCodeScreenNumber);
        const int first = fill == ui::Answer::Yes ? Code : Type;
        const int last = fill == ui::Answer::Yes ? TaxRate : SubCategory;
        m_sevCodID = 0;
        load();
        for (int box = first; box <= last; ++box) {
            setBoxText(box, kept[static_cast<size_t>(box)]);
        }
        m_loading = true;
        setOptionsFromBoxes();
        m_loading = false;
        Text1_ES[Code]->setFocus();
    });
}

void Edit_Ser_Code::backNextClicked(bool next) {
    ui::guard([this, next] {
        refreshPublic();
        bool cancel = false;
        if (next) {
            emit m_events.BeforeNextClicked(cancel);
        } else {
            emit m_events.BeforeBackClicked(cancel);
        }
        if (cancel) {
            return;
        }
        bool saved = false;
        if (m_changed) {
            if (ui::msgBox(SaveChanges, Question) == ui::Answer::Yes) {
                if (!validate() || !save()) {
                    return;
                }
                saved = true;
            }
            m_changed = false;
        }
        if (next) {
            emit m_events.NextClicked(saved);
        } else {
            emit m_events.BackClicked(saved);
        }
    });
}

void Edit_Ser_Code::calculatorClicked(int fee) {
    ui::guard([this, fee] {
        const QString value = openCalculator();
        if (!tqplatform::vb::IsNumeric(value)) {
            return;
        }
        const int box = Fee1 + fee;
        Text1_ES[static_cast<size_t>(box)]->setText(feeDisplay(value));
        feeLeft(box);
    });
}

void Edit_Ser_Code::letterClicked() {
    ui::guard([this] {
        std::unique_ptr<QDialog> screen = ScreenFactory::create(DocumentPickerScreenName);
        auto* picker = dynamic_cast<DocumentPickerScreen*>(screen.get());
        if (picker == nullptr) {
            return;
        }
        picker->setFilePattern(QStringLiteral("*.RTF"));
        picker->setDirPath(GIC().GetDataPath() + QStringLiteral("WP") + QDir::separator());
        picker->setInitialParm(true);
        ui::showModal(*screen, MainForm());
        const QString chosen = picker->SelFiels().trimmed();
        const QString current = boxText(Letter).trimmed();
        if (!chosen.isEmpty() && chosen != current) {
            Text1_ES[Letter]->setText(chosen);
            return;
        }
        if (!current.isEmpty() &&
            ui::msgBox(QStringLiteral("Would you like to remove the letter (") + current +
                           QStringLiteral(")?"),
                       Question) == ui::Answer::Yes) {
            Text1_ES[Letter]->clear();
        }
    });
}

void Edit_Ser_Code::done(int result) {
    if (hasGIC()) {
        ui::guard([this] { SaveUserWindowSize(*this, SizeKey); });
    }
    QDialog::done(result);
}

void Edit_Ser_Code::finish(int result) {
    m_closing = true;  // the close that follows is the editor's own, not the close box
    done(result);
    m_closing = false;
}

void Edit_Ser_Code::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    Command3D2[0]->click();
}

void Edit_Ser_Code::reject() {
    if (m_closing) {
        QDialog::reject();
        return;
    }
    Command3D2[0]->click();
}

}  // namespace tqservicecode
