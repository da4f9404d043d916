#include "savetarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>

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

// Walks `rest` from the folder `done` (which holds no link), part by part,
// as the system walks a path: every link on the way, in the folders as well
// as at the end, is followed only where the rule above lets it be.
bool walk(QByteArray done, QList<QByteArray> rest, QByteArray *target, QString *error)
{
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
    *target = done;
    return true;
}

} // namespace

bool resolveSaveTarget(const QString &path, QString *target, QString *error)
{
    QByteArray resolved;
    if (!walk("/", QFile::encodeName(QFileInfo(path).absoluteFilePath()).split('/'), &resolved, error))
        return false;
    *target = QFile::decodeName(resolved);
    return true;
}

SaveTargets::SaveTargets()
    : m_workingDirectory(QFile::encodeName(QDir::currentPath()))
{
}

bool SaveTargets::resolve(const QString &path, QByteArray *target, QString *error)
{
    QByteArray absolute = QFile::encodeName(path);
    if (absolute.isEmpty())
        absolute = ".";
    if (!absolute.startsWith('/'))
        absolute = joined(m_workingDirectory, absolute);
    // Taken apart as resolveSaveTarget takes it: "." and ".." by their
    // spelling, before any link is looked at.
    if (absolute.contains("/.") || absolute.contains("//"))
        absolute = QFile::encodeName(QDir::cleanPath(QFile::decodeName(absolute)));
    const qsizetype slash = absolute.lastIndexOf('/');
    const QByteArray name = absolute.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..")
        return walk("/", absolute.split('/'), target, error);
    // The folder once for all its files, then the file's own name.
    const QByteArray folderPath = slash > 0 ? absolute.left(slash) : QByteArray("/");
    auto folder = m_folders.find(folderPath);
    if (folder == m_folders.end()) {
        Folder walked;
        if (!walk("/", folderPath.split('/'), &walked.resolved, &walked.error))
            walked.resolved.clear();
        folder = m_folders.insert(folderPath, walked);
    }
    if (folder->resolved.isEmpty()) {
        *error = folder->error;
        return false;
    }
    return walk(folder->resolved, {name}, target, error);
}

} // namespace tarvo
