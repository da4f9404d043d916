// The main window's file operations: thin calls into the file-format
// library, plus the file dialogs and the remembered data directory.

#include "mainwindow.h"
#include "waitcursor.h"

#include "appidentity.h"
#include "datafiles.h"
#include "editorsettings.h"
#include "encodings.h"
#include "encodingchoice.h"
#include "paramnamesfile.h"
#include "programfiles.h"
#include "programreader.h"
#include "programwriter.h"
#include "document.h"
#include "userdialogs.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTextCodec>

QString MainWindow::encodingName(int index)
{
    return editor::encodingName(index);
}

void MainWindow::applyEncoding()
{
    editor::applyEncoding();
}

bool MainWindow::writeProgramFile(const QString &fileName)
{
    const WaitCursor busy;
    QTextCodec *codec = tarvo::codecForEncoding(writeEncoding >= 0 ? writeEncoding : editor::encodingIndex);
    const QDateTime stamp = QDateTime::currentDateTime();
    const tarvo::WriteResult result = tarvo::writeProgramFile(fileName, document->cells(), codec, stamp);
    replacedOnLastSave = result.unencodable;
    lastFileError = result.error;
    lastWrittenBytes = result.bytes; // to know the file by them afterwards
    if (result.ok)
        document->setCodecName(codec->name());
    return result.ok;
}

bool MainWindow::readProgramFile(const QString &fileName)
{
    const WaitCursor busy;
    // Read aside and taken as a whole: a file that cannot be read changes
    // nothing. The history starts anew with the file's cells.
    QTextCodec *codec = editor::currentCodec();
    tarvo::DocumentData cells;
    lastFileError.clear();
    if (!tarvo::readProgramFile(fileName, codec, cells, &lastFileError))
        return false;
    document->load(cells);
    document->setCodecName(codec->name());
    return true;
}

bool MainWindow::chooseSaveFile()
{
    if (!chooseDataFile(tr("Save to File"), true))
        return false;
    // A name with no dot anywhere in its path gets the program file extension.
    if (!document->fileName().contains(QLatin1Char('.')))
        document->setFileName(document->fileName() + QStringLiteral(".prg"));
    return true;
}

bool MainWindow::chooseOpenFile()
{
    document->setFileName(QString());
    return chooseDataFile(tr("Open File"), false);
}

bool MainWindow::chooseDataFile(const QString &title, bool forSaving)
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
    document->setFileName(choice.file);
    QSettings().setValue(settingskey::dataFilePath(), choice.directory);
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
