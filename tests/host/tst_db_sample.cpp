// The demo practice on a real database: every category filled, money exact, explosion
// codes that expand, the refusal cases present, the people the demo needs, and a second
// load that adds nothing.

#include "../servicecode/ComponentFixture.h"
#include "TestMain.h"

#include <tqplatform/Currency.h>
#include <tqplatform/ScriptedUi.h>
#include <tqservicecode/codes/ServiceCodeStore.h>
#include <tqservicecode/selection/ExplosionCodes.h>

#include <QFile>
#include <QObject>
#include <QTest>

#include <memory>

using tqplatform::Currency;

class TestSamplePractice : public QObject {
    Q_OBJECT

    std::unique_ptr<tqtest::ComponentFixture> m_f;
    std::shared_ptr<tqhost::PracticeHost> m_host;

    int64_t count(const QString& sql) {
        tqplatform::Recordset rs = open(sql);
        return rs.Eof() ? -1 : rs.Fields(0).toLongLong();
    }

    tqplatform::Recordset open(const QString& sql) {
        return m_host->GetConnection().OpenRecordset(m_host->TranslateSql(sql, 0));
    }

private slots:
    void initTestCase() {
        m_f = std::make_unique<tqtest::ComponentFixture>();
        TQ_OPEN_FIXTURE(*m_f);
        m_host = m_f->host;
        tqhost::loadSamplePractice(*m_host);
    }

    void cleanupTestCase() {
        m_host.reset();
        m_f.reset();
    }

    void everyCategoryHasCodes() {
        QStringList missing;
        const QStringList types = tqservicecode::codeTypes();
        for (int type = 1; type <= 3; ++type) {
            const auto check = [&](const QString& column, const QStringList& names) {
                for (const QString& name : names) {
                    if (count(QStringLiteral("SELECT COUNT(*) FROM SevCodTable WHERE SevCodTyp = "
                                             "%1 AND %2 = %3")
                                  .arg(m_host->SqlText(types.at(type - 1)), column,
                                       m_host->SqlText(name))) == 0) {
                        missing << types.at(type - 1) + ": " + name;
                    }
                }
            };
            check("SevCodCat", tqservicecode::categoryShortNames(type));
            check("SevCodSubCat", tqservicecode::subCategoryShortNames(type));
        }
        QCOMPARE(missing, QStringList());
    }

    void feesReadBackExactly_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("fees");
        const auto row = [](const char* name, const char* code, const char* fees) {
            QTest::newRow(name) << code << fees;
        };
        row("schedules step down", "D0120", "62 55.8 49.6 43.4");
        row("half dollar at 90%", "D6242", "1075 967.5 860 752.5");
        row("flat, with cents", "FLOSSER", "59.95 59.95 59.95 59.95");
        row("no fee", "D9450", "0 0 0 0");
    }

    void feesReadBackExactly() {
        QFETCH(QString, code);
        QFETCH(QString, fees);
        tqplatform::Recordset rs = open(
            QStringLiteral("SELECT SevCodFee1, SevCodFee2, SevCodFee3, SevCodFee4 FROM SevCodTable "
                           "WHERE SevCodCod = %1")
                .arg(m_host->SqlText(code)));
        QCOMPARE(rs.RecordCount(), 1);
        QStringList read;
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(rs.Fields(i).metaType(), QMetaType::fromType<Currency>());
            read << rs.Fields(i).value<Currency>().toString();
        }
        QCOMPARE(read.join(' '), fees);
    }

    void explosionCodesExpand() {
        // Every member of every explosion code is found; some expand to codes a user knows.
        const QMap<QString, QString> known = {{"RECALL", "D0120,D1110,D0274,"},
                                              {"KIDRCL", "D0120,D1120,D1206,"},
                                              {"RCLPANO", "D0120,D1110,D0274,D0330,"},
                                              {"SRPFULL", "D4341,D4341,D4341,D4341,"},
                                              {"ENDOCRN", "D3330,D2950,D2750,"}};
        tqplatform::ScriptedUi ui;
        tqplatform::Recordset rs = open(
            "SELECT SevCodID, SevCodCod, SevCodDes FROM SevCodTable WHERE SevCodDes LIKE '@%'");
        QVERIFY(rs.RecordCount() >= 8);
        int checked = 0;
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString code = rs.Fields(1).toString().trimmed();
            QString codes, ids;
            int16_t number = 0;
            tqservicecode::Expand_Explosion_Code(rs.Fields(0).toInt(), codes, ids, number, true);
            QVERIFY2(number > rs.Fields(2).toString().count(u','), qPrintable(code + ": " + codes));
            if (known.contains(code)) {
                QCOMPARE(codes, known.value(code));
                ++checked;
            }
        }
        QCOMPARE(checked, known.size());
        QCOMPARE(ui.prompts(), QStringList());
    }

    void aliasesNameOneRow() {
        // An office or insurance code must lead to one row only, and to no other row's code.
        tqplatform::Recordset rs = open(
            "SELECT SevCodOffCod FROM SevCodTable WHERE SevCodOffCod <> '' UNION ALL "
            "SELECT SevCodInsCod FROM SevCodTable WHERE SevCodInsCod <> ''");
        QVERIFY(rs.RecordCount() > 50);
        for (; !rs.Eof(); rs.MoveNext()) {
            const QString alias = rs.Fields(0).toString().trimmed();
            QVERIFY2(tqservicecode::CountCodeRows(alias, false, true, 1), qPrintable(alias));
        }
        // One code stands on two rows on purpose (two crown materials); no other does.
        tqplatform::Recordset twice =
            open("SELECT SevCodCod FROM SevCodTable GROUP BY SevCodCod HAVING COUNT(*) > 1");
        QCOMPARE(twice.RecordCount(), 1);
        QCOMPARE(twice.Fields(0).toString().trimmed(), "D2740");
    }

    void lookupsOfSpecialCodes_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("description");
        QTest::addColumn<QString>("message");
        const auto row = [](const char* typed, const char* code, const char* description,
                            const char* message) {
            QTest::newRow(typed) << typed << (*message == 0) << code << description << message;
        };
        row("CCPMT", "", "", "This is a program-defined code and cannot be entered manually.");
        row("MISCCR", "", "",
            "The following credit code must be categorized before it can be entered.");
        row("PAYOTHER", "", "",
            "The following credit code must be Sub-categorized before it can be entered.");
        row("CASH", "CASH", "Payment, cash", "");
        row("2750", "D2750", "Crown, porcelain on high noble", "");  // the short form of a code
        row("PE", "D0120", "Periodic exam, patient of record", "");  // an office code
        row("SENIOR10", "SENIOR10", "Senior 10% off (\"Golden Smiles\" member's plan)", "");
    }

    void lookupsOfSpecialCodes() {
        QFETCH(QString, typed);
        QFETCH(bool, found);
        QFETCH(QString, code);
        QFETCH(QString, description);
        QFETCH(QString, message);
        tqplatform::ScriptedUi ui;
        tqservicecode::ServiceCodeRecord record;
        bool byID = false;
        QCOMPARE(tqservicecode::FindServiceCode(typed, record, false, byID), found);
        QCOMPARE(record.code() + "|" + record.description(), code + "|" + description);
        QCOMPARE(ui.prompts().join("|").left(message.size()), message);
        QCOMPARE(ui.messages.size(), message.isEmpty() ? 0 : 1);
    }

    void people_data() {
        QTest::addColumn<QString>("condition");
        QTest::addColumn<int>("expected");
        QTest::newRow("providers with initials and differing fee schedules")
            << "pTypDoc = '1' AND pDocIni <> '' AND pDOCFeeTyp IN (1, 2, 3)" << 3;
        QTest::newRow("employees listed first") << "pTypEmp = '1'" << 2;
        QTest::newRow("patients with name, phone and address")
            << "pTypPat = '1' AND pLASNAM <> '' AND pFIRNAM <> '' AND pHOMPHO <> '' AND "
               "pADD1 <> '' AND pZIP <> ''"
            << 12;
        QTest::newRow("patients whose provider is a provider")
            << "pTypPat = '1' AND pPROIND IN (SELECT pID FROM PaTable WHERE pTypDoc = '1')" << 9;
        QTest::newRow("patients without a fee schedule")
            << "pTypPat = '1' AND pGPDenFeeTyp = 0" << 4;
        QTest::newRow("standing schedule other than current")
            << "pTypPat = '1' AND pGPDenFeeTyp > 0 AND pGPDenFeeTyp <> pGPDenFeeTypPerm" << 1;
        QTest::newRow("a name with an apostrophe") << "pLASNAM = 'O''Brien'" << 1;
        QTest::newRow("the default provider, with initials")
            << "pTypDoc = '1' AND TRIM(pDocIni) <> '' AND pID = " +
                   QString::number(m_host->GetDefaultProviderID())
            << 1;
    }

    void people() {
        QFETCH(QString, condition);
        QFETCH(int, expected);
        QCOMPARE(count("SELECT COUNT(*) FROM PaTable WHERE " + condition), expected);
    }

    void loadingAgainAddsNothing() {
        QVERIFY(m_host->UserHasRight("tester", "CHANGE-SER-CODE"));
        QVERIFY(QFile::exists(m_host->GetDataPath() + "WP/RECALL.RTF"));
        const auto rows = [this] {
            return QList<int64_t>(
                {count("SELECT COUNT(*) FROM SevCodTable"), count("SELECT COUNT(*) FROM PaTable")});
        };
        const QList<int64_t> before = rows();
        QVERIFY(before[0] >= 300);
        tqhost::loadSamplePractice(*m_host);
        QCOMPARE(rows(), before);
        // A practice that has its people but lost its codes gets the codes back, and only them.
        m_host->GetConnection().Execute("DELETE FROM SevCodTable");
        tqhost::loadSamplePractice(*m_host);
        QCOMPARE(rows(), before);
    }
};

TQ_TEST_MAIN(TestSamplePractice)
#include "tst_db_sample.moc"
