#include "GridLayoutFile.h"

#include <tqservicecode/forms/PathHelpers.h>
#include <tqservicecode/grid/CodePage1252.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace tqservicecode::gridlayout {

namespace {

const QString RowHeightTag = QStringLiteral("ROWHEIGHT=");

/// The order right-aligned to five characters: blanks in front, cut to the last five, so
/// that text order is number order up to 99999.
QString sortText(const QString& order) {
    const QString padded = QString(5, QChar(u' ')) + order;
    return padded.right(5);
}

QStringList tableRow(const QStringList& fields, int position) {
    QStringList row(CellCount);
    if (fields.size() == 4) {
        row[SortText] = sortText(fields[1]);
        row[Width] = fields[2];
        row[Key] = fields[0];
        row[Split] = fields[3].trimmed().isEmpty() ? QStringLiteral("0") : fields[3];
    } else {
        // An older line: order, key, width; or a key holding a comma.
        row[SortText] = sortText(fields.value(0));
        row[Width] = fields.value(2);
        row[Key] = fields.value(1);
        row[Split] = QStringLiteral("0");
    }
    row[LinePosition] = QString::number(position);
    return row;
}

}  // namespace

QString numberFormatForType(int dataType) {
    switch (dataType) {
        case 2:
        case 3:
        case 4:
        case 5:
        case 14:
        case 16:
        case 20:
            return QStringLiteral("General Number");
        case 6:
            return QStringLiteral("Currency");
        case 7:
        case 133:
        case 134:
        case 135:
            return QStringLiteral("Short Date");
        case 129:
        case 130:
        case 202:
            return {};
        case ColumnType::DateTime:
            return QStringLiteral("mm/dd/yy hh:nn ampm");
        case ColumnType::LongTime:
            return QStringLiteral("Long Time");
        case ColumnType::MediumTime:
            return QStringLiteral("Medium Time");
        case ColumnType::ShortTime:
            return QStringLiteral("Short Time");
        default:
            return QStringLiteral("Edit Mask");
    }
}

QString layoutPath(const QString& dataPath, const QString& layoutName) {
    return path::nativeRelative(path::addBackslash(dataPath) + QStringLiteral("STP\\TG")) +
           layoutName + QStringLiteral(".STP");
}

QString widthText(double width) {
    return QString::number(width, 'g', 7);
}

std::optional<ReadLayout> readLayout(const QString& path, int rows, bool rowHeightLine) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    QStringList lines = cp1252::decode(file.readAll()).split(QStringLiteral("\n"));
    if (!lines.isEmpty() && lines.back().isEmpty()) {
        lines.removeLast();  // the end of the last line, not a line of its own
    }
    ReadLayout out;
    out.table.reserve(rows);
    for (int i = 0; i < rows; ++i) {
        QStringList row(CellCount);
        row[LinePosition] = QStringLiteral("-1");
        out.table.push_back(row);
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) {
            line.chop(1);
        }
        if (line.startsWith(RowHeightTag)) {
            bool ok = false;
            const double height = line.mid(RowHeightTag.size()).trimmed().toDouble(&ok);
            if (i == 0 && rowHeightLine && ok) {
                out.rowHeight = height;
            }
            continue;
        }
        const int position = out.linesRead++;
        if (position < rows) {
            out.table[position] = tableRow(line.split(u','), position);
        }
    }
    return out;
}

bool writeLayout(const QString& path, const QStringList& lines, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error != nullptr) {
            *error = reason;
        }
        return false;
    };
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        return fail(
            QStringLiteral("The folder %1 cannot be made").arg(QDir::toNativeSeparators(folder)));
    }
    QByteArray bytes;
    for (const QString& line : lines) {
        cp1252::appendEncoded(bytes, line);
        bytes += "\r\n";
    }
    // Written beside the file and put in its place whole: a failure leaves the last
    // layout as it was, never a part of the new one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    // The flush reports a full disk that the commit of what the device buffered does not.
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    return true;
}

}  // namespace tqservicecode::gridlayout
