#pragma once

#include <QString>
#include <QStringList>

class QPrinter;

namespace tqservicecode {

/// The system's printers, as printing sees them. The real one asks Qt's print support
/// (CUPS on Linux); tests install one that presents no printer, a printer that is not
/// ready, or a PDF printer.
class PrinterSystem {
public:
    virtual ~PrinterSystem() = default;
    /// The device names of the installed printers.
    virtual QStringList printerNames() = 0;
    /// The system's default printer; "" when none is set.
    virtual QString defaultPrinterName() = 0;
    /// Whether the printer can be opened and is ready to print.
    virtual bool isReady(const QString& name) = 0;
    /// Points printer at the named printer.
    virtual void select(QPrinter& printer, const QString& name) = 0;
};

/// The printer system in use.
PrinterSystem& printerSystem();
/// Installs a printer system (nullptr restores the real one); answers the previous one.
PrinterSystem* installPrinterSystem(PrinterSystem* system);

/// The printer the user chose in the host, as the printing routines share it (trimmed;
/// "" for the system's default).
QString selectedPrinterName();
void setSelectedPrinterName(const QString& name);

}  // namespace tqservicecode
