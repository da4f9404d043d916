#pragma once

// Puts on disk, together, everything written to some file systems since
// they were first named: one flush of each file system (syncfs) for a
// batch of new files, where a flush of each file would cost one journal
// commit and one disk cache flush a file.

#include <QString>

#include <map>
#include <sys/types.h>

namespace tarvo {

class FileSystemSync
{
public:
    FileSystemSync() = default;
    ~FileSystemSync();
    FileSystemSync(const FileSystemSync &) = delete;
    FileSystemSync &operator=(const FileSystemSync &) = delete;

    // True where the system reports, to a flush of a whole file system,
    // every write to it that failed since the flush's descriptor was
    // opened (Linux 5.8 and later). Elsewhere each file is flushed itself.
    static bool isAvailable();

    // From now on, watches the file system of device `device`, which holds
    // the file at `path` (through the file's folder: the file itself is not
    // opened). False when it cannot be watched.
    bool watch(dev_t device, const QString &path);

    // Flushes the file system of `device` (once, however often asked).
    // False, with `error` set, when it is not watched or any write to it
    // failed since it was.
    bool sync(dev_t device, QString *error);

private:
    struct Watched
    {
        int fd = -1;
        bool synced = false;
        int failure = 0; // errno of the flush
    };
    std::map<dev_t, Watched> m_watched;
};

} // namespace tarvo
