#include "ExportWriter.h"

#include <tqservicecode/grid/CodePage1252.h>
#include <tqservicecode/grid/RecordModel.h>

#include <tqplatform/Currency.h>
#include <tqplatform/Vb.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>
#include <unordered_map>

namespace tqservicecode::exporting {

namespace {

/// Lines gather in memory and go to the file in large writes, always whole.
constexpr qsizetype FlushBytes = 1 << 20;

/// Whether bytes are plain ASCII (the same in UTF-8 and the code page), eight at a time.
bool isAscii(QByteArrayView bytes) {
    const char* data = bytes.data();
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word = 0;
        std::memcpy(&word, data + i, sizeof word);
        if ((word & 0x8080808080808080ULL) != 0) {
            return false;
        }
    }
    for (; i < size; ++i) {
        if (static_cast<unsigned char>(data[i]) >= 0x80) {
            return false;
        }
    }
    return true;
}

/// The file's bytes as they gather: appends are plain copies into room kept between
/// writes, and the room goes to the file in large writes, always of whole lines.
class Sink {
public:
    explicit Sink(QFileDevice& file) : m_file(file) { m_bytes.reserve(FlushBytes + 4096); }
    void append(const char* data, size_t size) { m_bytes.append(data, size); }
    void append(const QByteArray& bytes) { append(bytes.constData(), size_t(bytes.size())); }
    void append(QByteArrayView bytes) { append(bytes.data(), size_t(bytes.size())); }
    void appendText(const QString& text) {
        m_scratch.clear();
        cp1252::appendEncoded(m_scratch, text);
        append(m_scratch);
    }
    void appendUtf8(QByteArrayView utf8) {
        if (isAscii(utf8)) {
            append(utf8);
        } else {
            appendText(QString::fromUtf8(utf8));
        }
    }
    /// After a whole line: writes when enough has gathered. False when the file took
    /// less than it was given (a full disk, a folder gone).
    bool lineDone() { return m_bytes.size() < size_t(FlushBytes) || flush(); }
    /// Hands the bytes to the system: a write the device only buffered (all of a small
    /// export) fails on its flush, which closing the file would not report.
    bool flush() {
        const qint64 size = qint64(m_bytes.size());
        const bool written =
            (size == 0 || m_file.write(m_bytes.data(), size) == size) && m_file.flush();
        m_bytes.clear();  // the room stays
        return written;
    }

private:
    QFileDevice& m_file;
    std::string m_bytes;
    QByteArray m_scratch;
};

/// A file written beside its target that takes the target's place by one rename once it
/// is whole; until then, and when anything fails, the target stays as it was and the file
/// beside it is removed. Unlike a save file it is not synced to the disk first: an export
/// is made again from the rows in a moment, and syncing a large one costs more than
/// writing it.
class FileBeside {
public:
    explicit FileBeside(const QString& target)
        : m_target(target),
          m_file(QFileInfo(target).absoluteFilePath() + QStringLiteral(".XXXXXX")) {}
    bool open() {
        if (!m_file.open()) {
            return false;
        }
        // The permissions of the file it replaces, or those a new file gets.
        const QFile existing(m_target);
        m_file.setPermissions(existing.exists()
                                  ? existing.permissions()
                                  : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                        QFileDevice::ReadUser | QFileDevice::WriteUser |
                                        QFileDevice::ReadGroup | QFileDevice::ReadOther);
        return true;
    }
    QFileDevice& device() { return m_file; }
    QString errorString() const { return m_error.isEmpty() ? m_file.errorString() : m_error; }
    bool commit() {
        m_file.close();
        if (m_file.error() != QFileDevice::NoError) {
            return false;
        }
        std::error_code error;
        std::filesystem::rename(std::filesystem::path(m_file.fileName().toStdU16String()),
                                std::filesystem::path(m_target.toStdU16String()), error);
        if (error) {
            m_error = QString::fromStdString(error.message());
            return false;
        }
        m_file.setAutoRemove(false);
        return true;
    }

private:
    QString m_target;
    QTemporaryFile m_file;
    QString m_error;
};

/// Formatted cells of one column by value: a code table repeats its fees, dates and
/// numbers, and formatting a value is the dearest part of a line.
class FormatCache {
public:
    /// The cell's bytes for a value that fits a 64-bit key; null when it does not.
    const QByteArray* find(const QVariant& value, const Column& column) {
        uint64_t key = 0;
        if (!keyOf(value, key)) {
            return nullptr;
        }
        const int type = value.typeId();
        auto it = m_cells.find(key);
        if (it != m_cells.end() && it->second.type == type) {
            return &it->second.bytes;
        }
        if (m_cells.size() >= MaxEntries) {
            m_cells.clear();
        }
        Entry& entry = m_cells[key];
        entry.type = type;
        entry.bytes.clear();
        cp1252::appendEncoded(entry.bytes,
                              gridCellText(value, column.numberFormat, column.editMask));
        return &entry.bytes;
    }

private:
    static constexpr size_t MaxEntries = 8192;
    struct Entry {
        int type = 0;
        QByteArray bytes;
    };
    static bool keyOf(const QVariant& value, uint64_t& key) {
        switch (value.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::Short:
                key = static_cast<uint64_t>(value.toLongLong());
                return true;
            case QMetaType::Double: {
                const double d = value.toDouble();
                std::memcpy(&key, &d, sizeof key);
                return true;
            }
            case QMetaType::QDate:
                key = static_cast<uint64_t>(value.toDate().toJulianDay());
                return true;
            default:
                if (value.metaType() == QMetaType::fromType<tqplatform::Currency>()) {
                    key = static_cast<uint64_t>(value.value<tqplatform::Currency>().raw());
                    return true;
                }
                return false;
        }
    }
    std::unordered_map<uint64_t, Entry> m_cells;
};

/// Formatted cells of one column by the number the row store keeps: the value is made
/// (and formatted) only for a number not seen yet. Equal numbers of one field make equal
/// values, so the text is the one the value would give.
class NumberCache {
public:
    template <typename MakeValue>
    const QByteArray& find(tqplatform::Recordset::Number number, const Column& column,
                           MakeValue makeValue) {
        auto& cells = number.money ? m_money : m_integers;
        auto it = cells.find(number.value);
        if (it != cells.end()) {
            return it->second;
        }
        if (cells.size() >= MaxEntries) {
            cells.clear();
        }
        QByteArray& bytes = cells[number.value];
        cp1252::appendEncoded(bytes,
                              gridCellText(makeValue(), column.numberFormat, column.editMask));
        return bytes;
    }

private:
    static constexpr size_t MaxEntries = 8192;
    std::unordered_map<int64_t, QByteArray> m_money;
    std::unordered_map<int64_t, QByteArray> m_integers;
};

/// How a column's cells are written.
struct ColumnPlan {
    /// A text field without a format: copied from the row as the database gave it.
    bool plainText = false;
    /// An integer field without a format: its digits, as the grid shows a whole number.
    bool plainInteger = false;
    FormatCache values;
    NumberCache numbers;
};

void appendDigits(Sink& out, int64_t value) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
    out.append(digits, size_t(end - digits));
}

/// A column's cell as its bytes: text and numbers straight from the row store where the
/// plan allows; anything else formatted as the grid shows it.
void appendCell(Sink& out, const tqplatform::Recordset& rs, const Column& column,
                ColumnPlan& plan) {
    if (column.field < 0) {
        return;
    }
    if (plan.plainText) {
        if (const auto utf8 = rs.FieldUtf8(column.field)) {
            out.appendUtf8(*utf8);
            return;
        }
    }
    if (const auto number = rs.FieldNumber(column.field)) {
        // Beyond fifteen digits the grid shows a whole number in exponent form.
        constexpr int64_t PlainLimit = 999'999'999'999'999;
        if (plan.plainInteger && !number->money && number->value <= PlainLimit &&
            number->value >= -PlainLimit) {
            appendDigits(out, number->value);
        } else {
            out.append(plan.numbers.find(*number, column, [&] { return rs.Fields(column.field); }));
        }
        return;
    }
    const QVariant value = rs.Fields(column.field);
    if (value.isNull()) {
        return;
    }
    if (const QByteArray* cell = plan.values.find(value, column)) {
        out.append(*cell);
        return;
    }
    out.appendText(gridCellText(value, column.numberFormat, column.editMask));
}

bool isText(const tqplatform::Recordset& rs, int field) {
    if (field < 0) {
        return false;
    }
    const int type = rs.FieldInfo(field).type;
    return type == tqplatform::FieldType::VarWChar || type == tqplatform::FieldType::LongVarWChar;
}

bool isInteger(const tqplatform::Recordset& rs, int field) {
    if (field < 0) {
        return false;
    }
    const int type = rs.FieldInfo(field).type;
    return type == tqplatform::FieldType::Integer || type == tqplatform::FieldType::SmallInt ||
           type == tqplatform::FieldType::BigInt;
}

}  // namespace

Result writeExport(const QString& path, tqplatform::Recordset& rs,
                   const std::vector<Column>& columns, const QString& delimiter,
                   const QString& qualifier, bool titles, const RowChoice& rows,
                   const Progress& progress) {
    Result result;
    // The lines go to a file of their own beside the target, which takes its place only
    // when every line is written: a failure leaves no file that looks complete, and the
    // file the user had stays as it was.
    FileBeside file(path);
    if (!file.open()) {
        const bool folderMissing = !QFileInfo(path).absoluteDir().exists();
        result.errorNumber = folderMissing ? 76 : 75;
        result.errorText = folderMissing ? QStringLiteral("Path not found") : file.errorString();
        return result;
    }
    result.opened = true;
    bool failed = false;
    const QByteArray d = cp1252::encode(delimiter);
    const QByteArray q = cp1252::encode(qualifier);
    const QByteArray between = q + d + q;
    const QByteArray lineBreak = QByteArrayLiteral("\r\n");
    const QByteArray lineEnd = q + d + lineBreak;
    std::vector<ColumnPlan> plans(columns.size());
    for (size_t i = 0; i < columns.size(); ++i) {
        const bool noFormat = columns[i].numberFormat.isEmpty();
        plans[i].plainText = noFormat && isText(rs, columns[i].field);
        plans[i].plainInteger = noFormat && isInteger(rs, columns[i].field);
    }

    Sink out(file.device());
    if (titles) {
        for (const Column& c : columns) {
            out.append(q);
            out.appendText(c.caption);
            out.append(q);
            out.append(d);
        }
        out.append("\r\n", 2);
    }
    auto writeRow = [&] {
        if (progress && !progress(result.rowsWritten + 1)) {
            result.stopped = true;
            return false;
        }
        // Between two cells and after the last the same bytes go out every time.
        for (size_t i = 0; i < columns.size(); ++i) {
            out.append(i == 0 ? q : between);
            appendCell(out, rs, columns[i], plans[i]);
        }
        out.append(columns.empty() ? lineBreak : lineEnd);
        ++result.rowsWritten;
        failed = !out.lineDone();
        return !failed;
    };

    // The cursor goes back where it stood, also when a row cannot be read (the file is
    // then dropped with the exception).
    struct RestoreCursor {
        tqplatform::Recordset& rs;
        int before;
        ~RestoreCursor() {
            try {
                if (before >= 1 && before <= rs.RecordCount()) {
                    rs.setAbsolutePosition(before);
                }
            } catch (...) {
                // The failure that is on its way out says what went wrong.
            }
        }
    } restoreCursor{rs, rs.isOpen() ? rs.AbsolutePosition() : -1};
    if (rows.allRows) {
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            if (!writeRow()) {
                break;
            }
        }
    } else {
        for (tqplatform::Bookmark b : rows.bookmarks) {
            try {
                rs.setBookmark(b);
            } catch (const std::exception&) {
                continue;  // a row the recordset no longer shows
            }
            if (!writeRow()) {
                break;
            }
        }
    }
    // A cancelled export keeps the lines written so far, each whole.
    if (failed || !out.flush() || !file.commit()) {
        const QString reason = file.errorString();
        result.written = false;
        result.errorNumber = 75;
        result.errorText = reason.isEmpty() ? QStringLiteral("Path/File access error") : reason;
        return result;
    }
    result.written = true;
    return result;
}

QString openFailureMessage(const QString& fileName, int errorNumber, const QString& errorText) {
    return QStringLiteral("Problem to open file [") + fileName + QStringLiteral("].") +
           QStringLiteral("\r\n\r\n") + QString::number(errorNumber) + QStringLiteral(" - ") +
           errorText;
}

QString openFailureTitle() {
    return QStringLiteral("Open Export File");
}

int percentDone(int current, int total) {
    if (total <= 0) {
        return 0;
    }
    total = std::max(total, current);
    return std::min(100, static_cast<int>(int64_t(current) * 100 / total));
}

QString statusText(int current, int total) {
    return QStringLiteral("\nPlease Wait...\n\nExporting record %1 of %2\n\n%3 % Complete")
        .arg(current)
        .arg(std::max(total, current))
        .arg(percentDone(current, total));
}

QString progressTip(int current, int total) {
    const double fraction =
        total <= 0 ? 0.0 : std::min(1.0, double(current) / double(std::max(total, current)));
    return QStringLiteral("Export ") + tqplatform::vb::Format(fraction, QStringLiteral("Percent")) +
           QStringLiteral(" Complete");
}

}  // namespace tqservicecode::exporting
