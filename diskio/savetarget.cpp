#include "savetarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <climits>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {

// Symbolic links are followed this many times in one path, as the system does.
constexpr int kMaxLinks = 40;

// True when the system, set to protect links in shared folders, would let
// this user follow the link whose own status is `info` in `folder`.
bool mayFollow(const QByteArray &folder, const struct stat &info)
{
    struct stat holder;
    if (::stat(folder.constData(), &holder) != 0)
        return true; // the save itself reports what is wrong with the folder
    const bool shared = (holder.st_mode & S_ISVTX) && (holder.st_mode & S_IWOTH);
    return !shared || info.st_uid == ::geteuid() || info.st_uid == holder.st_uid;
}

QByteArray joined(const QByteArray &folder, const QByteArray &name)
{
    return folder.endsWith('/') ? QByteArray(folder + name) : QByteArray(folder + '/' + name);
}

} // namespace

bool resolveSaveTarget(const QString &path, QString *target, QString *error)
{
    // Part by part, as the system walks a path: every link on the way, in
    // the folders as well as at the end, is followed only where the rule
    // above lets it be. `done` never holds a link.
    QList<QByteArray> rest = QFile::encodeName(QFileInfo(path).absoluteFilePath()).split('/');
    QByteArray done = "/";
    int links = 0;
    while (!rest.isEmpty()) {
        const QByteArray part = rest.takeFirst();
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            const qsizetype slash = done.lastIndexOf('/');
            done = slash > 0 ? done.left(slash) : QByteArray("/");
            continue;
        }
        const QByteArray next = joined(done, part);
        struct stat info;
        if (::lstat(next.constData(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            done = next; // a folder, the file, or a part not made yet
            continue;
        }
        if (links == kMaxLinks) {
            // A loop: the path as it stands, which opening reports.
            done = next;
            for (const QByteArray &more : std::as_const(rest))
                if (!more.isEmpty())
                    done = joined(done, more);
            break;
        }
        if (!mayFollow(done, info)) {
            *error = QStringLiteral("%1 is a symbolic link that another user made in a folder everybody may "
                                    "write; it is not followed")
                         .arg(QFile::decodeName(next));
            return false;
        }
        QByteArray leads(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(next.constData(), leads.data(), size_t(leads.size()));
        if (length <= 0 || length >= leads.size()) {
            done = next; // unreadable: opening it reports why
            continue;
        }
        leads.truncate(length);
        ++links;
        if (leads.startsWith('/'))
            done = "/";
        rest = leads.split('/') + rest;
    }
    *target = QFile::decodeName(done);
    return true;
}

} // namespace tarvo
