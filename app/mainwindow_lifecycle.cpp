// The document lifecycle: new, open, save, save as and quit, with their
// questions and messages, and the window settings.

#include "mainwindow.h"

#include "appidentity.h"
#include "recoverykeeper.h"
#include "documentcells.h"
#include "encodingtrust.h"
#include "editorsettings.h"
#include "filefailure.h"
#include "recentfiles.h"
#include "encodingchoice.h"
#include "programwriter.h"
#include "programfiles.h"
#include "document.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"
#include "wtablewidget.h"

#include <QCloseEvent>
#include <QSettings>

void MainWindow::readSettings()
{
    QSettings settings;
    editor::encodingIndex = settings.value(settingskey::encodingIndex(), settingskey::kDefaultEncodingIndex).toInt();
    // An empty or unusable value changes nothing.
    restoreGeometry(settings.value(settingskey::geometry()).toByteArray());
    restoreState(settings.value(settingskey::windowState()).toByteArray(), settingskey::kWindowStateVersion);
    applyEncoding();
    document->setFileName(QString());
    docChanged = false;
}

QString MainWindow::currentFileName() const
{
    return document->fileName();
}

void MainWindow::docIsChanged(int /*row*/, int /*col*/)
{
    // Changed means away from what was last opened, saved or made new; the
    // document's modifiedChanged settles the flag once a step is complete.
    docChanged = document->isModified();
}

// The clearing is a step of its own: Edit > Undo brings the cells back.
void MainWindow::clearDocument()
{
    document->clear(tr("clearing of the document"));
}

bool MainWindow::hasSomethingToLose() const
{
    return !document->fileName().isEmpty() || docChanged;
}

bool MainWindow::askToClose()
{
    if (!hasSomethingToLose())
        return true;
    return dialogs->askYesNo(this, QMessageBox::Question, identity::programTitle(),
                             tr("Do you want to close current document?"));
}

void MainWindow::newDoc()
{
    if (!askToClose())
        return;
    clearDocument();
    statusBar()->showMessage(tr("New Document"));
    ui->tabMain->setCurrentIndex(0);
    document->setFileName(QString());
    document->startNewHistory();
    startUntitled();
    recovery->discard();
}

void MainWindow::openDoc()
{
    if (!askToClose())
        return;
    // The document stays until a file has been read: cancelling the dialog,
    // or a file that cannot be read or is no program, keeps it.
    const QString titled = document->fileName();
    if (!chooseOpenFile()) {
        document->setFileName(titled);
        return;
    }
    const QString chosen = document->fileName();
    document->setFileName(titled);
    openFile(chosen, editor::encodingIndex, false);
}

void MainWindow::openFile(const QString &path)
{
    if (!askToClose())
        return;
    openFile(path, editor::encodingIndex, false);
}

void MainWindow::saveDoc()
{
    saveDocument();
}

bool MainWindow::saveDocument()
{
    commitOpenEditors();
    if (document->fileName().isEmpty() && !chooseSaveFile())
        return false;
    if (!confirmSave())
        return false;
    const QString fileName = document->fileName();
    if (writeProgramFile(fileName)) {
        document->markSaved();
        statusBar()->showMessage(tr("Document saved") + QStringLiteral(": ") + fileName);
        takeSavedFile(lastWrittenBytes);
        RecentFiles::add(fileName);
        warnAboutReplacedCharacters(replacedOnLastSave);
        warnAboutRowsLeftOut();
        return true;
    }
    dialogs->showMessage(this, QMessageBox::Critical, identity::programTitle(),
                         FileFailure::message(tr("Faild to open for writing file %1").arg(fileName), lastFileError,
                                              FileFailure::Operation::Save));
    return false;
}

void MainWindow::saveDocAs()
{
    document->setFileName(QString());
    saveDoc();
}

namespace {
// The cells named in the box itself; the rest are in its detailed text.
constexpr int kCellsInMessage = 8;
// Characters shown for one cell.
constexpr int kCharactersShown = 20;

QString shortened(const QString &characters)
{
    int shown = int(qMin<qsizetype>(characters.size(), kCharactersShown));
    if (shown == characters.size())
        return characters;
    if (characters.at(shown - 1).isHighSurrogate())
        --shown; // never cut a character in two
    return characters.left(shown) + QChar(0x2026);
}
} // namespace

void MainWindow::warnAboutReplacedCharacters(const QList<tarvo::UnencodableCell> &cells)
{
    if (cells.isEmpty())
        return;
    QStringList lines;
    for (const tarvo::UnencodableCell &cell : cells) {
        const int tab = static_cast<int>(cell.table);
        const QTableWidgetItem *header = documentTable(cell.table)->horizontalHeaderItem(cell.column);
        lines << tr("%1, row %2, %3: %4")
                     .arg(ui->tabMain->tabText(tab))
                     .arg(cell.row + 1)
                     .arg(header ? header->text() : QString::number(cell.column))
                     .arg(shortened(cell.characters));
    }
    QString text = tr("The encoding %1 cannot hold some characters; the file has its replacement "
                      "character in their place:")
                       .arg(tarvo::encodingShownName(writeEncoding >= 0 ? writeEncoding : editor::encodingIndex))
                   + QStringLiteral("\n\n") + lines.mid(0, kCellsInMessage).join(QLatin1Char('\n'));
    QString details;
    if (lines.size() > kCellsInMessage) {
        text += QLatin1Char('\n') + tr("and %n more cells; the details list them all", nullptr,
                                       int(lines.size() - kCellsInMessage));
        details = lines.join(QLatin1Char('\n'));
    }
    dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(), text, details);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Unsaved changes are offered to be saved; without any, the plain
    // question.
    if (hasUnsavedChanges()) {
        UserDialogs::Choice choice;
        choice.icon = QMessageBox::Warning;
        choice.title = identity::programTitle();
        choice.text = tr("The document has changes that are not saved. Save them before quitting?");
        choice.buttons = QStringList{tr("Save", "button"), tr("Discard"), tr("Cancel")};
        choice.defaultButton = 0;
        choice.escapeButton = 2;
        const int answer = dialogs->askChoice(this, choice);
        if (answer == 2 || (answer == 0 && (!saveDocument() || hasUnsavedChanges()))) {
            event->ignore();
            return;
        }
    } else if (!dialogs->askYesNo(this, QMessageBox::Information, tr("TARVO VODI"),
                                  tr("Do you want to quit application?"))) {
        event->ignore();
        return;
    }
    // Saved, or deliberately dropped.
    recovery->discard();
    QSettings settings;
    settings.setValue(settingskey::geometry(), saveGeometry());
    settings.setValue(settingskey::windowState(), saveState(settingskey::kWindowStateVersion));
    event->accept();
}
