#include "filecalls.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

int openFile(const char *path, int flags, mode_t mode) { return ::open(path, flags, mode); }

int reserveRoom(int fd, off_t length)
{
#ifdef __linux__
    return ::fallocate(fd, 0, 0, length);
#else
    (void)fd;
    (void)length;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

} // namespace

const FileCalls &FileCalls::system()
{
    static const FileCalls calls = {
        openFile, ::pwrite, ::pread, ::fsync, ::close, ::rename,
        ::unlink, ::fchmod, ::fchown, ::ftruncate, reserveRoom,
    };
    return calls;
}

} // namespace tarvo
