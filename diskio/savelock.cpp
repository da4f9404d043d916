#include "savelock.h"

#include "filecalls.h"
#include "regularfile.h"
#include "savetarget.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

using FileKey = std::pair<unsigned long long, unsigned long long>;

// The locks this process holds, by device and inode, with how often.
QMutex g_heldMutex;
std::map<FileKey, int> g_held;

void noteHeld(const FileKey &key)
{
    const QMutexLocker locker(&g_heldMutex);
    ++g_held[key];
}

void noteReleased(const FileKey &key)
{
    const QMutexLocker locker(&g_heldMutex);
    const auto found = g_held.find(key);
    if (found != g_held.end() && --found->second == 0)
        g_held.erase(found);
}

bool heldByThisProcess()
{
    const QMutexLocker locker(&g_heldMutex);
    return !g_held.empty();
}

// Enough attempts for any real race; a path that keeps changing under us
// for this long is left unlocked and the save goes on as it would anyway.
constexpr int kAttempts = 1000;

int waitForLock(int fd)
{
    return retryInterrupted([&] { return ::flock(fd, LOCK_EX); });
}

QByteArray folderOf(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash > 0 ? path.left(slash) : QByteArray("/");
}

} // namespace

struct SaveLock::Held
{
    int fd = -1;
    FileKey key;
};

SaveLock::SaveLock() = default;
SaveLock::~SaveLock() { unlock(); }
SaveLock::SaveLock(SaveLock &&other) noexcept = default;

SaveLock &SaveLock::operator=(SaveLock &&other) noexcept
{
    if (this != &other) {
        unlock();
        m_held = std::move(other.m_held);
    }
    return *this;
}

bool SaveLock::isHeld() const { return m_held && m_held->fd >= 0; }

void SaveLock::unlock()
{
    if (!isHeld())
        return;
    noteReleased(m_held->key);
    // Released before the descriptor goes: a close that fails must not
    // leave the lock held against this very process's next lock of it.
    ::flock(m_held->fd, LOCK_UN);
    ::close(m_held->fd);
    m_held.reset();
}

bool SaveLock::lock(const QString &path, QString *error)
{
    unlock();
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        QString target;
        if (!resolveSaveTarget(path, &target, error))
            return false;
        const QByteArray name = QFile::encodeName(target);
        struct stat named;
        if (attempt == 0 && heldByThisProcess() && ::stat(name.constData(), &named) == 0
            && holdsSaveLock(named.st_dev, named.st_ino))
            return true; // a save within a run that holds the lock already
        // Opens nothing but a regular file: never a FIFO, a device or a
        // socket, not even to lock it.
        struct stat locked;
        bool notRegular = false;
        int fd = openRegular(name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC, &locked, &notRegular);
        if (fd < 0 && errno == EACCES && !notRegular) // a file this user may write but not read
            fd = openRegular(name, O_WRONLY | O_NOFOLLOW | O_CLOEXEC, &locked, &notRegular);
        bool forFolder = false;
        if (fd < 0 && notRegular) {
            if (S_ISLNK(locked.st_mode))
                continue; // a link put there meanwhile: resolve again
            return true; // nothing that is saved into is locked; the save says why
        }
        if (fd < 0 && errno == ENOENT) {
            forFolder = true;
            fd = retryInterrupted(
                [&] { return ::open(folderOf(name).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
            if (fd < 0)
                return true; // no such folder, or none to read: the save says what it can do
            if (::fstat(fd, &locked) != 0) {
                ::close(fd);
                return true;
            }
        } else if (fd < 0) {
            if (errno == EMFILE || errno == ENFILE) {
                *error = QStringLiteral("too many files open to lock one more: %1").arg(systemErrorText(errno));
                return false;
            }
            if (errno == ELOOP)
                continue; // a link put there meanwhile: resolve again
            return true; // the save itself says why the file cannot be written
        }
        const FileKey key(locked.st_dev, locked.st_ino);
        if (holdsSaveLock(key.first, key.second)) {
            ::close(fd); // already ours: closing this second descriptor keeps it
            return true;
        }
        if (waitForLock(fd) != 0) {
            // Unlocked, a save could cross another writer's: the file is
            // not saved.
            *error = QStringLiteral("it cannot be locked (%1)").arg(systemErrorText(errno));
            ::close(fd);
            return false;
        }
        // Still the file that the path names (or, for a folder, still no file)?
        struct stat now;
        const bool same = forFolder ? ::lstat(name.constData(), &now) != 0 && errno == ENOENT
                                    : ::lstat(name.constData(), &now) == 0 && now.st_dev == locked.st_dev
                                          && now.st_ino == locked.st_ino;
        if (!same) {
            ::close(fd);
            continue;
        }
        m_held = std::make_unique<Held>();
        m_held->fd = fd;
        m_held->key = key;
        noteHeld(key);
        return true;
    }
    return true;
}

bool SaveLocks::lockAll(const QStringList &paths, QString *error, QHash<QString, QString> *unlocked)
{
    rlimit files;
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }
    QList<QPair<QString, QString>> order; // (target, path as given)
    for (const QString &path : paths) {
        if (path == QLatin1String("-"))
            continue; // standard input or output: nothing to lock
        QString target;
        if (!resolveSaveTarget(path, &target, error)) {
            if (unlocked) {
                unlocked->insert(path, *error);
                continue;
            }
            *error = QStringLiteral("cannot lock %1: %2").arg(path, *error);
            return false;
        }
        order.append({target, path});
    }
    std::sort(order.begin(), order.end());
    m_locks.reserve(size_t(order.size()));
    for (const auto &entry : order) {
        SaveLock lock;
        if (!lock.lock(entry.first, error)) {
            if (unlocked) {
                unlocked->insert(entry.second, *error);
                continue;
            }
            *error = QStringLiteral("cannot lock %1: %2").arg(entry.second, *error);
            return false;
        }
        if (lock.isHeld())
            m_locks.push_back(std::move(lock));
    }
    return true;
}

bool holdsSaveLock(unsigned long long device, unsigned long long inode)
{
    const QMutexLocker locker(&g_heldMutex);
    return g_held.count(FileKey(device, inode)) > 0;
}

} // namespace tarvo
