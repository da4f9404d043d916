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

const FileCalls &FileCalls::system()
{
    static const FileCalls calls = {
        openFile, ::pwrite, ::pread, ::fsync, ::close, ::rename,
        ::unlink, ::fchmod, ::fchown, ::ftruncate,
    };
    return calls;
}

} // namespace tarvo
