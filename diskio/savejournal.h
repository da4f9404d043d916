#pragma once

#include <QByteArray>
#include <QString>

#include <sys/stat.h>

namespace tarvo {

// The rollback copy that a save in place keeps of the file's previous
// bytes, in the saving user's state folder ($XDG_STATE_HOME/tarvo, by
// default ~/.local/state/tarvo, made private to the user). It is on disk,
// flushed, before the first byte of the file changes, and is removed once
// the new bytes are. Should the save be cut short (a crash, a kill, a power
// cut), the next open of the file finds it and makes the file whole again.
class SaveJournal
{
public:
    // Writes and flushes the copy of `previous`, the bytes of the file
    // `file` (its status) at `target`, about to be replaced by `next`.
    // False with `error` set when the copy cannot be kept; the file must
    // then not be touched.
    bool begin(const struct stat &file, const QByteArray &target, const QByteArray &previous,
               const QByteArray &next, QString *error);

    // Removes the copy once the file is whole (new or old again). False
    // with `error` set when it cannot be removed; the next open of the file
    // then finds the file whole and removes it.
    bool finish(QString *error);

    // Where the copy is kept, for messages.
    QString path() const { return QString::fromLocal8Bit(m_path); }

private:
    QByteArray m_path;
};

// Looks for an interrupted save in place of the file at `path` (the journal
// of its device and inode in this user's state folder) and makes the file
// whole: the previous bytes put back, or the new ones kept where the file
// already holds them complete. A new file that a killed save left beside
// it is removed. True when there was one, with `message`
// saying what was found and done (for the user to read); false otherwise.
bool recoverInterruptedSave(const QString &path, QString *message);

// recoverInterruptedSave for one who reads or writes `path`, with any message
// handed to the reporter below.
void recoverInterruptedSave(const QString &path);

// The name a new file of a save has beside its target until it takes the
// target's place. Only the writer that holds the target's lock uses it, and
// holds the file itself locked: one that nobody holds is left over from a
// save that was killed.
QByteArray pendingSaveName(const QByteArray &target);

enum class Leftover { None, Removed, InUse, Stuck };

// Removes the file at `pending` when it is left over (not held by a live
// writer). Stuck, with `error` saying why, when it could not be removed.
Leftover removeLeftoverSave(const QByteArray &pending, QString *error);

// Hands `message` to the reporter below.
void reportInterruptedSave(const QString &message);

// Where the messages of recoverInterruptedSave(path) go: tarvo-prg prints
// them on standard error, the editor shows them. By default they go to the
// Qt message handler as warnings.
using InterruptedSaveReporter = void (*)(const QString &message);
void setInterruptedSaveReporter(InterruptedSaveReporter reporter);

} // namespace tarvo
