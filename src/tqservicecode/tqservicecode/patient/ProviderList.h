#pragma once

#include <QList>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

namespace tqplatform {
class Recordset;
}

/// The people the provider list (DocList) offers: which list, the statement that reads
/// it, the text of each entry, and the size file that remembers the window per user.
namespace tqservicecode::providers {

/// The ScreenNumber that asks the list for the practice's employees.
inline constexpr int32_t EmployeeListNumber = -33333;
/// Characters of an entry before the tab: name and title, padded or cut.
inline constexpr int EntryNameWidth = 40;

/// Which people a list shows and what the screen calls it.
struct ListKind {
    /// The person-type column: people of type "1" are listed first, then type "2".
    QString typeField;
    /// The caption the screen carries once loaded.
    QString caption;
    /// The size file's name starts with it; the user's name follows.
    QString layoutTag;
};

/// The list a ScreenNumber asks for. The employee list is the only one the component
/// opens; every number gives it.
ListKind listKindFor(int32_t screenNumber);

/// The layout key: the list's tag followed directly by the user's name.
QString layoutKey(const ListKind& kind, const QString& userName);

/// The statement that reads the people of both types, ordered by type.
QString listStatement(const QString& typeField);

/// An entry: "Last, First Title" padded with blanks or cut to EntryNameWidth
/// characters, a tab, and the initials.
QString entryText(const QString& lastName, const QString& firstName, const QString& title,
                  const QString& initials);

struct Entry {
    QString text;
    /// The person's pID.
    int32_t id = 0;
};

/// Appends the entries of rows read by listStatement: the rows of type "1" in the order
/// read, then those of type "2". Throws what the recordset throws; the entries appended
/// before then stay.
void appendEntries(tqplatform::Recordset& rows, const QString& typeField, QList<Entry>& entries);

/// Reads the list through the host; a database error throws (tqGlobal::Error), for the
/// screen to tell the user.
QList<Entry> loadEntries(const QString& typeField);
/// What the screen tells the user when the list could not be read, and why.
QString unreadListMessage(const QString& reason);

/// The size file: "<key>.STP" in the data folder's STP folder.
QString sizeFilePath(const QString& dataPath, const QString& layoutKey);

/// The saved window size in twips, from the line "height,width,"; nothing when the file
/// is missing or its line does not hold two positive numbers.
std::optional<QSize> readSizeFile(const QString& path);

/// Writes the window size in twips as the line "height,width,". False when the file
/// could not be written.
bool writeSizeFile(const QString& path, const QSize& sizeTwips);

/// A saved size reduced, side by side, to what the screen offers (unchanged when the
/// screen offers nothing).
QSize keptWithin(const QSize& saved, const QSize& available);

}  // namespace tqservicecode::providers
