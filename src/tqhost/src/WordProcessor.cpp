#include "WordProcessor.h"

#include "RtfReader.h"

#include <tqglobal/Error.h>

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace tqhost::Internal {

namespace {

/// The title of a file too large to show sits in its header: this much is read for it.
constexpr qint64 kHeaderBytes = 64 * 1024;

[[noreturn]] void unknownName(const QString& name) {
    throw tqGlobal::Error(
        438, QStringLiteral("Object doesn't support this property or method: ") + name);
}

QString plainText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

bool isRtf(const QByteArray& bytes) {
    return bytes.trimmed().startsWith("{\\rtf");
}

}  // namespace

WordProcessor::WordProcessor(qint64 displayLimit) : m_displayLimit(displayLimit) {}

QVariant WordProcessor::Call(const QString& method, const QVariantList& arguments) {
    if (method == u"InitNewDoc" || method == u"Clear") {
        initNewDoc();
        return {};
    }
    if (method == u"LoadDoc") {
        return loadDoc(arguments.value(0).toString());
    }
    if (method == u"SelectAll") {
        m_allSelected = true;
        return {};
    }
    if (method == u"CopyData") {
        return copyData(arguments.value(0).value<QObject*>());
    }
    if (method == u"SaveDoc") {
        return saveDoc();
    }
    unknownName(method);
}

QVariant WordProcessor::Property(const QString& name) const {
    if (name == u"TITLE") {
        return m_title;
    }
    if (name == u"ReadOnly") {
        return m_readOnly;
    }
    unknownName(name);
}

void WordProcessor::SetProperty(const QString& name, const QVariant& value) {
    if (name == u"TITLE") {
        m_title = value.toString();
    } else if (name == u"ReadOnly") {
        m_readOnly = value.toBool();
    } else if (name == u"Font") {
        applyFont(value.toMap());
    } else {
        unknownName(name);
    }
}

void WordProcessor::initNewDoc() {
    m_document.clear();
    m_path.clear();
    m_rtf.clear();
    m_title.clear();
    m_readOnly = false;
    m_allSelected = false;
    m_tooLarge = false;
}

bool WordProcessor::loadDoc(const QString& path) {
    initNewDoc();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    m_path = path;
    m_tooLarge = file.size() > m_displayLimit;
    const QByteArray bytes = m_tooLarge ? file.read(kHeaderBytes) : file.readAll();
    if (!isRtf(bytes)) {
        if (!m_tooLarge) {
            m_document.setPlainText(plainText(bytes));
        }
        return true;
    }
    RtfInfo info;
    if (m_tooLarge) {
        info = readRtfInfo(bytes);
    } else {
        readRtf(bytes, m_document, &info);
        m_rtf = bytes;
    }
    m_title = info.title;
    return true;
}

bool WordProcessor::copyData(QObject* target) const {
    auto* document = qobject_cast<QTextDocument*>(target);
    if (document == nullptr || m_tooLarge) {
        return false;
    }
    document->clear();
    if (m_allSelected) {
        QTextCursor(document).insertFragment(QTextDocumentFragment(&m_document));
    }
    return true;
}

bool WordProcessor::saveDoc() {
    if (m_readOnly || m_rtf.isEmpty() || m_path.isEmpty()) {
        return false;
    }
    // Written beside the letter and put in its place only when every byte reached the
    // disk: the flush is checked here, as a full disk refuses the buffered bytes only then
    // and the commit alone would put an empty file in the letter's place.
    QSaveFile file(m_path);
    const QByteArray changed = rtfWithTitle(m_rtf, m_title);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(changed) != changed.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        return false;
    }
    m_rtf = changed;
    return true;
}

void WordProcessor::applyFont(const QVariantMap& font) {
    if (!m_allSelected) {
        return;
    }
    QTextCharFormat format;
    if (font.contains(QStringLiteral("Name"))) {
        format.setFontFamilies({font.value(QStringLiteral("Name")).toString()});
    }
    if (font.value(QStringLiteral("Size")).toDouble() > 0) {
        format.setFontPointSize(font.value(QStringLiteral("Size")).toDouble());
    }
    QTextCursor cursor(&m_document);
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
}

}  // namespace tqhost::Internal
