#include "RowWriter.h"

#include "SqlExec.h"
#include "ValueConversion.h"

#include <tqglobal/Error.h>
#include <tqhost/Schema.h>
#include <tqplatform/Connection.h>
#include <tqplatform/TextWidth.h>

#include <QSqlError>
#include <QVariantList>

namespace tqhost::Internal {

namespace {

using tqplatform::DatabaseKind;
using Status = WriteResult::Status;

WriteResult refusal(const QString& message) {
    return {Status::Refused, message};
}

QString shown(const QString& value) {
    constexpr int MostShown = 60;
    QString text = value;
    text.replace(QChar(u'\0'), QStringLiteral("\\0"));
    if (text.size() > MostShown) {
        text = tqplatform::leftCharacters(text, MostShown) + QStringLiteral("...");
    }
    return QLatin1Char('"') + text + QLatin1Char('"');
}

/// The PostgreSQL sequence behind a numbered key follows keys written explicitly.
void catchUpKeySequence(tqplatform::Connection& connection, const schema::Table& table) {
    runBound(connection, QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', '%2'), "
                                        "GREATEST((SELECT MAX(%2) FROM %1), 1))")
                             .arg(table.name.toLower(), table.autoKey.toLower()));
}

int32_t insertRow(tqplatform::Connection& connection, const schema::Table& table,
                  const QStringList& columns, const QVariantList& bound, bool explicitKey) {
    const bool postgres = connection.kind() == DatabaseKind::PostgreSQL;
    QString sql = QStringLiteral("INSERT INTO ") + table.name;
    if (columns.isEmpty()) {
        sql += QStringLiteral(" DEFAULT VALUES");
    } else {
        QStringList marks;
        marks.reserve(columns.size());
        for (qsizetype i = 0; i < columns.size(); ++i) {
            marks << QStringLiteral("?");
        }
        sql += QStringLiteral(" (") + columns.join(QStringLiteral(", ")) +
               QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    if (postgres) {
        sql += QStringLiteral(" RETURNING ") + table.autoKey;
    }
    QSqlQuery query = [&] {
        try {
            return runBound(connection, sql, bound);
        } catch (const tqGlobal::Error&) {
            // A key taken by a row written with an explicit number: the sequence catches
            // up and the insert runs once more (outside a transaction only, which the
            // failure would have spoilt). Any other failure is reported as it came.
            if (!postgres || explicitKey || connection.transactionDepth() > 0 ||
                !uniqueKeyViolated(connection)) {
                throw;
            }
        }
        catchUpKeySequence(connection, table);
        return runBound(connection, sql, bound);
    }();
    int32_t newKey = 0;
    if (postgres) {
        if (query.next()) {
            newKey = query.value(0).toInt();
        }
        if (explicitKey) {
            catchUpKeySequence(connection, table);
        }
    } else {
        newKey = query.lastInsertId().toInt();
    }
    return newKey;
}

/// The row of a program-defined code that the values name (its code and office), 0 when
/// they name none.
int32_t existingProgramCode(tqplatform::Connection& connection, const schema::Table& table,
                            const QStringList& columns, const QVariantList& bound) {
    const qsizetype code = columns.indexOf(QStringLiteral("SevCodCod"));
    const qsizetype office = columns.indexOf(QStringLiteral("OffLocID"));
    if (table.name != QStringLiteral("SevCodTable") || code < 0 ||
        !schema::programCodes().contains(bound.at(code).toString().trimmed().toUpper())) {
        return 0;
    }
    const QVariant officeId = office < 0 ? QVariant() : bound.at(office);
    const QString sameOffice =
        officeId.isNull() ? QStringLiteral("OffLocID IS NULL") : QStringLiteral("OffLocID = ?");
    QVariantList values{bound.at(code).toString().trimmed()};
    if (!officeId.isNull()) {
        values << officeId;
    }
    return firstValue(connection,
                      QStringLiteral("SELECT SevCodID FROM SevCodTable WHERE SevCodCod = ? AND ") +
                          sameOffice,
                      values)
        .toInt();
}

}  // namespace

WriteResult writeRow(tqplatform::Connection& connection, const QString& tableName,
                     const QString& keyField, int32_t& key, const QStringList& names,
                     const QStringList& values) {
    const schema::Table* table = schema::findTable(tableName);
    if (table == nullptr || table->autoKey.isEmpty()) {
        return refusal(QStringLiteral("The table %1 cannot be written here.").arg(tableName));
    }
    if (keyField.trimmed().compare(table->autoKey, Qt::CaseInsensitive) != 0) {
        return refusal(QStringLiteral("The key of the table %1 is %2, not %3.")
                           .arg(table->name, table->autoKey, keyField));
    }
    if (names.size() != values.size()) {
        return refusal(QStringLiteral("%1 column names were given with %2 values for the "
                                      "table %3.")
                           .arg(names.size())
                           .arg(values.size())
                           .arg(table->name));
    }

    QStringList columns;
    QVariantList bound;
    bool explicitKey = false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const schema::Column* column = table->column(names.at(i).trimmed());
        if (column == nullptr) {
            return refusal(QStringLiteral("The table %1 has no column %2 (value %3).")
                               .arg(table->name, names.at(i), shown(values.at(i))));
        }
        if (columns.contains(column->name)) {
            return refusal(QStringLiteral("The column %1 of %2 was given twice.")
                               .arg(column->name, table->name));
        }
        const Conversion converted = convertValue(*column, values.at(i));
        if (!converted.ok) {
            return refusal(
                QStringLiteral("The value %1 for the column %2 of %3 %4.")
                    .arg(shown(values.at(i)), column->name, table->name, converted.problem));
        }
        if (column->name == table->autoKey) {
            if (key != 0 || converted.value.isNull()) {
                return refusal(QStringLiteral("The key %1 of %2 cannot be changed (value %3).")
                                   .arg(column->name, table->name, shown(values.at(i))));
            }
            explicitKey = true;
        }
        columns << column->name;
        bound << converted.value;
    }

    if (key == 0) {
        int32_t newKey = 0;
        try {
            newKey = insertRow(connection, *table, columns, bound, explicitKey);
        } catch (const tqGlobal::Error&) {
            // Another workstation created the same program-defined code a moment ago
            // (its unique index refused this one): that row is updated instead, as it
            // would have been had the lookup before this save seen it.
            newKey = connection.transactionDepth() == 0 && uniqueKeyViolated(connection)
                         ? existingProgramCode(connection, *table, columns, bound)
                         : 0;
            if (newKey == 0) {
                throw;
            }
            key = newKey;
        }
        if (newKey == 0) {
            throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                                  QStringLiteral("The database gave no key for the new row "
                                                 "of %1.")
                                      .arg(table->name));
        }
        if (key == 0) {
            key = newKey;
            return {Status::Written, {}};
        }
    }

    const QString where = QStringLiteral(" WHERE ") + table->autoKey + QStringLiteral(" = ?");
    if (columns.isEmpty()) {
        const QVariant found =
            firstValue(connection, QStringLiteral("SELECT 1 FROM ") + table->name + where, {key});
        if (found.isValid()) {
            return {Status::Written, {}};
        }
    } else {
        QStringList assignments;
        for (const QString& column : columns) {
            assignments << column + QStringLiteral(" = ?");
        }
        bound << QVariant::fromValue(static_cast<qlonglong>(key));
        const QSqlQuery query =
            runBound(connection,
                     QStringLiteral("UPDATE ") + table->name + QStringLiteral(" SET ") +
                         assignments.join(QStringLiteral(", ")) + where,
                     bound);
        if (query.numRowsAffected() > 0) {
            return {Status::Written, {}};
        }
    }
    return {Status::Missing, QStringLiteral("The row %1 = %2 of %3 does not exist.")
                                 .arg(table->autoKey)
                                 .arg(key)
                                 .arg(table->name)};
}

}  // namespace tqhost::Internal
