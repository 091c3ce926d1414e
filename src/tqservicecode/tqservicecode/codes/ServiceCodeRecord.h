#pragma once

#include <tqservicecode/tqservicecode_export.h>

#include <tqplatform/Currency.h>

#include <QString>

#include <cstdint>

namespace tqservicecode {

/// Widths of the fixed-width text columns of SevCodTable.
namespace Width {
inline constexpr int Code = 10;
inline constexpr int Description = 255;
inline constexpr int CursorStops = 20;
inline constexpr int DateChecked = 20;
inline constexpr int Type = 10;
inline constexpr int Category = 10;
inline constexpr int SubCategory = 10;
inline constexpr int Department = 5;
inline constexpr int Billable = 3;
}  // namespace Width

/// One row of SevCodTable. Fixed-width text fields hold their value padded on the right
/// with blanks to their width (cut to it when longer); use the setters, which keep that
/// rule, and the trimmed() accessors wherever a value is compared or written.
struct TQSERVICECODE_EXPORT ServiceCodeRecord {
    int32_t SevCodDocID = 0;
    QString SevCodCod;     // 10
    QString SevCodOffCod;  // 10
    QString SevCodInsCod;  // 10
    QString SevCodDes;     // 255
    tqplatform::Currency SevCodFee1;
    tqplatform::Currency SevCodFee2;
    tqplatform::Currency SevCodFee3;
    tqplatform::Currency SevCodFee4;
    QString SevCodCurMov;     // 20
    QString SevCodDatChe;     // 20
    QString SevCodCroRefCod;  // 10
    QString SevCodTyp;        // 10
    QString SevCodCat;        // 10
    QString SevCodSubCat;     // 10
    QString SevCodDep;        // 5
    float SevCodTax = 0;
    float SevCodSchTim = 0;
    int16_t SevCodPasWorID = 0;
    QString SevCodBil;  // 3
    int32_t SevCodID = 0;
    QString SevCodLetNam;  // variable

    ServiceCodeRecord();

    /// Every text field blank (fixed-width fields all blanks), every number 0,
    /// SevCodLetNam empty.
    void clear();
    /// A cleared record with the cursor stops of codes the component creates itself.
    static ServiceCodeRecord defaults();

    void setCode(const QString& value);
    void setOfficeCode(const QString& value);
    void setInsuranceCode(const QString& value);
    void setDescription(const QString& value);
    void setCursorStops(const QString& value);
    void setDateChecked(const QString& value);
    void setCrossReference(const QString& value);
    void setType(const QString& value);
    void setCategory(const QString& value);
    void setSubCategory(const QString& value);
    void setDepartment(const QString& value);
    void setBillable(const QString& value);

    /// The fee of fee schedule 1 to 4 (schedule 1 for anything else).
    tqplatform::Currency fee(int schedule) const;

    QString code() const { return SevCodCod.trimmed(); }
    QString description() const { return SevCodDes.trimmed(); }
    QString category() const { return SevCodCat.trimmed(); }
    QString subCategory() const { return SevCodSubCat.trimmed(); }
    /// The numeric value of the type's leading number (1 charge, 2 credit, 3 admin; 0).
    int typeNumber() const;

    friend bool operator==(const ServiceCodeRecord&, const ServiceCodeRecord&) = default;
};

/// Cuts the text to width and pads it on the right with blanks (a fixed-length string).
QString fixedWidth(const QString& text, int width);

}  // namespace tqservicecode
