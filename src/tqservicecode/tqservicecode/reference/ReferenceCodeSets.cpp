#include <tqservicecode/reference/ReferenceCodeSets.h>

#include <array>

namespace tqservicecode::reference {

const std::vector<CodeSet>& codeSets() {
    static const std::vector<CodeSet> sets = {
        {DisplayType::Dental, QStringLiteral("CDT"),
         QStringLiteral("Current Dental Terminology, Third Edition"), QStringLiteral("ImportCDT"),
         QStringLiteral("Import CDT Codes"), QString(), false, false},
        {DisplayType::Procedure, QStringLiteral("CPT"),
         QStringLiteral("Physicians' Current Procedural Terminology, Fourth Edition"),
         QStringLiteral("ImportCPT"), QStringLiteral("Import CPT Codes"), QStringLiteral("CPT"),
         false, false},
        {DisplayType::Diagnosis, QStringLiteral("ICD9"),
         QStringLiteral("International Classification of Diseases, 9th Revision, Clinical "
                        "Modification"),
         QStringLiteral("ImportICD"), QStringLiteral("Import ICD Codes"), QStringLiteral("ICD"),
         true, false},
        {DisplayType::Diagnosis10, QStringLiteral("ICD10"),
         QStringLiteral("International Classification of Diseases, 10th Revision, Clinical "
                        "Modification"),
         QStringLiteral("ImportICD10"), QStringLiteral("Import ICD-10-CM Codes"),
         QStringLiteral("ICD"), true, true},
        // HCPCS Level II codes are billed on the same claims as the physicians' procedure
        // codes (CPT is HCPCS Level I), so they join the practice's "CPT" category.
        {DisplayType::Hcpcs, QStringLiteral("HCPCS"),
         QStringLiteral("Healthcare Common Procedure Coding System, Level II"),
         QStringLiteral("ImportHCPCS"), QStringLiteral("Import HCPCS Codes"), QStringLiteral("CPT"),
         false, false},
    };
    return sets;
}

const CodeSet* codeSetFor(int32_t displayType) {
    for (const CodeSet& set : codeSets()) {
        if (set.displayType == displayType) {
            return &set;
        }
    }
    return nullptr;
}

QString dentalCategory(const QString& code) {
    struct Range {
        const char16_t* from;
        const char16_t* to;
        const char16_t* category;
    };
    static constexpr std::array<Range, 12> ranges = {{
        {u"D0100", u"D0999", u"Diag"},
        {u"D1000", u"D1999", u"Prev"},
        {u"D2000", u"D2699", u"Rest"},
        {u"D2700", u"D2999", u"Pros-Fix"},
        {u"D3000", u"D3999", u"Endo"},
        {u"D4000", u"D4999", u"Perio"},
        {u"D5000", u"D5899", u"Pros-Rem"},
        {u"D5900", u"D5999", u"Maxil-Pros"},
        {u"D6000", u"D6999", u"Pros-Fix"},
        {u"D7000", u"D7999", u"Surgery"},
        {u"D8000", u"D8999", u"Ortho"},
        {u"D9000", u"D9999", u"Gen-Serv"},
    }};
    const QString wanted = code.trimmed().toUpper();
    for (const Range& range : ranges) {
        if (QStringView(wanted) >= QStringView(range.from) &&
            QStringView(wanted) <= QStringView(range.to)) {
            return QString::fromUtf16(range.category);
        }
    }
    return {};
}

QString importCategory(const CodeSet& set, const QString& code) {
    return set.importCategory.isEmpty() ? dentalCategory(code) : set.importCategory;
}

QString importedCode(const QString& code, const QString& modifier) {
    return modifier.isEmpty() ? code : code + QLatin1Char('.') + modifier;
}

}  // namespace tqservicecode::reference
