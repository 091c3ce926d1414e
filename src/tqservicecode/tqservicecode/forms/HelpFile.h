#pragma once

#include <QString>

/// Where the component's help lives. A help "file" is a folder of HTML pages named like
/// the help file (for example "TAVIXWIN.CHM"): "index.html" is the table of contents and
/// "<context id>.html" the topic of a help context. A folder of that name in the host's
/// program folder wins; otherwise the pages built into the component are used.
namespace tqservicecode {

/// The help file of the practice: "ZID.CHM" with the alternate help, else "TAVIXWIN.CHM",
/// in the program folder.
QString helpFileFor(bool alternateHelp, const QString& programFolder);

/// The help file, set once per process on first use from the host's answers.
QString helpFile();

/// The page of a context in the help file; "" when the help has no such topic.
QString helpTopicPage(const QString& helpFilePath, int contextId);
/// The table of contents of the help file.
QString helpContentsPage(const QString& helpFilePath);

/// A help text as the please-wait window renders it: "//" and line breaks become "<br>".
QString busyMessageHtml(const QString& text);

}  // namespace tqservicecode
