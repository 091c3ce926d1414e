// Reads the shipped public code sets: ICD-9-CM, ICD-10-CM and HCPCS Level II from their
// publishers' files (the large ones xz-compressed), the dental and procedure samples in
// the licensed file's form.

#include "ReferenceContent.h"

#include <tqglobal/Error.h>

#include <QFile>
#include <QStringDecoder>

#include <lzma.h>

namespace tqhost::Internal {

namespace {

[[noreturn]] void fail(const QString& text) {
    throw tqGlobal::Error(tqGlobal::ErrorNumber::DatabaseError, text);
}

[[noreturn]] void failAt(const QString& path, int line, const QString& reason) {
    fail(QStringLiteral("%1 line %2: %3").arg(path).arg(line).arg(reason));
}

QByteArray readPlainFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        fail(QStringLiteral("The code set file %1 cannot be read: %2")
                 .arg(path, file.errorString()));
    }
    return file.readAll();
}

/// The lines of a text, without their CR LF or LF ends; a last empty line is dropped.
QList<QByteArray> linesOf(const QByteArray& bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) {
            line.chop(1);
        }
    }
    return lines;
}

/// The rows of a tab-separated table with a header line, each with at least minFields.
QList<QStringList> readTable(const QString& path, int minFields) {
    const QList<QByteArray> lines = linesOf(readPlainFile(path));
    QList<QStringList> rows;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines.at(i).trimmed().isEmpty()) {
            continue;
        }
        const QStringList fields = QString::fromUtf8(lines.at(i)).split(QLatin1Char('\t'));
        if (fields.size() < minFields) {
            failAt(
                path, i + 1,
                QStringLiteral("%1 fields expected, %2 found").arg(minFields).arg(fields.size()));
        }
        rows << fields;
    }
    return rows;
}

/// Chapters (level 0) and sections (level 1) from a "level start end name" table; each
/// section hangs below the chapter before it. Node ids count from 1 in file order.
QList<ReferenceNode> readChapters(const QString& path) {
    QList<ReferenceNode> nodes;
    int chapter = 0;
    for (const QStringList& row : readTable(path, 4)) {
        ReferenceNode node;
        node.id = static_cast<int>(nodes.size()) + 1;
        node.level = row.at(0).trimmed().toInt();
        node.start = row.at(1).trimmed();
        node.end = row.at(2).trimmed();
        node.description = row.at(3).trimmed();
        if (node.level == 0) {
            chapter = node.id;
        } else if (chapter == 0) {
            fail(QStringLiteral("%1: a section comes before its chapter").arg(path));
        } else {
            node.parent = chapter;
        }
        nodes << node;
    }
    return nodes;
}

QString pathIn(const QString& folder, const QString& file) {
    return folder + QLatin1Char('/') + file;
}

/// ICD-9-CM: "25001 Diabetes ..." is code 250, modifier 01; E codes keep four characters
/// as their code ("E8000" is E800, 0).
CodeSetContent readIcd9(const QString& folder) {
    const QString dir = pathIn(folder, QStringLiteral("icd9cm"));
    CodeSetContent content;
    content.nodes = readChapters(pathIn(dir, QStringLiteral("icd9cm_chapters_sections.tsv")));
    const QString path = pathIn(dir, QStringLiteral("CMS32_DESC_LONG_DX.txt.xz"));
    const QList<QByteArray> lines = linesOf(readXzFile(path));
    content.codes.reserve(lines.size());
    int number = 0;
    for (const QByteArray& line : lines) {
        ++number;
        // The long descriptions are ISO-8859-1.
        const QString text = QString::fromLatin1(line);
        const QString code = text.left(5).trimmed();
        const QString description = text.mid(6).trimmed();
        if (code.size() < 3 || description.isEmpty()) {
            failAt(path, number, QStringLiteral("a code and its description expected"));
        }
        const int split = code.startsWith(QLatin1Char('E')) ? 4 : 3;
        content.codes.append({code.left(split), code.mid(split), description, QString()});
    }
    content.source = QStringLiteral("CMS ICD-9-CM diagnosis codes, version 32");
    return content;
}

/// ICD-10-CM from the order file: only the codes valid for billing; "K029" is K02, 9 and
/// "S025XXA" S02, 5XXA. Codes are placed in the tree by their category.
CodeSetContent readIcd10(const QString& folder) {
    const QString dir = pathIn(folder, QStringLiteral("icd10cm"));
    CodeSetContent content;
    content.nodes = readChapters(pathIn(dir, QStringLiteral("icd10cm_chapters_sections.tsv")));
    QHash<QString, int> sectionByRange;
    for (const ReferenceNode& node : content.nodes) {
        if (node.level == 1) {
            sectionByRange.insert(node.start + QLatin1Char('-') + node.end, node.id);
        }
    }
    const QString categories = pathIn(dir, QStringLiteral("icd10cm_categories.tsv"));
    int row = 1;
    for (const QStringList& fields : readTable(categories, 5)) {
        ++row;
        const int section = sectionByRange.value(
            fields.at(2).trimmed() + QLatin1Char('-') + fields.at(3).trimmed(), 0);
        if (section == 0) {
            failAt(categories, row,
                   QStringLiteral("the section %1-%2 is not in the tree")
                       .arg(fields.at(2).trimmed(), fields.at(3).trimmed()));
        }
        content.sectionOfCategory.insert(fields.at(0).trimmed(), section);
    }
    const QString path = pathIn(dir, QStringLiteral("icd10cm-order-Jan-2021.txt.xz"));
    const QList<QByteArray> lines = linesOf(readXzFile(path));
    content.codes.reserve(75000);
    int number = 0;
    for (const QByteArray& line : lines) {
        ++number;
        if (line.size() < 78 || (line.at(14) != '0' && line.at(14) != '1')) {
            failAt(path, number, QStringLiteral("an order-file line expected"));
        }
        if (line.at(14) != '1') {
            continue;  // a heading with codes below it
        }
        const QString code = QString::fromLatin1(line.mid(6, 7)).trimmed();
        const QString description = QString::fromLatin1(line.mid(77)).trimmed();
        if (!content.sectionOfCategory.contains(code.left(3))) {
            failAt(path, number, QStringLiteral("the category of %1 is not known").arg(code));
        }
        content.codes.append({code.left(3), code.mid(3), description, QString()});
    }
    content.source = QStringLiteral("CDC ICD-10-CM, 2021 release (January 2021 update)");
    return content;
}

/// HCPCS Level II: the procedure and supply codes in the code table, under a tree of
/// their letters; the modifiers apart.
CodeSetContent readHcpcs(const QString& folder) {
    const QString dir = pathIn(folder, QStringLiteral("hcpcs"));
    CodeSetContent content;
    content.nodes = readChapters(pathIn(dir, QStringLiteral("hcpcs_sections.tsv")));
    const QString path = pathIn(dir, QStringLiteral("hcpcs2019_codes.tsv.xz"));
    const QList<QByteArray> lines = linesOf(readXzFile(path));
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList fields = QString::fromUtf8(lines.at(i)).split(QLatin1Char('\t'));
        if (fields.size() < 8 || fields.at(0).trimmed().isEmpty()) {
            failAt(path, i + 1, QStringLiteral("eight fields expected"));
        }
        const QString code = fields.at(0).trimmed();
        const QString description = fields.at(3).trimmed();
        const QString ended = fields.at(6).trimmed();
        if (fields.at(1) == QLatin1String("M")) {
            content.modifiers.append({code, description, ended});
        } else if (fields.at(1) == QLatin1String("P")) {
            content.codes.append({code, QString(), description, ended});
        } else {
            failAt(path, i + 1, QStringLiteral("the kind P or M expected"));
        }
    }
    content.source = QStringLiteral("CMS HCPCS Level II, 2019 annual file");
    return content;
}

}  // namespace

QByteArray readXzFile(const QString& path) {
    const QByteArray packed = readPlainFile(path);
    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_stream_decoder(&stream, UINT64_MAX, 0) != LZMA_OK) {
        fail(QStringLiteral("The xz decoder cannot be started for %1.").arg(path));
    }
    QByteArray out;
    out.resize(packed.size() * 8);
    stream.next_in = reinterpret_cast<const uint8_t*>(packed.constData());
    stream.avail_in = static_cast<size_t>(packed.size());
    lzma_ret result = LZMA_OK;
    while (result == LZMA_OK) {
        if (stream.total_out == static_cast<uint64_t>(out.size())) {
            out.resize(out.size() * 2);
        }
        stream.next_out = reinterpret_cast<uint8_t*>(out.data()) + stream.total_out;
        stream.avail_out = static_cast<size_t>(out.size()) - stream.total_out;
        result = lzma_code(&stream, LZMA_FINISH);
    }
    out.resize(static_cast<qsizetype>(stream.total_out));
    lzma_end(&stream);
    if (result != LZMA_STREAM_END) {
        fail(QStringLiteral("The compressed code set file %1 is damaged (xz error %2).")
                 .arg(path)
                 .arg(static_cast<int>(result)));
    }
    return out;
}

CodeSetContent readShippedSet(ReferenceSet set, const QString& folder) {
    switch (set) {
        case ReferenceSet::Dental:
            return readLicensedCodeFile(pathIn(folder, QStringLiteral("cdt/cdt_sample.txt")), set);
        case ReferenceSet::Procedure:
            return readLicensedCodeFile(pathIn(folder, QStringLiteral("cpt/cpt_sample.txt")), set);
        case ReferenceSet::Icd9:
            return readIcd9(folder);
        case ReferenceSet::Icd10:
            return readIcd10(folder);
        case ReferenceSet::Hcpcs:
            return readHcpcs(folder);
    }
    fail(QStringLiteral("There is no code set %1.").arg(static_cast<int>(set)));
}

}  // namespace tqhost::Internal
