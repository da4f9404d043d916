#pragma once

#include <QByteArray>

#include <cerrno>
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

// Makes `call` again for as long as it fails with EINTR: a signal that
// arrives while a file is being opened, flushed, cut, renamed or removed
// is no reason to fail the save. Not for close(), see closeFile().
template<typename Call>
auto retryInterrupted(Call call) -> decltype(call())
{
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR)
            return result;
    }
}

// Closes `fd` through `close`. Linux frees the descriptor even when close
// reports EINTR, and another thread may already have it again, so an
// interrupted close counts as done and is never made again.
int closeFile(int (*close)(int), int fd);

using WriteAtCall = ssize_t (*)(int fd, const void *data, size_t size, off_t offset);
using ReadAtCall = ssize_t (*)(int fd, void *data, size_t size, off_t offset);

// Writes all `size` bytes of `data` at `offset` through `pwrite` (made again
// when interrupted). False with errno set; ENOSPC where nothing more goes in.
bool writeAllAt(WriteAtCall pwrite, int fd, const char *data, qint64 size, off_t offset);

// Reads exactly `size` bytes at `offset` into `data` through `pread`. False
// with errno set; EIO where the file ends sooner.
bool readAllAt(ReadAtCall pread, int fd, char *data, qint64 size, off_t offset);

// Puts a folder's entries (new names, renames) on disk now. A folder that
// cannot be opened or flushed is passed over: the files in it are whole
// either way.
void flushFolder(const QByteArray &folder, const FileCalls &calls = FileCalls::system());

} // namespace tarvo
