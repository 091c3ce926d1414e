#include <tqplatform/Connection.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Recordset.h>

#include <tqglobal/Error.h>

#include "Errors.h"
#include "TestDatabase.h"
#include "TestMain.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QObject>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <functional>
#include <map>
#include <memory>

using tqplatform::Bookmark;
using tqplatform::Connection;
using tqplatform::Currency;
using tqplatform::Recordset;
using tqplatform::SearchDirection;
using tqtest::errorOf;
namespace FieldType = tqplatform::FieldType;
namespace Position = tqplatform::Position;

namespace {

/// Three million rows that SQLite makes one by one as they are read.
const QString ManySqliteRows =
    "WITH RECURSIVE n(g) AS (SELECT 1 UNION ALL SELECT g + 1 FROM n "
    "WHERE g < 3000000) SELECT g FROM n";

using IdList = QList<int>;

/// The cID of every record of the view, in view order (the cursor ends at EOF).
IdList ids(Recordset& rs) {
    IdList result;
    if (rs.RecordCount() == 0) {
        return result;
    }
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
        result << rs.Fields("cID").toInt();
    }
    return result;
}

}  // namespace

class TestRecordset : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<tqtest::TestDatabase> m_db;
    std::unique_ptr<Connection> m_conn;

    Recordset codes() { return m_conn->OpenRecordset("SELECT * FROM Codes ORDER BY cID"); }

private slots:
    void initTestCase() {
        m_db = std::make_unique<tqtest::TestDatabase>();
        TQ_REQUIRE_DATABASE(*m_db);
        m_conn = std::make_unique<Connection>(m_db->url());
        m_conn->setCurrencyColumns({"cfee", "kfee", "famount", "total"});
        m_conn->Execute(
            "CREATE TABLE Codes (cID INTEGER, cCode VARCHAR(10), cName VARCHAR(40), "
            "cFee NUMERIC(19,4), cDate DATE, cCount INTEGER)");
        m_conn->Execute(
            "INSERT INTO Codes VALUES (1, 'D0120', 'Periodic exam', 45.5, '2024-01-15', 3), "
            "(2, 'd0150', 'comprehensive exam', 0.1, '2024-02-01', 10), "
            "(3, 'D1110', 'Prophylaxis', 0.2, NULL, 9), "
            "(4, 'D2740', 'Crown', 12345678.1234, '2023-12-31', 100), "
            "(5, 'D2750', 'crown', 0.3, '2024-01-15', NULL), "
            "(6, NULL, 'O''Brien note', NULL, '2024-03-01', 20), "
            "(7, 'D9999', 'Bridge 50% off', -12.75, '2024-01-16', 2), "
            "(8, 'D0140', 'Limited exam', 45.5, '2024-01-15', 0)");
        m_conn->Execute(
            "CREATE TABLE Kinds (kID INTEGER, kSmall SMALLINT, kBig BIGINT, "
            "kDouble DOUBLE PRECISION, kReal REAL, kText VARCHAR(30), kDate DATE, "
            "kStamp TIMESTAMP, "
            "kFlag BOOLEAN, kFee NUMERIC(19,4), kRate NUMERIC(9,4))");
        m_conn->Execute(
            "INSERT INTO Kinds VALUES (7, -3, 5000000000, 2.5, 0.25, 'Crown', '2024-03-15', "
            "'2024-03-15 10:20:30', TRUE, 12345678.1234, 0.125), "
            "(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
        m_conn->Execute("CREATE TABLE Tx (tID INTEGER)");
        m_conn->Execute("CREATE TABLE Fees (fID INTEGER, fAmount NUMERIC(19,4))");
    }

    void cleanupTestCase() {
        m_conn.reset();
        m_db.reset();
    }

    void fieldTypesAndValues_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<int>("type");
        QTest::addColumn<QVariant>("value");
        const auto row = [](const char* field, int type, const QVariant& value) {
            QTest::newRow(field) << QString::fromLatin1(field) << type << value;
        };
        row("kID", FieldType::Integer, 7);
        row("kSmall", FieldType::SmallInt, -3);
        row("kBig", FieldType::BigInt, qlonglong(5000000000LL));
        row("kDouble", FieldType::Double, 2.5);
        row("kReal", FieldType::Single, 0.25);
        row("kText", FieldType::VarWChar, "Crown");
        row("kDate", FieldType::Date, QDate(2024, 3, 15));
        row("kStamp", FieldType::Date, QDateTime(QDate(2024, 3, 15), QTime(10, 20, 30)));
        row("kFlag", FieldType::Boolean, true);
        row("kFee", FieldType::Currency, QVariant::fromValue(Currency::fromRaw(123456781234)));
        row("kRate", FieldType::Double, 0.125);  // numeric, but not a money column
    }

    void fieldTypesAndValues() {
        QFETCH(QString, field);
        QFETCH(int, type);
        QFETCH(QVariant, value);
        Recordset rs = m_conn->OpenRecordset("SELECT * FROM Kinds ORDER BY kID");
        const int index = rs.FieldIndex(field);
        QCOMPARE(rs.FieldInfo(index).type, type);
        QCOMPARE(rs.FieldIndex(field.toUpper()), index);
        // NULLs sort first on SQLite and last on PostgreSQL: find each row by its key.
        rs.setFilter("kID = 7");
        QCOMPARE(rs.Fields(field).metaType(), value.metaType());
        QCOMPARE(rs.Fields(field), value);
        QCOMPARE(rs.Fields(index), value);
        // Texts alone come as the database's UTF-8 too.
        const auto utf8 = rs.FieldUtf8(index);
        QCOMPARE(utf8.has_value(), type == FieldType::VarWChar);
        QCOMPARE(utf8.value_or(QByteArrayView()).toByteArray(),
                 utf8 ? value.toString().toUtf8() : QByteArray());
        rs.setFilter("kID IS NULL");
        QVERIFY(rs.RecordCount() == 1 && rs.Fields(field).isNull() && !rs.FieldUtf8(index));
    }

    void moneyIsExact() {
        // Stored as reals or whole numbers by SQLite, as numerics by PostgreSQL: read exactly.
        m_conn->Execute(
            "INSERT INTO Fees VALUES (1, 0.1), (2, 0.2), (3, 0.3), "
            "(4, 45), (5, -0.0001), (6, 99999999999.9999)");
        Recordset rs = m_conn->OpenRecordset("SELECT fAmount FROM Fees ORDER BY fID");
        QCOMPARE(rs.FieldInfo(0).type, FieldType::Currency);
        QList<qint64> raws;
        for (; !rs.Eof(); rs.MoveNext()) {
            QCOMPARE(rs.Fields(0).metaType(), QMetaType::fromType<Currency>());
            raws << rs.Fields("FAMOUNT").value<Currency>().raw();
        }
        QCOMPARE(raws, (QList<qint64>{1000, 2000, 3000, 450000, -1, 999999999999999}));
        // 0.1 and 0.2 add up to 0.3 in the database too.
        Recordset total =
            m_conn->OpenRecordset("SELECT SUM(fAmount) AS Total FROM Fees WHERE fID < 3");
        QCOMPARE(total.Fields("total"), QVariant::fromValue(Currency::fromRaw(3000)));
    }

    void cursorMoves_data() {
        QTest::addColumn<QString>("moves");  // Next, Previous, Last, Move n, Absolute n,
        QTest::addColumn<int>("position");   // Find (F) or find backward (B), skipping n
        QTest::addColumn<long>("error");
        // Opening puts the cursor on the first record (the refused absolute position keeps it);
        // MoveLast and setAbsolutePosition are checked by the rows that go on from them.
        QTest::newRow("past the last") << "L|N" << Position::Eof << 0L;
        QTest::newRow("next at EOF") << "L|N|N" << Position::Eof << 3021L;
        QTest::newRow("previous at BOF") << "P|P" << Position::Bof << 3021L;
        QTest::newRow("move beyond the end") << "M30" << Position::Eof << 0L;
        QTest::newRow("move before the start") << "L|M-30" << Position::Bof << 0L;
        QTest::newRow("move back at BOF") << "P|M-1" << Position::Bof << 3021L;
        QTest::newRow("absolute position out of range") << "A9" << 1 << 3001L;
        QTest::newRow("find from the current") << "F0 cName LIKE 'crown'" << 4 << 0L;
        QTest::newRow("find skipping the current") << "A4|F1 cName LIKE 'crown'" << 5 << 0L;
        QTest::newRow("find backward, skipping") << "A8|B1 cFee = 45.5" << 1 << 0L;
        QTest::newRow("find backward from EOF") << "L|N|B0 cID = 8" << 8 << 0L;
        QTest::newRow("nothing meets it") << "F0 cCount > 1000" << Position::Eof << 0L;
    }

    void cursorMoves() {
        QFETCH(QString, moves);
        QFETCH(int, position);
        QFETCH(long, error);
        Recordset rs = codes();
        long thrown = 0;
        for (const QString& move : moves.split(u'|', Qt::SkipEmptyParts)) {
            const int n = move.mid(1).section(u' ', 0, 0).toInt();
            const QString criteria = move.section(u' ', 1);
            const std::map<QChar, std::function<void()>> act = {
                {u'N', [&] { rs.MoveNext(); }},
                {u'P', [&] { rs.MovePrevious(); }},
                {u'L', [&] { rs.MoveLast(); }},
                {u'M', [&] { rs.Move(n); }},
                {u'A', [&] { rs.setAbsolutePosition(n); }},
                {u'F', [&] { rs.Find(criteria, n, SearchDirection::Forward); }},
                {u'B', [&] { rs.Find(criteria, n, SearchDirection::Backward); }}};
            thrown = errorOf(act.at(move[0]));
            if (thrown != 0) {
                break;
            }
        }
        QCOMPARE(thrown, error);
        QCOMPARE(rs.AbsolutePosition(), position);
        QCOMPARE(rs.Eof(), position == Position::Eof);
        QCOMPARE(rs.Bof(), position == Position::Bof);
        if (position > 0) {
            QCOMPARE(rs.Fields("cid").toInt(), position);
        } else {
            QCOMPARE(errorOf([&] { rs.Fields("cID"); }), 3021L);
        }
    }

    void views_data() {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("criteria");
        QTest::addColumn<IdList>("expected");
        const auto row = [](const char* tag, const char* sort, const char* criteria,
                            const IdList& expected) {
            QTest::newRow(tag) << QString::fromUtf8(sort) << QString::fromUtf8(criteria)
                               << expected;
        };
        row("fetched order", "", "", {1, 2, 3, 4, 5, 6, 7, 8});
        row("texts ignore case, ties keep their order", "cName", "", {7, 2, 4, 5, 8, 6, 1, 3});
        row("money, nulls first", "cFee", "", {6, 7, 2, 3, 5, 1, 8, 4});
        row("two keys, nulls last descending", "cFee DESC, cID DESC", "", {4, 8, 1, 5, 3, 2, 7, 6});
        row("dates then ids", "cDate, cID", "", {3, 4, 1, 5, 8, 7, 2, 6});
        row("numbers as numbers", "[cCount] desc", "", {4, 6, 2, 3, 1, 7, 8, 5});
        row("like without wildcards", "", "cName LIKE 'crown'", {4, 5});
        row("money, large", "", "cFee = 12345678.1234", {4});
        row("US date", "", "cDate = #1/15/2024#", {1, 5, 8});
        row("null", "", "cFee = NULL", {6});
        row("not equal skips nulls", "", "cCode <> 'D0120'", {2, 3, 4, 5, 7, 8});
        row("filtered records in sorted order", "cID DESC", "cFee > 0.1 AND cFee < 45.5", {5, 3});
    }

    void views() {
        QFETCH(QString, sort);
        QFETCH(QString, criteria);
        QFETCH(IdList, expected);
        Recordset rs = codes();
        rs.setSort(sort);
        rs.setFilter(criteria);
        QCOMPARE(rs.RecordCount(), expected.size());
        QCOMPARE(ids(rs), expected);
        rs.setSort(QString());
        rs.setFilter(QString());
        QCOMPARE(ids(rs), (IdList{1, 2, 3, 4, 5, 6, 7, 8}));
    }

    void bookmarksClonesAndRequery() {
        Recordset rs = codes();
        rs.setAbsolutePosition(7);
        const Bookmark seventh = rs.bookmark();
        rs.MoveFirst();
        rs.setSort("cName DESC");
        QCOMPARE(rs.Fields("cID").toInt(), 1);  // the current record stays
        rs.setBookmark(seventh);
        QCOMPARE(rs.AbsolutePosition(), 8);
        rs.setFilter("cCount > 50");
        QCOMPARE(errorOf([&] { rs.setBookmark(seventh); }), 3001L);
        QCOMPARE(rs.Fields("cID").toInt(), 4);  // the cursor did not move
        // A clone shares the rows with its own cursor; a copy has rows of its own.
        Recordset clone = rs.Clone();
        clone.setField("cName", "Changed");
        Recordset copy = rs;
        copy.setField("cName", "Copy only");
        QCOMPARE(rs.Fields("cName").toString(), "Changed");
        // Requery reads the database again under the same sort and filter; clones keep theirs.
        m_conn->Execute("UPDATE Codes SET cCount = 200 WHERE cID = 1");
        rs.Requery();
        QCOMPARE(ids(rs), (IdList{1, 4}));
        rs.MoveLast();
        QCOMPARE(rs.Fields("cName").toString(), "Crown");
        QCOMPARE(clone.RecordCount(), 1);
        m_conn->Execute("UPDATE Codes SET cCount = 3 WHERE cID = 1");
    }

    void transactions_data() {
        QTest::addColumn<QString>("steps");  // B begin, I insert, C commit, R rollback
        QTest::addColumn<int>("rows");
        QTest::newRow("commit") << "B I C" << 1;
        QTest::newRow("rollback") << "B I R" << 0;
        QTest::newRow("inner rollback, outer commit") << "B I B I R C" << 1;
        QTest::newRow("inner commit, outer rollback") << "B I B I C R" << 0;
        QTest::newRow("three levels") << "B I B I B I R C I C" << 3;
    }

    void transactions() {
        QFETCH(QString, steps);
        QFETCH(int, rows);
        m_conn->Execute("DELETE FROM Tx");
        int depth = 0;
        for (const QString& step : steps.split(u' ')) {
            if (step == u"B") {
                m_conn->BeginTrans();
                ++depth;
            } else if (step == u"I") {
                QCOMPARE(m_conn->Execute("INSERT INTO Tx VALUES (1)"), int64_t(1));
            } else if (step == u"C") {
                m_conn->CommitTrans();
                --depth;
            } else {
                m_conn->RollbackTrans();
                --depth;
            }
            QCOMPARE(m_conn->transactionDepth(), depth);
        }
        Recordset rs = m_conn->OpenRecordset("SELECT tID FROM Tx");
        QCOMPARE(rs.RecordCount(), rows);
        // Another connection sees exactly what was committed.
        Connection other(m_db->url());
        QCOMPARE(other.OpenRecordset("SELECT tID FROM Tx").RecordCount(), rows);
        QCOMPARE(m_conn->Execute("UPDATE Tx SET tID = 2"), int64_t(rows));
    }

    void closingAbandonsOpenTransaction() {
        m_conn->Execute("CREATE TABLE Closing (xID INTEGER)");
        {
            Connection conn(m_db->url());
            conn.BeginTrans();
            conn.Execute("INSERT INTO Closing VALUES (1)");
            Recordset rs = conn.OpenRecordset("SELECT * FROM Closing");
            conn.Close();
            QVERIFY(!conn.isOpen());
            QCOMPARE(conn.transactionDepth(), 0);
            QCOMPARE(rs.RecordCount(), 1);  // fetched rows stay readable
            QCOMPARE(errorOf([&] { rs.Requery(); }), 3704L);
            QCOMPARE(errorOf([&] { conn.Execute("SELECT 1"); }), 3704L);
        }
        QCOMPARE(m_conn->OpenRecordset("SELECT * FROM Closing").RecordCount(), 0);
    }

    void rowsReadInParts() {
        const IdList all{1, 2, 3, 4, 5, 6, 7, 8};
        const QString sql = "SELECT * FROM Codes ORDER BY cID";
        Recordset rs = m_conn->OpenRecordset(sql, 3);
        QVERIFY(rs.RecordCount() == 3 && !rs.fetchComplete());
        QCOMPARE(rs.fetchMore(4), 4);
        QCOMPARE(rs.fetchMore(4), 1);
        QVERIFY(rs.fetchComplete());
        QCOMPARE(ids(rs), all);
        // Another statement on the connection, a sort or a clone reads the rest first.
        Recordset settled = m_conn->OpenRecordset(sql, 2);
        m_conn->Execute("DELETE FROM Tx");
        QVERIFY(settled.fetchComplete());
        QCOMPARE(ids(settled), all);
        Recordset sorted = m_conn->OpenRecordset(sql, 2);
        sorted.setSort("cID DESC");
        QCOMPARE(ids(sorted), (IdList{8, 7, 6, 5, 4, 3, 2, 1}));
        Recordset partial = m_conn->OpenRecordset(sql, 1);
        QCOMPARE(ids(partial), IdList{1});
        QCOMPARE(ids(*std::make_unique<Recordset>(partial.Clone())), all);
        // The cursor that stood past the rows read stands on the next one once it is read.
        QCOMPARE(partial.Fields("cFee").value<Currency>().raw(), 1000);
    }

    void failedReadsReported() {
        // A statement that fails at its fifth row: the driver's own text, whether the row is
        // read at once or later in parts.
        const QString failing =
            m_db->isPostgres() ? "SELECT cID, 1 / (cID - 5) AS q FROM Codes"
                               : "SELECT cID, CASE WHEN cID = 5 THEN abs(-9223372036854775808) "
                                 "END AS q FROM Codes";
        QSqlQuery bare(m_conn->database());
        bare.setForwardOnly(true);
        QVERIFY(bare.exec(failing));
        while (bare.next()) {
        }
        const QString expected = bare.lastError().text() + "\nStatement: " + failing;
        bare = QSqlQuery();
        const auto description = [&](const std::function<void()>& action) {
            try {
                action();
            } catch (const tqGlobal::Error& e) {
                return QString::number(e.number()) + u' ' + e.description();
            }
            return QString();
        };
        const QString number = QString::number(tqGlobal::ErrorNumber::DatabaseError) + u' ';
        QCOMPARE(description([&] { m_conn->OpenRecordset(failing); }), number + expected);
        Recordset rs = m_conn->OpenRecordset(failing, 2);
        QCOMPARE(description([&] { rs.fetchMore(100); }), number + expected);
        QVERIFY(rs.fetchComplete() && m_conn->isOpen());

        // The connection lost while rows are still coming: reported as lost, and open again.
        const QString many =
            m_db->isPostgres() ? "SELECT g FROM generate_series(1, 3000000) AS g" : ManySqliteRows;
        const QString pid =
            m_db->isPostgres()
                ? m_conn->OpenRecordset("SELECT pg_backend_pid()").Fields(0).toString()
                : QString();
        QSqlDatabase underneath = m_conn->database();
        Recordset endless = m_conn->OpenRecordset(many, 2);
        if (m_db->isPostgres()) {
            Connection(m_db->url())
                .Execute(QStringLiteral("SELECT pg_terminate_backend(%1)").arg(pid));
        } else {
            underneath.close();
        }
        QCOMPARE(errorOf([&] {
                     while (endless.fetchMore(100000) > 0) {
                     }
                 }),
                 Connection::ConnectionLost);
        QVERIFY(endless.fetchComplete());
        QCOMPARE(codes().RecordCount(), 8);
    }

    void closingAHalfReadListStopsTheRest_data() {
        QTest::addColumn<bool>("inTransaction");
        QTest::newRow("alone") << false;
        QTest::newRow("in a transaction") << true;
    }
    void closingAHalfReadListStopsTheRest() {
        QFETCH(bool, inTransaction);
        const bool pg = m_db->isPostgres();
        // Alone: rows that come a minute late after the first ones. In a transaction, which a
        // stopped statement would abort, the rest is read and the transaction goes on.
        const QString statement =
            !pg             ? ManySqliteRows
            : inTransaction ? QStringLiteral("SELECT g FROM generate_series(1, 500000) AS g")
                            : QStringLiteral(
                                  "SELECT g, repeat('x', 20000) AS pad, CASE WHEN g > 20 THEN "
                                  "pg_sleep(3) IS NULL END AS late FROM generate_series(1, 40) g");
        if (inTransaction) {
            m_conn->BeginTrans();
            m_conn->Execute(QStringLiteral("INSERT INTO Tx VALUES (42)"));
        }
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(m_conn->OpenRecordset(statement, 2).RecordCount(), 2);
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
        QCOMPARE(codes().RecordCount(), 8);
        if (inTransaction) {
            m_conn->CommitTrans();
            QCOMPARE(m_conn->OpenRecordset(QStringLiteral("SELECT * FROM Tx WHERE tID = 42"))
                         .RecordCount(),
                     1);
            m_conn->Execute(QStringLiteral("DELETE FROM Tx"));
        }
    }

    void likeFoldsCaseBeyondAscii_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<bool>("matches");
        const auto row = [](const char* tag, const char* text, const char* pattern, bool matches) {
            QTest::newRow(tag) << QString::fromUtf8(text) << QString::fromUtf8(pattern) << matches;
        };
        row("ascii", "Fracture of TOOTH", "%fracture OF tooth%", true);
        row("escaped %", "Bridge 500 off", "%50\\%%", false);
        row("escaped _", "a_b", "%A\\_b", true);
        row("one character", "abcd", "a_c", false);
        row("umlauts", "ÄRZTLICHE", "%ärzt%", true);
        // Kelvin sign: folds to an ASCII k, in the text or in the pattern.
        row("kelvin in text", "5 \u212A", "%k", true);
        row("kelvin in pattern", "5 k", "%\u212A", true);
    }
    void likeFoldsCaseBeyondAscii() {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(bool, matches);
        if (m_db->isPostgres()) {
            QSKIP("LIKE folds case on SQLite only; the server's ILIKE does it there");
        }
        QSqlQuery query =
            m_conn->run(QStringLiteral("SELECT ? LIKE ? ESCAPE '\\'"), {text, pattern});
        QVERIFY(query.next());
        QCOMPARE(query.value(0).toBool(), matches);
    }

    void refusedRequestsChangeNothing() {
        const auto err = tqGlobal::ErrorNumber::DatabaseError;
        QCOMPARE(errorOf([&] { m_conn->Execute("UPDATE Codes SET WHERE"); }), err);
        QCOMPARE(errorOf([&] { m_conn->OpenRecordset("SELECT * FROM NoSuch"); }), err);
        QCOMPARE(errorOf([&] { m_conn->CommitTrans(); }), err);
        QCOMPARE(errorOf([&] { m_conn->RollbackTrans(); }), err);
        QCOMPARE(errorOf([&] { Connection c("mysql://u:p@host/db"); }), err);
        QCOMPARE(errorOf([&] { Connection c("sqlite://" + m_db->dataPath() + "no/such/x.db"); }),
                 err);
        QVERIFY(m_conn->isOpen() && m_conn->transactionDepth() == 0);

        Recordset rs = codes();
        rs.setAbsolutePosition(3);
        QCOMPARE(errorOf([&] { rs.Fields("cNoSuch"); }), 3265L);
        QCOMPARE(errorOf([&] { rs.Fields(6); }), 3265L);
        QCOMPARE(errorOf([&] { rs.setFilter("cID = "); }), 3001L);
        QCOMPARE(errorOf([&] { rs.setFilter("cNoSuch = 1"); }), 3265L);
        QCOMPARE(errorOf([&] { rs.setSort("cID,,cName"); }), 3001L);
        QCOMPARE(errorOf([&] { rs.setSort("cNoSuch DESC"); }), 3265L);
        QCOMPARE(errorOf([&] { rs.Find("cName LIK 'x'"); }), 3001L);
        // A refused request leaves the recordset as it was.
        QCOMPARE(rs.Filter() + rs.Sort(), QString());
        QCOMPARE(rs.RecordCount(), 8);
        QCOMPARE(rs.Fields("cID").toInt(), 3);
        rs.Close();
        QCOMPARE(errorOf([&] { rs.RecordCount(); }), 3704L);
        // No record to stand on: moves and bookmarks are refused, a find ends at EOF.
        Recordset empty = m_conn->OpenRecordset("SELECT * FROM Codes WHERE cID < 0");
        QCOMPARE(empty.FieldCount(), 6);
        QVERIFY(empty.RecordCount() == 0 && empty.Eof() && empty.Bof());
        QCOMPARE(errorOf([&] { empty.MoveFirst(); }), 3021L);
        QCOMPARE(errorOf([&] { empty.bookmark(); }), 3021L);
        empty.Find("cID = 1");
        QVERIFY(empty.Eof());
    }
};

TQ_TEST_MAIN(TestRecordset)
#include "tst_db_recordset.moc"
