#include <tqservicecode/codes/ServiceCodeRows.h>

#include <tqplatform/Recordset.h>

namespace tqservicecode {

namespace {

QString textOf(const tqplatform::Recordset& rows, const QString& name) {
    const int index = rows.FieldIndex(name);
    return index < 0 ? QString() : rows.Fields(index).toString();
}

QVariant valueOf(const tqplatform::Recordset& rows, const QString& name) {
    const int index = rows.FieldIndex(name);
    return index < 0 ? QVariant() : rows.Fields(index);
}

/// A single-precision value in its plain text form.
QString singleText(float value) {
    return QString::number(static_cast<double>(value), 'g', 7);
}

}  // namespace

tqplatform::Currency currencyOf(const QVariant& value) {
    if (value.isNull() || !value.isValid()) {
        return {};
    }
    if (value.metaType() == QMetaType::fromType<tqplatform::Currency>()) {
        return value.value<tqplatform::Currency>();
    }
    if (value.metaType().id() == QMetaType::Double || value.metaType().id() == QMetaType::Float) {
        return tqplatform::Currency::fromDouble(value.toDouble());
    }
    return tqplatform::Currency::parse(value.toString()).value_or(tqplatform::Currency());
}

void readServiceCodeRecord(const tqplatform::Recordset& rows, ServiceCodeRecord& record) {
    record.clear();
    record.SevCodID = valueOf(rows, QStringLiteral("SevCodID")).toInt();
    record.SevCodDocID = valueOf(rows, QStringLiteral("SevCodDocID")).toInt();
    record.setCode(textOf(rows, QStringLiteral("SevCodCod")));
    record.setOfficeCode(textOf(rows, QStringLiteral("SevCodOffCod")));
    record.setInsuranceCode(textOf(rows, QStringLiteral("SevCodInsCod")));
    record.setDescription(textOf(rows, QStringLiteral("SevCodDes")));
    record.SevCodFee1 = currencyOf(valueOf(rows, QStringLiteral("SevCodFee1")));
    record.SevCodFee2 = currencyOf(valueOf(rows, QStringLiteral("SevCodFee2")));
    record.SevCodFee3 = currencyOf(valueOf(rows, QStringLiteral("SevCodFee3")));
    record.SevCodFee4 = currencyOf(valueOf(rows, QStringLiteral("SevCodFee4")));
    record.setCursorStops(textOf(rows, QStringLiteral("SevCodCurMov")));
    record.setDateChecked(textOf(rows, QStringLiteral("SevCodDatChe")));
    record.setCrossReference(textOf(rows, QStringLiteral("SevCodCroRefCod")));
    record.setType(textOf(rows, QStringLiteral("SevCodTyp")));
    record.setCategory(textOf(rows, QStringLiteral("SevCodCat")));
    record.setSubCategory(textOf(rows, QStringLiteral("SevCodSubCat")));
    record.setDepartment(textOf(rows, QStringLiteral("SevCodDep")));
    record.SevCodTax = valueOf(rows, QStringLiteral("SevCodTax")).toFloat();
    record.SevCodSchTim = valueOf(rows, QStringLiteral("SevCodSchTim")).toFloat();
    record.SevCodPasWorID =
        static_cast<int16_t>(valueOf(rows, QStringLiteral("SevCodPasWorID")).toInt());
    record.setBillable(textOf(rows, QStringLiteral("SevCodBil")));
    record.SevCodLetNam = textOf(rows, QStringLiteral("SevCodLetNam"));
}

void appendServiceCodeColumns(const ServiceCodeRecord& record, QStringList& names,
                              QStringList& values) {
    const auto add = [&](const char* name, const QString& value) {
        names << QLatin1String(name);
        values << value;
    };
    add("SevCodDocID", QString::number(record.SevCodDocID));
    add("SevCodCod", record.SevCodCod.trimmed());
    add("SevCodOffCod", record.SevCodOffCod.trimmed());
    // Written under this spelling by long habit; the host matches names without case.
    add("SevcodInsCod", record.SevCodInsCod.trimmed());
    add("SevCodDes", record.SevCodDes.trimmed());
    add("SevCodFee1", record.SevCodFee1.toString());
    add("SevCodFee2", record.SevCodFee2.toString());
    add("SevCodFee3", record.SevCodFee3.toString());
    add("SevCodFee4", record.SevCodFee4.toString());
    add("SevCodCurMov", record.SevCodCurMov.trimmed());
    add("SevCodDatChe", record.SevCodDatChe.trimmed());
    add("SevCodCroRefCod", record.SevCodCroRefCod.trimmed());
    add("SevCodTyp", record.SevCodTyp.trimmed());
    add("SevCodCat", record.SevCodCat.trimmed());
    add("SevCodSubCat", record.SevCodSubCat.trimmed());
    add("SevCodDep", record.SevCodDep.trimmed());
    add("SevCodTax", singleText(record.SevCodTax));
    add("SevCodSchTim", singleText(record.SevCodSchTim));
    add("SevCodPasWorID", QString::number(record.SevCodPasWorID));
    add("SevCodBil", record.SevCodBil.trimmed());
    add("SevCodLetNam", record.SevCodLetNam.trimmed());
}

}  // namespace tqservicecode
