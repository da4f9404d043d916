#include "scratchmount.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace faults {

ScratchMount::ScratchMount(const QString &folder, int kilobytes) : m_folder(folder)
{
    const QByteArray path = QFile::encodeName(folder);
    const QByteArray options = "size=" + QByteArray::number(kilobytes) + "k,mode=0755";
    if (::mount("tmpfs", path.constData(), "tmpfs", MS_NOSUID | MS_NODEV, options.constData()) == 0)
        m_mounted = true;
    else
        m_error = QString::fromLocal8Bit(std::strerror(errno));
}

ScratchMount::~ScratchMount()
{
    if (m_mounted)
        ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH);
}

bool ScratchMount::makeReadOnly()
{
    if (!m_mounted)
        return false;
    const QByteArray path = QFile::encodeName(m_folder);
    if (::mount("tmpfs", path.constData(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV, nullptr) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

} // namespace faults
