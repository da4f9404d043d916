#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QList>

#include <sys/stat.h>

namespace tarvo {

// The rollback copy that a save in place keeps, in the saving user's state
// folder (see statefolder.h): what the file held before and what is being
// written into it, with their sizes and hashes. It is on disk, flushed,
// before the first byte of the file changes, and is removed once the new
// bytes are. Should the save be cut short (a crash, a kill, a power cut),
// the next read or save of the file finds it and makes the file whole
// again; it is put back only over the torn file it belongs to.
class SaveJournal
{
public:
    SaveJournal() = default;
    ~SaveJournal();
    SaveJournal(const SaveJournal &) = delete;
    SaveJournal &operator=(const SaveJournal &) = delete;

    // Writes and flushes the copy of `previous`, the bytes of the file
    // `file` (its status) at `target`, about to be replaced by `next`.
    // False with `error` set when the copy cannot be kept; the file must
    // then not be touched.
    bool begin(const struct stat &file, const QByteArray &target, const QByteArray &previous,
               const QByteArray &next, QString *error);

    // Removes the copy once the file is whole (new, or old again). When it
    // cannot be removed, false with `notice` saying so: the copy is then
    // emptied where it can be, which marks it as belonging to a save that
    // finished, never to be put back, and the next read of the file removes
    // it.
    bool finish(QString *notice);

    // Where the copy is kept, for messages.
    QString path() const { return QString::fromLocal8Bit(m_path); }

private:
    QByteArray m_path;
    int m_fd = -1;
};

// Looks for an interrupted save in place of the file at `path` (the copy
// of its device and inode in this user's state folder) and makes the file
// whole. The copy's bytes go back only over the torn file its save left:
// one in which every byte is the previous or the new contents' byte at that
// place. A file that holds the new contents complete keeps them; a file
// that another program wrote since is left as it is, and the copy is kept
// aside in the state folder. A new file that a killed save left beside it
// is removed. True when there was anything, with `message` saying what was
// found and done (for the user to read); false otherwise.
// `unresolved`, when given, is set when the file could not be made whole or
// could not be checked (the copy cannot be read, the file cannot be
// written): the copy then stays where it is, the message says where, and
// the file must neither be read as whole nor saved over until it can be.
bool recoverInterruptedSave(const QString &path, QString *message, bool *unresolved = nullptr);

// Where interrupted saves may be, for a run of many files (tarvo-prg set and
// check): each folder of the files is listed once for the new files a save
// leaves beside its file, and the state folder once for the copies of saves
// in place, where a look for each file would cost two of each file's own.
// A file in a folder that cannot be listed may have one.
class InterruptedSaves
{
public:
    // Lists the state folder (where it is usable, as recoverInterruptedSave
    // requires) and, once each, the folders of the files at `names` (paths
    // as the system spells them; links in their folders are followed). For
    // a few files nothing is listed: each may have one.
    void lookFor(const QList<QByteArray> &names);

    // False when the file at `name` (as given to lookFor) with this device
    // and inode number has certainly no interrupted save: it is no link,
    // and there is no new file of a save beside it and no copy of it in the
    // state folder.
    bool mayHave(const QByteArray &name, unsigned long long device, unsigned long long inode) const;

private:
    bool m_journalsListed = false;
    QSet<QByteArray> m_journals;            // names in the state folder
    QHash<QByteArray, bool> m_listedFolders; // folder as spelled: listed
    // folder + '/' + name of each new file of a save, and of each link
    QSet<QByteArray> m_unusual;
};

// recoverInterruptedSave for one who is about to read `path`: a message
// of a save made whole goes to the reporter below. False, with `error`
// saying why, where it is unresolved.
bool settleInterruptedSave(const QString &path, QString *error);

// The name a new file of a save has beside its target until it takes the
// target's place. Only the writer that holds the target's lock uses it, and
// holds the file itself locked: one that nobody holds is left over from a
// save that was killed.
QByteArray pendingSaveName(const QByteArray &target);

enum class Leftover { None, Removed, InUse, Stuck };

// Removes the file at `pending` when it is left over (not held by a live
// writer). Stuck, with `error` saying why, when it could not be removed.
Leftover removeLeftoverSave(const QByteArray &pending, QString *error);

// Where the messages of settleInterruptedSave go: tarvo-prg prints them on
// standard error. By default they go to the Qt message handler as warnings.
// One reporter for the whole process (see "The save engine" in README.md):
// the checked read finds and mends interrupted saves deep below every
// caller, none of which has a way of its own to pass a message on.
using InterruptedSaveReporter = void (*)(const QString &message);
void setInterruptedSaveReporter(InterruptedSaveReporter reporter);

} // namespace tarvo
