#include "ComponentFixture.h"
#include "TestMain.h"

#include <tqservicecode/selection/ExplosionCodes.h>
#include <tqservicecode/selection/FeeSchedule.h>

#include <tqplatform/ScriptedUi.h>

using tqplatform::ScriptedUi;
using namespace tqservicecode;

namespace {

struct Expansion {
    QString codes;
    QString ids;
    int16_t count = 0;
};

Expansion expand(int32_t id, bool enabled = true) {
    Expansion result{"stale,", "9,", 7};  // level 0 starts afresh
    Expand_Explosion_Code(id, result.codes, result.ids, result.count, enabled);
    return result;
}

}  // namespace

class ExplosionTest : public QObject {
    Q_OBJECT

private slots:
    void explosionCodesExpandTwoLevelsDeep() {
        TQ_FIXTURE(f);
        const int32_t exam = f.addCode("D0120");
        const int32_t cleaning = f.addCode("D1110");
        const int32_t xrays = f.addCode("D0274", {{"SevCodOffCod", "BWX"}});
        const int32_t plain = f.addCode("@NOTE", {{"SevCodDes", "Plain code"}});
        f.addCode("PAIR", {{"SevCodDes", "@ D0120 , 1110 "}});
        const int32_t gap = f.addCode("GAP", {{"SevCodDes", "@D0120,,D1110"}});
        const int32_t outer = f.addCode("OUTER", {{"SevCodDes", "@PAIR,BWX"}});
        f.addCode("DEEP3", {{"SevCodDes", "@D1110"}});
        f.addCode("DEEP2", {{"SevCodDes", "@DEEP3,D0120"}});
        const int32_t deep = f.addCode("DEEP1", {{"SevCodDes", "@DEEP2"}});
        const int32_t self = f.addCode("SELF", {{"SevCodDes", "@SELF,D0120,NOSUCH,CCPMT"}});
        f.addCode("CCPMT", {{"SevCodTyp", "2 - Credit"}, {"SevCodSubCat", "Cash"}});
        ScriptedUi ui;

        const Expansion e = expand(plain);
        QCOMPARE(e.codes + e.ids + QString::number(e.count),
                 "@NOTE," + QString::number(plain) + ",1");
        QCOMPARE(expand(gap).codes, QStringLiteral("D0120,"));  // ends at the empty field
        // PAIR's members are trimmed and "1110" is read in its short form.
        QCOMPARE(expand(outer).codes, QStringLiteral("D0120,D1110,D0274,"));
        QCOMPARE(expandedIds(expand(outer).ids), QList<int32_t>({exam, cleaning, xrays}));
        QCOMPARE(expand(deep).codes, QStringLiteral("D0120,"));  // DEEP3 dropped silently
        QVERIFY(ui.messages.isEmpty());

        // Members naming the code itself or nothing are skipped; a reserved member says why.
        QCOMPARE(expand(self).codes, QStringLiteral("D0120,"));
        QCOMPARE(ui.prompts(),
                 QStringList{"This is a program-defined code and cannot be entered manually."});
        QCOMPARE(expand(0).count, int16_t{0});

        // A member linking back to the code expanded is left out, and the user told once.
        const int32_t top = f.addCode("TOP", {{"SevCodDes", "@D0120,INNER,D1110"}});
        f.addCode("INNER", {{"SevCodDes", "@TOP,D1110"}});
        QCOMPARE(expand(top).codes, QStringLiteral("D0120,D1110,D1110,"));
        QCOMPARE(ui.prompts().mid(1),
                 QStringList{"One or more explosion codes link back to itself.\r\n"
                             "Program will ignore recurring code [TOP]."});
        QCOMPARE(ui.messages.last().buttons, 0);
    }

    void feeSchedules() {
        TQ_FIXTURE(f);
        // The patient's schedule, standing schedule and provider's schedule; the schedule
        // shown, then the schedule and standing schedule stored.
        const int rows[][6] = {
            {0, 0, 3, 3, 3, 3},  // from the provider
            {2, 4, 3, 4, 2, 4},  // both valid: nothing written
            {0, 0, 5, 1, 1, 1},  // the provider's schedule invalid
            {0, 2, 3, 2, 3, 2},  // the standing schedule kept when valid
            {3, 9, 1, 3, 3, 9},  // an invalid standing schedule falls back
            {7, 0, 1, 1, 7, 0},  // nothing valid
        };
        for (const auto& row : rows) {
            const int32_t provider = f.insert(
                "PaTable", "pID", {{"pLasNam", "Doc"}, {"pDOCFeeTyp", QString::number(row[2])}});
            const int32_t patient = f.insert("PaTable", "pID",
                                             {{"pLasNam", "Pat"},
                                              {"pPROIND", QString::number(provider)},
                                              {"pGPDenFeeTyp", QString::number(row[0])},
                                              {"pGPDenFeeTypPerm", QString::number(row[1])}});
            QCOMPARE(feeScheduleForPatient(patient), static_cast<int16_t>(row[3]));
            const QString stored =
                "SELECT pGPDenFeeTyp * 100 + pGPDenFeeTypPerm FROM PaTable WHERE pID=";
            QCOMPARE(f.scalar(stored + QString::number(patient)).toInt(), row[4] * 100 + row[5]);
        }

        // No patient, no row, or a patient without provider (given the default one).
        QCOMPARE(feeScheduleForPatient(0), int16_t{1});
        PatientRecord missing;
        LoadPatientFeeSchedule(4242, missing);
        QVERIFY(!missing.found() && missing.pGPDenFeeTyp == 0);

        const int32_t provider =
            f.insert("PaTable", "pID", {{"pLasNam", "Doc"}, {"pDOCFeeTyp", "2"}});
        f.host->setDefaultProviderID(provider);
        const int32_t patient = f.insert("PaTable", "pID", {{"pLasNam", "New"}});
        PatientRecord record;
        LoadPatientFeeSchedule(patient, record);
        QVERIFY(record.found() && record.pPROIND == provider);
        QCOMPARE(record.columns.value("plasnam").toString(), QStringLiteral("New"));
        QCOMPARE(
            f.scalar("SELECT pPROIND FROM PaTable WHERE pID=" + QString::number(patient)).toInt(),
            provider);
        QCOMPARE(pickerFeeSchedule(record), int16_t{2});
    }
};

TQ_TEST_MAIN(ExplosionTest)
#include "tst_db_explosion.moc"
