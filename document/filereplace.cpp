#include "filereplace.h"

#include "regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

// An old file rewritten in place is held in memory meanwhile; a program
// file is a few kilobytes, so anything beyond this is no program file.
constexpr off_t kMaxKeptBytes = 64 * 1024 * 1024;

// Symbolic links are followed this deep, as the system does.
constexpr int kMaxLinks = 40;

enum class Outcome { Done, Failed, TryInPlace };

// Where the bytes really go: `path` with every symbolic link followed, also
// one that leads to a file not made yet.
QString resolvedTarget(const QString &path)
{
    QString target = QFileInfo(path).absoluteFilePath();
    for (int i = 0; i < kMaxLinks; ++i) {
        const QFileInfo info(target);
        if (!info.isSymLink())
            return target;
        target = info.symLinkTarget();
    }
    return target; // a loop: the open below reports it
}

class Saver
{
public:
    Saver(const QString &target, const QByteArray &bytes, const FileCalls &calls)
        : m_target(QFile::encodeName(target)), m_bytes(bytes), m_calls(calls)
    {
    }

    bool save(QString *error)
    {
        struct stat existing;
        if (::stat(m_target.constData(), &existing) == 0) {
            m_exists = true;
            m_old = existing;
            if (!S_ISREG(existing.st_mode))
                return fail(error, S_ISDIR(existing.st_mode) ? QStringLiteral("Is a directory")
                                                             : QStringLiteral("Not a regular file"));
            // A file marked read-only stays as it is, whoever asks.
            if (!(existing.st_mode & S_IWUSR))
                return fail(error, QStringLiteral("The file is read-only"));
            if (::faccessat(AT_FDCWD, m_target.constData(), W_OK, AT_EACCESS) != 0)
                return fail(error, systemErrorText(errno));
        } else if (errno != ENOENT) {
            return fail(error, systemErrorText(errno));
        }

        const Outcome outcome = replaceThroughNewFile(error);
        if (outcome != Outcome::TryInPlace)
            return outcome == Outcome::Done;
        return rewriteInPlace(error);
    }

private:
    bool fail(QString *error, const QString &text)
    {
        if (error)
            *error = text;
        return false;
    }

    Outcome failWith(QString *error, int errorNumber)
    {
        fail(error, systemErrorText(errorNumber));
        return Outcome::Failed;
    }

    // Writes all of `data` at `offset`; false with errno set on failure.
    bool writeAll(int fd, const char *data, qint64 size, off_t offset)
    {
        while (size > 0) {
            const ssize_t put = m_calls.pwrite(fd, data, size_t(size), offset);
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (put == 0) {
                errno = ENOSPC;
                return false;
            }
            data += put;
            size -= put;
            offset += put;
        }
        return true;
    }

    bool readAll(int fd, QByteArray *into, off_t size)
    {
        into->resize(qsizetype(size));
        off_t done = 0;
        while (done < size) {
            const ssize_t got = m_calls.pread(fd, into->data() + done, size_t(size - done), done);
            if (got < 0) {
                if (errno == EINTR)
                    continue;
                return false;
            }
            if (got == 0)
                break; // shorter than it said: keep what is there
            done += got;
        }
        into->resize(qsizetype(done));
        return true;
    }

    QByteArray newFileName() const
    {
        const qsizetype slash = m_target.lastIndexOf('/');
        const QByteArray folder = m_target.left(slash + 1);
        const QByteArray name = m_target.mid(slash + 1);
        const QByteArray tag = QByteArray::number(QRandomGenerator::global()->generate(), 36);
        return folder + '.' + name + '.' + tag + ".new";
    }

    // The normal path: a new file beside the old one, renamed over it.
    Outcome replaceThroughNewFile(QString *error)
    {
        QByteArray fresh;
        int fd = -1;
        for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
            fresh = newFileName();
            // A new file gets the usual mode of new files; one that replaces
            // another starts private and takes the old mode below.
            fd = m_calls.open(fresh.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                              m_exists ? 0600 : 0666);
            if (fd < 0 && errno != EEXIST)
                break;
        }
        if (fd < 0) {
            const int cause = errno;
            // No new file can be made here, but the old one may be written.
            if (m_exists && (cause == EACCES || cause == EPERM))
                return Outcome::TryInPlace;
            return failWith(error, cause);
        }

        auto discard = [&](int cause) {
            if (fd >= 0)
                m_calls.close(fd);
            m_calls.unlink(fresh.constData());
            errno = cause;
        };

        if (!writeAll(fd, m_bytes.constData(), m_bytes.size(), 0) || m_calls.fsync(fd) != 0) {
            const int cause = errno;
            discard(cause);
            return failWith(error, cause);
        }
        if (m_exists) {
            struct stat made;
            const bool sameOwner = ::fstat(fd, &made) == 0 && made.st_uid == m_old.st_uid
                                   && made.st_gid == m_old.st_gid;
            // Owner before mode: a change of owner clears the set-id bits.
            if ((!sameOwner && m_calls.fchown(fd, m_old.st_uid, m_old.st_gid) != 0)
                || m_calls.fchmod(fd, m_old.st_mode & 07777) != 0) {
                // The old file would change hands: write it in place instead.
                discard(errno);
                return Outcome::TryInPlace;
            }
        }
        const int closed = m_calls.close(fd);
        fd = -1;
        if (closed != 0) {
            const int cause = errno;
            discard(cause);
            return failWith(error, cause);
        }
        if (m_calls.rename(fresh.constData(), m_target.constData()) != 0) {
            const int cause = errno;
            discard(cause);
            // A sticky folder, or a file mounted in its own right.
            if (m_exists && (cause == EACCES || cause == EPERM || cause == EBUSY))
                return Outcome::TryInPlace;
            return failWith(error, cause);
        }
        syncFolder();
        return Outcome::Done;
    }

    // Makes the rename itself durable; a folder that cannot be synced is no
    // reason to call a finished save failed.
    void syncFolder()
    {
        const qsizetype slash = m_target.lastIndexOf('/');
        const QByteArray folder = slash > 0 ? m_target.left(slash) : QByteArray("/");
        const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            m_calls.fsync(fd);
            ::close(fd);
        }
    }

    // The fallback: the old file is rewritten where it is. Room for the new
    // bytes is reserved first; should any step fail, the old bytes go back.
    bool rewriteInPlace(QString *error)
    {
        const int fd = m_calls.open(m_target.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0);
        if (fd < 0)
            return fail(error, systemErrorText(errno));
        struct stat opened;
        if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode) || opened.st_dev != m_old.st_dev
            || opened.st_ino != m_old.st_ino) {
            m_calls.close(fd);
            return fail(error, QStringLiteral("The file changed while it was being saved"));
        }
        if (opened.st_size > kMaxKeptBytes) {
            m_calls.close(fd);
            return fail(error, QStringLiteral("The file is too large to be rewritten in place"));
        }
        QByteArray previous;
        if (!readAll(fd, &previous, opened.st_size)) {
            const int cause = errno;
            m_calls.close(fd);
            return fail(error, systemErrorText(cause));
        }

        const off_t size = off_t(m_bytes.size());
        if (size > off_t(previous.size()) && m_calls.reserve(fd, size) != 0
            && errno != EOPNOTSUPP && errno != ENOSYS) {
            const int cause = errno;
            // Nothing of the old bytes was touched; only the length may be.
            m_calls.ftruncate(fd, off_t(previous.size()));
            m_calls.close(fd);
            return fail(error, systemErrorText(cause));
        }
        if (writeAll(fd, m_bytes.constData(), m_bytes.size(), 0) && m_calls.ftruncate(fd, size) == 0
            && m_calls.fsync(fd) == 0) {
            // Every byte is on disk: what closing says changes nothing.
            m_calls.close(fd);
            return true;
        }
        const int cause = errno;
        const bool restored = writeAll(fd, previous.constData(), previous.size(), 0)
                              && m_calls.ftruncate(fd, off_t(previous.size())) == 0 && m_calls.fsync(fd) == 0;
        m_calls.close(fd);
        if (!restored)
            return fail(error, systemErrorText(cause)
                                   + QStringLiteral("; the previous contents could not be put back"));
        return fail(error, systemErrorText(cause));
    }

    const QByteArray m_target;
    const QByteArray &m_bytes;
    const FileCalls &m_calls;
    bool m_exists = false;
    struct stat m_old = {};
};

} // namespace

bool replaceFileContents(const QString &path, const QByteArray &bytes, QString *error, const FileCalls &calls)
{
    if (path.isEmpty()) {
        if (error)
            *error = systemErrorText(ENOENT);
        return false;
    }
    return Saver(resolvedTarget(path), bytes, calls).save(error);
}

} // namespace tarvo
