// The document file picker as a real screen on a real folder tree, with the practice's
// settings on SQLite and PostgreSQL.

#include "../servicecode/ComponentFixture.h"
#include "TestMain.h"

#include <tqservicecode/documents/FileGrid.h>
#include <tqservicecode/documents/FileOperations.h>
#include <tqservicecode/documents/FileSearch.h>
#include <tqservicecode/documents/FolderTree.h>

#include "Faults.h"
#include "ScratchDisk.h"

#include <src/WordProcessor.h>

#include <tqplatform/ScriptedUi.h>

#include "demo/MainWindow.h"

#include <QDir>
#include <QDirIterator>

#include <unistd.h>
#include <QDropEvent>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QTextEdit>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

QByteArray letter(const QString& title, const QString& body, bool ownWriter) {
    return "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}" +
           QByteArray(ownWriter ? "{\\*\\generator Tavix Word Processor;}" : "") +
           "{\\info{\\title " + title.toUtf8() + "}}\\f0\\fs24 " + body.toUtf8() + "\\par}";
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

/// A practice whose data folder holds letters, system folders and a folder outside.
struct LetterPractice : tqtest::ComponentFixture {
    QString data, wp, letters;
    bool setUp() {
        if (!open()) {
            return false;
        }
        data = QDir::cleanPath(db.dataPath());
        wp = data + "/WP";
        letters = wp + "/Letters";
        for (const char* folder : {"WP/Letters", "WP/Labels", "WP/AR", "Temp", "STP", "Patients"}) {
            QDir(data).mkpath(folder);
        }
        return writeFile(wp + "/RECALL.RTF",
                         letter("Recall reminder", "Time for a visit.", true)) &&
               writeFile(wp + "/welcome.rtf", letter("Welcome", "Welcome!", false)) &&
               writeFile(wp + "/AR/auto.rtf", letter("Auto", "x", false)) &&
               writeFile(letters + "/postop.rtf",
                         letter("After surgery", "Bite on the \\b gauze\\b0 .", false)) &&
               writeFile(letters + "/other.rtf", letter("Other", "Other letter, longer", false)) &&
               writeFile(letters + "/notes.txt", "plain");
    }
    QString setting(const QString& key) {
        return host->GetUserSetting("FileSearchtester", key, 0, "<none>");
    }
};

/// The host's word processor, failing as a broken host component does: LoadDoc throws for
/// every file whose name holds "broken".
struct BrokenWordProcessor : tqhost::Internal::WordProcessor {
    BrokenWordProcessor() : WordProcessor(1 << 20) {}
    QVariant Call(const QString& method, const QVariantList& arguments) override {
        if (method == "LoadDoc" && arguments.value(0).toString().contains("broken")) {
            throw tqGlobal::Error(5, "the word processor failed");
        }
        return WordProcessor::Call(method, arguments);
    }
};

/// The practice's host on dataPath, with its own, a broken or no word processor.
struct LetterHost : tqhost::PracticeHost {
    using PracticeHost::PracticeHost;
    enum class Words { Own, Broken, None } words = Words::Own;
    std::shared_ptr<tqGlobal::IWordProcessor> CreateWordProcessor() override {
        if (words == Words::Broken) {
            return std::make_shared<BrokenWordProcessor>();
        }
        return words == Words::Own ? PracticeHost::CreateWordProcessor() : nullptr;
    }
};

std::shared_ptr<LetterHost> useLetterHost(tqtest::ComponentFixture& f, const QString& dataPath) {
    auto host = std::make_shared<LetterHost>(f.host->sharedConnection(), dataPath, "tester");
    host->ensureSchema();
    f.host = host;
    f.component.setGIC(host);
    return host;
}

/// Every file below folder with its bytes, the folders as "<folder>"; the scratch disk's
/// ballast left out.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        if (info.fileName() != "ballast") {
            files.insert(info.filePath(), info.isDir() ? "<folder>" : content(info.filePath()));
        }
    }
    return files;
}

#define TQ_LETTER_PRACTICE(practice)    \
    LetterPractice practice;            \
    TQ_REQUIRE_DATABASE((practice).db); \
    QVERIFY((practice).setUp())

/// The picker on folder (below the data folder), shown, its details loaded.
std::unique_ptr<FileSearch> openPicker(const QString& folder, bool titles = true) {
    auto form = std::make_unique<FileSearch>();
    form->setFilePattern("*.RTF");
    form->setDirPath(folder);
    form->setInitialParm(titles);
    form->show();
    if (!QTest::qWaitFor([&] { return form->detailTag() == QString("STOP"); })) {
        qWarning("the detail loading did not end");
    }
    return form;
}

FileGrid& grid(FileSearch& form) {
    return *tqtest::control<FileGrid>(form, "TDBG");
}
FolderTree& tree(FileSearch& form) {
    return *tqtest::control<FolderTree>(form, "TV");
}
QStringList names(FileSearch& form) {
    QStringList list;
    for (int r = 0; r < grid(form).rowCount(); ++r) {
        list << grid(form).row(r).name;
    }
    return list;
}
void select(FileSearch& form, const QString& name) {
    grid(form).selectFileRow(names(form).indexOf(name));
}
void click(FileSearch& form, const char* button) {
    tqtest::control<QPushButton>(form, button)->click();
}
void dropOn(FileSearch& form, const QString& folder, const QStringList& paths) {
    QTreeWidgetItem* node = tree(form).nodeOf(folder);
    QVERIFY(node != nullptr);
    QMimeData data;
    data.setData(FolderTree::MimeType, paths.join('\n').toUtf8());
    // A drop reaches the widget that accepted the drag's entry, as the user's drag does.
    const QPoint at = tree(form).visualItemRect(node).center();
    QDragEnterEvent enter(at, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree(form).viewport(), &enter);
    QDropEvent drop(QPointF(at), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(tree(form).viewport(), &drop);
}
/// Opens a context menu the way a right click does and answers the menu shown.
QMenu* openFolderMenu(FileSearch& form, const QString& folder) {
    tree(form).scrollToItem(tree(form).nodeOf(folder));
    emit tree(form).customContextMenuRequested(
        tree(form).visualItemRect(tree(form).nodeOf(folder)).center());
    return tqtest::control<QMenu>(form, "mnuFolder");
}

}  // namespace

class FileSearchTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { documents::setFaultHook({}); }

    void treeListDetailsAndPreview() {
        TQ_LETTER_PRACTICE(f);
        f.host->SaveUserSetting("USER_DEF_SETUPtester", "POPUP_HELP_FLAG", 0, "1");
        // Links are judged by where they lead: a system folder under another name is hidden.
        QVERIFY(writeFile(f.data + "/Temp/PR1.rtf", letter("Lock", "x", false)));
        QVERIFY(QFile::link(f.data + "/Temp", f.wp + "/Scratch"));
        QVERIFY(QFile::link(f.data + "/Temp/PR1.rtf", f.wp + "/lock.rtf"));
        auto form = openPicker("WP\\");
        QStringList folders;
        for (QTreeWidgetItemIterator it(&tree(*form)); *it; ++it) {
            folders << QDir(f.data).relativeFilePath(FolderTree::pathOf(*it));
        }
        QCOMPARE(folders, QStringList({".", "Patients", "WP", "WP/Letters"}));
        QCOMPARE(form->currentFolder(), f.wp);
        QCOMPARE(names(*form), QStringList({"RECALL.RTF", "welcome.rtf"}));
        QCOMPARE(grid(*form).column(0).caption, QString("Name/ Document Title"));
        QCOMPARE(grid(*form).column(4).caption, QString("File Name Hide"));
        QVERIFY(!grid(*form).columnVisible(4));
        QCOMPARE(grid(*form).row(0).title, QString("Recall reminder"));
        QVERIFY(!grid(*form).row(0).date.isEmpty());
        const QString detail = tqtest::control<QLabel>(*form, "lblDetail")->text();
        QVERIFY2(detail.startsWith("File: RECALL.RTF  -  Title: Recall reminder  -  Modified: "),
                 qPrintable(detail));
        auto* preview = tqtest::control<QTextEdit>(*form, "rtbPreview");
        QCOMPARE(preview->toPlainText().trimmed(), QString("Time for a visit."));
        QCOMPARE(tqtest::control<QPushButton>(*form, "Delete")->toolTip(),
                 QString("DELETE SELECTED FILES, Left mouse - Delete"));

        f.host->setDocumentDisplayLimit(10);
        auto big = openPicker("WP\\Letters", false);
        QCOMPARE(grid(*big).column(0).caption, QString("File Title"));
        QCOMPARE(tqtest::control<QTextEdit>(*big, "rtbPreview")->toPlainText(),
                 QString("The file is too large to display."));
        QVERIFY(writeFile(f.letters + "/..draft.rtf", "x"));
        big->Load_File_TG();
        select(*big, "..draft.rtf");
        click(*big, "OK");
        QCOMPARE(big->SelFiels(), QString("..draft.rtf"));
        auto fromData = openPicker("");
        tree(*fromData).setCurrentItem(tree(*fromData).nodeOf(f.letters));
        select(*fromData, "other.rtf");
        click(*fromData, "OK");
        QCOMPARE(fromData->SelFiels(), QString("WP\\Letters\\other.rtf"));
        QCOMPARE(fromData->FileSeek(), QString("other.rtf"));

        // Settings the database refuses are told, and the screen still closes.
        ScriptedUi ui;
        const QString order = f.setting("SortColOrder");  // the order the OK above kept
        tqtest::failStatements(f.host->connection(), "UserSetting", "INSERT", "disk full");
        emit grid(*form).horizontalHeader()->customContextMenuRequested(
            QPoint(grid(*form).columnViewportPosition(1) + 5, 5));
        tqtest::control<QMenu>(*form, "mnuSort")->actions().at(1)->trigger();
        QCOMPARE(names(*form).first(), QString("welcome.rtf"));  // sorted though not kept
        form->reject();
        QVERIFY(!form->isVisible());
        QCOMPARE(form->detailTag(), QString("STOP"));
        QVERIFY(ui.messages.size() >= 2);
        QVERIFY(ui.messages.last().prompt.contains("disk full"));
        tqtest::stopFailingStatements(f.host->connection(), "UserSetting", "INSERT");
        QCOMPARE(f.setting("SortColOrder"), order);
    }

    void closingStopsLoadingAndKeepsSettings() {
        TQ_LETTER_PRACTICE(f);
        for (int i = 0; i < 40; ++i) {
            QVERIFY(writeFile(f.letters + QString("/bulk%1.rtf").arg(i), QByteArray(i * 10, 'x')));
        }
        auto form = std::make_unique<FileSearch>();
        form->setFilePattern("*.rtf");
        form->setDirPath("WP/Letters");
        form->show();
        QCOMPARE(form->detailTag(), QString("LOAD_DETAIL"));
        form->resize(700, 500);
        emit grid(*form).horizontalHeader()->customContextMenuRequested(
            QPoint(grid(*form).columnViewportPosition(3) + 5, 5));
        auto* menu = tqtest::control<QMenu>(*form, "mnuSort");
        QCOMPARE(menu->actions().at(0)->text(), QString("Sort by [Size] &Ascending"));
        QCOMPARE(menu->actions().at(1)->text(), QString("Sort by [Size] &Descending"));
        menu->actions().at(1)->trigger();
        QCOMPARE(names(*form).first(), QString("bulk39.rtf"));
        tqtest::control<QPushButton>(*form, "View")->click();
        grid(*form).setColumnWidth(FileGrid::NameColumn, 3000);
        grid(*form).setColumnOrder(FileGrid::SizeColumn, 0);
        form->reject();
        QVERIFY(QFile::exists(f.data + "/STP/TGFlSrtester.STP"));
        QCOMPARE(form->detailTag(), QString("STOP"));
        QCOMPARE(f.setting("SortCol"), QString("3"));
        QCOMPARE(f.setting("SortColOrder"), QString("1"));
        QCOMPARE(f.setting("PreviewDoc"), QString("0"));
        QVERIFY(f.setting("ScreenSize").contains(','));
        auto again = openPicker("WP/Letters");
        QCOMPARE(names(*again).first(), QString("bulk39.rtf"));
        QVERIFY(tqtest::control<QTextEdit>(*again, "rtbPreview")->isHidden());
        QCOMPARE(again->size(), QSize(700, 500));
        QCOMPARE(grid(*again).columnOrder(FileGrid::SizeColumn), 0);
        QVERIFY(qAbs(grid(*again).columnWidth(FileGrid::NameColumn) - 3000) < 30);
    }

    void renamingByButtonAndInTheGrid() {
        TQ_LETTER_PRACTICE(f);
        ScriptedUi ui;
        auto form = openPicker("WP");
        select(*form, "RECALL.RTF");
        click(*form, "Rename");
        QCOMPARE(ui.messages.last().prompt,
                 QString("RECALL.RTF is a Tavix word processor file, cannot be renamed."));
        QVERIFY(ui.inputBoxes.isEmpty());

        tree(*form).setCurrentItem(tree(*form).nodeOf(f.letters));
        select(*form, "postop.rtf");
        const QByteArray before = content(f.letters + "/postop.rtf");
        ui.inputs = {"post:op.rtf", "x/y.rtf", "postop.doc", "other.rtf"};
        ui.answers = {1, 1, 7, 1};
        for (int i = 0; i < 4; ++i) {
            click(*form, "Rename");
        }
        QCOMPARE(ui.inputBoxes.first().prompt,
                 QString("Please enter a new name for postop.rtf\r\n\r\n"));
        QCOMPARE(ui.messages.at(1).prompt,
                 QString("A filename cannot contain any of the following characters:\r\n\t"
                         "\\ / : * ? ' < > | \""));
        QCOMPARE(ui.messages.at(1).icon, 16);
        QCOMPARE(ui.messages.at(2).prompt,
                 QString("Please do not specify path when rename a file."));
        QCOMPARE(ui.messages.at(3).title, QString("Rename"));
        QVERIFY(ui.messages.at(3).prompt.startsWith("If you change the filename extension"));
        QVERIFY(ui.messages.at(4).prompt.startsWith(
            "Cannot rename file from postop.rtf to other.rtf\r\n\r\nCode 58 "));
        QCOMPARE(content(f.letters + "/postop.rtf"), before);
        QCOMPARE(content(f.letters + "/other.rtf").contains("Other letter"), true);

        ui.inputs = {"Post-op \u00ABinstructions\u00BB \u041F.rtf"};
        click(*form, "Rename");
        QCOMPARE(content(f.letters + "/Post-op \u00ABinstructions\u00BB \u041F.rtf"), before);

        // In the grid: the file name, asked first; then the document title.
        QAbstractItemModel* model = grid(*form).model();
        const int row = names(*form).indexOf("other.rtf");
        ui.answers = {7, 6, 6};
        model->setData(model->index(row, FileGrid::NameColumn), "kept.rtf");
        QCOMPARE(ui.messages.last().prompt,
                 QString("Do you wish to rename the file from [other.rtf] to [kept.rtf]"));
        QCOMPARE(ui.messages.last().defaultButton, 2);
        QCOMPARE(grid(*form).cellValue(row, FileGrid::NameColumn), QString("other.rtf"));
        model->setData(model->index(row, FileGrid::NameColumn), "renamed.rtf");
        QVERIFY(QFile::exists(f.letters + "/renamed.rtf") &&
                !QFile::exists(f.letters + "/other.rtf"));
        QTRY_COMPARE(form->detailTag(), QString("STOP"));
        const int renamed = names(*form).indexOf("renamed.rtf");
        model->setData(model->index(renamed, FileGrid::TitleColumn), "Second opinion");
        QCOMPARE(ui.messages.last().prompt,
                 QString("Do you wish to change the file title from [Other]to [Second opinion]"));
        auto wp = f.host->CreateWordProcessor();
        QVERIFY(wp->Call("LoadDoc", {f.letters + "/renamed.rtf"}).toBool());
        QCOMPARE(wp->Property("TITLE").toString(), QString("Second opinion"));

        grid(*form).clearSelBookmarks();
        click(*form, "Rename");
        QCOMPARE(ui.messages.last().prompt, QString("Please select a file."));

        // Deleting both files of WP keeps the host's own document.
        tree(*form).setCurrentItem(tree(*form).nodeOf(f.wp));
        const int told = ui.messages.size();
        grid(*form).addSelBookmark(0);
        grid(*form).addSelBookmark(1);
        click(*form, "Delete");
        QCOMPARE(ui.prompts().mid(told),
                 QStringList({"RECALL.RTF is a Tavix word processor file, cannot be deleted."}));
        QCOMPARE(ui.messages.last().title, QString("Delete File"));
        QVERIFY(QFile::exists(f.wp + "/RECALL.RTF"));
        QVERIFY(!QFile::exists(f.wp + "/welcome.rtf"));
        QCOMPARE(names(*form), QStringList({"RECALL.RTF"}));
        tree(*form).setCurrentItem(tree(*form).nodeOf(f.data));  // the data folder itself
        QVERIFY(!tqtest::control<QPushButton>(*form, "Delete")->isEnabled());
    }

    void movingFilesAndFolders() {
        TQ_LETTER_PRACTICE(f);
        ScriptedUi ui;
        QDir(f.letters).mkdir("NewFld1");
        QDir(f.letters).mkdir("NewFld2");
        auto form = openPicker("WP/Letters");
        const QString postop = f.letters + "/postop.rtf";
        ui.answers = {7};
        dropOn(*form, f.wp, {postop});
        QCOMPARE(ui.messages.last().prompt, "Move file [postop.rtf] from " +
                                                QDir::toNativeSeparators(f.letters + "/") + " to " +
                                                QDir::toNativeSeparators(f.wp + "/"));
        QCOMPARE(ui.messages.last().defaultButton, 2);
        QVERIFY(QFile::exists(postop));
        ui.answers = {6};
        QVERIFY(writeFile(f.wp + "/.~postop.rtf~", "the user's own"));
        dropOn(*form, f.wp, {postop});
        QVERIFY(!QFile::exists(postop) && QFile::exists(f.wp + "/postop.rtf"));
        QCOMPARE(content(f.wp + "/.~postop.rtf~"), QByteArray("the user's own"));
        QVERIFY(!names(*form).contains("postop.rtf"));

        QVERIFY(writeFile(f.wp + "/other.rtf", "old"));
        QFile::setPermissions(f.wp + "/other.rtf", QFile::ReadOwner | QFile::ReadUser);
        ui.answers = {6, 6};
        dropOn(*form, f.wp, {f.letters + "/other.rtf"});
        QCOMPARE(ui.messages.at(ui.messages.size() - 2).prompt,
                 "File [other.rtf] already exists in " + QDir::toNativeSeparators(f.wp + "/") +
                     ". Do you wish to overwrite?");
        QCOMPARE(
            ui.messages.last().prompt,
            QString("Can not copy file other.rtf\r\n\r\nThe designation file is a read only file"));
        QCOMPARE(content(f.wp + "/other.rtf"), QByteArray("old"));
        QVERIFY(QFile::exists(f.letters + "/other.rtf"));

        documents::setFaultHook([](const QString& step) { return step == "remove source"; });
        ui.answers = {6};
        dropOn(*form, f.data + "/Patients", {f.letters + "/other.rtf"});
        QVERIFY(ui.messages.last().prompt.startsWith("Cannot copy file.\r\n\r\nCode "));
        QVERIFY(QFile::exists(f.letters + "/other.rtf"));
        QVERIFY(!QFile::exists(f.data + "/Patients/other.rtf"));

        const int shown = ui.messages.size();
        dropOn(*form, f.wp, {f.wp + "/AR/auto.rtf"});
        QCOMPARE(ui.messages.last().prompt,
                 QString("Cannot move file from/to Auto Routine file folder"));
        QCOMPARE(ui.messages.size(), shown + 1);
        QVERIFY(QFile::exists(f.wp + "/AR/auto.rtf"));
        dropOn(*form, f.wp, {f.data + "/../escape.rtf", "/etc/hostname"});
        QCOMPARE(ui.messages.size(), shown + 1);  // not a file the screen offers: nothing asked

        // The folder menu creates, renames and deletes folders.
        documents::setFaultHook({});
        QMenu* menu = openFolderMenu(*form, f.letters);
        QStringList texts;
        for (QAction* action : menu->actions()) {
            texts << action->text();
        }
        QCOMPARE(texts, QStringList({"Create &New File Folder Under Letters File Folder",
                                     "&Rename Letters", "&Delete Letters"}));
        menu->actions().at(0)->trigger();
        const QString created = f.letters + "/NewFld3";
        QVERIFY(QFileInfo(created).isDir());
        QTreeWidgetItem* node = tree(*form).nodeOf(created);
        QVERIFY(node != nullptr && tree(*form).currentItem() == node);
        QCOMPARE(node->data(0, FolderTree::PictureRole).toString(), QString("FolderC"));
        QVERIFY(tree(*form).isPersistentEditorOpen(node) ||
                tree(*form).findChild<QLineEdit*>() != nullptr);

        node->setText(0, "Bad:Name");
        QCOMPARE(ui.messages.last().title, QString("Rename"));
        QCOMPARE(node->text(0), QString("NewFld3"));
        node->setText(0, "Recall letters é");
        QVERIFY(QFileInfo(f.letters + "/Recall letters é").isDir());
        QVERIFY(tree(*form).nodeOf(f.letters + "/Recall letters é") != nullptr);

        openFolderMenu(*form, f.letters)->actions().at(2)->trigger();
        QCOMPARE(ui.messages.last().prompt,
                 QString("Can not delete file folder, please check and make sure there is no "
                         "file in the file folder"));
        QVERIFY(QFileInfo(f.letters).isDir());
        openFolderMenu(*form, f.letters + "/NewFld1")->actions().at(2)->trigger();
        QVERIFY(!QFileInfo::exists(f.letters + "/NewFld1"));
        QVERIFY(tree(*form).nodeOf(f.letters + "/NewFld1") == nullptr);
        QVERIFY(!openFolderMenu(*form, f.data)->actions().at(2)->isEnabled());
    }

    void brokenWordProcessorLeavesAFileWithoutTitleOrPreview() {
        TQ_LETTER_PRACTICE(f);
        auto host = useLetterHost(f, f.data + "/");
        host->words = LetterHost::Words::Broken;
        QVERIFY(writeFile(f.letters + "/broken.rtf", letter("Broken", "Never shown", false)));
        ScriptedUi ui;
        auto form = openPicker("WP/Letters");
        QCOMPARE(form->detailTag(), QString("STOP"));
        const int broken = names(*form).indexOf("broken.rtf");
        QCOMPARE(grid(*form).row(broken).title, QString("broken.rtf"));
        QCOMPARE(grid(*form).row(names(*form).indexOf("postop.rtf")).title,
                 QString("After surgery"));
        auto* preview = tqtest::control<QTextEdit>(*form, "rtbPreview");
        select(*form, "broken.rtf");
        QVERIFY(preview->toPlainText().isEmpty());
        select(*form, "postop.rtf");  // later previews still work
        QCOMPARE(preview->toPlainText().trimmed(), QString("Bite on the gauze."));
        QVERIFY(ui.messages.isEmpty());

        QAbstractItemModel* model = grid(*form).model();
        ui.answers = {6};
        model->setData(model->index(broken, FileGrid::TitleColumn), "Mended");
        QCOMPARE(ui.messages.last().prompt,
                 QString("Cannot change the title of broken.rtf\r\n\r\nthe word processor failed"));
        QCOMPARE(content(f.letters + "/broken.rtf"), letter("Broken", "Never shown", false));

        host->words = LetterHost::Words::None;  // a host without a word processor
        auto plain = openPicker("WP/Letters");
        QCOMPARE(grid(*plain).row(names(*plain).indexOf("postop.rtf")).title,
                 QString("postop.rtf"));
        QVERIFY(tqtest::control<QTextEdit>(*plain, "rtbPreview")->toPlainText().isEmpty());
    }

    void diskFaultsLeaveEveryLetterWhole_data() {
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("told");
        const auto row = [](const char* name, bool full, const char* action, const char* told) {
            QTest::newRow(name) << full << QString(action) << QString(told);
        };
        // A full disk refuses what needs space: a rename, a new folder or a delete needs none.
        row("full disk, move", true, "move", "Cannot copy file.");
        row("full disk, title", true, "title", "Cannot change the title of postop.rtf");
        row("read-only, move", false, "move", "Cannot copy file.");
        row("read-only, title", false, "title", "Cannot change the title of postop.rtf");
        row("read-only, rename", false, "rename",
            "Cannot rename file from postop.rtf to renamed.rtf");
        row("read-only, new folder", false, "new folder", "Can not create new directory NewFld1");
        row("read-only, delete", false, "delete", "Cannot delete file postop.rtf");
        row("read-only, rename folder", false, "rename folder",
            "Cannot rename file folder from Old to Older");
        row("read-only, delete folder", false, "delete folder", "Can not delete file folder Old");
    }
    void diskFaultsLeaveEveryLetterWhole() {
        QFETCH(bool, full);
        QFETCH(QString, action);
        QFETCH(QString, told);
        TQ_LETTER_PRACTICE(f);
        tqtest::ScratchDisk disk;
        if (!disk.mounted() && (full || ::geteuid() == 0)) {
            QSKIP("no scratch disk can be mounted: its faults cannot be made here");
        }
        useLetterHost(f, disk.path() + "/");
        const QString letters = disk.filePath("WP/Letters");
        QVERIFY(QDir().mkpath(letters + "/Old"));
        QVERIFY(writeFile(letters + "/postop.rtf", letter("After surgery", "Bite.", false)));
        QVERIFY(writeFile(letters + "/other.rtf", letter("Other", "Other letter", false)));
        ScriptedUi ui;
        auto form = openPicker("WP/Letters");
        const QMap<QString, QByteArray> before = snapshot(disk.path());
        if (full) {
            QVERIFY(disk.fill());
        } else {
            disk.setReadOnly(true);
        }
        select(*form, "postop.rtf");
        ui.answers = {6};
        if (action == "rename") {
            ui.inputs = {"renamed.rtf"};
            click(*form, "Rename");
        } else if (action == "move") {
            dropOn(*form, disk.filePath("WP"), {letters + "/postop.rtf"});
        } else if (action == "title") {
            QAbstractItemModel* model = grid(*form).model();
            model->setData(model->index(names(*form).indexOf("postop.rtf"), FileGrid::TitleColumn),
                           "Changed");
        } else if (action == "new folder") {
            openFolderMenu(*form, letters)->actions().at(0)->trigger();
        } else if (action == "rename folder") {
            tree(*form).nodeOf(letters + "/Old")->setText(0, "Older");
        } else if (action == "delete folder") {
            openFolderMenu(*form, letters + "/Old")->actions().at(2)->trigger();
        } else {
            click(*form, "Delete");
        }
        QVERIFY2(!ui.messages.isEmpty() && ui.messages.last().prompt.startsWith(told),
                 qPrintable(ui.prompts().join(" | ")));
        QCOMPARE(snapshot(disk.path()), before);
        QVERIFY(action == "delete folder" || names(*form).contains("postop.rtf"));
    }

    void demoChoosesALetterOfTheSamplePractice() {
        TQ_LETTER_PRACTICE(f);
        tqhost::loadSamplePractice(*f.host);
        QVERIFY(f.host->IsWordProcessorDocument(f.wp + "/POSTOP.RTF"));
        QVERIFY(!f.host->IsWordProcessorDocument(f.letters + "/postop.rtf"));
        tqdemo::MainWindow window(f.host, f.component);
        f.host->setMainForm(&window);
        ScriptedUi ui;
        ui.onShow("FileSearch", [&](QDialog& dialog) {
            auto& form = dynamic_cast<FileSearch&>(dialog);
            QTRY_COMPARE(form.detailTag(), QString("STOP"));
            QVERIFY(names(form).contains("POSTOP.RTF"));
            QCOMPARE(grid(form).row(names(form).indexOf("POSTOP.RTF")).title,
                     QString("Post-op instructions"));
            select(form, "POSTOP.RTF");
            click(form, "OK");
        });
        tqtest::control<QAction>(window, "actChooseLetter")->trigger();
        QVERIFY(ui.messages.last().prompt.startsWith("Chosen letter: POSTOP.RTF"));
        f.host->setMainForm(nullptr);
    }

    void screenshots() {
        const QString folder = qEnvironmentVariable("TQ_SCREENSHOTS");
        if (folder.isEmpty()) {
            QSKIP("TQ_SCREENSHOTS names no folder");
        }
        TQ_LETTER_PRACTICE(f);
        tqhost::loadSamplePractice(*f.host);
        auto form = openPicker("WP");
        form->resize(1000, 620);
        select(*form, "POSTOP.RTF");
        QTest::qWait(50);
        QVERIFY(form->grab().save(QDir(folder).filePath("letters-picker-preview.png")));
        QMenu* menu = openFolderMenu(*form, f.letters);
        QTest::qWait(50);
        QPixmap shot = form->grab();
        QPainter painter(&shot);
        painter.drawPixmap(form->mapFromGlobal(menu->pos()), menu->grab());
        painter.end();
        QVERIFY(shot.save(QDir(folder).filePath("letters-folder-menu.png")));
        menu->hide();
    }
};

TQ_TEST_MAIN(FileSearchTest)
#include "tst_db_filesearch.moc"
