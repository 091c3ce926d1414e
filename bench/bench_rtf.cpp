// The host's RTF reader on hard letters (a 600 KB letter full of formatting, one paragraph
// with 4,000 and with 16,000 bold toggles, 600 KB in one paragraph, a letter under an 8 MB
// picture, an 8 MB file of empty paragraphs), beside a plain read of the same bytes; then the
// document picker's longest event-loop block while it lists the letters with their titles
// and previews each, beside the 100 ms goal.
#include "TestDatabase.h"

#include <src/RtfReader.h>
#include <src/WordProcessor.h>

#include <tqhost/Host.h>
#include <tqservicecode/clsServiceCode.h>
#include <tqservicecode/documents/FileGrid.h>
#include <tqservicecode/documents/FileSearch.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>

#include "BenchRun.h"

namespace {

struct Letter {
    const char* label;
    QString file;
    QByteArray bytes;
};

QByteArray header(const char* title) {
    return QByteArray("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\info{\\title ") + title +
           "}}\\f0\\fs24 ";
}

/// Ten paragraphs of about 60 KB, a format change every few words.
QByteArray formattedLetter() {
    QByteArray rtf = header("Long letter");
    const QByteArray words =
        "Dear patient, \\b please\\b0  bring \\i your card\\i0  and \\ul the form\\ulnone  "
        "\\fs28 signed\\fs24 . ";
    while (rtf.size() < 600 * 1024) {
        for (int i = 0; i < 60 * 1024 / words.size(); ++i) {
            rtf += words;
        }
        rtf += "\\par\r\n";
    }
    return rtf + '}';
}

/// One paragraph of toggles bold changes (linear growth: 4x the toggles, 4x the time).
QByteArray boldToggles(int toggles) {
    QByteArray rtf = header("Toggles");
    for (int i = 0; i < toggles / 2; ++i) {
        rtf += "a\\b b\\b0 ";
    }
    return rtf + "\\par}";
}

/// 600 KB of words in one paragraph, no format change.
QByteArray onePlainParagraph() {
    QByteArray rtf = header("One paragraph");
    while (rtf.size() < 600 * 1024) {
        rtf += "Please bring your card and the signed form. ";
    }
    return rtf + "\\par}";
}

/// A letter under an 8 MB picture (a scanned letterhead), as hex digits.
QByteArray letterUnderPicture() {
    QByteArray rtf = header("Letterhead") + "{\\pict\\pngblip ";
    rtf += QByteArray("89504e470d0a1a0a").repeated(8'000'000 / 16);
    return rtf + "}Dear patient,\\par}";
}

QByteArray emptyParagraphs() {
    QByteArray rtf = header("Empty paragraphs");
    while (rtf.size() < 8'000'000) {
        rtf += "\\par\r\n";
    }
    return rtf + '}';
}

double bestMs(const std::function<void()>& action) {
    const int runs = qEnvironmentVariableIsSet("TQ_BENCH_RUNS")
                         ? qEnvironmentVariableIntValue("TQ_BENCH_RUNS")
                         : 3;
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        action();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

/// The baseline: the file read and every byte looked at once.
double plainReadMs(const QString& path) {
    return bestMs([&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        volatile int braces = int(std::count(bytes.begin(), bytes.end(), '{'));
        (void)braces;
    });
}

void readerFigures(const std::vector<Letter>& letters) {
    std::printf("%-22s | %9s | %11s %7s | %9s | %11s %7s\n", "letter", "read ms", "document ms",
                "x read", "title ms", "preview ms", "x read");
    for (const Letter& letter : letters) {
        const double read = plainReadMs(letter.file);
        const double document = bestMs([&] {
            QTextDocument doc;
            tqhost::Internal::readRtf(letter.bytes, doc);
        });
        const double title = bestMs([&] {
            QFile file(letter.file);
            file.open(QIODevice::ReadOnly);
            (void)tqhost::Internal::readRtfInfo(file.readAll());
        });
        // The preview as the picker drives the host's word processor.
        const double preview = bestMs([&] {
            tqhost::Internal::WordProcessor wp(8 * 1024 * 1024);
            QTextDocument target;
            wp.Call("InitNewDoc");
            wp.Call("LoadDoc", {letter.file});
            wp.Call("SelectAll");
            wp.SetProperty("Font", QVariantMap{{"Name", "Arial"}, {"Size", 10}});
            wp.Call("CopyData", {QVariant::fromValue<QObject*>(&target)});
            wp.Call("Clear");
        });
        std::printf("%-22s | %9.2f | %11.1f %6.0fx | %9.2f | %11.1f %6.0fx\n", letter.label, read,
                    document, document / read, title, preview, preview / read);
    }
}

void pickerFigures(const tqtest::TestDatabase& db, const std::vector<Letter>& letters) {
    auto host = tqhost::createHost(db.url(), db.dataPath(), "bench");
    tqservicecode::clsServiceCode component;
    component.setGIC(host);
    const QString folder = QDir(db.dataPath()).filePath("WP/Letters");
    QDir().mkpath(folder);
    for (const Letter& letter : letters) {
        QFile::copy(letter.file, QDir(folder).filePath(QFileInfo(letter.file).fileName()));
    }
    tqservicecode::FileSearch picker;
    picker.setFilePattern("*.rtf");
    picker.setDirPath("WP\\Letters");
    picker.setInitialParm(true);
    picker.resize(900, 600);
    const double listing = tqbench::longestBlockMs([&] { picker.show(); },
                                                   [&] { return picker.detailTag() == "STOP"; });
    auto* grid = picker.findChild<tqservicecode::FileGrid*>("TDBG");
    std::printf(
        "\nDocument picker on these letters (SQLite settings), longest event-loop "
        "block, goal 100 ms:\n%-22s | %9.1f ms\n",
        "listing with titles", listing);
    for (int row = 0; row < grid->rowCount(); ++row) {
        const double preview = tqbench::longestBlockMs([&] { grid->selectFileRow(row); });
        std::printf("preview %-14s | %9.1f ms\n", qPrintable(grid->row(row).name), preview);
    }
    picker.reject();
    component.setGIC(nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    tqbench::prepareProcess();
    QApplication app(argc, argv);
    tqbench::prepareApplication();
    std::printf(
        "RTF letters, best of 3. read: the file read and scanned once (the baseline); "
        "document: the whole letter built as a document; title: the title read from "
        "the file; preview: the host's word processor loading the letter and copying "
        "it into a preview.\n");
    QTemporaryDir dir;
    std::vector<Letter> letters = {
        {"600 KB formatted", dir.filePath("formatted.rtf"), formattedLetter()},
        {"4,000 bold toggles", dir.filePath("toggles.rtf"), boldToggles(4000)},
        {"16,000 bold toggles", dir.filePath("toggles16.rtf"), boldToggles(16000)},
        {"600 KB one paragraph", dir.filePath("paragraph.rtf"), onePlainParagraph()},
        {"8 MB picture", dir.filePath("picture.rtf"), letterUnderPicture()},
        {"8 MB empty paragraphs", dir.filePath("empty.rtf"), emptyParagraphs()}};
    for (const Letter& letter : letters) {
        QFile file(letter.file);
        if (!file.open(QIODevice::WriteOnly) || file.write(letter.bytes) != letter.bytes.size()) {
            std::printf("cannot write %s\n", qPrintable(letter.file));
            return 1;
        }
    }
    readerFigures(letters);
    qputenv("TQ_TEST_DB", "sqlite");
    tqtest::TestDatabase db;
    if (db.available()) {
        pickerFigures(db, letters);
    } else {
        std::printf("\npicker: skipped (%s)\n", qPrintable(db.unavailableReason()));
    }
    return 0;
}
