#pragma once

#include <QString>
#include <QTemporaryDir>

namespace tqtest {

/// A folder on a file system of its own, for the faults of a full disk and a read-only folder.
/// Where the process may mount (root, as on CI), the folder is a tmpfs of the given size, so a
/// write past it fails with "No space left on device" exactly as on a full disk, and read-only
/// is a read-only remount that holds for root too. Elsewhere it is a plain temporary folder:
/// read-only falls back to the folder's permissions and a full disk cannot be made, which
/// mounted() tells the test so that it can say what it skipped.
class ScratchDisk {
public:
    explicit ScratchDisk(qint64 bytes = 256 * 1024);
    ~ScratchDisk();
    ScratchDisk(const ScratchDisk&) = delete;
    ScratchDisk& operator=(const ScratchDisk&) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_folder.path(); }
    QString filePath(const QString& name) const { return m_folder.filePath(name); }

    /// Takes all the space that is left (one file, "ballast"); false when not mounted.
    bool fill();
    /// Gives the space of fill() back.
    void release();
    /// Makes the folder read-only, or writable again.
    void setReadOnly(bool readOnly);

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
};

}  // namespace tqtest
