#include "MainWindow.h"

#include "CodesMenu.h"
#include "DemoText.h"
#include "LookupPanel.h"
#include "PatientItemsView.h"
#include "PickPanel.h"
#include "PostingPanel.h"

#include <tqhost/PracticeHost.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ui.h>

#include <QAction>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace tqdemo {

namespace {

enum PatientColumn { NameColumn, ProviderColumn, FeeScheduleColumn, PhoneColumn, ColumnCount };

/// The standing fee schedule of a patient row, kept with the name cell.
constexpr int FeeScheduleRole = Qt::UserRole + 1;

/// Draws no cursor frame in the patient list while no patient is chosen: a frame on the
/// first patient would look like a choice nobody made. The first arrow key chooses.
class PatientCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
        if (view != nullptr && !view->selectionModel()->hasSelection()) {
            option->state &= ~QStyle::State_HasFocus;
        }
    }
};

QWidget* inBox(const QString& title, QWidget* content) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(content);
    return box;
}

}  // namespace

MainWindow::MainWindow(std::shared_ptr<tqhost::PracticeHost> host,
                       tqservicecode::clsServiceCode& component, QWidget* parent)
    : QMainWindow(parent), m_host(std::move(host)), m_component(component) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Tavix Windows \u2014 Service Codes demo"));

    m_pick = new PickPanel(component);
    m_posting = new PostingPanel(component);
    m_lookup = new LookupPanel;
    m_items = new PatientItemsView(*m_host);
    buildActions();
    buildMenus();

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("Panels"));
    m_tabs->addTab(m_pick, QStringLiteral("Select codes"));
    m_tabs->addTab(m_posting, QStringLiteral("Post to-do item"));
    m_tabs->addTab(m_lookup, QStringLiteral("Look up a code"));
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this] { showPanel(m_tabs->currentWidget()); });

    auto* left = new QSplitter(Qt::Vertical);
    left->addWidget(buildPatientPanel());
    left->addWidget(inBox(QStringLiteral("The patient's ledger and notes"), m_items));
    left->setChildrenCollapsible(false);
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(left);
    splitter->addWidget(m_tabs);
    splitter->setSizes({560, 440});  // shares of the width as the window grows
    splitter->setChildrenCollapsible(false);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(splitter);
    setCentralWidget(central);

    // The practice as the user knows it: the SQLite file, or the server without password.
    QString practice = m_host->connection().url();
    if (practice.startsWith(QStringLiteral("sqlite://"))) {
        practice = practice.mid(QStringLiteral("sqlite://").size());
    } else {
        practice = QUrl(practice).toDisplayString(QUrl::RemovePassword);
    }
    // A permanent widget: a menu's hints use the status line and would wipe a message.
    auto* where = new QLabel(QStringLiteral("Practice: %1    User: %2    Data folder: %3")
                                 .arg(practice, m_host->GetCurrentUserName(),
                                      QDir::toNativeSeparators(m_host->GetDataPath())));
    where->setObjectName(QStringLiteral("PracticeLine"));
    statusBar()->addPermanentWidget(where);
    fitToScreen();

    // A screen of the component has closed, or an item was posted: what it changed shows.
    connect(m_host.get(), &tqhost::PracticeHost::refreshRequested, this, [this](int) {
        reloadPatients();
        m_items->reload();
    });
    connect(m_posting, &PostingPanel::posted, m_items, &PatientItemsView::reload);
    connect(m_pick, &PickPanel::posted, m_items, &PatientItemsView::reload);
    reloadPatients();
    patientChosen();
}

void MainWindow::buildActions() {
    const auto action = [this](const char* name, const QString& text, const QKeySequence& keys,
                               void (MainWindow::*slot)()) {
        auto* act = new QAction(text, this);
        act->setObjectName(QLatin1String(name));
        act->setShortcut(keys);
        connect(act, &QAction::triggered, this, slot);
        return act;
    };
    m_selectAction = action("actSelectCodes", QStringLiteral("Select service codes\u2026"),
                            QKeySequence(Qt::CTRL | Qt::Key_K), &MainWindow::selectCodes);
    m_categoryAction =
        action("actChooseCategory", QStringLiteral("Choose category\u2026"),
               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_K), &MainWindow::chooseCategory);
    m_postAction = action("actPostToDo", QStringLiteral("Post to-do item\u2026"),
                          QKeySequence(Qt::CTRL | Qt::Key_T), &MainWindow::postItem);
    m_lookupAction = action("actLookUp", QStringLiteral("Look up a code"),
                            QKeySequence(Qt::CTRL | Qt::Key_L), &MainWindow::lookUpCode);

    QToolBar* actions = addToolBar(QStringLiteral("Actions"));
    actions->setObjectName(QStringLiteral("TB"));
    actions->setMovable(false);
    actions->setToolButtonStyle(Qt::ToolButtonTextOnly);
    actions->addActions({m_selectAction, m_categoryAction, m_postAction, m_lookupAction});
}

void MainWindow::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction* quit = file->addAction(QStringLiteral("&Quit"), this, &QWidget::close);
    quit->setObjectName(QStringLiteral("actQuit"));
    quit->setShortcut(QKeySequence::Quit);
    quit->setMenuRole(QAction::QuitRole);

    QMenu* patient = menuBar()->addMenu(QStringLiteral("&Patient"));
    patient->addActions({m_selectAction, m_categoryAction, m_postAction});
    patient->addSeparator();
    patient->addAction(m_lookupAction);

    QMenu* codes = menuBar()->addMenu(QStringLiteral("&Codes"));
    codes->setObjectName(QStringLiteral("mnuCodes"));
    const CodesMenuContext context{*m_host, m_component, *this};
    addCodeTableActions(*codes, context);
    addFeeHistoryActions(*codes, context);
    addReferenceActions(*codes, context);
    addLetterActions(*codes, context);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* about = help->addAction(QStringLiteral("&About"), this, [] {
        tqplatform::ui::msgBox(
            QStringLiteral("Service Codes demo\n\nA practice's front desk as the service-code "
                           "component serves it: pick codes for a patient and post them to the "
                           "ledger, post to-do items, look codes up."),
            tqplatform::ui::Buttons::Information, QStringLiteral("About Service Codes demo"));
    });
    about->setObjectName(QStringLiteral("actAbout"));
    about->setMenuRole(QAction::AboutRole);
}

void MainWindow::fitToScreen() {
    const QRect room = screen()->availableGeometry();
    // Leave room for the window frame; on a large screen a little less than all of it.
    const int width = std::min(room.width() - 16, std::max(1280, room.width() * 85 / 100));
    const int height = std::min(room.height() - 40, std::max(760, room.height() * 85 / 100));
    resize(width, height);
    move(room.center() - QPoint(width / 2, height / 2));
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // On getting the focus the list puts its cursor on the first patient without choosing
    // that patient: the first arrow key chooses the patient under the cursor instead of
    // moving past.
    if (watched == m_patients && event->type() == QEvent::KeyPress &&
        m_patients->selectedItems().isEmpty() && m_patients->rowCount() > 0) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Down || key == Qt::Key_Up) {
            m_patients->selectRow(std::max(0, m_patients->currentRow()));
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QWidget* MainWindow::buildPatientPanel() {
    m_patients = makeResultTable(QStringLiteral("Patients"),
                                 {QStringLiteral("Patient"), QStringLiteral("Provider"),
                                  QStringLiteral("Fee schedule"), QStringLiteral("Home phone")});
    connect(m_patients, &QTableWidget::itemSelectionChanged, this, [this] { patientChosen(); });
    m_patients->installEventFilter(this);
    // Tab moves on to the next control, as in every form; the arrows walk the patients.
    m_patients->setTabKeyNavigation(false);
    m_patients->setItemDelegate(new PatientCellDelegate(m_patients));
    return inBox(QStringLiteral("Patients"), m_patients);
}

void MainWindow::reloadPatients() {
    const QString sql = QStringLiteral(
        "SELECT p.pID, p.pLASNAM, p.pFIRNAM, p.pGPDenFeeTypPerm, p.pHOMPHO, "
        "d.pLASNAM AS docLasNam, d.pDocIni AS docIni "
        "FROM PaTable p LEFT JOIN PaTable d ON d.pID = p.pPROIND "
        "WHERE p.pTypPat = '1' ORDER BY p.pLASNAM, p.pFIRNAM");
    const int32_t chosen = m_patientId;
    const QSignalBlocker quiet(m_patients);  // the chosen patient stays chosen
    m_patients->setRowCount(0);
    int chosenRow = -1;
    tqplatform::ui::guard([&] {
        tqplatform::Recordset rs =
            m_host->GetConnection().OpenRecordset(m_host->TranslateSql(sql, 0));
        m_patients->setRowCount(rs.RecordCount());
        for (int row = 0; !rs.Eof(); rs.MoveNext(), ++row) {
            const int32_t id = rs.Fields(QStringLiteral("pID")).toInt();
            const QString name = QStringLiteral("%1, %2").arg(
                rs.Fields(QStringLiteral("pLASNAM")).toString().trimmed(),
                rs.Fields(QStringLiteral("pFIRNAM")).toString().trimmed());
            const QString doctor = rs.Fields(QStringLiteral("docLasNam")).toString().trimmed();
            const QString provider =
                doctor.isEmpty()
                    ? QString()
                    : QStringLiteral("Dr. %1 (%2)")
                          .arg(doctor, rs.Fields(QStringLiteral("docIni")).toString().trimmed());
            const int schedule = rs.Fields(QStringLiteral("pGPDenFeeTypPerm")).toInt();

            auto* nameItem = new QTableWidgetItem(name);
            nameItem->setData(Qt::UserRole, id);
            nameItem->setData(FeeScheduleRole, schedule);
            m_patients->setItem(row, NameColumn, nameItem);
            setCell(m_patients, row, ProviderColumn, orDash(provider));
            auto* scheduleItem =
                new QTableWidgetItem(schedule >= 1 && schedule <= 4 ? QString::number(schedule)
                                                                    : QStringLiteral("not set"));
            scheduleItem->setTextAlignment(Qt::AlignCenter);
            m_patients->setItem(row, FeeScheduleColumn, scheduleItem);
            setCell(m_patients, row, PhoneColumn,
                    orDash(rs.Fields(QStringLiteral("pHOMPHO")).toString()));
            if (id == chosen) {
                chosenRow = row;
            }
        }
    });
    m_patients->resizeColumnsToContents();
    for (int column = 0; column < ColumnCount - 1; ++column) {
        m_patients->setColumnWidth(column, m_patients->columnWidth(column) + 16);
    }
    if (chosenRow >= 0) {
        m_patients->selectRow(chosenRow);
    } else if (chosen != 0) {
        patientChosen();  // the patient is gone
    }
}

void MainWindow::selectPatientRow(int row) {
    if (row >= 0 && row < m_patients->rowCount()) {
        m_patients->selectRow(row);
    }
}

void MainWindow::showPanel(QWidget* panel) {
    m_tabs->setCurrentWidget(panel);
    if (panel == m_lookup) {
        m_lookup->focusCodeBox();
    }
}

void MainWindow::patientChosen() {
    int32_t id = 0;
    int schedule = 0;
    QString name;
    const QList<QTableWidgetItem*> selected = m_patients->selectedItems();
    if (!selected.isEmpty()) {
        if (QTableWidgetItem* item = m_patients->item(selected.first()->row(), NameColumn)) {
            id = item->data(Qt::UserRole).toInt();
            schedule = item->data(FeeScheduleRole).toInt();
            name = item->text();
        }
    }
    m_patientId = id;
    m_pick->setPatient(id, name);
    m_posting->setPatient(id, name);
    m_lookup->setPatientFeeSchedule(schedule);
    m_items->setPatient(id);
    for (QAction* action : {m_selectAction, m_postAction}) {
        action->setEnabled(id != 0);
        action->setToolTip(
            (id != 0 ? QStringLiteral("For %1").arg(name)
                     : QStringLiteral("Choose a patient first")) +
            QStringLiteral(" (%1)").arg(action->shortcut().toString(QKeySequence::NativeText)));
    }
}

void MainWindow::selectCodes() {
    showPanel(m_pick);
    m_pick->selectCodes();
}

void MainWindow::chooseCategory() {
    showPanel(m_pick);
    m_pick->chooseCategory();
}

void MainWindow::postItem() {
    showPanel(m_posting);
    m_posting->post();
}

void MainWindow::lookUpCode() {
    showPanel(m_lookup);
}

}  // namespace tqdemo

#include "MainWindow.moc"
