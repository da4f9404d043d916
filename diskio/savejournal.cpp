#include "savejournal.h"

#include "regularfile.h"
#include "filecalls.h"
#include "savelock.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

// A program file is a few kilobytes; no journal holds more than this.
constexpr qsizetype kMaxJournalBytes = 64 * 1024 * 1024;

const QByteArray kMagic = QByteArrayLiteral("TARVO SAVE JOURNAL 1\n");

void warnByDefault(const QString &message) { qWarning().noquote() << message; }

InterruptedSaveReporter g_reporter = warnByDefault;

QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The user's state folder for the editor, without making it.
QByteArray stateFolder()
{
    QByteArray base = qgetenv("XDG_STATE_HOME");
    if (!base.startsWith('/')) {
        QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            const passwd *user = ::getpwuid(::geteuid());
            home = user && user->pw_dir ? QByteArray(user->pw_dir) : QByteArray();
        }
        if (home.isEmpty())
            return QByteArray();
        base = home + "/.local/state";
    }
    return base + "/tarvo";
}

// True when `folder` is a folder of this user that nobody else may write.
bool isPrivateFolder(const QByteArray &folder)
{
    struct stat info;
    return ::lstat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()
           && !(info.st_mode & (S_IWGRP | S_IWOTH));
}

// Makes the state folder where missing; its last part private.
bool makeStateFolder(const QByteArray &folder, QString *error)
{
    if (folder.isEmpty()) {
        *error = QStringLiteral("this user has no home folder");
        return false;
    }
    const QList<QByteArray> parts = folder.split('/');
    QByteArray path;
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (parts.at(i).isEmpty())
            continue;
        path += '/' + parts.at(i);
        const bool last = i == parts.size() - 1;
        if (::mkdir(path.constData(), last ? 0700 : 0755) != 0 && errno != EEXIST) {
            *error = QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(path), systemErrorText(errno));
            return false;
        }
    }
    if (!isPrivateFolder(folder)) {
        *error = QStringLiteral("%1 is not a folder of this user's alone").arg(QString::fromLocal8Bit(folder));
        return false;
    }
    return true;
}

QByteArray journalName(unsigned long long device, unsigned long long inode)
{
    return "save-" + QByteArray::number(device) + '-' + QByteArray::number(inode) + ".journal";
}

// The old bytes put back into the file, cut to their length, on disk.
bool putBytes(int fd, const QByteArray &bytes)
{
    return writeAllAt(::pwrite, fd, bytes.constData(), bytes.size(), 0) && ::ftruncate(fd, off_t(bytes.size())) == 0
        && ::fsync(fd) == 0;
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
    QByteArray target;
    QByteArray previous;
    qsizetype nextSize = 0;
    QByteArray nextHash;
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
    if (!bytes.startsWith(kMagic))
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
    journal->target = QByteArray::fromHex(lines.at(3).mid(5));
    journal->previous = bytes.mid(at);
    journal->nextSize = next.at(1).toLongLong();
    journal->nextHash = next.at(2);
    return journal->previous.size() == old.at(1).toLongLong() && hashOf(journal->previous) == old.at(2);
}

void removeJournal(const QByteArray &path)
{
    ::unlink(path.constData());
}

// The journal at `journalPath`, read under the lock of the file whose
// status is `file`, applied.
bool applyJournal(const QByteArray &journalPath, const struct stat &file, QString *message)
{
    const int jfd = ::open(journalPath.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (jfd < 0)
        return false; // finished meanwhile by the save that wrote it
    struct stat jinfo;
    QByteArray bytes;
    const bool read = ::fstat(jfd, &jinfo) == 0 && S_ISREG(jinfo.st_mode) && jinfo.st_uid == ::geteuid()
                      && readWhole(jfd, &bytes, kMaxJournalBytes + 4096);
    ::close(jfd);
    Journal journal;
    if (!read || !parseJournal(bytes, &journal) || journal.device != qulonglong(file.st_dev)
        || journal.inode != qulonglong(file.st_ino)) {
        removeJournal(journalPath); // never complete: the file was not touched
        return false;
    }
    // The name the save wrote through must still lead to this file; if it
    // leads elsewhere the file was replaced since, and the number is reused.
    struct stat named;
    if (::stat(journal.target.constData(), &named) != 0 || named.st_dev != file.st_dev
        || named.st_ino != file.st_ino) {
        removeJournal(journalPath);
        return false;
    }

    const QString shown = QFile::decodeName(journal.target);
    const QString kept = QString::fromLocal8Bit(journalPath);
    const int fd = ::open(journal.target.constData(), O_RDWR | O_NONBLOCK | O_NOCTTY | O_NOFOLLOW | O_CLOEXEC);
    struct stat opened;
    QByteArray now;
    if (fd < 0 || ::fstat(fd, &opened) != 0 || opened.st_ino != file.st_ino || opened.st_dev != file.st_dev
        || !readWhole(fd, &now, kMaxJournalBytes)) {
        const int cause = errno;
        if (fd >= 0)
            ::close(fd);
        *message = QStringLiteral("The last save of %1 was interrupted and its previous contents cannot be put "
                                  "back (%2); they are kept in %3")
                       .arg(shown, systemErrorText(cause), kept);
        return true;
    }
    if (now.size() == journal.nextSize && hashOf(now) == journal.nextHash) {
        ::fsync(fd);
        ::close(fd);
        removeJournal(journalPath);
        *message = QStringLiteral("The last save of %1 was interrupted after its new contents were written "
                                  "whole; they are kept")
                       .arg(shown);
        return true;
    }
    if (now == journal.previous) {
        ::close(fd);
        removeJournal(journalPath);
        *message = QStringLiteral("The last save of %1 was interrupted before it changed the file; the file "
                                  "holds its previous contents")
                       .arg(shown);
        return true;
    }
    const bool restored = putBytes(fd, journal.previous);
    const int cause = errno;
    ::close(fd);
    if (!restored) {
        *message = QStringLiteral("The last save of %1 was interrupted and left it incomplete; its previous "
                                  "contents could not be put back (%2) and are kept in %3")
                       .arg(shown, systemErrorText(cause), kept);
        return true;
    }
    removeJournal(journalPath);
    *message = QStringLiteral("The last save of %1 was interrupted and left it incomplete; its previous "
                              "contents were put back")
                   .arg(shown);
    return true;
}

} // namespace

bool SaveJournal::begin(const struct stat &file, const QByteArray &target, const QByteArray &previous,
                        const QByteArray &next, QString *error)
{
    const QByteArray folder = stateFolder();
    QString reason;
    if (!makeStateFolder(folder, &reason)) {
        *error = QStringLiteral("cannot keep a copy of the previous contents: %1").arg(reason);
        return false;
    }
    m_path = folder + '/' + journalName(file.st_dev, file.st_ino);
    const int fd = ::open(m_path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = QStringLiteral("cannot keep a copy of the previous contents in %1: %2")
                     .arg(path(), systemErrorText(errno));
        m_path.clear();
        return false;
    }
    const QByteArray head = header(file, target, previous, next);
    const bool written = writeAllAt(::pwrite, fd, head.constData(), head.size(), 0)
                         && writeAllAt(::pwrite, fd, previous.constData(), previous.size(), off_t(head.size()))
                         && ::fsync(fd) == 0;
    const int cause = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        *error = QStringLiteral("cannot keep a copy of the previous contents in %1: %2")
                     .arg(path(), systemErrorText(written ? errno : cause));
        removeJournal(m_path);
        m_path.clear();
        return false;
    }
    flushFolder(folder);
    return true;
}

bool SaveJournal::finish(QString *error)
{
    if (m_path.isEmpty())
        return true;
    if (::unlink(m_path.constData()) != 0 && errno != ENOENT) {
        *error = QStringLiteral("the copy of the previous contents in %1 could not be removed: %2")
                     .arg(path(), systemErrorText(errno));
        return false;
    }
    m_path.clear();
    return true;
}

QByteArray pendingSaveName(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    return target.left(slash + 1) + '.' + target.mid(slash + 1) + ".saving";
}

Leftover removeLeftoverSave(const QByteArray &pending, QString *error)
{
    const int fd = ::open(pending.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? Leftover::None : Leftover::InUse;
    struct stat held;
    struct stat named;
    Leftover result = Leftover::InUse;
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0
        && ::lstat(pending.constData(), &named) == 0 && named.st_ino == held.st_ino
        && named.st_dev == held.st_dev) {
        if (::unlink(pending.constData()) == 0 || errno == ENOENT) {
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

void reportInterruptedSave(const QString &message)
{
    if (g_reporter)
        g_reporter(message);
}

bool recoverInterruptedSave(const QString &path, QString *message)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat file;
    if (name.isEmpty() || ::stat(name.constData(), &file) != 0 || !S_ISREG(file.st_mode))
        return false;
    struct stat seen;
    const QByteArray pending = pendingSaveName(QFile::encodeName(QFileInfo(path).canonicalFilePath()));
    const bool leftover = ::lstat(pending.constData(), &seen) == 0;
    const QByteArray folder = stateFolder();
    const QByteArray journalPath = folder + '/' + journalName(file.st_dev, file.st_ino);
    const bool journaled = !folder.isEmpty() && ::lstat(journalPath.constData(), &seen) == 0
                           && isPrivateFolder(folder);
    if (!leftover && !journaled)
        return false;
    // Not while a save of this file is under way: its new file and its
    // journal are its own.
    SaveLock lock;
    QString error;
    if (!lock.lock(path, &error))
        return false;
    if (leftover)
        removeLeftoverSave(pending, &error);
    return journaled && applyJournal(journalPath, file, message);
}

void recoverInterruptedSave(const QString &path)
{
    QString message;
    if (recoverInterruptedSave(path, &message) && g_reporter)
        g_reporter(message);
}

void setInterruptedSaveReporter(InterruptedSaveReporter reporter) { g_reporter = reporter; }

} // namespace tarvo
