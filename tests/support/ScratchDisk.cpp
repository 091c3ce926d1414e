#include "ScratchDisk.h"

#include <QFile>

#include <sys/mount.h>

namespace tqtest {

ScratchDisk::ScratchDisk(qint64 bytes) {
    const QByteArray where = QFile::encodeName(m_folder.path());
    const QByteArray options = "size=" + QByteArray::number(bytes) + ",mode=0777";
    m_mounted = ::mount("tmpfs", where.constData(), "tmpfs", 0, options.constData()) == 0;
}

ScratchDisk::~ScratchDisk() {
    setReadOnly(false);
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder.path()).constData(), MNT_DETACH);
}

bool ScratchDisk::fill() {
    if (!m_mounted)
        return false;
    QFile ballast(filePath(QStringLiteral("ballast")));
    if (!ballast.open(QIODevice::WriteOnly | QIODevice::Append))
        return false;
    const QByteArray block(4096, 'x');
    while (ballast.write(block) == block.size() && ballast.flush()) {
    }
    // The last partial block: one byte at a time until nothing more fits.
    while (ballast.write("x", 1) == 1 && ballast.flush()) {
    }
    return true;
}

void ScratchDisk::release() {
    QFile::remove(filePath(QStringLiteral("ballast")));
}

void ScratchDisk::setReadOnly(bool readOnly) {
    const QByteArray where = QFile::encodeName(m_folder.path());
    if (m_mounted) {
        const unsigned long flags =
            MS_REMOUNT | (readOnly ? static_cast<unsigned long>(MS_RDONLY) : 0UL);
        ::mount(nullptr, where.constData(), nullptr, flags, nullptr);
        return;
    }
    QFile::setPermissions(m_folder.path(), readOnly
                                               ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                               : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner);
}

}  // namespace tqtest
