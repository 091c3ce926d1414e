#include <tqservicecode/codes/ServiceCodeStore.h>

#include <tqservicecode/codes/ServiceCodeRows.h>
#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/reference/CodeSearchLauncher.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ui.h>

namespace tqservicecode {

namespace {

const QString CR = QStringLiteral("\r");
const QString ReservedCheckMode = QStringLiteral("Manual");

/// One lookup on a column, of a value the host quotes (quote) or of a bare number. A
/// failing statement counts as no row, and so does a value the host cannot quote (a NUL
/// in it): no row holds such a code.
tqplatform::Recordset lookup(const QString& column, const QString& value, bool quote) {
    tqGlobal::IHostServices& gic = GIC();
    try {
        const QString sql = QStringLiteral("SELECT * FROM SevCodTable WHERE ") +
                            gic.GetScopeFilter(QStringLiteral("SevCodTable")) + column +
                            QStringLiteral("=") + (quote ? gic.SqlText(value) : value) +
                            QStringLiteral(";");
        return gic.GetConnection().OpenRecordset(gic.TranslateSql(sql, 0));
    } catch (const tqGlobal::Error& error) {
        // A lost or closed connection is no answer about the code: the caller hears of it.
        if (error.number() == tqplatform::Connection::ConnectionLost ||
            error.number() == tqplatform::Connection::ConnectionClosed) {
            throw;
        }
        return {};
    }
}

bool hasRows(const tqplatform::Recordset& rows) {
    return rows.isOpen() && rows.RecordCount() > 0;
}

/// Whether the rows a lookup answered are the code: any row, or with the search window
/// allowed exactly one (several rows are for the user to choose between).
bool counts(const tqplatform::Recordset& rows, bool allowSearch) {
    return hasRows(rows) && (!allowSearch || rows.RecordCount() == 1);
}

/// The three lookups of a code: as code, office code, insurance code. The first that
/// answers any row ends the chain, so that a code on several rows is never taken for
/// another code's alias.
tqplatform::Recordset lookupByCode(const QString& code) {
    for (const QString& column : {QStringLiteral("SevCodCod"), QStringLiteral("SevCodOffCod"),
                                  QStringLiteral("SevCodInsCod")}) {
        tqplatform::Recordset rows = lookup(column, code, true);
        if (hasRows(rows)) {
            return rows;
        }
    }
    return {};
}

/// The forms users type for procedure codes: fewer than five characters are padded with
/// zeros (and take the "D" of the dental codes when the practice uses it); a five
/// character "D" code is retried with "0". Answers "" when the code has no other form.
QString shortFormOf(const QString& code, bool useDPrefix) {
    if (code.size() < 5) {
        QString padded = code.rightJustified(5, QLatin1Char('0'));
        if (useDPrefix) {
            padded[0] = QLatin1Char('D');
        }
        return padded;
    }
    if (code.size() == 5 && useDPrefix && code.startsWith(QLatin1Char('D'))) {
        return QLatin1Char('0') + code.mid(1);
    }
    return {};
}

/// The rows of a code: by id, or as typed and then each changed form in turn (at most
/// three lookups in all); the short forms apply only when nothing at all was found.
tqplatform::Recordset findRows(const QString& code, bool byID) {
    if (byID) {
        return lookup(QStringLiteral("SevCodID"), QString::number(code.toLongLong()), false);
    }
    const bool useDPrefix = GIC().UseCdtDPrefix();
    for (QString form = code; !form.isEmpty(); form = shortFormOf(form, useDPrefix)) {
        tqplatform::Recordset rows = lookupByCode(form);
        if (hasRows(rows)) {
            return rows;
        }
    }
    return {};
}

QString creditCodeLine(const ServiceCodeRecord& record) {
    return CR + CR + QString(8, QLatin1Char(' ')) + record.code() + QStringLiteral(" - ") +
           record.description() + CR + CR;
}

/// The rules a credit must meet before it can be entered; shows why it cannot.
bool creditMayBeEntered(const ServiceCodeRecord& record) {
    const QString editHint =
        QStringLiteral("Please edit this code in the Edit Service Code screen.");
    if (record.category().isEmpty()) {
        QString message = QStringLiteral("The following credit code must be categorized") +
                          QStringLiteral(" before it can be entered.") + creditCodeLine(record);
        if (record.subCategory().isEmpty()) {
            message += QStringLiteral("Also, for proper tracking in reports, ") +
                       QStringLiteral("this credit should be sub-categorized.") + CR + CR;
        }
        tqplatform::ui::msgBox(message + editHint, tqplatform::ui::Buttons::OkOnly);
        return false;
    }
    if (record.category().toUpper() == QStringLiteral("PAT. PAY") &&
        record.subCategory().isEmpty()) {
        tqplatform::ui::msgBox(QStringLiteral("The following credit code must be Sub-categorized") +
                                   QStringLiteral(" before it can be entered.") +
                                   creditCodeLine(record) + editHint,
                               tqplatform::ui::Buttons::OkOnly);
        return false;
    }
    return true;
}

void applyReadRules(ServiceCodeRecord& record) {
    if (GIC().InsurancePaymentsAsChecks() &&
        record.SevCodCat.toUpper().contains(QStringLiteral(". INS."))) {
        record.setCategory(QStringLiteral("Pat. Pay"));
        record.setSubCategory(QStringLiteral("Check"));
    }
    for (tqplatform::Currency* fee :
         {&record.SevCodFee1, &record.SevCodFee2, &record.SevCodFee3, &record.SevCodFee4}) {
        if (fee->isNegative()) {
            *fee = tqplatform::Currency();
        }
    }
}

/// Everything from the first "*TM*" on is an internal note, never shown.
void dropTrademarkNote(ServiceCodeRecord& record) {
    const int marker = record.SevCodDes.toUpper().indexOf(QStringLiteral("*TM*"));
    if (marker >= 0) {
        record.setDescription(record.SevCodDes.left(marker));
    }
}

ServiceCodeRecord pseudoCodeRecord(const QString& code) {
    ServiceCodeRecord record = ServiceCodeRecord::defaults();
    const QString upper = code.trimmed().toUpper();
    record.setCode(upper);
    record.setBillable(QStringLiteral("N"));
    if (upper == QStringLiteral("CRDE~")) {
        record.setType(TypeCredit);
        record.setDescription(QStringLiteral("Electronic Credit Card Process"));
        record.setCategory(QStringLiteral("Pat. Pay"));
        record.setSubCategory(QStringLiteral("CreditCrdE"));
        record.setCursorStops(QStringLiteral("YNNNYYNNN"));
    } else if (upper == QStringLiteral("LAB~")) {
        record.setType(TypeAdminProgram);
        record.setDescription(QStringLiteral("Laboratory Case"));
        record.setCategory(QStringLiteral("Pat. Mgmt"));
    } else if (upper == QStringLiteral("RX~")) {
        record.setType(TypeAdminProgram);
        record.setDescription(QStringLiteral("Prescription"));
        record.setCategory(QStringLiteral("Silent"));
    } else {
        record.setType(TypeAdminProgram);
        record.setDescription(QStringLiteral("PSR"));
        record.setCategory(QStringLiteral("Silent"));
    }
    return record;
}

}  // namespace

bool FindServiceCode(const QString& code, ServiceCodeRecord& record, bool allowSearch, bool& byID,
                     int32_t searchArg1, int32_t searchArg2, bool skipReservedCheck) {
    record.clear();
    QString wanted = code.trimmed();
    if (wanted.isEmpty() || (byID && wanted.toLongLong() == 0)) {
        return false;
    }
    for (;;) {
        tqplatform::Recordset rows = findRows(wanted, byID);
        if (counts(rows, allowSearch)) {
            readServiceCodeRecord(rows, record);
            if (!skipReservedCheck && IsProgramDefinedCode(record.SevCodCod, ReservedCheckMode)) {
                record.clear();
                return false;
            }
            applyReadRules(record);
            if (record.typeNumber() == 2 && !creditMayBeEntered(record)) {
                record.clear();
                return false;
            }
            dropTrademarkNote(record);
            return true;
        }
        if (byID) {
            return false;
        }
        if (isPseudoCode(wanted)) {
            record = pseudoCodeRecord(wanted);
            SaveProgramCode(record);
            return true;
        }
        if (!allowSearch) {
            return false;
        }
        const int32_t chosen = searchServiceCode(wanted, searchArg1, searchArg2);
        if (chosen == 0) {
            return false;
        }
        byID = true;
        wanted = QString::number(chosen);
    }
}

bool FindServiceCodeByID(int32_t id, ServiceCodeRecord& record) {
    bool byID = true;
    return FindServiceCode(QString::number(id), record, false, byID, 0, 0, false);
}

bool FindServiceCodeByCode(const QString& code, ServiceCodeRecord& record) {
    bool byID = false;
    return FindServiceCode(code, record, false, byID, 0, 0, false);
}

bool CountCodeRows(const QString& code, bool wantNone, bool includeAliases, int16_t expected) {
    tqGlobal::IHostServices& gic = GIC();
    const QString quoted = gic.SqlText(code);
    QString match = QStringLiteral("SevCodCod=") + quoted;
    if (includeAliases) {
        // In brackets, so that the scope before them limits every alternative.
        match = QLatin1Char('(') + match + QStringLiteral(" or SevCodOffCod=") + quoted +
                QStringLiteral(" or SevCodInsCod=") + quoted + QLatin1Char(')');
    }
    const QString sql = QStringLiteral("Select count(*) from SevCodTable WHERE ") +
                        gic.GetScopeFilter(QStringLiteral("SevCodTable")) + match;
    tqplatform::Recordset rows = gic.GetConnection().OpenRecordset(gic.TranslateSql(sql, 0));
    const qint64 count = rows.Eof() ? 0 : rows.Fields(0).toLongLong();
    if (wantNone) {
        return count == 0;
    }
    return expected >= 0 ? count == expected : count <= 1;
}

void SaveProgramCode(ServiceCodeRecord& record) {
    if (record.code().isEmpty()) {
        return;
    }
    tqGlobal::IHostServices& gic = GIC();
    int32_t key = 0;
    try {
        const QString sql = QStringLiteral("SELECT SevCodID FROM SevCodTable WHERE ") +
                            gic.GetScopeFilter(QStringLiteral("SevCodTable")) +
                            QStringLiteral("SevCodCod=") + gic.SqlText(record.code()) +
                            QStringLiteral(";");
        tqplatform::Recordset rows = gic.GetConnection().OpenRecordset(gic.TranslateSql(sql, 0));
        if (!rows.Eof()) {
            key = rows.Fields(0).toInt();
        }
        QStringList names;
        QStringList values;
        if (key == 0) {
            names << QStringLiteral("OffLocID");
            values << QString::number(gic.GetOfficeLocationID());
        }
        appendServiceCodeColumns(record, names, values);
        int16_t success = 0;
        gic.SaveRecord(1, QStringLiteral("SevCodTable"), QStringLiteral("SevCodID"), key, names,
                       values, true, success);
        if (success != 0) {
            record.SevCodID = key;
        }
    } catch (const tqGlobal::Error&) {
        // A failed save leaves the record unstored (SevCodID stays as it was: 0 for a new
        // pseudo-code); the host has already said why.
    }
}

bool IsProgramDefinedCode(const QString& code, const QString& mode) {
    if (!ReservedCodeList.contains(QLatin1Char('\'') + code.trimmed().toUpper() +
                                   QLatin1Char('\''))) {
        return false;
    }
    const QString which = mode.trimmed().toUpper();
    QString message;
    if (which == QStringLiteral("MANUAL")) {
        message = QStringLiteral("This is a program-defined code and cannot be entered manually.");
    } else if (which == QStringLiteral("DUPE")) {
        message =
            QStringLiteral("This program-defined code already exists in Service Codes and cannot") +
            CR + QStringLiteral("be duplicated.  Please enter a different name in the Code field.");
    } else if (which == QStringLiteral("DELETE")) {
        message = QStringLiteral("This program-defined code cannot be deleted.");
    }
    if (!message.isEmpty()) {
        tqplatform::ui::msgBox(message, tqplatform::ui::Buttons::Information);
    }
    return true;
}

}  // namespace tqservicecode
