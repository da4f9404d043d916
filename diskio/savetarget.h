#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace tarvo {

// Where a save to `path` really goes: the absolute path with every symbolic
// link in it followed, in its folders as well as at its end (also one that
// leads to a file not made yet). A link is followed only as the system
// would let this user follow it were the system at its strictest, whatever
// it is set to: in a folder that everybody may write and whose sticky bit
// is set (such as /tmp), a link owned neither by this user nor by the
// folder's owner may have been planted there by someone else to redirect
// the save, and is refused, be it the file or a folder on the way to it.
// False with `error` set then.
bool resolveSaveTarget(const QString &path, QString *target, QString *error);

// resolveSaveTarget for the many files of one run (tarvo-prg set): the
// working directory is asked for once, and each folder is walked once, so
// that a file costs one look at its own name. The folders' answers are
// kept for the life of the object.
class SaveTargets
{
public:
    SaveTargets();

    // As resolveSaveTarget, the target as the system spells it.
    bool resolve(const QString &path, QByteArray *target, QString *error);

private:
    struct Folder
    {
        QByteArray resolved; // empty: refused, `error` says why
        QString error;
    };
    QByteArray m_workingDirectory;
    QHash<QByteArray, Folder> m_folders;
};

} // namespace tarvo
