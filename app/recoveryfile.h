#pragma once

// The recovery file: unsaved edits kept in the user's state folder, never
// beside the document, so that a crash, a kill or a power cut does not take
// them; the next start offers them back.

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

// $XDG_STATE_HOME/tarvo, or ~/.local/state/tarvo where it is not set.
QString recoveryFolder();

// The recovery file that the process `pid` keeps its edits in.
QString recoveryFilePath(qint64 pid);

// Every recovery file in the folder, oldest first.
QStringList recoveryFiles();

// Writes the file at once or not at all: a new file that takes the place of
// any previous one only once every byte is on disk; the folder is made
// where it is missing. Only the user may read it. False with `error`.
bool writeRecoveryFile(const QString &path, const Recovery &recovery, QString *error = nullptr);

// False with `error` for a file that cannot be read or is no recovery file.
bool readRecoveryFile(const QString &path, Recovery *recovery, QString *error = nullptr);

// Removes the file; true when it is gone.
bool removeRecoveryFile(const QString &path);

} // namespace tarvo
