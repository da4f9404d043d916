#include "userdialogs.h"

#include "screenfit.h"


#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QListView>
#include <QSplitter>
#include <QTreeView>
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

int UserDialogs::askChoice(QWidget *parent, const Choice &choice, bool *checked)
{
    QMessageBox box(choice.icon, choice.title, choice.text, QMessageBox::NoButton, parent);
    QList<QPushButton *> buttons;
    for (const QString &text : choice.buttons)
        buttons << box.addButton(text, QMessageBox::ActionRole);
    if (choice.defaultButton >= 0 && choice.defaultButton < buttons.size())
        box.setDefaultButton(buttons.at(choice.defaultButton));
    if (choice.escapeButton >= 0 && choice.escapeButton < buttons.size())
        box.setEscapeButton(buttons.at(choice.escapeButton));
    if (!choice.details.isEmpty())
        box.setDetailedText(choice.details);
    if (!choice.checkBox.isEmpty())
        box.setCheckBox(new QCheckBox(choice.checkBox, &box));
    box.exec();
    if (checked)
        *checked = box.checkBox() && box.checkBox()->isChecked();
    const int chosen = int(buttons.indexOf(static_cast<QPushButton *>(box.clickedButton())));
    return chosen >= 0 ? chosen : choice.escapeButton;
}

void UserDialogs::showAbout(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox::about(parent, title, text);
}

bool UserDialogs::askText(QWidget *parent, const QString &title, const QString &label, QString *text)
{
    bool accepted = false;
    const QString answer = QInputDialog::getText(parent, title, label, QLineEdit::Normal, *text, &accepted);
    if (accepted)
        *text = answer;
    return accepted;
}

namespace {

// The toolkit's own file dialog sizes its columns for English texts; in a
// longer language they would be cut. Every column and the list of places
// get room for their texts.
void fitColumnsToTexts(QFileDialog &dialog)
{
    if (auto *files = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = files->header();
        for (int section = 0; section < header->count(); ++section) {
            const int wanted = header->sectionSizeHint(section);
            if (header->sectionSize(section) < wanted)
                header->resizeSection(section, wanted);
        }
    }
    auto *places = dialog.findChild<QListView *>(QStringLiteral("sidebar"));
    auto *splitter = dialog.findChild<QSplitter *>(QStringLiteral("splitter"));
    if (places && splitter && splitter->count() == 2) {
        const int wanted = places->sizeHintForColumn(0) + 2 * places->frameWidth() + 8;
        QList<int> sizes = splitter->sizes();
        if (sizes.at(0) < wanted) {
            sizes[1] -= wanted - sizes.at(0);
            sizes[0] = wanted;
            splitter->setSizes(sizes);
        }
    }
    const QSize hint = dialog.sizeHint();
    dialog.resize(qMax(dialog.width(), hint.width() + 120), qMax(dialog.height(), hint.height()));
}

} // namespace

bool UserDialogs::chooseFile(QWidget *parent, const FileRequest &request, FileChoice *choice)
{
    QFileDialog dialog(parent, request.title, request.startDirectory, request.filter);
    dialog.setFileMode(request.forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setAcceptMode(request.forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    fitColumnsToTexts(dialog);
    fitToScreen(&dialog);
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
