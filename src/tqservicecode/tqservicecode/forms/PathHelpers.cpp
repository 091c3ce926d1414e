#include <tqservicecode/forms/PathHelpers.h>

#include <QDir>
#include <QFileInfo>

namespace tqservicecode::path {

namespace {

bool isSeparator(QChar c) {
    return c == QLatin1Char('/') || c == QLatin1Char('\\');
}

int lastSeparator(const QString& path) {
    for (int i = path.size() - 1; i >= 0; --i) {
        if (isSeparator(path.at(i))) {
            return i;
        }
    }
    return -1;
}

}  // namespace

QString fileName(const QString& path) {
    return path.mid(lastSeparator(path) + 1);
}

QString extension(const QString& path) {
    const QString name = fileName(path);
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

bool exists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

QString addBackslash(const QString& path) {
    if (!path.isEmpty() && isSeparator(path.back())) {
        return path;
    }
    return path + QDir::separator();
}

QString removeBackslash(const QString& path) {
    QString result = path;
    while (result.size() > 1 && isSeparator(result.back())) {
        result.chop(1);
    }
    return result;
}

QString append(const QString& path, const QString& part) {
    if (path.isEmpty() || part.isEmpty()) {
        return path;
    }
    QString tail = part;
    while (!tail.isEmpty() && isSeparator(tail.front())) {
        tail.remove(0, 1);
    }
    return addBackslash(path) + tail;
}

QString nativeRelative(const QString& backslashPath) {
    QString result = backslashPath;
    result.replace(QLatin1Char('\\'), QDir::separator());
    return result;
}

}  // namespace tqservicecode::path
