#pragma once

// A code set as read from its files, before it is written to the reference database.

#include <tqhost/ReferenceCodes.h>

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

namespace tqhost::Internal {

/// A node of the set's tree. Parents come before their children; parent 0 is the top.
struct ReferenceNode {
    int id = 0;
    int level = 0;
    int parent = 0;
    QString description;
    QString start;
    QString end;
};

/// A code: the code column, the modifier or sub-code ("" when none), the description, and
/// (procedure sets with a published end) the date it was ended, "yyyyMMdd".
struct ReferenceCode {
    QString code;
    QString modifier;
    QString description;
    QString endDate;
};

/// The dental set's revision row.
struct ReferenceRevision {
    QString longTitle;
    QString shortTitle;
    QString notice;
    QDate effective;
};

/// A two-character modifier that is appended to a code on a claim (HCPCS).
struct ReferenceModifier {
    QString code;
    QString description;
    QString endDate;
};

struct CodeSetContent {
    QList<ReferenceNode> nodes;
    QList<ReferenceCode> codes;
    /// When not empty, a code is placed in the tree by its code column looked up here
    /// (the node id of its section), not by the text ranges of the nodes: ranges of
    /// ICD-10-CM sections do not hold all their categories when compared as text.
    QHash<QString, int> sectionOfCategory;
    std::optional<ReferenceRevision> revision;
    QList<ReferenceModifier> modifiers;
    /// Where the rows came from, for the build record.
    QString source;
};

/// The shipped files of a set under folder (data/codesets). Throws tqGlobal::Error naming
/// the file (and line) that cannot be read.
CodeSetContent readShippedSet(ReferenceSet set, const QString& folder);

/// A licensed practice's file for the dental or procedure set (the shipped samples have
/// the same form). Each line is one record; blank lines and lines starting with "#" are
/// skipped. Fields are separated by tabs; a line without a tab is read as comma-separated,
/// where a field may be put in double quotes (a quote inside doubled). By the first field:
///   RANGE, level, start, end, description: a node of the tree; level 0 is the top, a
///       node of level n hangs below the last node of level n - 1 before it;
///   REVISION, long title, short title, notice, effective date (yyyy-MM-dd or empty): the
///       dental set's revision row, at most once;
///   anything else: code, modifier (may be empty), description: one code.
/// Throws tqGlobal::Error "FILE line N: reason" for the first line that cannot be read.
CodeSetContent readLicensedCodeFile(const QString& path, ReferenceSet set);

/// The bytes of an xz-compressed file. Throws tqGlobal::Error.
QByteArray readXzFile(const QString& path);

}  // namespace tqhost::Internal
