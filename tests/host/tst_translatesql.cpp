// The statements the component writes, as each database receives them, and the SQL text
// literals the host makes. No database is needed: the translation is text to text.

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
    void quotesTextLiterals_data();
    void quotesTextLiterals();
};

void TranslateSqlTest::translates_data() {
    QTest::addColumn<QString>("statement");
    QTest::addColumn<bool>("postgres");
    QTest::addColumn<QStringList>("extraTextColumns");
    QTest::addColumn<QString>("expected");

    const QStringList none;
    const QString scope = QStringLiteral("(OffLocID = 1 OR OffLocID = 0 OR OffLocID IS NULL) AND ");

    QTest::newRow("delete star") << "DELETE * FROM SevCodTable WHERE sevcodID=5;" << false << none
                                 << "DELETE FROM SevCodTable WHERE sevcodID=5;";
    QTest::newRow("delete star, lower case, postgres")
        << "delete  *  from SevCodTable" << true << none << "delete  from SevCodTable";
    QTest::newRow("delete table star") << "DELETE SevCodTable.* FROM SevCodTable WHERE x=1" << false
                                       << none << "DELETE FROM SevCodTable WHERE x=1";
    QTest::newRow("delete star inside a literal") << "SELECT 'DELETE * FROM x' AS t FROM y" << false
                                                  << none << "SELECT 'DELETE * FROM x' AS t FROM y";

    QTest::newRow("bracketed names")
        << "SELECT sevcodCod AS [Service Code], [sevcodDes] FROM [SevCodTable]" << true << none
        << "SELECT sevcodCod AS \"Service Code\", sevcodDes FROM SevCodTable";
    QTest::newRow("bracket with a quote mark in it")
        << "SELECT a AS [Fee \"1\"] FROM t" << false << none
        << "SELECT a AS \"Fee \"\"1\"\"\" FROM t";
    QTest::newRow("brackets inside a literal")
        << "WHERE sevcodDes = '[Crown] + x'" << false << none << "WHERE sevcodDes = '[Crown] + x'";

    QTest::newRow("Clng on sqlite rounds")
        << "UPDATE SevCodTable SET SevCodFee1 = Clng(SevCodFee1 * 1.05) WHERE " + scope +
               "SevCodCat = 'Prev'"
        << false << none
        << "UPDATE SevCodTable SET SevCodFee1 = CAST(ROUND(SevCodFee1 * 1.05) AS INTEGER) WHERE " +
               scope + "SevCodCat = 'Prev'";
    QTest::newRow("Clng on postgres")
        << "SET SevCodFee1 = Clng(SevCodFee1 * 1.05) WHERE x" << true << none
        << "SET SevCodFee1 = CAST(SevCodFee1 * 1.05 AS INTEGER) WHERE x";
    QTest::newRow("CInt with nested brackets")
        << "SET f = CInt((f + 1) * (g)) WHERE x" << false << none
        << "SET f = CAST(ROUND((f + 1) * (g)) AS INTEGER) WHERE x";
    QTest::newRow("Clng within Clng") << "SELECT clng(Clng(x) / 2) FROM t" << true << none
                                      << "SELECT CAST(CAST(x AS INTEGER) / 2 AS INTEGER) FROM t";
    QTest::newRow("Clng with a bracket in a literal argument")
        << "SELECT Clng(')' + 1) FROM t" << true << none
        << "SELECT CAST(')' || 1 AS INTEGER) FROM t";
    QTest::newRow("Clng not closed is left alone")
        << "SELECT Clng(x FROM t" << false << none << "SELECT Clng(x FROM t";
    QTest::newRow("Clng as a column name")
        << "SELECT t.Clng, Clng FROM t" << false << none << "SELECT t.Clng, Clng FROM t";

    QTest::newRow("texts joined with a literal")
        << "SELECT pLasNam + ', ' + pFirNam AS Name FROM PaTable" << true << none
        << "SELECT pLasNam || ', ' || pFirNam AS Name FROM PaTable";
    QTest::newRow("text columns joined") << "SELECT traCod + traDes FROM DTTable" << false << none
                                         << "SELECT traCod || traDes FROM DTTable";
    QTest::newRow("money added stays a sum")
        << "SELECT SevCodFee1 + SevCodFee2 FROM SevCodTable" << true << none
        << "SELECT SevCodFee1 + SevCodFee2 FROM SevCodTable";
    QTest::newRow("reference columns named by the host")
        << "SELECT *, cdtCod + cdtMod as cdtCodMod FROM cdtTable;" << true
        << QStringList{"cdtcod", "cdtmod"}
        << "SELECT *, cdtCod || cdtMod as cdtCodMod FROM cdtTable;";
    QTest::newRow("unknown columns stay a sum")
        << "SELECT *, cdtCod + cdtMod FROM cdtTable;" << true << none
        << "SELECT *, cdtCod + cdtMod FROM cdtTable;";
    QTest::newRow("a comparison ends the chain")
        << "WHERE a + 1 = 'x' AND b = 2" << false << none << "WHERE a + 1 = 'x' AND b = 2";
    QTest::newRow("bracketed text joined further")
        << "SELECT ('A' + pLasNam) + pID FROM PaTable" << false << none
        << "SELECT ('A' || pLasNam) || pID FROM PaTable";
    QTest::newRow("qualified text column") << "SELECT PaTable.pLasNam + x FROM PaTable" << false
                                           << none << "SELECT PaTable.pLasNam || x FROM PaTable";
    QTest::newRow("plus inside a literal")
        << "WHERE x = 'a + b'" << false << none << "WHERE x = 'a + b'";

    QTest::newRow("like ignores case on postgres")
        << "WHERE sevcodCod like '%d0%' OR sevcodDes LIKE '%like%'" << true << none
        << "WHERE sevcodCod ILIKE '%d0%' OR sevcodDes ILIKE '%like%'";
    QTest::newRow("like stays on sqlite")
        << "WHERE sevcodCod like '%d0%'" << false << none << "WHERE sevcodCod like '%d0%'";

    QTest::newRow("scope then nothing")
        << "UPDATE SevCodTable SET SevCodFee1 = SevCodFee1 * 1.05 WHERE " + scope.trimmed() << true
        << none
        << "UPDATE SevCodTable SET SevCodFee1 = SevCodFee1 * 1.05 WHERE " +
               scope.trimmed().chopped(4);
    QTest::newRow("scope then and") << "UPDATE SevCodTable SET SevCodFee1 = 0 WHERE " +
                                           scope.trimmed() + " and SevCodFee1 is null"
                                    << false << none
                                    << "UPDATE SevCodTable SET SevCodFee1 = 0 WHERE " +
                                           scope.trimmed().chopped(4) + " and SevCodFee1 is null";
    QTest::newRow("scope then sort")
        << "SELECT * FROM SevCodTable WHERE " + scope + "ORDER BY a" << false << none
        << "SELECT * FROM SevCodTable WHERE " + scope.trimmed().chopped(4) + " ORDER BY a";
    QTest::newRow("empty condition") << "UPDATE SevCodTable SET SevCodFee1 = 0 WHERE " << false
                                     << none << "UPDATE SevCodTable SET SevCodFee1 = 0 ";
    QTest::newRow("empty condition before sort")
        << "SELECT * FROM t WHERE ORDER BY a;" << false << none << "SELECT * FROM t ORDER BY a;";
    QTest::newRow("between keeps its and")
        << "WHERE a BETWEEN 1 AND 2" << false << none << "WHERE a BETWEEN 1 AND 2";
    QTest::newRow("the browser's statement passes")
        << "SELECT * FROM SevCodTable WHERE " + scope +
               "NOT (SevCodTable.sevcodCod IN ('CCRMB', 'CCRFN', 'CCPMT')) ORDER BY sevcodCod ASC;"
        << true << none
        << "SELECT * FROM SevCodTable WHERE " + scope +
               "NOT (SevCodTable.sevcodCod IN ('CCRMB', 'CCRFN', 'CCPMT')) ORDER BY sevcodCod ASC;";

    QTest::newRow("literal full of dialect")
        << "WHERE d = 'it''s AND [x] + Clng(y) like DELETE * FROM' AND c = 'A'" << true << none
        << "WHERE d = 'it''s AND [x] + Clng(y) like DELETE * FROM' AND c = 'A'";
    QTest::newRow("quoted names untouched")
        << "SELECT \"Clng(\" FROM \"a [b]\"" << true << none << "SELECT \"Clng(\" FROM \"a [b]\"";
    QTest::newRow("literal not closed")
        << "SELECT 'abc [x] like" << true << none << "SELECT 'abc [x] like";
    QTest::newRow("comment untouched")
        << "SELECT a -- it's [x]\nFROM t" << false << none << "SELECT a -- it's [x]\nFROM t";
    QTest::newRow("empty statement") << "" << true << none << "";
}

void TranslateSqlTest::translates() {
    QFETCH(QString, statement);
    QFETCH(bool, postgres);
    QFETCH(QStringList, extraTextColumns);
    QFETCH(QString, expected);
    const QSet<QString> extra(extraTextColumns.cbegin(), extraTextColumns.cend());
    QCOMPARE(tqhost::translateSql(
                 statement, postgres ? DatabaseKind::PostgreSQL : DatabaseKind::SQLite, extra),
             expected);
}

void TranslateSqlTest::quotesTextLiterals_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "Crown"
                           << "'Crown'";
    QTest::newRow("empty") << ""
                           << "''";
    QTest::newRow("a quote") << "O'Brien"
                             << "'O''Brien'";
    QTest::newRow("only quotes") << "''"
                                 << "''''''";
    QTest::newRow("an attempt to leave") << "x'; DROP TABLE SevCodTable; --"
                                         << "'x''; DROP TABLE SevCodTable; --'";
    QTest::newRow("backslashes stay") << "a\\' OR 1=1 --"
                                      << "'a\\'' OR 1=1 --'";
    QTest::newRow("percent signs stay") << "100%"
                                        << "'100%'";
}

void TranslateSqlTest::quotesTextLiterals() {
    QFETCH(QString, value);
    QFETCH(QString, expected);
    QCOMPARE(tqhost::sqlTextLiteral(value), expected);
}

TQ_TEST_MAIN(TranslateSqlTest)
#include "tst_translatesql.moc"
