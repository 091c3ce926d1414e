#include "GridFixture.h"
#include "TestMain.h"

#include <tqservicecode/grid/GridPrint.h>
#include <tqservicecode/grid/PrinterSystem.h>
#include <tqservicecode/grid/RecordGrid.h>

#include <tqplatform/ScriptedUi.h>

#include <QFile>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

using namespace tqservicecode;

namespace {

/// Printers as a test wants them; a printer chosen prints to a PDF file.
struct FakePrinters : PrinterSystem {
    QStringList names;
    QString defaultName;
    QStringList notReady;
    QString pdfPath;
    QString selected;
    FakePrinters(const QStringList& names, const QString& defaultName, const QString& pdfPath = {})
        : names(names), defaultName(defaultName), pdfPath(pdfPath) {
        installPrinterSystem(this);
    }
    ~FakePrinters() override { installPrinterSystem(nullptr); }
    QStringList printerNames() override { return names; }
    QString defaultPrinterName() override { return defaultName; }
    bool isReady(const QString& name) override { return !notReady.contains(name); }
    void select(QPrinter& printer, const QString& name) override {
        selected = name;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfPath);
    }
};

/// The text of a PDF's pages, page by page.
QStringList pdfPages(const QString& path) {
    QProcess p;
    p.start("pdftotext", {"-layout", path, "-"});
    p.waitForFinished();
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput()).split(u'\f');
    if (!pages.isEmpty() && pages.back().trimmed().isEmpty()) {
        pages.removeLast();
    }
    return pages;
}

void fillCodes(RecordGrid& grid, int rows) {
    std::vector<std::vector<QVariant>> data;
    for (int i = 1; i <= rows; ++i) {
        data.push_back({QStringLiteral("D%1").arg(i, 4, 10, QChar(u'0')),
                        QStringLiteral("Procedure %1").arg(i), QStringLiteral("%1.00").arg(i)});
    }
    grid.storeRows(std::move(data));
    grid.addColumn(0, {"Code", "Code"});
    grid.addColumn(1, {"Description", "Description", {}, {}, true, true, 4000});
    grid.addColumn(2, {"Fee", "Fee"});
    grid.addColumn(3, {"Hidden", "Hidden", {}, {}, false});
}

}  // namespace

class TestGridPrint : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { tqplatform::ui::setApplicationTitle("Dental Office"); }
    void init() { setSelectedPrinterName({}); }

    void checkPrinter_data() {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QString>("defaultName");
        QTest::addColumn<QString>("configured");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("prompt");
        const auto row = [](const char* name, const QStringList& names, const char* defaultName,
                            const char* configured, const char* title, const QString& prompt) {
            QTest::newRow(name) << names << defaultName << configured << title << prompt;
        };
        row("no printer", {}, "", "", "Printer Not Found",
            "Dental Office was unable to locate a printer for this computer.\r\n\r\nPlease check "
            "the printer to make sure it is turned on and properly connected. Otherwise, verify "
            "that the driver recommended by the manufacturer of your printer has been "
            "installed.\r\n\r\nCode: 482\r\nMessage: No printer is installed.");
        row("no default", {"Laser"}, "", "", "Printer Unavailable",
            "Dental Office was unable to access your system default printer.\r\n\r\nPlease check "
            "the printer to make sure it is turned on and properly connected. Otherwise, verify "
            "that the latest printer driver recommended by the manufacturer of your printer is "
            "installed.");
        row("default cannot be opened", {"Laser"}, "Gone", "", "Printer Unavailable",
            "Dental Office was unable to open your system default printer.\r\n\r\nPlease make "
            "sure your Microsoft Windows login name has been granted 'Print' permissions in the "
            "security tab of the printer properties dialog for this printer. Otherwise, verify "
            "that the latest printer driver recommended by the manufacturer of your printer is "
            "installed.");
        row("configured printer not ready", {"Laser", "Stopped"}, "Laser", " stopped ",
            "Printer not ready",
            "Dental Office was unable to open the printer named Stopped. Please verify that the "
            "printer is turned on and properly connected.");
        row("ready", {"Laser", "Stopped"}, "Laser", "", "", "");
    }
    void checkPrinter() {
        QFETCH(QStringList, names);
        QFETCH(QString, defaultName);
        QFETCH(QString, configured);
        QFETCH(QString, title);
        QFETCH(QString, prompt);
        HostFixture f;
        f.host->setPrinterName(configured);
        FakePrinters printers(names, defaultName);
        printers.notReady = {"Stopped"};
        tqplatform::ScriptedUi ui;
        QCOMPARE(CheckPrinter(), int16_t(prompt.isEmpty() ? 1 : 0));
        QCOMPARE(ui.messages.size(), prompt.isEmpty() ? 0 : 1);
        if (!prompt.isEmpty()) {
            QCOMPARE(ui.messages[0].prompt, prompt);
            QCOMPARE(ui.messages[0].title, title);
            QCOMPARE(ui.messages[0].icon, 64);
        }
    }

    /// Pages printed for real to a PDF printer carry the title, the footer and the rows.
    void printsToPdf() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        HostFixture f;
        f.host->setHostClock(QDateTime(QDate(2026, 3, 4), QTime(14, 5, 7)));
        FakePrinters printers({"PDF"}, "PDF", f.dir.filePath("codes.pdf"));
        RecordGrid grid;
        fillCodes(grid, 150);
        tqplatform::ScriptedUi ui;
        QVERIFY(PrintGrid(grid, "Service Code List"));
        QCOMPARE(printers.selected, "PDF");
        const QStringList pages = pdfPages(printers.pdfPath);
        QVERIFY(pages.size() >= 2);
        for (int p = 0; p < pages.size(); ++p) {
            QVERIFY2(pages[p].contains("Service Code List"), qPrintable(pages[p]));
            QVERIFY(
                pages[p].contains(QStringLiteral("Page: %1 of %2").arg(p + 1).arg(pages.size())));
            QVERIFY(pages[p].contains("Date : 3/4/2026 Time : 02:05 PM"));
            QVERIFY(pages[p].contains("Description") && !pages[p].contains("Hidden"));
        }
        QVERIFY2(pages[0].contains("D0001") && pages.back().contains("D0150"),
                 qPrintable(pages[0].left(600) + pages.back().right(400)));
        QVERIFY(ui.messages.isEmpty());

        // Selected rows only; landscape pages are wider than tall.
        grid.addSelBookmark(99);
        grid.addSelBookmark(4);
        QVERIFY(PrintGrid(grid, "Chosen", 1));
        const QStringList chosen = pdfPages(printers.pdfPath);
        QCOMPARE(chosen.size(), 1);
        QVERIFY(chosen[0].contains("D0005") && chosen[0].contains("D0100"));
        QVERIFY(!chosen[0].contains("D0001") && chosen[0].contains("Page: 1 of 1"));
        QProcess info;
        info.start("pdfinfo", {printers.pdfPath});
        info.waitForFinished();
        const QRegularExpressionMatch size =
            QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+))")
                .match(QString::fromUtf8(info.readAllStandardOutput()));
        QVERIFY(size.hasMatch());
        QVERIFY(size.captured(1).toDouble() > size.captured(2).toDouble());
    }

    void configuredPrinterAndFallback() {
        HostFixture f;
        FakePrinters printers({"Front Desk", "Office Laser"}, "Front Desk",
                              f.dir.filePath("out.pdf"));
        RecordGrid grid;
        fillCodes(grid, 3);
        tqplatform::ScriptedUi ui;
        f.host->setPrinterName("  office laser ");
        QVERIFY(PrintGrid(grid, "List"));
        QCOMPARE(printers.selected, "Office Laser");
        QCOMPARE(selectedPrinterName(), "Office Laser");
        QVERIFY(ui.messages.isEmpty());

        printers.notReady = {"Office Laser"};
        QVERIFY(PrintGrid(grid, "List"));
        QCOMPARE(printers.selected, "Front Desk");
        QCOMPARE(ui.messages.size(), 1);
        QCOMPARE(ui.messages[0].title, "Printing");
        QCOMPARE(ui.messages[0].prompt,
                 "Dental Office was unable to access your selected printer. The default printer "
                 "for this computer will be used instead.");
    }

    /// The preview shows the pages under the title; row colours are left out unless kept.
    void preview() {
        HostFixture f;
        FakePrinters printers({"PDF"}, "PDF", f.dir.filePath("preview.pdf"));
        RecordGrid grid;
        fillCodes(grid, 200);
        int styled = 0;
        grid.setRowStyle([&](int row, tqplatform::Bookmark) {
            ++styled;
            return row % 3 == 0 ? QColor(Qt::blue) : QColor();
        });
        tqplatform::ScriptedUi ui;
        int pages = 0;
        QString caption;
        ui.onShow("PrintPreview", [&](QDialog& dialog) {
            caption = dialog.windowTitle();
            auto* view = dialog.findChild<QPrintPreviewWidget*>();
            view->updatePreview();
            pages = view->pageCount();
        });
        QVERIFY(PrintGrid(grid, "Service Codes", 0, 1, 0));
        QCOMPARE(ui.shownScreens, QStringList{"PrintPreview"});
        QCOMPARE(caption, "Service Codes");
        QVERIFY(pages >= 3);
        QCOMPARE(styled, 0);
        QVERIFY(grid.fetchRowStyle());

        QVERIFY(PrintGrid(grid, "Service Codes", 0, 1, 1));
        QVERIFY(styled > 0);
    }
    void columnsFitThePage() {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()) {
            QSKIP("pdftotext (poppler-utils) is not installed");
        }
        HostFixture f;
        FakePrinters printers({"PDF"}, "PDF", f.dir.filePath("list.pdf"));
        RecordGrid grid;
        grid.storeRows({{"D2740", "CRN", "Crown - porcelain fused to high noble metal", "Pros-Fix",
                         "Crown", 1120, 980},
                        {"D0120", "", "Periodic oral evaluation", "Diag", "Exam", 5, 1234},
                        {"D1110", "PRO", "Prophylaxis - adult", "Prev", "Cleaning", 96, 88}});
        int16_t c = 0;
        for (const char* caption : {"Service Code", "Office Code", "Description", "Category",
                                    "Sub-Category", "Fee 1", "Fee 2"}) {
            // Narrow on screen: the print does not take the screen's widths.
            grid.addColumn(c, {caption, caption, c >= 5 ? "$0.00" : "", {}, true, true, 500});
            ++c;
        }
        tqplatform::ScriptedUi ui;
        QVERIFY(PrintGrid(grid, "Service Code List", 1));
        // Ligatures ("ﬃ") read back as their letters.
        const QString page =
            pdfPages(printers.pdfPath).value(0).normalized(QString::NormalizationForm_KC);
        QFile::copy(printers.pdfPath, qEnvironmentVariable("TQ_PRINT_PDF"));  // to look at
        // Where a text ends on its line, in letters.
        const auto endOf = [&](const QString& text) {
            return QRegularExpression("^(.*" + QRegularExpression::escape(text) + ")",
                                      QRegularExpression::MultilineOption)
                .match(page)
                .capturedLength(1);
        };
        QVERIFY2(QRegularExpression(R"(Service Code +Office Code +Description +Category +)"
                                    R"(Sub-Category +Fee 1 +Fee 2)")
                     .match(page)
                     .hasMatch(),
                 qPrintable(page));
        // A gap between the fees; amounts end on one column; the last one near the page's edge.
        QVERIFY(QRegularExpression(R"(\$1120\.00\s{2,}\$980\.00)").match(page).hasMatch());
        QVERIFY(std::abs(endOf("$1120.00") - endOf("$5.00")) <= 1);
        QVERIFY(std::abs(endOf("$980.00") - endOf("$1234.00")) <= 1);
        QVERIFY(endOf("Fee 2") > endOf("Page: 1 of 1") * 9 / 10);
    }
};

TQ_TEST_MAIN(TestGridPrint)
#include "tst_gridprint.moc"
