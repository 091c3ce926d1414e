#pragma once

#include <tqglobal/HostObject.h>
#include <tqglobal/IFeeChangeDialog.h>

#include <QDate>
#include <QList>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTime>
#include <QVariant>

#include <cstdint>
#include <memory>

class QWidget;

namespace tqplatform {
class Connection;
class Recordset;
}  // namespace tqplatform

namespace tqGlobal {

/// The host's please-wait window: shows an HTML text at a place on the screen.
class IBusyMessageControl {
public:
    virtual ~IBusyMessageControl() = default;
    /// Shows or updates the message; geometry is in screen pixels.
    virtual void showMessage(const QString& html, const QRect& geometry, int major, int minor,
                             int revision) = 0;
    virtual void closeMessage() = 0;
};

/// The host's notes component (the main window's DCS).
class INotesComponent {
public:
    virtual ~INotesComponent() = default;
    /// Gets the component ready for a user (userText when userId is 0) and an office.
    /// value: an option of the host's notes component; the component passes 0.
    virtual void Prepare(int32_t userId, const QString& userText, QWidget* owner, int32_t value,
                         int32_t officeId) = 0;
    /// Records a note; a non-zero answer means it was stored. mode and value: options of
    /// the host's notes component; the component passes 0 for both.
    virtual int32_t EnterNote(int32_t patientId, const QString& noteText, const QString& header,
                              int32_t transactionId, int16_t mode, int16_t value,
                              const QString& kind) = 0;
    virtual void Close() = 0;
};

/// The host's text-entry dialog.
class ITextEntryDialog {
public:
    virtual ~ITextEntryDialog() = default;
    /// Asks for a text; answers "" when cancelled. out1..out3 are the dialog's own outputs.
    /// flag, a and b: the dialog's style options; the component passes 0 for each, and a
    /// host may ignore them.
    virtual QString Enter(int16_t flag, const QString& defaultText, const QString& caption,
                          const QString& label, const QString& prompt, const QString& identifier,
                          int32_t number, int16_t a, int16_t b, QWidget* owner, QString& out1,
                          QString& out2, QString& out3) = 0;
};

/// The host's word processor, driven by name as a scripting object is. Methods:
/// "InitNewDoc" (an empty document), "LoadDoc" (path; answers true when loaded),
/// "SelectAll", "CopyData" (a QTextDocument* as QObject*: copies the selection into it,
/// answers false when the document is too large to display), "SaveDoc" (writes the
/// document's title back to its file; answers true when written), "Clear" (empties the
/// object). Properties: "ReadOnly" (bool), "Font" (a map with "Name" and "Size", applied
/// to the selection), "TITLE" (the document's title). An unknown name throws
/// tqGlobal::Error.
class IWordProcessor {
public:
    virtual ~IWordProcessor() = default;
    virtual QVariant Call(const QString& method, const QVariantList& arguments = {}) = 0;
    virtual QVariant Property(const QString& name) const = 0;
    virtual void SetProperty(const QString& name, const QVariant& value) = 0;
};

/// Everything the component asks of its host (the GIC object). Every call runs on the
/// host's user-interface thread; a failing call throws tqGlobal::Error.
class IHostServices : public HostObject {
public:
    // --- Screen protocol: properties a screen's opener writes and the screen reads back.
    // A screen reads them as its opener's options, and the component leaves in them what
    // its screens answered; it does not clear them when an operation returns (after a
    // cancelled SelectServiceCodeCategory, ScreenParameter still holds "BUTTONS"). The
    // host therefore sets them before each call of the component: at least
    // ScreenParameter, ScreenText and ScreenOption to "", or a value left from the last
    // call changes the next screen (SelectServiceCode would open the category choice).
    // Each setter's value is the property's new value, kept until the next set.
    virtual int32_t PatientID() const = 0;
    virtual void setPatientID(int32_t value) = 0;
    virtual int32_t SelectedID() const = 0;
    virtual void setSelectedID(int32_t value) = 0;
    virtual int32_t ScreenNumber() const = 0;
    virtual void setScreenNumber(int32_t value) = 0;
    virtual QString ScreenText() const = 0;
    virtual void setScreenText(const QString& value) = 0;
    virtual QString ScreenParameter() const = 0;
    virtual void setScreenParameter(const QString& value) = 0;
    virtual QString ScreenReturn() const = 0;
    virtual void setScreenReturn(const QString& value) = 0;
    virtual QString ScreenOption() const = 0;
    virtual void setScreenOption(const QString& value) = 0;

    // --- Windows, user, settings.
    /// The host's main window, owner of modal screens; may be null (no window yet).
    virtual QWidget* GetMainForm() = 0;
    virtual QString GetCurrentUserName() = 0;
    /// The user as the rights check knows it.
    virtual QString GetCurrentUser() = 0;
    /// The user's numeric id; 0 when the host has none.
    virtual int32_t GetCurrentUserID() = 0;
    virtual bool UserHasRight(const QString& user, const QString& right) = 0;
    /// A per-user text setting, or defaultValue when none is stored; SaveUserSetting stores
    /// value under section and key. flag: a storage option of the host; the component
    /// always passes 0.
    virtual QString GetUserSetting(const QString& section, const QString& key, int16_t flag,
                                   const QString& defaultValue) = 0;
    virtual void SaveUserSetting(const QString& section, const QString& key, int16_t flag,
                                 const QString& value) = 0;
    /// A per-user number (window places, sort orders); SaveUserSettingNumber stores value.
    virtual double GetUserSettingNumber(const QString& key, double defaultValue) = 0;
    virtual void SaveUserSettingNumber(const QString& key, double value) = 0;

    // --- Practice.
    /// The data folder, ending in a separator.
    virtual QString GetDataPath() = 0;
    /// The program folder, ending in a separator.
    virtual QString GetProgramFolder() = 0;
    virtual bool FileExists(const QString& path) = 0;
    virtual int32_t GetOfficeLocationID() = 0;
    virtual bool IsMedicalPractice() = 0;
    virtual bool UseCdtDPrefix() = 0;
    virtual bool InsurancePaymentsAsChecks() = 0;
    virtual bool UsesAlternateHelp() = 0;

    // --- Texts.
    /// Field n (from 1) of text split at delimiter. flag: a parsing option of the host;
    /// the component always passes 0.
    virtual QString ParseField(const QString& text, const QString& delimiter, int n,
                               int16_t flag) = 0;
    virtual QString InputBoxText(const QString& title, const QString& prompt,
                                 const QString& defaultText) = 0;

    // --- Database.
    /// An SQL text literal holding value (quotes doubled).
    virtual QString SqlText(const QString& value) = 0;
    /// The condition that limits rows of table to the practice's scope: empty, or
    /// ending so that a further condition can follow directly.
    virtual QString GetScopeFilter(const QString& table) = 0;
    /// The statement adapted to the connected database. mode: how to adapt it; the
    /// component always passes 0 (the statement as a whole, for reading or writing).
    virtual QString TranslateSql(const QString& statement, int mode) = 0;
    virtual tqplatform::Connection& GetConnection() = 0;
    /// 1 for the embedded database, 2 for a server.
    virtual int32_t GetDatabaseKind(int32_t which) = 0;
    /// Writes one row from parallel lists of column names and text values. key 0
    /// inserts and receives the new key. success is 1 when the row was written, 0 when the
    /// host refused it (having told the user why); a database failure may also throw.
    /// mode: the kind of write; the component always passes 1 (one row as given). flag:
    /// the component always passes true; PracticeHost ignores both.
    virtual void SaveRecord(int mode, const QString& table, const QString& keyField, int32_t& key,
                            const QStringList& names, const QStringList& values, bool flag,
                            int16_t& success) = 0;

    // --- Notifications and answers.
    /// Told after a screen of the component has closed, so that the host can refresh its
    /// own windows. value: the component passes 1 and reads nothing back.
    virtual void RefreshHost(int16_t& value) = 0;
    /// Accepts a chosen code (a row id when isId) and gives the text that stands for it
    /// in the answer of the picker.
    virtual bool AcceptSelectedCode(const QString& itemText, bool isId, QString& returnText) = 0;
    virtual int16_t NoteSelectedCode(QString& codeText) = 0;
    virtual int32_t GetDefaultProviderID() = 0;
    virtual bool IsValidFeeType(int16_t feeType) = 0;
    virtual QString GetProviderInitials(int32_t personId) = 0;
    /// flag (out): 0 when a posted to-do or letter item without a related comment gets no
    /// note in the notes component, anything else when it does.
    virtual void GetHostFlag(int16_t& flag) = 0;
    virtual QDate GetDefaultDate() = 0;
    virtual QList<QDate> GetPatientTxDates(int32_t patientId) = 0;

    // --- Host components.
    /// The busy-message window; created on first use and kept by the caller.
    virtual std::shared_ptr<IBusyMessageControl> CreateBusyMessageControl() = 0;
    /// The notes component of the main window, or null when the window has none.
    virtual std::shared_ptr<INotesComponent> MainFormNotes() = 0;
    virtual std::shared_ptr<INotesComponent> CreateNotesComponent() = 0;
    virtual std::shared_ptr<ITextEntryDialog> CreateTextEntryDialog() = 0;

    // --- Grids: layouts, printing and export.
    /// Sorts the rows of a table of texts by their first cell, as text, ascending.
    virtual void SortTableRows(QList<QStringList>& rows) = 0;
    /// The host's current date and time (the page footer of a printed grid).
    virtual QDate GetHostDate() = 0;
    virtual QTime GetHostTime() = 0;
    /// The printer the practice chose for its printing ("" for the system's default).
    virtual QString GetPrinterName() = 0;

    // --- The code table: the browser.
    /// Whether the practice imports the medical code sets (procedures and diagnoses) as
    /// well as the dental one, though it runs as a dental practice; text is not used yet.
    virtual bool UsesMedicalCodeSets(const QString& text) = 0;
    /// The line that stands for the current row of a SevCodTable rowset in the answer of
    /// the code browser (without a line ending).
    virtual QString GetCodeReturnText(tqplatform::Recordset& rows) = 0;

    // --- The code table: the editor and the fee change.
    /// Writes one SevCodTable row from the editor's bound boxes: columns[i] is the column
    /// of texts[i], as the editor shows it (fees as "$1,234.50", the tax rate as "6.250").
    /// id 0 inserts a row of the current office and receives its key; another id updates
    /// that row. Answers false, with the reason shown and nothing written, when a value does
    /// not fit; a database failure throws tqGlobal::Error with nothing written. mode: 1.
    virtual bool SaveServiceCodeRow(int32_t& id, const QStringList& columns,
                                    const QStringList& texts, int mode, const QString& keyField,
                                    const QString& table) = 0;
    /// Whether the practice keeps its own list of charge categories ("Typ1Cat.TXT" in the
    /// data folder) for the editor to offer.
    virtual bool HasChargeCategoryFile() = 0;
    /// A new fee-change dialog for one fee change.
    virtual std::shared_ptr<IFeeChangeDialog> CreateFeeChangeDialog() = 0;

    // --- Reference code sets.
    /// The address of a further database of the host, for tqplatform::Connection. "CODES"
    /// (with flag 1 and an empty extra) names the read-only database of the published code
    /// sets. Throws tqGlobal::Error for a name the host does not know.
    virtual QString GetDatabaseConnectionString(const QString& name, int16_t flag,
                                                const QString& extra) = 0;

    // --- Documents and letters.
    /// A new word-processor object, owned by the caller.
    virtual std::shared_ptr<IWordProcessor> CreateWordProcessor() = 0;
    /// Whether path is a document of the host's own word processor: such documents are
    /// listed with their titles and cannot be renamed or deleted by the component.
    virtual bool IsWordProcessorDocument(const QString& path) = 0;
    /// The user's pop-up help flag ("POPUP_HELP_FLAG"): screens show their pop-up help
    /// texts only when it is set.
    virtual bool GetPopUpHelpFlag() = 0;
};

}  // namespace tqGlobal
