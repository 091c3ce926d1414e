#include <tqservicecode/documents/FileOperations.h>

#include <tqservicecode/documents/FolderRules.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace tqservicecode::documents {

namespace fs = std::filesystem;

namespace {

std::function<bool(const QString&)>& faultHook() {
    static std::function<bool(const QString&)> hook;
    return hook;
}

/// An injected failure looks like the disk refusing the step.
bool injected(const QString& step, std::error_code& error) {
    if (faultHook() && faultHook()(step)) {
        error = std::make_error_code(std::errc::io_error);
        return true;
    }
    return false;
}

fs::path native(const QString& path) {
    return fs::path(QFile::encodeName(QDir::toNativeSeparators(path)).toStdString());
}

FileResult failed(const std::error_code& error) {
    return FileResult::failure(error.value(), QString::fromLocal8Bit(error.message()));
}

/// The path with every symbolic link resolved, also for a file that does not exist yet
/// (its folder is resolved instead).
QString resolved(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? QString() : canonical;  // a dangling link leads nowhere
    }
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? QString() : folder + u'/' + info.fileName();
}

bool below(const QString& root, const QString& path) {
    return !root.isEmpty() && !path.isEmpty() && (path == root || path.startsWith(root + u'/'));
}

}  // namespace

void setFaultHook(std::function<bool(const QString& step)> hook) {
    faultHook() = std::move(hook);
}

bool folderInside(const QString& dataPath, const QString& folder) {
    const QString root = QFileInfo(dataPath).canonicalFilePath();
    const QFileInfo info(folder);
    return info.isDir() && below(root, info.canonicalFilePath());
}

bool folderOffered(const QString& dataPath, const QString& folder) {
    return folderInside(dataPath, folder) && !isExcludedFolder(dataPath, folder) &&
           !isExcludedFolder(QFileInfo(dataPath).canonicalFilePath(),
                             QFileInfo(folder).canonicalFilePath());
}

bool fileOffered(const QString& dataPath, const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink()) {
        return true;
    }
    const QString target = info.canonicalFilePath();
    return !target.isEmpty() && folderOffered(dataPath, QFileInfo(target).absolutePath());
}

QString pathInside(const QString& dataPath, const QString& folder, const QString& name) {
    if (name.isEmpty() || name == u"." || name == u".." || name.contains(u'/') ||
        name.contains(u'\\') || QDir::isAbsolutePath(name) || name.contains(QChar(0))) {
        return {};
    }
    if (!folderInside(dataPath, folder)) {
        return {};
    }
    const QString path = QDir(folder).filePath(name);
    const QString root = QFileInfo(dataPath).canonicalFilePath();
    return below(root, resolved(path)) ? path : QString();
}

FileResult renameEntry(const QString& from, const QString& to) {
    std::error_code error;
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink()) {
        return FileResult::failure(58, QStringLiteral("File already exists"));
    }
    if (!injected(QStringLiteral("rename"), error)) {
        fs::rename(native(from), native(to), error);
    }
    return error ? failed(error) : FileResult{};
}

QString protectedAttributes(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return {};
    }
    QString attributes;
    if (!(info.permissions() & QFileDevice::WriteOwner)) {
        attributes += QStringLiteral(", read only file");
    }
    if (info.isHidden()) {
        attributes += QStringLiteral(", hidden file");
    }
    return attributes;
}

FileResult moveFile(const QString& source, const QString& target, bool overwrite) {
    std::error_code error;
    const bool targetExisted = QFileInfo::exists(target);
    if (targetExisted && !overwrite) {
        return FileResult::failure(58, QStringLiteral("File already exists"));
    }
    if (targetExisted &&
        QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath()) {
        return FileResult::failure(EINVAL, QStringLiteral("Source and target are the same file"));
    }
    // A new file of our own beside the target: created exclusively, so a user's file
    // that happens to look like a temporary name is never written over.
    const QFileInfo targetInfo(target);
    QTemporaryFile partialFile(targetInfo.absolutePath() + QStringLiteral("/.~") +
                               targetInfo.fileName() + QStringLiteral(".XXXXXX"));
    if (!injected(QStringLiteral("copy"), error)) {
        if (!partialFile.open()) {
            const int reason = errno;  // the system's reason, as the other steps report it
            return FileResult::failure(reason != 0 ? reason : EIO, partialFile.errorString());
        }
        partialFile.close();
    }
    const fs::path partialPath = native(partialFile.fileName());
    if (!error) {
        fs::copy_file(native(source), partialPath, fs::copy_options::overwrite_existing, error);
    }
    if (error) {
        return failed(error);  // the temporary file goes with partialFile
    }
    if (!injected(QStringLiteral("replace"), error)) {
        fs::rename(partialPath, native(target), error);  // replaces the target in one step
    }
    if (error) {
        return failed(error);
    }
    partialFile.setAutoRemove(false);  // its name is the target's now
    if (!injected(QStringLiteral("remove source"), error)) {
        fs::remove(native(source), error);
    }
    if (error) {
        // The source stays; a new copy is taken back so the file is not in two places
        // (a replaced target holds the same content as the source, so nothing is lost).
        if (!targetExisted) {
            std::error_code ignored;
            fs::remove(native(target), ignored);
        }
        return failed(error);
    }
    return {};
}

FileResult createFolder(const QString& path) {
    std::error_code error;
    if (!injected(QStringLiteral("create folder"), error) &&
        !fs::create_directory(native(path), error) && !error) {
        return FileResult::failure(EEXIST, QStringLiteral("File already exists"));
    }
    return error ? failed(error) : FileResult{};
}

bool folderHoldsFiles(const QString& folder) {
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    return it.hasNext();
}

FileResult removeFolder(const QString& folder) {
    if (folderHoldsFiles(folder)) {
        return FileResult::failure(ENOTEMPTY, QStringLiteral("Directory not empty"));
    }
    std::error_code error;
    if (!injected(QStringLiteral("remove folder"), error)) {
        fs::remove_all(native(folder), error);
    }
    return error ? failed(error) : FileResult{};
}

}  // namespace tqservicecode::documents
