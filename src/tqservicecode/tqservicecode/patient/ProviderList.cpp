#include <tqservicecode/patient/ProviderList.h>

#include <tqservicecode/core/ComponentContext.h>
#include <tqservicecode/forms/PathHelpers.h>

#include <tqglobal/Error.h>
#include <tqplatform/Connection.h>
#include <tqplatform/Recordset.h>

#include <QFile>

#include <cmath>

namespace tqservicecode::providers {

namespace {

const QString FirstType = QStringLiteral("1");
const QString SecondType = QStringLiteral("2");

/// A column's text; a null column reads as "".
QString textOf(const tqplatform::Recordset& rows, const QString& field) {
    const QVariant value = rows.Fields(field);
    return value.isNull() ? QString() : value.toString();
}

void appendType(tqplatform::Recordset& rows, const QString& typeField, const QString& type,
                QList<Entry>& entries) {
    if (rows.RecordCount() == 0) {
        return;
    }
    for (rows.MoveFirst(); !rows.Eof(); rows.MoveNext()) {
        if (textOf(rows, typeField).trimmed() != type) {
            continue;
        }
        entries.append(Entry{entryText(textOf(rows, QStringLiteral("pLasNam")),
                                       textOf(rows, QStringLiteral("pFirNam")),
                                       textOf(rows, QStringLiteral("pProTTL")),
                                       textOf(rows, QStringLiteral("pDocIni"))),
                             rows.Fields(QStringLiteral("pID")).toInt()});
    }
}

/// A positive whole number of twips, or nothing.
std::optional<int> twipsField(const QString& field) {
    bool ok = false;
    const double value = field.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 1.0 || value > 1.0e7) {
        return std::nullopt;
    }
    return static_cast<int>(std::lround(value));
}

}  // namespace

ListKind listKindFor(int32_t /*screenNumber*/) {
    return ListKind{QStringLiteral("pTypEmp"), QStringLiteral("Employee List"),
                    QStringLiteral("DLEMP")};
}

QString layoutKey(const ListKind& kind, const QString& userName) {
    return kind.layoutTag + userName;
}

QString listStatement(const QString& typeField) {
    return QStringLiteral("SELECT pLasNam, pFirNam, pProTTL, pDocIni, pID, ") + typeField +
           QStringLiteral(" FROM PATABLE WHERE ((") + typeField + QStringLiteral("='1') or (") +
           typeField + QStringLiteral("='2')) ORDER BY ") + typeField + QStringLiteral(";");
}

QString entryText(const QString& lastName, const QString& firstName, const QString& title,
                  const QString& initials) {
    const QString name = lastName + QStringLiteral(", ") + firstName + QLatin1Char(' ') + title;
    return name.leftJustified(EntryNameWidth, QLatin1Char(' '), true) + QLatin1Char('\t') +
           initials;
}

void appendEntries(tqplatform::Recordset& rows, const QString& typeField, QList<Entry>& entries) {
    appendType(rows, typeField, FirstType, entries);
    appendType(rows, typeField, SecondType, entries);
}

QList<Entry> loadEntries(const QString& typeField) {
    QList<Entry> entries;
    tqGlobal::IHostServices& gic = GIC();
    tqplatform::Recordset rows =
        gic.GetConnection().OpenRecordset(gic.TranslateSql(listStatement(typeField), 0));
    appendEntries(rows, typeField, entries);
    return entries;
}

QString unreadListMessage(const QString& reason) {
    return QStringLiteral("The list of people could not be read, so it is empty.\r\n\r\n") +
           reason.trimmed();
}

QString sizeFilePath(const QString& dataPath, const QString& layoutKey) {
    return dataPath + path::nativeRelative(QStringLiteral("STP\\")) + layoutKey +
           QStringLiteral(".STP");
}

std::optional<QSize> readSizeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QString line = QString::fromLatin1(file.readLine()).trimmed();
    const QStringList fields = line.split(QLatin1Char(','));
    if (fields.size() < 2) {
        return std::nullopt;
    }
    const std::optional<int> height = twipsField(fields[0]);
    const std::optional<int> width = twipsField(fields[1]);
    if (!height || !width) {
        return std::nullopt;
    }
    return QSize(*width, *height);
}

bool writeSizeFile(const QString& path, const QSize& sizeTwips) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    const QByteArray line = QByteArray::number(sizeTwips.height()) + ',' +
                            QByteArray::number(sizeTwips.width()) + ",\r\n";
    return file.write(line) == line.size();
}

QSize keptWithin(const QSize& saved, const QSize& available) {
    if (available.isEmpty()) {
        return saved;
    }
    return saved.boundedTo(available);
}

}  // namespace tqservicecode::providers
