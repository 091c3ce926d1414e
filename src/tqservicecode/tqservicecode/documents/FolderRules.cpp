#include <tqservicecode/documents/FolderRules.h>

#include <QDateTime>
#include <QDir>
#include <QStringList>

namespace tqservicecode::documents {

namespace {

const QString kSystemFolders = QStringLiteral(
    ",2BPRINT,2BDONE,CDSTPL,DLYLOG,ATTACH,POLICY,QRPTPL,REPORT,SYSTEM,ICONS,TEMP,SORT,BMP,ICO,"
    "STP,TMD,TQN,WAV,DT,DICT,EXTRAS,TQPOSCOM,");
const QString kWordProcessorFolders = QStringLiteral(",AR,LABELS,TEMPLATE,MODIFIED,");
// The shorter lists: the empty entries make files directly in the data folder match.
const QString kDataFolders = QStringLiteral(
    ",,CDSTPL,DLYLOG,ATTACH,,QRPTPL,REPORT,SYSTEM,ICONS,TEMP,SORT,BMP,ICO,STP,TMD,TQN,WAV,");
const QString kProtectedWordProcessorFolders = QStringLiteral(",AR,LABELS,TEMPLATE,");

QString normalised(const QString& path) {
    QString p = QDir::cleanPath(QDir::fromNativeSeparators(path));
    if (p.endsWith(u'/') && p.size() > 1) {
        p.chop(1);
    }
    return p;
}

bool listed(const QString& list, const QString& name) {
    return list.contains(u',' + name.toUpper() + u',');
}

/// The first and second folder names below the data folder; false outside it.
bool levels(const QString& dataPath, const QString& folder, QString& first, QString& second) {
    const QString relative = relativeFolder(dataPath, folder);
    if (relative.isNull()) {
        return false;
    }
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    first = parts.value(0);
    second = parts.value(1);
    return true;
}

}  // namespace

QString relativeFolder(const QString& dataPath, const QString& folder) {
    const QString root = normalised(dataPath);
    const QString path = normalised(folder);
    if (path.compare(root, Qt::CaseInsensitive) == 0) {
        return QStringLiteral("");
    }
    if (!path.startsWith(root + u'/', Qt::CaseInsensitive)) {
        return {};
    }
    return path.mid(root.size() + 1);
}

bool isExcludedFolder(const QString& dataPath, const QString& folder) {
    QString first, second;
    if (!levels(dataPath, folder, first, second) || first.isEmpty()) {
        return false;
    }
    if (listed(kSystemFolders, first)) {
        return true;
    }
    return first.toUpper() == u"WP" && !second.isEmpty() && listed(kWordProcessorFolders, second);
}

bool isProtectedFolder(const QString& dataPath, const QString& folder) {
    QString first, second;
    if (!levels(dataPath, folder, first, second)) {
        return false;
    }
    if (listed(kDataFolders, first)) {
        return true;
    }
    return first.toUpper() == u"WP" && !second.isEmpty() &&
           listed(kProtectedWordProcessorFolders, second);
}

bool isAutoRoutineFolder(const QString& dataPath, const QString& folder) {
    QString first, second;
    return levels(dataPath, folder, first, second) && first.toUpper() == u"WP" &&
           second.toUpper() == u"AR";
}

bool Check_File_Name(const QString& name) {
    static const QString forbidden = QStringLiteral("\\/:*?'<>|\"");
    for (const QChar c : name) {
        if (forbidden.contains(c)) {
            return false;
        }
    }
    return true;
}

QString badFileNameMessage() {
    return QStringLiteral("A filename cannot contain any of the following characters:") +
           QStringLiteral("\r\n\t") + QStringLiteral("\\ / : * ? ' < > | ") + u'"';
}

QString detailLine(const QString& fileName, const QString& title, const QDateTime& modified) {
    return QStringLiteral("File: ") + fileName + QStringLiteral("  -  Title: ") + title +
           QStringLiteral("  -  Modified: ") + modified.toString(QStringLiteral("MM/dd/yyyy h:m"));
}

}  // namespace tqservicecode::documents
