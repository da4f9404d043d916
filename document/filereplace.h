#pragma once

#include "filecalls.h"

#include <QByteArray>
#include <QSet>
#include <QString>

namespace tarvo {

// Puts `bytes` into the file at `path` so that a failure or a crash at any
// point leaves the previous file or the new one, never a mix, and reports
// every failure:
//
// - The writer holds the file's save lock (see SaveLock) while it writes,
//   so two programs saving one file save one after the other.
// - Normally the bytes go into a new file beside the old one (unnamed until
//   complete where the file system allows it), which takes the old one's
//   place only once every byte is on disk, with the old file's mode, owner,
//   group, access control list and other extended attributes.
// - A writable file in a folder where no new file can be made, one whose
//   owner or attributes the new file could not be given, and one with
//   several names (hard links) are rewritten in place: a copy of the old
//   bytes is kept on disk first (see SaveJournal), and put back should the
//   write fail; after a crash the next open of the file puts them back.
// - A symbolic link is followed as resolveSaveTarget says.
// - Something that exists and is not a regular file (a directory, a FIFO,
//   a device) is never replaced or opened; nor is a file whose permissions
//   mark it read-only.
//
// False with a message in `error` on failure.
bool replaceFileContents(const QString &path, const QByteArray &bytes, QString *error,
                         const FileCalls &calls = FileCalls::system());

// For a run of many saves (tarvo-prg set): while one exists in a thread,
// the saves of that thread leave the flush of their folders' entries to it,
// and each folder is flushed once, by flush() or when it goes, instead of
// once a file. Every file itself is still on disk before it takes its old
// one's place, so a crash before the flush leaves each file old or new.
class FolderFlushes
{
public:
    FolderFlushes();
    ~FolderFlushes();
    FolderFlushes(const FolderFlushes &) = delete;
    FolderFlushes &operator=(const FolderFlushes &) = delete;

    void flush();

private:
    QSet<QByteArray> m_folders;
    FolderFlushes *m_outer;
    friend void syncFolderOf(const QByteArray &folder, const FileCalls &calls);
};

} // namespace tarvo
