// The host's services for the code table's editor and fee change, and the fee history
// that the database's triggers keep (FeeHistorySchema.cpp).

#include "FeeChangeDialog.h"
#include "SqlExec.h"

#include <tqhost/PracticeHost.h>
#include <tqplatform/Connection.h>

namespace tqhost {

namespace {

std::optional<tqplatform::Currency> moneyOf(const QVariant& value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    if (auto parsed = tqplatform::Currency::parse(value.toString())) {
        return parsed;
    }
    return tqplatform::Currency::fromDouble(value.toDouble());
}

}  // namespace

bool PracticeHost::SaveServiceCodeRow(int32_t& id, const QStringList& columns,
                                      const QStringList& texts, int mode, const QString& keyField,
                                      const QString& table) {
    QStringList names = columns;
    QStringList values = texts;
    const bool hasOffice = names.contains(QStringLiteral("OffLocID"), Qt::CaseInsensitive);
    if (id == 0 && !hasOffice) {
        // A new code belongs to the office it was made in, as the codes the store creates.
        names.prepend(QStringLiteral("OffLocID"));
        values.prepend(QString::number(m_officeId));
    }
    int32_t key = id;
    int16_t success = 0;
    SaveRecord(mode, table, keyField, key, names, values, true, success);
    if (success == 0) {
        return false;
    }
    id = key;
    return true;
}

std::shared_ptr<tqGlobal::IFeeChangeDialog> PracticeHost::CreateFeeChangeDialog() {
    return std::make_shared<FeeChangeDialog>(m_mainForm.data());
}

QList<PracticeHost::FeeHistoryEntry> PracticeHost::feeHistory(int32_t codeId) {
    QSqlQuery query = Internal::runBound(
        *m_connection,
        QStringLiteral("SELECT FeeHisID, SevCodID, FeeNum, OldFee, NewFee, UserName, ChangedAt "
                       "FROM FeeHistory WHERE SevCodID = ? ORDER BY ChangedAt DESC, FeeHisID "
                       "DESC"),
        {codeId});
    QList<FeeHistoryEntry> entries;
    while (query.next()) {
        entries.append({query.value(0).toInt(), query.value(1).toInt(), query.value(2).toInt(),
                        moneyOf(query.value(3)), moneyOf(query.value(4)), query.value(5).toString(),
                        query.value(6).toString()});
    }
    return entries;
}

int PracticeHost::restoreFeeChange(int32_t historyId) {
    QSqlQuery entry = Internal::runBound(
        *m_connection,
        QStringLiteral("SELECT FeeNum, ChangedAt, COALESCE(UserName, '') FROM FeeHistory "
                       "WHERE FeeHisID = ?"),
        {historyId});
    if (!entry.next()) {
        return 0;
    }
    const int fee = entry.value(0).toInt();
    if (fee < 1 || fee > 4) {
        return 0;
    }
    const QVariantList key = {entry.value(1).toString(), fee, entry.value(2).toString()};
    const QString sameChange = QStringLiteral(
        "h.SevCodID = SevCodTable.SevCodID AND h.ChangedAt = ? AND h.FeeNum = ? AND "
        "COALESCE(h.UserName, '') = ?");
    const QString column = QStringLiteral("SevCodFee%1").arg(fee);
    // Only codes that still hold the fee the change gave them: a fee changed since then
    // is the user's newer decision and stays.
    const QString stillSame = m_connection->kind() == tqplatform::DatabaseKind::PostgreSQL
                                  ? QStringLiteral("h.NewFee IS NOT DISTINCT FROM SevCodTable.%1")
                                  : QStringLiteral("h.NewFee IS SevCodTable.%1");
    const QString sql =
        QStringLiteral(
            "UPDATE SevCodTable SET %1 = (SELECT h.OldFee FROM FeeHistory h WHERE %2 ORDER BY "
            "h.FeeHisID LIMIT 1) WHERE EXISTS (SELECT 1 FROM FeeHistory h WHERE %2 AND %3)")
            .arg(column, sameChange, stillSame.arg(column));
    m_connection->BeginTrans();
    try {
        const int restored = Internal::runBound(*m_connection, sql, key + key).numRowsAffected();
        m_connection->CommitTrans();
        return restored;
    } catch (...) {
        m_connection->RollbackTrans();
        throw;
    }
}

}  // namespace tqhost
