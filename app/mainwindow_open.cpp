// Open: the file dialog, the read with its messages, the encoding question,
// and a reload when another program changed the document's file.

#include "mainwindow.h"

#include "appidentity.h"
#include "document.h"
#include "editorsettings.h"
#include "encodingchoice.h"
#include "encodings.h"
#include "encodingtrust.h"
#include "filefailure.h"
#include "recentfiles.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"

#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>
#include <QTextCodec>

namespace {
// Names listed in a box itself; the rest go in its details.
constexpr int kNamedInBox = 8;
// Encodings offered as buttons.
constexpr int kEncodingButtons = 3;
} // namespace

void MainWindow::openDoc()
{
    if (!askToClose())
        return;
    // The document stays until a file has been read: cancelling the dialog,
    // or a file that cannot be read or is no program, keeps it.
    QString chosen;
    if (chooseOpenFile(&chosen))
        readProgramFile(chosen);
}

void MainWindow::openFile(const QString &path)
{
    if (!askToClose())
        return;
    readProgramFile(path);
}

void MainWindow::openOrCreate(const QString &path)
{
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink()) {
        openFile(path);
        return;
    }
    // A name for a file that does not exist yet: a new document that Save
    // writes there.
    if (!askToClose())
        return;
    clearDocument();
    document->makeNew(path);
    statusBar()->showMessage(tr("New Document") + QStringLiteral(": ") + path);
    ui->tabMain->setCurrentIndex(0);
}

bool MainWindow::chooseOpenFile(QString *fileName)
{
    return chooseDataFile(tr("Open File"), false, fileName);
}

bool MainWindow::readProgramFile(const QString &fileName)
{
    return openFile(fileName, editor::settingEntry(), false);
}

bool MainWindow::openFile(const QString &path, int encoding, bool reloading)
{
    const auto ask = [this, &path](const QByteArray &bytes, int *chosen, bool *lossless) {
        return askEncodingAtOpen(path, bytes, chosen, lossless);
    };
    const Document::OpenResult result = reloading ? document->reload(ask) : document->open(path, encoding, ask);
    // A save of it that was cut short was made whole before the read.
    if (!result.recovered.isEmpty())
        dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(), result.recovered);
    switch (result.status) {
    case Document::OpenStatus::Opened:
        break;
    case Document::OpenStatus::CannotRead:
        dialogs->showMessage(this, QMessageBox::Critical, identity::programTitle(),
                             FileFailure::message(tr("Failed to open for reading file %1").arg(path), result.error,
                                                  FileFailure::Operation::Open));
        // Whatever the window holds now, it is not that file's: the next
        // Save asks for a name, and the window says so.
        document->forgetFile();
        statusBar()->showMessage(tr("%1 was not opened; the document stays as it was, untitled: Save asks for a "
                                    "name")
                                     .arg(path));
        return false;
    case Document::OpenStatus::NotAProgram: {
        QString text = tr("The file %1 is not a program file: none of its lines is a record or a comment. "
                          "The document stays as it was.")
                           .arg(path);
        switch (result.notAProgram) {
        case tarvo::NotAProgramFile::CarriageReturnEnds:
            text += QStringLiteral("\n\n") + tr("Its lines end in a CR alone; a program file's end in CR LF.");
            break;
        case tarvo::NotAProgramFile::QuotedLines:
            text += QStringLiteral("\n\n") + tr("Its lines are in double quotes, as a spreadsheet may save them.");
            break;
        case tarvo::NotAProgramFile::Utf16:
            text += QStringLiteral("\n\n") + tr("It is UTF-16 text; a program file is in a code page of the list.");
            break;
        default:
            break;
        }
        dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(), text);
        return false;
    }
    case Document::OpenStatus::Cancelled:
        return false;
    }
    statusBar()->showMessage((reloading ? tr("Document reloaded") : tr("Document opened")) + QStringLiteral(": ")
                             + path);
    if (!reloading)
        ui->tabMain->setCurrentIndex(0);
    RecentFiles::add(path);
    return true;
}

bool MainWindow::askEncodingAtOpen(const QString &path, const QByteArray &bytes, int *encoding, bool *lossless)
{
    QTextCodec *chosen = tarvo::codecForEncoding(*encoding);
    *lossless = tarvo::readsCleanly(bytes, chosen);
    // Bytes that read as likely text in the chosen code page need no
    // question, and no look at the other encodings.
    if (*lossless && tarvo::readsAsLikelyText(bytes, chosen))
        return true;
    QList<int> likely;
    const QList<int> clean = tarvo::cleanEncodings(bytes, &likely);
    // Nor do bytes that read cleanly and as likely text in no encoding, or
    // in one that is the same code page.
    const bool suspicious = *lossless && !clean.isEmpty() && likely.contains(clean.first())
        && tarvo::codecForEncoding(clean.first())->mibEnum() != chosen->mibEnum();
    if (*lossless && !suspicious)
        return true;
    const QString name = editor::shownEncodingName(*encoding);
    UserDialogs::Choice choice;
    choice.icon = QMessageBox::Warning;
    choice.title = identity::programTitle();
    QStringList cleanNames;
    for (const int index : clean)
        cleanNames << editor::shownEncodingName(index);
    if (*lossless) {
        choice.text = tr("The file %1 reads as unlikely text in %2: it is most likely in %3.")
                          .arg(path, name, cleanNames.first());
    } else {
        choice.text = tr("The file %1 holds bytes that are no characters of %2: read so, they would show as "
                         "replacement characters, and saving would lose them.")
                          .arg(path, name);
        choice.text += QStringLiteral("\n\n")
            + (clean.isEmpty() ? tr("It reads cleanly in no encoding of the list.")
                               : tr("It reads cleanly in %1 (the most likely first).")
                                     .arg(cleanNames.mid(0, kNamedInBox).join(QStringLiteral(", "))));
    }
    if (cleanNames.size() > kNamedInBox)
        choice.details = cleanNames.join(QLatin1Char('\n'));
    QList<int> offered;
    for (const int index : clean) {
        if (offered.size() == kEncodingButtons)
            break;
        if (index != *encoding) {
            offered << index;
            choice.buttons << tr("Open in %1").arg(editor::shownEncodingName(index));
        }
    }
    const int asItIs = int(choice.buttons.size());
    choice.buttons << tr("Open in %1 as it is").arg(name) << tr("Cancel");
    choice.defaultButton = 0;
    choice.escapeButton = asItIs + 1;
    if (!offered.isEmpty())
        choice.checkBox = tr("Make the chosen encoding the setting");
    bool makeSetting = false;
    const int answer = dialogs->askChoice(this, choice, &makeSetting);
    if (answer < 0 || answer > asItIs)
        return false;
    if (answer == asItIs)
        return true;
    *encoding = offered.at(answer);
    *lossless = true;
    // UTF-8 is no setting: no device reads it.
    if (makeSetting && *encoding < tarvo::kEncodingCount) {
        editor::encodingIndex = *encoding;
        QSettings().setValue(settingskey::encodingIndex(), *encoding);
        applyEncoding();
    }
    return true;
}

// ---- Changes on disk

void MainWindow::checkDiskChange()
{
    const QString fileName = document->fileName();
    if (askingAboutDisk || fileName.isEmpty())
        return;
    tarvo::FileFingerprint now;
    const tarvo::DiskChange change = document->changeOnDisk(&now);
    // Told once of each state of the file.
    if (change == tarvo::DiskChange::None || !document->isNewStateOnDisk(now))
        return;
    if (change == tarvo::DiskChange::Removed) {
        statusBar()->showMessage(tr("The file %1 was removed or renamed by another program; Save writes it again.")
                                     .arg(QFileInfo(fileName).fileName()));
        return;
    }
    askingAboutDisk = true;
    if (hasUnsavedChanges()) {
        // Both the window and the file hold changes: which to keep is asked
        // now, and again at Save.
        QByteArray bytes;
        document->changeOnDisk(&now, &bytes);
        const DiskChoice choice = askAboutDiskChange(now, bytes, false);
        askingAboutDisk = false;
        if (choice == DiskChoice::TakeDisk)
            openFile(fileName, document->encoding(), true);
        else
            statusBar()->showMessage(
                tr("The file %1 was changed by another program; Save asks before replacing its changes.")
                    .arg(QFileInfo(fileName).fileName()));
        return;
    }
    const bool reload = dialogs->askYesNo(this, QMessageBox::Question, identity::programTitle(),
                                          tr("The file %1 was changed by another program. Reload it?").arg(fileName));
    askingAboutDisk = false;
    if (reload)
        openFile(fileName, document->encoding(), true);
}
