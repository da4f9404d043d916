#include "statefolder.h"

#include "filecalls.h"
#include "regularfile.h"

#include <QFile>
#include <QList>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

QString shown(const QByteArray &path) { return QFile::decodeName(path); }

// True when nobody but this user (and the system) can rename, remove or
// replace what is in the folder `info` describes.
bool onlyOursToChange(const struct stat &info)
{
    return (info.st_uid == ::geteuid() || info.st_uid == 0)
           && (!(info.st_mode & (S_IWGRP | S_IWOTH)) || (info.st_mode & S_ISVTX));
}

} // namespace

QString stateFolderPath()
{
    QByteArray base = qgetenv("XDG_STATE_HOME");
    // Only an absolute path counts, as the base directory rules say.
    if (!base.startsWith('/')) {
        QByteArray home = qgetenv("HOME");
        if (!home.startsWith('/')) {
            // (getpwuid_r: set looks from several threads at once.)
            passwd entry;
            passwd *user = nullptr;
            QByteArray buffer(16384, Qt::Uninitialized);
            const bool found = ::getpwuid_r(::geteuid(), &entry, buffer.data(), size_t(buffer.size()), &user) == 0
                               && user && user->pw_dir && user->pw_dir[0] == '/';
            home = found ? QByteArray(user->pw_dir) : QByteArray();
        }
        if (home.isEmpty())
            return QString();
        while (home.size() > 1 && home.endsWith('/'))
            home.chop(1);
        base = home + (home == "/" ? "" : "/") + ".local/state";
    }
    while (base.size() > 1 && base.endsWith('/'))
        base.chop(1);
    return QFile::decodeName(base + (base == "/" ? "" : "/") + "tarvo");
}

StateFolderCheck checkStateFolder(const QString &folder, QString *reason)
{
    QString unused;
    QString &why = reason ? *reason : unused;
    if (folder.isEmpty()) {
        why = QStringLiteral("this user has no home folder");
        return StateFolderCheck::Refused;
    }
    const QByteArray name = QFile::encodeName(folder);
    struct stat info;
    if (::lstat(name.constData(), &info) != 0) {
        why = QStringLiteral("%1: %2").arg(folder, systemErrorText(errno));
        return errno == ENOENT ? StateFolderCheck::Missing : StateFolderCheck::Refused;
    }
    if (S_ISLNK(info.st_mode)) {
        why = QStringLiteral("%1 is a symbolic link, which is not followed").arg(folder);
        return StateFolderCheck::Refused;
    }
    if (!S_ISDIR(info.st_mode)) {
        why = QStringLiteral("%1 is not a folder").arg(folder);
        return StateFolderCheck::Refused;
    }
    if (info.st_uid != ::geteuid()) {
        why = QStringLiteral("%1 belongs to another user").arg(folder);
        return StateFolderCheck::Refused;
    }
    if (info.st_mode & (S_IWGRP | S_IWOTH)) {
        why = QStringLiteral("%1 may be written by other users").arg(folder);
        return StateFolderCheck::Refused;
    }
    // The folders above it, as they really are (links followed): one that
    // another user may change could have the state folder swapped.
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray parent = slash > 0 ? name.left(slash) : QByteArray("/");
    char resolved[PATH_MAX];
    if (!::realpath(parent.constData(), resolved)) {
        why = QStringLiteral("%1: %2").arg(shown(parent), systemErrorText(errno));
        return StateFolderCheck::Refused;
    }
    QList<QByteArray> above{QByteArray("/")};
    for (const QByteArray &part : QByteArray(resolved).split('/')) {
        if (!part.isEmpty())
            above << (above.size() == 1 ? QByteArray() : above.last()) + '/' + part;
    }
    for (const QByteArray &holder : std::as_const(above)) {
        struct stat holderInfo;
        if (::stat(holder.constData(), &holderInfo) != 0) {
            why = QStringLiteral("%1: %2").arg(shown(holder), systemErrorText(errno));
            return StateFolderCheck::Refused;
        }
        if (!onlyOursToChange(holderInfo)) {
            why = QStringLiteral("%1 lies in %2, which other users may change").arg(folder, shown(holder));
            return StateFolderCheck::Refused;
        }
    }
    return StateFolderCheck::Usable;
}

QString makeStateFolder(QString *reason)
{
    const QString folder = stateFolderPath();
    if (folder.isEmpty()) {
        *reason = QStringLiteral("this user has no home folder");
        return QString();
    }
    if (checkStateFolder(folder, reason) == StateFolderCheck::Missing) {
        // Each missing part made private to this user; nothing that is
        // there already is changed.
        const QList<QByteArray> parts = QFile::encodeName(folder).split('/');
        QByteArray path;
        for (const QByteArray &part : parts) {
            if (part.isEmpty())
                continue;
            path += '/' + part;
            if (retryInterrupted([&] { return ::mkdir(path.constData(), 0700); }) != 0 && errno != EEXIST) {
                *reason = QStringLiteral("%1: %2").arg(shown(path), systemErrorText(errno));
                return QString();
            }
        }
    }
    return checkStateFolder(folder, reason) == StateFolderCheck::Usable ? folder : QString();
}

} // namespace tarvo
