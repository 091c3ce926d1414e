// The demo practice: fills an empty practice database with a code table over every
// category, the practice's providers and employees, and patients with and without fee
// schedules and providers. Every row goes in through the host services (SaveRecord), so
// the same rows land on SQLite and PostgreSQL.

#include "SampleData.h"

#include <tqhost/Host.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Currency.h>
#include <tqplatform/Recordset.h>

#include <QDir>
#include <QFile>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

namespace tqhost {

namespace {

using Internal::SampleCode;
using Internal::SampleCodeGroup;

/// The lower fee schedules charge these shares of schedule 1, in per cent.
constexpr std::array<int64_t, 4> kSchedulePercent = {100, 90, 80, 70};

struct Provider {
    const char* lastName;
    const char* firstName;
    const char* title;
    const char* initials;
    int feeSchedule;
    const char* sex;
    const char* license;
    const char* specialty;
    const char* businessPhone;
    const char* email;
};

const Provider kProviders[] = {
    {"Marsh", "Helen", "DDS", "HM", 1, "F", "DN-20417", "General", "(808) 555-0140",
     "hmarsh@harborsmiles.example"},
    {"Okafor", "Raymond", "DMD", "RO", 3, "M", "DN-31882", "Oral Surgery", "(808) 555-0141",
     "rokafor@harborsmiles.example"},
    {"Ferreira", "Lucia", "DDS", "LF", 2, "F", "DN-28650", "Pediatric", "(808) 555-0142",
     "lferreira@harborsmiles.example"},
};

struct Employee {
    const char* lastName;
    const char* firstName;
    const char* title;
    const char* initials;
    const char* listGroup;  // pTypEmp: "1" listed first, then "2"
    const char* sex;
};

const Employee kEmployees[] = {
    {"Whitfield", "Dana", "Office Mgr", "DW", "1", "F"},
    {"Lee", "Marcus", "RDH", "ML", "1", "M"},
    {"Nair", "Priya", "CDA", "PN", "2", "F"},
    {"Kowalski", "Tom", "Front Desk", "TK", "2", "M"},
};

struct Patient {
    const char* lastName;
    const char* firstName;
    const char* nickName;
    const char* title;
    const char* sex;
    const char* birthDate;  // ISO
    const char* homePhone;
    const char* cellPhone;
    const char* address;
    const char* city;
    const char* state;
    const char* zip;
    int provider;  // index into kProviders, -1 when the patient has none yet
    int feeSchedule;
    int standingFeeSchedule;
};

const Patient kPatients[] = {
    {"Kowalczyk", "Anna", "", "Ms.", "F", "1979-04-12", "(808) 555-0171", "(808) 555-0191",
     "1420 Kapiolani Blvd", "Honolulu", "HI", "96814", 0, 1, 1},
    {"Castillo", "Brian", "", "Mr.", "M", "1985-09-30", "(808) 555-0172", "",
     "88 Ala Moana Blvd Apt 1203", "Honolulu", "HI", "96815", 1, 2, 2},
    {"Nguyen", "Chloe", "", "Ms.", "F", "1992-01-05", "(808) 555-0173", "(808) 555-0193",
     "2310 Liliha St", "Honolulu", "HI", "96817", 2, 3, 3},
    {"Goldberg", "David", "Dave", "Mr.", "M", "1958-11-22", "(808) 555-0174", "", "47 Kailua Rd",
     "Kailua", "HI", "96734", 0, 4, 4},
    {"O'Brien", "Emma", "", "Ms.", "F", "2001-06-14", "(808) 555-0175", "(808) 555-0195",
     "905 Kaheka St", "Honolulu", "HI", "96814", 1, 0, 0},
    {"Schneider", "Felix", "", "Mr.", "M", "1966-02-08", "(808) 555-0176", "", "16 Kamehameha Hwy",
     "Kaneohe", "HI", "96744", -1, 0, 0},
    {"Liu", "Grace", "", "Mrs.", "F", "1974-08-19", "(808) 555-0177", "(808) 555-0197",
     "3055 Waialae Ave", "Honolulu", "HI", "96816", -1, 2, 2},
    {"Adeyemi", "Henry", "", "Mr.", "M", "1988-12-03", "(808) 555-0178", "", "612 Farrington Hwy",
     "Waipahu", "HI", "96797", 2, 2, 4},
    {"Moreno", "Isabel", "Isa", "Ms.", "F", "1996-03-27", "(808) 555-0179", "(808) 555-0199",
     "1801 Kalakaua Ave", "Honolulu", "HI", "96815", 0, 0, 0},
    {"Thompson", "Jack", "", "", "M", "2016-07-09", "(808) 555-0180", "", "47 Kailua Rd", "Kailua",
     "HI", "96734", 2, 1, 1},
    {"Tanaka", "Keiko", "", "Mrs.", "F", "1949-10-16", "(808) 555-0181", "", "1111 Wilder Ave",
     "Honolulu", "HI", "96822", 1, 3, 3},
    {"Murphy", "Liam", "", "Mr.", "M", "1982-05-01", "(808) 555-0182", "(808) 555-0202",
     "74 Hekili St", "Kailua", "HI", "96734", -1, 0, 0},
};

QString text(const char* value) {
    return QString::fromUtf8(value);
}

/// Cents as money text: 12345 -> "123.45".
QString moneyText(int64_t cents) {
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

/// The four fees of a code: every schedule the same, or tiered down from schedule 1.
std::array<QString, 4> feesOf(const SampleCodeGroup& group, const SampleCode& code) {
    const auto fee = tqplatform::Currency::parse(text(code.fee));
    if (!fee || fee->isNegative() || fee->raw() % 100 != 0) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::TypeMismatch,
                              QStringLiteral("The demo code %1 has a malformed fee \"%2\".")
                                  .arg(text(code.code), text(code.fee)));
    }
    const int64_t cents = fee->raw() / 100;
    std::array<QString, 4> fees;
    for (size_t i = 0; i < fees.size(); ++i) {
        const int64_t percent = group.tieredFees ? kSchedulePercent[i] : 100;
        fees[i] = moneyText((cents * percent + 50) / 100);
    }
    return fees;
}

/// Reads one number from a query (counts).
int64_t countOf(tqGlobal::IHostServices& gic, const QString& statement) {
    tqplatform::Recordset rs = gic.GetConnection().OpenRecordset(gic.TranslateSql(statement, 0));
    return rs.Eof() ? 0 : rs.Fields(0).toLongLong();
}

/// Column names and text values side by side, as SaveRecord takes them.
class Row {
public:
    /// Sets a column's value; a column set before gets the new value.
    Row& set(const char* column, const QString& value) {
        const QString name = QString::fromLatin1(column);
        const qsizetype index = m_names.indexOf(name);
        if (index >= 0) {
            m_values[index] = value;
        } else {
            m_names << name;
            m_values << value;
        }
        return *this;
    }
    Row& set(const char* column, const char* value) { return set(column, text(value)); }
    Row& set(const char* column, int value) { return set(column, QString::number(value)); }

    const QStringList& names() const { return m_names; }
    const QStringList& values() const { return m_values; }

private:
    QStringList m_names;
    QStringList m_values;
};

class SampleWriter {
public:
    explicit SampleWriter(tqGlobal::IHostServices& gic)
        : m_gic(gic), m_office(gic.GetOfficeLocationID()) {}

    void writeCodes() {
        QHash<QString, const Internal::SampleCodeExtras*> extras;
        for (const auto& extra : Internal::sampleCodeExtras()) {
            extras.insert(text(extra.code), &extra);
        }
        for (const auto& groups : {Internal::dentalCodeGroups(), Internal::otherCodeGroups()}) {
            for (const SampleCodeGroup& group : groups) {
                for (const SampleCode& code : group.codes) {
                    writeCode(group, code, extras.value(text(code.code)));
                }
            }
        }
    }

    std::vector<int32_t> writeProviders() {
        std::vector<int32_t> ids;
        for (const Provider& p : kProviders) {
            Row row = person("0", "1", "0", p.lastName, p.firstName);
            row.set("pSEX", p.sex)
                .set("pTTL", "Dr.")
                .set("pProTTL", p.title)
                .set("pDocIni", p.initials)
                .set("pDOCFeeTyp", p.feeSchedule)
                .set("pDOCLIC", p.license)
                .set("pDOCSPE", p.specialty)
                .set("pBUSPHO", p.businessPhone)
                .set("pBusEma", p.email);
            ids.push_back(insert(
                QStringLiteral("PaTable"), QStringLiteral("pID"), row,
                QStringLiteral("the provider %1, %2").arg(text(p.lastName), text(p.firstName))));
        }
        return ids;
    }

    void writeEmployees() {
        for (const Employee& e : kEmployees) {
            Row row = person("0", "0", e.listGroup, e.lastName, e.firstName);
            row.set("pSEX", e.sex).set("pProTTL", e.title).set("pDocIni", e.initials);
            insert(QStringLiteral("PaTable"), QStringLiteral("pID"), row,
                   QStringLiteral("the employee %1, %2").arg(text(e.lastName), text(e.firstName)));
        }
    }

    void writePatients(const std::vector<int32_t>& providerIds) {
        int chart = 1001;
        for (const Patient& p : kPatients) {
            Row row = person("1", "0", "0", p.lastName, p.firstName);
            row.set("pNICNAM", p.nickName)
                .set("pTTL", p.title)
                .set("pSEX", p.sex)
                .set("pBIRDAT", p.birthDate)
                .set("pHOMPHO", p.homePhone)
                .set("pHomCell", p.cellPhone)
                .set("pADD1", p.address)
                .set("pCIT", p.city)
                .set("pSTA", p.state)
                .set("pZIP", p.zip)
                .set("pPROIND", p.provider < 0 ? 0 : providerIds.at(p.provider))
                .set("pGPDenFeeTyp", p.feeSchedule)
                .set("pGPDenFeeTypPerm", p.standingFeeSchedule)
                .set("pChaNum", chart++);
            insert(QStringLiteral("PaTable"), QStringLiteral("pID"), row,
                   QStringLiteral("the patient %1, %2").arg(text(p.lastName), text(p.firstName)));
        }
    }

private:
    /// Inserts one row and answers its key; a refused row is an error.
    int32_t insert(const QString& table, const QString& keyField, const Row& row,
                   const QString& what) {
        int32_t key = 0;
        int16_t success = 0;
        m_gic.SaveRecord(1, table, keyField, key, row.names(), row.values(), true, success);
        if (success == 0 || key == 0) {
            throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                                  QStringLiteral("The demo practice could not be loaded: %1 "
                                                 "was refused by %2.")
                                      .arg(what, table));
        }
        return key;
    }

    /// The columns every person has; the type flags say patient, provider, employee.
    Row person(const char* patient, const char* provider, const char* employee,
               const char* lastName, const char* firstName) const {
        Row row;
        row.set("OffLocID", m_office)
            .set("pTypPat", patient)
            .set("pTypDoc", provider)
            .set("pTypEmp", employee)
            .set("pLASNAM", lastName)
            .set("pFIRNAM", firstName)
            .set("pSeaNam", (text(lastName) + QLatin1Char(' ') + text(firstName)).toUpper())
            .set("pPROIND", 0)
            .set("pGPDenFeeTyp", 0)
            .set("pGPDenFeeTypPerm", 0)
            .set("pDOCFeeTyp", 0);
        return row;
    }

    void writeCode(const SampleCodeGroup& group, const SampleCode& code,
                   const Internal::SampleCodeExtras* extra) {
        const std::array<QString, 4> fees = feesOf(group, code);
        const bool charge = text(group.type).startsWith(QLatin1Char('1'));
        Row row;
        row.set("OffLocID", m_office)
            .set("SevCodDocID", 0)
            .set("SevCodCod", code.code)
            .set("SevCodOffCod", code.officeCode)
            .set("SevCodInsCod", code.insuranceCode)
            .set("SevCodDes", code.description)
            .set("SevCodFee1", fees[0])
            .set("SevCodFee2", fees[1])
            .set("SevCodFee3", fees[2])
            .set("SevCodFee4", fees[3])
            .set("SevCodCurMov", code.cursorStops)
            .set("SevCodDatChe", "")
            .set("SevCodCroRefCod", extra ? extra->crossReference : "")
            .set("SevCodTyp", group.type)
            .set("SevCodCat", group.category)
            .set("SevCodSubCat", code.subCategory)
            .set("SevCodDep", group.department)
            .set("SevCodTax", code.taxRate)
            .set("SevCodSchTim", group.scheduleMinutes)
            .set("SevCodPasWorID", 0)
            .set("SevCodBil", charge ? "Y" : "N")
            .set("SevCodLetNam", code.letter);
        if (extra) {
            row.set("sevcodDesForPat", extra->friendly).set("sevcod2ndDes", extra->spanish);
        }
        insert(QStringLiteral("SevCodTable"), QStringLiteral("SevCodID"), row,
               QStringLiteral("the code %1").arg(text(code.code)));
    }

    tqGlobal::IHostServices& m_gic;
    int32_t m_office;
};

/// The letters of the letter-management codes, in the word-processing folder; a letter
/// that is already there is left as it is.
void writeLetters(tqGlobal::IHostServices& gic) {
    const QString folder = QDir(gic.GetDataPath()).filePath(QStringLiteral("WP"));
    if (!QDir().mkpath(folder)) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                              QStringLiteral("The demo practice could not create the letter "
                                             "folder %1.")
                                  .arg(folder));
    }
    for (const auto& letter : Internal::sampleLetters()) {
        QFile file(QDir(folder).filePath(text(letter.fileName)));
        if (file.exists()) {
            continue;
        }
        if (!file.open(QIODevice::WriteOnly)) {
            throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                                  QStringLiteral("The demo practice could not write the letter "
                                                 "%1: %2")
                                      .arg(file.fileName(), file.errorString()));
        }
        // Written by the host's word processor: its name as generator, and a title.
        const QByteArray rtf = QByteArrayLiteral(
                                   "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Times New Roman;}}\n"
                                   "{\\*\\generator Tavix Word Processor;}{\\info{\\title ") +
                               QByteArray(letter.title) +
                               QByteArrayLiteral("}}\n\\f0\\fs24 Dear patient,\\par\\par\n") +
                               QByteArray(letter.body) +
                               QByteArrayLiteral(
                                   "\\par\\par Sincerely,\\par Harbor Smiles "
                                   "Dental\\par\n}\n");
        file.write(rtf);
    }
}

}  // namespace

void loadSamplePractice(PracticeHost& host) {
    tqGlobal::IHostServices& gic = host;
    tqplatform::Connection& conn = gic.GetConnection();
    const bool needCodes = countOf(gic, QStringLiteral("SELECT COUNT(*) FROM SevCodTable")) == 0;
    const bool needPeople = countOf(gic, QStringLiteral("SELECT COUNT(*) FROM PaTable")) == 0;

    // All rows or none: a refused row leaves the practice as it was.
    int32_t defaultProvider = 0;
    conn.BeginTrans();
    try {
        SampleWriter writer(gic);
        if (needCodes) {
            writer.writeCodes();
        }
        if (needPeople) {
            const std::vector<int32_t> providers = writer.writeProviders();
            writer.writePatients(providers);
            writer.writeEmployees();
            defaultProvider = providers.front();
        }
        conn.CommitTrans();
    } catch (...) {
        try {
            conn.RollbackTrans();
        } catch (const tqGlobal::Error&) {
            // The first failure is the one worth reporting.
        }
        throw;
    }
    if (conn.kind() == tqplatform::DatabaseKind::PostgreSQL && (needCodes || needPeople)) {
        // Statistics of the tables just filled, so that the first lists read from them are
        // planned for their real size (a freshly filled table without them sorts on disk).
        conn.Execute(needCodes && needPeople ? QStringLiteral("ANALYZE SevCodTable, PaTable")
                     : needCodes             ? QStringLiteral("ANALYZE SevCodTable")
                                             : QStringLiteral("ANALYZE PaTable"));
    }
    if (defaultProvider != 0) {
        host.setDefaultProviderID(defaultProvider);
    }
    if (!gic.UserHasRight(gic.GetCurrentUser(), QString::fromLatin1(Rights::ChangeServiceCode))) {
        host.grantRight(gic.GetCurrentUser(), QString::fromLatin1(Rights::ChangeServiceCode));
    }
    writeLetters(gic);
}

}  // namespace tqhost
