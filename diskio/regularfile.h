#pragma once

#include <QString>

class QFile;
struct stat;

namespace tarvo {

// Opens `path` read-only when it is a regular file (symbolic links
// followed) and returns the descriptor, blocking mode restored. A directory,
// a FIFO, a socket or a device named as a file is refused without ever
// blocking on it or reading from it. -1 with `error` set on failure.
// `info`, when given, receives what fstat says of the opened file.
int openRegularFile(const QString &path, QString *error, struct stat *info = nullptr);

// The same into a QFile, which then owns the descriptor. False with `error`
// set on failure; `file` is then closed.
bool openRegularFileForReading(QFile &file, const QString &path, QString *error);

// Why the last system call failed, as a message ("No space left on device").
QString systemErrorText(int errorNumber);

} // namespace tarvo
