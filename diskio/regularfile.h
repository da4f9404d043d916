#pragma once

#include <QByteArray>
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

// Opens `name` with `flags` (O_RDONLY, O_WRONLY or O_RDWR, O_CLOEXEC and
// the like) only when it names a regular file, and opens nothing else, not
// for a moment: opening a FIFO waits for a writer, opening a serial port
// raises its modem lines (which resets many devices). The name is first
// taken with O_PATH, which opens nothing; what it leads to is looked at,
// and only a regular file is then opened, through that very handle, so a
// name swapped meanwhile changes nothing. With O_NOFOLLOW in `flags` a
// symbolic link as the last part is refused. -1 with errno set on
// failure; where the name leads to something that is not a regular file,
// -1 with `notRegular` (when given) set and `info` saying what it is.
// `info`, when given, receives what fstat says of what was found.
int openRegular(const QByteArray &name, int flags, struct stat *info = nullptr, bool *notRegular = nullptr);

// "Is a directory" or "Not a regular file", for the mode of something
// that is no regular file.
QString notRegularText(unsigned mode);

// The same into a QFile, which then owns the descriptor. False with `error`
// set on failure; `file` is then closed.
bool openRegularFileForReading(QFile &file, const QString &path, QString *error);

// Why the last system call failed, as a message ("No space left on device").
QString systemErrorText(int errorNumber);

} // namespace tarvo
