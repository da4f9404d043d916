// Save and Save As: the file dialog, the questions before a file is
// replaced (which encoding, bytes that would be lost, another program's
// change), the write, and what the file could not carry.

#include "mainwindow.h"
#include "waitcursor.h"

#include "appidentity.h"
#include "document.h"
#include "editorsettings.h"
#include "encodingchoice.h"
#include "encodings.h"
#include "encodingtrust.h"
#include "filefailure.h"
#include "programreader.h"
#include "recentfiles.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"

#include <QStatusBar>
#include <QTextCodec>

namespace {
// Cells named in a box itself; the rest go in its details.
constexpr int kNamedInBox = 8;
// Characters shown for one cell.
constexpr int kCharactersShown = 20;

QString listed(const QStringList &lines)
{
    return lines.mid(0, kNamedInBox).join(QLatin1Char('\n'));
}

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

void MainWindow::saveDoc()
{
    saveDocument();
}

void MainWindow::saveDocAs()
{
    document->forgetFile();
    saveDoc();
}

bool MainWindow::chooseSaveFile(QString *fileName)
{
    if (!chooseDataFile(tr("Save to File"), true, fileName))
        return false;
    // A name with no dot anywhere in its path gets the program file extension.
    if (!fileName->contains(QLatin1Char('.')))
        *fileName += QStringLiteral(".prg");
    return true;
}

tarvo::WriteResult MainWindow::writeProgramFile(const QString &fileName)
{
    const WaitCursor busy;
    const int encoding = document->writeEncoding() >= 0 ? document->writeEncoding() : editor::settingEntry();
    return document->save(fileName, encoding);
}

bool MainWindow::saveDocument()
{
    commitOpenEditors();
    QString fileName = document->fileName();
    const bool ownFile = !fileName.isEmpty();
    if (!ownFile && !chooseSaveFile(&fileName))
        return false;
    bool cancelled = false;
    const int encoding = chooseEncodingToWrite(&cancelled);
    if (cancelled)
        return false;
    if (ownFile && (!confirmLossySave() || !confirmOverwriteOfDiskChange()))
        return false;
    const tarvo::WriteResult result = writeProgramFile(fileName);
    // What the save found to say beside its outcome (a copy of the old
    // bytes it could not remove, a save of it cut short before).
    if (!result.notice.isEmpty())
        dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(),
                             FileFailure::translatedReason(result.notice));
    if (!result.ok) {
        // The name chosen stays the document's: the next Save tries it again.
        if (!ownFile)
            document->nameFile(fileName);
        dialogs->showMessage(this, QMessageBox::Critical, identity::programTitle(),
                             FileFailure::message(tr("Faild to open for writing file %1").arg(fileName), result.error,
                                                  FileFailure::Operation::Save));
        return false;
    }
    statusBar()->showMessage(tr("Document saved") + QStringLiteral(": ") + fileName);
    RecentFiles::add(fileName);
    warnAboutReplacedCharacters(result.unencodable, encoding);
    warnAboutRowsLeftOut();
    return true;
}

// The encoding the document is written in: the one chosen for it, else the
// setting; where it was read in another code page than the setting, the
// operator is asked which.
int MainWindow::chooseEncodingToWrite(bool *cancelled)
{
    const int setting = editor::settingEntry();
    const int own = document->encoding();
    if (document->writeEncoding() >= 0)
        return document->writeEncoding();
    // The file's own encoding, unless the operator chooses the setting's.
    if (own < 0 || tarvo::codecForEncoding(own)->mibEnum() == tarvo::codecForEncoding(setting)->mibEnum())
        return setting;
    UserDialogs::Choice choice;
    choice.title = identity::programTitle();
    choice.text = tr("The document was read in %1; the encoding setting is %2. In which encoding shall it be "
                     "saved?")
                      .arg(editor::shownEncodingName(own), editor::shownEncodingName(setting));
    choice.buttons = QStringList{tr("Save in %1").arg(editor::shownEncodingName(own)),
                                 tr("Save in %1").arg(editor::shownEncodingName(setting)), tr("Cancel")};
    choice.defaultButton = 0;
    choice.escapeButton = 2;
    const int answer = dialogs->askChoice(this, choice);
    *cancelled = answer != 0 && answer != 1;
    if (*cancelled)
        return -1;
    // Asked once: the answer holds until the document is replaced.
    document->chooseWriteEncoding(answer == 0 ? own : setting);
    return document->writeEncoding();
}

bool MainWindow::confirmLossySave()
{
    if (!document->readWithLosses())
        return true;
    QStringList damaged;
    tarvo::forEachDocumentCell([&](tarvo::DocTable table, int r, int c) {
        if (document->cellText(table, r, c).contains(QChar::ReplacementCharacter))
            damaged << cellLabel(table, r, c);
    });
    UserDialogs::Choice choice;
    choice.icon = QMessageBox::Warning;
    choice.title = identity::programTitle();
    choice.text = tr("The file %1 was read in %2, which has no characters for some of its bytes. Saving over "
                     "it replaces those bytes for good with replacement characters, in:")
                      .arg(document->fileName(), editor::shownEncodingName(document->encoding()))
        + QStringLiteral("\n\n") + (damaged.isEmpty() ? tr("(no cell of the document)") : listed(damaged));
    if (damaged.size() > kNamedInBox)
        choice.details = damaged.join(QLatin1Char('\n'));
    choice.buttons = QStringList{tr("Save anyway"), tr("Cancel")};
    choice.defaultButton = 1;
    choice.escapeButton = 1;
    return dialogs->askChoice(this, choice) == 0;
}

bool MainWindow::confirmOverwriteOfDiskChange()
{
    QByteArray bytes;
    tarvo::FileFingerprint now;
    if (document->changeOnDisk(&now, &bytes) != tarvo::DiskChange::Changed)
        return true;
    document->isNewStateOnDisk(now); // asked here: no second question from the watch
    switch (askAboutDiskChange(now, bytes, true)) {
    case DiskChoice::KeepWindow: return true;
    case DiskChoice::TakeDisk: openFile(document->fileName(), document->encoding(), true); return false;
    case DiskChoice::Cancel: return false;
    }
    return false;
}

MainWindow::DiskChoice MainWindow::askAboutDiskChange(const tarvo::FileFingerprint &now, const QByteArray &bytes,
                                                      bool saving)
{
    // The cells that differ between the window and the file, with both
    // values; named, and the file's taken, only where the file could be
    // read (its hash known).
    const bool readable = !now.hash.isEmpty();
    QStringList differ;
    if (readable) {
        tarvo::DocumentData onDisk;
        tarvo::readProgram(bytes, tarvo::codecForEncoding(document->encoding()), onDisk);
        for (const tarvo::CellRef &cell : tarvo::cellsThatDiffer(document->cells(), onDisk))
            differ << tr("%1: window \"%2\", file \"%3\"")
                          .arg(cellLabel(cell.table, cell.row, cell.column),
                               document->cellText(cell.table, cell.row, cell.column),
                               onDisk.cellText(cell.table, cell.row, cell.column));
    }
    UserDialogs::Choice choice;
    choice.icon = QMessageBox::Warning;
    choice.title = identity::programTitle();
    choice.text = saving ? tr("Another program has changed the file %1 since it was opened or saved here. Saving "
                              "replaces its changes.")
                               .arg(document->fileName())
                         : tr("Another program has changed the file %1, and the window has changes that are not "
                              "saved.")
                               .arg(document->fileName());
    if (!readable)
        choice.text += QStringLiteral("\n\n") + tr("The file cannot be read now.");
    else if (!differ.isEmpty())
        choice.text += QStringLiteral("\n\n") + tr("Cells that differ:") + QLatin1Char('\n') + listed(differ);
    if (differ.size() > kNamedInBox)
        choice.details = differ.join(QLatin1Char('\n'));
    choice.buttons << tr("Keep the window's");
    if (readable)
        choice.buttons << tr("Take the file's");
    choice.buttons << tr("Cancel");
    // At Save the safe answer writes nothing; before it, nothing changes.
    choice.escapeButton = int(choice.buttons.size()) - 1;
    choice.defaultButton = saving ? choice.escapeButton : 0;
    const int answer = dialogs->askChoice(this, choice);
    if (answer == 0)
        return DiskChoice::KeepWindow;
    if (answer == 1 && readable)
        return DiskChoice::TakeDisk;
    return saving ? DiskChoice::Cancel : DiskChoice::KeepWindow;
}

void MainWindow::warnAboutReplacedCharacters(const QList<tarvo::UnencodableCell> &cells, int encoding)
{
    if (cells.isEmpty())
        return;
    QStringList lines;
    for (const tarvo::UnencodableCell &cell : cells)
        lines << cellLabel(cell.table, cell.row, cell.column) + QStringLiteral(": ") + shortened(cell.characters);
    QString text = tr("The encoding %1 cannot hold some characters; the file has its replacement "
                      "character in their place:")
                       .arg(editor::shownEncodingName(encoding))
                   + QStringLiteral("\n\n") + listed(lines);
    QString details;
    if (lines.size() > kNamedInBox) {
        text += QLatin1Char('\n') + tr("and %n more cells; the details list them all", nullptr,
                                       int(lines.size() - kNamedInBox));
        details = lines.join(QLatin1Char('\n'));
    }
    dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(), text, details);
}

void MainWindow::warnAboutRowsLeftOut()
{
    const QList<tarvo::LeftOutRow> rows = tarvo::rowsLeftOut(document->cells());
    if (rows.isEmpty())
        return;
    QStringList lines;
    for (const tarvo::LeftOutRow &row : rows) {
        QStringList missing;
        for (const int column : row.missingColumns) {
            const QTableWidgetItem *header = documentTable(row.table)->horizontalHeaderItem(column);
            missing << (header ? header->text() : QString::number(column));
        }
        lines << tr("%1, row %2: no %3")
                     .arg(ui->tabMain->tabText(static_cast<int>(row.table)))
                     .arg(row.row + 1)
                     .arg(missing.join(QStringLiteral(", ")));
    }
    QString text = tr("These rows are not in the file: a row is written only with all the cells its record "
                      "needs. They stay in the window.")
        + QStringLiteral("\n\n") + listed(lines);
    dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(), text,
                         lines.size() > kNamedInBox ? lines.join(QLatin1Char('\n')) : QString());
}
