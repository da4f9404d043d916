#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

struct stat;

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
    // followed as resolveSaveTarget says). Only a regular file (or the
    // folder of a missing one) is opened to be locked: a directory, a FIFO,
    // a device or a socket named as the file is not opened at all. False
    // with `error` set when the link is refused, no more files can be
    // opened, or the lock fails (a signal that interrupts the wait only
    // makes it wait again): a save must not go on unlocked. A file that
    // cannot be opened at all (no rights, no such folder, not a regular
    // file) is no failure: what comes next reports it.
    bool lock(const QString &path, QString *error);

    // As lock(), for a path already resolved (see SaveTargets): the name is
    // resolved again only where it changed meanwhile.
    bool lockTarget(const QByteArray &target, QString *error);

    // Releases the lock (also done by the destructor).
    void unlock();

    bool isHeld() const;

    // The lock's own descriptor of the file where it could be opened for
    // reading (not for a file this user may only write, nor for a folder),
    // so that the file can be read under the lock without being opened
    // again; -1 otherwise.
    int readableDescriptor() const;

    // What lstat said of the file once it was locked; null for a folder.
    const struct stat *lockedFile() const;

private:
    enum class Attempt { Done, Again, Failed };
    Attempt lockOnce(const QByteArray &name, QString *error);

    struct Held;
    std::unique_ptr<Held> m_held;
};

// Locks of many files at once, taken in one order that every process uses
// (by the files' absolute paths), so that two commands locking the same
// files never wait for each other for ever. Raises the limit of open files
// as far as the system allows. "-" (standard input or output) is passed
// over. False, with `error` naming the file, at the first that cannot be
// locked; where `unlocked` is given, such a file is put there with the
// reason instead, and the others are locked all the same.
class SaveLocks
{
public:
    bool lockAll(const QStringList &paths, QString *error, QHash<QString, QString> *unlocked = nullptr);

    // The same for a run that resolved its paths (`targets`, in the order
    // of `paths`; an empty target is passed over).
    bool lockAll(const QStringList &paths, const QList<QByteArray> &targets, QString *error,
                 QHash<QString, QString> *unlocked = nullptr);

    // The lock of paths[index] as lockAll took it (not held where there was
    // nothing to lock).
    const SaveLock &lockOf(qsizetype index) const;

private:
    std::vector<SaveLock> m_locks; // in the order of the paths
};

// True when this process already holds the save lock of the file (or, for
// a missing file, the folder) with this device and inode number.
bool holdsSaveLock(unsigned long long device, unsigned long long inode);

} // namespace tarvo
