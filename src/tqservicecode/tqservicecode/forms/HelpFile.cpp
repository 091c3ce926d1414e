#include <tqservicecode/forms/HelpFile.h>

#include <tqservicecode/core/ComponentContext.h>

#include <QDir>
#include <QFileInfo>

namespace tqservicecode {

namespace {

/// The folder that holds the pages of a help file: on disk when present, else built in.
QString pagesFolder(const QString& helpFilePath) {
    if (QFileInfo(helpFilePath).isDir()) {
        return helpFilePath;
    }
    return QStringLiteral(":/tqservicecode/help/") + QFileInfo(helpFilePath).fileName();
}

QString existing(const QString& path) {
    return QFileInfo::exists(path) ? path : QString();
}

}  // namespace

QString helpFileFor(bool alternateHelp, const QString& programFolder) {
    return programFolder +
           (alternateHelp ? QStringLiteral("ZID.CHM") : QStringLiteral("TAVIXWIN.CHM"));
}

QString helpFile() {
    static QString file;
    if (file.isEmpty()) {
        tqGlobal::IHostServices& gic = GIC();
        file = helpFileFor(gic.UsesAlternateHelp(), gic.GetProgramFolder());
    }
    return file;
}

QString helpTopicPage(const QString& helpFilePath, int contextId) {
    if (contextId <= 0) {
        return {};
    }
    return existing(pagesFolder(helpFilePath) + QLatin1Char('/') + QString::number(contextId) +
                    QStringLiteral(".html"));
}

QString helpContentsPage(const QString& helpFilePath) {
    return existing(pagesFolder(helpFilePath) + QStringLiteral("/index.html"));
}

QString busyMessageHtml(const QString& text) {
    QString html = text;
    html.replace(QStringLiteral("//"), QStringLiteral("\r\n"));
    html.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    return html;
}

}  // namespace tqservicecode
