#pragma once

#include <QString>
#include <QStringList>

/// The closed vocabulary of service codes: types, categories and sub-categories (short
/// stored names and long display names) and the program-defined codes.
namespace tqservicecode {

inline const QString TypeCharge = QStringLiteral("1 - Charge");
inline const QString TypeCredit = QStringLiteral("2 - Credit");
inline const QString TypeAdmin = QStringLiteral("3 - Admin.");
/// The type the component stores for the codes it creates itself (no full stop).
inline const QString TypeAdminProgram = QStringLiteral("3 - Admin");

inline const QString AllCodes = QStringLiteral("All Codes");

/// The reserved program-defined codes, both a membership list and an SQL IN list body.
inline const QString ReservedCodeList = QStringLiteral("'CCRMB', 'CCRFN', 'CCPMT'");

/// The editor's list of types, in order.
QStringList codeTypes();

/// Short category names of a type (1, 2, 3), in the editor's order. A medical practice
/// offers only the medical charge categories.
QStringList categoryShortNames(int typeNumber, bool medicalPractice = false);
/// Sub-category short names of a type, in the editor's order.
QStringList subCategoryShortNames(int typeNumber, bool medicalPractice = false);

/// The long name of a short category name of a type (1 to 3); "All Codes" is itself
/// for any type; anything else, or another type, is "". Exact comparison.
QString CategoryLongName(const QString& shortName, int typeNumber);

/// A program-made pseudo-code ("LAB~", "RX~", "PSR~", "CRDE~"), by its upper-cased,
/// trimmed code; false for anything else.
bool isPseudoCode(const QString& code);

}  // namespace tqservicecode
