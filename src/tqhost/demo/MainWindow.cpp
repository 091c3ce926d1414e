#include "MainWindow.h"

#include <tqglobal/Error.h>
#include <tqhost/PracticeHost.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>
#include <tqservicecode/codes/ServiceCodeStore.h>

#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

namespace tqdemo {

namespace {

enum PatientColumn { NameColumn, ProviderColumn, FeeScheduleColumn, PhoneColumn, ColumnCount };

/// The standing fee schedule of a patient row, kept with the name cell.
constexpr int FeeScheduleRole = Qt::UserRole + 1;

QLabel* valueLabel() {
    auto* label = new QLabel;
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setMinimumWidth(220);
    return label;
}

QString orDash(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("\u2014") : text.trimmed();
}

}  // namespace

MainWindow::MainWindow(std::shared_ptr<tqhost::PracticeHost> host, QWidget* parent)
    : QMainWindow(parent), m_host(std::move(host)) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Tavix Windows \u2014 Service Codes demo"));

    // Room for the component's operations; they come with the next steps of the demo.
    QToolBar* actions = addToolBar(QStringLiteral("Actions"));
    actions->setObjectName(QStringLiteral("TB"));
    actions->setMovable(false);
    actions->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const QString& caption :
         {QStringLiteral("Select service codes\u2026"), QStringLiteral("Post to-do item\u2026")}) {
        QAction* action = actions->addAction(caption);
        action->setEnabled(false);
        action->setToolTip(QStringLiteral("Not part of this demo yet"));
    }

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(buildPatientPanel());
    splitter->addWidget(buildLookupPanel());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 2);
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
    statusBar()->showMessage(QStringLiteral("Practice: %1    User: %2    Data folder: %3")
                                 .arg(practice, m_host->GetCurrentUserName(),
                                      QDir::toNativeSeparators(m_host->GetDataPath())));
    resize(1120, 620);

    connect(m_host.get(), &tqhost::PracticeHost::refreshRequested, this,
            [this](int) { reloadPatients(); });
    reloadPatients();
}

QWidget* MainWindow::buildPatientPanel() {
    auto* box = new QGroupBox(QStringLiteral("Patients"));
    auto* layout = new QVBoxLayout(box);
    m_patients = new QTableWidget(0, ColumnCount);
    m_patients->setObjectName(QStringLiteral("Patients"));
    m_patients->setHorizontalHeaderLabels({QStringLiteral("Patient"), QStringLiteral("Provider"),
                                           QStringLiteral("Fee schedule"),
                                           QStringLiteral("Home phone")});
    m_patients->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_patients->setSelectionMode(QAbstractItemView::SingleSelection);
    m_patients->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_patients->setAlternatingRowColors(true);
    m_patients->verticalHeader()->hide();
    m_patients->horizontalHeader()->setStretchLastSection(true);
    m_patients->horizontalHeader()->setHighlightSections(false);
    connect(m_patients, &QTableWidget::itemSelectionChanged, this, [this] { markPatientFee(); });
    layout->addWidget(m_patients);
    return box;
}

QWidget* MainWindow::buildLookupPanel() {
    auto* box = new QGroupBox(QStringLiteral("Service code look-up"));
    auto* layout = new QVBoxLayout(box);

    auto* entry = new QHBoxLayout;
    m_codeBox = new QLineEdit;
    m_codeBox->setObjectName(QStringLiteral("CodeBox"));
    m_codeBox->setPlaceholderText(QStringLiteral("Code, short form or office code"));
    m_codeBox->setMaxLength(10);
    m_lookUp = new QPushButton(QStringLiteral("&Look up"));
    m_lookUp->setDefault(true);
    entry->addWidget(new QLabel(QStringLiteral("Code:")));
    entry->addWidget(m_codeBox, 1);
    entry->addWidget(m_lookUp);
    layout->addLayout(entry);

    auto* hint = new QLabel(
        QStringLiteral("Try D0120, 120, PE, PROPHY, RECALL, CASH \u2014 or CCPMT and MISCCR, "
                       "which the store refuses."));
    hint->setWordWrap(true);
    hint->setEnabled(false);
    layout->addWidget(hint);

    m_result = new QLabel;
    m_result->setObjectName(QStringLiteral("Result"));
    QFont bold = m_result->font();
    bold.setBold(true);
    m_result->setFont(bold);
    layout->addWidget(m_result);

    auto* form = new QFormLayout;
    form->setLabelAlignment(Qt::AlignRight);
    m_code = valueLabel();
    m_officeCode = valueLabel();
    m_insuranceCode = valueLabel();
    m_description = valueLabel();
    m_description->setWordWrap(true);
    m_type = valueLabel();
    m_category = valueLabel();
    m_subCategory = valueLabel();
    form->addRow(QStringLiteral("Code:"), m_code);
    form->addRow(QStringLiteral("Office code:"), m_officeCode);
    form->addRow(QStringLiteral("Insurance code:"), m_insuranceCode);
    form->addRow(QStringLiteral("Description:"), m_description);
    form->addRow(QStringLiteral("Type:"), m_type);
    form->addRow(QStringLiteral("Category:"), m_category);
    form->addRow(QStringLiteral("Sub-category:"), m_subCategory);
    for (size_t i = 0; i < m_fees.size(); ++i) {
        m_feeNames[i] = new QLabel(QStringLiteral("Fee %1:").arg(i + 1));
        m_fees[i] = valueLabel();
        form->addRow(m_feeNames[i], m_fees[i]);
    }
    layout->addLayout(form);
    layout->addStretch(1);

    connect(m_lookUp, &QPushButton::clicked, this, [this] { lookUp(m_codeBox->text()); });
    connect(m_codeBox, &QLineEdit::returnPressed, this, [this] { lookUp(m_codeBox->text()); });
    showNotFound(QString());
    m_result->setText(QStringLiteral("Type a code and press Look up."));
    return box;
}

void MainWindow::reloadPatients() {
    const QString sql = QStringLiteral(
        "SELECT p.pID, p.pLASNAM, p.pFIRNAM, p.pGPDenFeeTypPerm, p.pHOMPHO, "
        "d.pLASNAM AS docLasNam, d.pDocIni AS docIni "
        "FROM PaTable p LEFT JOIN PaTable d ON d.pID = p.pPROIND "
        "WHERE p.pTypPat = '1' ORDER BY p.pLASNAM, p.pFIRNAM");
    m_patients->setRowCount(0);
    try {
        tqplatform::Recordset rs =
            m_host->GetConnection().OpenRecordset(m_host->TranslateSql(sql, 0));
        m_patients->setRowCount(rs.RecordCount());
        for (int row = 0; !rs.Eof(); rs.MoveNext(), ++row) {
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
            nameItem->setData(Qt::UserRole, rs.Fields(QStringLiteral("pID")).toInt());
            nameItem->setData(FeeScheduleRole, schedule);
            m_patients->setItem(row, NameColumn, nameItem);
            m_patients->setItem(row, ProviderColumn, new QTableWidgetItem(orDash(provider)));
            auto* scheduleItem =
                new QTableWidgetItem(schedule >= 1 && schedule <= 4 ? QString::number(schedule)
                                                                    : QStringLiteral("not set"));
            scheduleItem->setTextAlignment(Qt::AlignCenter);
            m_patients->setItem(row, FeeScheduleColumn, scheduleItem);
            m_patients->setItem(
                row, PhoneColumn,
                new QTableWidgetItem(orDash(rs.Fields(QStringLiteral("pHOMPHO")).toString())));
        }
    } catch (const tqGlobal::Error& error) {
        tqplatform::ui::msgBox(
            QStringLiteral("The patients could not be read:\r") + error.description(),
            tqplatform::ui::Buttons::Exclamation);
    }
    m_patients->resizeColumnsToContents();
    for (int column = 0; column < ColumnCount - 1; ++column) {
        m_patients->setColumnWidth(column, m_patients->columnWidth(column) + 16);
    }
}

void MainWindow::selectPatientRow(int row) {
    if (row >= 0 && row < m_patients->rowCount()) {
        m_patients->selectRow(row);
    }
}

void MainWindow::lookUp(const QString& typed) {
    if (m_codeBox->text() != typed) {
        m_codeBox->setText(typed);
    }
    tqservicecode::ServiceCodeRecord record;
    bool byID = false;
    bool found = false;
    try {
        found = tqservicecode::FindServiceCode(typed, record, /*allowSearch*/ false, byID);
    } catch (const tqGlobal::Error& error) {
        tqplatform::ui::msgBox(error.description(), tqplatform::ui::Buttons::Exclamation);
    }
    if (!found) {
        showNotFound(typed);
        return;
    }
    m_result->setText(QStringLiteral("Found \u201c%1\u201d.").arg(typed.trimmed()));
    m_code->setText(record.code());
    m_officeCode->setText(orDash(record.SevCodOffCod));
    m_insuranceCode->setText(orDash(record.SevCodInsCod));
    m_description->setText(orDash(record.description()));
    m_type->setText(orDash(record.SevCodTyp));
    const QString longName =
        tqservicecode::CategoryLongName(record.category(), record.typeNumber());
    m_category->setText(longName.isEmpty() || longName == record.category()
                            ? orDash(record.category())
                            : QStringLiteral("%1 (%2)").arg(record.category(), longName));
    m_subCategory->setText(orDash(record.subCategory()));
    for (size_t i = 0; i < m_fees.size(); ++i) {
        m_fees[i]->setText(
            tqplatform::vb::Format(record.fee(static_cast<int>(i) + 1), QStringLiteral("$0.00")));
    }
    markPatientFee();
}

void MainWindow::showNotFound(const QString& typed) {
    m_result->setText(typed.trimmed().isEmpty()
                          ? QStringLiteral("not found")
                          : QStringLiteral("\u201c%1\u201d: not found").arg(typed.trimmed()));
    for (QLabel* label : {m_code, m_officeCode, m_insuranceCode, m_description, m_type, m_category,
                          m_subCategory}) {
        label->clear();
    }
    for (QLabel* fee : m_fees) {
        fee->clear();
    }
}

void MainWindow::markPatientFee() {
    // The fee the selected patient is charged stands out.
    int schedule = 0;
    const QList<QTableWidgetItem*> selected = m_patients->selectedItems();
    if (!selected.isEmpty()) {
        if (QTableWidgetItem* name = m_patients->item(selected.first()->row(), NameColumn)) {
            schedule = name->data(FeeScheduleRole).toInt();
        }
    }
    for (size_t i = 0; i < m_fees.size(); ++i) {
        const bool mark = static_cast<int>(i) + 1 == schedule;
        for (QLabel* label : {m_feeNames[i], m_fees[i]}) {
            QFont font = label->font();
            font.setBold(mark);
            label->setFont(font);
        }
        m_feeNames[i]->setText(mark ? QStringLiteral("Fee %1 (patient's):").arg(i + 1)
                                    : QStringLiteral("Fee %1:").arg(i + 1));
    }
}

}  // namespace tqdemo
