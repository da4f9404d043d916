#include "filesystemsync.h"

#include "filecalls.h"
#include "regularfile.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace tarvo {

FileSystemSync::~FileSystemSync()
{
    for (const auto &entry : m_watched)
        ::close(entry.second.fd);
}

bool FileSystemSync::isAvailable()
{
    static const bool available = [] {
        utsname system;
        int major = 0, minor = 0;
        return ::uname(&system) == 0 && std::sscanf(system.release, "%d.%d", &major, &minor) == 2
               && (major > 5 || (major == 5 && minor >= 8));
    }();
    return available;
}

bool FileSystemSync::watch(dev_t device, const QString &path)
{
    if (m_watched.count(device))
        return true;
    // Any descriptor of the file system will do; it reports the failed
    // writes from its opening on. The file's folder, so that nothing but a
    // folder is opened; where the folder lies on another file system (the
    // file is mounted in its own right), the file is flushed by itself.
    const QByteArray name = QFile::encodeName(path);
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? name.left(slash) : slash == 0 ? QByteArray("/") : QByteArray(".");
    const int fd = retryInterrupted([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd < 0)
        return false;
    struct stat info;
    if (::fstat(fd, &info) != 0 || info.st_dev != device) {
        ::close(fd);
        return false;
    }
    m_watched[device].fd = fd;
    return true;
}

bool FileSystemSync::sync(dev_t device, QString *error)
{
    const auto found = m_watched.find(device);
    if (found == m_watched.end()) {
        *error = systemErrorText(EBADF);
        return false;
    }
    Watched &watched = found->second;
    if (!watched.synced) {
        watched.synced = true;
        while (::syncfs(watched.fd) != 0) {
            if (errno != EINTR) {
                watched.failure = errno;
                break;
            }
        }
    }
    if (watched.failure != 0) {
        *error = systemErrorText(watched.failure);
        return false;
    }
    return true;
}

} // namespace tarvo
