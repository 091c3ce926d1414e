#pragma once

#include <QDateTime>
#include <QString>

/// The rules of the document file picker that need no window: which folders below the
/// data folder it offers, which names a file may take, and its messages.
namespace tqservicecode::documents {

/// The folder holding the host's system data that is never offered: its first-level
/// name under the data folder is a system folder, or it lies in WP and its second-level
/// name is one of the word processor's own folders. Folders outside the data folder
/// are not excluded by this rule. Paths may use either separator.
bool isExcludedFolder(const QString& dataPath, const QString& folder);

/// The shorter list: the data folder itself, the system folders that hold data files,
/// and the word processor's own folders. Files listed there can be chosen but are not
/// renamed or deleted from the picker.
bool isProtectedFolder(const QString& dataPath, const QString& folder);

/// The automatic routine folder WP\AR (and below): files are not moved in or out.
bool isAutoRoutineFolder(const QString& dataPath, const QString& folder);

/// True when name holds none of \ / : * ? ' < > | and the double quote.
bool Check_File_Name(const QString& name);
/// The message shown for a name that fails Check_File_Name.
QString badFileNameMessage();

/// "NewFld" followed by the first number from 1 for which exists() is false; "" when
/// every number up to 32000 is taken.
template <class Exists>
QString newFolderName(Exists exists) {
    for (int n = 1; n <= 32000; ++n) {
        const QString name = QStringLiteral("NewFld") + QString::number(n);
        if (!exists(name)) {
            return name;
        }
    }
    return {};
}

/// "File: ... - Title: ... - Modified: MM/DD/YYYY h:m" for the current file.
QString detailLine(const QString& fileName, const QString& title, const QDateTime& modified);

/// The path of folder relative to the data folder, with "/" separators ("" for the data
/// folder itself); a null string when folder is not below the data folder.
QString relativeFolder(const QString& dataPath, const QString& folder);

}  // namespace tqservicecode::documents
