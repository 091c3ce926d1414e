#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tqplatform {
class Connection;
}

namespace tqhost::Internal {

struct WriteResult {
    enum class Status { Written, Refused, Missing };
    Status status = Status::Refused;
    /// Why nothing was written, for the user (empty when written).
    QString message;

    bool written() const { return status == Status::Written; }
};

/// Writes one row of a catalogue table from parallel lists of column names and text
/// values, in one INSERT or UPDATE with bound values, so that a row is written whole or
/// not at all. key 0 inserts (the database numbers the row, unless the key column is
/// among the names) and receives the new key; another key updates that row. Every value
/// is checked before anything is written (ValueConversion). Throws tqGlobal::Error when
/// the database fails.
WriteResult writeRow(tqplatform::Connection& connection, const QString& table,
                     const QString& keyField, int32_t& key, const QStringList& names,
                     const QStringList& values);

}  // namespace tqhost::Internal
