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
    bool readable = false;
    struct stat now = {}; // the file once locked; for a folder, st_mode 0
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

int SaveLock::readableDescriptor() const { return isHeld() && m_held->readable ? m_held->fd : -1; }

const struct stat *SaveLock::lockedFile() const
{
    return isHeld() && m_held->now.st_mode != 0 ? &m_held->now : nullptr;
}

void SaveLock::unlock()
{
    if (!isHeld())
        return;
    noteReleased(m_held->key);
    // Closing the lock's one descriptor releases it: none is ever
    // duplicated, and Linux frees a descriptor whatever close reports.
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
        const Attempt result = lockOnce(name, error);
        if (result != Attempt::Again)
            return result == Attempt::Done;
    }
    return true;
}

bool SaveLock::lockTarget(const QByteArray &target, QString *error)
{
    unlock();
    const Attempt result = lockOnce(target, error);
    if (result != Attempt::Again)
        return result == Attempt::Done;
    // The name changed meanwhile (a link put there, the file replaced):
    // resolved again, as any save does.
    return lock(QFile::decodeName(target), error);
}

SaveLock::Attempt SaveLock::lockOnce(const QByteArray &name, QString *error)
{
    // Opens nothing but a regular file: never a FIFO, a device or a
    // socket, not even to lock it.
    struct stat locked;
    bool notRegular = false;
    bool readable = true;
    int fd = openRegular(name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC, &locked, &notRegular);
    if (fd < 0 && errno == EACCES && !notRegular) { // a file this user may write but not read
        readable = false;
        fd = openRegular(name, O_WRONLY | O_NOFOLLOW | O_CLOEXEC, &locked, &notRegular);
    }
    bool forFolder = false;
    if (fd < 0 && notRegular) {
        if (S_ISLNK(locked.st_mode))
            return Attempt::Again; // a link put there meanwhile: resolve again
        return Attempt::Done; // nothing that is saved into is locked; the save says why
    }
    if (fd < 0 && errno == ENOENT) {
        forFolder = true;
        readable = false;
        fd = retryInterrupted([&] { return ::open(folderOf(name).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); });
        if (fd < 0)
            return Attempt::Done; // no such folder, or none to read: the save says what it can do
        if (::fstat(fd, &locked) != 0) {
            ::close(fd);
            return Attempt::Done;
        }
    } else if (fd < 0) {
        if (errno == EMFILE || errno == ENFILE) {
            *error = QStringLiteral("too many files open to lock one more: %1").arg(systemErrorText(errno));
            return Attempt::Failed;
        }
        if (errno == ELOOP)
            return Attempt::Again; // a link put there meanwhile: resolve again
        return Attempt::Done; // the save itself says why the file cannot be written
    }
    const FileKey key(locked.st_dev, locked.st_ino);
    if (holdsSaveLock(key.first, key.second)) {
        ::close(fd); // already ours: closing this second descriptor keeps it
        return Attempt::Done;
    }
    if (waitForLock(fd) != 0) {
        // Unlocked, a save could cross another writer's: the file is
        // not saved.
        *error = QStringLiteral("it cannot be locked (%1)").arg(systemErrorText(errno));
        ::close(fd);
        return Attempt::Failed;
    }
    // Still the file that the path names (or, for a folder, still no file)?
    struct stat now;
    const bool same = forFolder ? ::lstat(name.constData(), &now) != 0 && errno == ENOENT
                                : ::lstat(name.constData(), &now) == 0 && now.st_dev == locked.st_dev
                                      && now.st_ino == locked.st_ino;
    if (!same) {
        ::close(fd);
        return Attempt::Again;
    }
    m_held = std::make_unique<Held>();
    m_held->fd = fd;
    m_held->key = key;
    m_held->readable = readable;
    if (!forFolder)
        m_held->now = now;
    noteHeld(key);
    return Attempt::Done;
}

bool SaveLocks::lockAll(const QStringList &paths, QString *error, QHash<QString, QString> *unlocked)
{
    QList<QByteArray> targets;
    targets.reserve(paths.size());
    for (const QString &path : paths) {
        QString target;
        if (path == QLatin1String("-")) {
            targets.append(QByteArray()); // standard input or output: nothing to lock
        } else if (!resolveSaveTarget(path, &target, error)) {
            if (!unlocked) {
                *error = QStringLiteral("cannot lock %1: %2").arg(path, *error);
                return false;
            }
            unlocked->insert(path, *error);
            targets.append(QByteArray());
        } else {
            targets.append(QFile::encodeName(target));
        }
    }
    return lockAll(paths, targets, error, unlocked);
}

bool SaveLocks::lockAll(const QStringList &paths, const QList<QByteArray> &targets, QString *error,
                        QHash<QString, QString> *unlocked)
{
    rlimit files;
    if (::getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }
    QList<QPair<QByteArray, qsizetype>> order; // (target, index of the path)
    for (qsizetype i = 0; i < paths.size(); ++i) {
        if (!targets.value(i).isEmpty())
            order.append({targets.at(i), i});
    }
    std::sort(order.begin(), order.end());
    m_locks.clear();
    m_locks.resize(size_t(paths.size()));
    for (const auto &entry : std::as_const(order)) {
        SaveLock &lock = m_locks[size_t(entry.second)];
        if (!lock.lockTarget(entry.first, error)) {
            const QString &path = paths.at(entry.second);
            if (unlocked) {
                unlocked->insert(path, *error);
                continue;
            }
            *error = QStringLiteral("cannot lock %1: %2").arg(path, *error);
            return false;
        }
    }
    return true;
}

const SaveLock &SaveLocks::lockOf(qsizetype index) const
{
    static const SaveLock none;
    return index >= 0 && size_t(index) < m_locks.size() ? m_locks[size_t(index)] : none;
}

bool holdsSaveLock(unsigned long long device, unsigned long long inode)
{
    const QMutexLocker locker(&g_heldMutex);
    return g_held.count(FileKey(device, inode)) > 0;
}

} // namespace tarvo
