// Reads a code file in the form a licensed practice brings its dental or procedure code
// set in (ReferenceContent.h describes it). The whole file is read before anything is
// written, so that a bad line stops the load with nothing half-loaded.
//
// Encoding: a practice's file comes from whatever its office software exports. A file that
// is valid UTF-8 as a whole is read as UTF-8; any other file is read as Windows-1252, the
// code page such exports use on Windows (Latin-1 letters and the typographic quotes, dashes
// and the trademark sign). The choice is made for the whole file, never line by line.

#include "ReferenceContent.h"

#include <tqglobal/Error.h>
#include <tqplatform/TextWidth.h>

#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>

#include <array>

namespace tqhost::Internal {

namespace {

/// The widest code and modifier the tables hold.
constexpr int CodeWidth = 10;
/// The widths of the other text columns a licensed file fills (the code's description
/// has none).
constexpr int NodeDescriptionWidth = 255;
constexpr int LongTitleWidth = 255;
constexpr int ShortTitleWidth = 100;
constexpr int NoticeWidth = 500;

/// Windows-1252's characters for the bytes 0x80 to 0x9F (0 where the code page has none);
/// every other byte is the Latin-1 character of the same number.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

bool isValidUtf8(const QByteArray& bytes) {
    // A decoder that keeps its state counts the bytes it could not read.
    QStringDecoder decoder(QStringDecoder::Utf8);
    (void)QString(decoder.decode(bytes));
    return !decoder.hasError();
}

/// The line as Windows-1252; the number of a byte the code page has no character for
/// in badByte (-1 when every byte has one).
QString fromCp1252(const QByteArray& line, int& badByte) {
    QString text;
    text.reserve(line.size());
    badByte = -1;
    for (const char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t unit = byte;
        if (byte >= 0x80 && byte <= 0x9F) {
            unit = Cp1252High.at(byte - 0x80);
            if (unit == 0 && badByte < 0) {
                badByte = byte;
            }
        }
        text += QChar(unit);
    }
    return text;
}

/// Comma-separated fields; a field in double quotes may hold commas and doubled quotes.
/// Answers false for a quote left open.
bool splitCommas(const QString& line, QStringList& fields) {
    QString field;
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (quoted) {
            if (c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
                field += c;
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                field += c;
            }
        } else if (c == u'"' && field.trimmed().isEmpty()) {
            field.clear();
            quoted = true;
        } else if (c == u',') {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    return !quoted;
}

class LineReader {
public:
    LineReader(const QString& path, ReferenceSet set) : m_path(path), m_set(set) {}

    /// Reads the next line, given as the file holds it (without its line end).
    void read(const QByteArray& bytes, bool utf8) {
        ++m_number;
        // A NUL would be stored by one database and refused by the other: no line holds one.
        if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0) {
            fail(QStringLiteral("the line holds a NUL character (byte 0) at column %1; a code "
                                "file is text")
                     .arg(nul + 1));
        }
        int badByte = -1;
        const QString line = utf8 ? QString::fromUtf8(bytes) : fromCp1252(bytes, badByte);
        if (badByte >= 0) {
            fail(QStringLiteral("the file is not UTF-8, and the byte 0x%1 is no character of "
                                "Windows-1252")
                     .arg(QString::number(badByte, 16).toUpper()));
        }
        read(line);
    }

private:
    void read(const QString& line) {
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#'))) {
            return;
        }
        QStringList fields;
        if (line.contains(QLatin1Char('\t'))) {
            fields = line.split(QLatin1Char('\t'));
        } else if (!splitCommas(line, fields)) {
            fail(QStringLiteral("a quote is not closed"));
        }
        for (QString& field : fields) {
            field = field.trimmed();
        }
        const QString kind = fields.first().toUpper();
        if (kind == QLatin1String("RANGE")) {
            readRange(fields);
        } else if (kind == QLatin1String("REVISION")) {
            readRevision(fields);
        } else {
            readCode(fields);
        }
    }

public:
    CodeSetContent take(bool utf8) {
        m_content.source = QFileInfo(m_path).fileName() +
                           (utf8 ? QStringLiteral(" (UTF-8)") : QStringLiteral(" (Windows-1252)"));
        return std::move(m_content);
    }

private:
    [[noreturn]] void fail(const QString& reason) const {
        throw tqGlobal::Error(
            tqGlobal::ErrorNumber::DatabaseError,
            QStringLiteral("%1 line %2: %3").arg(m_path).arg(m_number).arg(reason));
    }

    void requireFields(const QStringList& fields, int count, const char* form) const {
        if (fields.size() != count) {
            fail(QStringLiteral("%1 fields expected (%2), %3 found")
                     .arg(count)
                     .arg(QLatin1String(form))
                     .arg(fields.size()));
        }
    }

    /// A field longer than its column is named with its length and limit; only its
    /// beginning is shown, so that a runaway field (a file that lost its line ends) does
    /// not fill the screen.
    void requireWidth(const QString& value, const char* what, int width) const {
        const qsizetype length = tqplatform::characterCount(value);
        if (length > width) {
            fail(QStringLiteral("the %1 has %2 characters, more than the %3 it may have "
                                "(it starts \"%4...\")")
                     .arg(QLatin1String(what))
                     .arg(length)
                     .arg(width)
                     .arg(tqplatform::leftCharacters(value, 20)));
        }
    }

    void requireCode(const QString& value, const char* what, bool mayBeEmpty) const {
        if (value.isEmpty() && !mayBeEmpty) {
            fail(QStringLiteral("the %1 is empty").arg(QLatin1String(what)));
        }
        requireWidth(value, what, CodeWidth);
        if (value.contains(QLatin1Char(' '))) {
            fail(QStringLiteral("the %1 \"%2\" holds a blank; codes are written without blanks")
                     .arg(QLatin1String(what), value));
        }
    }

    void readRange(const QStringList& fields) {
        requireFields(fields, 5, "RANGE, level, start, end, description");
        bool ok = false;
        ReferenceNode node;
        node.level = fields.at(1).toInt(&ok);
        if (!ok || node.level < 0) {
            fail(QStringLiteral("the level \"%1\" is not a number from 0").arg(fields.at(1)));
        }
        if (node.level > 0 && m_lastAtLevel.size() < node.level) {
            fail(QStringLiteral("a range of level %1 has no range of level %2 before it")
                     .arg(node.level)
                     .arg(node.level - 1));
        }
        node.start = fields.at(2).toUpper();
        node.end = fields.at(3).toUpper();
        requireCode(node.start, "start code", false);
        requireCode(node.end, "end code", false);
        if (node.end < node.start) {
            fail(QStringLiteral("the range ends (%1) before it starts (%2)")
                     .arg(node.end, node.start));
        }
        node.description = fields.at(4);
        if (node.description.isEmpty()) {
            fail(QStringLiteral("the range has no description"));
        }
        requireWidth(node.description, "range description", NodeDescriptionWidth);
        node.id = static_cast<int>(m_content.nodes.size()) + 1;
        node.parent = node.level == 0 ? 0 : m_lastAtLevel.at(node.level - 1);
        m_lastAtLevel.resize(node.level);
        m_lastAtLevel << node.id;
        m_content.nodes << node;
    }

    void readRevision(const QStringList& fields) {
        requireFields(fields, 5, "REVISION, long title, short title, notice, effective date");
        if (m_set != ReferenceSet::Dental) {
            fail(QStringLiteral("only the dental set has a revision line"));
        }
        if (m_content.revision) {
            fail(QStringLiteral("a second revision line"));
        }
        ReferenceRevision revision{fields.at(1), fields.at(2), fields.at(3), QDate()};
        if (revision.longTitle.isEmpty()) {
            fail(QStringLiteral("the revision line has no long title"));
        }
        requireWidth(revision.longTitle, "long title", LongTitleWidth);
        requireWidth(revision.shortTitle, "short title", ShortTitleWidth);
        requireWidth(revision.notice, "notice", NoticeWidth);
        if (!fields.at(4).isEmpty()) {
            revision.effective = QDate::fromString(fields.at(4), Qt::ISODate);
            if (!revision.effective.isValid()) {
                fail(QStringLiteral("the effective date \"%1\" is not a date yyyy-mm-dd")
                         .arg(fields.at(4)));
            }
        }
        m_content.revision = revision;
    }

    void readCode(const QStringList& fields) {
        requireFields(fields, 3, "code, modifier, description");
        ReferenceCode code{fields.at(0).toUpper(), fields.at(1), fields.at(2), QString()};
        requireCode(code.code, "code", false);
        requireCode(code.modifier, "modifier", true);
        if (code.description.isEmpty()) {
            fail(QStringLiteral("the code %1 has no description").arg(code.code));
        }
        const QString key = code.code + QLatin1Char('\t') + code.modifier;
        if (m_seen.contains(key)) {
            fail(QStringLiteral("the code %1 comes twice")
                     .arg(code.modifier.isEmpty() ? code.code
                                                  : code.code + QLatin1Char('.') + code.modifier));
        }
        m_seen.insert(key);
        m_content.codes << code;
    }

    QString m_path;
    ReferenceSet m_set;
    int m_number = 0;
    CodeSetContent m_content;
    QList<int> m_lastAtLevel;
    QSet<QString> m_seen;
};

}  // namespace

CodeSetContent readLicensedCodeFile(const QString& path, ReferenceSet set) {
    if (set != ReferenceSet::Dental && set != ReferenceSet::Procedure) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                              QStringLiteral("A code file is loaded for the dental or the "
                                             "procedure set only."));
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw tqGlobal::Error(
            tqGlobal::ErrorNumber::DatabaseError,
            QStringLiteral("The code file %1 cannot be read: %2").arg(path, file.errorString()));
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);  // a byte-order mark that some editors write
    }
    const bool utf8 = isValidUtf8(bytes);
    LineReader reader(path, set);
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        reader.read(line, utf8);
    }
    CodeSetContent content = reader.take(utf8);
    if (content.codes.isEmpty()) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                              QStringLiteral("The code file %1 holds no codes.").arg(path));
    }
    return content;
}

}  // namespace tqhost::Internal
