#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

// Every modal question, message and file dialog of the main window goes
// through this seam, so tests can answer them without a person.
class UserDialogs
{
public:
    struct FileRequest
    {
        QString title;
        QString filter;
        QString startDirectory;
        bool forSaving = false;
    };
    struct FileChoice
    {
        QString file;      // the first selected file
        QString directory; // the dialog's directory, absolute
    };

    // A question with buttons of its own, in order.
    struct Choice
    {
        QMessageBox::Icon icon = QMessageBox::Question;
        QString title;
        QString text;
        QString details;       // in the box's scrollable detailed text
        QStringList buttons;
        int defaultButton = 0; // chosen by Return or Enter
        int escapeButton = -1; // chosen by Escape or closing the box; -1: none
        QString checkBox;      // a check box under the text; empty for none
    };

    virtual ~UserDialogs() = default;

    // A two-button "Yes"/"No" question with "No" as the default and no
    // Escape button. True for "Yes".
    virtual bool askYesNo(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text);

    // A message box with a single OK button. `details`, when given, goes in
    // the box's scrollable detailed text, so that a long list never makes
    // the box taller than the screen.
    virtual void showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title, const QString &text,
                             const QString &details = QString());

    // Asks `choice`; returns the index of the button chosen. `checked`, for a
    // box with a check box, receives its state.
    virtual int askChoice(QWidget *parent, const Choice &choice, bool *checked = nullptr);

    // The toolkit's About box.
    virtual void showAbout(QWidget *parent, const QString &title, const QString &text);

    // A line of text, `text` holding the proposal and then the answer.
    // False when the user cancels.
    virtual bool askText(QWidget *parent, const QString &title, const QString &label, QString *text);

    // A file dialog. False when the user cancels.
    virtual bool chooseFile(QWidget *parent, const FileRequest &request, FileChoice *choice);

    // Runs a dialog modally; returns its result code.
    virtual int runDialog(QDialog &dialog);

    // The dialogs a window uses unless it is given others.
    static UserDialogs *standard();
};
