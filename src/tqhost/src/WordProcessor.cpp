#include "WordProcessor.h"

#include "RtfReader.h"

#include <tqglobal/Error.h>

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>

namespace tqhost::Internal {

namespace {

/// The title of a file too large to show sits in its header: this much is read for it.
constexpr qint64 kHeaderBytes = 64 * 1024;

[[noreturn]] void unknownName(const QString& name) {
    throw tqGlobal::Error(
        438, QStringLiteral("Object doesn't support this property or method: ") + name);
}

/// The text of a plain file, its line ends (CR LF, CR or LF) as LF: a document takes a
/// CR for a paragraph of its own.
QString plainText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError()) {
        text = QString::fromLatin1(bytes);
    }
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

bool isRtf(const QByteArray& bytes) {
    return bytes.trimmed().startsWith("{\\rtf");
}

/// The text a preview ends with when the letter goes on beyond what it shows.
const QString kMore = QStringLiteral("[...]");

/// How much of a plain text a preview shows: up to the limits' characters and lines.
qsizetype previewLength(const QString& text, const RtfLimits& limits) {
    const qsizetype length = qMin(text.size(), limits.characters);
    qsizetype lines = 1;
    for (qsizetype i = 0; i < length; ++i) {
        if (text.at(i) == u'\n' && ++lines > limits.paragraphs) {
            return i;
        }
    }
    return length;
}

/// font ("Name", "Size") over the whole of document, in one edit block.
void applyFont(QTextDocument& document, const QVariantMap& font) {
    QTextCharFormat format;
    if (font.contains(QStringLiteral("Name"))) {
        format.setFontFamilies({font.value(QStringLiteral("Name")).toString()});
    }
    if (font.value(QStringLiteral("Size")).toDouble() > 0) {
        format.setFontPointSize(font.value(QStringLiteral("Size")).toDouble());
    }
    if (format.properties().isEmpty()) {
        return;
    }
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(format);
    cursor.endEditBlock();
}

}  // namespace

WordProcessor::WordProcessor(qint64 displayLimit) : m_displayLimit(displayLimit) {}

RtfLimits WordProcessor::previewLimits() {
    // About ten printed pages: built and laid out in well under a tenth of a second, also
    // as one paragraph or with a format change every few words.
    return {30'000, 2'000, 1'000};
}

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
        if (m_allSelected) {
            m_font = value.toMap();
        }
    } else {
        unknownName(name);
    }
}

void WordProcessor::initNewDoc() {
    m_path.clear();
    m_rtf.clear();
    m_plain.clear();
    m_font.clear();
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
            m_plain = plainText(bytes);
        }
        return true;
    }
    m_title = readRtfInfo(bytes).title;
    if (!m_tooLarge) {
        m_rtf = bytes;
    }
    return true;
}

bool WordProcessor::copyData(QObject* target) const {
    auto* document = qobject_cast<QTextDocument*>(target);
    if (document == nullptr || m_tooLarge) {
        return false;
    }
    document->clear();
    if (!m_allSelected) {
        return true;
    }
    const RtfLimits limits = previewLimits();
    bool truncated = false;
    if (!m_rtf.isEmpty()) {
        readRtf(m_rtf, *document, nullptr, limits, &truncated);
    } else {
        const qsizetype shown = previewLength(m_plain, limits);
        truncated = shown < m_plain.size();
        document->setPlainText(m_plain.left(shown));
    }
    if (truncated) {
        QTextCursor end(document);
        end.movePosition(QTextCursor::End);
        end.insertBlock();
        end.insertText(kMore);
    }
    applyFont(*document, m_font);
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

}  // namespace tqhost::Internal
