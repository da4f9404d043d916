#include "userdialogs.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>

bool UserDialogs::askYesNo(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(icon, title, text, QMessageBox::NoButton, parent);
    // Action-role buttons leave the box without an Escape button: it closes
    // only through "Yes" or "No".
    QPushButton *yes = box.addButton(QCoreApplication::translate("MainWindow", "Yes"), QMessageBox::ActionRole);
    QPushButton *no = box.addButton(QCoreApplication::translate("MainWindow", "No"), QMessageBox::ActionRole);
    box.setDefaultButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void UserDialogs::showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                              const QString &details)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    if (!details.isEmpty())
        box.setDetailedText(details);
    box.exec();
}

void UserDialogs::showAbout(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::about(parent, title, text);
}

bool UserDialogs::chooseFile(QWidget *parent, const FileRequest &request, FileChoice *choice)
{
    QFileDialog dialog(parent, request.title, request.startDirectory, request.filter);
    dialog.setFileMode(request.forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(request.forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    choice->file = dialog.selectedFiles().constFirst();
    choice->directory = dialog.directory().absolutePath();
    return true;
}

int UserDialogs::runDialog(QDialog &dialog)
{
    return dialog.exec();
}

UserDialogs *UserDialogs::standard()
{
    static UserDialogs dialogs;
    return &dialogs;
}
