#include "ExportWriter.h"

#include <tqservicecode/grid/CodePage1252.h>
#include <tqservicecode/grid/RecordModel.h>

#include <tqplatform/Vb.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tqservicecode::exporting {

namespace {

/// Lines gather in memory and go to the file in large writes, always whole.
constexpr qsizetype FlushBytes = 1 << 20;

/// A column's cell as its bytes: a text field without a format is copied from the row as
/// the database gave it; anything else is formatted as the grid shows it.
void appendCell(QByteArray& out, const tqplatform::Recordset& rs, const Column& column,
                bool plainText) {
    if (column.field < 0) {
        return;
    }
    if (plainText) {
        if (const auto utf8 = rs.FieldUtf8(column.field)) {
            cp1252::appendFromUtf8(out, *utf8);
            return;
        }
    }
    cp1252::appendEncoded(
        out, gridCellText(rs.Fields(column.field), column.numberFormat, column.editMask));
}

bool isText(const tqplatform::Recordset& rs, int field) {
    if (field < 0) {
        return false;
    }
    const int type = rs.FieldInfo(field).type;
    return type == tqplatform::FieldType::VarWChar || type == tqplatform::FieldType::LongVarWChar;
}

}  // namespace

Result writeExport(const QString& path, tqplatform::Recordset& rs,
                   const std::vector<Column>& columns, const QString& delimiter,
                   const QString& qualifier, bool titles, const RowChoice& rows,
                   const Progress& progress) {
    Result result;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        const bool folderMissing = !QFileInfo(path).absoluteDir().exists();
        result.errorNumber = folderMissing ? 76 : 75;
        result.errorText = folderMissing ? QStringLiteral("Path not found") : file.errorString();
        return result;
    }
    result.opened = true;
    const QByteArray d = cp1252::encode(delimiter);
    const QByteArray q = cp1252::encode(qualifier);
    std::vector<bool> plain;
    for (const Column& c : columns) {
        plain.push_back(c.numberFormat.isEmpty() && isText(rs, c.field));
    }

    QByteArray buffer;
    buffer.reserve(FlushBytes + 4096);
    auto flush = [&] {
        file.write(buffer);
        buffer.clear();
    };
    if (titles) {
        for (const Column& c : columns) {
            buffer += q;
            cp1252::appendEncoded(buffer, c.caption);
            buffer += q;
            buffer += d;
        }
        buffer += "\r\n";
    }
    auto writeRow = [&] {
        if (progress && !progress(result.rowsWritten + 1)) {
            result.stopped = true;
            return false;
        }
        for (size_t i = 0; i < columns.size(); ++i) {
            buffer += q;
            appendCell(buffer, rs, columns[i], plain[i]);
            buffer += q;
            buffer += d;
        }
        buffer += "\r\n";
        ++result.rowsWritten;
        if (buffer.size() >= FlushBytes) {
            flush();
        }
        return true;
    };

    const int before = rs.isOpen() ? rs.AbsolutePosition() : -1;
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
    flush();
    file.close();
    if (before >= 1 && before <= rs.RecordCount()) {
        rs.setAbsolutePosition(before);
    }
    return result;
}

QString openFailureMessage(const QString& fileName, int errorNumber, const QString& errorText) {
    return QStringLiteral("Problem to open file [") + fileName + QStringLiteral("].") +
           QStringLiteral("\n\n") + QString::number(errorNumber) + QStringLiteral(" - ") +
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
