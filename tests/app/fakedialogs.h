#pragma once

#include "userdialogs.h"

#include <QDialog>
#include <QList>
#include <QStringList>

#include <functional>

// Answers the main window's questions and dialogs from queues, and keeps
// what it was shown. An empty answer queue answers "No" and cancels.
class FakeDialogs : public UserDialogs
{
public:
    struct Message
    {
        QMessageBox::Icon icon;
        QString title;
        QString text;
        QString details;
    };

    QList<bool> answers;          // for questions, in order
    QList<Message> questions;     // what was asked
    QList<Message> messages;      // what was shown
    QStringList files;            // chosen files, in order; an empty entry cancels
    QList<FileRequest> requests;  // the file dialogs that opened
    QStringList texts;            // answers to text questions; an empty entry cancels
    std::function<int(QDialog &)> dialogHandler; // runs modal dialogs; rejects when unset
    QList<int> choices;           // buttons chosen in askChoice, in order; none left: Escape
    QList<bool> checks;           // check box states for askChoice, in order
    QList<Choice> choicesAsked;   // what askChoice asked
    QString aboutTitle;
    QString aboutText;

    bool askYesNo(QWidget *, QMessageBox::Icon icon, const QString &title, const QString &text) override
    {
        questions.append({icon, title, text, QString()});
        return answers.isEmpty() ? false : answers.takeFirst();
    }

    void showMessage(QWidget *, QMessageBox::Icon icon, const QString &title, const QString &text,
                     const QString &details) override
    {
        messages.append({icon, title, text, details});
    }

    int askChoice(QWidget *, const Choice &choice, bool *checked) override
    {
        choicesAsked.append(choice);
        if (checked)
            *checked = checks.isEmpty() ? false : checks.takeFirst();
        return choices.isEmpty() ? choice.escapeButton : choices.takeFirst();
    }

    void showAbout(QWidget *, const QString &title, const QString &text) override
    {
        aboutTitle = title;
        aboutText = text;
    }

    bool askText(QWidget *, const QString &, const QString &, QString *text) override
    {
        const QString answer = texts.isEmpty() ? QString() : texts.takeFirst();
        if (answer.isEmpty())
            return false;
        *text = answer;
        return true;
    }

    bool chooseFile(QWidget *, const FileRequest &request, FileChoice *choice) override
    {
        requests.append(request);
        const QString file = files.isEmpty() ? QString() : files.takeFirst();
        if (file.isEmpty())
            return false;
        choice->file = file;
        choice->directory = file.left(file.lastIndexOf(QLatin1Char('/')));
        return true;
    }

    int runDialog(QDialog &dialog) override { return dialogHandler ? dialogHandler(dialog) : int(QDialog::Rejected); }
};
