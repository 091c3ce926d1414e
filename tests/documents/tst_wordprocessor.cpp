// The host's word-processor object and its RTF reader, on letters written as WordPad,
// LibreOffice and the host itself write them.

#include "TestMain.h"

#include <src/RtfReader.h>
#include <src/WordProcessor.h>

#include <tqglobal/Error.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>

using namespace tqhost::Internal;

namespace {

const QByteArray kWordPad =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 "
    "Calibri;}}\r\n{\\*\\generator Riched20 10.0.19041}\\viewkind4\\uc1 \r\n\\pard\\sa200\\sl276"
    "\\slmult1\\f0\\fs22\\lang9 Dear \\b Mar\\'eda\\b0 ,\\par\r\nYour visit costs \\u8364?12.\\par"
    "\r\n}\r\n\0";

const QByteArray kLibreOffice =
    "{\\rtf1\\ansi\\deff4\\adeflang1025\r\n{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New "
    "Roman;}{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}}\r\n{\\colortbl;"
    "\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n{\\stylesheet{\\s0\\snext0\\fs24 "
    "Normal;}{\\*\\cs15\\snext15 Strong;}}\r\n{\\*\\generator LibreOffice/7.4.7.2$Linux_X86_64}"
    "{\\info{\\title Recall reminder}{\\author Front Desk}{\\creatim\\yr2024\\mo3\\dy1\\hr9"
    "\\min5}{\\*\\company Harbor}}{\\*\\userprops{\\propname x}}\\deftab709\r\n{\\*\\pgdsctbl\r\n"
    "{\\pgdsc0\\pgdscuse451 Default Page Style;}}\r\n\\pard\\plain \\s0\\fs28{\\*\\bkmkstart "
    "top}{\\*\\bkmkend top}\\i Hello\\i0  \\ul world\\ulnone\\line second\\tab line\\par\r\n"
    "\\pard\\plain \\uc2 \\u1055\\'3f\\'3f\\u1088\\'3f\\'3f and \\{braces\\} \\\\ done{\\pict"
    "\\pngblip 89504e47}\\par}";

QString blockText(const QTextDocument& doc, int block) {
    return doc.findBlockByNumber(block).text();
}

/// The format of the character at position pos of block.
QTextCharFormat formatAt(const QTextDocument& doc, int block, int pos) {
    QTextCursor cursor(doc.findBlockByNumber(block));
    cursor.setPosition(cursor.position() + pos + 1);
    return cursor.charFormat();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class WordProcessorTest : public QObject {
    Q_OBJECT

private slots:
    void readsTextAndFormatsOfCommonWriters() {
        QTextDocument wordPad;
        RtfInfo info;
        QVERIFY(readRtf(kWordPad, wordPad, &info));
        QCOMPARE(blockText(wordPad, 0), QString("Dear María,"));
        QCOMPARE(blockText(wordPad, 1), QString("Your visit costs \u20AC12."));
        QCOMPARE(info.generator, QString("Riched20 10.0.19041"));
        QVERIFY(info.title.isEmpty());
        QCOMPARE(formatAt(wordPad, 0, 5).fontWeight(), int(QFont::Bold));  // "M"
        QCOMPARE(formatAt(wordPad, 0, 1).fontWeight(), int(QFont::Normal));
        QCOMPARE(formatAt(wordPad, 0, 1).fontPointSize(), 11.0);

        QTextDocument office;
        QVERIFY(readRtf(kLibreOffice, office, &info));
        QCOMPARE(info.title, QString("Recall reminder"));
        QCOMPARE(blockText(office, 0), QString("Hello world\u2028second\tline"));
        QCOMPARE(blockText(office, 1), QString("\u041F\u0440 and {braces} \\ done"));
        QVERIFY(formatAt(office, 0, 0).fontItalic());
        QVERIFY(!formatAt(office, 0, 6).fontItalic());
        QVERIFY(formatAt(office, 0, 7).fontUnderline());
        QCOMPARE(formatAt(office, 0, 0).fontPointSize(), 14.0);
        QVERIFY(!office.toPlainText().contains("Liberation"));  // no header table text
        QVERIFY(!office.toPlainText().contains("Front Desk"));
        QVERIFY(!office.toPlainText().contains("89504e47"));
    }

    void damagedInputEndsCleanly_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<bool>("isRtf");
        QTest::newRow("not rtf") << QByteArray("plain words") << false;
        QTest::newRow("unclosed") << QByteArray("{\\rtf1 {\\b open {\\i deeper") << true;
        QTest::newRow("cut escape") << QByteArray("{\\rtf1 caf\\'e") << true;
        QTest::newRow("extra close") << QByteArray("{\\rtf1 a}}}} b") << true;
        QTest::newRow("bin past end") << QByteArray("{\\rtf1 \\bin99999 x}") << true;
        QTest::newRow("huge number") << QByteArray("{\\rtf1\\fs99999999999 \\u99999999 x}") << true;
    }
    void damagedInputEndsCleanly() {
        QFETCH(QByteArray, rtf);
        QFETCH(bool, isRtf);
        QTextDocument doc;
        QCOMPARE(readRtf(rtf, doc), isRtf);
    }

    void titleIsWrittenBackKeepingTheRest_data() {
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("title replaced") << kLibreOffice;
        QTest::newRow("info without title") << QByteArray("{\\rtf1{\\info{\\author A}}Text\\par}");
        QTest::newRow("no info") << kWordPad;
        QTest::newRow("no tables") << QByteArray("{\\rtf1\\ansi Text\\par}");
    }
    void titleIsWrittenBackKeepingTheRest() {
        QFETCH(QByteArray, rtf);
        const QString title = QString("Ústní hygiena {2} \\ \u20AC");
        const QByteArray changed = rtfWithTitle(rtf, title);
        QTextDocument before, after;
        RtfInfo info;
        readRtf(rtf, before);
        QVERIFY(readRtf(changed, after, &info));
        QCOMPARE(info.title, title);
        QCOMPARE(after.toPlainText(), before.toPlainText());
        QCOMPARE(readRtfInfo(rtfWithTitle(changed, "Second")).title, QString("Second"));
    }

    void objectDrivenByName() {
        QTemporaryDir dir;
        const QString letter = dir.filePath("recall letter é.rtf");
        const QString text = dir.filePath("note.txt");
        QVERIFY(writeFile(letter, kLibreOffice));
        QVERIFY(writeFile(text, "Zo\xC3\xAB called.\nTwo lines."));
        WordProcessor wp(1024 * 1024);
        QTextDocument target;
        QObject* targetObject = &target;
        WordProcessor small(kLibreOffice.size() - 1);  // too large for it: the title only
        QVERIFY(small.Call("LoadDoc", {letter}).toBool());
        QCOMPARE(small.Property("TITLE").toString(), QString("Recall reminder"));
        small.Call("SelectAll");
        QVERIFY(!small.Call("CopyData", {QVariant::fromValue(targetObject)}).toBool());

        wp.Call("InitNewDoc");
        QVERIFY(wp.Call("LoadDoc", {letter}).toBool());
        QCOMPARE(wp.Property("TITLE").toString(), QString("Recall reminder"));
        wp.SetProperty("ReadOnly", true);
        wp.Call("SelectAll");
        wp.SetProperty("Font", QVariantMap{{"Name", "Arial"}, {"Size", 10}});
        QVERIFY(wp.Call("CopyData", {QVariant::fromValue(targetObject)}).toBool());
        QVERIFY(target.toPlainText().startsWith("Hello world"));
        QCOMPARE(formatAt(target, 0, 1).fontPointSize(), 10.0);
        QVERIFY(formatAt(target, 0, 1).fontItalic());  // the letter's own emphasis stays
        wp.SetProperty("TITLE", "New title");
        QVERIFY(!wp.Call("SaveDoc").toBool());  // read only

        QVERIFY(wp.Call("LoadDoc", {letter}).toBool());
        wp.SetProperty("TITLE", "New title");
        QVERIFY(wp.Call("SaveDoc").toBool());
        QVERIFY(wp.Call("LoadDoc", {letter}).toBool());
        QCOMPARE(wp.Property("TITLE").toString(), QString("New title"));

        QVERIFY(wp.Call("LoadDoc", {text}).toBool());
        wp.Call("SelectAll");
        QVERIFY(wp.Call("CopyData", {QVariant::fromValue(targetObject)}).toBool());
        QCOMPARE(target.toPlainText(), QString("Zo\u00EB called.\nTwo lines."));
        QVERIFY(!wp.Call("SaveDoc").toBool());  // plain text has no title to write

        QVERIFY(!wp.Call("LoadDoc", {dir.filePath("missing.rtf")}).toBool());
        QVERIFY_THROWS_EXCEPTION(tqGlobal::Error, wp.Call("Print"));
        QVERIFY_THROWS_EXCEPTION(tqGlobal::Error, wp.SetProperty("Colour", 1));
    }

    void longLettersAreReadInTimeAndPreviewedInPart_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("characters");
        QTest::addColumn<int>("paragraphs");
        QTest::newRow("16,000 bold toggles in a paragraph")
            << QByteArray("a\\b b\\b0 ").repeated(8000) << 16000 << 1;
        QTest::newRow("200,000 empty paragraphs")
            << QByteArray("\\par\r\n").repeated(200000) << 0 << 200001;
        QTest::newRow("100,000 characters") << QByteArray("abcd ").repeated(20000) << 100000 << 1;
    }
    void longLettersAreReadInTimeAndPreviewedInPart() {
        QFETCH(QByteArray, body);
        QFETCH(int, characters);
        QFETCH(int, paragraphs);
        const QByteArray rtf = "{\\rtf1{\\info{\\title Long}}" + body + "}";
        QTextDocument doc;
        QElapsedTimer clock;
        clock.start();
        QVERIFY(readRtf(rtf, doc));
        QVERIFY2(clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(doc.characterCount() - doc.blockCount(), characters);
        QCOMPARE(doc.blockCount(), paragraphs);
        QVERIFY(!doc.isUndoAvailable());  // a letter just read keeps no undo steps

        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath("long.rtf"), rtf));
        QVERIFY(writeFile(dir.filePath("long.txt"), body));  // as plain text too
        WordProcessor wp(64 * 1024 * 1024);
        const RtfLimits limits = WordProcessor::previewLimits();
        for (const char* file : {"long.rtf", "long.txt"}) {
            QVERIFY(wp.Call("LoadDoc", {dir.filePath(file)}).toBool());
            wp.Call("SelectAll");
            QTextDocument preview;
            QVERIFY(wp.Call("CopyData", {QVariant::fromValue<QObject*>(&preview)}).toBool());
            QCOMPARE(preview.lastBlock().text(), QString("[...]"));
            QVERIFY(preview.blockCount() <= limits.paragraphs + 1);
            QVERIFY(preview.characterCount() <= limits.characters + 100);
            QVERIFY(preview.firstBlock().textFormats().size() <= limits.formatChanges + 1);
        }
        QVERIFY(wp.Call("LoadDoc", {dir.filePath("long.rtf")}).toBool());
        QCOMPARE(wp.Property("TITLE").toString(), QString("Long"));
    }
};

TQ_TEST_MAIN(WordProcessorTest)
#include "tst_wordprocessor.moc"
