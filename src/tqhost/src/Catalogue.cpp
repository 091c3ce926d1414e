// The practice database's columns: names, types, widths. Everything that creates a
// table or converts a value for one reads this list.

#include <tqhost/Schema.h>

namespace tqhost::schema {

namespace {

using T = ColumnType;

Column integer(const char* name) {
    return {QString::fromLatin1(name), T::Integer, 0, true};
}
Column smallint(const char* name) {
    return {QString::fromLatin1(name), T::SmallInt, 0, true};
}
Column single(const char* name) {
    return {QString::fromLatin1(name), T::Single, 0, true};
}
Column real(const char* name) {
    return {QString::fromLatin1(name), T::Double, 0, true};
}
Column money(const char* name) {
    return {QString::fromLatin1(name), T::Currency, 0, true};
}
Column text(const char* name, int width) {
    return {QString::fromLatin1(name), T::Text, width, true};
}
Column memo(const char* name) {
    return {QString::fromLatin1(name), T::Memo, 0, true};
}
Column date(const char* name) {
    return {QString::fromLatin1(name), T::Date, 0, true};
}
Column key(const char* name) {
    return {QString::fromLatin1(name), T::Integer, 0, false};
}
Column required(Column column) {
    column.nullable = false;
    return column;
}

Table serviceCodes() {
    Table t;
    t.name = QStringLiteral("SevCodTable");
    t.autoKey = QStringLiteral("SevCodID");
    t.officeScoped = true;
    t.columns = {
        key("SevCodID"),
        integer("SevCodDocID"),
        text("SevCodCod", 10),
        text("SevCodOffCod", 10),
        text("SevCodInsCod", 10),
        text("SevCodDes", 255),
        money("SevCodFee1"),
        money("SevCodFee2"),
        money("SevCodFee3"),
        money("SevCodFee4"),
        text("SevCodCurMov", 20),
        text("SevCodDatChe", 20),
        text("SevCodCroRefCod", 10),
        text("SevCodTyp", 10),
        text("SevCodCat", 10),
        text("SevCodSubCat", 10),
        text("SevCodDep", 5),
        single("SevCodTax"),
        single("SevCodSchTim"),
        smallint("SevCodPasWorID"),
        text("SevCodBil", 3),
        memo("SevCodLetNam"),
        text("sevcodDesForPat", 255),
        text("sevcod2ndDes", 255),
        integer("OffLocID"),
    };
    t.indexed = {QStringLiteral("SevCodCod"), QStringLiteral("SevCodOffCod"),
                 QStringLiteral("SevCodInsCod"), QStringLiteral("SevCodCat")};
    // A fee change updates every row: each page keeps room for a second version of all
    // its rows (the first versions are cleared away between statements).
    t.fillFactor = 45;
    return t;
}

Table transactions() {
    Table t;
    t.name = QStringLiteral("DTTable");
    t.autoKey = QStringLiteral("traID");
    t.columns = {
        key("traID"),
        integer("OffLocID"),
        integer("traSevCodID"),
        integer("trapID"),
        text("traCodTyp", 2),
        integer("traDr"),
        text("traDrIni", 5),
        date("traAptSchDat"),
        text("traDes", 255),
        text("traCod", 10),
        date("traStaDat"),
        text("traTyp", 10),
        text("traCat", 10),
        text("traSubCat", 10),
        text("traDep", 5),
        single("traTax"),
        text("TraBil", 3),
        text("TraActPst", 2),
        smallint("traPatMgrFla"),
        money("traCha"),
        money("traTotCha"),
        integer("traUni"),
        money("TraPatPor"),
        money("TraIns1Por"),
        money("TraIns2Por"),
        money("TraPatBal"),
        money("TraIns1Bal"),
        money("TraIns2Bal"),
        money("TraInsDed1"),
        money("TraInsDed2"),
        integer("TraPayInd"),
        text("TraCodMod", 10),
    };
    t.indexed = {QStringLiteral("trapID"), QStringLiteral("traSevCodID")};
    return t;
}

Table people() {
    Table t;
    t.name = QStringLiteral("PaTable");
    t.autoKey = QStringLiteral("pID");
    t.columns = {
        key("pID"),
        text("pTypPat", 1),
        text("pTypDoc", 1),
        text("pTypRef", 1),
        text("pTypPhy", 1),
        text("pCLITYP1", 10),
        text("pLASNAM", 30),
        text("pFIRNAM", 20),
        text("pSeaNam", 30),
        text("pNICNAM", 20),
        integer("pPROIND"),
        integer("pREFIND"),
        text("pSEX", 1),
        text("pTTL", 10),
        date("pBIRDAT"),
        text("pHOMPHO", 20),
        text("pBUSPHO", 20),
        text("pADD1", 40),
        text("pADD2", 40),
        text("pCIT", 30),
        text("pSTA", 10),
        text("pZIP", 10),
        text("pSSN", 15),
        text("pDRILIC", 20),
        text("pCRECARTYP", 20),
        text("pCRECARNUM", 25),
        integer("pFAMHEAIND"),
        text("pBILTTL", 30),
        date("pNEXSTADAT"),
        text("pACCTYP", 10),
        date("pFIRVISDAT"),
        date("pLASVISDAT"),
        text("pCASNUM", 20),
        memo("pMEDALE"),
        date("pMEDALEUPD"),
        text("pEMECON", 60),
        integer("pPHY1"),
        integer("pPHY2"),
        text("pSCHNAM", 40),
        text("pSCHCIT", 30),
        integer("pEmpID1"),
        integer("pEmpID2"),
        integer("pEmpID3"),
        integer("pEmpID4"),
        integer("pPRIINSHOL"),
        text("pPRIINSID", 20),
        text("pREL2PRI", 10),
        text("pPRIRENFLA", 5),
        money("pPRIDED"),
        money("pPRIBAL"),
        money("pPRIYTD"),
        integer("pSECINSHOL"),
        text("pSECINSID", 20),
        text("pREL2SEC", 10),
        text("pSECRENFLA", 5),
        money("pSECDED"),
        money("pSECBAL"),
        money("pSECYTD"),
        text("pRECTYP", 5),
        date("pSERSTADAT"),
        text("pDOCLIC", 20),
        text("pDOCEIN", 20),
        text("pDOCSPE", 30),
        text("pDOCLET", 50),
        text("pDOCREM1", 255),
        text("pDOCREM2", 255),
        text("pDOCREM3", 255),
        date("pDocDatEmp"),
        text("pDocMedNum", 20),
        text("pDocIni", 5),
        text("pProTTL", 10),
        smallint("pGPDenFeeTyp"),
        smallint("pGPDenForTyp"),
        smallint("pGPDenPayTyp"),
        smallint("pGPDenFeeTypPerm"),
        smallint("pGPMedFeeTyp"),
        smallint("pGPMedForTyp"),
        smallint("pGPMedPayTyp"),
        smallint("pGPMedFeeTypPerm"),
        smallint("pDOCFeeTyp"),
        smallint("pSrtFlg"),
        smallint("pImaFla"),
        date("pIntAppDat"),
        money("pIntAppAmt"),
        text("pHomPho1", 20),
        text("pHomPho2", 20),
        text("pHomFax", 20),
        text("pHomEma", 100),
        text("pHomCell", 20),
        text("pHomPag", 20),
        text("pHomCon", 60),
        text("pBusPho1", 20),
        text("pBusPho2", 20),
        text("pBusFax", 20),
        text("pBusEma", 100),
        text("pBusCell", 20),
        text("pBusPag", 20),
        text("pBusCon", 60),
        single("pInsPct"),
        text("pChaNum", 20),
        integer("OffLocID"),
        text("pTypEmp", 1),
    };
    t.indexed = {QStringLiteral("pLASNAM"), QStringLiteral("pTypEmp")};
    return t;
}

Table userSettings() {
    Table t;
    t.name = QStringLiteral("UserSetting");
    t.primaryKey = {QStringLiteral("usrSection"), QStringLiteral("usrKey")};
    t.columns = {required(text("usrSection", 255)), required(text("usrKey", 255)),
                 memo("usrValue")};
    return t;
}

Table userNumbers() {
    Table t;
    t.name = QStringLiteral("UserSettingNumber");
    t.primaryKey = {QStringLiteral("usnKey")};
    t.columns = {required(text("usnKey", 255)), real("usnValue")};
    return t;
}

Table userRights() {
    Table t;
    t.name = QStringLiteral("UserRight");
    t.primaryKey = {QStringLiteral("urUser"), QStringLiteral("urRight")};
    t.columns = {required(text("urUser", 50)), required(text("urRight", 100))};
    return t;
}

Table notes() {
    Table t;
    t.name = QStringLiteral("NoteTable");
    t.autoKey = QStringLiteral("notID");
    t.columns = {
        key("notID"),           integer("notPatID"),    integer("notTraID"), memo("notText"),
        text("notHeader", 255), text("notKind", 50),    smallint("notMode"), text("notUser", 50),
        integer("notUserID"),   integer("notOffLocID"), date("notCreated"),
    };
    t.indexed = {QStringLiteral("notPatID")};
    return t;
}

Table practiceOptions() {
    Table t;
    t.name = QStringLiteral("PracticeOption");
    t.primaryKey = {QStringLiteral("optName")};
    t.columns = {required(text("optName", 50)), text("optValue", 255)};
    return t;
}

}  // namespace

const Column* Table::column(const QString& wanted) const {
    for (const Column& c : columns) {
        if (c.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return &c;
        }
    }
    return nullptr;
}

const std::vector<Table>& tables() {
    static const std::vector<Table> all = {serviceCodes(), transactions(),   people(),
                                           userSettings(), userNumbers(),    userRights(),
                                           notes(),        practiceOptions()};
    return all;
}

const Table* findTable(const QString& name) {
    const QString wanted = name.trimmed();
    for (const Table& t : tables()) {
        if (t.name.compare(wanted, Qt::CaseInsensitive) == 0) {
            return &t;
        }
    }
    return nullptr;
}

QSet<QString> currencyColumnNames() {
    QSet<QString> names;
    for (const Table& t : tables()) {
        for (const Column& c : t.columns) {
            if (c.type == ColumnType::Currency) {
                names.insert(c.name.toLower());
            }
        }
    }
    return names;
}

QSet<QString> textColumnNames() {
    QSet<QString> names;
    for (const Table& t : tables()) {
        for (const Column& c : t.columns) {
            if (c.type == ColumnType::Text || c.type == ColumnType::Memo ||
                c.type == ColumnType::Date) {
                names.insert(c.name.toLower());
            }
        }
    }
    return names;
}

}  // namespace tqhost::schema
