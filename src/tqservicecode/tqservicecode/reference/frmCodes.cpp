#include <tqservicecode/reference/frmCodes.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/GridLayout.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/maintenance/ServiceCodeEditorScreen.h>
#include <tqservicecode/reference/ReferenceTree.h>

#include <tqplatform/Connection.h>
#include <tqplatform/Twips.h>
#include <tqplatform/ui.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <functional>

namespace tqservicecode {

namespace {

constexpr int KeyRole = Qt::UserRole;
constexpr int FilterRole = Qt::UserRole + 1;
/// The text a search node was made for.
constexpr int SearchTextRole = Qt::UserRole + 2;
/// Rows read per pass while the rest of a long list comes in behind the first screen.
constexpr int RowsPerPass = 2000;

const QString WidthKey = QStringLiteral("FRMCODES_WIDTH");
const QString HeightKey = QStringLiteral("FRMCODES_HEIGHT");
const QString TreeWidthKey = QStringLiteral("FRMCODES_TVWIDTH");

/// Editor boxes the import fills.
namespace box {
constexpr int Code = 0;
constexpr int Description = 1;
constexpr int FirstFee = 3;
constexpr int LastFee = 6;
constexpr int Type = 7;
constexpr int Category = 8;
}  // namespace box

/// A character code from 32 to 127 starts a search with that character.
bool isPrintable(const QString& text) {
    return text.size() == 1 && text[0].unicode() >= 32 && text[0].unicode() <= 127;
}

QString textOf(const QVariant& value) {
    return value.isNull() ? QString() : value.toString();
}

const bool registered = (ScreenFactory::registerScreen(ReferenceCodeScreenName,
                                                       [] { return std::make_unique<frmCodes>(); }),
                         true);

}  // namespace

frmCodes::frmCodes(QWidget* parent) : QDialog(parent) {
    (void)registered;
    setObjectName(ReferenceCodeScreenName);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    m_fetchTimer = new QTimer(this);
    m_fetchTimer->setInterval(0);
    connect(m_fetchTimer, &QTimer::timeout, this, &frmCodes::fetchRest);
    buildControls();
    SetFormIcon(this, QStringLiteral("APPICON"));
    tqplatform::ui::guard([this] { loadSettings(); });
}

frmCodes::~frmCodes() {
    // The grid reads the list: let go of it before the list and its connection go.
    TDBG->setDataSource(nullptr);
}

void frmCodes::buildControls() {
    TB = new QToolBar(this);
    TB->setObjectName(QStringLiteral("TB"));
    TB->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto add = [this](const QString& key, const QString& text, QStyle::StandardPixmap icon,
                            const QString& tip, const std::function<void()>& handler) {
        QAction* action = TB->addAction(style()->standardIcon(icon), text);
        action->setObjectName(key);
        action->setToolTip(tip);
        action->setStatusTip(tip);
        connect(action, &QAction::triggered, this, [handler] { tqplatform::ui::guard(handler); });
    };
    add(QStringLiteral("Search"), QStringLiteral("Search"), QStyle::SP_FileDialogContentsView,
        QStringLiteral("Search the codes"), [this] { askSearch({}); });
    add(QStringLiteral("Import"), QStringLiteral("Import"), QStyle::SP_DialogSaveButton,
        QStringLiteral("Import the current code as a service code"), [this] { importCode(); });
    TB->addSeparator();
    add(QStringLiteral("SortAsc"), QStringLiteral("Sort Asc"), QStyle::SP_ArrowUp,
        QStringLiteral("Click to sort the list ascending"), [this] { sortList(true); });
    add(QStringLiteral("SortDesc"), QStringLiteral("Sort Desc"), QStyle::SP_ArrowDown,
        QStringLiteral("Click to sort the list descending"), [this] { sortList(false); });
    TB->addSeparator();
    add(QStringLiteral("Help"), QStringLiteral("Help"), QStyle::SP_DialogHelpButton,
        QStringLiteral("Help"), [this] { ShowContextHelp(this); });
    add(QStringLiteral("Close"), QStringLiteral("Close"), QStyle::SP_DialogCloseButton,
        QStringLiteral("Close"), [this] { reject(); });

    TV = new QTreeWidget(this);
    TV->setObjectName(QStringLiteral("TV"));
    TV->setHeaderHidden(true);
    TV->setUniformRowHeights(true);
    TV->installEventFilter(this);
    connect(TV, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { nodeChosen(item); });
    connect(TV, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { nodeChosen(item); });
    connect(TV, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { nodeChosen(item); });

    TDBG = new RecordGrid(this);
    TDBG->setObjectName(QStringLiteral("TDBG"));
    TDBG->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBG->setSelectionMode(QAbstractItemView::SingleSelection);
    TDBG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TDBG->horizontalHeader()->setSortIndicatorShown(true);
    TDBG->horizontalHeader()->setStretchLastSection(true);
    TDBG->installEventFilter(this);
    connect(TDBG, &RecordGrid::rowColChange, this, &frmCodes::showCount);
    // Queued: the grid may be painting or scrolling when its model finds the read failed.
    connect(TDBG->recordModel(), &RecordModel::fetchFailed, this, &frmCodes::listCutShort,
            Qt::QueuedConnection);
    connect(TDBG, &QAbstractItemView::doubleClicked, this,
            [this] { tqplatform::ui::guard([this] { importCode(); }); });

    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setChildrenCollapsible(false);
    Splitter->addWidget(TV);
    Splitter->addWidget(TDBG);
    Splitter->setStretchFactor(1, 1);

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("SB"));
    bar->setSizeGripEnabled(false);
    panelMain = new QLabel(bar);
    panelMain->setObjectName(QStringLiteral("Main"));
    panelCount = new QLabel(bar);
    panelCount->setObjectName(QStringLiteral("Count"));
    panelCount->setMinimumWidth(140);
    panelCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar->addWidget(panelMain, 1);
    bar->addPermanentWidget(panelCount);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(TB);
    layout->addWidget(Splitter, 1);
    layout->addWidget(bar);
}

void frmCodes::loadSettings() {
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    const double screenWidth = tqplatform::twips::fromPixelsX(screen.width(), this);
    const double screenHeight = tqplatform::twips::fromPixelsY(screen.height(), this);
    const double treeWidth = tqplatform::twips::fromPixelsX(TV->sizeHint().width() + 80, this);
    tqGlobal::IHostServices& gic = GIC();
    const QString user = gic.GetCurrentUserName();
    double width = gic.GetUserSettingNumber(WidthKey + user, screenWidth * 0.95);
    double height = gic.GetUserSettingNumber(HeightKey + user, screenHeight * 0.95);
    const double stored = gic.GetUserSettingNumber(TreeWidthKey + user, -1);
    m_treeWidthStored = stored >= 0;
    const double tree = m_treeWidthStored ? stored : treeWidth;
    if (width >= screenWidth) {
        width = screenWidth * 0.9;
    }
    if (height >= screenHeight) {
        height = screenHeight * 0.85;
    }
    const int pixelWidth = tqplatform::twips::toPixelsX(width, this);
    resize(pixelWidth, tqplatform::twips::toPixelsY(height, this));
    const int treePixels =
        std::clamp(tqplatform::twips::toPixelsX(tree, this), 40, pixelWidth - 40);
    Splitter->setSizes({treePixels, std::max(40, pixelWidth - treePixels)});
}

void frmCodes::saveSettings() {
    tqGlobal::IHostServices& gic = GIC();
    const QString user = gic.GetCurrentUserName();
    gic.SaveUserSettingNumber(WidthKey + user, tqplatform::twips::fromPixelsX(width(), this));
    gic.SaveUserSettingNumber(HeightKey + user, tqplatform::twips::fromPixelsY(height(), this));
    gic.SaveUserSettingNumber(TreeWidthKey + user,
                              tqplatform::twips::fromPixelsX(TV->width(), this));
}

void frmCodes::done(int result) {
    if (isVisible()) {
        tqplatform::ui::guard([this] { saveSettings(); });
    }
    m_fetchTimer->stop();
    TDBG->setDataSource(nullptr);
    m_list.Close();
    if (m_codes) {
        m_codes->Close();
    }
    QDialog::done(result);
}

void frmCodes::SetupScreen(int32_t displayType, const QString& searchText) {
    const reference::CodeSet* set = reference::codeSetFor(displayType);
    if (set == nullptr) {
        return;
    }
    m_set = set;
    m_prefix = set->prefix;
    setWindowTitle(set->caption);
    // The host explains a database it cannot give (one never built); a set the database
    // lacks is named here.
    const bool opened = tqplatform::ui::guard([this] { openCodesDatabase(); }) && readSet();
    if (!opened) {
        // Told once (a database never built, a set missing from it): the screen stays
        // empty and quiet rather than failing again on every click.
        m_codes.reset();
        const QSignalBlocker quiet(TV);
        TV->clear();
        m_nodes.clear();
        return;
    }
    if (!m_treeWidthStored) {
        fitTreeToNodes();
    }
    tqplatform::ui::guard([&] {
        if (!searchText.isEmpty()) {
            search(searchText);
        } else if (TV->topLevelItemCount() > 0) {
            selectNode(TV->topLevelItem(0));
        }
    });
}

void frmCodes::openCodesDatabase() {
    m_fetchTimer->stop();
    TDBG->setDataSource(nullptr);
    m_list.Close();
    m_codes.reset();
    const QString url = GIC().GetDatabaseConnectionString(QStringLiteral("CODES"), 1, QString());
    m_codes = std::make_unique<tqplatform::Connection>(url);
}

bool frmCodes::readSet() {
    QString reason;
    try {
        buildTree();
        buildColumns();
        showRevision();
        m_searchIndexed = reference::hasSearchIndex(*m_codes, m_prefix);
        return true;
    } catch (const std::exception& error) {
        reason = QString::fromUtf8(error.what()).trimmed();
    } catch (...) {
        reason = QStringLiteral("An unexpected error occurred.");
    }
    tqplatform::ui::msgBox(
        QStringLiteral("The %1 (%2) cannot be read from the reference code database (CODES); "
                       "it may have been built without them.\r\n\r\n%3")
            .arg(m_set->caption, m_prefix, reason),
        tqplatform::ui::Buttons::OkOnly | tqplatform::ui::Buttons::Critical);
    return false;
}

void frmCodes::buildTree() {
    tqGlobal::IHostServices& gic = GIC();
    tqplatform::Recordset rows(*m_codes, gic.TranslateSql(reference::treeStatement(m_prefix), 0));
    std::vector<reference::TreeRow> treeRows;
    treeRows.reserve(static_cast<size_t>(rows.RecordCount()));
    const QString p = m_prefix;
    for (; !rows.Eof(); rows.MoveNext()) {
        treeRows.push_back({rows.Fields(p + QStringLiteral("TreLev")).toInt(),
                            rows.Fields(p + QStringLiteral("TrePar")).toInt(),
                            rows.Fields(p + QStringLiteral("TreID")).toInt(),
                            textOf(rows.Fields(p + QStringLiteral("TreDes"))).trimmed(),
                            textOf(rows.Fields(p + QStringLiteral("TreRanSta"))).trimmed(),
                            textOf(rows.Fields(p + QStringLiteral("TreRanEnd"))).trimmed()});
    }
    const bool bySection = m_set->placedBySection;
    const reference::NodeFilter byRange = [p, bySection](const reference::TreeRow& row) {
        if (bySection && row.level <= 1) {
            return reference::placementFilter(p, row.level, row.id);
        }
        return reference::rangeFilter(p, row.rangeStart, row.rangeEnd);
    };
    const QSignalBlocker quiet(TV);
    TV->clear();
    m_nodes.clear();
    m_lastKey.clear();
    for (const reference::TreeNode& node : reference::treeNodes(p, treeRows, byRange)) {
        addNode(node.key, node.parentKey, node.text, node.filter);
    }
}

void frmCodes::fitTreeToNodes() {
    const QFontMetrics metrics(TV->font());
    int widest = 0;
    for (int i = 0; i < TV->topLevelItemCount(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(TV->topLevelItem(i)->text(0)));
    }
    const int total = width();
    const int room = TV->indentation() + 2 * TV->frameWidth() + 4 * metrics.averageCharWidth() +
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const int tree = std::clamp(widest + room, 40, std::max(40, total / 2));
    Splitter->setSizes({tree, std::max(40, total - tree)});
}

QTreeWidgetItem* frmCodes::addNode(const QString& key, const QString& parentKey,
                                   const QString& text, const QString& filter) {
    QTreeWidgetItem* parent = m_nodes.value(parentKey);
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(TV);
    item->setText(0, text);
    item->setToolTip(0, text);
    item->setData(0, KeyRole, key);
    item->setData(0, FilterRole, filter);
    m_nodes.insert(key, item);
    return item;
}

void frmCodes::buildColumns() {
    if (m_columnsBuilt) {
        return;
    }
    m_columnsBuilt = true;
    // Widths in letters of the grid's font.
    const double letter = TDBG->letterWidth();
    const QString p = m_prefix;
    const bool modifier = m_set != nullptr && m_set->showsModifier;
    AddGridColumn(*TDBG, 0, p + QStringLiteral("ID"), QStringLiteral("ID"),
                  tqplatform::FieldType::Integer, std::nullopt, false, 0.0f);
    AddGridColumn(*TDBG, 1, p + QStringLiteral("Cod"), QStringLiteral("Code"),
                  tqplatform::FieldType::VarWChar, std::nullopt, true,
                  static_cast<float>(letter * 8));
    AddGridColumn(*TDBG, 2, p + QStringLiteral("Mod"), QStringLiteral("Mod"),
                  tqplatform::FieldType::VarWChar, std::nullopt, modifier,
                  static_cast<float>(letter * 5));
    AddGridColumn(*TDBG, 3, p + QStringLiteral("Des"), QStringLiteral("Description"),
                  tqplatform::FieldType::VarWChar, std::nullopt, true,
                  static_cast<float>(letter * 20));
    showSortPicture();
}

void frmCodes::showRevision() {
    if (m_set == nullptr || m_set->displayType != reference::DisplayType::Dental) {
        return;
    }
    reference::Revision revision = reference::defaultRevision();
    try {
        tqplatform::Recordset row(*m_codes, GIC().TranslateSql(reference::revisionStatement(), 0));
        if (!row.Eof()) {
            revision.longTitle = textOf(row.Fields(QStringLiteral("CDTLonDes")));
            revision.shortTitle = textOf(row.Fields(QStringLiteral("CDTShoDes")));
            revision.notice = textOf(row.Fields(QStringLiteral("CDTCop")));
            const QVariant date = row.Fields(QStringLiteral("CDTEffDat"));
            revision.effective = date.isNull() ? QDate() : date.toDate();
        }
    } catch (const std::exception&) {
        // A set without its revision row shows the defaults.
        revision = reference::defaultRevision();
    }
    setWindowTitle(reference::revisionCaption(revision));
    panelMain->setText(reference::revisionPanel(revision));
}

void frmCodes::nodeChosen(QTreeWidgetItem* item) {
    if (item == nullptr || m_listing) {
        return;
    }
    tqplatform::ui::guard([this, item] {
        if (TV->currentItem() != item) {
            const QSignalBlocker quiet(TV);
            TV->setCurrentItem(item);
        }
        listCodes(item->data(0, FilterRole).toString());
    });
}

void frmCodes::selectNode(QTreeWidgetItem* item) {
    {
        const QSignalBlocker quiet(TV);
        TV->setCurrentItem(item);
        TV->scrollToItem(item);
    }
    listCodes(item->data(0, FilterRole).toString());
}

void frmCodes::listCodes(const QString& filter) {
    if (!m_codes) {
        return;
    }
    m_listing = true;
    const struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_listing};
    tqplatform::ui::WaitCursor wait;
    QTreeWidgetItem* node = TV->currentItem();
    const QString key = node != nullptr ? node->data(0, KeyRole).toString() : QString();
    const QString idField = m_prefix + QStringLiteral("ID");
    QString field = m_prefix + QStringLiteral("Cod");
    QVariant rememberedId;
    if (key == m_lastKey && m_list.isOpen()) {
        if (!currentField().isEmpty()) {
            field = currentField();
        }
        if (!m_list.Eof() && !m_list.Bof()) {
            rememberedId = m_list.Fields(idField);
        }
    }
    if (m_sort.expression.trimmed().isEmpty()) {
        m_sort = reference::defaultSort(m_prefix);
        m_ascending = true;
    }
    const QString sql =
        GIC().TranslateSql(reference::listStatement(m_prefix, filter, m_sort.expression), 0);
    // Let go of the last list first: its unread rows would otherwise be read to the end
    // before the new statement runs.
    m_fetchTimer->stop();
    TDBG->setDataSource(nullptr);
    m_list.Close();
    m_lastKey = key;
    try {
        m_list = tqplatform::Recordset(*m_codes, sql, FirstScreenRows);
    } catch (...) {
        showCount();  // nothing is listed now
        throw;
    }
    if (!rememberedId.isNull() && !m_list.Eof()) {
        m_list.MoveFirst();
        m_list.Find(idField + QStringLiteral(" = ") + rememberedId.toString());
        if (m_list.Eof()) {
            m_list.MoveFirst();
        }
    }
    TDBG->setDataSource(&m_list);
    if (const int col = TDBG->columnByField(field); col >= 0) {
        TDBG->setCol(col);
    }
    TDBG->followCursor();
    if (const tqplatform::Bookmark current = TDBG->bookmark(); current >= 0) {
        TDBG->addSelBookmark(current);  // the current row shows as such
    }
    showSortPicture();
    showCount();
    if (!m_list.fetchComplete()) {
        m_fetchTimer->start();
    }
}

void frmCodes::fetchRest() {
    RecordModel* model = TDBG->recordModel();
    if (!m_list.isOpen() || !model->canFetchMore({})) {
        m_fetchTimer->stop();
        return;
    }
    // The grid announces the rows it is handed: read them through it.
    for (int read = 0; read < RowsPerPass && model->canFetchMore({});
         read += RecordModel::RowsPerFetch) {
        model->fetchMore({});
    }
    showCount();
}

void frmCodes::listCutShort() {
    // The grid tells the user; the screen stops asking for more and counts what it has.
    m_fetchTimer->stop();
    showCount();
}

void frmCodes::showSortPicture() {
    QHeaderView* header = TDBG->horizontalHeader();
    const int col = TDBG->columnByField(m_sort.column);
    if (col < 0) {
        header->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    header->setSortIndicator(col, m_ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QString frmCodes::currentField() const {
    const int col = TDBG->col();
    return col >= 0 && col < TDBG->columnCountTotal() ? TDBG->column(col).dataField : QString();
}

void frmCodes::sortList(bool ascending) {
    if (m_set == nullptr) {
        return;
    }
    const QString field = currentField();
    m_sort = reference::sortFor(m_prefix, field, ascending);
    m_ascending = ascending;
    // The database sorts: the first rows of the new order come without reading the rest.
    if (QTreeWidgetItem* node = TV->currentItem(); node != nullptr && m_list.isOpen()) {
        listCodes(node->data(0, FilterRole).toString());
    }
    showSortPicture();
    TDBG->setFocus();
}

void frmCodes::askSearch(const QString& typed) {
    const QString text =
        GIC().InputBoxText(QStringLiteral("Code Search"),
                           QStringLiteral("Please enter the text to search for below."), typed);
    if (!text.isEmpty()) {
        search(text);
    }
}

void frmCodes::search(const QString& text) {
    if (m_set == nullptr || !m_codes || text.isEmpty()) {
        return;
    }
    const QString key = reference::searchKey(m_prefix, text);
    QTreeWidgetItem* node = m_nodes.value(key);
    if (node == nullptr) {
        node = addNode(key, reference::searchResultsKey(m_prefix), reference::searchText(text),
                       reference::searchFilter(m_prefix, text, m_searchIndexed));
        node->setData(0, SearchTextRole, text);
    }
    selectNode(node);
}

void frmCodes::importCode() {
    if (m_set == nullptr || !m_list.isOpen() || m_list.RecordCount() == 0 || m_list.Eof() ||
        m_list.Bof()) {
        return;
    }
    const QString code = textOf(m_list.Fields(m_prefix + QStringLiteral("Cod"))).trimmed();
    const QString modifier = textOf(m_list.Fields(m_prefix + QStringLiteral("Mod"))).trimmed();
    const QString description = textOf(m_list.Fields(m_prefix + QStringLiteral("Des")));
    GIC().setScreenParameter(QString());
    setScreenResultText(QString());
    std::unique_ptr<QDialog> screen = ScreenFactory::create(ServiceCodeEditorScreenName);
    auto* editor = dynamic_cast<ServiceCodeEditorScreen*>(screen.get());
    if (editor == nullptr) {
        return;
    }
    editor->setSevCodID(0);
    editor->setHideBackNext(true);
    editor->Init_Data();
    editor->setBoxText(box::Code, reference::importedCode(code, modifier));
    editor->setBoxText(box::Description, description);
    for (int fee = box::FirstFee; fee <= box::LastFee; ++fee) {
        editor->setBoxText(fee, QStringLiteral("0"));
    }
    editor->setBoxText(box::Type, QStringLiteral("1 - Charge"));
    editor->setBoxText(box::Category, reference::importCategory(*m_set, code));
    screen->setWindowTitle(QStringLiteral("Import ") + m_prefix + QStringLiteral(" Code"));
    tqplatform::ui::showModal(*screen, this);
}

void frmCodes::showCount() {
    const int count = m_list.isOpen() ? m_list.RecordCount() : 0;
    if (count == 0) {
        // Said in words: "0 of 0" does not tell a search that found nothing.
        const QTreeWidgetItem* node = TV->currentItem();
        const QString searched =
            node != nullptr ? node->data(0, SearchTextRole).toString() : QString();
        panelCount->setText(searched.isEmpty()
                                ? QStringLiteral("No codes in this list.")
                                : QStringLiteral("No code matches \"%1\".").arg(searched));
        return;
    }
    const int position = count > 0 ? TDBG->currentRowIndex() + 1 : 0;
    panelCount->setText(QString::number(position) + QStringLiteral(" of ") +
                        QString::number(count));
}

bool frmCodes::startSearchFromKey(QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) {
        return false;
    }
    const QString text = event->text();
    if (!isPrintable(text)) {
        return false;
    }
    tqplatform::ui::guard([this, text] { askSearch(text); });
    return true;
}

bool frmCodes::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == TV || watched == TDBG) && event->type() == QEvent::KeyPress) {
        if (startSearchFromKey(static_cast<QKeyEvent*>(event))) {
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmCodes::keyPressEvent(QKeyEvent* event) {
    if (!startSearchFromKey(event)) {
        QDialog::keyPressEvent(event);
    }
}

}  // namespace tqservicecode
