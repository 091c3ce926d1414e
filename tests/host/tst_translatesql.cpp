// The statements the component writes, as each database receives them. No database is
// needed: the translation is text to text (tst_db_host runs them and the text literals).
// Case-blind LIKE, the host's own text columns and the browser's statement run on both
// databases through the browser, reference and fault tests.

#include "TestMain.h"

#include <tqhost/SqlDialect.h>

#include <QObject>
#include <QTest>

using tqplatform::DatabaseKind;

class TranslateSqlTest : public QObject {
    Q_OBJECT

private slots:
    void translates_data();
    void translates();
};

void TranslateSqlTest::translates_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* tag, const QString& statement, bool postgres,
                        const QString& expected) {
        QTest::newRow(tag) << statement << postgres << expected;
    };
    const QString scope = QStringLiteral("(OffLocID = 1 OR OffLocID = 0 OR OffLocID IS NULL)");

    row("delete star", "DELETE * FROM SevCodTable WHERE sevcodID=5;", false,
        "DELETE FROM SevCodTable WHERE sevcodID=5;");
    row("delete table star", "DELETE SevCodTable.* FROM SevCodTable WHERE x=1", false,
        "DELETE FROM SevCodTable WHERE x=1");
    row("bracketed names", "SELECT sevcodCod AS [Service Code], [sevcodDes] FROM [SevCodTable]",
        true, "SELECT sevcodCod AS \"Service Code\", sevcodDes FROM SevCodTable");
    row("bracket with a quote mark", "SELECT a AS [Fee \"1\"] FROM t", false,
        "SELECT a AS \"Fee \"\"1\"\"\" FROM t");
    row("Clng on sqlite rounds",
        "UPDATE SevCodTable SET SevCodFee1 = Clng(SevCodFee1 * 1.05) WHERE " + scope, false,
        "UPDATE SevCodTable SET SevCodFee1 = CAST(ROUND(ROUND(SevCodFee1 * 1.05, 4)) AS "
        "INTEGER) WHERE " +
            scope);
    row("Clng within Clng on postgres", "SELECT clng(Clng(x) / 2) FROM t", true,
        "SELECT CAST(ROUND(CAST(CAST(ROUND(CAST(x AS NUMERIC), 4) AS INTEGER) / 2 AS NUMERIC), 4) "
        "AS INTEGER) FROM t");
    row("ROUND to whole dollars as money", "SET f = ROUND(f * (g), 0), h = round(h, 2)", true,
        "SET f = ROUND(ROUND(f * (g), 4), 0), h = round(h, 2)");
    row("CInt with nested brackets", "SET f = CInt((f + 1) * (g)) WHERE x", false,
        "SET f = CAST(ROUND(ROUND((f + 1) * (g), 4)) AS INTEGER) WHERE x");
    row("Clng with a bracket in a literal", "SELECT Clng(')' + 1) FROM t", true,
        "SELECT CAST(ROUND(CAST(')' || 1 AS NUMERIC), 4) AS INTEGER) FROM t");
    row("Clng not closed", "SELECT Clng(x FROM t", false, "SELECT Clng(x FROM t");
    row("texts joined with a literal", "SELECT pLasNam + ', ' + pFirNam AS Name FROM PaTable", true,
        "SELECT pLasNam || ', ' || pFirNam AS Name FROM PaTable");
    row("text columns joined", "SELECT traCod + traDes FROM DTTable", false,
        "SELECT traCod || traDes FROM DTTable");
    row("money added stays a sum", "SELECT SevCodFee1 + SevCodFee2 FROM SevCodTable", true,
        "SELECT SevCodFee1 + SevCodFee2 FROM SevCodTable");
    row("unknown columns stay a sum", "SELECT cdtCod + cdtMod FROM cdtTable;", true,
        "SELECT cdtCod + cdtMod FROM cdtTable;");
    row("a comparison ends the chain", "WHERE a + 1 = 'x' AND b = 2", false,
        "WHERE a + 1 = 'x' AND b = 2");
    row("bracketed text joined further", "SELECT ('A' + PaTable.pLasNam) + pID FROM PaTable", false,
        "SELECT ('A' || PaTable.pLasNam) || pID FROM PaTable");
    row("scope then nothing", "UPDATE t SET f = 0 WHERE " + scope + " AND", true,
        "UPDATE t SET f = 0 WHERE " + scope);
    row("scope then and", "UPDATE t SET f = 0 WHERE " + scope + " AND and f is null", false,
        "UPDATE t SET f = 0 WHERE " + scope + " and f is null");
    row("scope then sort", "SELECT * FROM t WHERE " + scope + " AND ORDER BY a", false,
        "SELECT * FROM t WHERE " + scope + " ORDER BY a");
    row("empty condition", "UPDATE t SET f = 0 WHERE ", false, "UPDATE t SET f = 0 ");
    row("empty condition before sort", "SELECT * FROM t WHERE ORDER BY a;", false,
        "SELECT * FROM t ORDER BY a;");
    row("literal full of dialect",
        "WHERE d = 'it''s AND [x] + Clng(y) like DELETE * FROM' AND c = 'A'", true,
        "WHERE d = 'it''s AND [x] + Clng(y) like DELETE * FROM' AND c = 'A'");
    row("quoted names untouched", "SELECT \"Clng(\" FROM \"a [b]\"", true,
        "SELECT \"Clng(\" FROM \"a [b]\"");
    row("comment untouched", "SELECT a -- it's [x]\nFROM t", false, "SELECT a -- it's [x]\nFROM t");
}

void TranslateSqlTest::translates() {
    QFETCH(QString, statement);
    QFETCH(bool, postgres);
    QFETCH(QString, expected);
    QCOMPARE(
        tqhost::translateSql(statement, postgres ? DatabaseKind::PostgreSQL : DatabaseKind::SQLite),
        expected);
}

TQ_TEST_MAIN(TranslateSqlTest)
#include "tst_translatesql.moc"
