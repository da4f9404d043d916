// The document's lifecycle around Open and Save: the window settings, a new
// document, the question before one is dropped, quitting, and what the
// window shows of the document's file.

#include "mainwindow.h"

#include "appidentity.h"
#include "document.h"
#include "editorsettings.h"
#include "encodingchoice.h"
#include "encodings.h"
#include "encodingtrust.h"
#include "recoverykeeper.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QSettings>
#include <QStatusBar>
#include <QTextCodec>

void MainWindow::readSettings()
{
    QSettings settings;
    editor::encodingIndex = settings.value(settingskey::encodingIndex(), settingskey::kDefaultEncodingIndex).toInt();
    // An empty or unusable value changes nothing.
    restoreGeometry(settings.value(settingskey::geometry()).toByteArray());
    restoreState(settings.value(settingskey::windowState()).toByteArray(), settingskey::kWindowStateVersion);
    applyEncoding();
}

QString MainWindow::currentFileName() const
{
    return document->fileName();
}

bool MainWindow::isDocChanged() const
{
    return document->isModified();
}

bool MainWindow::hasUnsavedChanges() const
{
    return document->hasUnsavedChanges();
}

void MainWindow::docIsChanged(int /*row*/, int /*col*/)
{
    // Changed means away from what was last opened, saved or made new: the
    // document's history knows, and a step is complete before its cells
    // are shown. The title's mark follows (made again only when it
    // changes: an Open shows hundreds of cells).
    if (isWindowModified() != document->isModified())
        setWindowModified(document->isModified());
}

// The clearing is a step of its own: Edit > Undo brings the cells back.
void MainWindow::clearDocument()
{
    document->clear(tr("clearing of the document"));
}

bool MainWindow::hasSomethingToLose() const
{
    return !document->fileName().isEmpty() || document->isModified();
}

bool MainWindow::askAboutUnsavedChanges(const QString &question)
{
    UserDialogs::Choice choice;
    choice.icon = QMessageBox::Warning;
    choice.title = identity::programTitle();
    choice.text = question;
    choice.buttons = QStringList{tr("Save", "button"), tr("Discard"), tr("Cancel")};
    choice.defaultButton = 0;
    choice.escapeButton = 2;
    switch (dialogs->askChoice(this, choice)) {
    case 0: return saveDocument() && !hasUnsavedChanges();
    case 1: return true;
    default: return false;
    }
}

// Unsaved changes are offered to be saved first, as when quitting: a Save
// that fails or is cancelled keeps the document. Without any, the plain
// question. Nothing is dropped here: the document, its history and the
// recovery copy of its edits go only once another one has taken its place.
bool MainWindow::askToClose()
{
    if (hasUnsavedChanges())
        return askAboutUnsavedChanges(
            tr("The document has changes that are not saved. Save them before closing the document?"));
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
    document->makeNew();
    statusBar()->showMessage(tr("New Document"));
    ui->tabMain->setCurrentIndex(0);
}

// The title names the document's file (or "Untitled") with a mark while it
// has unsaved changes, then the program and its version; the status bar
// shows its encoding, and both name the whole path in a tool tip.
void MainWindow::showFileState()
{
    const QString fileName = document->fileName();
    setWindowFilePath(fileName);
    const QString shown = fileName.isEmpty() ? tr("Untitled") : QFileInfo(fileName).fileName();
    setWindowTitle(shown + QStringLiteral("[*] - ") + identity::programTitle() + QStringLiteral(" - ")
                   + identity::versionText());
    setWindowModified(document->isModified());
    if (!encodingLabel)
        return;
    const int setting = editor::settingEntry();
    const int own = document->encoding() >= 0 ? document->encoding() : setting;
    QString text = editor::shownEncodingName(own);
    if (tarvo::codecForEncoding(own)->mibEnum() != tarvo::codecForEncoding(setting)->mibEnum())
        text = tr("%1 (setting: %2)").arg(editor::shownEncodingName(own), editor::shownEncodingName(setting));
    encodingLabel->setText(text);
    const QString where = fileName.isEmpty() ? tr("an untitled document") : QDir::toNativeSeparators(fileName);
    encodingLabel->setToolTip(tr("%1, in the encoding %2").arg(where, text));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Unsaved changes are offered to be saved; without any, the plain
    // question.
    if (hasUnsavedChanges()) {
        if (!askAboutUnsavedChanges(tr("The document has changes that are not saved. Save them before quitting?"))) {
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
