#pragma once

#include <QString>

#include <cstdint>
#include <vector>

/// The published code sets the reference browser shows, and what an imported code takes
/// from them.
namespace tqservicecode::reference {

/// The code sets by their DisplayType.
namespace DisplayType {
inline constexpr int32_t Dental = 0;
inline constexpr int32_t Procedure = 1;
inline constexpr int32_t Diagnosis = 2;
inline constexpr int32_t Diagnosis10 = 3;
inline constexpr int32_t Hcpcs = 4;
}  // namespace DisplayType

struct CodeSet {
    int32_t displayType = 0;
    /// Put in front of every table and column name of the set ("CDT": CDTTable, CDTCod).
    QString prefix;
    /// The window caption (the dental set's revision row may replace it).
    QString caption;
    /// The key and text of the set's entry in the Import menus ("ImportCPT", "Import CPT
    /// Codes").
    QString menuKey;
    QString menuText;
    /// The category an imported code takes; empty: by the dental code ranges.
    QString importCategory;
    /// Whether the modifier (sub-code) column is shown: the diagnosis sets, whose codes
    /// are split at the point.
    bool showsModifier = false;
    /// Whether the tree's nodes list their codes by the chapter and section each code row
    /// carries rather than by comparing code ranges: ICD-10-CM's categories with a letter
    /// in third place (C4A, C7A, D3A, M1A, Z3A) do not sort into their sections as text.
    bool placedBySection = false;
};

/// Every set, in DisplayType order.
const std::vector<CodeSet>& codeSets();
/// The set of a DisplayType; null for any other value (the screen is then left alone).
const CodeSet* codeSetFor(int32_t displayType);

/// The dental category of a code by its range ("D2740" is "Pros-Fix"); "" outside them.
/// The code is trimmed and compared upper-cased as text, both bounds included.
QString dentalCategory(const QString& code);

/// The category an imported code of the set proposes to the editor.
QString importCategory(const CodeSet& set, const QString& code);

/// The service code an imported row becomes: the code, with "." and the modifier when
/// the row has one ("250" and "01" give "250.01").
QString importedCode(const QString& code, const QString& modifier);

}  // namespace tqservicecode::reference
