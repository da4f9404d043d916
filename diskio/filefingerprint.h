#pragma once

// What a document's file was when the editor last read or wrote it, so that
// a change by another program is noticed before it is overwritten.

#include <QByteArray>
#include <QString>

struct stat;

namespace tarvo {

struct FileFingerprint
{
    bool exists = false;
    qint64 size = -1;
    qint64 modifiedNs = 0; // modification time, nanoseconds since 1970
    qint64 changedNs = 0;  // status change time (a write, a rename, new rights)
    quint64 inode = 0;
    quint64 device = 0;
    QByteArray hash;       // of the bytes read or written; empty when unknown

    // Size, times, inode and device: what stat says, without the bytes.
    bool sameStat(const FileFingerprint &other) const;
};

// What `info` says of a file.
FileFingerprint fingerprintOfStat(const struct stat &info);

// What stat says of `path` now (symbolic links followed), with the hash of
// `bytes` when given: the bytes just read from it or written to it.
FileFingerprint fingerprintOf(const QString &path, const QByteArray *bytes = nullptr);

// The hash that fingerprints carry.
QByteArray contentHash(const QByteArray &bytes);

enum class DiskChange {
    None,     // the file is as the editor left it
    Changed,  // other bytes are in it now
    Removed,  // it is gone (or no regular file any more)
};

// How the file at `path` differs from `known`. Where stat says nothing
// changed, nothing did; otherwise its bytes are read and compared (a file
// only touched, or written with the same bytes, has not changed). `now`,
// when given, receives the file's fingerprint as it is, and `bytes` its
// bytes where they were read (empty where the read failed).
DiskChange diskChange(const QString &path, const FileFingerprint &known, FileFingerprint *now = nullptr,
                      QByteArray *bytes = nullptr);

} // namespace tarvo
