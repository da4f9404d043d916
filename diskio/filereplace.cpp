#include "filereplace.h"

#include "filefingerprint.h"
#include "programbytes.h"
#include "regularfile.h"
#include "savejournal.h"
#include "savelock.h"
#include "savetarget.h"

#include <QFile>
#include <QMutexLocker>
#include <QRandomGenerator>

#include <memory>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace tarvo {

namespace {

// An old file rewritten in place is held in memory meanwhile; a program
// file is a few kilobytes, so anything beyond this is no program file.
constexpr off_t kMaxKeptBytes = 64 * 1024 * 1024;

enum class Outcome { Done, Written, Failed, TryInPlace, TryNamed, Changed };

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// Copies every extended attribute of the file at `from` (its access control
// list among them) to the open file `to`. False when one that the old file
// has cannot be given to the new one.
bool copyAttributes(const QByteArray &from, int to)
{
    QByteArray names(4096, Qt::Uninitialized);
    ssize_t size;
    while ((size = ::llistxattr(from.constData(), names.data(), size_t(names.size()))) < 0 && errno == ERANGE)
        names.resize(names.size() * 4);
    if (size < 0)
        return errno == ENOTSUP || errno == ENOSYS; // a file system without them
    for (qsizetype at = 0; at < size;) {
        const char *name = names.constData() + at;
        at += qsizetype(qstrlen(name)) + 1;
        QByteArray value(256, Qt::Uninitialized);
        ssize_t length;
        while ((length = ::lgetxattr(from.constData(), name, value.data(), size_t(value.size()))) < 0
               && errno == ERANGE)
            value.resize(value.size() * 4);
        if (length < 0 || ::fsetxattr(to, name, value.constData(), size_t(length), 0) != 0)
            return false;
    }
    return true;
}

class Saver
{
public:
    // `known`, when given, is what stat says of the target now (st_mode 0:
    // there is none), so that it is not asked again; `leftoverPossible`
    // false says that no new file of an earlier save is beside it.
    Saver(const QByteArray &target, const QByteArray &bytes, const FileCalls &calls,
          const struct stat *known = nullptr, bool leftoverPossible = true)
        : m_target(target), m_bytes(bytes), m_calls(calls), m_leftoverPossible(leftoverPossible)
    {
        const qsizetype slash = m_target.lastIndexOf('/');
        m_folder = slash > 0 ? m_target.left(slash) : QByteArray("/");
        m_name = m_target.mid(slash + 1);
        if (known) {
            m_known = true;
            m_exists = known->st_mode != 0;
            m_old = *known;
        }
    }

    ~Saver() { discard(errno); }

    Saver(const Saver &) = delete;
    Saver &operator=(const Saver &) = delete;

    enum class Step { Failed, Done, Written };

    // The first step: the new bytes written into a new file, not yet on
    // disk for certain nor in the old one's place (Written); or the whole
    // save done where the file must be rewritten in place (Done).
    Step write(QString *error)
    {
        struct stat existing = m_old;
        if (!m_known) {
            if (::stat(m_target.constData(), &existing) == 0) {
                m_exists = true;
                m_old = existing;
            } else if (errno != ENOENT) {
                return failStep(error, systemErrorText(errno));
            }
        }
        if (m_exists) {
            if (!S_ISREG(existing.st_mode))
                return failStep(error, S_ISDIR(existing.st_mode) ? QStringLiteral("Is a directory")
                                                                 : QStringLiteral("Not a regular file"));
            // A file marked read-only stays as it is, whoever asks.
            if (!(existing.st_mode & S_IWUSR))
                return failStep(error, QStringLiteral("The file is read-only"));
            // Its owner may write it by its mode (an access control list
            // never takes that from the owner), as may the superuser; anyone
            // else is asked about. (A file system mounted read-only or a
            // file marked immutable fails the steps below with the same
            // error.)
            static const uid_t user = ::geteuid();
            if (user != 0 && user != existing.st_uid
                && ::faccessat(AT_FDCWD, m_target.constData(), W_OK, AT_EACCESS) != 0)
                return failStep(error, systemErrorText(errno));
        }

        // A file with several names is rewritten where it is, so that every
        // name sees the new contents.
        Outcome outcome = m_exists && m_old.st_nlink > 1 ? Outcome::TryInPlace : writeNewFile(true, error);
        if (outcome == Outcome::TryNamed)
            outcome = writeNewFile(false, error);
        return finish(outcome, error);
    }

    // The second step: the new file on disk.
    bool sync(QString *error)
    {
        if (m_fd < 0)
            return true;
        if (retryInterrupted([&] { return m_calls.fsync(m_fd); }) == 0)
            return true;
        const int cause = errno;
        discard(cause);
        failWith(error, cause, m_litter);
        return false;
    }

    // The last step: the new file in the old one's place, its folder
    // flushed now or, where `flushes` is given, with the run's others.
    bool commit(QString *error, FolderFlushes *flushes)
    {
        if (m_fd < 0)
            return true;
        m_flushes = flushes;
        Outcome outcome = putInPlace(error);
        if (outcome == Outcome::TryNamed) {
            outcome = writeNewFile(false, error);
            if (outcome == Outcome::Written)
                outcome = sync(error) ? putInPlace(error) : Outcome::Failed;
        }
        return finish(outcome, error) == Step::Done;
    }

    // What the user should know of a save that went through: what it could
    // not clear away.
    QString notice() const { return m_notice; }

    // True when the save stopped because the file was no longer as the
    // status it was given says: another program wrote it.
    bool changed() const { return m_changed; }

private:
    // Size, times, inode and device alike.
    static bool sameState(const struct stat &a, const struct stat &b)
    {
        return fingerprintOfStat(a).sameStat(fingerprintOfStat(b));
    }

    // True when the target is no longer the file the given status says.
    bool changedSinceKnown()
    {
        struct stat now;
        m_changed = ::stat(m_target.constData(), &now) == 0 ? !sameState(now, m_old) : m_exists;
        return m_changed;
    }

    Step failStep(QString *error, const QString &text)
    {
        fail(error, text);
        return Step::Failed;
    }

    Outcome failWith(QString *error, int errorNumber, const QString &more = QString())
    {
        fail(error, systemErrorText(errorNumber) + more);
        return Outcome::Failed;
    }

    Step finish(Outcome outcome, QString *error)
    {
        switch (outcome) {
        case Outcome::Written: return Step::Written;
        case Outcome::Done: return Step::Done;
        case Outcome::TryInPlace: return rewriteInPlace(error) ? Step::Done : Step::Failed;
        case Outcome::Changed:
            fail(error, QStringLiteral("The file changed while it was being saved"));
            break;
        case Outcome::TryNamed:
        case Outcome::Failed: break;
        }
        return Step::Failed;
    }

    // The name a new file has until it takes the old one's place. One
    // writer at a time holds the file's lock, so one name serves; a file of
    // that name that no live writer holds is a leftover of a save that was
    // killed, and goes. Should it be held (a writer that did not lock the
    // target), a name of its own.
    QByteArray pendingName(QString *litter) const
    {
        const QByteArray pending = pendingSaveName(m_target);
        QString stuck;
        switch (removeLeftoverSave(pending, &stuck)) {
        case Leftover::None:
        case Leftover::Removed: return pending;
        case Leftover::Stuck: *litter = QStringLiteral("; ") + stuck; break;
        case Leftover::InUse: break;
        }
        const QByteArray tag = QByteArray::number(QRandomGenerator::global()->generate(), 36);
        return m_folder + "/." + m_name + '.' + tag + ".saving";
    }

    // The new file: unnamed until complete where the file system allows
    // it (`unnamed`), else under the pending name, which it holds locked.
    int makeNewFile(bool unnamed, QByteArray *fresh, QString *litter)
    {
        // An unnamed file is made with the old one's permissions at once
        // (nobody can open it until it has a name); a named one is private
        // until it has them.
        const mode_t mode = !m_exists ? 0666 : unnamed ? (m_old.st_mode & 0777) : 0600;
        if (!unnamed)
            *fresh = pendingName(litter);
        const int fd = retryInterrupted([&] {
            return unnamed ? m_calls.open(m_folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode)
                           : m_calls.open(fresh->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        });
        if (fd >= 0)
            ::flock(fd, LOCK_EX | LOCK_NB); // marks it as a live writer's
        return fd;
    }

    // Gives up the new file, if there is one: closed, and gone from the
    // folder if it was named there. errno is `cause` afterwards.
    void discard(int cause)
    {
        if (m_fd >= 0)
            closeFile(m_calls.close, m_fd);
        m_fd = -1;
        if (m_linked && retryInterrupted([&] { return m_calls.unlink(m_fresh.constData()); }) != 0)
            m_litter += QStringLiteral("; the unfinished file %1 could not be removed: %2")
                            .arg(QFile::decodeName(m_fresh), systemErrorText(errno));
        m_linked = false;
        errno = cause;
    }

    // The normal path, first step: a new file beside the old one, with the
    // old one's owner, mode and attributes.
    Outcome writeNewFile(bool unnamed, QString *error)
    {
        m_unnamed = unnamed;
        m_fresh.clear();
        m_fd = makeNewFile(unnamed, &m_fresh, &m_litter);
        if (m_fd < 0) {
            const int cause = errno;
            if (unnamed && (cause == EOPNOTSUPP || cause == EISDIR || cause == EINVAL))
                return Outcome::TryNamed; // no unnamed files here
            // No new file can be made here, but the old one may be written.
            if (m_exists && (cause == EACCES || cause == EPERM))
                return Outcome::TryInPlace;
            return failWith(error, cause, m_litter);
        }
        m_linked = !unnamed;

        if (!writeAllAt(m_calls.pwrite, m_fd, m_bytes.constData(), m_bytes.size(), 0)) {
            const int cause = errno;
            discard(cause);
            return failWith(error, cause, m_litter);
        }
        if (m_exists) {
            struct stat made;
            const bool sameOwner = ::fstat(m_fd, &made) == 0 && made.st_uid == m_old.st_uid
                                   && made.st_gid == m_old.st_gid;
            // Owner before mode: a change of owner clears the set-id bits.
            // The access control list last: it sets the group bits itself.
            // (A mode the new file was made with already is not set again.)
            const bool sameMode = sameOwner && (made.st_mode & 07777) == (m_old.st_mode & 07777);
            if ((!sameOwner
                 && retryInterrupted([&] { return m_calls.fchown(m_fd, m_old.st_uid, m_old.st_gid); }) != 0)
                || (!sameMode
                    && retryInterrupted([&] { return m_calls.fchmod(m_fd, m_old.st_mode & 07777); }) != 0)
                || !copyAttributes(m_target, m_fd)) {
                // The old file would change hands or lose some of its
                // attributes: write it in place instead.
                discard(errno);
                return Outcome::TryInPlace;
            }
        }
        return Outcome::Written;
    }

    // The normal path, last step: the new file, on disk, takes the old
    // one's place.
    Outcome putInPlace(QString *error)
    {
        if (m_unnamed) {
            if (m_exists)
                m_fresh = m_leftoverPossible ? pendingName(&m_litter) : pendingSaveName(m_target);
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
            // A new file takes its name at once; one that replaces another
            // goes beside it first.
            const auto link = [&] {
                const QByteArray &name = m_exists ? m_fresh : m_target;
                return retryInterrupted([&] {
                    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW);
                });
            };
            int linked = link();
            if (linked != 0 && errno == EEXIST && m_exists && !m_leftoverPossible) {
                // There after all: taken away as any leftover is.
                m_fresh = pendingName(&m_litter);
                linked = link();
            }
            if (linked != 0) {
                const int cause = errno;
                discard(cause);
                if (cause == ENOENT || cause == EPERM || cause == EXDEV)
                    return Outcome::TryNamed; // no /proc to link through
                return failWith(error, cause, m_litter);
            }
            m_linked = true;
            if (!m_exists)
                m_fresh = m_target;
        }
        const int closed = closeFile(m_calls.close, m_fd);
        m_fd = -1;
        if (closed != 0) {
            const int cause = errno;
            discard(cause);
            return failWith(error, cause, m_litter);
        }
        // Another program's write since the run read the file is not
        // saved over: looked for as late as can be.
        if (m_fresh != m_target && m_known && changedSinceKnown()) {
            discard(0);
            return Outcome::Changed;
        }
        if (m_fresh != m_target
            && retryInterrupted([&] { return m_calls.rename(m_fresh.constData(), m_target.constData()); }) != 0) {
            const int cause = errno;
            discard(cause);
            // A sticky folder, or a file mounted in its own right.
            if (m_exists && (cause == EACCES || cause == EPERM || cause == EBUSY))
                return Outcome::TryInPlace;
            return failWith(error, cause, m_litter);
        }
        m_linked = false; // it is the file now
        if (m_flushes)
            m_flushes->add(m_folder);
        else
            flushFolder(m_folder, m_calls);
        if (!m_litter.isEmpty()) // saved, but the folder is not as it was
            m_notice = QStringLiteral("%1 was saved%2").arg(QFile::decodeName(m_target), m_litter);
        return Outcome::Done;
    }

    // The fallback: the old file is rewritten where it is. A copy of its
    // bytes goes to the journal, on disk, before the first byte changes, so
    // that a crash at any point leaves something the next open makes whole;
    // should a step fail, the old bytes go straight back.
    bool rewriteInPlace(QString *error)
    {
        struct stat opened;
        bool notRegular = false;
        const int fd = openRegular(m_target, O_RDWR | O_NOFOLLOW | O_CLOEXEC, &opened, &notRegular);
        if (fd < 0 && !notRegular)
            return fail(error, systemErrorText(errno));
        if (fd < 0 || opened.st_dev != m_old.st_dev || opened.st_ino != m_old.st_ino
            || (m_known && !sameState(opened, m_old))) {
            if (fd >= 0)
                closeFile(m_calls.close, fd);
            m_changed = fd >= 0 && m_known;
            return fail(error, QStringLiteral("The file changed while it was being saved"));
        }
        if (opened.st_size > kMaxKeptBytes) {
            closeFile(m_calls.close, fd);
            return fail(error, QStringLiteral("The file is too large to be rewritten in place"));
        }
        // (A length that changes while it is read reads as EIO.)
        QByteArray previous(qsizetype(opened.st_size), Qt::Uninitialized);
        if (!readAllAt(m_calls.pread, fd, previous.data(), previous.size(), 0)) {
            const int cause = errno;
            closeFile(m_calls.close, fd);
            return fail(error, systemErrorText(cause));
        }
        SaveJournal journal;
        QString reason;
        if (!journal.begin(opened, m_target, previous, m_bytes, &reason)) {
            closeFile(m_calls.close, fd);
            return fail(error, QStringLiteral("The file can only be rewritten in place, and %1").arg(reason));
        }

        // The file grows only as its new bytes are written.
        const off_t size = off_t(m_bytes.size());
        if (writeAllAt(m_calls.pwrite, fd, m_bytes.constData(), m_bytes.size(), 0)
            && retryInterrupted([&] { return m_calls.ftruncate(fd, size); }) == 0
            && retryInterrupted([&] { return m_calls.fsync(fd); }) == 0) {
            // Every byte is on disk: what closing says changes nothing, and
            // a journal left behind finds the new file whole.
            closeFile(m_calls.close, fd);
            if (!journal.finish(&reason))
                m_notice = QStringLiteral("%1 was saved; %2").arg(QFile::decodeName(m_target), reason);
            return true;
        }
        const int cause = errno;
        const bool restored = writeAllAt(m_calls.pwrite, fd, previous.constData(), previous.size(), 0)
                              && retryInterrupted([&] { return m_calls.ftruncate(fd, off_t(previous.size())); }) == 0
                              && retryInterrupted([&] { return m_calls.fsync(fd); }) == 0;
        closeFile(m_calls.close, fd);
        if (!restored)
            return fail(error, systemErrorText(cause)
                                   + QStringLiteral("; the previous contents could not be put back yet: they "
                                                    "are kept in %1 and go back when the file is next opened")
                                         .arg(journal.path()));
        if (!journal.finish(&reason))
            return fail(error, systemErrorText(cause) + QStringLiteral("; ") + reason);
        return fail(error, systemErrorText(cause));
    }

    const QByteArray m_target;
    QByteArray m_folder;
    QByteArray m_name;
    const QByteArray m_bytes;
    const FileCalls &m_calls;
    const bool m_leftoverPossible = true;
    bool m_known = false; // m_exists and m_old were given, and are held to
    bool m_changed = false;
    bool m_exists = false;
    struct stat m_old = {};
    // The new file while it is being made.
    int m_fd = -1;
    bool m_unnamed = false;
    bool m_linked = false; // it has a name in the folder (m_fresh)
    QByteArray m_fresh;
    QString m_litter; // what a clean-up left behind, for the message
    QString m_notice;
    FolderFlushes *m_flushes = nullptr;
};

} // namespace

FolderFlushes::~FolderFlushes() { flush(); }

void FolderFlushes::add(const QByteArray &folder)
{
    const QMutexLocker lock(&m_mutex);
    m_folders.insert(folder);
}

// A folder that cannot be flushed is no reason to call a finished save
// failed.
void FolderFlushes::flush()
{
    const QMutexLocker lock(&m_mutex);
    for (const QByteArray &folder : std::as_const(m_folders))
        flushFolder(folder);
    m_folders.clear();
}

bool replaceFileContents(const QString &path, const QByteArray &bytes, QString *error, const FileCalls &calls,
                         QString *notice)
{
    PendingReplacement replacement(path, bytes, calls);
    const bool saved = replacement.write(error) && replacement.sync(error) && replacement.commit(error);
    if (notice)
        *notice = replacement.notice();
    return saved;
}

struct PendingReplacement::Steps
{
    SaveLock lock;
    std::unique_ptr<Saver> saver;
    bool failed = false;
    bool onDisk = false;
    QStringList notices;
    bool prepared = false;
    QByteArray target;
    struct stat now = {};
    bool leftoverPossible = true;
    bool changed = false;
};

PendingReplacement::PendingReplacement(const QString &path, const QByteArray &bytes, const FileCalls &calls)
    : m_path(path), m_bytes(bytes), m_calls(calls), m_steps(std::make_unique<Steps>())
{
}

PendingReplacement::PendingReplacement(const Prepared &prepared, const QByteArray &bytes, const FileCalls &calls)
    : m_path(QFile::decodeName(prepared.target)), m_bytes(bytes), m_calls(calls), m_steps(std::make_unique<Steps>())
{
    m_steps->prepared = true;
    m_steps->target = prepared.target;
    m_steps->now = prepared.now;
    m_steps->leftoverPossible = prepared.leftoverPossible;
}

PendingReplacement::~PendingReplacement() = default;

bool PendingReplacement::write(QString *error)
{
    Steps &steps = *m_steps;
    steps.failed = true;
    if (m_path.isEmpty())
        return fail(error, systemErrorText(ENOENT));
    // Nothing is written that no read would take back.
    if (m_bytes.size() > kMaxProgramFileBytes)
        return fail(error, QStringLiteral("it would be %1 bytes, more than %2")
                               .arg(m_bytes.size())
                               .arg(programFileLimitText()));
    if (steps.prepared) {
        steps.saver = std::make_unique<Saver>(steps.target, m_bytes, m_calls, &steps.now, steps.leftoverPossible);
    } else {
        QString target;
        if (!resolveSaveTarget(m_path, &target, error))
            return false;
        if (!steps.lock.lock(target, error))
            return false;
        // A save in place of this file that was cut short is made whole
        // first; while it cannot be, the file is not saved over.
        QString recovered;
        bool unresolved = false;
        if (recoverInterruptedSave(target, &recovered, &unresolved)) {
            if (unresolved)
                return fail(error, recovered);
            steps.notices << recovered;
        }
        steps.saver = std::make_unique<Saver>(QFile::encodeName(target), m_bytes, m_calls);
    }
    const Saver::Step step = steps.saver->write(error);
    steps.failed = step == Saver::Step::Failed;
    steps.onDisk = step == Saver::Step::Done;
    steps.changed = steps.saver->changed();
    if (step != Saver::Step::Written) {
        if (!steps.saver->notice().isEmpty())
            steps.notices << steps.saver->notice();
        steps.saver.reset();
    }
    return !steps.failed;
}

bool PendingReplacement::isOnDisk() const { return m_steps->onDisk; }

bool PendingReplacement::changedMeanwhile() const { return m_steps->changed; }

QString PendingReplacement::notice() const { return m_steps->notices.join(QStringLiteral("\n")); }

bool PendingReplacement::sync(QString *error)
{
    Steps &steps = *m_steps;
    if (!steps.failed && steps.saver && !steps.onDisk) {
        steps.failed = !steps.saver->sync(error);
        steps.onDisk = !steps.failed;
    }
    return !steps.failed;
}

bool PendingReplacement::commit(QString *error, FolderFlushes *flushes)
{
    Steps &steps = *m_steps;
    if (!steps.failed && steps.saver) {
        steps.failed = !steps.saver->commit(error, flushes);
        steps.changed = steps.saver->changed();
        if (!steps.saver->notice().isEmpty())
            steps.notices << steps.saver->notice();
        steps.saver.reset();
        steps.lock.unlock();
    }
    return !steps.failed;
}

} // namespace tarvo
