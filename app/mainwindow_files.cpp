// The file dialogs with their remembered folder, the parameter names file,
// and the encoding in force.

#include "mainwindow.h"

#include "appidentity.h"
#include "datafiles.h"
#include "editorsettings.h"
#include "encodingchoice.h"
#include "paramnamesfile.h"
#include "programfiles.h"
#include "userdialogs.h"

#include <QDir>
#include <QSettings>

QString MainWindow::encodingName(int index)
{
    return editor::encodingName(index);
}

void MainWindow::applyEncoding()
{
    editor::applyEncoding();
}

bool MainWindow::chooseDataFile(const QString &title, bool forSaving, QString *fileName)
{
    UserDialogs::FileRequest request;
    request.title = title;
    request.filter = tr("Data files (*.prg);;All files (*.*)");
    request.startDirectory = QSettings().value(settingskey::dataFilePath(), QString()).toString();
    // Until a folder has been chosen once, the user's home, not the working
    // directory (for the installed editor, its read-only data folder).
    if (request.startDirectory.isEmpty())
        request.startDirectory = QDir::homePath();
    request.forSaving = forSaving;
    UserDialogs::FileChoice choice;
    if (!dialogs->chooseFile(this, request, &choice))
        return false;
    *fileName = choice.file;
    // Written, and so flushed, only when it changes.
    QSettings settings;
    if (settings.value(settingskey::dataFilePath()).toString() != choice.directory)
        settings.setValue(settingskey::dataFilePath(), choice.directory);
    return true;
}

bool MainWindow::loadParamNames(bool showWarnings)
{
    // Found in the working directory, the installed data folder or the
    // standard data folders; when none holds it, the plain name fails below.
    QString file = datafiles::locate(tarvo::paramNamesFileName());
    if (file.isEmpty())
        file = tarvo::paramNamesFileName();
    const tarvo::NamesLoad result = tarvo::loadParamNamesFile(file, editor::currentCodec(), &paramNames);
    if (result == tarvo::NamesLoad::Loaded || !showWarnings)
        return result == tarvo::NamesLoad::Loaded;
    QString text;
    switch (result) {
    case tarvo::NamesLoad::CannotOpen: text = tr("Failed to load file: %1"); break;
    case tarvo::NamesLoad::WrongEncoding: text = tr("Wrong encoding of the file: %1"); break;
    default: text = tr("Bad format of the file: %1"); break;
    }
    dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(), text.arg(file));
    return false;
}
