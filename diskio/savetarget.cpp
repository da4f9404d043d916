#include "savetarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

// Symbolic links are followed this deep, as the system does.
constexpr int kMaxLinks = 40;

// True when the system, set to protect links in shared folders, would let
// this user follow the link at `link`, whose own status is `info`.
bool mayFollow(const QByteArray &link, const struct stat &info)
{
    const qsizetype slash = link.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? link.left(slash) : QByteArray("/");
    struct stat holder;
    if (::stat(folder.constData(), &holder) != 0)
        return true; // the save itself reports what is wrong with the folder
    const bool shared = (holder.st_mode & S_ISVTX) && (holder.st_mode & S_IWOTH);
    return !shared || info.st_uid == ::geteuid() || info.st_uid == holder.st_uid;
}

} // namespace

bool resolveSaveTarget(const QString &path, QString *target, QString *error)
{
    QString current = QFileInfo(path).absoluteFilePath();
    for (int i = 0; i < kMaxLinks; ++i) {
        const QByteArray name = QFile::encodeName(current);
        struct stat info;
        if (::lstat(name.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            *target = current;
            return true;
        }
        if (!mayFollow(name, info)) {
            *error = QStringLiteral("%1 is a symbolic link that another user made in a folder everybody may "
                                    "write; it is not followed")
                         .arg(current);
            return false;
        }
        const QString next = QFile::decodeName(QFile::encodeName(QFileInfo(current).symLinkTarget()));
        if (next.isEmpty())
            break;
        current = QDir::cleanPath(next);
    }
    *target = current; // a loop: opening it reports it
    return true;
}

} // namespace tarvo
