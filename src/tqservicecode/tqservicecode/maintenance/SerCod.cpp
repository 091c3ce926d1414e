#include <tqservicecode/maintenance/SerCod.h>

#include <tqservicecode/codes/ServiceCodeStore.h>
#include <tqservicecode/codes/Vocabulary.h>
#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/GridLayout.h>
#include <tqservicecode/grid/GridPrint.h>
#include <tqservicecode/grid/GridRefresh.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/maintenance/BrowserRules.h>
#include <tqservicecode/maintenance/FeeChange.h>
#include <tqservicecode/maintenance/ServiceCodeEditorScreen.h>
#include <tqservicecode/reference/ReferenceCodeSets.h>
#include <tqservicecode/reference/ReferenceCodesLauncher.h>
#include <tqservicecode/selection/Select_Code.h>

#include <tqglobal/Error.h>
#include <tqglobal/IHostServices.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Twips.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace tqservicecode {

namespace {

using tqplatform::ui::Answer::Yes;
namespace Buttons = tqplatform::ui::Buttons;

const QString GridHint = QStringLiteral(
    "Please select a code or start typing to find a code, description, category or "
    "sub-category.");
const QString SelectHint = QStringLiteral("Change your selection of codes being viewed.");
const QString SearchTip = QStringLiteral("Find code, description, category or sub-category.");
const QString ArLeftTip =
    QStringLiteral("Please right click to change this button back to 'Find'.");

/// The browser is opened by name, from the code list operation and the picker's road.
const bool Registered = [] {
    ScreenFactory::registerScreen(ServiceCodeBrowserScreenName,
                                  [] { return std::make_unique<SerCod>(); });
    return true;
}();

/// The user's own layout of the browser's columns.
QString layoutName() {
    return QStringLiteral("SRCD") + GIC().GetCurrentUserName();
}

QString userSection() {
    return protocol::UserSettingsSection + GIC().GetCurrentUserName();
}

double userNumber(const QString& key, double defaultValue) {
    return GIC().GetUserSettingNumber(key + GIC().GetCurrentUserName(), defaultValue);
}

void saveUserNumber(const QString& key, double value) {
    GIC().SaveUserSettingNumber(key + GIC().GetCurrentUserName(), value);
}

QIcon standardIcon(QStyle::StandardPixmap pixmap) {
    return QApplication::style()->standardIcon(pixmap);
}

int typeNumberOf(const QString& type) {
    return static_cast<int>(tqplatform::vb::Val(type.trimmed()));
}

QString labelFor(const QString& category, const QString& type) {
    if (browser::isAllCodes(category)) {
        return browser::AllCodesCategory;
    }
    return CategoryLongName(category.trimmed(), typeNumberOf(type)) + QLatin1Char(' ');
}

}  // namespace

SerCod::SerCod(QWidget* parent) : QDialog(parent) {
    (void)Registered;
    setObjectName(ServiceCodeBrowserScreenName);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    SetFormIcon(this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    buildToolbar();
    layout->addWidget(m_toolbar);

    auto* chooser = new QHBoxLayout;
    chooser->setContentsMargins(6, 0, 6, 0);
    m_selectButton = new QPushButton(QStringLiteral("..."), this);
    m_selectButton->setObjectName(QStringLiteral("SelectCMD"));
    m_selectButton->setToolTip(SelectHint);
    // Enter belongs to the grid (it edits the row), so no button of the browser is a
    // default button that would take it.
    m_selectButton->setAutoDefault(false);
    m_selectButton->installEventFilter(this);
    connect(m_selectButton, &QPushButton::clicked, this, &SerCod::chooseCategoryClicked);
    m_selectionLabel = new QLabel(this);
    m_selectionLabel->setObjectName(QStringLiteral("SelectionLabel"));
    QFont bold = m_selectionLabel->font();
    bold.setBold(true);
    m_selectionLabel->setFont(bold);
    chooser->addWidget(m_selectButton);
    chooser->addWidget(m_selectionLabel, 1);
    layout->addLayout(chooser);

    m_grid = new RecordGrid(this);
    m_grid->setObjectName(QStringLiteral("TDBG"));
    for (int c = 0; c < browser::ColumnCount; ++c) {
        const browser::Column& column = browser::column(c);
        GridColumn gridColumn{QLatin1String(column.caption), QLatin1String(column.field)};
        if (c >= browser::FirstFeeColumn && c <= browser::LastFeeColumn) {
            gridColumn.numberFormat = QStringLiteral("$0.00");
        }
        gridColumn.width = column.width;
        m_grid->addColumn(c, gridColumn);
    }
    m_grid->setDataSource(&m_rs);
    m_grid->setAllowUpdate(false);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setRowStyle([this](int, tqplatform::Bookmark) {
        return browser::rowTextColour(m_rs.Fields(QStringLiteral("SevCodTyp")).toString(),
                                      m_rs.Fields(QStringLiteral("SevCodCat")).toString());
    });
    m_grid->horizontalHeader()->setSortIndicatorShown(true);
    m_grid->setStatusTip(GridHint);
    m_grid->installEventFilter(this);
    m_grid->viewport()->installEventFilter(this);
    connect(m_grid, &RecordGrid::headClick, this,
            [this](int column) { runToolbarAction([&] { sortByColumn(column); }); });
    connect(m_grid, &RecordGrid::keyTyped, this,
            [this](const QString& text) { runToolbarAction([&] { search(text); }); });
    connect(m_grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            triggerRowAction("Edit");
        }
    });
    connect(m_grid, &RecordGrid::selChange, this, &SerCod::refreshCounts);
    connect(m_grid, &RecordGrid::rowColChange, this, &SerCod::refreshCounts);
    layout->addWidget(m_grid, 1);

    buildStatusBar();
    buildPopup();
}

SerCod::~SerCod() = default;

QAction* SerCod::addAction(const QString& key, const QString& caption, const QIcon& icon,
                           void (SerCod::*handler)()) {
    QAction* action = m_toolbar->addAction(icon, caption);
    action->setObjectName(key);
    connect(action, &QAction::triggered, this,
            [this, handler] { runToolbarAction([&] { (this->*handler)(); }); });
    return action;
}

void SerCod::buildToolbar() {
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("TB"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    addAction(QStringLiteral("New"), QStringLiteral("New"), standardIcon(QStyle::SP_FileIcon),
              &SerCod::newCode);
    addAction(QStringLiteral("Edit"), QStringLiteral("Edit"),
              standardIcon(QStyle::SP_FileDialogDetailedView), &SerCod::editCode);
    addAction(QStringLiteral("Delete"), QStringLiteral("Delete"),
              standardIcon(QStyle::SP_TrashIcon), &SerCod::deleteCodes);
    QAction* import = addAction(QStringLiteral("Import"), QStringLiteral("Import"),
                                standardIcon(QStyle::SP_DialogOpenButton), &SerCod::importDental);
    m_importMenu = new QMenu(this);
    m_importMenu->setObjectName(QStringLiteral("ImportMenu"));
    import->setMenu(m_importMenu);
    if (auto* button = qobject_cast<QToolButton*>(m_toolbar->widgetForAction(import))) {
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
    m_searchAction =
        addAction(QStringLiteral("Search"), QStringLiteral("Search"),
                  standardIcon(QStyle::SP_FileDialogContentsView), &SerCod::searchClicked);
    m_searchAction->setToolTip(SearchTip);
    if (QWidget* button = m_toolbar->widgetForAction(m_searchAction)) {
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [this] { restoreSearchButton(); });
    }
    addAction(QStringLiteral("Okay"), QStringLiteral("Okay"),
              standardIcon(QStyle::SP_DialogOkButton), &SerCod::okay);
    addAction(QStringLiteral("Print"), QStringLiteral("Print"),
              standardIcon(QStyle::SP_DriveHDIcon), &SerCod::print);
    addAction(QStringLiteral("Help"), QStringLiteral("Help"),
              standardIcon(QStyle::SP_DialogHelpButton), &SerCod::help);
    addAction(QStringLiteral("Close"), QStringLiteral("Close"),
              standardIcon(QStyle::SP_DialogCloseButton), &SerCod::closeClicked);
}

void SerCod::buildPopup() {
    m_popup = new QMenu(this);
    m_popup->setObjectName(QStringLiteral("mnuPop"));
    const auto item = [this](int index, const QString& caption,
                             const std::function<void()>& handler) {
        QAction* action = m_popup->addAction(caption);
        action->setObjectName(QStringLiteral("mnuPops_%1").arg(index));
        connect(action, &QAction::triggered, this, [this, handler] { runToolbarAction(handler); });
        m_popupItems << action;
    };
    const auto separator = [this](int index) {
        QAction* action = m_popup->addSeparator();
        action->setObjectName(QStringLiteral("mnuPops_%1").arg(index));
        m_popupItems << action;
    };
    item(0, QStringLiteral("&New"), [this] { newCode(); });
    item(1, QStringLiteral("&Edit"), [this] { popupEdit(); });
    item(2, QStringLiteral("&Delete"), [this] { popupDelete(); });
    separator(3);
    item(4, QStringLiteral("&Search"), [this] { search(QString()); });
    separator(5);
    item(6, QStringLiteral("&Change All 4 Fees"), [this] { changeFees(); });
}

void SerCod::buildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("SB"));
    bar->setSizeGripEnabled(true);
    m_mainPanel = new QLabel(bar);
    m_mainPanel->setObjectName(QStringLiteral("Main"));
    m_countPanel = new QLabel(bar);
    m_countPanel->setObjectName(QStringLiteral("Count"));
    bar->addWidget(m_mainPanel, 1);
    bar->addPermanentWidget(m_countPanel);
    layout()->addWidget(bar);
}

void SerCod::showEvent(QShowEvent* event) {
    if (!m_loaded) {
        tqplatform::ui::guard([this] { load(); });
    }
    QDialog::showEvent(event);
}

void SerCod::load() {
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    tqGlobal::IHostServices& gic = GIC();
    const QString section = userSection();
    m_category = gic.GetUserSetting(section, browser::key::Category, 0, browser::AllCodesCategory);
    m_type = gic.GetUserSetting(section, browser::key::Type, 0, QString());
    m_label = labelFor(m_category, m_type);
    m_selectionLabel->setText(m_label);

    // The dental set always; a medical practice also imports every medical set that the
    // reference browser and the search window offer.
    const bool medical = gic.IsMedicalPractice() || gic.UsesMedicalCodeSets(QString());
    for (const reference::CodeSet& set : reference::codeSets()) {
        const bool dental = set.displayType == reference::DisplayType::Dental;
        if (!dental && !medical) {
            continue;
        }
        if (!dental && m_importMenu->actions().size() == 1) {
            m_importMenu->addSeparator();
        }
        const int32_t type = set.displayType;
        m_importMenu
            ->addAction(set.menuText, this,
                        [this, type] { runToolbarAction([this, type] { importCodes(type); }); })
            ->setObjectName(set.menuKey);
    }

    LoadGridLayout(*m_grid, layoutName());
    openQuery();
    restoreWindow();
    const bool mayChange = gic.UserHasRight(gic.GetCurrentUser(), browser::ChangeRight);
    for (const char* key : {"New", "Edit", "Delete"}) {
        m_toolbar->findChild<QAction*>(QLatin1String(key))->setEnabled(mayChange);
    }
    SetHelpContext(this, browser::HelpContext);
}

void SerCod::restoreWindow() {
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    const double left = userNumber(browser::key::Left, 100);
    const double top = userNumber(browser::key::Top, 500);
    const double width = userNumber(
        browser::key::Width, tqplatform::twips::fromPixelsX(screen.width() * 98 / 100, this));
    const double height = userNumber(
        browser::key::Height, tqplatform::twips::fromPixelsY(screen.height() * 85 / 100, this));
    const int w = tqplatform::twips::toPixelsX(width, this);
    const int h = tqplatform::twips::toPixelsY(height, this);
    setGeometry(tqplatform::twips::toPixelsX(left, this), tqplatform::twips::toPixelsY(top, this),
                w, h);
    // The browser always opens centred across the screen, at the user's height.
    move(screen.width() / 2 - w / 2, y());
}

void SerCod::saveSettings() {
    tqGlobal::IHostServices& gic = GIC();
    const QRect frame = geometry();
    saveUserNumber(browser::key::Left, tqplatform::twips::fromPixelsX(frame.x(), this));
    saveUserNumber(browser::key::Top, tqplatform::twips::fromPixelsY(frame.y(), this));
    saveUserNumber(browser::key::Width, tqplatform::twips::fromPixelsX(frame.width(), this));
    saveUserNumber(browser::key::Height, tqplatform::twips::fromPixelsY(frame.height(), this));
    gic.SaveUserSetting(userSection(), browser::key::Category, 0, m_category.trimmed());
    gic.SaveUserSetting(userSection(), browser::key::Type, 0, m_type.trimmed());
}

void SerCod::done(int result) {
    tqplatform::ui::guard([this] {
        if (!m_closingFromCode) {
            GIC().setScreenReturn(QString());
        }
        saveSettings();
        SaveGridLayout(*m_grid, layoutName());
    });
    QDialog::done(result);
}

// --- Rows.

void SerCod::openQuery() {
    tqGlobal::IHostServices& gic = GIC();
    m_sortColumn =
        static_cast<int>(userNumber(browser::key::SortColumn, browser::DefaultSortColumn));
    if (m_sortColumn < 1 || m_sortColumn >= browser::ColumnCount) {
        m_sortColumn = browser::DefaultSortColumn;
    }
    const bool descending = userNumber(browser::key::SortDirection, 1) == 2;
    const QString statement = browser::codeStatement(
        m_category, gic.GetScopeFilter(QStringLiteral("SevCodTable")),
        gic.SqlText(m_category.trimmed()), QLatin1String(browser::column(m_sortColumn).field),
        descending ? QStringLiteral("DESC") : QStringLiteral("ASC"));
    showSortMark(descending);
    openStatement(statement);
}

void SerCod::openStatement(const QString& statement) {
    tqGlobal::IHostServices& gic = GIC();
    tqplatform::ui::WaitCursor hourglass;
    // The new rows are read before the old ones go: a statement that fails leaves the
    // grid on the rows it shows. The grid lets go of the old rows before they close.
    tqplatform::Recordset rows = gic.GetConnection().OpenRecordset(gic.TranslateSql(statement, 0));
    m_grid->setDataSource(nullptr);
    try {
        m_rs.Close();
    } catch (const std::exception&) {
        // An old rowset that will not close is dropped all the same.
    }
    m_rs = std::move(rows);
    m_grid->setDataSource(&m_rs);
    m_searchActive = false;
    m_searchAction->setIcon(standardIcon(QStyle::SP_FileDialogContentsView));
    m_searchAction->setToolTip(SearchTip);
    m_query = statement;
    setWindowTitle(QStringLiteral("Service Codes -") + m_label);
    if (rowCount() > 0) {
        m_grid->selectionModel()->setCurrentIndex(m_grid->model()->index(0, browser::CodeColumn),
                                                  QItemSelectionModel::NoUpdate);
    }
    refreshCounts();
}

void SerCod::setFilter(const QString& criteria) {
    m_rs.setFilter(criteria);
    m_grid->rebind();
    if (rowCount() > 0) {
        m_grid->selectionModel()->setCurrentIndex(m_grid->model()->index(0, browser::CodeColumn),
                                                  QItemSelectionModel::NoUpdate);
    }
}

bool SerCod::findId(int32_t id) {
    if (rowCount() == 0 || id == 0) {
        return false;
    }
    m_rs.MoveFirst();
    m_rs.Find(QStringLiteral("sevcodID=") + QString::number(id));
    if (m_rs.Eof()) {
        return false;
    }
    m_grid->followCursor();
    return true;
}

void SerCod::requeryKeepingPosition(int32_t id) {
    tqplatform::ui::WaitCursor hourglass;
    // The search filter and the order stay; the view comes back by the rows' keys.
    RefreshGridKeepView(*m_grid, m_rs, browser::IdColumn);
    if (id != 0 && idAt(currentRow()) != id) {
        findId(id);
    }
    refreshCounts();
}

void SerCod::refreshKeepingView() {
    const int32_t id = idAt(currentRow());
    const tqplatform::Bookmark first = m_grid->firstRow();
    const int firstVisible = first < 0 ? 0 : m_grid->recordModel()->rowOf(first);
    {
        tqplatform::ui::WaitCursor hourglass;
        m_rs.Requery();
        m_grid->rebind();
    }
    if (rowCount() > 0 && id != 0) {
        if (findId(id)) {
            m_grid->verticalScrollBar()->setValue(std::max(firstVisible, 0));
        } else {
            m_rs.MoveLast();
            m_grid->followCursor();
        }
    }
    refreshCounts();
}

int SerCod::currentRow() const {
    return m_grid->currentRowIndex();
}

int SerCod::rowCount() const {
    return m_grid->model()->rowCount();
}

int32_t SerCod::idAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return 0;
    }
    return tqplatform::vb::CLng(m_grid->recordModel()->value(row, browser::IdColumn));
}

QString SerCod::codeAt(int row) const {
    if (row < 0 || row >= rowCount()) {
        return {};
    }
    return m_grid->recordModel()->value(row, browser::CodeColumn).toString().trimmed();
}

void SerCod::refreshCounts() {
    m_countPanel->setText(
        browser::countText(currentRow() + 1, rowCount(), int(m_grid->selBookmarks().size())));
}

QList<int> SerCod::selectedRows() const {
    QList<int> rows;
    for (const tqplatform::Bookmark bookmark : m_grid->selBookmarks()) {
        rows << m_grid->recordModel()->rowOf(bookmark);
    }
    return rows;
}

void SerCod::selectOnly(int row) {
    if (row < 0 || row >= rowCount()) {
        return;
    }
    const tqplatform::Bookmark bookmark = m_grid->recordModel()->bookmarkAt(row);
    m_grid->clearSelBookmarks();
    m_grid->setBookmark(bookmark);
    m_grid->addSelBookmark(bookmark);
}

void SerCod::clearSelection() {
    m_grid->clearSelBookmarks();
}

void SerCod::showSortMark(bool descending) {
    m_grid->horizontalHeader()->setSortIndicator(
        m_sortColumn, descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

// --- Actions.

void SerCod::runToolbarAction(const std::function<void()>& action) {
    if (m_busy) {
        return;  // a click during a long query is dropped, not queued
    }
    m_busy = true;
    const bool ran = tqplatform::ui::guard(action);
    m_busy = false;
    if (!ran) {
        QApplication::beep();
        tqplatform::ui::guard([this] { refreshCounts(); });
    }
}

std::optional<int> SerCod::checkSelection(bool showNone, bool showCount, const QString& extra,
                                          int style) {
    const int count = int(m_grid->selBookmarks().size());
    if (count == 0) {
        if (showNone) {
            tqplatform::ui::msgBox(QStringLiteral("Please select a code."), Buttons::Information);
        }
        return std::nullopt;
    }
    if (!showCount) {
        return Yes;
    }
    return tqplatform::ui::msgBox(browser::selectionMessage(count, extra), style,
                                  browser::MessageTitle);
}

void SerCod::newCode() {
    if (!m_grid->selBookmarks().empty()) {
        const std::optional<int> answer = checkSelection(
            false, true,
            QStringLiteral("\r\nAdding a new code will clear this selection.\r\nDo you want "
                           "to continue?"),
            Buttons::YesNo | Buttons::Question);
        if (answer != Yes) {
            return;
        }
    }
    if (browser::isAllCodes(m_category) && !chooseCategory()) {
        return;
    }
    openEditor(0, true);
}

void SerCod::editCode() {
    const int row = currentRow();
    if (row >= 0 && IsProgramDefinedCode(codeAt(row), QStringLiteral("Manual"))) {
        return;
    }
    if (!checkSelection(true, false, QString(), 0)) {
        return;
    }
    const int last = selectedRows().last();
    if (codeAt(last).isEmpty()) {
        return;
    }
    openEditor(idAt(last), false);
}

void SerCod::openEditor(int32_t id, bool isNew) {
    std::unique_ptr<QDialog> dialog = ScreenFactory::create(ServiceCodeEditorScreenName);
    auto* editor = dynamic_cast<ServiceCodeEditorScreen*>(dialog.get());
    if (editor == nullptr) {
        return;
    }
    editor->setSevCodID(id);
    editor->setHideBackNext(isNew);
    editor->Init_Data();
    if (isNew) {
        editor->setBoxText(7, m_type.trimmed());
        editor->setBoxText(8, m_category.trimmed());
    } else {
        connectEditor(*editor);
    }
    tqplatform::ui::showModal(*dialog, this);
    const int32_t saved = editor->SevCodID();
    if (isNew) {
        if (saved != 0) {
            requeryKeepingPosition(saved);
            if (findId(saved)) {
                selectOnly(currentRow());
            }
        }
    } else {
        const int row = currentRow();
        requeryKeepingPosition(row >= 0 ? idAt(row) : saved);
    }
    refreshCounts();
}

void SerCod::connectEditor(ServiceCodeEditorScreen& editor) {
    ServiceCodeEditorEvents& events = editor.events();
    const auto canMove = [this](int step, bool& cancel) {
        const int target = currentRow() + step;
        cancel = target < 0 || target >= rowCount();
    };
    connect(&events, &ServiceCodeEditorEvents::BeforeBackClicked, this,
            [canMove](bool& cancel) { canMove(-1, cancel); });
    connect(&events, &ServiceCodeEditorEvents::BeforeNextClicked, this,
            [canMove](bool& cancel) { canMove(1, cancel); });
    connect(&events, &ServiceCodeEditorEvents::BackClicked, this,
            [this, &editor](bool changed) { stepEditor(editor, -1, changed); });
    connect(&events, &ServiceCodeEditorEvents::NextClicked, this,
            [this, &editor](bool changed) { stepEditor(editor, 1, changed); });
}

void SerCod::stepEditor(ServiceCodeEditorScreen& editor, int step, bool dataChanged) {
    tqplatform::ui::guard([&] {
        clearSelection();
        if (dataChanged) {
            const int row = currentRow();
            requeryKeepingPosition(row >= 0 ? idAt(row) : 0);
        }
        const int target = currentRow() + step;
        if (target < 0 || target >= rowCount()) {
            return;
        }
        selectOnly(target);
        editor.setSevCodID(idAt(target));
        editor.Init_Data();
    });
}

void SerCod::deleteCodes() {
    const int row = currentRow();
    if (row >= 0 && IsProgramDefinedCode(codeAt(row), QStringLiteral("Delete"))) {
        return;
    }
    const std::optional<int> answer =
        checkSelection(true, true, QStringLiteral("\r\nDo you want to delete this selection?"),
                       Buttons::YesNo | Buttons::Question | Buttons::DefaultButton2);
    if (answer != Yes) {
        return;
    }
    QList<int32_t> ids;
    for (const int selected : selectedRows()) {
        ids << idAt(selected);
    }
    tqGlobal::IHostServices& gic = GIC();
    tqplatform::Connection& connection = gic.GetConnection();
    const int32_t keep = idAt(row);
    const bool inTransaction = gic.GetDatabaseKind(1) == 1;
    {
        tqplatform::ui::WaitCursor hourglass;
        try {
            if (inTransaction) {
                connection.BeginTrans();
            }
            for (const int32_t id : std::as_const(ids)) {
                connection.Execute(gic.TranslateSql(browser::deleteStatement(id), 0));
            }
            if (inTransaction) {
                connection.CommitTrans();
            }
        } catch (...) {
            if (inTransaction && connection.transactionDepth() > 0) {
                try {
                    connection.RollbackTrans();
                } catch (...) {
                    // The reason shown is the statement's, not the roll-back's.
                }
            }
            // The rows show what the failure left before its reason is shown; when even
            // they cannot be read (a lock still held), the rows shown stay and the
            // delete's reason is the one the user hears.
            try {
                requeryKeepingPosition(keep);
            } catch (const std::exception&) {
                // A failed requery leaves the rows it had.
            }
            hourglass.restore();
            throw;
        }
    }
    requeryKeepingPosition(keep);
}

void SerCod::importDental() {
    importCodes(0);
}

void SerCod::importCodes(int displayType) {
    ShowReferenceCodes(displayType, QString());
    refreshKeepingView();
}

void SerCod::changeFees() {
    bool changed = false;
    try {
        changed = tqservicecode::changeFees(m_category.trimmed(), m_feeTag);
    } catch (...) {
        // The fees already changed stay changed: the rows show them before the reason.
        tqplatform::ui::guard([this] { refreshKeepingView(); });
        throw;
    }
    if (changed) {
        refreshKeepingView();
    }
}

void SerCod::searchClicked() {
    search(QString());
}

void SerCod::search(const QString& initialText) {
    if (m_searchActive) {
        tqplatform::ui::WaitCursor hourglass;
        setFilter(QString());
        restoreSearchButton();
        if (rowCount() > 0) {
            m_grid->selectionModel()->setCurrentIndex(
                m_grid->model()->index(0, browser::CodeColumn), QItemSelectionModel::NoUpdate);
            m_grid->scrollToTop();
        }
        refreshCounts();
        return;
    }
    const QString answer = GIC().InputBoxText(
        QStringLiteral("Search Window"), QStringLiteral("Please type your selection"), initialText);
    const QString text = answer.trimmed();
    if (text.isEmpty()) {
        return;
    }
    m_searchText = QLatin1Char('%') + text + QLatin1Char('%');
    for (;;) {
        {
            tqplatform::ui::WaitCursor hourglass;
            setFilter(browser::searchFilter(text));
        }
        if (rowCount() > 0) {
            selectOnly(0);
            m_grid->scrollToTop();
            m_searchActive = true;
            m_searchAction->setIcon(standardIcon(QStyle::SP_ArrowLeft));
            m_searchAction->setToolTip(ArLeftTip);
            refreshCounts();
            return;
        }
        setFilter(QString());
        refreshCounts();
        const bool allCodes = browser::isAllCodes(m_category);
        const int reply = tqplatform::ui::msgBox(browser::notFoundMessage(text, allCodes),
                                                 Buttons::YesNo | Buttons::Question);
        if (allCodes) {
            if (reply == Yes) {
                newCode();
            }
            return;
        }
        if (reply != Yes) {
            restoreSearchButton();
            return;
        }
        showCategory(browser::AllCodesCategory, QString(), browser::AllCodesCategory);
    }
}

void SerCod::restoreSearchButton() {
    if (m_searchActive) {
        tqplatform::ui::guard([this] {
            setFilter(QString());
            refreshCounts();
        });
    }
    m_searchActive = false;
    m_searchAction->setIcon(standardIcon(QStyle::SP_FileDialogContentsView));
    m_searchAction->setToolTip(SearchTip);
}

void SerCod::okay() {
    tqGlobal::IHostServices& gic = GIC();
    gic.setScreenReturn(QString());
    if (m_grid->selBookmarks().empty() && currentRow() >= 0) {
        selectOnly(currentRow());
    }
    QString answer;
    int16_t returned = 0;
    for (const int row : selectedRows()) {
        m_rs.setAbsolutePosition(row + 1);
        answer += gic.GetCodeReturnText(m_rs) + QLatin1Char('\r');
        ++returned;
    }
    gic.setScreenReturn(answer);
    setSelectedCodeCount(static_cast<int16_t>(SelectedCodeCount() + returned));
    clearSelection();
    m_closingFromCode = true;
    accept();
}

void SerCod::print() {
    // Eleven columns fit across a landscape page; the preview lets the user look first.
    if (CheckPrinter() != 0) {
        PrintGrid(*m_grid, windowTitle(), 1, 1);
    }
}

void SerCod::help() {
    ShowHelpContext(this, browser::HelpContext);
}

void SerCod::closeClicked() {
    m_closingFromCode = true;
    reject();
}

void SerCod::chooseCategoryClicked() {
    runToolbarAction([this] { chooseCategory(); });
}

bool SerCod::chooseCategory() {
    tqGlobal::IHostServices& gic = GIC();
    gic.setScreenParameter(protocol::Buttons);
    {
        Select_Code picker;
        picker.setAnswerSink([](const PickerAnswer& answer) {
            if (answer.kind == PickerAnswer::Kind::Category) {
                GIC().setScreenParameter(answer.category);
                setScreenResultText(answer.type);
            }
        });
        picker.load();
        tqplatform::ui::showModal(picker, this);
    }
    QString chosen = gic.ScreenParameter();
    if (chosen == protocol::Buttons) {
        return false;
    }
    if (chosen.isEmpty()) {
        chosen = AllCodes;
    }
    const QString type = ScreenResultText();
    gic.setScreenParameter(QString());
    setScreenResultText(QString());
    // A chosen category, "All" included, shows its long name plus a blank ("All Codes ").
    showCategory(chosen + QLatin1Char(' '), type,
                 CategoryLongName(chosen, typeNumberOf(type)) + QLatin1Char(' '));
    return true;
}

void SerCod::showCategory(const QString& category, const QString& type, const QString& label) {
    const QString shownCategory = std::exchange(m_category, category);
    const QString shownType = std::exchange(m_type, type);
    const QString shownLabel = std::exchange(m_label, label);
    try {
        openQuery();
    } catch (...) {
        // The rows of the category shown stay, and so does what the screen says of them.
        m_category = shownCategory;
        m_type = shownType;
        m_label = shownLabel;
        throw;
    }
    m_selectionLabel->setText(m_label);
}

void SerCod::sortByColumn(int column) {
    if (column <= 0 || column >= browser::ColumnCount) {
        return;
    }
    const int selected = int(m_grid->selBookmarks().size());
    if (selected > 0 && tqplatform::ui::msgBox(
                            browser::sortQuestion(selected),
                            Buttons::YesNo | Buttons::Question | Buttons::DefaultButton2) != Yes) {
        return;
    }
    const bool sameColumn = column == m_sortColumn;
    saveUserNumber(browser::key::SortColumn, column);
    const QString field = QLatin1String(browser::column(column).field);
    m_mainPanel->setText(QStringLiteral("Sorting ") + QString::number(rowCount()) +
                         QStringLiteral(" records. Please Wait..."));
    bool descending = false;
    const QString statement = browser::resortedStatement(m_query, field, sameColumn, descending);
    saveUserNumber(browser::key::SortDirection, descending ? 2 : 1);
    try {
        openStatement(statement);
    } catch (...) {
        m_mainPanel->clear();
        throw;
    }
    m_sortColumn = column;
    showSortMark(descending);
    m_mainPanel->clear();
}

QMenu* SerCod::popupFor(int row, int column) {
    if (row >= 0 && row < rowCount()) {
        m_grid->selectionModel()->setCurrentIndex(m_grid->model()->index(row, std::max(column, 0)),
                                                  QItemSelectionModel::NoUpdate);
    }
    m_popupRow = row;
    const QString code = codeAt(currentRow());
    m_popupItems[1]->setText(browser::editCaption(code));
    m_popupItems[2]->setText(browser::deleteCaption(code));
    for (int i = 0; i <= 2; ++i) {
        m_popupItems[i]->setEnabled(m_toolbar->actions()[i]->isEnabled());
    }
    const bool feeColumn = column >= browser::FirstFeeColumn && column <= browser::LastFeeColumn;
    const int feeNumber = feeColumn ? column - 5 : 0;
    m_feeTag = feeColumn ? QString::number(feeNumber) : QString();
    m_popupItems[6]->setText(browser::changeFeeCaption(feeNumber, m_label));
    refreshCounts();
    return m_popup;
}

void SerCod::selectPopupCode() {
    clearSelection();
    if (m_popupRow >= 0) {
        const QString code = codeAt(m_popupRow);
        tqplatform::Recordset& rows = m_rs;
        rows.MoveFirst();
        rows.Find(QStringLiteral("SevCodCod = ") + GIC().SqlText(code));
        if (!rows.Eof()) {
            selectOnly(rows.AbsolutePosition() - 1);
        }
    }
}

void SerCod::triggerRowAction(const char* key) {
    // The toolbar's action, so that a user without the right to change codes is refused
    // here as there.
    QAction* action = m_toolbar->findChild<QAction*>(QLatin1String(key));
    if (action == nullptr || !action->isEnabled() || m_busy) {
        return;
    }
    // A row that is only current (moved to by the keyboard) is the row the key acts on,
    // as "Okay" takes it; rows the user selected stay the ones acted on.
    if (m_grid->selBookmarks().empty()) {
        tqplatform::ui::guard([this] { selectOnly(currentRow()); });
    }
    action->trigger();
}

void SerCod::popupEdit() {
    selectPopupCode();
    editCode();
}

void SerCod::popupDelete() {
    selectPopupCode();
    deleteCodes();
}

bool SerCod::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_grid && type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Delete) {
            triggerRowAction(key == Qt::Key_Delete ? "Delete" : "Edit");
            return true;
        }
    }
    if (watched == m_grid->viewport() &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        // The view would select the row under a right press: the pop-up moves only the
        // current row, and the rows the user selected stay selected.
        if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            return true;
        }
    }
    if (watched == m_grid->viewport() && type == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton) {
            const QPoint at = mouse->position().toPoint();
            QMenu* menu = nullptr;
            tqplatform::ui::guard(
                [&] { menu = popupFor(m_grid->rowAt(at.y()), m_grid->columnAt(at.x())); });
            if (menu != nullptr) {
                menu->popup(m_grid->viewport()->mapToGlobal(at));
            }
            return true;
        }
    }
    if (event->type() == QEvent::Enter) {
        if (watched == m_grid->viewport() || watched == m_grid) {
            m_mainPanel->setText(GridHint);
        } else if (watched == m_selectButton) {
            m_mainPanel->setText(SelectHint);
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tqservicecode
