#include "PrinterSystem.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace tqservicecode {

namespace {

class QtPrinterSystem : public PrinterSystem {
public:
    QStringList printerNames() override { return QPrinterInfo::availablePrinterNames(); }
    QString defaultPrinterName() override { return QPrinterInfo::defaultPrinterName(); }
    bool isReady(const QString& name) override {
        const QPrinterInfo info = QPrinterInfo::printerInfo(name);
        // CUPS reports a stopped or failed queue as an error or an aborted job.
        return !info.isNull() && info.state() != QPrinter::Error &&
               info.state() != QPrinter::Aborted;
    }
    void select(QPrinter& printer, const QString& name) override {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(name);
    }
};

QtPrinterSystem& realSystem() {
    static QtPrinterSystem system;
    return system;
}

PrinterSystem* g_installed = nullptr;
QString g_selectedPrinter;

}  // namespace

PrinterSystem& printerSystem() {
    return g_installed ? *g_installed : realSystem();
}

PrinterSystem* installPrinterSystem(PrinterSystem* system) {
    PrinterSystem* previous = g_installed;
    g_installed = system;
    return previous;
}

QString selectedPrinterName() {
    return g_selectedPrinter;
}

void setSelectedPrinterName(const QString& name) {
    g_selectedPrinter = name.trimmed();
}

}  // namespace tqservicecode
