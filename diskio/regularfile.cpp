#include "regularfile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

QString notRegularText(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("Is a directory");
    return QStringLiteral("Not a regular file");
}

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

QString systemErrorText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

int openRegularFile(const QString &path, QString *error, struct stat *info)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty()) {
        fail(error, systemErrorText(ENOENT));
        return -1;
    }
    // Look before opening: opening a FIFO waits for a writer, and opening a
    // device can do things of its own.
    struct stat before;
    if (::stat(name.constData(), &before) != 0) {
        fail(error, systemErrorText(errno));
        return -1;
    }
    if (!S_ISREG(before.st_mode)) {
        fail(error, notRegularText(before.st_mode));
        return -1;
    }

    // Non-blocking, in case the path was swapped for a FIFO meanwhile; what
    // was opened is looked at once more.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        fail(error, systemErrorText(errno));
        return -1;
    }
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        fail(error, notRegularText(opened.st_mode));
        ::close(fd);
        return -1;
    }
    // Of the flags F_SETFL sets, the descriptor was opened with none but
    // O_NONBLOCK.
    ::fcntl(fd, F_SETFL, 0);
    if (info)
        *info = opened;
    return fd;
}

bool openRegularFileForReading(QFile &file, const QString &path, QString *error)
{
    const int fd = openRegularFile(path, error);
    if (fd < 0)
        return false;
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        const QString text = file.errorString();
        ::close(fd);
        return fail(error, text);
    }
    return true;
}

} // namespace tarvo
