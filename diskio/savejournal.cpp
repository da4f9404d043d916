#include "savejournal.h"

#include "filecalls.h"
#include "regularfile.h"
#include "savelock.h"
#include "statefolder.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

// A program file is at most a few MiB; no copy holds more than this.
constexpr qsizetype kMaxJournalBytes = 64 * 1024 * 1024;

// Version 2 holds the new bytes after the previous ones; version 1, left
// by earlier saves, only their size and hash.
const QByteArray kMagic = QByteArrayLiteral("TARVO SAVE JOURNAL 2\n");
const QByteArray kMagicWithoutNew = QByteArrayLiteral("TARVO SAVE JOURNAL 1\n");

void warnByDefault(const QString &message) { qWarning().noquote() << message; }

InterruptedSaveReporter g_reporter = warnByDefault;

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray journalName(unsigned long long device, unsigned long long inode)
{
    return "save-" + QByteArray::number(device) + '-' + QByteArray::number(inode) + ".journal";
}

QByteArray journalPathOf(const QString &folder, const struct stat &file)
{
    return QFile::encodeName(folder) + '/' + journalName(file.st_dev, file.st_ino);
}

// `bytes` at the start of the file, cut to their length, on disk.
bool putBytes(int fd, const QByteArray &bytes)
{
    return writeAllAt(::pwrite, fd, bytes.constData(), bytes.size(), 0)
           && retryInterrupted([&] { return ::ftruncate(fd, off_t(bytes.size())); }) == 0
           && retryInterrupted([&] { return ::fsync(fd); }) == 0;
}

// Reads a whole file of at most `limit` bytes; false on a read error or
// when it is larger.
bool readWhole(int fd, QByteArray *bytes, qsizetype limit)
{
    bytes->clear();
    char block[65536];
    for (;;) {
        const ssize_t got = ::pread(fd, block, sizeof block, off_t(bytes->size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (bytes->size() + got > limit) {
            errno = EFBIG;
            return false;
        }
        bytes->append(block, got);
    }
}

// What a journal says, once its checksums hold.
struct Journal
{
    unsigned long long device = 0;
    unsigned long long inode = 0;
    QByteArray previous;
    QByteArray next;          // empty in a journal of version 1
    bool holdsNext = false;
    qsizetype nextSize = 0;
    QByteArray nextHash;

    bool isNext(const QByteArray &bytes) const
    {
        return holdsNext ? bytes == next : bytes.size() == nextSize && hashOf(bytes) == nextHash;
    }
};

QByteArray header(const struct stat &file, const QByteArray &target, const QByteArray &previous,
                  const QByteArray &next)
{
    QByteArray text = kMagic;
    text += "device " + QByteArray::number(qulonglong(file.st_dev)) + '\n';
    text += "inode " + QByteArray::number(qulonglong(file.st_ino)) + '\n';
    text += "path " + target.toHex() + '\n';
    text += "old " + QByteArray::number(previous.size()) + ' ' + hashOf(previous) + '\n';
    text += "new " + QByteArray::number(next.size()) + ' ' + hashOf(next) + '\n';
    return text + "check " + hashOf(text) + '\n';
}

// False for a journal cut short or damaged: one written only in part was
// never complete on disk, so the file it speaks of was never touched.
bool parseJournal(const QByteArray &bytes, Journal *journal)
{
    journal->holdsNext = bytes.startsWith(kMagic);
    if (!journal->holdsNext && !bytes.startsWith(kMagicWithoutNew))
        return false;
    QList<QByteArray> lines;
    qsizetype at = 0;
    qsizetype checkLine = 0;
    for (int i = 0; i < 7; ++i) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            return false;
        checkLine = at;
        lines << bytes.mid(at, end - at);
        at = end + 1;
    }
    if (!lines.at(6).startsWith("check ") || hashOf(bytes.left(checkLine)) != lines.at(6).mid(6))
        return false;
    const QList<QByteArray> old = lines.at(4).split(' ');
    const QList<QByteArray> next = lines.at(5).split(' ');
    if (old.size() != 3 || next.size() != 3)
        return false;
    journal->device = lines.at(1).mid(7).toULongLong();
    journal->inode = lines.at(2).mid(6).toULongLong();
    const qsizetype oldSize = old.at(1).toLongLong();
    journal->nextSize = next.at(1).toLongLong();
    journal->nextHash = next.at(2);
    if (oldSize < 0 || journal->nextSize < 0
        || bytes.size() - at != oldSize + (journal->holdsNext ? journal->nextSize : 0))
        return false;
    journal->previous = bytes.mid(at, oldSize);
    if (journal->holdsNext)
        journal->next = bytes.mid(at + oldSize);
    return hashOf(journal->previous) == old.at(2)
           && (!journal->holdsNext || hashOf(journal->next) == journal->nextHash);
}

// True when `now` is what the save of `journal` can have left of the file,
// cut short while it wrote the new bytes or while the previous ones went
// back: every byte the previous or the new contents' byte at that place,
// its length between theirs. A file that another program wrote meanwhile
// is not.
bool isTornBySave(const QByteArray &now, const Journal &journal)
{
    const QByteArray &previous = journal.previous;
    if (!journal.holdsNext) {
        // Of a journal without the new bytes, only the file written whole
        // and not yet cut to length can be told.
        return now.size() == previous.size() && journal.nextSize < previous.size()
               && hashOf(now.left(journal.nextSize)) == journal.nextHash
               && now.mid(journal.nextSize) == previous.mid(journal.nextSize);
    }
    const QByteArray &next = journal.next;
    if (now.size() < qMin(previous.size(), next.size()) || now.size() > qMax(previous.size(), next.size()))
        return false;
    for (qsizetype i = 0; i < now.size(); ++i) {
        const bool fromPrevious = i < previous.size() && now.at(i) == previous.at(i);
        const bool fromNext = i < next.size() && now.at(i) == next.at(i);
        if (!fromPrevious && !fromNext)
            return false;
    }
    return true;
}

bool removeFile(const QByteArray &path)
{
    return retryInterrupted([&] { return ::unlink(path.constData()); }) == 0 || errno == ENOENT;
}

// The previous contents of a file that another program wrote after the
// save was cut short, kept in the state folder as a program file of their
// own. Its path, or an empty one when it cannot be written.
QByteArray keepAside(const QByteArray &folder, const QString &file, const QByteArray &previous)
{
    const QByteArray base = QFile::encodeName(QFileInfo(file).fileName());
    for (int n = 1; n < 100; ++n) {
        const QByteArray kept = folder + '/' + base + ".previous" + (n > 1 ? '-' + QByteArray::number(n) : QByteArray())
                                + ".prg";
        const int fd = retryInterrupted(
            [&] { return ::open(kept.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600); });
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return QByteArray();
        const bool written = putBytes(fd, previous);
        if (closeFile(::close, fd) != 0 || !written) {
            ::unlink(kept.constData());
            return QByteArray();
        }
        flushFolder(folder);
        return kept;
    }
    return QByteArray();
}

// The journal at `journalPath`, read under the lock of the file at `path`
// whose status is `file`, applied.
bool applyJournal(const QByteArray &journalPath, const QString &path, const struct stat &file, QString *message,
                  bool *unresolved)
{
    const QString shown = path;
    const QString kept = QFile::decodeName(journalPath);
    auto cannot = [&](const QString &why) {
        *unresolved = true;
        *message = QStringLiteral("The last save of %1 was interrupted, and %2; the copy of its previous contents "
                                  "is kept in %3, and the file is left as it is until it can be made whole")
                       .arg(shown, why, kept);
        return true;
    };
    struct stat jinfo;
    const int jfd = openRegular(journalPath, O_RDONLY | O_NOFOLLOW | O_CLOEXEC, &jinfo);
    if (jfd < 0 && errno == ENOENT)
        return false; // finished meanwhile by the save that wrote it
    if (jfd < 0)
        return cannot(QStringLiteral("its copy cannot be read (%1)").arg(systemErrorText(errno)));
    QByteArray bytes;
    const bool read = jinfo.st_uid == ::geteuid() && readWhole(jfd, &bytes, kMaxJournalBytes + 4096);
    const int readCause = errno;
    ::close(jfd);
    if (jinfo.st_uid != ::geteuid())
        return cannot(QStringLiteral("its copy belongs to another user"));
    if (!read)
        return cannot(QStringLiteral("its copy cannot be read (%1)").arg(systemErrorText(readCause)));
    Journal journal;
    if (!parseJournal(bytes, &journal) || journal.device != qulonglong(file.st_dev)
        || journal.inode != qulonglong(file.st_ino)) {
        // Never complete, so the file was never touched; or emptied by a
        // save that finished but could not remove it.
        removeFile(journalPath);
        return false;
    }

    // Through the name it is known by now, only while that is still the
    // file of the journal.
    struct stat opened;
    const QByteArray name = QFile::encodeName(path);
    bool writable = true;
    int fd = openRegular(name, O_RDWR | O_CLOEXEC, &opened);
    if (fd < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        writable = false;
        fd = openRegular(name, O_RDONLY | O_CLOEXEC, &opened);
    }
    if (fd < 0)
        return cannot(QStringLiteral("the file cannot be opened (%1)").arg(systemErrorText(errno)));
    QByteArray now;
    if (opened.st_ino != file.st_ino || opened.st_dev != file.st_dev) {
        ::close(fd);
        return cannot(QStringLiteral("the file changed while it was looked at"));
    }
    if (!readWhole(fd, &now, kMaxJournalBytes)) {
        const int cause = errno;
        ::close(fd);
        return cannot(QStringLiteral("the file cannot be read (%1)").arg(systemErrorText(cause)));
    }
    if (journal.isNext(now)) {
        if (writable)
            retryInterrupted([&] { return ::fsync(fd); });
        ::close(fd);
        removeFile(journalPath);
        *message = QStringLiteral("The last save of %1 was interrupted after its new contents were written "
                                  "whole; they are kept")
                       .arg(shown);
        return true;
    }
    if (now == journal.previous) {
        ::close(fd);
        removeFile(journalPath);
        *message = QStringLiteral("The last save of %1 was interrupted before it changed the file; the file "
                                  "holds its previous contents")
                       .arg(shown);
        return true;
    }
    if (!isTornBySave(now, journal)) {
        // Written by another program since: that is the file now. What it
        // held before the save stays at hand.
        ::close(fd);
        const QByteArray folder = journalPath.left(journalPath.lastIndexOf('/'));
        const QByteArray aside = keepAside(folder, path, journal.previous);
        if (!aside.isEmpty())
            removeFile(journalPath);
        *message = QStringLiteral("The last save of %1 was interrupted, and another program has written the file "
                                  "since; it is left as it is. What it held before that save is kept in %2")
                       .arg(shown, QFile::decodeName(aside.isEmpty() ? journalPath : aside));
        return true;
    }
    if (!writable) {
        ::close(fd);
        return cannot(QStringLiteral("left it incomplete; the file cannot be written now"));
    }
    const bool restored = putBytes(fd, journal.previous);
    const int cause = errno;
    closeFile(::close, fd);
    if (!restored)
        return cannot(QStringLiteral("left it incomplete; its previous contents could not be put back (%1)")
                          .arg(systemErrorText(cause)));
    removeFile(journalPath);
    *message = QStringLiteral("The last save of %1 was interrupted and left it incomplete; its previous "
                              "contents were put back")
                   .arg(shown);
    return true;
}

} // namespace

SaveJournal::~SaveJournal()
{
    if (m_fd >= 0)
        closeFile(::close, m_fd);
}

bool SaveJournal::begin(const struct stat &file, const QByteArray &target, const QByteArray &previous,
                        const QByteArray &next, QString *error)
{
    QString reason;
    const QString folder = makeStateFolder(&reason);
    if (folder.isEmpty()) {
        *error = QStringLiteral("cannot keep a copy of the previous contents: %1").arg(reason);
        return false;
    }
    m_path = journalPathOf(folder, file);
    // Never over a copy that is kept already: that one is still needed.
    m_fd = retryInterrupted(
        [&] { return ::open(m_path.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600); });
    if (m_fd < 0) {
        *error = errno == EEXIST ? QStringLiteral("cannot keep a copy of the previous contents: %1 still holds the "
                                                  "copy of an earlier save")
                                       .arg(path())
                                 : QStringLiteral("cannot keep a copy of the previous contents in %1: %2")
                                       .arg(path(), systemErrorText(errno));
        m_path.clear();
        return false;
    }
    const QByteArray head = header(file, target, previous, next);
    const bool written = writeAllAt(::pwrite, m_fd, head.constData(), head.size(), 0)
                         && writeAllAt(::pwrite, m_fd, previous.constData(), previous.size(), off_t(head.size()))
                         && writeAllAt(::pwrite, m_fd, next.constData(), next.size(),
                                       off_t(head.size() + previous.size()))
                         && retryInterrupted([&] { return ::fsync(m_fd); }) == 0;
    if (!written) {
        *error = QStringLiteral("cannot keep a copy of the previous contents in %1: %2")
                     .arg(path(), systemErrorText(errno));
        closeFile(::close, m_fd);
        m_fd = -1;
        removeFile(m_path);
        m_path.clear();
        return false;
    }
    flushFolder(QFile::encodeName(folder));
    return true;
}

bool SaveJournal::finish(QString *notice)
{
    if (m_path.isEmpty())
        return true;
    const bool removed = removeFile(m_path);
    const int cause = errno;
    if (!removed) {
        // Emptied, it is known for a finished save's and never applied.
        const bool marked = retryInterrupted([&] { return ::ftruncate(m_fd, 0); }) == 0
                            && retryInterrupted([&] { return ::fsync(m_fd); }) == 0;
        *notice = QStringLiteral("the copy of the previous contents in %1 could not be removed (%2)%3")
                      .arg(path(), systemErrorText(cause),
                           marked ? QStringLiteral("; it is marked as done and goes when the file is next read")
                                  : QString());
    }
    closeFile(::close, m_fd);
    m_fd = -1;
    m_path.clear();
    return removed;
}

QByteArray pendingSaveName(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + ".saving";
}

Leftover removeLeftoverSave(const QByteArray &pending, QString *error)
{
    struct stat held;
    bool notRegular = false;
    const int fd = openRegular(pending, O_RDONLY | O_NOFOLLOW | O_CLOEXEC, &held, &notRegular);
    if (fd < 0)
        return errno == ENOENT && !notRegular ? Leftover::None : Leftover::InUse;
    struct stat named;
    Leftover result = Leftover::InUse;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(pending.constData(), &named) == 0
        && named.st_ino == held.st_ino && named.st_dev == held.st_dev) {
        if (removeFile(pending)) {
            result = Leftover::Removed;
        } else {
            *error = QStringLiteral("the unfinished file %1 of an earlier save could not be removed: %2")
                         .arg(QFile::decodeName(pending), systemErrorText(errno));
            result = Leftover::Stuck;
        }
    }
    ::close(fd);
    return result;
}

bool recoverInterruptedSave(const QString &path, QString *message, bool *unresolved)
{
    bool ignored = false;
    bool &stuck = unresolved ? *unresolved : ignored;
    stuck = false;
    const QByteArray name = QFile::encodeName(path);
    struct stat file;
    if (name.isEmpty() || ::lstat(name.constData(), &file) != 0)
        return false;
    // The new file of a save is beside the file it saves: beside the name
    // as given, its folders' links followed or not, unless the name itself
    // is a link.
    const bool link = S_ISLNK(file.st_mode);
    if (link && ::stat(name.constData(), &file) != 0)
        return false;
    if (!S_ISREG(file.st_mode))
        return false;
    struct stat seen;
    const QByteArray pending =
        pendingSaveName(link ? QFile::encodeName(QFileInfo(path).canonicalFilePath()) : name);
    const bool leftover = ::lstat(pending.constData(), &seen) == 0;
    const QString folder = stateFolderPath();
    const QByteArray journalPath = journalPathOf(folder, file);
    const bool journaled = ::lstat(journalPath.constData(), &seen) == 0
                           && checkStateFolder(folder) == StateFolderCheck::Usable;
    if (!leftover && !journaled)
        return false;
    // Not while a save of this file is under way: its new file and its
    // journal are its own.
    SaveLock lock;
    QString error;
    if (!lock.lock(path, &error)) {
        if (!journaled)
            return false;
        stuck = true;
        *message = QStringLiteral("The last save of %1 was interrupted, and the file cannot be locked to make it "
                                  "whole (%2); the copy of its previous contents is kept in %3")
                       .arg(path, error, QFile::decodeName(journalPath));
        return true;
    }
    if (leftover)
        removeLeftoverSave(pending, &error);
    return journaled && applyJournal(journalPath, path, file, message, &stuck);
}

namespace {

QByteArray folderPart(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash > 0 ? path.left(slash) : slash == 0 ? QByteArray("/") : QByteArray(".");
}

// Hands `wanted` each name in `folder` with its type as the listing says
// it (DT_UNKNOWN where the file system does not); false when the folder
// cannot be listed.
template <typename Wanted>
bool listFolder(const QByteArray &folder, Wanted wanted)
{
    DIR *listing = ::opendir(folder.constData());
    if (!listing)
        return false;
    errno = 0;
    while (const dirent *entry = ::readdir(listing)) {
        wanted(QByteArray(entry->d_name), entry->d_type);
        errno = 0;
    }
    const bool complete = errno == 0;
    ::closedir(listing);
    return complete;
}

} // namespace

void InterruptedSaves::lookFor(const QList<QByteArray> &names)
{
    m_journals.clear();
    m_journalsListed = false;
    // A few files are looked at one by one (three lstats each): cheaper
    // than a folder of thousands listed for them.
    constexpr qsizetype kListedFrom = 16;
    if (names.size() < kListedFrom)
        return;
    const QString state = stateFolderPath();
    switch (checkStateFolder(state)) {
    case StateFolderCheck::Usable:
        m_journalsListed = listFolder(QFile::encodeName(state), [&](const QByteArray &name, unsigned char) {
            if (name.startsWith("save-") && name.endsWith(".journal"))
                m_journals.insert(name);
        });
        break;
    case StateFolderCheck::Missing:
    case StateFolderCheck::Refused: // no copy in it is ever applied
        m_journalsListed = true;
        break;
    }
    for (const QByteArray &name : names) {
        if (name.isEmpty())
            continue;
        const QByteArray folder = folderPart(name);
        if (m_listedFolders.contains(folder))
            continue;
        m_listedFolders.insert(folder, listFolder(folder, [&](const QByteArray &name, unsigned char type) {
            if (name.startsWith('.') && name.endsWith(".saving"))
                m_unusual.insert(folder + '/' + name);
            // A link leads to a file whose own folder holds its save's
            // new file: such a name is looked at the slow way.
            else if (type == DT_LNK || type == DT_UNKNOWN)
                m_unusual.insert(folder + '/' + name);
        }));
    }
}

bool InterruptedSaves::mayHave(const QByteArray &name, unsigned long long device, unsigned long long inode) const
{
    if (!m_journalsListed || m_journals.contains(journalName(device, inode)))
        return true;
    const QByteArray folder = folderPart(name);
    if (!m_listedFolders.value(folder, false))
        return true;
    const QByteArray own = name.mid(name.lastIndexOf('/') + 1);
    return m_unusual.contains(folder + '/' + own) || m_unusual.contains(folder + "/." + own + ".saving");
}

bool settleInterruptedSave(const QString &path, QString *error)
{
    QString message;
    bool unresolved = false;
    if (!recoverInterruptedSave(path, &message, &unresolved))
        return true;
    if (unresolved) {
        if (error)
            *error = message;
        return false;
    }
    if (g_reporter)
        g_reporter(message);
    return true;
}

void setInterruptedSaveReporter(InterruptedSaveReporter reporter) { g_reporter = reporter; }

} // namespace tarvo
