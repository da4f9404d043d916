#pragma once

#include "filecalls.h"

#include <QByteArray>
#include <QMutex>
#include <QSet>
#include <QString>

#include <memory>

#include <sys/stat.h>

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
// - Bytes that no read would take back (more than kMaxProgramFileBytes)
//   are not written.
// - A file whose last save in place was cut short and cannot be made whole
//   now (see recoverInterruptedSave) is not saved over.
//
// False with a message in `error` on failure. `notice`, when given,
// receives what the user should know besides, failed or not: an
// interrupted earlier save of the file that was made whole first, or what
// a save that went through could not clear away (a rollback copy or an
// unfinished file that could not be removed); empty when there is nothing.
bool replaceFileContents(const QString &path, const QByteArray &bytes, QString *error,
                         const FileCalls &calls = FileCalls::system(), QString *notice = nullptr);

class FolderFlushes;

// The save of replaceFileContents in its three steps, for a run of many
// files (tarvo-prg set), whose steps run on several threads at once:
// write() locks the file and puts its new bytes into a new file beside it,
// sync() puts that file on disk, commit() puts it in the old one's place
// and releases the lock. A file that must be rewritten in place is saved
// whole, on disk, by write(); sync() and commit() then have nothing left to
// do. A replacement dropped before commit() leaves the old file as it was
// and nothing beside it. Each step returns false, with `error` set, when
// the save failed; the old file then stays.
class PendingReplacement
{
public:
    PendingReplacement(const QString &path, const QByteArray &bytes, const FileCalls &calls = FileCalls::system());

    // A file that a run of many has made ready itself (tarvo-prg set): its
    // path resolved (see SaveTargets), its save lock held by the run, an
    // interrupted save of it settled, and `now` what stat said of it when
    // it was read: a file that is no longer so is not saved over.
    struct Prepared
    {
        QByteArray target;
        struct stat now = {}; // st_mode 0: there is no file
        bool leftoverPossible = true; // a new file of an earlier save may be beside it
    };
    PendingReplacement(const Prepared &prepared, const QByteArray &bytes,
                       const FileCalls &calls = FileCalls::system());
    ~PendingReplacement();
    PendingReplacement(const PendingReplacement &) = delete;
    PendingReplacement &operator=(const PendingReplacement &) = delete;

    bool write(QString *error);
    bool sync(QString *error);
    // `flushes`, when given, flushes the file's folder with the others of
    // the run instead of at once.
    bool commit(QString *error, FolderFlushes *flushes = nullptr);

    // True once the new contents are on disk (rewritten in place by
    // write(), or synced): a later failure elsewhere does not touch them.
    bool isOnDisk() const;

    // For a prepared file: true when a step failed because the file was no
    // longer as `now` said (another program wrote it meanwhile; that is
    // looked for last, just before the new file takes its place). The old
    // file, with the other program's change, stays.
    bool changedMeanwhile() const;

    // As replaceFileContents' `notice`: what the steps so far found to say
    // besides their outcome.
    QString notice() const;

private:
    struct Steps;
    QString m_path;
    QByteArray m_bytes;
    const FileCalls &m_calls;
    std::unique_ptr<Steps> m_steps;
};

// For a run of many saves (tarvo-prg set): the commits handed one (on any
// thread) leave the flush of their folders' entries to it, and each folder
// is flushed once, by flush() or when it goes, instead of once a file. Every file
// itself is still on disk before it takes its old one's place, so a crash
// before the flush leaves each file old or new.
class FolderFlushes
{
public:
    FolderFlushes() = default;
    ~FolderFlushes();
    FolderFlushes(const FolderFlushes &) = delete;
    FolderFlushes &operator=(const FolderFlushes &) = delete;

    void add(const QByteArray &folder);
    void flush();

private:
    QMutex m_mutex; // commits are made on several threads
    QSet<QByteArray> m_folders;
};

} // namespace tarvo
