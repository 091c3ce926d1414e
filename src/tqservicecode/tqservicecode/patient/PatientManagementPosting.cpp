#include <tqservicecode/patient/PatientManagementPosting.h>

#include <tqservicecode/codes/ServiceCodeStore.h>
#include <tqservicecode/component/EntryOperations.h>
#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/core/HostProtocol.h>
#include <tqservicecode/entry/CalendarLaunch.h>
#include <tqservicecode/forms/PathHelpers.h>
#include <tqservicecode/patient/RelatedNotes.h>
#include <tqservicecode/patient/SelectToDoProvider.h>
#include <tqservicecode/patient/UpdateRetry.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/Vb.h>
#include <tqplatform/ui.h>

#include <QFile>
#include <QTextStream>

#include <exception>
#include <functional>
#include <optional>

namespace tqservicecode {

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QChar LineFeed(10);

/// The columns and values of the row, filled in order as the posting goes.
struct PostedRow {
    QStringList names;
    QStringList values;
    void add(const char* name, const QString& value) {
        names << QLatin1String(name);
        values << value;
    }
};

/// Lets the user pick the code when the caller named none; answers the picker's text.
QString pickManagementCode(int32_t pid, bool toDoListOnly) {
    int16_t flag = toDoListOnly ? int16_t{256} : int16_t{16};
    QString category = toDoListOnly ? QStringLiteral("PAT. MGMT") : QString();
    QString answer;
    int16_t count = 0;
    QString mode = protocol::SingleSelection;
    int32_t patient = pid;
    selectServiceCodes(flag, patient, category, answer, count, mode, true, nullptr);
    return answer;
}

bool isManagementCategory(const ServiceCodeRecord& record) {
    const QString category = record.SevCodCat.trimmed().toUpper();
    return category == QStringLiteral("PAT. MGMT") || category == QStringLiteral("LTR. MGMT");
}

void writeLockFile(const QString& serviceCode) {
    // A lock file that cannot be written is passed over: the item is posted.
    try {
        tqGlobal::IHostServices& gic = GIC();
        QFile file(postingLockFile(gic.GetDataPath(), serviceCode));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            QTextStream out(&file);
            out << gic.GetCurrentUserName() << CrLf;
        }
    } catch (const std::exception&) {
    }
}

/// A text without its NUL characters: they carry nothing a reader could see, and a
/// server's text column cannot hold them, so they would cost the row or its note.
QString withoutNul(QString text) {
    text.remove(QChar(0));
    return text;
}

/// The hourglass of a posting, put down while the user answers one of its screens.
void asUser(std::optional<tqplatform::ui::WaitCursor>& hourglass,
            const std::function<void()>& screen) {
    hourglass.reset();
    try {
        screen();
    } catch (...) {
        hourglass.emplace();
        throw;
    }
    hourglass.emplace();
}

/// Whether the transaction row with this id is in the table.
bool rowWritten(int32_t id) {
    tqplatform::Recordset rows = GIC().GetConnection().OpenRecordset(
        QStringLiteral("SELECT traID FROM DTTable WHERE traID = ") + QString::number(id));
    return !rows.Eof();
}

/// The row and its related note, written as one unit: both or neither.
struct SaveAndNote {
    const PostedRow& row;
    int32_t pid;
    QString noteText;
    bool hasComment;
    int32_t result = 0;
    /// The id of a row whose commit went out without an answer: it may be in.
    int32_t unconfirmed = 0;

    /// One attempt. A retry after a commit that failed first looks for the row: a
    /// server can commit and lose the answer, and the row must not be posted twice.
    void operator()() {
        if (unconfirmed != 0) {
            if (rowWritten(unconfirmed)) {
                result = unconfirmed;
                return;
            }
            unconfirmed = 0;
        }
        result = 0;
        tqGlobal::IHostServices& gic = GIC();
        tqplatform::Connection& connection = gic.GetConnection();
        connection.BeginTrans();
        try {
            int16_t hostFlag = 1;
            int32_t key = 0;
            int16_t success = 0;
            gic.SaveRecord(1, QStringLiteral("DTTable"), QStringLiteral("traID"), key, row.names,
                           row.values, hostFlag != 0, success);
            const int32_t saved = success != 0 ? key : 0;
            gic.GetHostFlag(hostFlag);
            if (!(hostFlag == 0 && !hasComment) && !EnterRelatedNote(pid, saved, noteText)) {
                throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                                      QStringLiteral("The note of this item could not be stored, "
                                                     "so the item was not posted."));
            }
            unconfirmed = saved;
            connection.CommitTrans();
            unconfirmed = 0;
            result = saved;
        } catch (...) {
            if (connection.transactionDepth() > 0) {
                try {
                    connection.RollbackTrans();
                } catch (...) {
                    // A connection that is gone has dropped the transaction already.
                }
            }
            throw;
        }
    }
};

QString descriptionPrompt(const ServiceCodeRecord& record) {
    return QStringLiteral("Please enter a description for this new item.") + CrLf + CrLf + CrLf +
           QStringLiteral("[ ") + record.code() + QStringLiteral(" - ") + record.description() +
           QStringLiteral(" ]");
}

}  // namespace

QString postedDateText(const QDate& date) {
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString postingLockFile(const QString& dataPath, const QString& serviceCode) {
    return dataPath + path::nativeRelative(QStringLiteral("TEMP\\PR")) + serviceCode.right(6) +
           QStringLiteral(".LCK");
}

int32_t postPatientManagementItem(QString& relatedComment, int32_t& pid, QString& serviceCode,
                                  QString& description, bool toDoListOnly) {
    if (pid == 0) {
        return 0;
    }
    tqGlobal::IHostServices& gic = GIC();
    if (serviceCode.isEmpty()) {
        serviceCode = pickManagementCode(pid, toDoListOnly);
        gic.NoteSelectedCode(serviceCode);
        if (serviceCode.isEmpty()) {
            return 0;
        }
    }
    serviceCode = gic.ParseField(serviceCode, QString(LineFeed), 2, 0);

    ServiceCodeRecord record;
    bool byID = false;
    if (!FindServiceCode(serviceCode, record, false, byID, 0, 0, false)) {
        return 0;
    }
    if (!isManagementCategory(record)) {
        return 0;
    }

    int32_t result = 0;
    try {
        std::optional<tqplatform::ui::WaitCursor> hourglass(std::in_place);
        UpdateRetry retry;
        PostedRow row;
        retry.run([&] { row.add("OffLocID", QString::number(gic.GetOfficeLocationID())); });
        row.add("traSevCodID", QString::number(record.SevCodID));
        row.add("trapID", QString::number(pid));
        row.add("traCodTyp", QStringLiteral("D"));

        int32_t provider = 0;
        retry.run([&] { asUser(hourglass, [&] { provider = SelectToDoProvider(); }); });
        if (provider == 0) {
            return 0;
        }
        row.add("traDr", QString::number(provider));
        QString initials;
        retry.run([&] { initials = gic.GetProviderInitials(provider); });
        row.add("traDrIni", initials);

        QString followUp;
        retry.run([&] {
            asUser(hourglass,
                   [&] { followUp = askFollowUpDate(QStringLiteral("Enter follow-up date")); });
        });
        const std::optional<QDateTime> followUpDate = tqplatform::vb::CDate(followUp);
        if (!followUpDate) {
            return 0;
        }
        row.add("traAptSchDat", postedDateText(followUpDate->date()));

        if (description.trimmed().isEmpty()) {
            description = record.description();
        }
        QString typed;
        retry.run([&] {
            asUser(hourglass, [&] {
                typed = PromptForText(0, description.trimmed(), QStringLiteral("Description"),
                                      QStringLiteral("Description : "), descriptionPrompt(record),
                                      QStringLiteral("FWDUPC"), 30, 0, 0, nullptr);
            });
        });
        if (!withoutNul(typed).isEmpty()) {
            record.setDescription(withoutNul(typed));
        }

        row.add("traDes", withoutNul(record.SevCodDes));
        row.add("traCod", record.SevCodCod);
        row.add("traStaDat", postedDateText(QDate::currentDate()));
        row.add("traTyp", QStringLiteral("3"));
        row.add("traCat", record.SevCodCat);
        row.add("traSubCat", record.SevCodSubCat);
        row.add("traDep", record.SevCodDep);
        row.add("traTax", QString::number(static_cast<double>(record.SevCodTax), 'g', 7));
        row.add("TraBil", QStringLiteral("N"));
        row.add("TraActPst", QStringLiteral("A"));
        row.add("traPatMgrFla", record.SevCodCat.trimmed().toUpper() == QStringLiteral("PAT. MGMT")
                                    ? QStringLiteral("2")
                                    : QStringLiteral("4"));
        for (const char* money :
             {"traCha", "traTotCha", "traUni", "TraPatPor", "TraIns1Por", "TraIns2Por", "TraPatBal",
              "TraIns1Bal", "TraIns2Bal", "TraInsDed1", "TraInsDed2", "TraPayInd"}) {
            row.add(money, QStringLiteral("0"));
        }
        row.add("TraCodMod", QString());

        QString note = withoutNul(record.description());
        if (!relatedComment.isEmpty()) {
            note += CrLf + withoutNul(relatedComment);
        }
        SaveAndNote unit{row, pid, note, !relatedComment.isEmpty()};
        retry.run([&] { unit(); });
        result = unit.result;
    } catch (const UpdateCancelled&) {
        result = 0;
    }
    writeLockFile(serviceCode);
    return result;
}

}  // namespace tqservicecode
