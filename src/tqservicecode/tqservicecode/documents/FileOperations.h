#pragma once

#include <QString>

#include <functional>

/// File and folder operations of the document file picker. None of them loses a file:
/// a step that fails leaves the files as they were before the operation, and every path
/// is checked to lie below the data folder (symbolic links followed) before it is used.
namespace tqservicecode::documents {

/// The outcome of an operation: the error number and text of the step that failed.
struct FileResult {
    bool ok = true;
    long code = 0;
    QString text;
    static FileResult failure(long code, const QString& text) { return {false, code, text}; }
};

/// folder/name when name is a plain name (no separator, not "." or "..", not empty) and
/// the result, with symbolic links resolved, lies below the data folder; else "".
QString pathInside(const QString& dataPath, const QString& folder, const QString& name);
/// True when folder exists and, with symbolic links resolved, is the data folder or lies
/// below it.
bool folderInside(const QString& dataPath, const QString& folder);

/// True when the picker offers folder: it lies below the data folder and neither its own
/// path nor the path its symbolic links lead to is an excluded system folder (a link
/// named "Letters" that leads to TEMP is TEMP).
bool folderOffered(const QString& dataPath, const QString& folder);
/// True when the picker lists the file at path: a symbolic link must lead to a file in a
/// folder the picker offers.
bool fileOffered(const QString& dataPath, const QString& path);

/// Renames a file within its folder; refuses a target that exists.
FileResult renameEntry(const QString& from, const QString& to);

/// ", read only file", ", hidden file" for the target attributes that forbid
/// overwriting it ("" when none applies). Read-only means no write permission for its
/// owner, whoever runs the program.
QString protectedAttributes(const QString& path);

/// Moves source to target: the file is copied beside the target under a temporary name
/// of its own (created new, so no file of the user's is ever taken for it), put in place
/// in one step (replacing the target when overwrite is set), and only then
/// is the source removed; when the source cannot be removed the new copy is taken back.
FileResult moveFile(const QString& source, const QString& target, bool overwrite);

/// Creates the folder path (its parent must exist).
FileResult createFolder(const QString& path);
/// True when a file lies anywhere below folder.
bool folderHoldsFiles(const QString& folder);
/// Removes a folder that holds no file (empty subfolders go with it).
FileResult removeFolder(const QString& folder);

/// Lets tests make a step fail as a full disk or a locked file would: the hook is asked
/// with the step's name ("copy", "replace", "remove source") and answers true to fail it.
void setFaultHook(std::function<bool(const QString& step)> hook);

}  // namespace tqservicecode::documents
