#pragma once

#include <span>

/// The demo practice's rows as plain tables: the code table and the practice's people.
/// SamplePractice.cpp writes them through the host services.
namespace tqhost::Internal {

/// Cursor stops, one flag per field of the transaction entry: provider, tooth, surface,
/// description, date, charge, phase, estimated insurance, billable.
namespace Stops {
inline constexpr const char* Visit = "YNNNYNNYN";
inline constexpr const char* Tooth = "YYNNYNNYN";
inline constexpr const char* Child = "YPNNYNNYN";
inline constexpr const char* Adult = "YANNYNNYN";
inline constexpr const char* Surface1 = "YY1NYNNYN";
inline constexpr const char* Surface2 = "YY2NYNNYN";
inline constexpr const char* Surface3 = "YY3NYNNYN";
inline constexpr const char* Surface4 = "YY4NYNNYN";
inline constexpr const char* Surface5 = "YY5NYNNYN";
/// Quadrant or arch work: the description says where.
inline constexpr const char* Area = "YNNYYNNYN";
/// Work done in phases (crowns, bridges, dentures): stops at the phase.
inline constexpr const char* Phased = "YYNNYNYYN";
/// Unlisted work: description and charge are typed at entry.
inline constexpr const char* Open = "YNNYYYNNN";
inline constexpr const char* Plain = "YNNNYNNNN";
/// Payments and adjustments: the amount is typed at entry.
inline constexpr const char* Amount = "YNNNYYNNN";
inline constexpr const char* Note = "YNNYYNNNN";
}  // namespace Stops

/// One code of the demo table. Fees are exact texts ("125.00").
struct SampleCode {
    const char* code = "";
    const char* officeCode = "";
    const char* insuranceCode = "";
    const char* description = "";
    const char* fee = "0.00";
    const char* cursorStops = Stops::Visit;
    const char* subCategory = "";
    const char* taxRate = "0";
    const char* letter = "";
};

/// Codes of one type and category. With tieredFees the lower fee schedules charge 90, 80
/// and 70 per cent of the code's fee (rounded to cents); otherwise every schedule charges
/// the same.
struct SampleCodeGroup {
    const char* type = "";
    const char* category = "";
    bool tieredFees = false;
    const char* department = "";
    int scheduleMinutes = 0;
    std::span<const SampleCode> codes;
};

/// The twelve dental charge categories (SampleCodes.cpp).
std::span<const SampleCodeGroup> dentalCodeGroups();
/// Every other category of the three types, the explosion codes and the reserved codes
/// (SampleOtherCodes.cpp).
std::span<const SampleCodeGroup> otherCodeGroups();

/// What some common codes carry beyond their group's row: the patient-friendly and
/// Spanish descriptions and the medical code they cross-reference.
struct SampleCodeExtras {
    const char* code = "";
    const char* friendly = "";
    const char* spanish = "";
    const char* crossReference = "";
};

std::span<const SampleCodeExtras> sampleCodeExtras();

/// A short letter kept in the practice's word-processing folder.
struct SampleLetter {
    const char* fileName = "";
    const char* body = "";
    const char* title = "";
};

std::span<const SampleLetter> sampleLetters();

}  // namespace tqhost::Internal
