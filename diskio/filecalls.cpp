#include "filecalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

int openFile(const char *path, int flags, mode_t mode) { return ::open(path, flags, mode); }

} // namespace

int closeFile(int (*close)(int), int fd)
{
    return close(fd) == 0 || errno == EINTR ? 0 : -1;
}

const FileCalls &FileCalls::system()
{
    static const FileCalls calls = {
        openFile, ::pwrite, ::pread, ::fsync, ::close, ::rename,
        ::unlink, ::fchmod, ::fchown, ::ftruncate,
    };
    return calls;
}

bool writeAllAt(WriteAtCall pwrite, int fd, const char *data, qint64 size, off_t offset)
{
    while (size > 0) {
        const ssize_t put = pwrite(fd, data, size_t(size), offset);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            if (put == 0)
                errno = ENOSPC;
            return false;
        }
        data += put;
        size -= put;
        offset += put;
    }
    return true;
}

bool readAllAt(ReadAtCall pread, int fd, char *data, qint64 size, off_t offset)
{
    while (size > 0) {
        const ssize_t got = pread(fd, data, size_t(size), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = EIO; // the file ends before the bytes asked for
            return false;
        }
        data += got;
        size -= got;
        offset += got;
    }
    return true;
}

void flushFolder(const QByteArray &folder, const FileCalls &calls)
{
    const int fd = retryInterrupted([&] { return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
    if (fd >= 0) {
        retryInterrupted([&] { return calls.fsync(fd); });
        closeFile(::close, fd);
    }
}

} // namespace tarvo
