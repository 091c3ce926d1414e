#include <tqhost/PracticeHost.h>

#include <tqplatform/Currency.h>
#include <tqplatform/Recordset.h>
#include <tqplatform/Vb.h>

namespace tqhost {

namespace {

/// A text as one field of a line: trimmed, line breaks made blanks, so that a
/// description cannot split the line that carries it.
QString lineField(const QVariant& value) {
    QString text = value.toString();
    text.replace(u'\r', u' ').replace(u'\n', u' ');
    return text.trimmed();
}

}  // namespace

bool PracticeHost::UsesMedicalCodeSets(const QString& text) {
    (void)text;
    return m_usesMedicalCodeSets;
}

QString PracticeHost::GetCodeReturnText(tqplatform::Recordset& rows) {
    const QChar lf(u'\n');
    const QVariant fee = rows.Fields(QStringLiteral("SevCodFee1"));
    const tqplatform::Currency amount =
        fee.isNull() ? tqplatform::Currency{} : tqplatform::vb::CCur(fee);
    return QString::number(tqplatform::vb::CLng(rows.Fields(QStringLiteral("SevCodID")))) + lf +
           lineField(rows.Fields(QStringLiteral("SevCodCod"))) + lf +
           lineField(rows.Fields(QStringLiteral("SevCodDes"))) + lf +
           tqplatform::vb::Format(amount, QStringLiteral("0.00"));
}

}  // namespace tqhost
