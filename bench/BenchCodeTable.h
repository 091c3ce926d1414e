#pragma once

#include <tqplatform/Connection.h>

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <functional>

namespace tqbench {

/// The dental categories the benchmarks' codes are spread over, one after the other.
inline const QStringList DentalCategories = {"Diag",     "Prev",     "Rest",       "Endo",
                                             "Perio",    "Pros-Rem", "Maxil-Pros", "Implant",
                                             "Pros-Fix", "Surgery",  "Ortho",      "Gen-Serv"};

inline QString plainDescription(int i) {
    return QStringLiteral("Procedure number %1 with a longer description").arg(i);
}

/// Replaces the rows of SevCodTable by count charge codes "D000000", "D000001", ... with
/// office codes, four fees each and the categories taken in turn, in one transaction.
inline void fillCodeTable(tqplatform::Connection& conn, int count,
                          const QStringList& categories = DentalCategories,
                          const std::function<QString(int)>& description = plainDescription) {
    conn.Execute("DELETE FROM SevCodTable");
    conn.BeginTrans();
    QSqlQuery insert(conn.database());
    insert.prepare(
        "INSERT INTO SevCodTable (SevCodCod, SevCodOffCod, SevCodDes, SevCodTyp, SevCodCat, "
        "SevCodFee1, SevCodFee2, SevCodFee3, SevCodFee4, OffLocID) VALUES (?,?,?,?,?,?,?,?,?,0)");
    for (int i = 0; i < count; ++i) {
        insert.addBindValue(QStringLiteral("D%1").arg(i, 6, 10, QLatin1Char('0')));
        insert.addBindValue(QStringLiteral("O%1").arg(i % 9999));
        insert.addBindValue(description(i));
        insert.addBindValue(QStringLiteral("1 - Charge"));
        insert.addBindValue(categories[i % categories.size()]);
        for (int fee = 1; fee <= 4; ++fee) {
            insert.addBindValue(
                QStringLiteral("%1.%2").arg(10 + i % 900).arg(fee * 5, 2, 10, QLatin1Char('0')));
        }
        if (!insert.exec()) {
            qFatal("insert failed");
        }
    }
    conn.CommitTrans();
}

}  // namespace tqbench
