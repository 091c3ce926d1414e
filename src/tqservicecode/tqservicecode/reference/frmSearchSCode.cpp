#include <tqservicecode/reference/frmSearchSCode.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/ContextHelp.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/GridLayout.h>
#include <tqservicecode/grid/RecordGrid.h>
#include <tqservicecode/reference/CodeSearchQueries.h>
#include <tqservicecode/reference/ReferenceCodeSets.h>
#include <tqservicecode/reference/ReferenceCodesLauncher.h>

#include <tqplatform/Connection.h>
#include <tqplatform/ui.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>

namespace tqservicecode {

namespace {

const bool registered =
    (ScreenFactory::registerScreen(CodeSearchScreenName,
                                   [] { return std::make_unique<frmSearchSCode>(); }),
     true);

/// Money columns are right aligned, every other column left aligned.
Qt::Alignment alignmentOf(const RecordGrid& grid, int column) {
    const bool money = column >= 0 && column < grid.columnCountTotal() &&
                       grid.column(column).numberFormat == QStringLiteral("Currency");
    return (money ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

/// The headings aligned as their columns.
class AlignedHeader : public QHeaderView {
public:
    explicit AlignedHeader(RecordGrid& grid) : QHeaderView(Qt::Horizontal, &grid), m_grid(grid) {}

protected:
    void initStyleOptionForIndex(QStyleOptionHeader* option, int logicalIndex) const override {
        QHeaderView::initStyleOptionForIndex(option, logicalIndex);
        option->textAlignment = alignmentOf(m_grid, logicalIndex);
    }

private:
    RecordGrid& m_grid;
};

/// Aligns the cells as their columns and shows the current row the other way round: white
/// text on the row's type colour.
class SearchRowDelegate : public QStyledItemDelegate {
public:
    explicit SearchRowDelegate(RecordGrid& grid) : QStyledItemDelegate(&grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->displayAlignment = alignmentOf(m_grid, index.column());
        const QVariant colour = index.data(Qt::ForegroundRole);
        const QColor text =
            colour.canConvert<QBrush>() ? colour.value<QBrush>().color() : QColor(Qt::black);
        option->palette.setColor(QPalette::Text, text);
        option->palette.setColor(QPalette::Base, Qt::white);
        option->palette.setColor(QPalette::Highlight, text);
        option->palette.setColor(QPalette::HighlightedText, Qt::white);
    }

private:
    RecordGrid& m_grid;
};

/// The columns of the result list, as the statement names them.
struct ResultColumn {
    QString field;
    bool money;
    /// The width the column starts with, in letters of the grid's font.
    int letters;
};

const std::vector<ResultColumn>& resultColumns() {
    static const std::vector<ResultColumn> columns = {{codesearch::field::ServiceCode, false, 14},
                                                      {codesearch::field::OfficeCode, false, 14},
                                                      {codesearch::field::Description, false, 48},
                                                      {QStringLiteral("Fee 1"), true, 11},
                                                      {QStringLiteral("Fee 2"), true, 11},
                                                      {QStringLiteral("Fee 3"), true, 11},
                                                      {QStringLiteral("Fee 4"), true, 11},
                                                      {codesearch::field::Type, false, 14},
                                                      {codesearch::field::ID, false, 8}};
    return columns;
}

}  // namespace

frmSearchSCode::frmSearchSCode(QWidget* parent) : QDialog(parent) {
    (void)registered;
    setObjectName(CodeSearchScreenName);
    setWindowTitle(QStringLiteral("Search Service Codes"));
    SetFormIcon(this, QStringLiteral("APPICON"));
    buildControls();
    Set_FormSize();
    tqplatform::ui::guard([this] { Setup_TDBG(); });
    setTabOrder();
}

frmSearchSCode::~frmSearchSCode() {
    TDBG->setDataSource(nullptr);
}

void frmSearchSCode::buildControls() {
    TB = new QToolBar(this);
    TB->setObjectName(QStringLiteral("TB"));
    TB->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const auto add = [this](const QString& key, const QString& text, QStyle::StandardPixmap icon,
                            const std::function<void()>& handler) {
        QAction* action = TB->addAction(style()->standardIcon(icon), text);
        action->setObjectName(key);
        action->setToolTip(text);
        connect(action, &QAction::triggered, this, [handler] { tqplatform::ui::guard(handler); });
        return action;
    };
    add(QStringLiteral("Okay"), QStringLiteral("Okay"), QStyle::SP_DialogOkButton,
        [this] { okay(); });
    TB->addSeparator();
    bool medical = false;
    tqplatform::ui::guard([&medical] { medical = GIC().IsMedicalPractice(); });
    if (medical) {
        QAction* import = add(QStringLiteral("Import"), QStringLiteral("Import"),
                              QStyle::SP_DialogSaveButton, [this] {
                                  importCodes(reference::DisplayType::Procedure,
                                              dbcSCode->currentText().trimmed());
                              });
        auto* menu = new QMenu(this);
        menu->setObjectName(QStringLiteral("ImportMenu"));
        for (const reference::CodeSet& set : reference::codeSets()) {
            if (set.displayType == reference::DisplayType::Dental) {
                continue;  // a medical practice imports the medical sets
            }
            QAction* entry = menu->addAction(set.menuText);
            entry->setObjectName(set.menuKey);
            const int32_t type = set.displayType;
            connect(entry, &QAction::triggered, this, [this, type] {
                tqplatform::ui::guard([this, type] { importCodes(type, dbcSCode->currentText()); });
            });
        }
        import->setMenu(menu);
        if (auto* button = qobject_cast<QToolButton*>(TB->widgetForAction(import))) {
            button->setPopupMode(QToolButton::MenuButtonPopup);
        }
        TB->addSeparator();
    }
    add(QStringLiteral("Help"), QStringLiteral("Help"), QStyle::SP_DialogHelpButton,
        [this] { ShowContextHelp(this); });
    TB->addSeparator();
    add(QStringLiteral("Close"), QStringLiteral("Close"), QStyle::SP_DialogCloseButton,
        [this] { reject(); });

    dbcSCode = new QComboBox(this);
    dbcSCode->setObjectName(QStringLiteral("dbcSCode"));
    dbcSCode->setEditable(true);
    dbcSCode->setInsertPolicy(QComboBox::NoInsert);
    dbcSCode->lineEdit()->installEventFilter(this);
    cmdFind = new QPushButton(this);
    cmdFind->setObjectName(QStringLiteral("cmdFind"));
    cmdFind->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    cmdFind->setToolTip(QStringLiteral(" Search "));
    cmdFind->setAutoDefault(false);
    connect(cmdFind, &QPushButton::clicked, this, [this] { findClicked(); });

    TDBG = new RecordGrid(this);
    TDBG->setObjectName(QStringLiteral("TDBG"));
    TDBG->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBG->setSelectionMode(QAbstractItemView::SingleSelection);
    TDBG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TDBG->setItemDelegate(new SearchRowDelegate(*TDBG));
    TDBG->setHorizontalHeader(new AlignedHeader(*TDBG));
    TDBG->installEventFilter(this);
    TDBG->setRowStyle([this](int, tqplatform::Bookmark) {
        // The list stands on the row while its style is asked for.
        return codesearch::typeColor(m_list.Fields(codesearch::field::Type).toString());
    });
    connect(TDBG, &QAbstractItemView::doubleClicked, this,
            [this] { tqplatform::ui::guard([this] { okay(); }); });

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("Status"));

    auto* find = new QHBoxLayout;
    find->addWidget(dbcSCode, 1);
    find->addWidget(cmdFind);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 0, 4, 4);
    layout->addWidget(TB);
    layout->addLayout(find);
    layout->addWidget(TDBG, 1);
    layout->addWidget(lblStatus);
}

Qt::Alignment frmSearchSCode::columnAlignment(int column) const {
    return alignmentOf(*TDBG, column);
}

void frmSearchSCode::Set_FormSize() {
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    resize(screen.width() * 8 / 10, screen.height() * 8 / 10);
}

void frmSearchSCode::Setup_TDBG() {
    ClearGrid(*TDBG);
    int16_t index = 0;
    for (const ResultColumn& field : resultColumns()) {
        AddGridColumn(
            *TDBG, index++, field.field, field.field,
            field.money ? tqplatform::FieldType::Currency : tqplatform::FieldType::VarWChar,
            std::nullopt, true, static_cast<float>(TDBG->letterWidth() * field.letters));
    }
    LoadGridLayout(*TDBG, codesearch::LayoutTag + GIC().GetCurrentUserName());
    m_gridSetUp = true;
}

void frmSearchSCode::SetupScreen(int32_t /*arg1*/, int32_t /*arg2*/) {}

void frmSearchSCode::setStartText(const QString& text) {
    dbcSCode->setEditText(text);
    tqplatform::ui::guard([this] { Find_Codes(); });
}

void frmSearchSCode::findClicked() {
    cmdFind->setEnabled(false);
    tqplatform::ui::guard([this] { Find_Codes(); });
    cmdFind->setEnabled(true);
}

void frmSearchSCode::Find_Codes() {
    tqplatform::ui::WaitCursor wait;
    tqGlobal::IHostServices& gic = GIC();
    const QString sql =
        gic.TranslateSql(codesearch::findCodesStatement(dbcSCode->currentText()), 0);
    TDBG->setDataSource(nullptr);
    m_list.Close();
    m_list = tqplatform::Recordset(gic.GetConnection(), sql);
    m_list.setSort(codesearch::ResultSort);
    TDBG->setDataSource(&m_list);
    TDBG->followCursor();
    if (const tqplatform::Bookmark current = TDBG->bookmark(); current >= 0) {
        TDBG->addSelBookmark(current);  // the current row shows in its type's colour
    }
    setTabOrder();
    showFound();
}

void frmSearchSCode::showFound() {
    const int count = m_list.isOpen() ? m_list.RecordCount() : 0;
    const QString searched = dbcSCode->currentText().trimmed();
    if (count > 0) {
        lblStatus->setText(count == 1 ? QStringLiteral("1 code found.")
                                      : QStringLiteral("%1 codes found.").arg(count));
    } else if (searched.isEmpty()) {
        lblStatus->setText(QStringLiteral("No service codes."));
    } else {
        lblStatus->setText(QStringLiteral("No service code matches \"%1\".").arg(searched));
    }
}

void frmSearchSCode::setTabOrder() {
    const bool rows = m_list.isOpen() && m_list.RecordCount() > 0;
    if (rows) {
        QWidget::setTabOrder(TDBG, TB);
        QWidget::setTabOrder(TB, dbcSCode);
        QWidget::setTabOrder(dbcSCode, cmdFind);
    } else {
        QWidget::setTabOrder(dbcSCode, cmdFind);
        QWidget::setTabOrder(cmdFind, TDBG);
        QWidget::setTabOrder(TDBG, TB);
    }
}

void frmSearchSCode::okay() {
    if (!m_list.isOpen() || m_list.RecordCount() == 0) {
        return;
    }
    if (TDBG->currentRowIndex() < 0 || m_list.Eof() || m_list.Bof()) {
        tqplatform::ui::msgBox(QStringLiteral("Please select a code first."),
                               tqplatform::ui::Buttons::Information);
        return;
    }
    m_selectionId = m_list.Fields(codesearch::field::ID).toInt();
    m_selection = codesearch::selectionOf(m_list.Fields(codesearch::field::OfficeCode).toString(),
                                          m_list.Fields(codesearch::field::ServiceCode).toString());
    accept();
}

void frmSearchSCode::reject() {
    m_selectionId = 0;
    m_selection.clear();
    QDialog::reject();
}

void frmSearchSCode::done(int result) {
    if (m_gridSetUp) {
        tqplatform::ui::guard(
            [this] { SaveGridLayout(*TDBG, codesearch::LayoutTag + GIC().GetCurrentUserName()); });
    }
    QDialog::done(result);
}

void frmSearchSCode::importCodes(int32_t displayType, const QString& text) {
    ShowReferenceCodes(displayType, text);
    refreshAfterImport();
}

void frmSearchSCode::refreshAfterImport() {
    if (!m_list.isOpen()) {
        return;
    }
    const bool onRow = !m_list.Eof() && !m_list.Bof();
    const QString id = onRow ? m_list.Fields(codesearch::field::ID).toString() : QString();
    TDBG->setDataSource(nullptr);
    try {
        m_list.Requery();
    } catch (...) {
        // Rows that could not be read again are not offered as the list: it stays empty
        // until the next search.
        m_list.Close();
        setTabOrder();
        throw;
    }
    if (!m_list.Eof()) {
        m_list.MoveFirst();
        if (!id.isEmpty()) {
            m_list.Find(QStringLiteral("ID=") + id);
            if (m_list.Eof()) {
                m_list.MoveFirst();
            }
        }
    }
    TDBG->setDataSource(&m_list);
    TDBG->followCursor();
    showFound();
}

bool frmSearchSCode::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == dbcSCode->lineEdit()) {
                cmdFind->click();
                return true;
            }
            if (watched == TDBG) {
                tqplatform::ui::guard([this] { okay(); });
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tqservicecode
