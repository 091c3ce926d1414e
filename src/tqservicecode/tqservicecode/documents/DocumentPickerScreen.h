#pragma once

#include <tqservicecode/core/HostProtocol.h>

#include <QString>

namespace tqservicecode {

/// What the code that opens the document file picker ("FileSearch") needs of it: the
/// files it offers, the folder it opens on, and the file chosen once it has closed.
class DocumentPickerScreen {
public:
    virtual ~DocumentPickerScreen() = default;
    /// The files listed, for example "*.RTF".
    virtual void setFilePattern(const QString& pattern) = 0;
    /// The folder the screen opens on, below the host's data folder (for example the
    /// word-processing folder "WP\").
    virtual void setDirPath(const QString& folder) = 0;
    /// True lists the documents' titles ("Name/ Document Title") instead of file titles.
    virtual void setInitialParm(bool documentTitles) = 0;
    /// The chosen file's name ("" when the screen was cancelled or nothing was chosen).
    virtual QString SelFiels() const = 0;
};

inline const QString DocumentPickerScreenName = protocol::screen::DocumentPicker;

}  // namespace tqservicecode
