#include <tqservicecode/documents/FileSearch.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/documents/FileGrid.h>
#include <tqservicecode/documents/FileOperations.h>
#include <tqservicecode/documents/FolderRules.h>
#include <tqservicecode/documents/FolderTree.h>
#include <tqservicecode/forms/FormIcon.h>
#include <tqservicecode/forms/ScreenFactory.h>
#include <tqservicecode/grid/GridLayout.h>

#include <tqplatform/Twips.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <stdexcept>

namespace tqservicecode {

using namespace documents;
namespace ui = tqplatform::ui;
namespace Buttons = tqplatform::ui::Buttons;

namespace {

const QString kBreak = QStringLiteral("\r\n");
const QString kSettingsSection = QStringLiteral("FileSearch");
const QString kScreenSize = QStringLiteral("ScreenSize");
const QString kPreviewDoc = QStringLiteral("PreviewDoc");
const QString kSortCol = QStringLiteral("SortCol");
const QString kSortColOrder = QStringLiteral("SortColOrder");
const QString kLoadDetail = QStringLiteral("LOAD_DETAIL");
const QString kStop = QStringLiteral("STOP");
const QString kBusy = QStringLiteral("BUSY");
const QString kSelectFile = QStringLiteral("Please select a file.");
const QString kTooLarge = QStringLiteral("The file is too large to display.");
const char* const kTagProperty = "Tag";

[[maybe_unused]] const bool kRegistered = [] {
    ScreenFactory::registerScreen(DocumentPickerScreenName,
                                  [] { return std::make_unique<FileSearch>(); });
    return true;
}();

QString errorText(const FileResult& result) {
    return QStringLiteral("Code ") + QString::number(result.code) + u' ' + result.text;
}

QString fileName(const QString& path) {
    return QFileInfo(path).fileName();
}

/// Runs calls of the host's word processor; false when one of them threw. A document the
/// host cannot open is only left without its title or preview: no message for each file.
template <class Calls>
bool wordProcessorCalls(Calls calls) {
    try {
        calls();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

FileSearch::FileSearch(QWidget* parent) : QDialog(parent) {
    setObjectName(DocumentPickerScreenName);
    setWindowTitle(QStringLiteral("Select File"));
    m_detailTimer = new QTimer(this);
    m_detailTimer->setInterval(10);
    m_detailTimer->setProperty(kTagProperty, kStop);
    connect(m_detailTimer, &QTimer::timeout, this, [this] {
        if (!ui::guard([this] { loadNextDetail(); })) {
            stopDetail();  // told once, not again every 10 ms
        }
    });
    buildControls();
    SetFormIcon(this, QStringLiteral("APPICON"));
}

FileSearch::~FileSearch() {
    m_detailTimer->stop();
}

void FileSearch::buildControls() {
    m_tree = new FolderTree(this);
    m_grid = new FileGrid(this);
    m_preview = new QTextEdit(this);
    m_preview->setObjectName(QStringLiteral("rtbPreview"));
    m_preview->setReadOnly(true);
    m_detail = new QLabel(this);
    m_detail->setObjectName(QStringLiteral("lblDetail"));
    m_detail->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* right = new QSplitter(Qt::Vertical, this);
    right->addWidget(m_grid);
    right->addWidget(m_preview);
    right->setStretchFactor(0, 1);
    right->setStretchFactor(1, 1);
    auto* split = new QSplitter(Qt::Horizontal, this);
    split->setObjectName(QStringLiteral("splFolders"));
    split->addWidget(m_tree);
    split->addWidget(right);
    split->setStretchFactor(1, 3);

    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& caption, void (FileSearch::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this,
                [this, slot] { ui::guard([&] { (this->*slot)(); }); });
        buttons->addWidget(b);
        return b;
    };
    m_okButton = button(QStringLiteral("OK"), QStringLiteral("&OK"), &FileSearch::onOk);
    button(QStringLiteral("Cancel"), QStringLiteral("&Cancel"), &FileSearch::reject);
    m_deleteButton =
        button(QStringLiteral("Delete"), QStringLiteral("&Delete"), &FileSearch::onDelete);
    m_renameButton =
        button(QStringLiteral("Rename"), QStringLiteral("&Rename"), &FileSearch::onRename);
    button(QStringLiteral("View"), QStringLiteral("&View"), &FileSearch::onView);
    buttons->addStretch();
    m_okButton->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(split, 1);
    layout->addWidget(m_detail);
    layout->addLayout(buttons);

    m_folderMenu = new QMenu(this);
    m_folderMenu->setObjectName(QStringLiteral("mnuFolder"));
    m_sortMenu = new QMenu(this);
    m_sortMenu->setObjectName(QStringLiteral("mnuSort"));

    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (!m_filling) {
            ui::guard([&] { openFolder(node); });
        }
    });
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { ui::guard([&] { showFolderMenu(pos); }); });
    connect(m_tree, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* node) {
        if (!m_filling) {
            ui::guard([&] { onFolderEdited(node); });
        }
    });
    connect(m_tree, &FolderTree::filesDropped, this,
            [this](QTreeWidgetItem* node, const QStringList& files) {
                ui::guard([&] { moveFiles(node, files); });
            });
    connect(m_grid, &RecordGrid::rowColChange, this, [this] {
        if (!m_filling) {
            ui::guard([&] { showCurrent(); });
        }
    });
    connect(m_grid->recordModel(), &RecordModel::cellEdited, this, [this](int row, int column) {
        if (!m_filling) {
            ui::guard([&] { onCellEdited(row, column); });
        }
    });
    m_grid->horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_grid->horizontalHeader(), &QHeaderView::customContextMenuRequested, this,
            [this](const QPoint& pos) { ui::guard([&] { showSortMenu(pos); }); });
}

QString FileSearch::section() const {
    return kSettingsSection + GIC().GetCurrentUserName();
}

QString FileSearch::setting(const QString& key, const QString& fallback) const {
    return GIC().GetUserSetting(section(), key, 0, fallback);
}

void FileSearch::saveSetting(const QString& key, const QString& value) const {
    GIC().SaveUserSetting(section(), key, 0, value);
}

void FileSearch::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        ui::guard([this] { load(); });
    }
}

void FileSearch::load() {
    m_dataPath = QDir::cleanPath(GIC().GetDataPath());
    const QStringList size = setting(kScreenSize, {}).split(u',');
    if (size.size() == 2 && size[0].toDouble() > 0 && size[1].toDouble() > 0) {
        resize(tqplatform::twips::toPixelsX(size[0].toDouble(), this),
               tqplatform::twips::toPixelsY(size[1].toDouble(), this));
    } else {
        resize(900, 560);
    }
    m_preview->setVisible(setting(kPreviewDoc, QStringLiteral("1")) != u"0");

    buildColumns();
    const int savedColumn = setting(kSortCol, m_initSort).toInt();
    m_sortColumn = savedColumn >= 0 && savedColumn < FileGrid::PathColumn
                       ? savedColumn
                       : int(FileGrid::NameColumn);
    m_sortOrder = setting(kSortColOrder, QStringLiteral("0")) == u"1" ? Qt::DescendingOrder
                                                                      : Qt::AscendingOrder;
    if (GIC().GetPopUpHelpFlag()) {
        m_okButton->setToolTip(QStringLiteral("CONFIRM SELECTION, Left mouse - Ok"));
        findChild<QPushButton*>(QStringLiteral("Cancel"))
            ->setToolTip(QStringLiteral("CANCEL, Left mouse - Exit file selection"));
        m_deleteButton->setToolTip(QStringLiteral("DELETE SELECTED FILES, Left mouse - Delete"));
    }
    // Without the host's word processor the files are listed without titles or previews.
    wordProcessorCalls([this] {
        m_viewer = GIC().CreateWordProcessor();
        m_titleReader = GIC().CreateWordProcessor();
    });
    const QString start = startFolder();
    m_root = m_limitAccess ? start : m_dataPath;
    fillTree();
    QTreeWidgetItem* node = m_tree->nodeOf(start);
    m_tree->setCurrentItem(node != nullptr ? node : m_tree->topLevelItem(0));
    m_tree->scrollToItem(m_tree->currentItem());  // opens the folders above the start folder
    m_tree->currentItem()->setExpanded(true);
    findChild<QSplitter*>(QStringLiteral("splFolders"))->setSizes({width() / 4, width() * 3 / 4});
}

void FileSearch::buildColumns() {
    const double letter = m_grid->letterWidth();
    const QString titleCaption =
        m_initialParm ? QStringLiteral("Name/ Document Title") : QStringLiteral("File Title");
    // Text columns (data type 202); the name column and, for document titles, the title
    // column are edited in place.
    auto column = [&](int index, const QString& caption, const QString& field, double letters,
                      bool visible, bool locked) {
        AddGridColumn(*m_grid, int16_t(index), field, caption, 202, std::nullopt, visible,
                      float(letters * letter));
        GridColumn built = m_grid->column(index);
        built.locked = locked;
        m_grid->setColumn(index, built);
    };
    column(FileGrid::TitleColumn, titleCaption, QStringLiteral("FileTitle"), 30, true,
           !m_initialParm);
    column(FileGrid::NameColumn, QStringLiteral("File Name"), QStringLiteral("FileName"), 22, true,
           false);
    column(FileGrid::DateColumn, QStringLiteral("Date/ Time"), QStringLiteral("DateTime"), 26, true,
           true);
    column(FileGrid::SizeColumn, QStringLiteral("Size"), QStringLiteral("FileSize"), 9, true, true);
    column(FileGrid::PathColumn, QStringLiteral("File Name Hide"), QStringLiteral("FileNameHide"),
           0, false, true);
    LoadGridLayout(*m_grid, layoutName());
}

QString FileSearch::layoutName() const {
    return QStringLiteral("FlSr") + GIC().GetCurrentUserName();
}

QString FileSearch::startFolder() {
    // The host writes folders with either separator ("WP\").
    const QString relative = QString(m_dirPath).replace(u'\\', u'/');
    const QString folder = QDir::isAbsolutePath(relative)
                               ? QDir::cleanPath(relative)
                               : QDir::cleanPath(m_dataPath + u'/' + relative);
    if (!folderOffered(m_dataPath, folder)) {
        return m_dataPath;
    }
    return folder;
}

void FileSearch::fillTree() {
    m_filling = true;
    m_tree->fill(m_root,
                 [this](const QString& folder) { return folderOffered(m_dataPath, folder); });
    m_filling = false;
}

void FileSearch::openFolder(QTreeWidgetItem* node) {
    const QString folder = FolderTree::pathOf(node);
    if (folder.isEmpty() || folder == m_folder) {
        return;
    }
    m_folder = folder;
    Load_File_TG();
}

QString FileSearch::detailTag() const {
    return m_detailTimer->property(kTagProperty).toString();
}

void FileSearch::stopDetail() {
    m_detailTimer->setProperty(kTagProperty, kStop);
    m_detailTimer->stop();
    m_detailQueue.clear();
}

void FileSearch::Load_File_TG() {
    stopDetail();
    const QFileInfoList files =
        QDir(m_folder).entryInfoList(m_pattern.split(u';', Qt::SkipEmptyParts),
                                     QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    std::vector<FileRow> rows;
    rows.reserve(size_t(files.size()));
    for (const QFileInfo& file : files) {
        if (!fileOffered(m_dataPath, file.filePath())) {
            continue;
        }
        FileRow row;
        row.title = m_initialParm ? file.fileName() : file.completeBaseName();
        row.name = file.fileName();
        row.bytes = file.size();
        row.size = QString::number((file.size() + 1023) / 1024) + QStringLiteral(" KB");
        row.path = file.absoluteFilePath();
        row.modified = file.lastModified();
        rows.push_back(row);
        m_detailQueue.append(row.path);
    }
    m_filling = true;
    m_grid->setFiles(std::move(rows));
    m_grid->sortRows(m_sortColumn, m_sortOrder);
    m_grid->selectFileRow(0);
    m_filling = false;
    showCurrent();
    updateButtons();
    if (!m_detailQueue.isEmpty()) {
        m_detailTimer->setProperty(kTagProperty, kLoadDetail);
        m_detailTimer->start();
    }
}

void FileSearch::loadNextDetail() {
    if (detailTag() == kStop || m_detailQueue.isEmpty()) {
        stopDetail();
        return;
    }
    const QString path = m_detailQueue.takeFirst();
    const int row = m_grid->rowOf(path);
    if (row < 0) {
        return;
    }
    FileRow file = m_grid->row(row);
    file.date = tqplatform::vb::Format(file.modified, QStringLiteral("Short Date")) + u' ' +
                tqplatform::vb::Format(file.modified, QStringLiteral("Medium Time"));
    if (m_titleReader &&
        QFileInfo(path).suffix().compare(QStringLiteral("rtf"), Qt::CaseInsensitive) == 0) {
        QString title;
        const bool read = wordProcessorCalls([&] {
            m_titleReader->Call(QStringLiteral("InitNewDoc"));
            if (m_titleReader->Call(QStringLiteral("LoadDoc"), {path}).toBool()) {
                title = m_titleReader->Property(QStringLiteral("TITLE")).toString();
            }
        });
        wordProcessorCalls([&] { m_titleReader->Call(QStringLiteral("Clear")); });
        file.docTitle = read ? title : QString();
        if (m_initialParm && !file.docTitle.isEmpty()) {
            file.title = file.docTitle;
        }
    }
    m_filling = true;
    m_grid->updateRow(row, file);
    m_filling = false;
    if (row == m_grid->currentRowIndex()) {
        showCurrent();
    }
    if (m_detailQueue.isEmpty()) {
        stopDetail();
    }
}

void FileSearch::showCurrent() {
    const int row = m_grid->currentRowIndex();
    const QString path = m_grid->pathAt(row);
    if (path.isEmpty()) {
        m_detail->clear();
        m_preview->clear();
        return;
    }
    const FileRow& file = m_grid->row(row);
    m_detail->setText(detailLine(file.name, file.docTitle, file.modified));
    preview(path);
}

void FileSearch::preview(const QString& path) {
    if (m_preview->isHidden()) {
        return;
    }
    if (m_preview->property(kTagProperty).toString() == kBusy || !m_viewer) {
        return;
    }
    m_preview->setProperty(kTagProperty, kBusy);
    m_preview->clear();
    const bool shown = wordProcessorCalls([&] {
        m_viewer->Call(QStringLiteral("InitNewDoc"));
        if (!m_viewer->Call(QStringLiteral("LoadDoc"), {path}).toBool()) {
            return;
        }
        m_viewer->SetProperty(QStringLiteral("ReadOnly"), true);
        m_viewer->Call(QStringLiteral("SelectAll"));
        m_viewer->SetProperty(QStringLiteral("Font"),
                              QVariantMap{{QStringLiteral("Name"), QStringLiteral("Arial")},
                                          {QStringLiteral("Size"), 10}});
        const bool copied = m_viewer
                                ->Call(QStringLiteral("CopyData"),
                                       {QVariant::fromValue<QObject*>(m_preview->document())})
                                .toBool();
        if (!copied) {
            m_preview->setPlainText(kTooLarge);
        }
    });
    if (!shown) {
        m_preview->clear();  // nothing half copied stays on show
    }
    wordProcessorCalls([&] { m_viewer->Call(QStringLiteral("Clear")); });
    m_preview->setProperty(kTagProperty, QString());
}

void FileSearch::showSortMenu(const QPoint& pos) {
    const int column = m_grid->horizontalHeader()->logicalIndexAt(pos);
    if (column < 0 || column >= FileGrid::PathColumn) {
        return;
    }
    const QString caption = m_grid->column(column).caption;
    m_sortMenu->clear();
    QAction* ascending = m_sortMenu->addAction(QStringLiteral("Sort by [") + caption +
                                               QStringLiteral("] &Ascending"));
    ascending->setObjectName(QStringLiteral("mnuSortAscending"));
    connect(ascending, &QAction::triggered, this,
            [this, column] { ui::guard([&] { sortBy(column, Qt::AscendingOrder); }); });
    QAction* descending = m_sortMenu->addAction(QStringLiteral("Sort by [") + caption +
                                                QStringLiteral("] &Descending"));
    descending->setObjectName(QStringLiteral("mnuSortDescending"));
    connect(descending, &QAction::triggered, this,
            [this, column] { ui::guard([&] { sortBy(column, Qt::DescendingOrder); }); });
    m_sortMenu->popup(m_grid->horizontalHeader()->mapToGlobal(pos));
}

void FileSearch::sortBy(int column, Qt::SortOrder order) {
    m_sortColumn = column;
    m_sortOrder = order;
    const QString current = m_grid->pathAt(m_grid->currentRowIndex());
    m_filling = true;
    m_grid->sortRows(column, order);
    m_grid->selectFileRow(m_grid->rowOf(current));
    m_filling = false;
    saveSetting(kSortCol, QString::number(column));
    saveSetting(kSortColOrder,
                order == Qt::DescendingOrder ? QStringLiteral("1") : QStringLiteral("0"));
}

bool FileSearch::isOwnDocument(const QString& path) {
    return GIC().IsWordProcessorDocument(path);
}

bool FileSearch::protectedHere() const {
    return isProtectedFolder(m_dataPath, m_folder);
}

void FileSearch::updateButtons() {
    const bool editable = !protectedHere();
    m_deleteButton->setEnabled(editable);
    m_renameButton->setEnabled(editable);
    m_grid->setAllowUpdate(editable);
}

void FileSearch::onOk() {
    QStringList chosen;
    const QString start = startFolder();
    for (const QString& path : m_grid->selectedPaths()) {
        const QString relative = QDir(start).relativeFilePath(path);
        // Outside the start folder: the full path ("..draft.rtf" is a name inside it).
        const bool outside = relative == u".." || relative.startsWith(QStringLiteral("../"));
        chosen.append(outside ? path : QDir::toNativeSeparators(relative).replace(u'/', u'\\'));
    }
    m_selFiles = chosen.join(u'|');
    if (!chosen.isEmpty()) {
        const QString first = m_grid->selectedPaths().constFirst();
        const QFileInfo info(first);
        m_driveSeek = QDir(info.absolutePath()).rootPath();
        m_dirSeek = QDir::toNativeSeparators(info.absolutePath() + u'/');
        m_fileSeek = info.fileName();
        m_dateTimeSeek = m_grid->row(m_grid->rowOf(first)).date;
    }
    accept();
}

void FileSearch::onView() {
    const bool show = !m_preview->isVisible();
    m_preview->setVisible(show);
    saveSetting(kPreviewDoc, show ? QStringLiteral("1") : QStringLiteral("0"));
    if (show) {
        showCurrent();
    }
}

void FileSearch::onRename() {
    if (protectedHere()) {
        return;
    }
    const QString path = m_grid->pathAt(m_grid->currentRowIndex());
    if (path.isEmpty() || m_grid->selectedPaths().isEmpty()) {
        ui::msgBox(kSelectFile, Buttons::Information);
        return;
    }
    const QString name = fileName(path);
    if (isOwnDocument(path)) {
        ui::msgBox(name + QStringLiteral(" is a Tavix word processor file, cannot be renamed."),
                   Buttons::Information, QStringLiteral("Rename File"));
        return;
    }
    const QString newName =
        ui::inputBox(QStringLiteral("Please enter a new name for ") + name + kBreak + kBreak,
                     QStringLiteral("Rename"), name)
            .trimmed();
    if (!newName.isEmpty() && newName != name) {
        renameChecked(path, newName);
    }
}

bool FileSearch::Rename_File(const QString& oFNM, const QString& nFNM) {
    const QString path = pathInside(m_dataPath, m_folder, oFNM);
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        ui::msgBox(kSelectFile, Buttons::Information);
        return false;
    }
    if (isOwnDocument(path)) {
        ui::msgBox(oFNM + QStringLiteral(" is a Tavix word processor file, cannot be renamed."),
                   Buttons::Information, QStringLiteral("Rename File"));
        return false;
    }
    return renameChecked(path, nFNM);
}

bool FileSearch::Check_File_Name(const QString& FilName, bool ShowMessage) const {
    if (documents::Check_File_Name(FilName)) {
        return true;
    }
    if (ShowMessage) {
        ui::msgBox(badFileNameMessage(), Buttons::Critical, QStringLiteral("Rename"));
    }
    return false;
}

bool FileSearch::renameChecked(const QString& path, const QString& newName) {
    const QString oldName = fileName(path);
    if (newName.contains(u'/') || newName.contains(u'\\') || newName == u"." || newName == u"..") {
        ui::msgBox(QStringLiteral("Please do not specify path when rename a file."),
                   Buttons::Information, QStringLiteral("Rename File"));
        return false;
    }
    if (!Check_File_Name(newName, true)) {
        return false;
    }
    if (QFileInfo(newName).suffix().compare(QFileInfo(oldName).suffix(), Qt::CaseInsensitive) !=
            0 &&
        ui::msgBox(QStringLiteral("If you change the filename extension, this file may become "
                                  "unusable.") +
                       kBreak + kBreak + QStringLiteral("Are you sure you want to change it?"),
                   Buttons::YesNo | Buttons::Exclamation,
                   QStringLiteral("Rename")) != ui::Answer::Yes) {
        return false;
    }
    const QString target = pathInside(m_dataPath, QFileInfo(path).absolutePath(), newName);
    FileResult result = target.isEmpty()
                            ? FileResult::failure(52, QStringLiteral("Bad file name or number"))
                            : renameEntry(path, target);
    if (!result.ok) {
        ui::msgBox(QStringLiteral("Cannot rename file from ") + oldName + QStringLiteral(" to ") +
                       newName + kBreak + kBreak + errorText(result),
                   Buttons::Exclamation, QStringLiteral("Rename File"));
        return false;
    }
    Load_File_TG();
    m_grid->selectFileRow(m_grid->rowOf(QFileInfo(target).absoluteFilePath()));
    return true;
}

void FileSearch::onCellEdited(int row, int column) {
    if (row < 0 || row >= m_grid->rowCount()) {
        return;
    }
    FileRow file = m_grid->row(row);
    const QString before = column == FileGrid::NameColumn ? file.name : file.title;
    const QString after = m_grid->cellValue(row, column).trimmed();
    m_grid->revertCell(row, column);  // shown again once the change has taken effect
    if (after == before || after.isEmpty()) {
        return;
    }
    if (column == FileGrid::NameColumn) {
        if (isOwnDocument(file.path)) {
            ui::msgBox(
                before + QStringLiteral(" is a Tavix word processor file, cannot be renamed."),
                Buttons::Information, QStringLiteral("Rename File"));
            return;
        }
        if (ui::msgBox(QStringLiteral("Do you wish to rename the file from [") + before +
                           QStringLiteral("] to [") + after + u']',
                       Buttons::YesNo | Buttons::Question | Buttons::DefaultButton2,
                       QStringLiteral("Rename File")) == ui::Answer::Yes) {
            renameChecked(file.path, after);
        }
    } else if (column == FileGrid::TitleColumn && m_initialParm) {
        if (ui::msgBox(QStringLiteral("Do you wish to change the file title from [") + before +
                           u']' + QStringLiteral("to [") + after + u']',
                       Buttons::YesNo | Buttons::Question,
                       QStringLiteral("File Title")) != ui::Answer::Yes ||
            !changeTitle(file.path, after)) {
            return;
        }
        file.title = after;
        file.docTitle = after;
        m_grid->updateRow(row, file);
        showCurrent();
    }
}

bool FileSearch::changeTitle(const QString& path, const QString& title) {
    bool saved = false;
    QString reason;
    try {
        if (!m_titleReader) {
            throw std::runtime_error("The host has no word processor.");
        }
        m_titleReader->Call(QStringLiteral("InitNewDoc"));
        saved = m_titleReader->Call(QStringLiteral("LoadDoc"), {path}).toBool();
        if (saved) {
            m_titleReader->SetProperty(QStringLiteral("TITLE"), title);
            saved = m_titleReader->Call(QStringLiteral("SaveDoc")).toBool();
        }
    } catch (const std::exception& error) {
        saved = false;
        reason = kBreak + kBreak + QString::fromUtf8(error.what());
    }
    if (m_titleReader) {
        wordProcessorCalls([&] { m_titleReader->Call(QStringLiteral("Clear")); });
    }
    if (!saved) {
        ui::msgBox(QStringLiteral("Cannot change the title of ") + fileName(path) + reason,
                   Buttons::Exclamation, QStringLiteral("File Title"));
    }
    return saved;
}

void FileSearch::onDelete() {
    if (protectedHere()) {
        return;
    }
    const QStringList paths = m_grid->selectedPaths();
    if (paths.isEmpty()) {
        ui::msgBox(kSelectFile, Buttons::Information);
        return;
    }
    for (const QString& path : paths) {
        if (isOwnDocument(path)) {
            ui::msgBox(fileName(path) +
                           QStringLiteral(" is a Tavix word processor file, cannot be deleted."),
                       Buttons::Information, QStringLiteral("Delete File"));
            continue;
        }
        if (pathInside(m_dataPath, m_folder, fileName(path)).isEmpty()) {
            continue;
        }
        QFile file(path);
        if (!file.remove()) {
            ui::msgBox(QStringLiteral("Cannot delete file ") + fileName(path) + kBreak + kBreak +
                           QStringLiteral("Code ") + QString::number(file.error()) + u' ' +
                           file.errorString(),
                       Buttons::Exclamation, QStringLiteral("Delete File"));
        }
    }
    Load_File_TG();
}

QString FileSearch::shownFolder(const QString& folder) const {
    return QDir::toNativeSeparators(QDir::cleanPath(folder) + u'/');
}

void FileSearch::moveFiles(QTreeWidgetItem* node, const QStringList& files) {
    const QString target = FolderTree::pathOf(node);
    if (target.isEmpty()) {
        return;
    }
    for (const QString& file : files) {
        if (!moveOne(file, target)) {
            break;
        }
    }
    Load_File_TG();
}

bool FileSearch::moveOne(const QString& source, const QString& targetFolder) {
    const QString title = QStringLiteral("Move File");
    const QFileInfo info(source);
    const QString sourceFolder = info.absolutePath();
    if (QDir(sourceFolder) == QDir(targetFolder)) {
        return true;
    }
    if (isAutoRoutineFolder(m_dataPath, sourceFolder) ||
        isAutoRoutineFolder(m_dataPath, targetFolder)) {
        ui::msgBox(QStringLiteral("Cannot move file from/to Auto Routine file folder"),
                   Buttons::Information, title);
        return false;
    }
    const QString name = info.fileName();
    const QString checkedSource = pathInside(m_dataPath, sourceFolder, name);
    const QString target = pathInside(m_dataPath, targetFolder, name);
    if (checkedSource.isEmpty() || target.isEmpty() || !folderOffered(m_dataPath, targetFolder)) {
        return true;  // not a file this screen offers, or a folder it does not show
    }
    if (ui::msgBox(QStringLiteral("Move file [") + name + QStringLiteral("] from ") +
                       shownFolder(sourceFolder) + QStringLiteral(" to ") +
                       shownFolder(targetFolder),
                   Buttons::YesNo | Buttons::Question | Buttons::DefaultButton2,
                   title) != ui::Answer::Yes) {
        return true;
    }
    const bool exists = QFileInfo::exists(target);
    if (exists) {
        if (ui::msgBox(QStringLiteral("File [") + name + QStringLiteral("] already exists in ") +
                           shownFolder(targetFolder) +
                           QStringLiteral(". Do you wish to overwrite?"),
                       Buttons::YesNo | Buttons::Question | Buttons::DefaultButton2,
                       title) != ui::Answer::Yes) {
            return true;
        }
        const QString attributes = protectedAttributes(target);
        if (!attributes.isEmpty()) {
            ui::msgBox(QStringLiteral("Can not copy file ") + name + kBreak + kBreak +
                           QStringLiteral("The designation file is a ") + attributes.mid(2),
                       Buttons::Exclamation, title);
            return true;
        }
    }
    const FileResult result = moveFile(checkedSource, target, exists);
    if (!result.ok) {
        ui::msgBox(QStringLiteral("Cannot copy file.") + kBreak + kBreak + errorText(result),
                   Buttons::Exclamation, title);
        return false;
    }
    return true;
}

void FileSearch::showFolderMenu(const QPoint& pos) {
    QTreeWidgetItem* node = m_tree->itemAt(pos);
    if (node == nullptr) {
        return;
    }
    m_tree->setCurrentItem(node);
    const QString name = node->text(0);
    const bool isRoot = node->parent() == nullptr;
    m_folderMenu->clear();
    QAction* create = m_folderMenu->addAction(QStringLiteral("Create &New File Folder Under ") +
                                              name + QStringLiteral(" File Folder"));
    create->setObjectName(QStringLiteral("mnuNewFolder"));
    connect(create, &QAction::triggered, this,
            [this, node] { ui::guard([&] { newFolder(node); }); });
    QAction* rename = m_folderMenu->addAction(QStringLiteral("&Rename ") + name);
    rename->setObjectName(QStringLiteral("mnuRenameFolder"));
    rename->setEnabled(!isRoot);
    connect(rename, &QAction::triggered, this, [this, node] { m_tree->editItem(node, 0); });
    QAction* remove = m_folderMenu->addAction(QStringLiteral("&Delete ") + name);
    remove->setObjectName(QStringLiteral("mnuDeleteFolder"));
    remove->setEnabled(!isRoot);
    connect(remove, &QAction::triggered, this,
            [this, node] { ui::guard([&] { deleteFolder(node); }); });
    m_folderMenu->popup(m_tree->viewport()->mapToGlobal(pos));
}

void FileSearch::newFolder(QTreeWidgetItem* parent) {
    const QDir folder(FolderTree::pathOf(parent));
    const QString name = newFolderName([&](const QString& n) { return folder.exists(n); });
    if (name.isEmpty()) {
        ui::msgBox(QStringLiteral("Can not create new directory, please delete unused file "
                                  "folders name NEWFLD*"),
                   Buttons::Exclamation, QStringLiteral("New File Folder"));
        return;
    }
    const FileResult result = createFolder(folder.filePath(name));
    if (!result.ok) {
        ui::msgBox(QStringLiteral("Can not create new directory ") + name + kBreak + kBreak +
                       errorText(result),
                   Buttons::Exclamation, QStringLiteral("New File Folder"));
        return;
    }
    m_filling = true;
    QTreeWidgetItem* node = m_tree->addNode(parent, folder.filePath(name));
    parent->setExpanded(true);
    m_filling = false;
    m_tree->setCurrentItem(node);
    m_tree->editItem(node, 0);
}

void FileSearch::onFolderEdited(QTreeWidgetItem* node) {
    const QString path = FolderTree::pathOf(node);
    const QString oldName = QFileInfo(path).fileName();
    const QString newName = node->text(0).trimmed();
    if (node->parent() == nullptr || newName == oldName) {
        return;
    }
    auto revert = [&] {
        m_filling = true;
        node->setText(0, oldName);
        m_filling = false;
    };
    if (newName.isEmpty() || newName.contains(u'/') || newName.contains(u'\\') || newName == u"." ||
        newName == u"..") {
        revert();
        ui::msgBox(QStringLiteral("Please do not specify path when rename a file."),
                   Buttons::Information, QStringLiteral("Rename File"));
        return;
    }
    if (!Check_File_Name(newName, false)) {
        revert();
        Check_File_Name(newName, true);
        return;
    }
    const QString parentFolder = QFileInfo(path).absolutePath();
    const QString target = pathInside(m_dataPath, parentFolder, newName);
    const FileResult result =
        target.isEmpty() ? FileResult::failure(52, QStringLiteral("Bad file name or number"))
                         : renameEntry(path, target);
    if (!result.ok) {
        revert();
        ui::msgBox(QStringLiteral("Cannot rename file folder from ") + oldName +
                       QStringLiteral(" to ") + newName + kBreak + kBreak + errorText(result),
                   Buttons::Exclamation, QStringLiteral("Rename File"));
        return;
    }
    // The folder and everything below it have new paths: the tree is built again.
    const QString current = m_folder == path ? target : m_folder;
    m_folder.clear();
    fillTree();
    QTreeWidgetItem* again = m_tree->nodeOf(current);
    m_tree->setCurrentItem(again != nullptr ? again : m_tree->topLevelItem(0));
}

void FileSearch::deleteFolder(QTreeWidgetItem* node) {
    const QString path = FolderTree::pathOf(node);
    if (node->parent() == nullptr || !folderInside(m_dataPath, path)) {
        return;
    }
    if (folderHoldsFiles(path)) {
        ui::msgBox(QStringLiteral("Can not delete file folder, please check and make sure there "
                                  "is no file in the file folder"),
                   Buttons::Information, QStringLiteral("Delete File Folder"));
        return;
    }
    const FileResult result = removeFolder(path);
    if (!result.ok) {
        ui::msgBox(QStringLiteral("Can not delete file folder ") + node->text(0) + kBreak + kBreak +
                       errorText(result),
                   Buttons::Exclamation, QStringLiteral("Delete File Folder"));
        return;
    }
    QTreeWidgetItem* parent = node->parent();
    m_tree->setCurrentItem(parent);
    delete node;
}

void FileSearch::saveSettings() {
    SaveGridLayout(*m_grid, layoutName());
    saveSetting(kSortCol, QString::number(m_sortColumn));
    saveSetting(kSortColOrder,
                m_sortOrder == Qt::DescendingOrder ? QStringLiteral("1") : QStringLiteral("0"));
    saveSetting(kScreenSize,
                QString::number(qRound(tqplatform::twips::fromPixelsX(width(), this))) + u',' +
                    QString::number(qRound(tqplatform::twips::fromPixelsY(height(), this))));
}

void FileSearch::done(int result) {
    stopDetail();
    if (m_loaded && hasGIC()) {
        ui::guard([this] { saveSettings(); });
    }
    QDialog::done(result);
}

}  // namespace tqservicecode
