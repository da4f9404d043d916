#pragma once

#include <QString>
#include <QStringList>

// Where the editor finds its data files (the parameter names file and the
// translation): the working directory first, then the data folder installed
// beside the program (../share/tarvo from the program's folder, or data/ in
// a build tree), then the user's and the system's standard data folders.
namespace datafiles {

// The folders looked in, in order, without duplicates. The working
// directory is given as ".".
QStringList searchFolders();

// The first of `folders` that holds a regular file named one of `names`,
// or an empty string when none does.
QString folderHolding(const QStringList &names, const QStringList &folders = searchFolders());

// The path of data file `name`: as given when the working directory holds
// it, else the full path where it was found; empty when no folder holds it.
QString locate(const QString &name);

} // namespace datafiles
