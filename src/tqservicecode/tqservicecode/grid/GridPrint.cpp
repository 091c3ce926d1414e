#include "GridPrint.h"

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/grid/PrintTexts.h>
#include <tqservicecode/grid/PrinterSystem.h>
#include <tqservicecode/grid/RecordGrid.h>

#include <tqplatform/ui.h>

#include <QApplication>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tqservicecode {

namespace {

constexpr double MarginInches = 0.25;
constexpr int TitlePoints = 12;

/// What a print of the grid shows, read before the pages are drawn.
struct PrintJob {
    QString title;
    std::vector<int> columns;  // grid column indexes, in display order
    std::vector<int> rows;     // grid rows, in display order
    QFont font;
    bool styles = true;
    QString footerLeft;
};

std::vector<int> rowsToPrint(RecordGrid& tg) {
    std::vector<int> rows;
    if (!tg.selBookmarks().empty()) {
        for (tqplatform::Bookmark b : tg.selBookmarks()) {
            const int row = tg.recordModel()->rowOf(b);
            if (row >= 0) {
                rows.push_back(row);
            }
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // Every row, those not read yet included.
    while (tg.recordModel()->canFetchMore({})) {
        tg.recordModel()->fetchMore({});
    }
    rows.resize(static_cast<size_t>(tg.recordModel()->rowCount()));
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i] = static_cast<int>(i);
    }
    return rows;
}

/// Amounts and other numbers shown through a number format line up on the right.
bool isNumberColumn(const GridColumn& column) {
    return !column.numberFormat.isEmpty() && column.numberFormat != QStringLiteral("Edit Mask");
}

void drawPages(RecordGrid& tg, const PrintJob& job, QPrinter& printer) {
    QPainter painter(&printer);
    if (!painter.isActive()) {
        return;
    }
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    const int width = page.width();
    const int height = page.height();
    QFont titleFont = job.font;
    titleFont.setPointSize(TitlePoints);
    titleFont.setBold(true);
    titleFont.setItalic(false);
    QFont captionFont = job.font;
    captionFont.setBold(true);
    const QFontMetrics bodyMetrics(job.font, &printer);
    const QFontMetrics titleMetrics(titleFont, &printer);
    const int rowHeight = bodyMetrics.height() * 5 / 4;
    const int titleHeight = titleMetrics.height() * 3 / 2;
    const int footerHeight = bodyMetrics.height() * 3 / 2;
    const int bodyTop = titleHeight + rowHeight;
    const int perPage = std::max(1, (height - bodyTop - footerHeight) / rowHeight);
    const int pages = std::max(1, static_cast<int>((job.rows.size() + perPage - 1) / perPage));

    // Columns as wide as their headings and values, a gap of a letter on each side.
    const int pad = bodyMetrics.averageCharWidth();
    const QFontMetrics captionMetrics(captionFont, &printer);
    const int limit = width * 2 / 5;
    std::vector<int> wanted;
    std::vector<int> full;
    std::vector<Qt::Alignment> alignments;
    for (int c : job.columns) {
        const int heading = captionMetrics.horizontalAdvance(tg.column(c).caption);
        int widest = 0;
        for (int row : job.rows) {
            widest =
                std::max(widest, bodyMetrics.horizontalAdvance(tg.recordModel()->cellText(row, c)));
        }
        wanted.push_back(std::max(heading, std::min(widest, limit)) + 2 * pad);
        full.push_back(std::max(heading, widest) + 2 * pad);
        alignments.push_back(isNumberColumn(tg.column(c)) ? Qt::AlignRight : Qt::AlignLeft);
    }
    const std::vector<int> widths = fitColumnWidths(wanted, full, width);
    auto drawCells = [&](int top, auto textOf) {
        int x = 0;
        for (size_t i = 0; i < job.columns.size(); ++i) {
            const QRect cell(x + pad, top, std::max(0, widths[i] - 2 * pad), rowHeight);
            painter.drawText(cell, alignments[i] | Qt::AlignVCenter,
                             painter.fontMetrics().elidedText(textOf(job.columns[i]),
                                                              Qt::ElideRight, cell.width()));
            x += widths[i];
        }
    };

    for (int p = 0; p < pages; ++p) {
        if (p > 0) {
            printer.newPage();
        }
        painter.setPen(Qt::black);
        painter.setFont(titleFont);
        painter.drawText(QRect(0, 0, width, titleHeight), Qt::AlignHCenter | Qt::AlignTop,
                         job.title);
        painter.setFont(captionFont);
        drawCells(titleHeight, [&](int c) { return tg.column(c).caption; });
        painter.drawLine(0, bodyTop - 1, width, bodyTop - 1);
        painter.setFont(job.font);
        const size_t first = static_cast<size_t>(p) * static_cast<size_t>(perPage);
        const size_t last = std::min(job.rows.size(), first + static_cast<size_t>(perPage));
        for (size_t r = first; r < last; ++r) {
            const int row = job.rows[r];
            QColor colour(Qt::black);
            if (job.styles) {
                const QVariant brush = tg.model()->index(row, 0).data(Qt::ForegroundRole);
                if (brush.isValid()) {
                    colour = brush.value<QBrush>().color();
                }
            }
            painter.setPen(colour);
            drawCells(bodyTop + static_cast<int>(r - first) * rowHeight,
                      [&](int c) { return tg.recordModel()->cellText(row, c); });
        }
        painter.setPen(Qt::black);
        const QRect footer(0, height - footerHeight, width, footerHeight);
        painter.drawText(footer, Qt::AlignLeft | Qt::AlignBottom, job.footerLeft);
        painter.drawText(footer, Qt::AlignRight | Qt::AlignBottom,
                         printtext::footerRight(p + 1, pages));
    }
}

PrintJob makeJob(RecordGrid& tg, const QString& title) {
    PrintJob job;
    job.title = title;
    job.columns = tg.visibleColumnsInOrder();
    job.rows = rowsToPrint(tg);
    job.font = tg.font();
    if (job.font.pointSizeF() <= 0) {
        job.font.setPointSizeF(9);
    }
    auto& host = GIC();
    int16_t flag = 0;
    host.GetHostFlag(flag);
    if (host.GetOfficeLocationID() == 2 && flag != 0) {
        job.font.setPointSize(12);
    }
    job.styles = tg.fetchRowStyle();
    job.footerLeft = printtext::footerLeft(host.GetHostDate(), host.GetHostTime());
    return job;
}

/// The printer to print on: the selected one when it is ready, else the default (saying
/// so when a selected printer could not be used). "" when there is none.
QString choosePrinter() {
    ChooseConfiguredPrinter();
    PrinterSystem& system = printerSystem();
    const QString selected = selectedPrinterName();
    if (!selected.isEmpty()) {
        if (system.printerNames().contains(selected) && system.isReady(selected)) {
            return selected;
        }
        tqplatform::ui::msgBox(printtext::selectedUnusable(tqplatform::ui::applicationTitle()),
                               tqplatform::ui::Buttons::Information,
                               printtext::selectedUnusableTitle());
    }
    return system.defaultPrinterName();
}

}  // namespace

void ChooseConfiguredPrinter() {
    const QString wanted = GIC().GetPrinterName().trimmed().toUpper();
    if (wanted.isEmpty()) {
        return;
    }
    for (const QString& name : printerSystem().printerNames()) {
        if (name.trimmed().toUpper() == wanted) {
            setSelectedPrinterName(name);
            return;
        }
    }
}

std::vector<int> fitColumnWidths(const std::vector<int>& wanted, const std::vector<int>& full,
                                 int pageWidth) {
    std::vector<int> widths = wanted;
    if (widths.empty()) {
        return widths;
    }
    const long long total = std::accumulate(widths.begin(), widths.end(), 0LL);
    if (total > pageWidth) {
        for (int& w : widths) {
            w = static_cast<int>(w * static_cast<long long>(pageWidth) / total);
        }
        return widths;
    }
    long long spare = pageWidth - total;
    for (size_t i = 0; i < widths.size() && spare > 0; ++i) {
        const long long more = std::min<long long>(spare, std::max(0, full[i] - widths[i]));
        widths[i] += static_cast<int>(more);
        spare -= more;
    }
    const long long share = spare / static_cast<long long>(widths.size());
    for (int& w : widths) {
        w += static_cast<int>(share);
    }
    return widths;
}

void renderGridPages(RecordGrid& tg, const QString& title, QPrinter& printer) {
    drawPages(tg, makeJob(tg, title), printer);
}

bool PrintGrid(RecordGrid& tg, const QString& title, int16_t landscape, int16_t preview,
               int16_t keepStyles) {
    const QString printerName = choosePrinter();
    if (printerName.isEmpty()) {
        return false;
    }
    const bool styles = tg.fetchRowStyle();
    if (keepStyles == 0) {
        tg.setFetchRowStyle(false);
    }
    struct RestoreStyles {
        RecordGrid& tg;
        bool on;
        ~RestoreStyles() { tg.setFetchRowStyle(on); }
    } restore{tg, styles};

    QPrinter printer(QPrinter::HighResolution);
    printerSystem().select(printer, printerName);
    printer.setDocName(title);
    printer.setPageOrientation(landscape != 0 ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(MarginInches, MarginInches, MarginInches, MarginInches),
                           QPageLayout::Inch);
    const PrintJob job = makeJob(tg, title);
    if (preview == 0) {
        tqplatform::ui::WaitCursor wait;
        drawPages(tg, job, printer);
        return true;
    }
    QPrintPreviewDialog dialog(&printer, tg.window());
    dialog.setObjectName(QStringLiteral("PrintPreview"));
    dialog.setWindowTitle(title);
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        const QSize size(available.width() * 4 / 5, available.height() * 9 / 10);
        dialog.setGeometry(
            QRect(available.center() - QPoint(size.width() / 2, size.height() / 2), size));
    }
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&](QPrinter* target) { drawPages(tg, job, *target); });
    tqplatform::ui::showModal(dialog, tg.window());
    return true;
}

int16_t CheckPrinter() {
    namespace ui = tqplatform::ui;
    ui::WaitCursor wait;
    PrinterSystem& system = printerSystem();
    const QString app = ui::applicationTitle();
    auto fail = [&](const QString& prompt, const QString& title) {
        wait.restore();
        ui::msgBox(prompt, ui::Buttons::Information, title);
        return int16_t(0);
    };
    const QStringList names = system.printerNames();
    if (names.isEmpty()) {
        return fail(printtext::notFound(app, printtext::PrinterErrorNumber,
                                        QStringLiteral("No printer is installed.")),
                    printtext::notFoundTitle());
    }
    const QString defaultName = system.defaultPrinterName();
    if (defaultName.isEmpty()) {
        return fail(printtext::defaultNotAccessible(app), printtext::unavailableTitle());
    }
    if (!names.contains(defaultName)) {
        return fail(printtext::defaultNotOpened(app), printtext::unavailableTitle());
    }
    ChooseConfiguredPrinter();
    const QString name = selectedPrinterName().isEmpty() ? defaultName : selectedPrinterName();
    if (!system.isReady(name)) {
        return fail(printtext::notReady(app, name), printtext::notReadyTitle());
    }
    return 1;
}

}  // namespace tqservicecode
