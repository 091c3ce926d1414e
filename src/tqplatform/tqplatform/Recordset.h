#pragma once

#include <tqplatform/tqplatform_export.h>

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace tqplatform {

class Connection;

/// ADO's field type codes.
namespace FieldType {
inline constexpr int SmallInt = 2;
inline constexpr int Integer = 3;
inline constexpr int Single = 4;
inline constexpr int Double = 5;
inline constexpr int Currency = 6;
inline constexpr int Date = 7;
inline constexpr int Boolean = 11;
inline constexpr int BigInt = 20;
inline constexpr int VarWChar = 202;
inline constexpr int LongVarWChar = 203;
inline constexpr int LongVarBinary = 205;
}  // namespace FieldType

/// ADO's special AbsolutePosition values.
namespace Position {
inline constexpr int Unknown = -1;
inline constexpr int Bof = -2;
inline constexpr int Eof = -3;
}  // namespace Position

enum class SearchDirection { Forward, Backward };

/// A record's identity within its recordset: survives Sort and Filter.
using Bookmark = int64_t;

/// A client-side, static recordset: the rows of a query fetched into memory, with a
/// cursor, sort and filter as ADO offers them. Copies share nothing: use Clone() for a
/// second cursor over the same rows.
///
/// Rows are read through the database's own client and kept compactly; a value becomes a
/// QVariant when it is asked for. A recordset may be opened with only its first rows read
/// (as ADO's asynchronous fetch): the rest come with fetchMore(), and anything that needs
/// every row (MoveLast, Sort, Filter, Find, Clone, a copy), or another statement on the
/// connection, reads the rest first. Until then RecordCount and EOF speak of the rows read.
class TQPLATFORM_EXPORT Recordset {
public:
    struct Column {
        QString name;
        int type = FieldType::VarWChar;
        int definedSize = 0;
    };

    Recordset();
    /// Runs sql on conn and fetches every row. Throws tqplatform::Error on failure.
    Recordset(Connection& conn, const QString& sql);
    /// Runs sql on conn and reads its first firstRows rows (at least one).
    Recordset(Connection& conn, const QString& sql, int firstRows);
    /// A recordset over rows held in memory (no connection: Requery keeps the rows).
    Recordset(std::vector<Column> columns, std::vector<std::vector<QVariant>> rows);
    ~Recordset();
    /// A copy holds its own rows (as a recordset saved and opened again would).
    Recordset(const Recordset& other);
    Recordset& operator=(const Recordset& other);
    Recordset(Recordset&& other) noexcept;
    Recordset& operator=(Recordset&& other) noexcept;

    bool isOpen() const;
    void Close();

    // Fields.
    int FieldCount() const;
    const Column& FieldInfo(int index) const;
    /// Index of a field by name, case-insensitive; -1 when there is none.
    int FieldIndex(const QString& name) const;
    /// The current record's value; throws error 3021 when there is no current record and
    /// 3265 when there is no such field.
    QVariant Fields(const QString& name) const;
    QVariant Fields(int index) const;
    /// The current record's text value as the database keeps it, UTF-8, without making a
    /// QString of it (a list of many rows copies it straight into its own buffer); valid
    /// until more rows are read. nullopt when the value is not a text kept as such (NULL, a
    /// number, a date, money): ask Fields() then.
    std::optional<QByteArrayView> FieldUtf8(int index) const;
    /// The current record's number as the row store keeps it, without making a QVariant
    /// (an export of many rows writes it as text): an integer field's value, or money as
    /// its count of ten-thousandths. Equal numbers of one field read as equal values from
    /// Fields(). nullopt for anything else (NULL, text, a date, a value set by the program).
    struct Number {
        bool money = false;
        int64_t value = 0;
    };
    std::optional<Number> FieldNumber(int index) const;
    /// The current record's value written back into the in-memory row (not the database).
    void setField(const QString& name, const QVariant& value);

    // Cursor.
    int RecordCount() const;
    bool Eof() const;
    bool Bof() const;
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();
    void Move(int count);
    /// 1-based position within the current view; Position::Bof/Eof/Unknown otherwise.
    int AbsolutePosition() const;
    void setAbsolutePosition(int position);
    Bookmark bookmark() const;
    void setBookmark(Bookmark bookmark);

    /// A second cursor over the same rows, positioned on the first record.
    Recordset Clone() const;
    /// Fetches the rows again (keeping Sort and Filter); positions on the first record.
    void Requery();

    /// "name [ASC|DESC][, name2 ...]"; "" restores the fetched order.
    QString Sort() const;
    void setSort(const QString& sort);
    /// ADO criteria: name op value [AND|OR ...], brackets, LIKE with * or % wildcards;
    /// "" removes the filter. Throws error 3001 for criteria it cannot read.
    QString Filter() const;
    void setFilter(const QString& criteria);
    /// Moves to the next record (from the current one, after skipRecords) that meets
    /// the criteria; leaves the cursor at EOF (or BOF backwards) when none does.
    void Find(const QString& criteria, int skipRecords = 0,
              SearchDirection direction = SearchDirection::Forward);

    /// Reads up to maxRows more rows (they join the end of the view); answers how many.
    /// Throws what a failed read throws (DatabaseError, or ConnectionLost).
    int fetchMore(int maxRows);
    /// True when every row of the statement has been read.
    bool fetchComplete() const;
    /// The SQL text the recordset was opened with.
    QString Source() const;

private:
    struct Data;
    void rebuildView();
    void requireCurrent() const;
    void requireOpen() const;
    /// Reads the rows still to come.
    void completeFetch() const;
    /// Takes rows read since the view was made into it.
    void catchUp() const;
    /// The store row of the current record for a read of field index; -1 when a check fails.
    int64_t currentStoreRow(int index) const;
    /// The view position of a bookmark; -1 when the record is not in the view.
    int viewPositionOf(Bookmark bookmark) const;
    std::shared_ptr<Data> m_data;
    mutable std::vector<int> m_view;  // row indexes in view order
    mutable int64_t m_viewRows = 0;   // rows of m_data the view has been made over
    int m_pos = 0;                    // 0-based index into m_view; m_view.size() is EOF, -1 BOF
    QString m_sort;
    QString m_filter;
    mutable std::vector<int> m_viewPositions;  // row index -> view position, built on demand
};

}  // namespace tqplatform
