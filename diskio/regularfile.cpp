#include "regularfile.h"

#include "filecalls.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

QString notRegularText(unsigned mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("Is a directory");
    return QStringLiteral("Not a regular file");
}

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

QString systemErrorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

int openRegular(const QByteArray &name, int flags, struct stat *info, bool *notRegular)
{
    if (notRegular)
        *notRegular = false;
    if (name.isEmpty()) {
        errno = ENOENT;
        return -1;
    }
    const int handle = retryInterrupted(
        [&] { return ::open(name.constData(), O_PATH | O_CLOEXEC | (flags & O_NOFOLLOW)); });
    if (handle < 0)
        return -1;
    struct stat found;
    if (::fstat(handle, &found) != 0) {
        const int cause = errno;
        ::close(handle);
        errno = cause;
        return -1;
    }
    if (info)
        *info = found;
    if (!S_ISREG(found.st_mode)) {
        ::close(handle);
        if (notRegular)
            *notRegular = true;
        errno = S_ISDIR(found.st_mode) ? EISDIR : (S_ISLNK(found.st_mode) ? ELOOP : ENXIO);
        return -1;
    }
    const int opening = (flags & ~(O_NOFOLLOW | O_CREAT | O_EXCL | O_TRUNC | O_DIRECTORY)) | O_NOCTTY;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(handle);
    int fd = retryInterrupted([&] { return ::open(self.constData(), opening); });
    if (fd < 0 && errno == ENOENT) {
        // No /proc: by name, without waiting on whatever may have taken the
        // name meanwhile, and only if it is still the same file.
        fd = retryInterrupted([&] { return ::open(name.constData(), opening | O_NONBLOCK | (flags & O_NOFOLLOW)); });
        struct stat opened;
        if (fd >= 0
            && (::fstat(fd, &opened) != 0 || opened.st_dev != found.st_dev || opened.st_ino != found.st_ino)) {
            ::close(fd);
            fd = -1;
            errno = ESTALE;
        } else if (fd >= 0 && !(opening & O_NONBLOCK)) {
            ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
        }
    }
    const int cause = errno;
    ::close(handle);
    errno = cause;
    return fd;
}

int openRegularFile(const QString &path, QString *error, struct stat *info)
{
    struct stat found = {};
    bool notRegular = false;
    const int fd = openRegular(QFile::encodeName(path), O_RDONLY | O_CLOEXEC, &found, &notRegular);
    if (fd < 0) {
        fail(error, notRegular ? notRegularText(found.st_mode) : systemErrorText(errno));
        return -1;
    }
    if (info)
        *info = found;
    return fd;
}

bool openRegularFileForReading(QFile &file, const QString &path, QString *error)
{
    const int fd = openRegularFile(path, error);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const QString text = file.errorString();
        ::close(fd);
        return fail(error, text);
    }
    return true;
}

} // namespace tarvo
