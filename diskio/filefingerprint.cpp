#include "filefingerprint.h"

#include "programbytes.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>

namespace tarvo {

bool FileFingerprint::sameStat(const FileFingerprint &other) const
{
    return exists == other.exists && size == other.size && modifiedNs == other.modifiedNs
        && changedNs == other.changedNs && inode == other.inode && device == other.device;
}

QByteArray contentHash(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

FileFingerprint fingerprintOfStat(const struct stat &info)
{
    FileFingerprint print;
    if (!S_ISREG(info.st_mode))
        return print;
    print.exists = true;
    print.size = qint64(info.st_size);
    print.modifiedNs = qint64(info.st_mtim.tv_sec) * 1000000000 + qint64(info.st_mtim.tv_nsec);
    print.changedNs = qint64(info.st_ctim.tv_sec) * 1000000000 + qint64(info.st_ctim.tv_nsec);
    print.inode = quint64(info.st_ino);
    print.device = quint64(info.st_dev);
    return print;
}

FileFingerprint fingerprintOf(const QString &path, const QByteArray *bytes)
{
    FileFingerprint print;
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        print = fingerprintOfStat(info);
    if (bytes)
        print.hash = contentHash(*bytes);
    return print;
}

DiskChange diskChange(const QString &path, const FileFingerprint &known, FileFingerprint *now, QByteArray *bytes)
{
    FileFingerprint current = fingerprintOf(path);
    DiskChange change = DiskChange::None;
    if (!current.exists) {
        change = known.exists ? DiskChange::Removed : DiskChange::None;
    } else if (!known.exists) {
        change = DiskChange::Changed;
    } else if (!current.sameStat(known)) {
        // Through the one checked read: a read that fails leaves the hash
        // unknown, so the file counts as changed and no bytes are handed on.
        QByteArray content;
        if (readProgramBytes(path, &content, nullptr))
            current.hash = contentHash(content);
        change = current.hash.isEmpty() || current.hash != known.hash ? DiskChange::Changed : DiskChange::None;
        if (bytes)
            *bytes = content;
    } else {
        current.hash = known.hash;
    }
    if (now)
        *now = current;
    return change;
}

} // namespace tarvo
