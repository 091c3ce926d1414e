#pragma once

#include <tqhost/tqhost_export.h>

#include <tqglobal/IHostServices.h>
#include <tqplatform/Currency.h>

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

namespace tqplatform {
class Connection;
}

namespace tqhost {

/// Rights the component asks the host about.
namespace Rights {
inline constexpr const char* ChangeServiceCode = "CHANGE-SER-CODE";
}

/// The working host: every host service on a real practice database (SQLite or
/// PostgreSQL), with its own notes component, text-entry dialog and busy message.
///
/// A host application creates it with createHost() (Host.h), tells it about its main
/// window and the practice (the setters below) and hands it to the component as its GIC.
/// The practice-wide options (default provider, medical practice, "D" prefix, insurance
/// payments as checks, alternate help) are kept in the practice database; the
/// workstation's and the session's values (office, user, main window, program folder,
/// host flag answer, default date) live in the object.
class TQHOST_EXPORT PracticeHost : public QObject, public tqGlobal::IHostServices {
    Q_OBJECT

public:
    /// A host on an open connection. The schema is not touched here: createHost() calls
    /// ensureSchema().
    PracticeHost(std::shared_ptr<tqplatform::Connection> connection, const QString& dataPath,
                 const QString& user, QObject* parent = nullptr);
    ~PracticeHost() override;
    PracticeHost(const PracticeHost&) = delete;
    PracticeHost& operator=(const PracticeHost&) = delete;

    // --- For the host application and tests.
    tqplatform::Connection& connection() { return *m_connection; }
    std::shared_ptr<tqplatform::Connection> sharedConnection() const { return m_connection; }
    /// The data folder as given, ending in a separator (the same as GetDataPath).
    QString dataPath() const { return m_dataPath; }
    /// Creates the tables, columns and indexes that are missing and reads the practice's
    /// options. Running it again changes nothing. Throws tqGlobal::Error on failure.
    void ensureSchema();

    void setMainForm(QWidget* window) { m_mainForm = window; }
    /// The notes component the main window exposes (MainFormNotes); null for none.
    void setMainFormNotes(std::shared_ptr<tqGlobal::INotesComponent> notes) {
        m_mainFormNotes = std::move(notes);
    }
    void setOfficeLocationID(int32_t officeId) { m_officeId = officeId; }
    /// The current user: the name (settings, rights, lock files) and the numeric id (0
    /// when the practice has none).
    void setCurrentUser(const QString& name, int32_t id);
    /// The folder of the program's files (help files); a separator is added when missing.
    /// By default the folder of the running executable.
    void setProgramFolder(const QString& folder);
    /// What GetHostFlag answers (true by default).
    void setHostFlagAnswer(bool answer) { m_hostFlagAnswer = answer; }
    /// What GetDefaultDate answers; an invalid date means today (the default).
    void setDefaultDate(const QDate& date) { m_defaultDate = date; }

    // Practice-wide options, stored in the practice database.
    void setMedicalPractice(bool medical);
    /// Whether typed procedure codes get the "D" prefix (true by default).
    void setUseCdtDPrefix(bool use);
    void setInsurancePaymentsAsChecks(bool asChecks);
    void setUsesAlternateHelp(bool alternate);
    /// The provider given to a patient who has none.
    void setDefaultProviderID(int32_t providerId);

    /// Rights of a user, stored in the practice database (names compared without case).
    void grantRight(const QString& user, const QString& right);
    void revokeRight(const QString& user, const QString& right);

    /// Column names, besides those of the practice tables, that hold texts: a "+" that
    /// joins them becomes a text concatenation in TranslateSql (for example the reference
    /// code tables' code and modifier columns).
    void addTextColumnNames(const QStringList& names);

    /// The code the picker's answer carried at the last NoteSelectedCode ("" when none).
    QString lastNotedCode() const { return m_lastNotedCode; }

    // --- tqGlobal::IHostServices.
    int32_t PatientID() const override { return m_patientId; }
    void setPatientID(int32_t value) override { m_patientId = value; }
    int32_t SelectedID() const override { return m_selectedId; }
    void setSelectedID(int32_t value) override { m_selectedId = value; }
    int32_t ScreenNumber() const override { return m_screenNumber; }
    void setScreenNumber(int32_t value) override { m_screenNumber = value; }
    QString ScreenText() const override { return m_screenText; }
    void setScreenText(const QString& value) override { m_screenText = value; }
    QString ScreenParameter() const override { return m_screenParameter; }
    void setScreenParameter(const QString& value) override { m_screenParameter = value; }
    QString ScreenReturn() const override { return m_screenReturn; }
    void setScreenReturn(const QString& value) override { m_screenReturn = value; }
    QString ScreenOption() const override { return m_screenOption; }
    void setScreenOption(const QString& value) override { m_screenOption = value; }

    QWidget* GetMainForm() override { return m_mainForm.data(); }
    QString GetCurrentUserName() override { return m_userName; }
    QString GetCurrentUser() override { return m_userName; }
    int32_t GetCurrentUserID() override { return m_userId; }
    bool UserHasRight(const QString& user, const QString& right) override;
    QString GetUserSetting(const QString& section, const QString& key, int16_t flag,
                           const QString& defaultValue) override;
    void SaveUserSetting(const QString& section, const QString& key, int16_t flag,
                         const QString& value) override;
    double GetUserSettingNumber(const QString& key, double defaultValue) override;
    void SaveUserSettingNumber(const QString& key, double value) override;

    QString GetDataPath() override { return m_dataPath; }
    QString GetProgramFolder() override { return m_programFolder; }
    bool FileExists(const QString& path) override;
    int32_t GetOfficeLocationID() override { return m_officeId; }
    bool IsMedicalPractice() override { return m_medicalPractice; }
    bool UseCdtDPrefix() override { return m_useCdtDPrefix; }
    bool InsurancePaymentsAsChecks() override { return m_insurancePaymentsAsChecks; }
    bool UsesAlternateHelp() override { return m_usesAlternateHelp; }

    /// Field n (from 1) of text split at delimiter. A text without the delimiter is its
    /// own field 1 and field 2 (so that a bare code passes where a picker line is
    /// expected); a field beyond the last, or n below 1, is "". flag is not used.
    QString ParseField(const QString& text, const QString& delimiter, int n, int16_t flag) override;
    QString InputBoxText(const QString& title, const QString& prompt,
                         const QString& defaultText) override;

    QString SqlText(const QString& value) override;
    /// For SevCodTable (any case) and for an unnamed table: the current office's rows and
    /// the rows of every office, ending in " AND ". Empty for other tables.
    QString GetScopeFilter(const QString& table) override;
    QString TranslateSql(const QString& statement, int mode) override;
    tqplatform::Connection& GetConnection() override { return *m_connection; }
    int32_t GetDatabaseKind(int32_t which) override;
    /// Writes one row of a practice table in one statement with bound values. Names are
    /// matched to the table's columns without regard to case; each text value is converted
    /// to its column's type: whole numbers ("12", " -3 ", "12.00"), reals, money ("$1,234.50",
    /// "(5.00)", "1234.5", exact), dates (stored as "yyyy-MM-dd"), texts kept as given
    /// (at most the column's width). An empty or blank value in a number or date column
    /// stores NULL. key 0 inserts and receives the new key; another key updates that row.
    /// A value that does not fit (unknown column, too long, not a number, out of range)
    /// or a missing row is refused with a message (information icon): success 0, nothing
    /// written, no exception. A database failure throws tqGlobal::Error with nothing
    /// written. mode and flag are not used.
    void SaveRecord(int mode, const QString& table, const QString& keyField, int32_t& key,
                    const QStringList& names, const QStringList& values, bool flag,
                    int16_t& success) override;

    /// Emits refreshRequested(value).
    void RefreshHost(int16_t& value) override;
    /// returnText: SevCodID, code, description and the current patient's fee ("0.00"),
    /// separated by line feeds; false (returnText "") when the code is not found.
    bool AcceptSelectedCode(const QString& itemText, bool isId, QString& returnText) override;
    /// Drops the carriage returns and line feeds that end the picker's answer, so that
    /// field 2 at line feeds is the code; answers 1 when a code is left, else 0.
    int16_t NoteSelectedCode(QString& codeText) override;
    int32_t GetDefaultProviderID() override { return m_defaultProviderId; }
    bool IsValidFeeType(int16_t feeType) override { return feeType >= 1 && feeType <= 4; }
    QString GetProviderInitials(int32_t personId) override;
    void GetHostFlag(int16_t& flag) override { flag = m_hostFlagAnswer ? 1 : 0; }
    QDate GetDefaultDate() override;
    QList<QDate> GetPatientTxDates(int32_t patientId) override;

    std::shared_ptr<tqGlobal::IBusyMessageControl> CreateBusyMessageControl() override;
    std::shared_ptr<tqGlobal::INotesComponent> MainFormNotes() override { return m_mainFormNotes; }
    std::shared_ptr<tqGlobal::INotesComponent> CreateNotesComponent() override;
    std::shared_ptr<tqGlobal::ITextEntryDialog> CreateTextEntryDialog() override;

    // Grids: layouts, printing and export.
    void SortTableRows(QList<QStringList>& rows) override;
    QDate GetHostDate() override;
    QTime GetHostTime() override;
    QString GetPrinterName() override { return m_printerName; }
    /// The practice's configured printer ("" for the system's default).
    void setPrinterName(const QString& name) { m_printerName = name; }
    /// A fixed clock for GetHostDate and GetHostTime; an invalid value means now.
    void setHostClock(const QDateTime& now) { m_hostClock = now; }

    // The code table: the browser.
    bool UsesMedicalCodeSets(const QString& text) override;
    /// SevCodID, code, description and fee 1 ("0.00"), separated by line feeds, as the
    /// picker's answer lines are.
    QString GetCodeReturnText(tqplatform::Recordset& rows) override;
    /// Whether a dental practice also imports the medical code sets (false by default).
    void setUsesMedicalCodeSets(bool uses) { m_usesMedicalCodeSets = uses; }

    // The code table: the editor and the fee change.
    bool SaveServiceCodeRow(int32_t& id, const QStringList& columns, const QStringList& texts,
                            int mode, const QString& keyField, const QString& table) override;
    /// What setHasChargeCategoryFile said (false by default): the practice keeps its own
    /// charge categories in "Typ1Cat.TXT", one category per line, which the editor then
    /// offers when the file exists.
    bool HasChargeCategoryFile() override { return m_hasChargeCategoryFile; }
    void setHasChargeCategoryFile(bool has) { m_hasChargeCategoryFile = has; }
    std::shared_ptr<tqGlobal::IFeeChangeDialog> CreateFeeChangeDialog() override;

    /// One recorded change of a fee of SevCodTable (FeeHistory, written by the database's
    /// triggers whoever changes the fee). A null fee is an invalid optional.
    struct FeeHistoryEntry {
        int32_t historyId = 0;
        int32_t codeId = 0;
        int feeNumber = 0;
        std::optional<tqplatform::Currency> oldFee;
        std::optional<tqplatform::Currency> newFee;
        QString user;
        /// UTC, "yyyy-MM-dd HH:mm:ss.fff..." (the statement's time: one UPDATE statement
        /// gives all its rows the same time).
        QString changedAt;
    };
    /// The fee changes of one code, newest first.
    QList<FeeHistoryEntry> feeHistory(int32_t codeId);
    /// Puts back the old fee of every code that the statement which wrote entry historyId
    /// changed (same time, user and fee number), where the code still holds the fee that
    /// statement gave it; one transaction. Answers the number of codes put back.
    int restoreFeeChange(int32_t historyId);

    // Reference code sets.
    /// "CODES": the practice's reference database (referenceDatabaseAddress()), for the
    /// screens that open it; naming it also makes the code sets' code and modifier columns
    /// text columns for TranslateSql. Throws tqGlobal::Error saying how to build it when
    /// the database has never been built (the screens show that instead of the driver's
    /// "no such table" or "database does not exist").
    QString GetDatabaseConnectionString(const QString& name, int16_t flag,
                                        const QString& extra) override;
    /// Where the reference database is or will be built (referenceDatabaseUrl in
    /// <tqhost/ReferenceCodes.h>, or the address set below), built or not.
    QString referenceDatabaseAddress() const;
    /// Another reference database for this host (tests share one built database); empty
    /// goes back to the practice's own.
    void setReferenceDatabaseUrl(const QString& url) { m_referenceUrl = url; }

    // Documents and letters.
    /// An RTF or plain-text reader (WordProcessor): see tqGlobal::IWordProcessor.
    std::shared_ptr<tqGlobal::IWordProcessor> CreateWordProcessor() override;
    /// True for an RTF file that names this host's word processor as its generator
    /// ({\*\generator Tavix ...}); files written by other programs are ordinary files.
    bool IsWordProcessorDocument(const QString& path) override;
    /// The user setting "POPUP_HELP_FLAG" in the user's section; set ("1") by default.
    bool GetPopUpHelpFlag() override;
    /// Files larger than this (bytes) are not shown by the word processor's CopyData.
    void setDocumentDisplayLimit(qint64 bytes) { m_documentDisplayLimit = bytes; }

signals:
    /// A modal screen of the component has closed: the application may refresh its views.
    void refreshRequested(int value);

private:
    void loadOptions();
    void saveOption(const QString& name, const QString& value);
    int feeScheduleOfPatient(int32_t patientId);

    std::shared_ptr<tqplatform::Connection> m_connection;
    QString m_dataPath;
    QString m_programFolder;
    QString m_userName;
    int32_t m_userId = 0;
    int32_t m_officeId = 0;
    QPointer<QWidget> m_mainForm;
    std::shared_ptr<tqGlobal::INotesComponent> m_mainFormNotes;
    QStringList m_extraTextColumns;
    QString m_lastNotedCode;

    bool m_medicalPractice = false;
    bool m_useCdtDPrefix = true;
    bool m_insurancePaymentsAsChecks = false;
    bool m_usesAlternateHelp = false;
    int32_t m_defaultProviderId = 0;
    bool m_hostFlagAnswer = true;
    QDate m_defaultDate;

    int32_t m_patientId = 0;
    int32_t m_selectedId = 0;
    int32_t m_screenNumber = 0;
    QString m_screenText;
    QString m_screenParameter;
    QString m_screenReturn;
    QString m_screenOption;

    // Grids: layouts, printing and export.
    QString m_printerName;
    QDateTime m_hostClock;

    // The code table: the browser.
    bool m_usesMedicalCodeSets = false;

    // The code table: the editor and the fee change.
    bool m_hasChargeCategoryFile = false;

    // Reference code sets.
    QString m_referenceUrl;

    // Documents and letters.
    qint64 m_documentDisplayLimit = 8 * 1024 * 1024;
};

}  // namespace tqhost
