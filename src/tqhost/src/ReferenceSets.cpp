#include <tqhost/ReferenceCodes.h>

#include <tqglobal/Error.h>

namespace tqhost {

const QList<ReferenceSetInfo>& referenceSets() {
    // The further sets: ICD-10-CM, the diagnosis set that replaced ICD-9-CM on US claims,
    // imports as "ICD" like it. HCPCS Level II holds procedures, supplies and drugs billed
    // on the same claim lines as CPT codes (CPT is HCPCS Level I), so it imports as "CPT",
    // the procedure category of a medical practice's list.
    static const QList<ReferenceSetInfo> sets = {
        {ReferenceSet::Dental, QStringLiteral("CDT"),
         QStringLiteral("Current Dental Terminology, Third Edition"), QString(),
         QStringLiteral("cdt")},
        {ReferenceSet::Procedure, QStringLiteral("CPT"),
         QStringLiteral("Physicians' Current Procedural Terminology, Fourth Edition"),
         QStringLiteral("CPT"), QStringLiteral("cpt")},
        {ReferenceSet::Icd9, QStringLiteral("ICD9"),
         QStringLiteral(
             "International Classification of Diseases, 9th Revision, Clinical Modification"),
         QStringLiteral("ICD"), QStringLiteral("icd9")},
        {ReferenceSet::Icd10, QStringLiteral("ICD10"),
         QStringLiteral(
             "International Classification of Diseases, 10th Revision, Clinical Modification"),
         QStringLiteral("ICD"), QStringLiteral("icd10")},
        {ReferenceSet::Hcpcs, QStringLiteral("HCPCS"),
         QStringLiteral("Healthcare Common Procedure Coding System, Level II"),
         QStringLiteral("CPT"), QStringLiteral("hcpcs")},
    };
    return sets;
}

const ReferenceSetInfo& referenceSetInfo(ReferenceSet set) {
    for (const ReferenceSetInfo& info : referenceSets()) {
        if (info.set == set) {
            return info;
        }
    }
    throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                          QStringLiteral("There is no code set %1.").arg(static_cast<int>(set)));
}

const ReferenceSetInfo* referenceSetByName(const QString& name) {
    for (const ReferenceSetInfo& info : referenceSets()) {
        if (info.name.compare(name.trimmed(), Qt::CaseInsensitive) == 0) {
            return &info;
        }
    }
    return nullptr;
}

QString defaultCodeSetFolder() {
    return QStringLiteral(TQ_CODESET_FOLDER);
}

}  // namespace tqhost
