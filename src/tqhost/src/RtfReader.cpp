#include "RtfReader.h"

#include <QSet>
#include <QStringDecoder>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <array>
#include <optional>
#include <vector>

namespace tqhost::Internal {

namespace {

/// Where the characters of a group go.
enum class Dest { Text, Skip, Info, Title, Generator };

struct GroupState {
    Dest dest = Dest::Text;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    int halfPoints = 24;
    int unicodeSkip = 1;

    bool sameLook(const GroupState& other) const {
        return bold == other.bold && italic == other.italic && underline == other.underline &&
               halfPoints == other.halfPoints;
    }
};

/// What the parser is asked for: the whole document, or the header's title only.
enum class Scan { Document, Header };

/// Destinations whose text is not part of the document. Readers meet these in files
/// that WordPad, LibreOffice and Word write; anything marked {\*\...} is skipped too.
const QSet<QByteArray>& skippedDestinations() {
    static const QSet<QByteArray> words = {"fonttbl",
                                           "colortbl",
                                           "stylesheet",
                                           "pict",
                                           "object",
                                           "header",
                                           "headerl",
                                           "headerr",
                                           "headerf",
                                           "footer",
                                           "footerl",
                                           "footerr",
                                           "footerf",
                                           "footnote",
                                           "fldinst",
                                           "listtable",
                                           "listoverridetable",
                                           "rsidtbl",
                                           "xmlnstbl",
                                           "themedata",
                                           "colorschememapping",
                                           "latentstyles",
                                           "datastore",
                                           "pgdsctbl",
                                           "revtbl",
                                           "filetbl",
                                           "pn",
                                           "bkmkstart",
                                           "bkmkend",
                                           "annotation",
                                           "atnid",
                                           "atnauthor",
                                           "shppict",
                                           "nonshppict",
                                           "private",
                                           "operator",
                                           "author",
                                           "company",
                                           "comment",
                                           "doccomm",
                                           "subject",
                                           "keywords",
                                           "category",
                                           "manager",
                                           "creatim",
                                           "revtim",
                                           "printim",
                                           "buptim"};
    return words;
}

/// Words that only the document's body holds: the header (with the title) lies before them.
bool startsBody(const QByteArray& word) {
    static const QSet<QByteArray> words = {"pard", "sectd",   "plain",      "pict",
                                           "shp",  "shppict", "nonshppict", "object"};
    return words.contains(word);
}

/// Windows-1252's characters 0x80 to 0x9F (the rest of its upper half is Latin-1).
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

struct ControlWord {
    QByteArray word;
    std::optional<int> parameter;
    qsizetype end = 0;  // the position after the word and its delimiting blank
};

/// The control word starting at pos (just after the backslash).
ControlWord readControlWord(const QByteArray& rtf, qsizetype pos) {
    ControlWord result;
    qsizetype i = pos;
    while (i < rtf.size() && isLetter(rtf.at(i))) {
        ++i;
    }
    result.word = rtf.mid(pos, i - pos);
    qsizetype digits = i;
    if (digits < rtf.size() && rtf.at(digits) == '-') {
        ++digits;
    }
    qsizetype j = digits;
    while (j < rtf.size() && rtf.at(j) >= '0' && rtf.at(j) <= '9' && j - digits < 10) {
        ++j;
    }
    if (j > digits) {
        result.parameter = rtf.mid(i, j - i).toInt();
        i = j;
    }
    if (i < rtf.size() && rtf.at(i) == ' ') {
        ++i;
    }
    result.end = i;
    return result;
}

/// Builds the document while the parser walks the bytes.
class RtfParser {
public:
    RtfParser(const QByteArray& rtf, QTextDocument* document, Scan scan, const RtfLimits& limits)
        : m_rtf(rtf), m_document(document), m_scan(scan), m_limits(limits) {
        if (m_document != nullptr) {
            m_document->clear();
            m_cursor = QTextCursor(m_document);
            // One edit block: the document lays itself out once, not after every insert
            // (which made a paragraph's time grow with the square of its format changes).
            m_cursor.beginEditBlock();
        }
    }

    ~RtfParser() {
        if (m_document != nullptr) {
            m_cursor.endEditBlock();
        }
    }

    /// True when a limit ended the reading before the end of the letter.
    bool truncated() const { return m_truncated; }

    bool run(RtfInfo& info) {
        if (!m_rtf.trimmed().startsWith("{\\rtf")) {
            return false;
        }
        m_stack.reserve(32);
        qsizetype i = 0;
        while (i < m_rtf.size() && !m_stopped) {
            const char c = m_rtf.at(i);
            if (c == '{') {
                flush();
                m_stack.push_back(m_state);
                m_groupStart = true;
                ++i;
                continue;
            }
            if (c == '}') {
                flush();
                if (m_stack.empty()) {
                    break;  // the end of the document group; what follows is not RTF
                }
                m_state = m_stack.back();
                m_stack.pop_back();
                m_skipChars = 0;
                m_groupStart = false;
                ++i;
                continue;
            }
            if (c == '\\') {
                i = control(i + 1);
                continue;
            }
            m_groupStart = false;
            if (c != '\r' && c != '\n') {
                byteChar(static_cast<unsigned char>(c));
            }
            ++i;
        }
        flush();
        info.title = m_title.trimmed();
        info.generator = m_generator.trimmed();
        if (info.generator.endsWith(u';')) {
            info.generator.chop(1);
        }
        return true;
    }

private:
    qsizetype control(qsizetype pos) {
        if (pos >= m_rtf.size()) {
            return pos;
        }
        const char c = m_rtf.at(pos);
        if (!isLetter(c)) {
            return controlSymbol(c, pos);
        }
        const ControlWord cw = readControlWord(m_rtf, pos);
        if (m_scan == Scan::Header && m_state.dest == Dest::Text && startsBody(cw.word)) {
            m_stopped = true;  // the header lies behind: a picture need not be walked
            return cw.end;
        }
        const bool destinationPlace = m_groupStart;
        m_groupStart = false;
        if (cw.word == "bin") {
            return cw.end + qMax(0, cw.parameter.value_or(0));
        }
        if (cw.word == "u") {
            int code = cw.parameter.value_or(0);
            if (code < 0) {
                code += 65536;
            }
            character(QChar(static_cast<char16_t>(code)));
            m_skipChars = m_state.unicodeSkip;
            return cw.end;
        }
        m_skipChars = 0;
        word(cw, destinationPlace);
        return cw.end;
    }

    qsizetype controlSymbol(char c, qsizetype pos) {
        switch (c) {
            case '\'': {
                const int high = pos + 1 < m_rtf.size() ? hexValue(m_rtf.at(pos + 1)) : -1;
                const int low = pos + 2 < m_rtf.size() ? hexValue(m_rtf.at(pos + 2)) : -1;
                if (high >= 0 && low >= 0) {
                    byteChar(static_cast<unsigned char>(high * 16 + low));
                    return pos + 3;
                }
                return pos + 1;
            }
            case '*':
                m_starred = true;  // the next word names a destination a reader may ignore
                m_groupStart = true;
                return pos + 1;
            case '\\':
            case '{':
            case '}':
                plain(QChar::fromLatin1(c));
                return pos + 1;
            case '~':
                plain(QChar(0x00A0));
                return pos + 1;
            case '_':
                plain(QChar(u'-'));
                return pos + 1;
            case '\r':
            case '\n':
                paragraph();
                return pos + 1;
            case '\t':
                plain(QChar(u'\t'));
                return pos + 1;
            default:
                return pos + 1;  // \- (optional hyphen), \: and symbols without text
        }
    }

    void word(const ControlWord& cw, bool destinationPlace) {
        const QByteArray& w = cw.word;
        const bool on = !cw.parameter || *cw.parameter != 0;
        if (destinationPlace && enterDestination(w)) {
            return;
        }
        if (m_starred) {
            m_starred = false;
        }
        if (w == "par" || w == "sect" || w == "page") {
            paragraph();
        } else if (w == "line") {
            plain(QChar(QChar::LineSeparator));
        } else if (w == "tab") {
            plain(QChar(u'\t'));
        } else if (w == "cell") {
            plain(QChar(u'\t'));
        } else if (w == "row") {
            paragraph();
        } else if (w == "b") {
            setFormat([on](GroupState& s) { s.bold = on; });
        } else if (w == "i") {
            setFormat([on](GroupState& s) { s.italic = on; });
        } else if (w == "ul" || w == "uld" || w == "uldb" || w == "ulw") {
            setFormat([on](GroupState& s) { s.underline = on; });
        } else if (w == "ulnone") {
            setFormat([](GroupState& s) { s.underline = false; });
        } else if (w == "fs") {
            const int size = cw.parameter.value_or(24);
            setFormat([size](GroupState& s) { s.halfPoints = size > 0 ? size : 24; });
        } else if (w == "plain") {
            setFormat([](GroupState& s) {
                s.bold = s.italic = s.underline = false;
                s.halfPoints = 24;
            });
        } else if (w == "uc") {
            m_state.unicodeSkip = qMax(0, cw.parameter.value_or(1));
        } else if (w == "ansicpg" && cw.parameter) {
            setCodePage(*cw.parameter);
        } else if (w == "emdash") {
            plain(QChar(0x2014));
        } else if (w == "endash") {
            plain(QChar(0x2013));
        } else if (w == "lquote") {
            plain(QChar(0x2018));
        } else if (w == "rquote") {
            plain(QChar(0x2019));
        } else if (w == "ldblquote") {
            plain(QChar(0x201C));
        } else if (w == "rdblquote") {
            plain(QChar(0x201D));
        } else if (w == "bullet") {
            plain(QChar(0x2022));
        }
    }

    /// A word at the start of a group that names where the group's text goes.
    bool enterDestination(const QByteArray& w) {
        const bool starred = m_starred;
        m_starred = false;
        if (m_state.dest == Dest::Skip) {
            return true;
        }
        if (w == "info") {
            m_state.dest = Dest::Info;
            return true;
        }
        if (w == "title" && m_state.dest == Dest::Info) {
            m_state.dest = Dest::Title;
            return true;
        }
        if (w == "generator") {
            m_state.dest = Dest::Generator;
            return true;
        }
        if (starred || skippedDestinations().contains(w) || m_state.dest == Dest::Info) {
            m_state.dest = Dest::Skip;
            return true;
        }
        return false;
    }

    void setCodePage(int codePage) {
        m_codePage = codePage;
        m_decoder.reset();
        if (codePage != 1252 && codePage != 0) {
            auto decoder = std::make_unique<QStringDecoder>(QByteArray("windows-") +
                                                            QByteArray::number(codePage));
            if (decoder->isValid()) {
                m_decoder = std::move(decoder);
            }
        }
    }

    void byteChar(unsigned char b) {
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        if (b < 0x80) {
            character(QChar::fromLatin1(static_cast<char>(b)));
        } else if (m_decoder) {
            const char byte = static_cast<char>(b);
            const QString decoded = m_decoder->decode(QByteArrayView(&byte, 1));
            character(decoded.isEmpty() ? QChar(0xFFFD) : decoded.at(0));
        } else if (b < 0xA0) {
            character(QChar(kCp1252High[b - 0x80]));
        } else {
            character(QChar::fromLatin1(static_cast<char>(b)));
        }
    }

    /// A character written by a control symbol or word: never a fallback to skip.
    void plain(QChar c) {
        m_skipChars = 0;
        character(c);
    }

    void character(QChar c) {
        switch (m_state.dest) {
            case Dest::Text:
                if (m_scan == Scan::Header) {
                    m_stopped = c != u' ';  // the text begins: the header has been read
                    return;
                }
                m_pending.append(c);
                if (m_limits.characters > 0 && ++m_characters >= m_limits.characters) {
                    stop();
                }
                break;
            case Dest::Title:
                m_title.append(c);
                break;
            case Dest::Generator:
                m_generator.append(c);
                break;
            case Dest::Skip:
            case Dest::Info:
                break;
        }
    }

    template <class Change>
    void setFormat(Change change) {
        flush();
        change(m_state);
    }

    void paragraph() {
        if (m_state.dest != Dest::Text) {
            return;
        }
        if (m_scan == Scan::Header) {
            m_stopped = true;
            return;
        }
        flush();
        if (m_limits.paragraphs > 0 && ++m_paragraphs >= m_limits.paragraphs) {
            stop();
            return;
        }
        if (m_document != nullptr) {
            m_cursor.insertBlock();
        }
    }

    void stop() {
        m_stopped = true;
        m_truncated = true;
    }

    void flush() {
        if (m_pending.isEmpty()) {
            return;
        }
        if (m_document != nullptr) {
            if (!m_formatBuilt || !m_formatState.sameLook(m_state)) {
                if (m_formatBuilt && m_limits.formatChanges > 0 &&
                    ++m_formatChanges > m_limits.formatChanges) {
                    stop();
                    m_pending.clear();
                    return;
                }
                m_format = QTextCharFormat();
                m_format.setFontWeight(m_state.bold ? QFont::Bold : QFont::Normal);
                m_format.setFontItalic(m_state.italic);
                m_format.setFontUnderline(m_state.underline);
                m_format.setFontPointSize(m_state.halfPoints / 2.0);
                m_formatState = m_state;
                m_formatBuilt = true;
            }
            m_cursor.insertText(m_pending, m_format);
        }
        m_pending.clear();
    }

    const QByteArray& m_rtf;
    QTextDocument* m_document;
    Scan m_scan;
    RtfLimits m_limits;
    QTextCursor m_cursor;
    QTextCharFormat m_format;
    GroupState m_formatState;
    bool m_formatBuilt = false;
    bool m_stopped = false;
    bool m_truncated = false;
    qsizetype m_characters = 0;
    qsizetype m_paragraphs = 0;
    qsizetype m_formatChanges = 0;
    GroupState m_state;
    std::vector<GroupState> m_stack;
    bool m_groupStart = false;
    bool m_starred = false;
    int m_skipChars = 0;
    int m_codePage = 1252;
    std::unique_ptr<QStringDecoder> m_decoder;
    QString m_pending;
    QString m_title;
    QString m_generator;
};

/// The position after the control word or control symbol that starts at backslash,
/// with the data of a \bin word.
qsizetype controlEnd(const QByteArray& rtf, qsizetype backslash) {
    if (backslash + 1 < rtf.size() && isLetter(rtf.at(backslash + 1))) {
        const ControlWord cw = readControlWord(rtf, backslash + 1);
        return cw.word == "bin" ? cw.end + qMax(0, cw.parameter.value_or(0)) : cw.end;
    }
    return backslash + 2;
}

/// The position after the group that opens at open (a '{'), escapes and \bin data
/// respected; the end of the bytes when the group is not closed.
qsizetype groupEnd(const QByteArray& rtf, qsizetype open) {
    int depth = 0;
    for (qsizetype i = open; i < rtf.size(); ++i) {
        const char c = rtf.at(i);
        if (c == '\\') {
            i = controlEnd(rtf, i) - 1;
        } else if (c == '{') {
            ++depth;
        } else if (c == '}' && --depth == 0) {
            return i + 1;
        }
    }
    return rtf.size();
}

/// The direct subgroups of the group opening at open: their start positions.
std::vector<qsizetype> childGroups(const QByteArray& rtf, qsizetype open, qsizetype end) {
    std::vector<qsizetype> children;
    for (qsizetype i = open + 1; i < end - 1; ++i) {
        const char c = rtf.at(i);
        if (c == '\\') {
            i = controlEnd(rtf, i) - 1;
        } else if (c == '{') {
            children.push_back(i);
            i = groupEnd(rtf, i) - 1;
        }
    }
    return children;
}

/// The destination word of the group opening at open ("*" words give the word after).
QByteArray groupWord(const QByteArray& rtf, qsizetype open) {
    qsizetype i = open + 1;
    if (rtf.mid(i, 2) == "\\*") {
        i += 2;
    }
    while (i < rtf.size() && (rtf.at(i) == '\r' || rtf.at(i) == '\n' || rtf.at(i) == ' ')) {
        ++i;
    }
    if (i + 1 < rtf.size() && rtf.at(i) == '\\' && isLetter(rtf.at(i + 1))) {
        return readControlWord(rtf, i + 1).word;
    }
    return {};
}

}  // namespace

bool readRtf(const QByteArray& rtf, QTextDocument& document, RtfInfo* info, const RtfLimits& limits,
             bool* truncated) {
    RtfInfo found;
    const bool undo = document.isUndoRedoEnabled();
    document.setUndoRedoEnabled(false);  // nothing to undo in a letter just read
    bool ok = false;
    {
        RtfParser parser(rtf, &document, Scan::Document, limits);
        ok = parser.run(found);
        if (truncated != nullptr) {
            *truncated = parser.truncated();
        }
    }
    document.setUndoRedoEnabled(undo);
    if (info != nullptr) {
        *info = found;
    }
    return ok;
}

RtfInfo readRtfInfo(const QByteArray& rtf) {
    RtfInfo found;
    RtfParser parser(rtf, nullptr, Scan::Header, {});
    parser.run(found);
    return found;
}

QByteArray rtfEscaped(const QString& text) {
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u >= 0x20 && u < 0x80) {
            out += static_cast<char>(u);
        } else if (u >= 0x80) {
            out += "\\u" + QByteArray::number(static_cast<int16_t>(u)) + '?';
        }
    }
    return out;
}

QByteArray rtfWithTitle(const QByteArray& rtf, const QString& title) {
    const qsizetype open = rtf.indexOf('{');
    if (open < 0) {
        return rtf;
    }
    const QByteArray titleGroup = "{\\title " + rtfEscaped(title) + '}';
    const qsizetype end = groupEnd(rtf, open);
    qsizetype afterHeader = -1;
    for (const qsizetype child : childGroups(rtf, open, end)) {
        const QByteArray w = groupWord(rtf, child);
        if (w == "info") {
            const qsizetype infoEnd = groupEnd(rtf, child);
            for (const qsizetype item : childGroups(rtf, child, infoEnd)) {
                if (groupWord(rtf, item) == "title") {
                    QByteArray result = rtf;
                    return result.replace(item, groupEnd(rtf, item) - item, titleGroup);
                }
            }
            QByteArray result = rtf;
            return result.insert(infoEnd - 1, titleGroup);
        }
        if (w == "fonttbl" || w == "colortbl" || w == "stylesheet" || w == "listtable" ||
            w == "listoverridetable" || w == "rsidtbl" || w == "generator" || w == "filetbl") {
            afterHeader = groupEnd(rtf, child);
        }
    }
    if (afterHeader < 0) {
        // No header tables: after the document's opening control words.
        afterHeader = open + 1;
        while (afterHeader < end && rtf.at(afterHeader) == '\\') {
            afterHeader = readControlWord(rtf, afterHeader + 1).end;
        }
    }
    QByteArray result = rtf;
    return result.insert(afterHeader, "{\\info" + titleGroup + '}');
}

}  // namespace tqhost::Internal
