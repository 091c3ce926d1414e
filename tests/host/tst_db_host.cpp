// The working host on a real practice database: the same tests run on SQLite and on
// PostgreSQL (TQ_TEST_DB).

#include "Files.h"
#include "TestDatabase.h"
#include "TestMain.h"

#include <tqglobal/Error.h>
#include <tqhost/Host.h>
#include <tqhost/Schema.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/ScriptedUi.h>

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlRecord>
#include <QTest>

#include <memory>

using tqplatform::Currency;

namespace {

const QString Tester = "tester";

Currency money(const QVariant& v) {
    if (v.metaType() == QMetaType::fromType<Currency>()) {
        return v.value<Currency>();
    }
    return Currency::parse(v.toString()).value_or(Currency::fromRaw(-1));
}

/// A stored value as text: money at four decimals, whole numbers plainly, "<null>".
QString shown(const QVariant& v, tqhost::schema::ColumnType type) {
    using T = tqhost::schema::ColumnType;
    if (v.isNull()) {
        return "<null>";
    }
    switch (type) {
        case T::Currency:
            return money(v).toFixedString();
        case T::Integer:
        case T::SmallInt:
            return QString::number(v.toLongLong());
        case T::Single:
        case T::Double:
            return QString::number(v.toDouble(), 'g', 7);
        default:
            return v.toString();
    }
}

}  // namespace

class DbHostTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        m_db = std::make_unique<tqtest::TestDatabase>();
        TQ_REQUIRE_DATABASE(*m_db);
        m_connection =
            tqhost::createHost(m_db->url(), m_db->dataPath(), Tester)->sharedConnection();
    }

    void init() {
        // Empty tables and a host in its first state, on the same connection.
        m_connection->BeginTrans();
        for (const tqhost::schema::Table& table : tqhost::schema::tables()) {
            m_connection->Execute("DELETE FROM " + table.name);
        }
        m_connection->CommitTrans();
        m_host = std::make_shared<tqhost::PracticeHost>(m_connection, m_db->dataPath(), Tester);
        m_host->ensureSchema();
    }

    void cleanupTestCase() {
        m_host.reset();
        m_connection.reset();
        m_db.reset();
    }

    void schemaIsCreatedOnceAndKept() {
        const int32_t id = saveCode({"SevCodCod"}, {"D0120"});
        QVERIFY(id > 0);
        m_host->ensureSchema();
        auto second = tqhost::createHost(m_db->url(), m_db->dataPath(), Tester);
        QCOMPARE(rowCount("SevCodTable"), 1);

        // A table made before a column was added gets the column; its rows stay.
        m_host->GetConnection().Execute("ALTER TABLE SevCodTable DROP COLUMN SevCodLetNam");
        m_host->ensureSchema();
        QCOMPARE(saveCode({"SevCodLetNam"}, {"Recall.rtf"}, id), id);
        QCOMPARE(open("SELECT SevCodCod, SevCodLetNam FROM SevCodTable").Fields(0).toString(),
                 "D0120");

        // Every column of the catalogue exists, under any spelling of its name.
        QSqlDatabase& db = m_host->GetConnection().database();
        for (const tqhost::schema::Table& table : tqhost::schema::tables()) {
            const QSqlRecord record =
                db.record(m_db->isPostgres() ? table.name.toLower() : table.name);
            QVERIFY2(!record.isEmpty(), qPrintable(table.name));
            QCOMPARE(record.count(), static_cast<int>(table.columns.size()));
            for (const tqhost::schema::Column& column : table.columns) {
                QVERIFY2(record.indexOf(column.name) >= 0,
                         qPrintable(table.name + "." + column.name));
            }
        }

        // The data folder and its sub-folders; the path ends in a separator.
        QVERIFY(m_host->GetDataPath().endsWith(QDir::separator()));
        QVERIFY(QDir(m_host->GetDataPath() + "STP").exists());
        QCOMPARE(m_host->GetDatabaseKind(1), m_db->isPostgres() ? 2 : 1);

        // The database itself refuses a text wider than its column.
        QVERIFY_THROWS_EXCEPTION(tqGlobal::Error,
                                 m_host->GetConnection().Execute(
                                     "INSERT INTO SevCodTable (SevCodCod) VALUES ('ABCDEFGHIJK')"));
    }

    void saveRecordConvertsValues() {
        // Each value saved as a new row and read back as stored ("<null>" for none).
        const char* codes = "SevCodTable";
        const struct {
            const char *table, *column;
            QString value, stored;
        } rows[] = {
            {codes, "SevCodFee1", "$1,234.50", "1234.5000"},
            {codes, "SevCodFee2", "(5.00)", "-5.0000"},
            {codes, "SevCodFee4", "0.0001", "0.0001"},
            {codes, "SevCodFee1", "0.3", "0.3000"},
            {codes, "SevCodFee1", "99999999999.9999", "99999999999.9999"},
            {codes, "SevCodFee1", "", "<null>"},
            {codes, "SevCodDocID", " 12 ", "12"},
            {codes, "SEVCODINSCOD", "INS1", "INS1"},
            {codes, "SevCodDocID", "12.00", "12"},
            {codes, "SevCodDocID", "-2147483648", "-2147483648"},
            {codes, "SevCodDocID", "  ", "<null>"},
            {codes, "SevCodPasWorID", "32767", "32767"},
            {codes, "SevCodTax", "8.25", "8.25"},
            {codes, "SevCodCod", "  D0120   ", "  D0120   "},
            {codes, "SevCodDes", "O'Brien's 100% \\ 'crown'; --", "O'Brien's 100% \\ 'crown'; --"},
            {codes, "SevCodDes", QString(255, u'x'), QString(255, u'x')},
            {codes, "SevCodLetNam", QString(3000, u'L'), QString(3000, u'L')},
            {codes, "sevcod2ndDes", "Corona de porcelana ñ €", "Corona de porcelana ñ €"},
            {"DTTable", "traStaDat", "12/31/2026", "2026-12-31"},
            {"DTTable", "traAptSchDat", "9/1/2026", "2026-09-01"},
            {"DTTable", "traAptSchDat", "2027-01-05", "2027-01-05"},
            {"DTTable", "traAptSchDat", "", "<null>"},
        };
        tqplatform::ScriptedUi ui;
        for (const auto& row : rows) {
            const tqhost::schema::Table* definition = tqhost::schema::findTable(row.table);
            const int32_t id = save(row.table, definition->autoKey, 0, {row.column}, {row.value});
            QVERIFY2(id > 0, qPrintable(row.value + ": " + ui.prompts().join('|')));
            tqplatform::Recordset read = open(QStringLiteral("SELECT %1 FROM %2 WHERE %3 = %4")
                                                  .arg(row.column, row.table, definition->autoKey)
                                                  .arg(id));
            QCOMPARE(read.RecordCount(), 1);
            QCOMPARE(shown(read.Fields(0), definition->column(row.column)->type), row.stored);
        }
        QVERIFY(ui.messages.isEmpty());
    }

    void saveRecordUpdatesOnlyItsRow() {
        const int32_t first =
            saveCode({"SevCodCod", "SevCodFee1", "SevCodDes"}, {"A1", "10", "One"});
        const int32_t second = saveCode({"SevCodCod", "SevCodFee1"}, {"B2", "20"});
        QVERIFY(first > 0 && second > first);

        QCOMPARE(saveCode({"SevCodFee1", "SevCodDes"}, {"$11.25", ""}, first), first);
        tqplatform::Recordset rows = open(
            "SELECT SevCodID, SevCodCod, SevCodFee1, SevCodDes FROM SevCodTable ORDER BY SevCodID");
        QCOMPARE(rows.RecordCount(), 2);
        QCOMPARE(rows.Fields("SevCodCod").toString(), "A1");
        QCOMPARE(money(rows.Fields("SevCodFee1")), Currency::fromRaw(112500));
        QCOMPARE(rows.Fields("SevCodDes").toString(), QString());
        rows.MoveNext();
        QCOMPARE(money(rows.Fields("SevCodFee1")), Currency::fromUnits(20));

        // An update naming no column answers whether the row is there.
        QCOMPARE(saveCode({}, {}, second), second);
        // A missing row is a failure, told to the user.
        tqplatform::ScriptedUi ui;
        QCOMPARE(saveCode({"SevCodCod"}, {"C3"}, 987654), -1);
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY(ui.messages[0].prompt.contains("987654"));
        QCOMPARE(rowCount("SevCodTable"), 2);

        // A key given on insert is kept, and the numbered rows after it do not collide.
        QCOMPARE(save("PaTable", "pID", 0, {"pID", "pLasNam"}, {"500", "Given"}), 500);
        QVERIFY(save("PaTable", "pID", 0, {"pLasNam"}, {"Numbered"}) > 500);
    }

    void saveRecordRefusesWhatDoesNotFit_data() {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("mentioned");

        const QString codes = "SevCodTable";
        const QString id = "SevCodID";
        auto row = [&](const char* name, const QString& column, const QString& value,
                       const QString& mentioned) {
            QTest::newRow(name) << codes << id << QStringList{"SevCodCod", column}
                                << QStringList{"NEW", value} << mentioned;
        };
        row("text too long", "SevCodCat", "Restorative", "SevCodCat");
        row("letters in a whole number", "SevCodDocID", "12a", "\"12a\"");
        row("fraction in a whole number", "SevCodDocID", "12.5", "SevCodDocID");
        row("beyond 32 bits", "SevCodDocID", "2147483648", "2147483648");
        row("beyond 16 bits", "SevCodPasWorID", "40000", "SevCodPasWorID");
        row("not money", "SevCodFee1", "12..5", "\"12..5\"");
        row("money with an exponent", "SevCodFee2", "1e3", "SevCodFee2");
        row("real in words", "SevCodTax", "eight", "SevCodTax");
        row("real beyond a single", "SevCodSchTim", "1e39", "SevCodSchTim");
        row("NUL in a text", "SevCodDes", QString("ab") + QChar(u'\0') + "c", "SevCodDes");
        row("unknown column", "SevCodNothing", "1", "SevCodNothing");
        auto other = [](const char* name, const QString& table, const QString& key,
                        const QStringList& names, const QStringList& values,
                        const QString& mentioned) {
            QTest::newRow(name) << table << key << names << values << mentioned;
        };
        other("not a date", "DTTable", "traID", {"traCod", "traStaDat"}, {"NEW", "31/31/2026"},
              "traStaDat");
        other("a column twice", codes, id, {"SevCodCod", "sevcodcod"}, {"NEW", "NEW"}, "SevCodCod");
        other("fewer values than names", codes, id, {"SevCodCod", "SevCodDes"}, {"NEW"}, "2");
        other("wrong key column", codes, "SevCodCod", {"SevCodCod"}, {"NEW"}, "SevCodID");
        other("unknown table", "NoSuchTable", "ID", {"SevCodCod"}, {"NEW"}, "NoSuchTable");
    }

    void saveRecordRefusesWhatDoesNotFit() {
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QStringList, names);
        QFETCH(QStringList, values);
        QFETCH(QString, mentioned);
        const bool transactions = table == "DTTable";
        const QString realTable = transactions ? "DTTable" : "SevCodTable";
        const QString codeColumn = transactions ? "traCod" : "SevCodCod";
        const int32_t existing = transactions ? save(realTable, "traID", 0, {"traCod"}, {"OLD"})
                                              : saveCode({"SevCodCod", "SevCodFee1"}, {"OLD", "7"});
        QVERIFY(existing > 0);

        tqplatform::ScriptedUi ui;
        // Neither an insert nor an update writes anything, not even the values that fit.
        for (const int32_t target : {0, existing}) {
            int32_t id = target;
            int16_t success = 1;
            m_host->SaveRecord(1, table, key, id, names, values, true, success);
            QCOMPARE(success, int16_t(0));
            QCOMPARE(id, target);
        }
        QCOMPARE(rowCount(realTable), 1);
        tqplatform::Recordset rows = open("SELECT * FROM " + realTable);
        QCOMPARE(rows.Fields(codeColumn).toString(), "OLD");
        if (!transactions) {
            QCOMPARE(money(rows.Fields("SevCodFee1")), Currency::fromUnits(7));
        }
        QCOMPARE(ui.messages.size(), 2);
        for (const auto& message : ui.messages) {
            QCOMPARE(message.icon, 64);
            QVERIFY2(message.prompt.contains(mentioned), qPrintable(message.prompt));
        }
    }

    void literalsKeepEveryValue_data() {
        QTest::addColumn<QString>("value");
        QTest::newRow("quote") << "O'Brien";
        QTest::newRow("quotes only") << "'''";
        QTest::newRow("leaving the literal") << "x'); DELETE FROM SevCodTable; --";
        QTest::newRow("backslash before a quote") << "a\\' OR '1'='1";
        QTest::newRow("trailing backslash") << "C:\\LETTERS\\";
        QTest::newRow("percent and underscore") << "100%_off";
        QTest::newRow("unicode") << "Zahnärztin ½";
    }

    void literalsKeepEveryValue() {
        QFETCH(QString, value);
        QVERIFY(saveCode({"SevCodCod", "SevCodDes"}, {"K1", value}) > 0);
        QVERIFY(saveCode({"SevCodCod", "SevCodDes"}, {"K2", "other"}) > 0);
        const QString sql = "SELECT SevCodCod, " + m_host->SqlText(value) +
                            " AS v FROM SevCodTable WHERE SevCodDes = " + m_host->SqlText(value);
        tqplatform::Recordset rows = open(m_host->TranslateSql(sql, 0));
        QCOMPARE(rows.RecordCount(), 1);
        QCOMPARE(rows.Fields("SevCodCod").toString(), "K1");
        QCOMPARE(rows.Fields("v").toString(), value);
        QCOMPARE(rowCount("SevCodTable"), 2);
    }

    void settingsFollowTheUser() {
        const QString mine = "USER_DEF_SETUP" + Tester;
        const QString theirs = "USER_DEF_SETUPother";
        m_host->SaveUserSetting(theirs, "SER_COD_CAT", 0, "It's 100%");
        m_host->SaveUserSetting(mine, "SER_COD_CAT", 0, "Rest ");
        m_host->SaveUserSettingNumber("SERCOD_LEFT" + Tester, 1234.5);
        m_host->SaveUserSettingNumber("SERCOD_LEFTother", -3);
        // A NUL is refused, not dropped: the setting stored before stays.
        QVERIFY_THROWS_EXCEPTION(tqGlobal::Error, m_host->SaveUserSetting(mine, "SER_COD_CAT", 0,
                                                                          QString("A") + QChar(0)));

        // Another host on the same database (another workstation) sees them.
        auto other = tqhost::createHost(m_db->url(), m_db->dataPath(), "other");
        QCOMPARE(other->GetUserSetting(mine, "SER_COD_CAT", 0, "x"), "Rest ");
        QCOMPARE(other->GetUserSetting(theirs, "ser_cod_cat", 0, "x"), "It's 100%");
        QCOMPARE(other->GetUserSetting(mine, "SER_COD_TYP", 0, "none"), "none");
        QCOMPARE(other->GetUserSettingNumber("SERCOD_LEFT" + Tester, 0), 1234.5);
        QCOMPARE(other->GetUserSettingNumber("SERCOD_LEFTother", 0), -3.0);
        QCOMPARE(other->GetUserSettingNumber("SERCOD_TOPother", 77), 77.0);
        QCOMPARE(rowCount("UserSetting"), 2);
    }

    void rights() {
        const QString right = tqhost::Rights::ChangeServiceCode;
        QVERIFY(!m_host->UserHasRight(Tester, right));
        m_host->grantRight(Tester, right);
        m_host->grantRight(Tester, right);  // twice is once
        QVERIFY(m_host->UserHasRight(Tester, right));
        QVERIFY(m_host->UserHasRight("TESTER", "change-ser-code"));
        QVERIFY(!m_host->UserHasRight("other", right));
        QVERIFY(!m_host->UserHasRight("", right));
        m_host->revokeRight(Tester, right);
        QVERIFY(!m_host->UserHasRight(Tester, right));
    }

    void acceptSelectedCode() {
        m_host->setOfficeLocationID(1);
        const int32_t exam = saveCode(
            {"SevCodCod", "SevCodOffCod", "SevCodDes", "SevCodFee1", "SevCodFee3", "OffLocID"},
            {"D0120", "PE", "Periodic exam*TM* ADA", "30", "$42.5", "1"});
        const int32_t negative =
            saveCode({"SevCodCod", "SevCodDes", "SevCodFee1"}, {"PE", "Line\r\nbreak", "-5"});
        QVERIFY(saveCode({"SevCodCod", "OffLocID"}, {"D9999", "7"}) > 0);
        const int32_t patient = save(
            "PaTable", "pID", 0, {"pLasNam", "pGPDenFeeTyp", "pGPDenFeeTypPerm"}, {"P", "2", "3"});
        QVERIFY(exam > 0 && negative > 0 && patient > 0);

        QString line;
        QVERIFY(m_host->AcceptSelectedCode(QString::number(exam), true, line));
        QCOMPARE(line, QString::number(exam) + "\nD0120\nPeriodic exam\n30.00");
        m_host->setPatientID(patient);  // standing fee schedule 3
        QVERIFY(m_host->AcceptSelectedCode(" d0120 ", false, line));
        QCOMPARE(line, QString::number(exam) + "\nD0120\nPeriodic exam\n42.50");
        // A code comes before an office code that reads the same; a negative fee reads 0.
        m_host->setPatientID(0);
        QVERIFY(m_host->AcceptSelectedCode("PE", false, line));
        QCOMPARE(line, QString::number(negative) + "\nPE\nLine  break\n0.00");
        QVERIFY(!m_host->AcceptSelectedCode("D9999", false, line));  // another office's
        QCOMPARE(line, QString());
        QVERIFY(!m_host->AcceptSelectedCode("NOPE", false, line));
        QVERIFY(!m_host->AcceptSelectedCode("x1", true, line));
        // Only the codes carry an office; a table's name may come in any case.
        QCOMPARE(m_host->GetScopeFilter("sevcodtable"), m_host->GetScopeFilter("SevCodTable"));
        QCOMPARE(m_host->GetScopeFilter("PaTable"), QString());

        // The picker's answer, noted, gives the code as field 2.
        QVERIFY(m_host->AcceptSelectedCode(QString::number(exam), true, line));
        QString answer = line + "\r";
        QCOMPARE(m_host->NoteSelectedCode(answer), int16_t(1));
        QCOMPARE(m_host->ParseField(answer, "\n", 2, 0), "D0120");
        QString bare = "LAB~";
        m_host->NoteSelectedCode(bare);
        QCOMPARE(m_host->ParseField(bare, "\n", 2, 0), "LAB~");

        // A field past the end, empty or numbered 0 is blank; the delimiter may be longer.
        const struct {
            const char *text, *delimiter;
            int n;
            const char* expected;
        } rows[] = {{"12\nD0120\nExam\n30.00", "\n", 2, "D0120"},
                    {"12\nD0120", "\n", 3, ""},
                    {"a,,c", ",", 2, ""},
                    {"D0120", "\n", 1, "D0120"},
                    {"D0120", "\n", 3, ""},
                    {"a,b", ",", 0, ""},
                    {"a||b||c", "||", 3, "c"}};
        for (const auto& row : rows) {
            QCOMPARE(m_host->ParseField(row.text, row.delimiter, row.n, 0), QString(row.expected));
        }
    }

    void peopleAndTransactions() {
        const int32_t doctor = save("PaTable", "pID", 0, {"pLasNam", "pDocIni"}, {"Doe", "JD "});
        QCOMPARE(m_host->GetProviderInitials(doctor), "JD");
        QCOMPARE(m_host->GetProviderInitials(doctor + 100), "");
        for (const char* date : {"03/02/2026", "01/15/2026", "2026-03-02", ""}) {
            QVERIFY(save("DTTable", "traID", 0, {"trapID", "traStaDat"}, {"5", date}) > 0);
        }
        // Other patients' visits, and none at all: the calendar's treatment dates.
        QCOMPARE(m_host->GetPatientTxDates(5),
                 (QList<QDate>{QDate(2026, 1, 15), QDate(2026, 3, 2)}));
    }

    void notesAreStored() {
        auto notes = m_host->CreateNotesComponent();
        m_host->setCurrentUser("Dr. O'Neil", 42);
        notes->Prepare(m_host->GetCurrentUserID(), m_host->GetCurrentUser(), nullptr, 0, 3);
        const int32_t first = notes->EnterNote(7, "Call back; it's 100% urgent", "", 55, 0, 0, "");
        const int32_t second = notes->EnterNote(7, "", "", 56, 0, 0, "");
        QVERIFY(first > 0 && second > first);
        tqplatform::Recordset rows = open("SELECT * FROM NoteTable ORDER BY notID");
        QCOMPARE(rows.RecordCount(), 2);
        QCOMPARE(rows.Fields("notText").toString(), "Call back; it's 100% urgent");
        QCOMPARE(rows.Fields("notPatID").toInt(), 7);
        QCOMPARE(rows.Fields("notTraID").toInt(), 55);
        QCOMPARE(rows.Fields("notUser").toString(), "Dr. O'Neil");
        QCOMPARE(rows.Fields("notUserID").toInt(), 42);
        QCOMPARE(rows.Fields("notOffLocID").toInt(), 3);
        QVERIFY(rows.Fields("notCreated")
                    .toString()
                    .startsWith(QDate::currentDate().toString(Qt::ISODate)));
        notes->Close();
        QCOMPARE(notes->EnterNote(7, "after close", "", 57, 0, 0, ""), 0);
        QCOMPARE(rowCount("NoteTable"), 2);
    }

    void textEntryDialog() {
        // OK answers the typed text; Cancel answers nothing, whatever was typed.
        auto dialog = m_host->CreateTextEntryDialog();
        tqplatform::ScriptedUi ui;
        for (const QString button : {"cmdOK", "cmdCancel"}) {
            QString label;  // the title and the prompt: tst_db_posting
            ui.onShowOnce("TextEntryDialog", [&](QDialog& form) {
                label = form.findChild<QLabel*>("lblLabel")->text();
                form.findChild<QLineEdit*>("txtText")->setText(" New crown ");
                QTest::mouseClick(form.findChild<QPushButton*>(button), Qt::LeftButton);
            });
            QString out1, out2, out3;
            const QString typed = dialog->Enter(0, "Crown", "Description", "Description : ", "",
                                                "FWDUPC", 30, 0, 0, nullptr, out1, out2, out3);
            QCOMPARE(typed + "|" + out1 + "|" + label, button == "cmdOK"
                                                           ? " New crown |OK|Description : "
                                                           : "|CANCEL|Description : ");
        }
    }

    void practiceOptionsAreKept() {
        QVERIFY(m_host->UseCdtDPrefix());
        QVERIFY(!m_host->IsMedicalPractice());
        m_host->setMedicalPractice(true);
        m_host->setUseCdtDPrefix(false);
        m_host->setDefaultProviderID(17);
        m_host->setUsesAlternateHelp(true);
        auto again = tqhost::createHost(m_db->url(), m_db->dataPath(), Tester);
        QVERIFY(again->IsMedicalPractice());
        QVERIFY(!again->UseCdtDPrefix());
        QVERIFY(!again->InsurancePaymentsAsChecks());
        QVERIFY(again->UsesAlternateHelp());
        QCOMPARE(again->GetDefaultProviderID(), 17);
        again->setProgramFolder(m_db->dataPath() + "prog");
        QVERIFY(again->GetProgramFolder().endsWith(QDir::separator()));
        QVERIFY(tqtest::writeFile(m_db->dataPath() + "STP/DLEMPtester.STP", {}));
        QVERIFY(again->FileExists(m_db->dataPath() + "STP/DLEMPtester.STP"));
        QVERIFY(again->FileExists(again->GetDataPath() + "STP\\DLEMPtester.STP"));
        QVERIFY(!again->FileExists(again->GetDataPath() + "STP\\DLEMPother.STP"));
        QVERIFY(!again->FileExists(""));
        QVERIFY(!again->FileExists(m_db->dataPath() + "TEMP"));  // a folder is not a file
    }

private:
    tqplatform::Recordset open(const QString& sql) {
        return m_host->GetConnection().OpenRecordset(sql);
    }
    int rowCount(const QString& table) {
        return open("SELECT COUNT(*) FROM " + table).Fields(0).toInt();
    }
    int32_t save(const QString& table, const QString& key, int32_t id, const QStringList& names,
                 const QStringList& values) {
        int16_t success = 0;
        m_host->SaveRecord(1, table, key, id, names, values, true, success);
        return success != 0 ? id : -1;
    }
    int32_t saveCode(const QStringList& names, const QStringList& values, int32_t id = 0) {
        return save("SevCodTable", "SevCodID", id, names, values);
    }

    std::unique_ptr<tqtest::TestDatabase> m_db;
    std::shared_ptr<tqplatform::Connection> m_connection;
    std::shared_ptr<tqhost::PracticeHost> m_host;
};

TQ_TEST_MAIN(DbHostTest)
#include "tst_db_host.moc"
