#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace tarvo {

// The advisory lock that every writer of a program file holds while it
// writes: the editor's Save, and each tarvo-prg command that writes a file.
// It is an flock() lock on the file itself, taken through a descriptor of
// its own, so it is released when the process ends however it ends.
//
// A file that does not exist yet is represented by its folder: writers that
// make a new file lock the folder, and look again once they hold it.
//
// After the lock is taken the path is looked up again: a writer that
// replaced the file through a rename leaves the lock on the old file, which
// no name leads to any more, and the lock is then taken anew.
//
// Within one process the lock is held once: a save inside a scope that
// already holds the lock of its file (as `set` does from its read to its
// write) does not wait for itself.
class SaveLock
{
public:
    SaveLock();
    ~SaveLock();
    SaveLock(SaveLock &&other) noexcept;
    SaveLock &operator=(SaveLock &&other) noexcept;
    SaveLock(const SaveLock &) = delete;
    SaveLock &operator=(const SaveLock &) = delete;

    // Waits for and takes the lock of the file at `path` (a symbolic link
    // followed as resolveSaveTarget says). False with `error` set when the
    // link is refused or no more files can be opened. A file that cannot be
    // opened or locked at all (no rights, no such folder, a file system
    // without locks) is no failure: what comes next reports the first two,
    // and a save goes on unlocked on the last.
    bool lock(const QString &path, QString *error);

    // Releases the lock (also done by the destructor).
    void unlock();

    bool isHeld() const;

private:
    struct Held;
    std::unique_ptr<Held> m_held;
};

// Locks of many files at once, taken in one order that every process uses
// (by the files' absolute paths), so that two commands locking the same
// files never wait for each other for ever. Raises the limit of open files
// as far as the system allows. "-" (standard input or output) is passed
// over.
class SaveLocks
{
public:
    bool lockAll(const QStringList &paths, QString *error);

private:
    std::vector<SaveLock> m_locks;
};

// True when this process already holds the save lock of the file (or, for
// a missing file, the folder) with this device and inode number.
bool holdsSaveLock(unsigned long long device, unsigned long long inode);

} // namespace tarvo
