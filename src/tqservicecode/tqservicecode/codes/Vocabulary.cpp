#include <tqservicecode/codes/Vocabulary.h>

#include <QList>
#include <QPair>

namespace tqservicecode {

namespace {

using NamePair = QPair<QString, QString>;  // short name, long name

const QList<NamePair>& chargeCategories() {
    static const QList<NamePair> names = {
        {QStringLiteral("Diag"), QStringLiteral("Diagnostic")},
        {QStringLiteral("Prev"), QStringLiteral("Preventive")},
        {QStringLiteral("Rest"), QStringLiteral("Restorative")},
        {QStringLiteral("Endo"), QStringLiteral("Endodontics")},
        {QStringLiteral("Perio"), QStringLiteral("Periodontics")},
        {QStringLiteral("Pros-Rem"), QStringLiteral("Pros. Remove")},
        {QStringLiteral("Maxil-Pros"), QStringLiteral("Maxillo. Pros.")},
        {QStringLiteral("Implant"), QStringLiteral("Implants")},
        {QStringLiteral("Pros-Fix"), QStringLiteral("Pros. Fixed")},
        {QStringLiteral("Surgery"), QStringLiteral("Oral Surgery")},
        {QStringLiteral("Ortho"), QStringLiteral("Orthodontics")},
        {QStringLiteral("Gen-Serv"), QStringLiteral("General Service")},
        {QStringLiteral("CPT"), QStringLiteral("CPT")},
        {QStringLiteral("ICD"), QStringLiteral("ICD")},
        {QStringLiteral("Reimburse"), QStringLiteral("Reimbursement")},
        {QStringLiteral("NSF"), QStringLiteral("Non-Sufficient Fund")},
        {QStringLiteral("Tax"), QStringLiteral("Tax")},
        {QStringLiteral("Pre Bal"), QStringLiteral("Previous Balance")},
        {QStringLiteral("Shipping"), QStringLiteral("Shipping")},
        // Offered as a charge sub-category, but it has its long name as a category too.
        {QStringLiteral("Adjustment"), QStringLiteral("Adjustment")},
    };
    return names;
}

const QList<NamePair>& creditCategories() {
    static const QList<NamePair> names = {
        {QStringLiteral("Pat. Pay"), QStringLiteral("Patient Payment")},
        {QStringLiteral("Pri. Ins."), QStringLiteral("Primary Insurance Payment")},
        {QStringLiteral("Sec. Ins."), QStringLiteral("Secondary Insurance Payment")},
        {QStringLiteral("Discount"), QStringLiteral("Discount")},
        {QStringLiteral("Adjustment"), QStringLiteral("Adjustment")},
    };
    return names;
}

const QList<NamePair>& adminCategories() {
    static const QList<NamePair> names = {
        {QStringLiteral("Pat. Mgmt"), QStringLiteral("To Do List")},
        {QStringLiteral("Ltr. Mgmt"), QStringLiteral("Letter Management")},
        {QStringLiteral("Silent"), QStringLiteral("Silent Codes")},
        {QStringLiteral("Refund"), QStringLiteral("Refund")},
    };
    return names;
}

const QList<NamePair>* categoriesOf(int typeNumber) {
    switch (typeNumber) {
        case 1:
            return &chargeCategories();
        case 2:
            return &creditCategories();
        case 3:
            return &adminCategories();
        default:
            return nullptr;
    }
}

}  // namespace

QStringList codeTypes() {
    return {TypeCharge, TypeCredit, TypeAdmin};
}

QStringList categoryShortNames(int typeNumber, bool medicalPractice) {
    if (typeNumber == 1 && medicalPractice) {
        return {QStringLiteral("CPT"),     QStringLiteral("ICD"), QStringLiteral("Reimburse"),
                QStringLiteral("NSF"),     QStringLiteral("Tax"), QStringLiteral("Pre Bal"),
                QStringLiteral("Shipping")};
    }
    QStringList result;
    if (const QList<NamePair>* names = categoriesOf(typeNumber)) {
        for (const NamePair& name : *names) {
            // "Adjustment" is a charge sub-category, not a charge category of the list.
            if (typeNumber == 1 && name.first == QStringLiteral("Adjustment")) {
                continue;
            }
            result.append(name.first);
        }
    }
    return result;
}

QStringList subCategoryShortNames(int typeNumber, bool medicalPractice) {
    switch (typeNumber) {
        case 1:
            if (medicalPractice) {
                return {QStringLiteral("Adjustment"), QStringLiteral("State Tax"),
                        QStringLiteral("Interest"), QStringLiteral("Hawaii Tax")};
            }
            return {QStringLiteral("Adjustment"), QStringLiteral("State Tax"),
                    QStringLiteral("Interest"),   QStringLiteral("Ortho.Tot"),
                    QStringLiteral("Ortho.Vis"),  QStringLiteral("Hawaii Tax")};
        case 2:
            return {QStringLiteral("Cash"), QStringLiteral("Check"), QStringLiteral("Credit Crd"),
                    QStringLiteral("Pre Bal"), QStringLiteral("EFT")};
        default:
            return {};
    }
}

QString CategoryLongName(const QString& shortName, int typeNumber) {
    if (shortName == AllCodes) {
        return AllCodes;
    }
    if (const QList<NamePair>* names = categoriesOf(typeNumber)) {
        for (const NamePair& name : *names) {
            if (name.first == shortName) {
                return name.second;
            }
        }
    }
    return {};
}

bool isPseudoCode(const QString& code) {
    static const QStringList pseudoCodes = {QStringLiteral("LAB~"), QStringLiteral("RX~"),
                                            QStringLiteral("PSR~"), QStringLiteral("CRDE~")};
    return pseudoCodes.contains(code.trimmed().toUpper());
}

}  // namespace tqservicecode
