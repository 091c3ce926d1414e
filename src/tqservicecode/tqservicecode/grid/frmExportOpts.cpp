#include "frmExportOpts.h"

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/forms/PathHelpers.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/ExportWriter.h>
#include <tqservicecode/grid/RecordGrid.h>

#include <tqplatform/ui.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace tqservicecode {

namespace {

namespace ui = tqplatform::ui;
namespace Option = exporting::Option;

/// Pending window events (a Cancel click, painting) are taken, and the progress shown,
/// while writing at this interval rather than after every line: a line takes far less.
constexpr qint64 EventIntervalMs = 40;

const QString NoQualifier = QStringLiteral("{None}");

/// The window is registered under its protocol name when the library loads.
const bool g_registered = [] {
    ScreenFactory::registerScreen(protocol::screen::ExportOptions,
                                  [] { return std::make_unique<frmExportOpts>(); });
    return true;
}();

}  // namespace

frmExportOpts::frmExportOpts(QWidget* parent) : QDialog(parent) {
    (void)g_registered;
    setObjectName(protocol::screen::ExportOptions);
    setWindowTitle(QStringLiteral("Export Options"));
    buildControls();
    SetFormIcon(this, QStringLiteral("APPICON"));
    setQualifier(34);
    setDelimiter(44);
    setOptions(Option::AllRows);
}

frmExportOpts::~frmExportOpts() = default;

void frmExportOpts::buildControls() {
    auto* delimiters = new QGroupBox(QStringLiteral("Delimiter"), this);
    auto* delimiterLayout = new QGridLayout(delimiters);
    const QStringList captions = {QStringLiteral("Comma"), QStringLiteral("Semicolon"),
                                  QStringLiteral("Tab"), QStringLiteral("Space"),
                                  QStringLiteral("Other :")};
    for (int i = 0; i < 5; ++i) {
        m_delimiters[i] = new QRadioButton(captions[i], delimiters);
        m_delimiters[i]->setObjectName(QStringLiteral("optDelimiter%1").arg(i));
        delimiterLayout->addWidget(m_delimiters[i], i % 3, i / 3);
    }
    m_otherDelimiter = new QLineEdit(delimiters);
    m_otherDelimiter->setObjectName(QStringLiteral("txtOther"));
    m_otherDelimiter->setMaxLength(1);
    m_otherDelimiter->setFixedWidth(30);
    delimiterLayout->addWidget(m_otherDelimiter, 1, 2);
    connect(m_otherDelimiter, &QLineEdit::textEdited, this, &frmExportOpts::otherDelimiterEdited);

    m_qualifier = new QComboBox(this);
    m_qualifier->setObjectName(QStringLiteral("cboQualifier"));
    m_qualifier->setEditable(true);
    m_qualifier->setInsertPolicy(QComboBox::NoInsert);
    m_qualifier->addItem(QStringLiteral("\""), 34);
    m_qualifier->addItem(QStringLiteral("'"), 39);
    m_qualifier->addItem(NoQualifier, 0);
    connect(m_qualifier, &QComboBox::editTextChanged, this, &frmExportOpts::qualifierEdited);
    auto* qualifierRow = new QHBoxLayout;
    qualifierRow->addWidget(new QLabel(QStringLiteral("Text Qualifier :"), this));
    qualifierRow->addWidget(m_qualifier);

    auto* rows = new QGroupBox(QStringLiteral("Rows"), this);
    auto* rowsLayout = new QVBoxLayout(rows);
    m_titles = new QCheckBox(QStringLiteral("Include Titles on First Row"), rows);
    m_titles->setObjectName(QStringLiteral("chkTitles"));
    m_allRows = new QRadioButton(QStringLiteral("All Rows"), rows);
    m_allRows->setObjectName(QStringLiteral("optAllRows"));
    m_selectedRows = new QRadioButton(QStringLiteral("Selected Rows"), rows);
    m_selectedRows->setObjectName(QStringLiteral("optSelectedRows"));
    m_currentRow = new QRadioButton(QStringLiteral("Current Row Only"), rows);
    m_currentRow->setObjectName(QStringLiteral("optCurrentRow"));
    for (QWidget* w :
         {static_cast<QWidget*>(m_titles), static_cast<QWidget*>(m_allRows),
          static_cast<QWidget*>(m_selectedRows), static_cast<QWidget*>(m_currentRow)}) {
        rowsLayout->addWidget(w);
    }

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(new QLabel(QStringLiteral("Export To:"), this));
    m_fileLabel = new QLabel(this);
    m_fileLabel->setObjectName(QStringLiteral("lblFileName"));
    m_fileLabel->setFrameShape(QFrame::StyledPanel);
    m_fileLabel->setMinimumWidth(260);
    fileRow->addWidget(m_fileLabel, 1);
    m_browse = new QPushButton(QStringLiteral("..."), this);
    m_browse->setObjectName(QStringLiteral("cmdBrowse"));
    fileRow->addWidget(m_browse);
    connect(m_browse, &QPushButton::clicked, this, [this] { ui::guard([this] { browse(); }); });

    m_statusPanel = new QWidget(this);
    m_statusPanel->setObjectName(QStringLiteral("fraStatus"));
    auto* statusLayout = new QVBoxLayout(m_statusPanel);
    m_progress = new QProgressBar(m_statusPanel);
    m_progress->setObjectName(QStringLiteral("ProgressBar1"));
    m_progress->setRange(0, 100);
    m_status = new QLabel(m_statusPanel);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setAlignment(Qt::AlignCenter);
    statusLayout->addWidget(m_progress);
    statusLayout->addWidget(m_status);
    m_statusPanel->hide();

    m_export = new QPushButton(QStringLiteral("&Export"), this);
    m_export->setObjectName(QStringLiteral("cmdExport"));
    m_export->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    connect(m_export, &QPushButton::clicked, this,
            [this] { ui::guard([this] { exportClicked(); }); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { cancelClicked(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_export);
    buttons->addWidget(m_cancel);

    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(delimiters);
    left->addLayout(qualifierRow);
    top->addLayout(left);
    top->addWidget(rows);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(fileRow);
    layout->addWidget(m_statusPanel);
    layout->addLayout(buttons);
}

void frmExportOpts::Setup_Bound_Export(RecordGrid& tg, tqplatform::Recordset& RS) {
    m_grid = &tg;
    m_rs = &RS;
    m_totalRecords = RS.isOpen() ? RS.RecordCount() : 0;
}

int32_t frmExportOpts::Qualifier() const {
    const QString text = m_qualifier->currentText();
    for (int i = 0; i < m_qualifier->count(); ++i) {
        if (m_qualifier->itemText(i) == text) {
            return m_qualifier->itemData(i).toInt();
        }
    }
    return text.isEmpty() ? 0 : exporting::Custom;
}

void frmExportOpts::setQualifier(int32_t code) {
    const int index = m_qualifier->findData(code);
    if (index >= 0) {
        m_qualifier->setCurrentIndex(index);
        m_qualifier->setEditText(m_qualifier->itemText(index));
    } else {
        if (code != exporting::Custom) {
            m_customQualifier = static_cast<uint8_t>(code);
        }
        m_qualifier->setEditText(QString(QChar(m_customQualifier)));
    }
}

void frmExportOpts::setCustomQualifier(uint8_t character) {
    const bool custom = Qualifier() == exporting::Custom;
    m_customQualifier = character;
    if (custom) {
        setQualifier(exporting::Custom);
    }
}

void frmExportOpts::qualifierEdited(const QString& text) {
    if (m_editingQualifier) {
        return;
    }
    for (int i = 0; i < m_qualifier->count(); ++i) {
        if (m_qualifier->itemText(i) == text) {
            return;  // one of the list's entries
        }
    }
    if (text.isEmpty()) {
        return;
    }
    // A typed qualifier is one character: the last one typed.
    const QChar last = text.back();
    m_customQualifier = static_cast<uint8_t>(last.unicode() <= 0xFF ? last.unicode() : '?');
    m_editingQualifier = true;
    m_qualifier->setEditText(QString(QChar(m_customQualifier)));
    m_editingQualifier = false;
}

int32_t frmExportOpts::Delimiter() const {
    for (size_t i = 0; i < m_delimiters.size(); ++i) {
        if (m_delimiters[i]->isChecked()) {
            return DelimiterCodes[i];
        }
    }
    return DelimiterCodes[0];
}

void frmExportOpts::setDelimiter(int32_t code) {
    for (size_t i = 0; i + 1 < m_delimiters.size(); ++i) {
        if (DelimiterCodes[i] == code) {
            m_delimiters[i]->setChecked(true);
            return;
        }
    }
    if (code != exporting::Custom) {
        m_customDelimiter = static_cast<uint8_t>(code);
    }
    m_otherDelimiter->setText(QString(QChar(m_customDelimiter)));
    m_delimiters[4]->setChecked(true);
}

void frmExportOpts::setCustomDelimiter(uint8_t character) {
    m_customDelimiter = character;
    m_otherDelimiter->setText(QString(QChar(character)));
}

void frmExportOpts::otherDelimiterEdited(const QString& text) {
    if (text.size() == 1) {
        m_customDelimiter =
            static_cast<uint8_t>(text[0].unicode() <= 0xFF ? text[0].unicode() : '?');
        m_delimiters[4]->setChecked(true);
    }
}

void frmExportOpts::setFileName(const QString& fileName) {
    m_fileName = fileName;
    m_fileLabel->setText(fileName);
}

int32_t frmExportOpts::Options() const {
    int32_t options = m_titles->isChecked() ? Option::Titles : 0;
    if (m_allRows->isChecked()) {
        options |= Option::AllRows;
    } else if (m_selectedRows->isChecked()) {
        options |= Option::SelectedRows;
    } else if (m_currentRow->isChecked()) {
        options |= Option::CurrentRow;
    }
    return options;
}

void frmExportOpts::setOptions(int32_t options) {
    m_titles->setChecked((options & Option::Titles) != 0);
    m_titles->setEnabled((options & Option::TitlesDisabled) == 0);
    m_allRows->setEnabled((options & Option::AllRowsDisabled) == 0);
    m_selectedRows->setEnabled((options & Option::SelectedRowsDisabled) == 0);
    m_currentRow->setEnabled((options & Option::CurrentRowDisabled) == 0);
    const std::array<std::pair<int32_t, QRadioButton*>, 3> choices = {
        {{Option::AllRows, m_allRows},
         {Option::SelectedRows, m_selectedRows},
         {Option::CurrentRow, m_currentRow}}};
    // Options without a row choice leave none chosen (then no row goes out).
    for (const auto& [bit, button] : choices) {
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
    for (const auto& [bit, button] : choices) {
        if ((options & bit) != 0 && button->isEnabled()) {
            button->setChecked(true);
            break;
        }
    }
}

void frmExportOpts::setCurrentRecord(int32_t current) {
    m_currentRecord = current;
    showProgress();
}

void frmExportOpts::setTotalRecords(int32_t total) {
    m_totalRecords = total;
    showProgress();
}

void frmExportOpts::showProgress() {
    const int percent = exporting::percentDone(m_currentRecord, m_totalRecords);
    m_progress->setToolTip(exporting::progressTip(m_currentRecord, m_totalRecords));
    m_status->setText(exporting::statusText(m_currentRecord, m_totalRecords));
    m_progress->setValue(percent);
}

QString frmExportOpts::delimiterText() const {
    const int32_t code = Delimiter();
    return QString(QChar(code == exporting::Custom ? m_customDelimiter : code));
}

QString frmExportOpts::qualifierText() const {
    const int32_t code = Qualifier();
    if (code == 0) {
        return {};
    }
    return QString(QChar(code == exporting::Custom ? m_customQualifier : code));
}

void frmExportOpts::browse() {
    const bool tab = Delimiter() == 9;
    const QString folder =
        path::nativeRelative(path::addBackslash(GIC().GetDataPath()) + QStringLiteral("Export"));
    const QString chosen = ui::saveFileName(
        QStringLiteral("Export To:"), folder,
        tab ? QStringLiteral("Tab Deliminated (*.tab)|*.tab|All Files (*.*)|*.*")
            : QStringLiteral("Character Separated (*.csv)|*.csv|All Files (*.*)|*.*"),
        tab ? QStringLiteral("tab") : QStringLiteral("csv"));
    if (!chosen.isEmpty()) {
        setFileName(chosen);
    }
}

void frmExportOpts::exportClicked() {
    m_canceled = false;
    if (m_fileName.isEmpty()) {
        ui::msgBox(QStringLiteral("Please enter a file name in the 'Export To:' Field."),
                   ui::Buttons::Information);
        return;
    }
    writeFile();
}

bool frmExportOpts::keepWriting(int current) {
    m_currentRecord = current;
    // The progress is shown when the window can draw it: a progress bar draws itself at
    // once, which a line's time could not afford. The clock is read every few lines.
    if ((current & 63) == 0 || current == 1) {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (now - m_lastEvents >= EventIntervalMs) {
            m_lastEvents = now;
            showProgress();
            ui::doEvents();
        }
    }
    return !m_canceled;
}

void frmExportOpts::writeFile() {
    if (!m_grid || !m_rs || !m_rs->isOpen()) {
        accept();
        return;
    }
    m_statusPanel->show();
    m_export->hide();
    m_writing = true;
    struct Idle {
        frmExportOpts& form;
        ~Idle() {
            form.m_writing = false;
            form.m_statusPanel->hide();
            form.m_export->show();
        }
    } idle{*this};

    tqplatform::Recordset& rs = *m_rs;
    const int position = rs.AbsolutePosition();
    if (rs.RecordCount() > 0) {
        rs.MoveLast();
        rs.MoveFirst();
    }
    m_currentRecord = 0;
    setTotalRecords(rs.RecordCount());

    std::vector<exporting::Column> columns;
    for (int index : m_grid->visibleColumnsInOrder()) {
        const GridColumn c = m_grid->column(index);
        columns.push_back({c.caption, c.dataField.isEmpty() ? -1 : rs.FieldIndex(c.dataField),
                           c.numberFormat, c.editMask});
    }
    exporting::RowChoice rows;
    const int32_t options = Options();
    rows.allRows = (options & Option::AllRows) != 0;
    if (!rows.allRows && (options & (Option::SelectedRows | Option::CurrentRow)) != 0) {
        if (m_grid->selBookmarks().empty() && m_grid->bookmark() >= 0) {
            m_grid->addSelBookmark(m_grid->bookmark());
        }
        // "Current Row Only" means the row the user stands on, whatever else is selected.
        if ((options & Option::CurrentRow) != 0 && m_grid->bookmark() >= 0) {
            rows.bookmarks = {m_grid->bookmark()};
        } else {
            rows.bookmarks = m_grid->selBookmarks();
        }
    }

    ui::WaitCursor wait;
    m_lastEvents = QDateTime::currentMSecsSinceEpoch();
    const exporting::Result result = exporting::writeExport(
        m_fileName, rs, columns, delimiterText(), qualifierText(), (options & Option::Titles) != 0,
        rows, [this](int current) { return keepWriting(current); });
    wait.restore();
    if (position >= 1) {
        rs.setAbsolutePosition(position);  // the grid's current row stays
    }
    if (!result.written) {
        // A file that could not be made or written whole: the window stays, and the user
        // may choose another file.
        ui::msgBox(exporting::openFailureMessage(m_fileName, result.errorNumber, result.errorText),
                   ui::Buttons::OkOnly, exporting::openFailureTitle());
        return;
    }
    if (m_canceled) {
        QDialog::reject();
    } else {
        accept();
    }
}

void frmExportOpts::cancelClicked() {
    if (!m_writing) {
        reject();
        return;
    }
    const int answer =
        ui::msgBox(QStringLiteral("Are you sure you want to cancel exporting?"),
                   ui::Buttons::YesNo | ui::Buttons::Question, QStringLiteral("Cancel Export"));
    if (answer == ui::Answer::Yes) {
        m_canceled = true;  // the writing stops after its current line
    }
}

void frmExportOpts::reject() {
    if (m_writing) {
        cancelClicked();  // Esc or the close box while writing asks as Cancel does
        return;
    }
    m_canceled = true;
    QDialog::reject();
}

void frmExportOpts::closeEvent(QCloseEvent* event) {
    if (m_writing) {
        event->ignore();
        cancelClicked();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace tqservicecode
