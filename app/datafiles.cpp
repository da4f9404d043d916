#include "datafiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace datafiles {

QStringList searchFolders()
{
    QStringList folders{QStringLiteral(".")};
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!programFolder.isEmpty()) {
        folders << QDir::cleanPath(programFolder + QStringLiteral("/../share/tarvo"));
        folders << QDir::cleanPath(programFolder + QStringLiteral("/data"));
    }
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::AppDataLocation))
        folders << QDir::cleanPath(folder);
    for (const QString &folder : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders << QDir::cleanPath(folder + QStringLiteral("/tarvo"));
    folders.removeDuplicates();
    return folders;
}

QString folderHolding(const QStringList &names, const QStringList &folders)
{
    for (const QString &folder : folders) {
        for (const QString &name : names) {
            if (QFileInfo(QDir(folder), name).isFile())
                return folder;
        }
    }
    return QString();
}

QString locate(const QString &name)
{
    const QString folder = folderHolding({name});
    if (folder.isEmpty() || folder == QLatin1String("."))
        return folder.isEmpty() ? QString() : name;
    return QDir(folder).filePath(name);
}

} // namespace datafiles
