#pragma once

#include <QString>

/// Path helpers with the shell's answers. Paths use the platform's separator; a
/// backslash is accepted as a separator too.
namespace tqservicecode::path {

/// The file name part ("C:/a/b.txt" -> "b.txt"; a path ending in a separator -> "").
QString fileName(const QString& path);
/// The extension with its dot ("b.txt" -> ".txt"; none -> "").
QString extension(const QString& path);
/// Whether the file or folder exists; false for an empty path.
bool exists(const QString& path);
/// The path with one trailing separator.
QString addBackslash(const QString& path);
/// The path without its trailing separator (a root keeps it).
QString removeBackslash(const QString& path);
/// The path and part joined by one separator; the path unchanged when either is empty.
QString append(const QString& path, const QString& part);
/// A relative path written with backslashes ("STP\\TG") in the platform's form.
QString nativeRelative(const QString& backslashPath);

}  // namespace tqservicecode::path
