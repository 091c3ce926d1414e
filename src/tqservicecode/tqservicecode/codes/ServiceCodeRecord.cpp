#include <tqservicecode/codes/ServiceCodeRecord.h>

#include <tqplatform/TextWidth.h>

namespace tqservicecode {

QString fixedWidth(const QString& text, int width) {
    return tqplatform::fixedWidthText(text, width);
}

ServiceCodeRecord::ServiceCodeRecord() {
    clear();
}

void ServiceCodeRecord::clear() {
    SevCodDocID = 0;
    SevCodFee1 = SevCodFee2 = SevCodFee3 = SevCodFee4 = tqplatform::Currency();
    SevCodTax = 0;
    SevCodSchTim = 0;
    SevCodPasWorID = 0;
    SevCodID = 0;
    SevCodLetNam.clear();
    setCode({});
    setOfficeCode({});
    setInsuranceCode({});
    setDescription({});
    setCursorStops({});
    setDateChecked({});
    setCrossReference({});
    setType({});
    setCategory({});
    setSubCategory({});
    setDepartment({});
    setBillable({});
}

ServiceCodeRecord ServiceCodeRecord::defaults() {
    ServiceCodeRecord record;
    record.setCursorStops(QStringLiteral("YNNNYNNNN"));
    return record;
}

void ServiceCodeRecord::setCode(const QString& value) {
    SevCodCod = fixedWidth(value, Width::Code);
}
void ServiceCodeRecord::setOfficeCode(const QString& value) {
    SevCodOffCod = fixedWidth(value, Width::Code);
}
void ServiceCodeRecord::setInsuranceCode(const QString& value) {
    SevCodInsCod = fixedWidth(value, Width::Code);
}
void ServiceCodeRecord::setDescription(const QString& value) {
    SevCodDes = fixedWidth(value, Width::Description);
}
void ServiceCodeRecord::setCursorStops(const QString& value) {
    SevCodCurMov = fixedWidth(value, Width::CursorStops);
}
void ServiceCodeRecord::setDateChecked(const QString& value) {
    SevCodDatChe = fixedWidth(value, Width::DateChecked);
}
void ServiceCodeRecord::setCrossReference(const QString& value) {
    SevCodCroRefCod = fixedWidth(value, Width::Code);
}
void ServiceCodeRecord::setType(const QString& value) {
    SevCodTyp = fixedWidth(value, Width::Type);
}
void ServiceCodeRecord::setCategory(const QString& value) {
    SevCodCat = fixedWidth(value, Width::Category);
}
void ServiceCodeRecord::setSubCategory(const QString& value) {
    SevCodSubCat = fixedWidth(value, Width::SubCategory);
}
void ServiceCodeRecord::setDepartment(const QString& value) {
    SevCodDep = fixedWidth(value, Width::Department);
}
void ServiceCodeRecord::setBillable(const QString& value) {
    SevCodBil = fixedWidth(value, Width::Billable);
}

tqplatform::Currency ServiceCodeRecord::fee(int schedule) const {
    switch (schedule) {
        case 2:
            return SevCodFee2;
        case 3:
            return SevCodFee3;
        case 4:
            return SevCodFee4;
        default:
            return SevCodFee1;
    }
}

int ServiceCodeRecord::typeNumber() const {
    // The leading number of the type, as VB's Val reads it ("2 - Credit" is 2).
    const QString text = SevCodTyp.trimmed();
    int digits = 0;
    while (digits < text.size() && text.at(digits).isDigit()) {
        ++digits;
    }
    return digits == 0 ? 0 : text.left(digits).toInt();
}

}  // namespace tqservicecode
