// Open, Save, changes on disk and recovery: the steps that keep an
// operator's work from being lost without a word.

#include "mainwindow.h"
#include "waitcursor.h"

#include "filefailure.h"
#include "recentfiles.h"

#include "appidentity.h"
#include "diskwatch.h"
#include "documentformat.h"
#include "editorsettings.h"
#include "encodingchoice.h"
#include "encodings.h"
#include "encodingtrust.h"
#include "programbytes.h"
#include "programreader.h"
#include "recoverykeeper.h"
#include "savejournal.h"
#include "document.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"
#include "wtablewidget.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMap>
#include <QLocale>
#include <QSettings>
#include <QStatusBar>
#include <QTextCodec>

// ---- The document's state beside its cells

tarvo::DocumentData MainWindow::cellsNow() const
{
    return document->cells();
}

bool MainWindow::hasUnsavedChanges() const
{
    // Changed, and not back at what the file holds by other edits either.
    return document->isModified() && document->cells() != savedCells;
}

int MainWindow::documentEncoding() const
{
    return docEncoding >= 0 ? docEncoding : editor::encodingIndex;
}

QStringList MainWindow::labelsOfCellsThatDiffer(const tarvo::DocumentCells &a, const tarvo::DocumentCells &b) const
{
    QStringList labels;
    for (const tarvo::CellRef &cell : tarvo::cellsThatDiffer(a, b))
        labels << cellLabel(cell.table, cell.row, cell.column);
    return labels;
}

namespace {
// Cells named in a box itself; the rest go in its details.
constexpr int kNamedInBox = 8;
// Encodings offered as buttons.
constexpr int kEncodingButtons = 3;

QString listed(const QStringList &lines)
{
    return lines.mid(0, kNamedInBox).join(QLatin1Char('\n'));
}
} // namespace

void MainWindow::updateEncodingLabel()
{
    if (!encodingLabel)
        return;
    const int setting = editor::encodingIndex;
    const int own = documentEncoding();
    QString text = tr("Encoding: %1").arg(tarvo::encodingShownName(own));
    if (tarvo::codecForEncoding(own)->mibEnum() != tarvo::codecForEncoding(setting)->mibEnum())
        text = tr("Encoding: %1 (setting: %2)").arg(tarvo::encodingShownName(own), tarvo::encodingShownName(setting));
    encodingLabel->setText(text);
}

void MainWindow::startUntitled()
{
    docEncoding = -1;
    readLossy = false;
    savedCells = tarvo::DocumentData();
    noticedOnDisk = tarvo::FileFingerprint();
    diskWatch->stop();
    updateEncodingLabel();
    // What the window holds is now unsaved against nothing.
    recovery->documentChanged();
}

// ---- Open

bool MainWindow::askEncodingAtOpen(const QString &path, const QByteArray &bytes, int *encoding, bool *lossless)
{
    QList<int> likely;
    const QList<int> clean = tarvo::cleanEncodings(bytes, &likely);
    QTextCodec *chosen = tarvo::codecForEncoding(*encoding);
    *lossless = tarvo::readsCleanly(bytes, chosen);
    // Bytes that read as likely text in the chosen encoding, or in one that
    // is the same code page, need no question.
    const bool suspicious = *lossless && !clean.isEmpty() && likely.contains(clean.first())
        && !likely.contains(*encoding) && tarvo::codecForEncoding(clean.first())->mibEnum() != chosen->mibEnum();
    if (*lossless && !suspicious)
        return true;
    const QString name = tarvo::encodingShownName(*encoding);
    UserDialogs::Choice choice;
    choice.icon = QMessageBox::Warning;
    choice.title = identity::programTitle();
    const QStringList cleanNames = tarvo::encodingShownNames(clean);
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
            choice.buttons << tr("Open in %1").arg(tarvo::encodingShownName(index));
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
    if (makeSetting) {
        editor::encodingIndex = *encoding;
        QSettings().setValue(settingskey::encodingIndex(), *encoding);
        applyEncoding();
    }
    return true;
}

bool MainWindow::openFile(const QString &path, int encoding, bool reloading)
{
    QByteArray bytes;
    QString error;
    // Known by what stat said before the read: a change during it shows later.
    tarvo::FileFingerprint print = tarvo::fingerprintOf(path);
    bool read = false;
    QString recovered;
    {
        const WaitCursor busy;
        // A save in place that was cut short is made whole before the read,
        // and the operator is told which bytes the file now holds.
        if (!tarvo::recoverInterruptedSave(path, &recovered))
            recovered.clear();
        read = tarvo::readProgramBytes(path, &bytes, &error);
    }
    if (!recovered.isEmpty())
        dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(), recovered);
    if (!read) {
        dialogs->showMessage(this, QMessageBox::Critical, identity::programTitle(),
                             FileFailure::message(tr("Failed to open for reading file %1").arg(path), error,
                                                  FileFailure::Operation::Open));
        // Whatever the window holds now, it is not that file's: the next
        // Save asks for a name.
        document->setFileName(QString());
        startUntitled();
        return false;
    }
    tarvo::DocumentData cells;
    tarvo::ReadReport report = tarvo::readProgram(bytes, tarvo::codecForEncoding(encoding), cells);
    if (!bytes.trimmed().isEmpty() && report.records == 0 && report.comments == 0) {
        dialogs->showMessage(this, QMessageBox::Warning, identity::programTitle(),
                             tr("The file %1 is not a program file: none of its lines is a record or a comment. "
                                "The document stays as it was.")
                                 .arg(path));
        return false;
    }
    const int asked = encoding;
    bool lossless = true;
    if (!askEncodingAtOpen(path, bytes, &encoding, &lossless))
        return false;
    if (encoding != asked) {
        cells = tarvo::DocumentData();
        report = tarvo::readProgram(bytes, tarvo::codecForEncoding(encoding), cells);
    }
    print.hash = tarvo::contentHash(bytes);
    // The document this replaces was closed deliberately.
    recovery->discard();
    document->load(cells);
    document->setFileName(path);
    document->setCodecName(tarvo::codecForEncoding(encoding)->name());
    docEncoding = encoding;
    readLossy = !lossless;
    savedCells = cells;
    noticedOnDisk = tarvo::FileFingerprint();
    diskWatch->watch(path, print);
    updateEncodingLabel();
    statusBar()->showMessage((reloading ? tr("Document reloaded") : tr("Document opened")) + QStringLiteral(": ")
                             + path);
    if (!reloading)
        ui->tabMain->setCurrentIndex(0);
    RecentFiles::add(path);
    return true;
}

// ---- Save

bool MainWindow::confirmSave()
{
    writeEncoding = editor::encodingIndex;
    const QString fileName = document->fileName();
    const bool ownFile = docEncoding >= 0 && fileName == diskWatch->path();
    // The file's own encoding, unless the operator chooses the setting's.
    if (docEncoding >= 0
        && tarvo::codecForEncoding(docEncoding)->mibEnum() != tarvo::codecForEncoding(writeEncoding)->mibEnum()) {
        UserDialogs::Choice choice;
        choice.title = identity::programTitle();
        choice.text = tr("The document was read in %1; the encoding setting is %2. In which encoding shall it be "
                         "saved?")
                          .arg(tarvo::encodingShownName(docEncoding), tarvo::encodingShownName(writeEncoding));
        choice.buttons = QStringList{tr("Save in %1").arg(tarvo::encodingShownName(docEncoding)),
                                     tr("Save in %1").arg(tarvo::encodingShownName(writeEncoding)), tr("Cancel")};
        choice.defaultButton = 0;
        choice.escapeButton = 2;
        const int answer = dialogs->askChoice(this, choice);
        if (answer != 0 && answer != 1)
            return false;
        if (answer == 0)
            writeEncoding = docEncoding;
    }
    if (ownFile && readLossy) {
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
                          .arg(fileName, tarvo::encodingShownName(docEncoding))
            + QStringLiteral("\n\n") + (damaged.isEmpty() ? tr("(no cell of the document)") : listed(damaged));
        if (damaged.size() > kNamedInBox)
            choice.details = damaged.join(QLatin1Char('\n'));
        choice.buttons = QStringList{tr("Save anyway"), tr("Cancel")};
        choice.defaultButton = 1;
        choice.escapeButton = 1;
        if (dialogs->askChoice(this, choice) != 0)
            return false;
    }
    return !ownFile || confirmOverwriteOfDiskChange();
}

bool MainWindow::confirmOverwriteOfDiskChange()
{
    QByteArray bytes;
    tarvo::FileFingerprint now;
    if (diskWatch->check(&now, &bytes) != tarvo::DiskChange::Changed)
        return true;
    // The cells are named only where the file could be read (its hash known).
    QStringList differ;
    if (!now.hash.isEmpty()) {
        tarvo::DocumentData onDisk;
        tarvo::readProgram(bytes, tarvo::codecForEncoding(documentEncoding()), onDisk);
        differ = labelsOfCellsThatDiffer(savedCells, onDisk);
    }
    UserDialogs::Choice choice;
    choice.icon = QMessageBox::Warning;
    choice.title = identity::programTitle();
    choice.text = tr("Another program has changed the file %1 since it was opened or saved here. Saving replaces "
                     "its changes.")
                      .arg(document->fileName());
    if (!differ.isEmpty())
        choice.text += QStringLiteral("\n\n") + tr("Cells it changed:") + QLatin1Char('\n') + listed(differ);
    if (differ.size() > kNamedInBox)
        choice.details = differ.join(QLatin1Char('\n'));
    choice.buttons = QStringList{tr("Overwrite"), tr("Cancel")};
    choice.defaultButton = 1;
    choice.escapeButton = 1;
    return dialogs->askChoice(this, choice) == 0;
}

void MainWindow::takeSavedFile(const QByteArray &bytes)
{
    docEncoding = writeEncoding >= 0 ? writeEncoding : editor::encodingIndex;
    readLossy = false;
    savedCells = cellsNow();
    noticedOnDisk = tarvo::FileFingerprint();
    // The save replaced the file: watch the new one.
    diskWatch->watch(document->fileName(), tarvo::fingerprintOf(document->fileName(), &bytes));
    recovery->discard();
    updateEncodingLabel();
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

// ---- Changes on disk

void MainWindow::checkDiskChange()
{
    const QString fileName = document->fileName();
    if (askingAboutDisk || fileName.isEmpty() || fileName != diskWatch->path())
        return;
    tarvo::FileFingerprint now;
    const tarvo::DiskChange change = diskWatch->check(&now);
    if (change == tarvo::DiskChange::None)
        return;
    // Told once of each state of the file.
    if (now.exists == noticedOnDisk.exists && now.sameStat(noticedOnDisk))
        return;
    noticedOnDisk = now;
    if (change == tarvo::DiskChange::Removed) {
        statusBar()->showMessage(
            tr("The file %1 was removed or renamed by another program; Save writes it again.").arg(fileName));
        return;
    }
    if (hasUnsavedChanges()) {
        statusBar()->showMessage(
            tr("The file %1 was changed by another program; Save asks before replacing its changes.").arg(fileName));
        return;
    }
    askingAboutDisk = true;
    const bool reload = dialogs->askYesNo(this, QMessageBox::Question, identity::programTitle(),
                                          tr("The file %1 was changed by another program. Reload it?").arg(fileName));
    askingAboutDisk = false;
    if (reload)
        openFile(fileName, documentEncoding(), true);
}

// ---- Recovery

void MainWindow::offerRecovery()
{
    if (recoveryOffered)
        return;
    recoveryOffered = true;
    for (const QString &file : RecoveryKeeper::orphans()) {
        tarvo::Recovery kept;
        if (!tarvo::readRecoveryFile(file, &kept))
            continue;
        UserDialogs::Choice choice;
        choice.icon = QMessageBox::Question;
        choice.title = identity::programTitle();
        choice.text = tr("The editor ended without saving the changes to %1. They were kept at %2. Restore them?")
                          .arg(kept.documentFile.isEmpty() ? tr("an untitled document") : kept.documentFile,
                               kept.kept.toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
        choice.buttons = QStringList{tr("Restore"), tr("Discard"), tr("Later")};
        choice.defaultButton = 0;
        choice.escapeButton = 2;
        const int answer = dialogs->askChoice(this, choice);
        if (answer == 1) {
            tarvo::removeRecoveryFile(file);
            continue;
        }
        if (answer != 0)
            continue;
        // The file as it is now is what the restored edits are unsaved against.
        tarvo::DocumentData onDisk;
        tarvo::FileFingerprint print;
        QByteArray bytes;
        QString error;
        if (!kept.documentFile.isEmpty() && tarvo::readProgramBytes(kept.documentFile, &bytes, &error)) {
            print = tarvo::fingerprintOf(kept.documentFile, &bytes);
            tarvo::readProgram(bytes, tarvo::codecForEncoding(kept.encoding), onDisk);
            // Changed since the edits were made: Save asks before replacing it.
            if (!kept.fileHash.isEmpty() && kept.fileHash != print.hash) {
                print.hash = kept.fileHash;
                print.size = -1;
            }
        }
        // The file's cells, then the kept edits as a step of their own:
        // unsaved, and Undo shows what they changed.
        document->load(onDisk);
        QMap<tarvo::DocTable, tarvo::CellEdits> edits;
        tarvo::forEachDocumentCell([&](tarvo::DocTable table, int r, int c) {
            edits[table].append({r, c, kept.cells.cellText(table, r, c)});
        });
        for (auto it = edits.cbegin(); it != edits.cend(); ++it)
            document->editCells(it.key(), it.value(), tr("restoring of kept changes"));
        const QString fileName = kept.documentFile;
        document->setFileName(fileName);
        docEncoding = fileName.isEmpty() ? -1 : kept.encoding;
        readLossy = false;
        savedCells = onDisk;
        noticedOnDisk = tarvo::FileFingerprint();
        if (fileName.isEmpty())
            diskWatch->stop();
        else
            diskWatch->watch(fileName, print);
        updateEncodingLabel();
        // Kept again at once under this editor's name before the old file goes.
        recovery->keepNow();
        if (file != recovery->path())
            tarvo::removeRecoveryFile(file);
        statusBar()->showMessage(tr("Changes restored") + QStringLiteral(": ")
                                 + (fileName.isEmpty() ? tr("an untitled document") : fileName));
        ui->tabMain->setCurrentIndex(0);
        return;
    }
}
