#pragma once

#include <sys/types.h>

namespace tarvo {

// The system calls through which a file is saved. The real ones unless a
// test hands in others, to make one of them fail at a chosen moment (a disk
// that reports a lost write only when the data is finally written out).
struct FileCalls
{
    int (*open)(const char *path, int flags, mode_t mode);
    ssize_t (*pwrite)(int fd, const void *data, size_t size, off_t offset);
    ssize_t (*pread)(int fd, void *data, size_t size, off_t offset);
    int (*fsync)(int fd);
    int (*close)(int fd);
    int (*rename)(const char *from, const char *to);
    int (*unlink)(const char *path);
    int (*fchmod)(int fd, mode_t mode);
    int (*fchown)(int fd, uid_t owner, gid_t group);
    int (*ftruncate)(int fd, off_t length);

    static const FileCalls &system();
};

} // namespace tarvo
