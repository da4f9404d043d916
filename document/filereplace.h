#pragma once

#include "filecalls.h"

#include <QByteArray>
#include <QString>

namespace tarvo {

// Puts `bytes` into the file at `path` so that a failure at any point leaves
// the previous file as it was, and reports every failure:
//
// - Normally the bytes go into a new file beside the old one, which takes
//   the old one's place only once every byte is on disk, with the old
//   file's mode, owner and group.
// - A writable file in a folder where no new file can be made (or whose
//   owner the new file could not be given) is rewritten in place; its
//   previous bytes are kept in memory and put back should the write fail.
// - A symbolic link is followed: the file it leads to is replaced.
// - Something that exists and is not a regular file (a directory, a FIFO,
//   a device) is never replaced or opened; nor is a file whose permissions
//   mark it read-only.
//
// False with a message in `error` on failure.
bool replaceFileContents(const QString &path, const QByteArray &bytes, QString *error,
                         const FileCalls &calls = FileCalls::system());

} // namespace tarvo
