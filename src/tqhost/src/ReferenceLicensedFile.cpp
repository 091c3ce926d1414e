// Reads a code file in the form a licensed practice brings its dental or procedure code
// set in (ReferenceContent.h describes it). The whole file is read before anything is
// written, so that a bad line stops the load with nothing half-loaded.

#include "ReferenceContent.h"

#include <tqglobal/Error.h>

#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace tqhost::Internal {

namespace {

/// The widest code and modifier the tables hold.
constexpr int CodeWidth = 10;

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

    void read(const QString& line) {
        ++m_number;
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

    CodeSetContent take() {
        m_content.source = QFileInfo(m_path).fileName();
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

    void requireCode(const QString& value, const char* what, bool mayBeEmpty) const {
        if (value.isEmpty() && !mayBeEmpty) {
            fail(QStringLiteral("the %1 is empty").arg(QLatin1String(what)));
        }
        if (value.size() > CodeWidth || value.contains(QLatin1Char(' '))) {
            fail(QStringLiteral("the %1 \"%2\" is not a code of at most %3 characters without "
                                "blanks")
                     .arg(QLatin1String(what), value)
                     .arg(CodeWidth));
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
    LineReader reader(path, set);
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QByteArray line = lines.at(i);
        if (line.endsWith('\r')) {
            line.chop(1);
        }
        if (i == 0 && line.startsWith("\xEF\xBB\xBF")) {
            line.remove(0, 3);  // a byte-order mark that some editors write
        }
        reader.read(QString::fromUtf8(line));
    }
    CodeSetContent content = reader.take();
    if (content.codes.isEmpty()) {
        throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError,
                              QStringLiteral("The code file %1 holds no codes.").arg(path));
    }
    return content;
}

}  // namespace tqhost::Internal
