// The document picker's folder rules and file operations, on a real folder tree.

#include "TestMain.h"

#include <tqservicecode/documents/FileOperations.h>
#include <tqservicecode/documents/FolderRules.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace tqservicecode::documents;

namespace {

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

/// A data folder with WP and Letters folders, and a folder outside it.
struct Tree {
    QTemporaryDir dir;
    QString data = dir.filePath("data");
    QString wp = data + "/WP";
    QString letters = wp + "/Letters";
    QString outside = dir.filePath("outside");
    Tree() {
        QDir().mkpath(letters);
        QDir().mkpath(outside);
        writeFile(outside + "/secret.txt", "secret");
    }
};

}  // namespace

class DocumentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { setFaultHook({}); }

    void foldersOffered_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("excluded");
        QTest::addColumn<bool>("protectedFolder");
        QTest::newRow("data folder") << "" << false << true;
        QTest::newRow("Temp") << "Temp" << true << true;
        QTest::newRow("below stp") << "stp/old" << true << true;
        QTest::newRow("policy") << "POLICY" << true << false;
        QTest::newRow("WP") << "WP" << false << false;
        QTest::newRow("WP\\Letters") << "WP\\Letters" << false << false;
        QTest::newRow("WP/Labels") << "WP/Labels" << true << true;
        QTest::newRow("wp/modified") << "wp/modified" << true << false;
        QTest::newRow("Letters/Labels") << "Letters/Labels" << false << false;
        QTest::newRow("TempFiles") << "TempFiles" << false << false;
        QTest::newRow("outside") << "../Temp" << false << false;
    }
    void foldersOffered() {
        QFETCH(QString, folder);
        QFETCH(bool, excluded);
        QFETCH(bool, protectedFolder);
        const QString data = "/srv/practice/";
        QCOMPARE(isExcludedFolder(data, data + folder), excluded);
        QCOMPARE(isProtectedFolder(data, data + folder), protectedFolder);
    }

    void namesAndNumbers() {
        for (const char* bad :
             {"a:b", "a/b", "a\\b", "a*", "a?", "it's", "<a", "a>", "a|b", "\"a\""}) {
            QVERIFY2(!Check_File_Name(bad), bad);
        }
        QVERIFY(Check_File_Name("Recall letter (2) é Письмо.rtf"));
        QCOMPARE(newFolderName([](const QString& n) { return n == "NewFld1" || n == "NewFld2"; }),
                 QString("NewFld3"));
        QCOMPARE(newFolderName([](const QString&) { return true; }), QString());
        QCOMPARE(detailLine("a.rtf", "Recall", QDateTime(QDate(2024, 3, 7), QTime(9, 5))),
                 QString("File: a.rtf  -  Title: Recall  -  Modified: 03/07/2024 9:5"));
    }

    void craftedNamesCannotLeaveTheDataFolder() {
        Tree t;
        QVERIFY(QFile::link(t.outside + "/secret.txt", t.wp + "/link.txt"));
        QVERIFY(QFile::link(t.outside, t.wp + "/outlink"));
        for (const QString& name :
             {QString(".."), QString("../x.rtf"), QString("/etc/passwd"), QString("a/b"),
              QString("a\\b"), QString("link.txt"), QString("")}) {
            QVERIFY2(pathInside(t.data, t.wp, name).isEmpty(), qPrintable(name));
        }
        QVERIFY(pathInside(t.data, t.wp + "/outlink", "secret.txt").isEmpty());
        QVERIFY(pathInside(t.data, t.outside, "secret.txt").isEmpty());
        QVERIFY(!folderInside(t.data, t.wp + "/outlink"));
        QCOMPARE(pathInside(t.data, t.wp, "Zoë's \"letter\".rtf"), t.wp + "/Zoë's \"letter\".rtf");
    }

    void moveNeverLosesAFile_data() {
        QTest::addColumn<QString>("failAt");
        QTest::addColumn<bool>("targetExists");
        QTest::newRow("moved") << "" << false;
        QTest::newRow("overwritten") << "" << true;
        QTest::newRow("copy fails") << "copy" << false;
        QTest::newRow("replace fails") << "replace" << true;
        QTest::newRow("source stays") << "remove source" << false;
        QTest::newRow("source stays, target replaced") << "remove source" << true;
    }
    void moveNeverLosesAFile() {
        QFETCH(QString, failAt);
        QFETCH(bool, targetExists);
        Tree t;
        const QString source = t.wp + "/Письмо \"recall\" 1.rtf";
        const QString target = t.letters + "/Письмо \"recall\" 1.rtf";
        QVERIFY(writeFile(source, "new letter"));
        if (targetExists) {
            QVERIFY(writeFile(target, "old letter"));
        }
        setFaultHook([&](const QString& step) { return step == failAt; });
        const FileResult result = moveFile(source, target, targetExists);
        QCOMPARE(result.ok, failAt.isEmpty());
        if (failAt.isEmpty()) {
            QVERIFY(!QFile::exists(source));
            QCOMPARE(content(target), QByteArray("new letter"));
        } else {
            QVERIFY(result.code != 0 && !result.text.isEmpty());
            QCOMPARE(content(source), QByteArray("new letter"));
            const QByteArray expected = failAt == "remove source" && targetExists ? "new letter"
                                        : targetExists                            ? "old letter"
                                                                                  : "<missing>";
            QCOMPARE(content(target), expected);
        }
        QCOMPARE(QDir(t.letters).entryList(QDir::Files | QDir::Hidden).size(),
                 content(target) == "<missing>" ? 0 : 1);  // no temporary copy left behind
    }

    void foldersAndHiddenFiles() {
        Tree t;
        QVERIFY(writeFile(t.wp + "/.hidden.rtf", "h"));
        QCOMPARE(protectedAttributes(t.wp + "/.hidden.rtf"), QString(", hidden file"));
        QVERIFY(writeFile(t.wp + "/plain.rtf", "p"));
        QCOMPARE(protectedAttributes(t.wp + "/plain.rtf"), QString());

        QVERIFY(createFolder(t.letters + "/Old/Older").ok == false);  // parent missing
        QVERIFY(createFolder(t.letters + "/Old").ok);
        QVERIFY(createFolder(t.letters + "/Old/Older").ok);
        QVERIFY(!createFolder(t.letters + "/Old").ok);
        QVERIFY(writeFile(t.letters + "/Old/Older/keep.rtf", "k"));
        QVERIFY(!removeFolder(t.letters + "/Old").ok);
        QCOMPARE(content(t.letters + "/Old/Older/keep.rtf"), QByteArray("k"));
        QVERIFY(QFile::remove(t.letters + "/Old/Older/keep.rtf"));
        QVERIFY(removeFolder(t.letters + "/Old").ok);
        QVERIFY(!QFileInfo::exists(t.letters + "/Old"));
    }
};

TQ_TEST_MAIN(DocumentFilesTest)
#include "tst_documentfiles.moc"
