#pragma once

#include <QByteArrayView>
#include <QVariant>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tqplatform::Internal {

/// How a stored value is held.
enum class StoredKind : uint8_t {
    Null,
    Integer,  // a 64-bit integer
    Real,     // a double
    Text,     // UTF-8 bytes in the arena
    Blob,     // bytes in the arena
    Variant,  // a value set by the program, kept as given
};

/// The rows of a result set, compact: per value one kind byte and eight bytes (the number,
/// or where its bytes start in one arena), every text and blob in that arena. Nothing is
/// converted while rows are read; a value becomes a QVariant only when it is asked for.
class RowStore {
public:
    explicit RowStore(int columns = 0) : m_columns(columns) {}

    int columnCount() const { return m_columns; }
    int64_t rowCount() const {
        return m_columns == 0 ? 0 : static_cast<int64_t>(m_kinds.size()) / m_columns;
    }
    void reserveRows(int64_t rows) {
        m_kinds.reserve(static_cast<size_t>(rows * m_columns));
        m_values.reserve(static_cast<size_t>(rows * m_columns));
    }

    // Appending: a row is its columns' values in order.
    void addNull() { push(StoredKind::Null, 0); }
    void addInteger(int64_t value) { push(StoredKind::Integer, value); }
    void addReal(double value) {
        int64_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        push(StoredKind::Real, bits);
    }
    void addBytes(StoredKind kind, const char* data, size_t size) {
        const auto length = static_cast<uint32_t>(size);
        const auto at = static_cast<int64_t>(m_arena.size());
        m_arena.append(reinterpret_cast<const char*>(&length), sizeof length);
        if (size > 0) {  // an empty blob comes as a null pointer
            m_arena.append(data, size);
        }
        push(kind, at);
    }
    void addVariant(const QVariant& value) {
        push(StoredKind::Variant, static_cast<int64_t>(m_variants.size()));
        m_variants.push_back(value);
    }
    /// A value replaced in place (by the program, not the database).
    void set(int64_t row, int column, const QVariant& value) {
        const size_t at = index(row, column);
        m_kinds[at] = StoredKind::Variant;
        m_values[at] = static_cast<int64_t>(m_variants.size());
        m_variants.push_back(value);
    }

    StoredKind kind(int64_t row, int column) const { return m_kinds[index(row, column)]; }
    int64_t integer(int64_t row, int column) const { return m_values[index(row, column)]; }
    double real(int64_t row, int column) const {
        double value = 0;
        std::memcpy(&value, &m_values[index(row, column)], sizeof value);
        return value;
    }
    QByteArrayView bytes(int64_t row, int column) const {
        const auto at = static_cast<size_t>(m_values[index(row, column)]);
        uint32_t length = 0;
        std::memcpy(&length, m_arena.data() + at, sizeof length);
        return {m_arena.data() + at + sizeof length, static_cast<qsizetype>(length)};
    }
    const QVariant& variant(int64_t row, int column) const {
        return m_variants[static_cast<size_t>(m_values[index(row, column)])];
    }

    /// Heap bytes held, as allocated.
    size_t bytesHeld() const {
        return m_kinds.capacity() + m_values.capacity() * sizeof(int64_t) + m_arena.capacity() +
               m_variants.capacity() * sizeof(QVariant);
    }

private:
    size_t index(int64_t row, int column) const {
        return static_cast<size_t>(row * m_columns + column);
    }
    void push(StoredKind kind, int64_t value) {
        m_kinds.push_back(kind);
        m_values.push_back(value);
    }

    int m_columns = 0;
    std::vector<StoredKind> m_kinds;
    std::vector<int64_t> m_values;
    std::string m_arena;
    std::vector<QVariant> m_variants;
};

}  // namespace tqplatform::Internal
