// Building the reference database: the shipped sets' known codes and tree, the licensed
// file's loader, rebuilding, and a build that fails part way.

#include "Faults.h"
#include "Files.h"
#include "ReferenceFixture.h"
#include "TestDatabase.h"
#include "TestMain.h"

#include <tqglobal/Error.h>
#include <tqhost/Host.h>
#include <tqhost/PracticeHost.h>
#include <tqhost/ReferenceCodes.h>
#include <tqplatform/Connection.h>

#include <QCryptographicHash>
#include <QFile>
#include <QSqlRecord>

using tqhost::ReferenceSet;

namespace {

/// The rows of a query, each as its fields joined by "|" (a null as "NULL").
QStringList rowsOf(tqplatform::Connection& connection, const QString& sql) {
    QSqlQuery query = connection.run(sql);
    QStringList result;
    while (query.next()) {
        QStringList fields;
        for (int i = 0; i < query.record().count(); ++i) {
            fields << (query.isNull(i) ? "NULL" : query.value(i).toString());
        }
        result << fields.join(QLatin1Char('|'));
    }
    return result;
}

/// A reference database of the test's own, dropped with it: the practice's own, or one
/// named with a suffix beside it.
struct OwnCodes {
    explicit OwnCodes(const tqtest::TestDatabase& db, const QString& suffix = {})
        : url(tqhost::referenceDatabaseUrl(db.url(), db.dataPath())) {
        if (!suffix.isEmpty()) {
            url = db.isPostgres() ? url + suffix : url.replace("codes.db", suffix + ".db");
        }
        tqhost::dropReferenceDatabase(url);
        tqhost::createReferenceDatabase(url);
        connection = std::make_unique<tqplatform::Connection>(url);
    }
    ~OwnCodes() {
        connection.reset();
        tqhost::dropReferenceDatabase(url);
    }
    void build(QList<ReferenceSet> sets, const QString& licensed = {}) {
        tqhost::ReferenceBuildOptions options;
        options.sets = std::move(sets);
        options.licensedFile = licensed;
        tqhost::buildReferenceDatabase(*connection, options);
    }
    QStringList rows(const QString& sql) { return rowsOf(*connection, sql); }
    QString url;
    std::unique_ptr<tqplatform::Connection> connection;
};

/// The range of a code's deepest node in the set's tree: its section, or its chapter
/// where it has none.
QString deepestNode(const char* prefix, const char* code) {
    return QStringLiteral(
               "SELECT DISTINCT t.%1TreRanSta || '-' || t.%1TreRanEnd FROM %1Table c "
               "JOIN %1TreTable t ON t.%1TreID = COALESCE(c.%1SecID, c.%1ChaID) "
               "WHERE c.%1Cod = '%2'")
        .arg(prefix, code);
}

const QByteArray GoodFile =
    "# a practice's own dental file\n"
    "REVISION\tDental codes of the practice\tDC 2024\tLicensed to the practice\t2024-01-01\n"
    "RANGE\t0\tD0100\tD0999\tDiagnostic\n"
    "RANGE\t1\tD0100\tD0199\tExaminations\n"
    "D0120\t\tExamination of a known patient's teeth \\ gums\r\n"
    "\"D0150\",,\"Examination, new patient, \"\"full\"\"\"\n"
    "RANGE\t0\tD2000\tD2699\tRestorations\n"
    "d2699a\tX\tA code with a letter\n";

}  // namespace

class CodesBuildTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void knownCodes_data();
    void knownCodes();
    void hostNamesTheDatabase();
    void licensedFile();
    void badLicensedLine_data();
    void badLicensedLine();
    void licensedFileEncoding_data();
    void licensedFileEncoding();
    void rebuildKeepsTheRowsAndAFailedBuildTheOldSets();

private:
    // One practice database and one reference database of the practice for the whole run:
    // the bad lines are tried on the same loaded file, which none of them may change.
    std::unique_ptr<tqtest::TestDatabase> m_db;
    std::unique_ptr<OwnCodes> m_loaded;
    QString m_licensedPath;
};

void CodesBuildTest::initTestCase() {
    m_db = std::make_unique<tqtest::TestDatabase>();
    TQ_REQUIRE_DATABASE(*m_db);
    m_loaded = std::make_unique<OwnCodes>(*m_db);
    m_licensedPath = m_db->dataPath() + "licensed.txt";
    QVERIFY(tqtest::writeFile(m_licensedPath, GoodFile));
    m_loaded->build({}, m_licensedPath);
}

void CodesBuildTest::cleanupTestCase() {
    m_loaded.reset();
    m_db.reset();
}

void CodesBuildTest::knownCodes_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("ICD-10-CM K02.9") << "SELECT ICD10Des FROM ICD10Table WHERE ICD10Cod = 'K02' "
                                        "AND ICD10Mod = '9'"
                                     << QStringList{"Dental caries, unspecified"};
    QTest::newRow("ICD-10-CM S02.5XXA")
        << "SELECT ICD10Des FROM ICD10Table WHERE ICD10Cod = 'S02' AND ICD10Mod = '5XXA'"
        << QStringList{"Fracture of tooth (traumatic), initial encounter for closed fracture"};
    QTest::newRow("ICD-9-CM 521.00 as code and modifier")
        << "SELECT ICD9Cod || ICD9Mod, ICD9Des FROM ICD9Table WHERE ICD9Cod = '521' AND ICD9Mod "
           "= '00'"
        << QStringList{"52100|Dental caries, unspecified"};
    QTest::newRow("ICD-9-CM E code keeps four characters")
        << "SELECT ICD9Mod FROM ICD9Table WHERE ICD9Cod = 'E800' ORDER BY ICD9Mod LIMIT 1"
        << QStringList{"0"};
    QTest::newRow("HCPCS G0008 without modifier")
        << "SELECT HCPCSMod, HCPCSDes FROM HCPCSTable WHERE HCPCSCod = 'G0008'"
        << QStringList{"|Administration of influenza virus vaccine"};
    QTest::newRow("counts")
        << "SELECT (SELECT COUNT(*) FROM ICD10Table), (SELECT COUNT(*) FROM ICD9Table), "
           "(SELECT COUNT(*) FROM HCPCSTable), (SELECT COUNT(*) FROM HCPCSModTable)"
        << QStringList{"72621|14567|6440|360"};
    QTest::newRow("trees: chapters and sections")
        << "SELECT (SELECT COUNT(*) FROM ICD10TreTable WHERE ICD10TreLev = 0), (SELECT COUNT(*) "
           "FROM ICD10TreTable WHERE ICD10TreLev = 1), (SELECT COUNT(*) FROM ICD9TreTable WHERE "
           "ICD9TreLev = 0), (SELECT COUNT(*) FROM ICD9TreTable WHERE ICD9TreLev = 1)"
        << QStringList{"22|284|19|160"};
    // Letters in third place: by the category table, not by text ranges. C4A, C7A, the
    // ICD-9, HCPCS and dental sections a code is listed under: tst_db_refcodes, on screen.
    QTest::newRow("M1A in M05-M14") << deepestNode("ICD10", "M1A") << QStringList{"M05-M14"};
    QTest::newRow("Z3A in Z30-Z39") << deepestNode("ICD10", "Z3A") << QStringList{"Z30-Z39"};
    QTest::newRow("C78 not in C7A") << deepestNode("ICD10", "C78") << QStringList{"C76-C80"};
    QTest::newRow("deepest node") << deepestNode("CDT", "D9999") << QStringList{"D9999-D9999"};
    QTest::newRow("no modifier is null")
        << "SELECT COUNT(*) FROM ICD10Table WHERE ICD10Mod IS NULL" << QStringList{"0"};
}

void CodesBuildTest::knownCodes() {
    QFETCH(QString, sql);
    QFETCH(QStringList, expected);
    tqplatform::Connection codes(tqtest::sharedReferenceDatabase(*m_db));
    QCOMPARE(rowsOf(codes, sql), expected);
}

void CodesBuildTest::hostNamesTheDatabase() {
    auto host = tqhost::createHost(m_db->url(), m_db->dataPath(), "tester");
    const QString url = host->GetDatabaseConnectionString("CODES", 1, QString());
    QCOMPARE(url, m_db->isPostgres() ? m_db->url() + "_codes"
                                     : "sqlite://" + m_db->dataPath() + "codes.db");
    QVERIFY(tqhost::referenceDatabaseHasSets(url, {ReferenceSet::Dental}));
    QVERIFY(!tqhost::referenceDatabaseHasSets(url, {ReferenceSet::Icd10}));
    QVERIFY(!tqhost::referenceDatabaseHasSets(url + "_none"));
    // The browser's "code + modifier" joins texts on either database.
    tqplatform::Connection opened(url);
    QCOMPARE(rowsOf(opened, host->TranslateSql(
                                "SELECT CDTCod + CDTMod FROM CDTTable WHERE CDTCod = 'D2699A'", 0)),
             QStringList{"D2699AX"});
    QVERIFY_THROWS_EXCEPTION(tqGlobal::Error, host->GetDatabaseConnectionString("PRACTICE", 1, ""));
}

void CodesBuildTest::licensedFile() {
    OwnCodes& codes = *m_loaded;
    QCOMPARE(codes.rows("SELECT CDTCod, CDTMod, CDTDes, CDTChaID, CDTSecID FROM CDTTable ORDER "
                        "BY CDTID"),
             (QStringList{"D0120||Examination of a known patient's teeth \\ gums|1|2",
                          "D0150||Examination, new patient, \"full\"|1|2",
                          "D2699A|X|A code with a letter|3|NULL"}));
    QCOMPARE(codes.rows("SELECT CDTTreID, CDTTreLev, CDTTrePar, CDTTreDes FROM CDTTreTable ORDER "
                        "BY CDTTreID"),
             (QStringList{"1|0|0|Diagnostic", "2|1|1|Examinations", "3|0|0|Restorations"}));
    QCOMPARE(codes.rows("SELECT CDTLonDes, CDTShoDes, CDTCop FROM CDTRevTable"),
             QStringList{"Dental codes of the practice|DC 2024|Licensed to the practice"});
    QSqlQuery date = codes.connection->run("SELECT CDTEffDat FROM CDTRevTable");
    QVERIFY(date.next());
    QCOMPARE(date.value(0).toDate(), QDate(2024, 1, 1));
    // Loading the dental file builds the dental set only.
    QCOMPARE(codes.rows("SELECT RefSetPre FROM RefSetTable"), QStringList{"CDT"});
}

void CodesBuildTest::badLicensedLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char* tag, const QByteArray& line, const char* reason) {
        QTest::newRow(tag) << line << QString::fromUtf8(reason);
    };
    row("two fields", "D1110\tCleaning", "3 fields expected");
    row("blank in code", "D 1110\t\tCleaning", "without blanks");
    row("no description", "D1110\t\t", "has no description");
    row("twice", "D0120\t\tAgain", "the code D0120 comes twice");
    row("open quote", "\"D1110,,Cleaning", "a quote is not closed");
    row("range backwards", "RANGE\t0\tD2999\tD2000\tCrowns", "the range ends (D2000)");
    row("orphan level", "RANGE\t3\tD1000\tD1999\tDeep", "has no range of level 2");
    row("bad date", "REVISION\tTitle\t\t\t2024-13-01", "is not a date yyyy-mm-dd");
    row("NUL", QByteArray("D1110\t\tClean\0ing", 16),
        "the line holds a NUL character (byte 0) at column 13");
    row("1 MB code", QByteArray(1 << 20, 'D') + "\t\tHuge",
        "the code has 1048576 characters, more than the 10 it may have (it starts "
        "\"DDDDDDDDDDDDDDDDDDDD...\")");
    row("long modifier", "D1110\t12345678901\tCleaning",
        "the modifier has 11 characters, more than the 10");
    row("long range text", "RANGE\t0\tD1000\tD1999\t" + QByteArray(256, 'x'),
        "the range description has 256 characters, more than the 255");
    row("long notice", "REVISION\tTitle\t\t" + QByteArray(501, 'x') + "\t",
        "the notice has 501 characters, more than the 500");
    row("no Windows-1252 character", "D1110\t\tClean\x81ing",
        "the byte 0x81 is no character of Windows-1252");
}

void CodesBuildTest::badLicensedLine() {
    QFETCH(QByteArray, line);
    QFETCH(QString, reason);
    OwnCodes& codes = *m_loaded;
    const QString path = m_db->dataPath() + "bad.txt";
    const QStringList before = codes.rows("SELECT * FROM CDTTable ORDER BY CDTID");
    // The bad line is the 6th; the lines before it are good, and a good one follows.
    QVERIFY(tqtest::writeFile(
        path, "D0120\t\tOne\n# note\n\nD0140\t\tTwo\nRANGE\t0\tD0100\tD0999\tDiag\n" + line +
                  "\nD0150\t\tThree\n"));
    try {
        codes.build({}, path);
        QFAIL("a bad line was loaded");
    } catch (const tqGlobal::Error& error) {
        QVERIFY2(error.description().contains(path + " line 6: "), qPrintable(error.description()));
        QVERIFY2(error.description().contains(reason), qPrintable(error.description()));
        QVERIFY2(error.description().size() < path.size() + 160, qPrintable(error.description()));
    }
    QCOMPARE(codes.rows("SELECT * FROM CDTTable ORDER BY CDTID"), before);
}

void CodesBuildTest::licensedFileEncoding_data() {
    QTest::addColumn<QByteArray>("description");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("source");
    const QString text = "Caf\u00E9 \u201Cx\u201D \u2013 \u2122 \u20AC";
    QTest::newRow("UTF-8") << text.toUtf8() << text << "enc.txt (UTF-8)";
    QTest::newRow("Windows-1252") << QByteArray("Caf\xE9 \x93x\x94 \x96 \x99 \x80") << text
                                  << "enc.txt (Windows-1252)";
    // One byte that is not UTF-8 makes the whole file Windows-1252, not only its line.
    QTest::newRow("not UTF-8 as a whole")
        << QByteArray("\xC3\xA9\n D0150\t\t\xE9") << "\u00C3\u00A9"
        << "enc.txt (Windows-1252)";
}

void CodesBuildTest::licensedFileEncoding() {
    QFETCH(QByteArray, description);
    QFETCH(QString, stored);
    QFETCH(QString, source);
    OwnCodes& codes = *m_loaded;
    const QString path = m_db->dataPath() + "enc.txt";
    QVERIFY(tqtest::writeFile(path, "D0120\t\t" + description + "\n"));
    codes.build({}, path);
    QCOMPARE(codes.rows("SELECT CDTDes FROM CDTTable WHERE CDTCod = 'D0120'"), QStringList{stored});
    QCOMPARE(codes.rows("SELECT RefSetSou FROM RefSetTable"), QStringList{source});
}

void CodesBuildTest::rebuildKeepsTheRowsAndAFailedBuildTheOldSets() {
    // The practice's own dental codes, so that the sample dental set would show if a
    // failed build left it in their place.
    OwnCodes codes(*m_db, "_rebuilt");
    const QList<ReferenceSet> sets = {ReferenceSet::Icd9, ReferenceSet::Hcpcs};
    auto digest = [&codes] {
        QStringList all;
        for (const char* table : {"CDTTable", "CDTTreTable", "CDTRevTable", "ICD9Table",
                                  "ICD9TreTable", "HCPCSTable", "HCPCSTreTable", "HCPCSModTable"}) {
            all << codes.rows(QStringLiteral("SELECT * FROM %1 ORDER BY 1").arg(table));
        }
        return QCryptographicHash::hash(all.join(QLatin1Char('\n')).toUtf8(),
                                        QCryptographicHash::Sha256);
    };
    codes.build(sets, m_licensedPath);
    const QByteArray first = digest();
    codes.build(sets, m_licensedPath);
    QCOMPARE(digest(), first);
    QCOMPARE(codes.rows("SELECT COUNT(*) FROM ICD9Table"), QStringList{"14567"});
    // The sample set replaces the dental codes, then the record of the build is refused.
    tqtest::failStatements(*codes.connection, "RefSetTable", "INSERT");
    QVERIFY_THROWS_EXCEPTION(tqGlobal::Error,
                             codes.build({ReferenceSet::Dental, ReferenceSet::Icd9}));
    tqtest::stopFailingStatements(*codes.connection, "RefSetTable", "INSERT");
    QCOMPARE(digest(), first);
}

TQ_TEST_MAIN(CodesBuildTest)
#include "tst_db_codesbuild.moc"
