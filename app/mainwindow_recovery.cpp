// Recovery: the offer, at start, of the unsaved edits that an editor which
// ended without saving them kept.

#include "mainwindow.h"

#include "appidentity.h"
#include "document.h"
#include "filefailure.h"
#include "recoveryfile.h"
#include "recoverykeeper.h"
#include "ui_mainwindow.h"
#include "userdialogs.h"

#include <QStatusBar>

void MainWindow::offerRecovery()
{
    if (recoveryOffered)
        return;
    recoveryOffered = true;
    for (const QString &file : RecoveryKeeper::orphans()) {
        tarvo::Recovery kept;
        QString refused;
        // One that is not to be trusted (another user's, naming a file that
        // is no program) is left where it is, and said.
        if (!tarvo::mayOfferRecovery(file, &kept, &refused)) {
            statusBar()->showMessage(tr("Kept changes not offered: %1").arg(FileFailure::translatedReason(refused)));
            continue;
        }
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
        // Kept again at once under this editor's name (the document's file
        // changes, see RecoveryKeeper) before the old file goes.
        document->restore(kept, tr("restoring of kept changes"));
        if (file != recovery->path())
            tarvo::removeRecoveryFile(file);
        statusBar()->showMessage(tr("Changes restored") + QStringLiteral(": ")
                                 + (kept.documentFile.isEmpty() ? tr("an untitled document") : kept.documentFile));
        ui->tabMain->setCurrentIndex(0);
        return;
    }
}
