#pragma once

// The recovery file: unsaved edits kept in the user's state folder, never
// beside the document, so that a crash, a kill or a power cut does not take
// them; the next start offers them back. The folder is the one that a save
// in place keeps its rollback copy in (see statefolder.h), under the same
// rules: only a folder that is this user's alone is written to or read
// from, and no folder that is there already has its mode changed.

#include "documentcells.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tarvo {

struct Recovery
{
    QString documentFile; // the document's file; empty for an untitled one
    int encoding = 0;     // the entry of the encoding list it was read in
    QDateTime kept;       // when the edits were kept
    QByteArray fileHash;  // the content hash of the file the edits were made on; empty when none
    DocumentData cells;
};

// The state folder: $XDG_STATE_HOME/tarvo, or ~/.local/state/tarvo where
// XDG_STATE_HOME is not set (see stateFolderPath).
QString recoveryFolder();

// The recovery file that the process `pid` keeps its edits in.
QString recoveryFilePath(qint64 pid);

// Makes the folder where it is missing and checks it (see makeStateFolder).
// True when recovery files can be kept there; false with `reason` naming
// the folder and saying why not (a symbolic link, a folder of another user
// or one that others may write, one that cannot be made). Nothing is kept
// then, and nothing there is changed.
bool prepareRecoveryFolder(QString *reason);

// Every recovery file in the folder, oldest first; none where the folder is
// not this user's alone. Symbolic links are not listed.
QStringList recoveryFiles();

// Writes the file at once or not at all: a new file that takes the place of
// any previous one only once every byte is on disk. Only the user may read
// it. The folder is made where it is missing; one that is refused (see
// prepareRecoveryFolder) is not written to. False with `error`.
bool writeRecoveryFile(const QString &path, const Recovery &recovery, QString *error = nullptr);

// False with `error` for a file that cannot be read or is no recovery file,
// and for one that is not to be trusted: in a folder that is not this
// user's alone, a symbolic link, not a regular file, another user's or
// writable by others, larger than any recovery file, naming an unknown
// encoding, a document file by a path that is not absolute, or a document
// file that is not a program file. The document file it names is read as
// any file is (see readProgramBytes) and must be one Open would take in the
// kept encoding (not a file in which no line is a record or a comment); an
// untitled document, and one whose file is gone (Save makes it again),
// are taken.
bool readRecoveryFile(const QString &path, Recovery *recovery, QString *error = nullptr);

// Whether the recovery file at `path` may be offered for Restore: true when
// readRecoveryFile takes it, `recovery` then receiving what it holds. False
// with `reason` naming the recovery file and saying why not; the file is
// then left where it is.
bool mayOfferRecovery(const QString &path, Recovery *recovery, QString *reason);

// Removes the file; true when it is gone.
bool removeRecoveryFile(const QString &path);

} // namespace tarvo
