#pragma once

#include "celledit.h"
#include "documentcells.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUndoStack>

// The document the editor works on: the texts of its 247 cells, the file
// they came from and go to, the code page they were read in, and the
// history of their changes for Undo and Redo.
//
// Every change of a cell goes through here: a committed cell editor, a
// paste and a delete (editCells), clearing (clear), and a file read or a
// new document (load). Each change is announced by cellChanged, which the
// window's five tables follow; they never change a cell on their own.
// Labels (row numbers, parameter names) are not part of the document.
class Document : public QObject
{
    Q_OBJECT

public:
    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    // The cells, for the file writer and the tests.
    const tarvo::DocumentData &cells() const { return m_cells; }
    QString cellText(tarvo::DocTable table, int row, int column) const;

    // Sets cells of one table as one step of the history, which Edit >
    // Undo names by `what` ("paste of 12 cells"). Cells outside the
    // document and cells that already hold their text are left out; when
    // nothing is left, no step is made. Returns how many cells changed.
    int editCells(tarvo::DocTable table, const tarvo::CellEdits &edits, const QString &what);

    // Empties every cell, as one step of the history.
    void clear(const QString &what);

    // Takes the cells of a file just read (or empty ones for a new
    // document) without a step: the history starts anew and the document
    // is unchanged.
    void load(const tarvo::DocumentData &cells);

    // Forgets the history; what the cells hold now counts as unchanged.
    void startNewHistory();

    // Changed since it was last opened, saved or made new: the history is
    // away from the point marked then. Undoing back to it makes it
    // unchanged again.
    bool isModified() const { return !m_history.isClean(); }
    // The document was just written to its file.
    void markSaved() { m_history.setClean(); }

    // The program file; empty for an untitled document.
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &fileName) { m_fileName = fileName; }

    // The code page the document was last read or written in; empty until
    // then.
    QByteArray codecName() const { return m_codecName; }
    void setCodecName(const QByteArray &name) { m_codecName = name; }

    // Undo and Redo work on this stack.
    QUndoStack *history() { return &m_history; }

signals:
    // A cell changed its text, by an edit, an undo or redo, or a load.
    void cellChanged(tarvo::DocTable table, int row, int column, const QString &oldText, const QString &newText);
    // isModified() turned.
    void modifiedChanged(bool modified);

private:
    class ChangeCells;
    friend class ChangeCells;
    struct CellChange;

    void setCell(tarvo::DocTable table, int row, int column, const QString &text);
    void push(QList<CellChange> changes, const QString &what);

    tarvo::DocumentData m_cells;
    QString m_fileName;
    QByteArray m_codecName;
    QUndoStack m_history;
};
