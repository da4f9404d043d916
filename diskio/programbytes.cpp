#include "programbytes.h"
#include "savejournal.h"

#include "filefingerprint.h"
#include "regularfile.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

QString programFileLimitText()
{
    return QStringLiteral("the %1 bytes (%2 MiB) a program file may have")
        .arg(kMaxProgramFileBytes)
        .arg(kMaxProgramFileBytes / (1024 * 1024));
}

namespace {

// Reads from `fd` into `buffer` from `*got` on until the end of the file or
// until the buffer is full, or, where `enough` is given, until that many
// bytes are there. False with `error` set when a read fails.
bool readInto(int fd, QByteArray &buffer, qint64 *got, QString *error, ReadCall read, qint64 enough = -1)
{
    while (*got < buffer.size() && *got != enough) {
        const ssize_t n = read(fd, buffer.data() + *got, size_t(buffer.size() - *got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(error, systemErrorText(errno));
        if (n == 0)
            break;
        *got += n;
    }
    return true;
}

bool sameTime(const struct timespec &a, const struct timespec &b)
{
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool readOpenedFile(int fd, const struct stat &before, QByteArray *bytes, QString *error, ReadCall read,
                    FileFingerprint *fingerprint)
{
    if (before.st_size > kMaxProgramFileBytes)
        return fail(error, QStringLiteral("it is %1 bytes, more than %2")
                               .arg(qint64(before.st_size))
                               .arg(programFileLimitText()));
    // One byte more than the file says it has, to see it end where it says:
    // a file that gives more is refused, one that gives exactly its size at
    // the first read is read (were it longer, its size would have changed
    // by the look below; a read that a signal cut short is taken up again).
    QByteArray buffer(qsizetype(before.st_size) + 1, Qt::Uninitialized);
    qint64 got = 0;
    if (!readInto(fd, buffer, &got, error, read, before.st_size > 0 ? qint64(before.st_size) : -1))
        return false;
    if (got > before.st_size)
        return fail(error, QStringLiteral("it reads as more than the %1 bytes its size says "
                                          "(a file of the system, or one being written)")
                               .arg(qint64(before.st_size)));
    if (got < before.st_size)
        return fail(error, QStringLiteral("it reads as %1 bytes although its size says %2 "
                                          "(a file of the system, or one being written)")
                               .arg(got)
                               .arg(qint64(before.st_size)));
    struct stat after;
    if (::fstat(fd, &after) != 0)
        return fail(error, systemErrorText(errno));
    if (after.st_size != before.st_size || !sameTime(after.st_mtim, before.st_mtim))
        return fail(error, QStringLiteral("it changed while it was read"));
    buffer.truncate(got);
    *bytes = buffer;
    if (fingerprint)
        *fingerprint = fingerprintOfStat(after);
    return true;
}

} // namespace

bool readProgramBytes(const QString &path, QByteArray *bytes, QString *error, ReadCall readCall,
                      FileFingerprint *asRead)
{
    // A save in place cut short is made whole first; a file that cannot be
    // is not read as if it were.
    if (!settleInterruptedSave(path, error))
        return false;
    struct stat info;
    const int fd = openRegularFile(path, error, &info);
    if (fd < 0)
        return false;
    const bool ok = readOpenedFile(fd, info, bytes, error, readCall ? readCall : ::read, asRead);
    ::close(fd);
    return ok;
}

bool readProgramBytes(const QString &path, const InterruptedSaves &looked, QByteArray *bytes, QString *error)
{
    struct stat info;
    const int fd = openRegularFile(path, error, &info);
    if (fd < 0)
        return false;
    if (looked.mayHave(QFile::encodeName(path), info.st_dev, info.st_ino)) {
        ::close(fd);
        return readProgramBytes(path, bytes, error);
    }
    const bool ok = readOpenedFile(fd, info, bytes, error, ::read, nullptr);
    ::close(fd);
    return ok;
}

bool readOpenProgramFile(int fd, const struct stat &before, QByteArray *bytes, QString *error,
                         FileFingerprint *asRead)
{
    return readOpenedFile(fd, before, bytes, error, ::read, asRead);
}

bool readStream(int fd, qint64 limit, QByteArray *bytes, QString *error, ReadCall read)
{
    constexpr qint64 kPiece = 64 * 1024;
    QByteArray buffer;
    qint64 got = 0;
    for (;;) {
        // Room for one byte beyond the limit, to tell a stream at the limit
        // from a longer one.
        buffer.resize(qsizetype(qMin(got + kPiece, limit + 1)));
        const qint64 had = got;
        if (!readInto(fd, buffer, &got, error, read ? read : ::read))
            return false;
        if (got > limit || got < buffer.size() || got == had)
            break;
    }
    buffer.truncate(got);
    *bytes = buffer;
    return true;
}

bool readProgramStream(int fd, QByteArray *bytes, QString *error, ReadCall read)
{
    QByteArray buffer;
    if (!readStream(fd, kMaxProgramFileBytes, &buffer, error, read))
        return false;
    if (buffer.size() > kMaxProgramFileBytes)
        return fail(error, QStringLiteral("it is more than %1").arg(programFileLimitText()));
    *bytes = buffer;
    return true;
}

} // namespace tarvo
