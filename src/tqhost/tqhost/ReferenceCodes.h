#pragma once

// The reference database "CODES": the published code sets the reference browser reads,
// one code table, one tree table and (dental set) one revision table per set, and the
// builder that fills it from the files shipped under data/codesets.

#include <QList>
#include <QString>
#include <QStringList>

namespace tqplatform {
class Connection;
}

namespace tqhost {

/// A code set, by the number the reference browser is opened with (its DisplayType).
enum class ReferenceSet : int { Dental = 0, Procedure = 1, Icd9 = 2, Icd10 = 3, Hcpcs = 4 };

/// What names a set: its tables' prefix, the browser's caption, the category an imported
/// code gets (empty for the dental set, whose category follows the code's range), and the
/// short name the command line and the build report use.
struct ReferenceSetInfo {
    ReferenceSet set;
    QString prefix;
    QString caption;
    QString importCategory;
    QString name;
};

/// Every set, in DisplayType order.
const QList<ReferenceSetInfo>& referenceSets();
const ReferenceSetInfo& referenceSetInfo(ReferenceSet set);
/// The set of a short name ("cdt", "cpt", "icd9", "icd10", "hcpcs", any case); nullptr
/// when there is none.
const ReferenceSetInfo* referenceSetByName(const QString& name);

/// What buildReferenceDatabase builds.
struct ReferenceBuildOptions {
    /// The folder of the shipped files (data/codesets); empty: defaultCodeSetFolder().
    QString sourceFolder;
    /// The sets to build; empty: all five, or only the licensed file's set when one is
    /// given. Sets not named keep their tables as they are.
    QList<ReferenceSet> sets;
    /// A licensed practice's own file for the dental or procedure set (the form is
    /// described at readLicensedCodeFile); empty: the shipped sample of the set.
    QString licensedFile;
    ReferenceSet licensedSet = ReferenceSet::Dental;
};

/// One set as built: rows of its code table and of its tree table.
struct ReferenceBuiltSet {
    ReferenceSet set;
    int codes = 0;
    int nodes = 0;
    /// What it was built from; a licensed file's name is followed by the encoding it was
    /// read in ("codes.txt (Windows-1252)").
    QString source;
};

/// Builds the named sets into the database of connection (an empty database, or one built
/// before: each set's tables are replaced whole). Everything is written in one
/// transaction, so that a failure (a bad source line, a refusing database) leaves every
/// table as it was; a bad source line is reported with its file and line number. Throws
/// tqGlobal::Error.
QList<ReferenceBuiltSet> buildReferenceDatabase(tqplatform::Connection& connection,
                                                const ReferenceBuildOptions& options);

/// The folder data/codesets of the source tree this library was built from.
QString defaultCodeSetFolder();

/// The "CODES" database of a practice: the file codes.db in the practice's data folder for
/// an SQLite practice; for a PostgreSQL practice, the database of the practice's name
/// followed by "_codes" on the same server, with the same role.
QString referenceDatabaseUrl(const QString& practiceUrl, const QString& dataPath);
/// Creates the database of url when it does not exist (a PostgreSQL database on its server;
/// an SQLite file's folder). Throws tqGlobal::Error.
void createReferenceDatabase(const QString& url);
/// Drops the database of url (a PostgreSQL database, an SQLite file); nothing when missing.
void dropReferenceDatabase(const QString& url);
/// Whether the database of url exists and holds every one of sets (all five when empty).
/// Never throws: an unreachable database answers false.
bool referenceDatabaseHasSets(const QString& url, const QList<ReferenceSet>& sets = {});
/// The sets the database of url holds; empty when it was never built (it does not exist,
/// or holds no build record). Never creates it. Throws tqGlobal::Error only when the
/// database cannot be reached for another reason (a server that does not answer).
QList<ReferenceSet> referenceDatabaseBuiltSets(const QString& url);

}  // namespace tqhost
