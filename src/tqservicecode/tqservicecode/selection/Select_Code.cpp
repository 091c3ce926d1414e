#include <tqservicecode/selection/Select_Code.h>

#include <tqservicecode/codes/ServiceCodeRows.h>
#include <tqservicecode/codes/ServiceCodeStore.h>
#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/CenterForm.h>
#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/forms/UserWindowSize.h>
#include <tqservicecode/maintenance/ServiceCodeEditorScreen.h>
#include <tqservicecode/selection/CodeLines.h>
#include <tqservicecode/selection/ExplosionCodes.h>
#include <tqservicecode/selection/FeeSchedule.h>
#include <tqservicecode/selection/PickerCategories.h>
#include <tqservicecode/selection/PickerListModel.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/Twips.h>
#include <tqplatform/ui.h>

#include <QCheckBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>

#include <QVBoxLayout>
#include <limits>
#include <utility>

namespace tqservicecode {

namespace {

constexpr int HelpContext = help::CodePicker;
/// The list's tab stops in pixels, as a list box keeps them: where each field starts.
const char* const TabStopsProperty = "TabStops";
/// The per-user size of the window ("SELECT_CODE_WIDTH" + user, twips).
const QString SizeKey = QStringLiteral("SELECT_CODE");
constexpr QSize DefaultSize(1180, 520);
/// Room a column leaves after its widest text.
constexpr int ColumnPadding = 8;

/// Paints a picker line's columns at the list's tab stops.
class TabbedLineDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        const auto* model = qobject_cast<const PickerListModel*>(index.model());
        const PickerListModel::Fields fields =
            model != nullptr ? model->fields(index.row()) : PickerListModel::Fields{};
        const auto stops = plain.widget->property(TabStopsProperty).value<QList<int>>();
        painter->save();
        painter->setPen(option.state & QStyle::State_Selected
                            ? option.palette.color(QPalette::HighlightedText)
                            : option.palette.color(QPalette::Text));
        for (int i = 0; i < PickerListModel::FieldCount && i < stops.size(); ++i) {
            const int left = option.rect.left() + 4 + stops[i];
            const int right =
                i + 1 < stops.size() ? option.rect.left() + stops[i + 1] : option.rect.right();
            painter->drawText(QRect(left, option.rect.top(), right - left, option.rect.height()),
                              Qt::AlignLeft | Qt::AlignVCenter, fields[i]);
        }
        painter->restore();
    }
};

QListView* makeList(const QString& name, PickerListModel* model, const QList<int>& stops,
                    QWidget* parent) {
    auto* list = new QListView(parent);
    list->setObjectName(name);
    list->setModel(model);
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setProperty(TabStopsProperty, QVariant::fromValue(stops));
    list->setItemDelegate(new TabbedLineDelegate(list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return list;
}

}  // namespace

/// Marks the screen busy while a handler runs; a click that arrives meanwhile is dropped.
class Select_Code::BusyGuard {
public:
    explicit BusyGuard(Select_Code& screen) : m_screen(screen) { m_screen.setBusy(true); }
    ~BusyGuard() { m_screen.setBusy(false); }
    BusyGuard(const BusyGuard&) = delete;
    BusyGuard& operator=(const BusyGuard&) = delete;

private:
    Select_Code& m_screen;
};

Select_Code::Select_Code(QWidget* parent) : QDialog(parent) {
    setObjectName(protocol::screen::SelectCode);
    setWindowTitle(QStringLiteral("Service Codes"));
    m_codeList = new PickerListModel(PickerListModel::Style::CodeList, this);
    m_chosenList = new PickerListModel(PickerListModel::Style::Chosen, this);
    m_fillTimer = new QTimer(this);
    m_fillTimer->setInterval(0);
    connect(m_fillTimer, &QTimer::timeout, this, &Select_Code::continueFill);
    buildControls();
    SetFormIcon(this, QStringLiteral("APPICON"));
    SetHelpContext(this, HelpContext);
}

Select_Code::~Select_Code() = default;

void Select_Code::buildControls() {
    auto* buttonGrid = new QGridLayout;
    buttonGrid->setSpacing(3);
    const auto& buttons = picker::categoryButtons();
    for (int i = 0; i < picker::ButtonCount; ++i) {
        auto* button = new QPushButton(buttons[i].caption, this);
        button->setObjectName(QStringLiteral("cmdCategory_%1").arg(i));
        button->setAutoDefault(false);
        button->setMinimumWidth(104);
        connect(button, &QPushButton::clicked, this, [this, i] { categoryClicked(i); });
        cmdCategory[i] = button;
    }
    // Charges in the first column, credits and administrative codes in the second, the
    // medical and catch-all buttons in the third.
    const int layout[3][10] = {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9},
                               {10, 11, 12, 13, 14, 15, 16, 17, 18, 19},
                               {20, 21, 22, 24, 25, 26, -1, -1, -1, 23}};
    QList<QWidget*> categoriesSeen;
    for (int column = 0; column < 3; ++column) {
        for (int row = 0; row < 10; ++row) {
            if (layout[column][row] >= 0) {
                buttonGrid->addWidget(cmdCategory[layout[column][row]], row, column);
                categoriesSeen.append(cmdCategory[layout[column][row]]);
            }
        }
    }

    buttonGrid->setRowStretch(10, 1);  // the buttons keep their height; space goes below

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    List1 = makeList(QStringLiteral("List1"), m_codeList, {0, 70, 140, 290}, this);
    List1->setSelectionMode(QAbstractItemView::MultiSelection);
    List1->setMinimumWidth(360);
    Label3 = new QLabel(QStringLiteral("Click to deselect"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    List2 = makeList(QStringLiteral("List2"), m_chosenList, {0, 70, 300, 370}, this);
    List2->setSelectionMode(QAbstractItemView::SingleSelection);
    List2->setMinimumWidth(380);
    Tot_Sel_LBL = new QLabel(this);
    Tot_Sel_LBL->setObjectName(QStringLiteral("Tot_Sel_LBL"));
    Tot_Sel_LBL->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    Label2 = new QLabel(QStringLiteral("Type in box  to search or input code >>"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    chkDefault = new QCheckBox(QStringLiteral("Set as default category"), this);
    chkDefault->setObjectName(QStringLiteral("chkDefault"));

    const QString captions[4] = {QStringLiteral("&Cancel"), QStringLiteral("&OK"),
                                 QStringLiteral("&List"), QStringLiteral("&Edit")};
    for (int i = 0; i < 4; ++i) {
        CMD[i] = new QPushButton(captions[i], this);
        CMD[i]->setObjectName(QStringLiteral("CMD_%1").arg(i));
        CMD[i]->setAutoDefault(false);
    }
    CMD[3]->setEnabled(false);

    auto* codeColumn = new QVBoxLayout;
    codeColumn->addWidget(Label1);
    codeColumn->addWidget(List1, 1);
    auto* chosenColumn = new QVBoxLayout;
    chosenColumn->addWidget(Label3);
    chosenColumn->addWidget(List2, 1);
    chosenColumn->addWidget(Tot_Sel_LBL);
    auto* lists = new QHBoxLayout;
    lists->addLayout(buttonGrid);
    lists->addLayout(codeColumn, 1);
    lists->addLayout(chosenColumn, 1);

    auto* entry = new QHBoxLayout;
    entry->addWidget(Label2);
    entry->addWidget(Text1, 1);
    entry->addSpacing(12);
    entry->addWidget(chkDefault);
    entry->addStretch();
    for (int i : {3, 2, 1, 0}) {
        entry->addWidget(CMD[i]);
    }

    auto* main = new QVBoxLayout(this);
    main->addLayout(lists, 1);
    main->addLayout(entry);
    resize(DefaultSize);

    // Tab follows the screen: the entry box, the code list, the chosen list, the check box
    // and buttons under them as they are seen, then the categories column by column.
    QWidget* previous = Text1;
    for (QWidget* next : QList<QWidget*>{List1, List2, chkDefault, CMD[3], CMD[2], CMD[1], CMD[0]} +
                             categoriesSeen) {
        setTabOrder(previous, next);
        previous = next;
    }

    connect(List1, &QListView::clicked, this,
            [this](const QModelIndex& index) { codeLineClicked(index, true); });
    connect(List2, &QListView::clicked, this, &Select_Code::chosenLineClicked);
    connect(Text1, &QLineEdit::returnPressed, this, &Select_Code::codeTyped);
    connect(CMD[0], &QPushButton::clicked, this, &QDialog::reject);
    connect(CMD[1], &QPushButton::clicked, this, &Select_Code::okClicked);
    connect(CMD[2], &QPushButton::clicked, this, &Select_Code::listClicked);
    connect(CMD[3], &QPushButton::clicked, this, &Select_Code::editClicked);
    connect(chkDefault, &QCheckBox::toggled, this, &Select_Code::defaultToggled);

    for (QWidget* child : findChildren<QWidget*>()) {
        child->installEventFilter(this);
    }
}

void Select_Code::load() {
    tqGlobal::IHostServices& gic = GIC();
    m_buttonsMode = gic.ScreenParameter() == protocol::Buttons;
    if (m_buttonsMode) {
        for (QWidget* part :
             std::initializer_list<QWidget*>{Label1, List1, Label3, List2, Tot_Sel_LBL, Label2,
                                             Text1, chkDefault, CMD[1], CMD[2], CMD[3]}) {
            part->hide();
        }
        setWindowTitle(QStringLiteral("Select a Service Code Category"));
        resize(minimumSizeHint());
    } else {
        m_feeSchedule = feeScheduleForPatient(gic.PatientID());
        Label1->setText(QStringLiteral("Service code list, click to select.           Fee type: ") +
                        QString::number(m_feeSchedule));
        RestoreUserWindowSize(*this, SizeKey, DefaultSize);
    }
    CenterForm(this);
}

void Select_Code::done(int result) {
    // The category choice is sized to its buttons; only the picker's own size is kept.
    if (!m_buttonsMode && hasGIC()) {
        tqplatform::ui::guard([this] { SaveUserWindowSize(*this, SizeKey); });
    }
    QDialog::done(result);
}

void Select_Code::Click_Button_B4_Load(int index) {
    categoryClicked(index);
}

QString Select_Code::feeColumn() const {
    return QStringLiteral("SevCodFee") + QString::number(m_feeSchedule);
}

QString Select_Code::currentCategory() const {
    if (m_currentButton < 0) {
        return {};
    }
    return picker::categoryButtons()[m_currentButton].category;
}

picker::EnabledButtons Select_Code::enabledCategories() const {
    picker::EnabledButtons enabled{};
    for (int i = 0; i < picker::ButtonCount; ++i) {
        enabled[i] = cmdCategory[i]->isEnabled();
    }
    return enabled;
}

void Select_Code::setEnabledCategories(const picker::EnabledButtons& enabled) {
    for (int i = 0; i < picker::ButtonCount; ++i) {
        cmdCategory[i]->setEnabled(enabled[i]);
    }
}

void Select_Code::categoryClicked(int index) {
    if (isBusy() || index < 0 || index >= picker::ButtonCount) {
        return;
    }
    const picker::CategoryButton& button = picker::categoryButtons()[index];
    if (m_buttonsMode) {
        // The chooser's answer: the category's stored name for the host, its type in the
        // component's shared text.
        if (tqplatform::ui::guard([&] {
                answer({.kind = PickerAnswer::Kind::Category,
                        .category = button.category,
                        .type = button.type});
            })) {
            accept();
        }
        return;
    }
    m_currentButton = index;
    m_currentType = button.type;
    setWindowTitle(QStringLiteral("Service Codes [ ") + button.caption + QStringLiteral(" ]"));
    refill();
}

void Select_Code::refill() {
    // Busy until the last slice is in: a click meanwhile is dropped, never queued.
    setBusy(true);
    if (!tqplatform::ui::guard([this] { fillCodeList(m_currentButton); })) {
        finishFill();
    }
}

void Select_Code::fillCodeList(int index) {
    tqGlobal::IHostServices& gic = GIC();
    m_fillTimer->stop();
    m_pendingRows.reset();
    auto hourglass = std::make_unique<tqplatform::ui::WaitCursor>();
    const QString sql =
        picker::codeListStatement(gic.GetScopeFilter(QStringLiteral("sevcodTable")),
                                  picker::categoryButtons()[index].category, feeColumn());
    List1->clearSelection();
    m_codeList->clear();
    m_codeList->setDescriptionFit(
        List1->fontMetrics(), tqplatform::twips::toPixelsX(picker::DescriptionWidthTwips, this));
    try {
        // Asked before the list is read: a statement while rows are still coming would have
        // the connection read them all at once.
        const bool mayChange =
            gic.UserHasRight(gic.GetCurrentUser(), QStringLiteral("CHANGE-SER-CODE"));
        auto rows = std::make_unique<tqplatform::Recordset>(
            gic.GetConnection().OpenRecordset(gic.TranslateSql(sql, 0), FirstScreenRows));
        CMD[3]->setEnabled(rows->RecordCount() > 0 && mayChange);
        m_pendingRows = std::move(rows);
    } catch (const std::exception& error) {
        // The list is left empty and the user is told why.
        CMD[3]->setEnabled(false);
        updateCodeColumn();
        hourglass.reset();
        tqplatform::ui::msgBox(tqplatform::ui::failureMessage(QString::fromUtf8(error.what())),
                               tqplatform::ui::Buttons::OkOnly | tqplatform::ui::Buttons::Critical);
        finishFill();
        return;
    }
    m_hourglass = std::move(hourglass);
    // The first screen of lines at once; the rest in slices, between which the screen
    // repaints and answers the user.
    fillSlice(FirstScreenRows);
    if (m_pendingRows) {
        m_fillTimer->start();
    }
}

void Select_Code::fillSlice(int maxRows) {
    constexpr int SliceMilliseconds = 20;
    QElapsedTimer clock;
    clock.start();
    tqplatform::Recordset& rows = *m_pendingRows;
    // Rows are read from the database in parts too, so that no slice waits for all of them.
    constexpr int RowsPerRead = 512;
    // A text as the database keeps it (UTF-8) goes straight into the list's buffer.
    QByteArray other[3];
    const auto text = [&rows, &other](int field) -> QByteArrayView {
        if (const auto utf8 = rows.FieldUtf8(field)) {
            return *utf8;
        }
        return other[field - 1] = rows.Fields(field).toString().toUtf8();
    };
    for (int added = 0; added < maxRows;) {
        if (rows.Eof() && (rows.fetchComplete() || rows.fetchMore(RowsPerRead) == 0)) {
            break;
        }
        const QByteArrayView description = text(1);
        const QByteArrayView officeCode = text(2);
        m_codeList->stage(rows.Fields(0).toInt(), text(3), officeCode, description,
                          currencyOf(rows.Fields(4)));
        rows.MoveNext();
        if (++added % 256 == 0 && clock.elapsed() >= SliceMilliseconds) {
            break;
        }
    }
    m_codeList->showStaged();
    updateCodeColumn();
    if (rows.Eof() && rows.fetchComplete()) {
        finishFill();
    }
}

void Select_Code::continueFill() {
    if (!m_pendingRows) {
        m_fillTimer->stop();
        return;
    }
    // A failure keeps the lines read so far.
    if (!tqplatform::ui::guard([this] { fillSlice(std::numeric_limits<int>::max()); })) {
        finishFill();
    }
}

void Select_Code::finishFill() {
    m_fillTimer->stop();
    m_pendingRows.reset();
    m_hourglass.reset();
    m_codeList->squeeze();
    highlightChosenLines();
    setBusy(false);
    if (m_afterFill) {
        std::exchange(m_afterFill, {})();
    }
}

bool Select_Code::isFilling() const {
    return m_pendingRows != nullptr;
}

void Select_Code::updateCodeColumn() {
    // The code column is as wide as the longest code, so that no code is clipped.
    const int codeColumn = std::max(70, m_codeList->widestCode() + ColumnPadding);
    const QList<int> stops{0, codeColumn, codeColumn + 70, codeColumn + 220};
    if (List1->property(TabStopsProperty).value<QList<int>>() != stops) {
        List1->setProperty(TabStopsProperty, QVariant::fromValue(stops));
        List1->viewport()->update();
    }
}

void Select_Code::highlightChosenLines() {
    QItemSelection chosen;
    for (int row = 0; row < m_chosenList->count(); ++row) {
        const QModelIndex line =
            m_codeList->index(m_codeList->rowOfItemData(m_chosenList->itemData(row)));
        if (line.isValid()) {
            chosen.select(line, line);
        }
    }
    List1->selectionModel()->select(chosen, QItemSelectionModel::Select);
}

void Select_Code::codeLineClicked(const QModelIndex& index, bool byMouse) {
    if (isBusy() || !index.isValid()) {
        return;
    }
    BusyGuard busy(*this);
    QItemSelectionModel* selection = List1->selectionModel();
    const bool highlighted = selection->isSelected(index);
    if (singleSelection() && byMouse && m_chosenList->count() > 0) {
        const int current = List2->currentIndex().isValid() ? List2->currentIndex().row()
                                                            : m_chosenList->count() - 1;
        const int32_t replaced = m_chosenList->itemData(current);
        removeChosenRow(current);
        if (replaced != m_codeList->itemData(index.row())) {
            unhighlightCodeLine(replaced);
        }
    }
    if (m_chosenList->count() >= BatchLimit) {
        selection->select(index, QItemSelectionModel::Deselect);
        tqplatform::ui::msgBox(QStringLiteral("25 selections per batch. "),
                               tqplatform::ui::Buttons::Exclamation);
        return;
    }
    if (!highlighted) {
        const int row = m_chosenList->rowOfItemData(m_codeList->itemData(index.row()));
        removeChosenRow(row);
        updateTotal();
        return;
    }
    int added = 0;
    tqplatform::ui::guard(
        [&] { added = addExpandedCode(m_codeList->itemData(index.row()), index); });
    if (added == 0) {
        // A code that was refused, or could not be read, is not chosen: no highlight.
        selection->select(index, QItemSelectionModel::Deselect);
    }
    highlightChosenLines();  // the lines of an explosion code's members too
    updateTotal();
}

void Select_Code::codeLineKeyed() {
    const QModelIndex current = List1->currentIndex();
    if (isBusy() || !current.isValid()) {
        return;
    }
    // Space toggles the highlight of the line with the cursor, and that line only.
    List1->selectionModel()->select(current, QItemSelectionModel::Toggle);
    codeLineClicked(current, false);
}

int Select_Code::addExpandedCode(int32_t id, const QModelIndex& sourceLine) {
    QString codes;
    QString rowIds;
    int16_t count = 0;
    Expand_Explosion_Code(id, codes, rowIds, count, m_expandServiceCode);
    QList<int32_t> members = expandedIds(rowIds);
    if (singleSelection() && members.size() >= 2) {
        tqplatform::ui::msgBox(
            QStringLiteral("This list is currently in single-select mode. Only the first item "
                           "from the selected explosion code will be entered."),
            tqplatform::ui::Buttons::Information, QStringLiteral("Select Service Code"));
        members = members.mid(0, 1);
        if (sourceLine.isValid()) {
            List1->selectionModel()->select(sourceLine, QItemSelectionModel::Deselect);
        }
    }
    // Every member is read before any is added: a failure adds none of them.
    std::vector<PickerRow> rows;
    for (int32_t member : members) {
        ServiceCodeRecord record;
        if (FindServiceCodeByID(member, record)) {
            const bool unique = CountCodeRows(record.code(), false, false, -1);
            rows.push_back({record.SevCodID, record.code(), record.SevCodOffCod,
                            record.description(), record.fee(m_feeSchedule), !unique});
        }
    }
    m_chosenList->append(rows);
    if (!rows.empty()) {
        List2->setCurrentIndex(m_chosenList->index(m_chosenList->count() - 1));
    }
    return static_cast<int>(rows.size());
}

void Select_Code::removeChosenRow(int row) {
    if (row >= 0 && row < m_chosenList->count()) {
        m_chosenList->removeRow(row);
    }
}

void Select_Code::unhighlightCodeLine(int32_t id) {
    const int row = m_codeList->rowOfItemData(id);
    if (row >= 0) {
        List1->selectionModel()->select(m_codeList->index(row), QItemSelectionModel::Deselect);
    }
}

void Select_Code::chosenLineClicked(const QModelIndex& index) {
    if (isBusy() || !index.isValid()) {
        return;
    }
    BusyGuard busy(*this);
    const int32_t id = m_chosenList->itemData(index.row());
    removeChosenRow(index.row());
    unhighlightCodeLine(id);
    updateTotal();
}

void Select_Code::codeTyped() {
    const QString typed = Text1->text();
    if (typed.trimmed().isEmpty() || isBusy()) {
        return;
    }
    BusyGuard busy(*this);
    const bool done = tqplatform::ui::guard([&] {
        ServiceCodeRecord record;
        bool byID = false;
        if (!FindServiceCode(typed, record, true, byID, 0, 0, false)) {
            return;
        }
        // One code at a time in single-selection mode: a typed code takes the place of
        // the chosen one, as a click does.
        if (singleSelection() && m_chosenList->count() > 0) {
            const int32_t replaced = m_chosenList->itemData(m_chosenList->count() - 1);
            removeChosenRow(m_chosenList->count() - 1);
            unhighlightCodeLine(replaced);
        }
        addExpandedCode(record.SevCodID, QModelIndex());
    });
    highlightChosenLines();
    updateTotal();
    if (done) {
        Text1->clear();  // a failed look-up keeps the text for another try
    }
}

void Select_Code::updateTotal() {
    Tot_Sel_LBL->setText(picker::totalLabel(m_chosenList->count(), m_chosenList->feeTotal()));
}

void Select_Code::okClicked() {
    const bool handedOver = tqplatform::ui::guard([this] {
        tqGlobal::IHostServices& gic = GIC();
        setSelectedCodeCount(static_cast<int16_t>(m_chosenList->count()));
        QString codes;
        answer({.kind = PickerAnswer::Kind::Codes, .codes = codes});
        for (int row = 0; row < m_chosenList->count(); ++row) {
            const int32_t id = m_chosenList->itemData(row);
            QString accepted;
            if (gic.AcceptSelectedCode(picker::chosenItemText(m_chosenList->row(row)), id != 0,
                                       accepted)) {
                codes += accepted + QLatin1Char('\r');
                answer({.kind = PickerAnswer::Kind::Codes, .codes = codes});
            }
        }
    });
    if (handedOver) {
        accept();
        return;
    }
    // No answer is returned by halves: the count and the host's text are taken back, and
    // the screen stays open with the chosen codes.
    setSelectedCodeCount(0);
    tqplatform::ui::guard([this] { answer({.kind = PickerAnswer::Kind::Codes}); });
}

void Select_Code::listClicked() {
    const bool saved = tqplatform::ui::guard([this] {
        tqGlobal::IHostServices& gic = GIC();
        const QString section = protocol::UserSettingsSection + gic.GetCurrentUserName();
        const QString category = currentCategory();
        gic.SaveUserSetting(section, QStringLiteral("SER_COD_CAT"), 0,
                            category.isEmpty() ? QStringLiteral(" All Codes") : category);
        gic.SaveUserSetting(section, QStringLiteral("SER_COD_TYP"), 0, m_currentType);
        answer({.kind = PickerAnswer::Kind::EditList});
    });
    if (saved) {
        accept();
    }
}

void Select_Code::answer(const PickerAnswer& result) const {
    if (m_answerSink) {
        m_answerSink(result);
    }
}

void Select_Code::editClicked() {
    const QModelIndex current = List1->currentIndex();
    if (isBusy()) {
        return;
    }
    if (!current.isValid()) {
        List1->setFocus();
        return;
    }
    const int32_t id = m_codeList->itemData(current.row());
    if (std::unique_ptr<QDialog> editor = ScreenFactory::create(ServiceCodeEditorScreenName)) {
        if (auto* screen = dynamic_cast<ServiceCodeEditorScreen*>(editor.get())) {
            screen->setSevCodID(id);
            screen->setHideBackNext(true);
            screen->Init_Data();
        }
        tqplatform::ui::showModal(*editor, this);
    }
    const auto showEdited = [this, id] {
        const int row = m_codeList->rowOfItemData(id);
        if (row >= 0) {
            // The cursor only: the edited line is highlighted only if it is chosen.
            List1->selectionModel()->setCurrentIndex(m_codeList->index(row),
                                                     QItemSelectionModel::NoUpdate);
            List1->scrollTo(m_codeList->index(row));
        }
    };
    if (m_currentButton < 0) {
        showEdited();
        return;
    }
    m_afterFill = showEdited;  // once the edited line is read again
    refill();
}

void Select_Code::defaultToggled(bool checked) {
    if (!checked || m_currentButton < 0) {
        return;
    }
    // The caption is what the opener matches the saved default against.
    const bool saved = tqplatform::ui::guard([this] {
        tqGlobal::IHostServices& gic = GIC();
        gic.SaveUserSetting(protocol::UserSettingsSection + gic.GetCurrentUserName(),
                            protocol::DefaultCategoryKey, 0,
                            picker::categoryButtons()[m_currentButton].caption);
    });
    if (!saved) {
        const QSignalBlocker quiet(chkDefault);
        chkDefault->setChecked(false);  // the box shows what is stored
    }
}

bool Select_Code::handleEnterOrEscape(int key) {
    if (m_buttonsMode) {
        // The chooser has no OK: Enter presses the focused button (a category is chosen,
        // Cancel cancels) and Esc cancels.
        QPushButton* button =
            key == Qt::Key_Escape ? CMD[0] : qobject_cast<QPushButton*>(focusWidget());
        if (button != nullptr) {
            button->click();
        }
        return true;
    }
    QWidget* active = focusWidget();
    bool emptyValue = active == nullptr;
    if (auto* edit = qobject_cast<QLineEdit*>(active)) {
        emptyValue = edit->text().isEmpty();
    } else if (auto* list = qobject_cast<QListView*>(active)) {
        emptyValue = !list->currentIndex().isValid();
    }
    if (emptyValue) {
        Text1->setFocus();
    }
    if (key == Qt::Key_Escape) {
        CMD[0]->click();
        return true;
    }
    // Enter anywhere but in Text1 presses OK, on a focused button too (Space presses the
    // button itself).
    if (focusWidget() != Text1) {
        CMD[1]->click();
        return true;
    }
    return false;
}

bool Select_Code::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (isBusy() && (watched == List1->viewport() || watched == List2->viewport()) &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
         type == QEvent::MouseButtonDblClick)) {
        return true;  // dropped whole: the list may not highlight a line it did not choose
    }
    if (event->type() == QEvent::KeyPress) {
        const auto* press = static_cast<QKeyEvent*>(event);
        const int key = press->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            return handleEnterOrEscape(key);
        }
        // The code list's highlights are the chosen codes: the list may not highlight a
        // line on its own (Space would also jump to the next line starting with a blank).
        if (watched == List1 && (key == Qt::Key_Space || press->matches(QKeySequence::SelectAll))) {
            return true;
        }
    } else if (event->type() == QEvent::KeyRelease && watched == List1) {
        const auto* release = static_cast<QKeyEvent*>(event);
        if (release->key() == Qt::Key_Space && !release->isAutoRepeat()) {
            codeLineKeyed();
        }
    } else if (event->type() == QEvent::MouseMove && watched == List1->viewport() &&
               static_cast<QMouseEvent*>(event)->buttons() != Qt::NoButton) {
        return true;  // dragging over lines highlights none of them
    } else if (event->type() == QEvent::KeyRelease && watched == List2) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Space || key == Qt::Key_Delete) {
            chosenLineClicked(List2->currentIndex());
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Select_Code::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_buttonsMode) {
        cmdCategory[0]->setFocus();  // Enter chooses the category the cursor is on
    } else {
        Text1->setFocus();
    }
}

}  // namespace tqservicecode

#include "Select_Code.moc"
