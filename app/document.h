#pragma once

#include "celledit.h"
#include "documentcells.h"
#include "filefingerprint.h"
#include "programfiles.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>

class DiskWatch;

namespace tarvo {
struct Recovery;
}

// The document the editor works on: the texts of its 247 cells with the
// history of their changes for Undo and Redo, and the file they belong to:
// its name, the encoding it was read in and the one it is written in, what
// it held when last read or written, and its state on disk.
//
// Every change of a cell goes through here: a committed cell editor, a
// paste and a delete (editCells), clearing (clear), and the steps that give
// the document another file (makeNew, open, reload, restore) or write it
// (save). Cell changes are announced by cellChanged, which the window's five
// tables follow; they never change a cell on their own. Labels (row
// numbers, parameter names) are not part of the document.
class Document : public QObject
{
    Q_OBJECT

public:
    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    // ---- The cells and their history

    const tarvo::DocumentData &cells() const { return m_cells; }
    QString cellText(tarvo::DocTable table, int row, int column) const;

    // Sets cells of one table as one step of the history, which Edit >
    // Undo names by `what` ("paste of 12 cells"). Cells outside the
    // document and cells that already hold their text are left out; when
    // nothing is left, no step is made. Returns how many cells changed.
    int editCells(tarvo::DocTable table, const tarvo::CellEdits &edits, const QString &what);

    // Empties every cell, as one step of the history.
    void clear(const QString &what);

    // Changed since it was last opened, saved or made new: the history is
    // away from the point marked then. Undoing back to it makes it
    // unchanged again.
    bool isModified() const { return !m_history.isClean(); }

    // Undo and Redo work on this stack.
    QUndoStack *history() { return &m_history; }

    // ---- Its file

    // The program file; empty for an untitled document.
    QString fileName() const { return m_fileName; }
    // The entry of the encoding list the document was read in or last
    // written in; -1 for a new document, which the setting governs.
    int encoding() const { return m_encoding; }
    // The entry the operator chose to write this document in, when asked;
    // -1 until then. It holds until the document is replaced.
    int writeEncoding() const { return m_writeEncoding; }
    void chooseWriteEncoding(int encoding) { m_writeEncoding = encoding; }

    // Read with bytes that are no characters of encoding(): the cells show
    // replacement characters where the file holds other bytes.
    bool readWithLosses() const { return m_readWithLosses; }

    // What the file held when last read or written; empty for a new document.
    const tarvo::DocumentData &savedCells() const { return m_savedCells; }

    // True when the cells differ from what the file held when last read or
    // written (from an empty document when there is none).
    bool hasUnsavedChanges() const { return isModified() && m_cells != m_savedCells; }

    // What the file was when the document last read or wrote it.
    const tarvo::FileFingerprint &knownOnDisk() const { return m_knownOnDisk; }
    // How the file differs from that now (see tarvo::diskChange).
    tarvo::DiskChange changeOnDisk(tarvo::FileFingerprint *now = nullptr, QByteArray *bytes = nullptr) const;
    // True the first time it is asked about this state of the file on disk.
    bool isNewStateOnDisk(const tarvo::FileFingerprint &now);

    // ---- Steps that give the document another file, or write it

    // An empty document. With a name, its file does not exist yet and Save
    // writes it there; without one it is untitled.
    void makeNew(const QString &fileName = QString());

    // Keeps the cells, and the encoding they were read in, but no file: the
    // next Save asks for a name.
    void forgetFile();
    // Keeps the cells, and names `path` as their file, which they were not
    // written to (a save under a new name that failed): the next Save tries
    // it again.
    void nameFile(const QString &path);

    enum class OpenStatus {
        Opened,
        CannotRead,  // `error` says why
        NotAProgram, // not blank, and no line is a record or a comment (see notAProgram)
        Cancelled,   // the encoding question was cancelled
    };
    struct OpenResult
    {
        OpenStatus status = OpenStatus::CannotRead;
        QString error;     // why the file could not be read
        QString recovered; // what was done about a save of it cut short, for the user to read
        tarvo::NotAProgramFile notAProgram = tarvo::NotAProgramFile::No; // why it is none
    };

    // Decides the encoding of a file's bytes: `encoding` holds the one
    // asked for and receives the one to read in, `lossless` whether every
    // byte is a character of it. False to cancel.
    using EncodingQuestion = std::function<bool(const QByteArray &bytes, int *encoding, bool *lossless)>;

    // Reads the file at `path` in `encoding` (after `ask`, when given) and,
    // when it is a program file, takes its cells with a new history. On any
    // other outcome the document is as it was.
    OpenResult open(const QString &path, int encoding, const EncodingQuestion &ask);
    // open() of the document's own file in its own encoding.
    OpenResult reload(const EncodingQuestion &ask);

    // Writes the cells to `path` in `encoding`; on success that is the
    // document's file, and the document is unchanged.
    tarvo::WriteResult save(const QString &path, int encoding);

    // Takes kept edits back (see the recovery file): the cells of their
    // file as it is now, then the kept cells as one step of the history,
    // unsaved. A file that another program changed since the edits were
    // kept counts as changed on disk.
    void restore(const tarvo::Recovery &kept, const QString &what);

    // The unsaved edits as the recovery file keeps them; false when there
    // are none.
    bool recoverySnapshot(tarvo::Recovery *kept) const;

signals:
    // A cell changed its text, by an edit, an undo or redo, or a load.
    void cellChanged(tarvo::DocTable table, int row, int column, const QString &oldText, const QString &newText);
    // isModified() turned.
    void modifiedChanged(bool modified);
    // The document has another file, or wrote or read its own: its name,
    // encodings and saved cells may have changed.
    void fileChanged();
    // Another program may have changed the document's file (see
    // changeOnDisk).
    void mayHaveChangedOnDisk();

private:
    class ChangeCells;
    friend class ChangeCells;
    struct CellChange;

    void setCell(tarvo::DocTable table, int row, int column, const QString &text);
    void push(QList<CellChange> changes, const QString &what);
    // Takes `cells` without a step: the history starts anew, unchanged.
    void load(const tarvo::DocumentData &cells);
    // The one step that gives the document its file (none for an empty
    // path): what it holds, in which encoding, and what stat said of it.
    void takeFile(const QString &path, int encoding, const tarvo::DocumentData &saved, bool lossless,
                  const tarvo::FileFingerprint &onDisk);

    tarvo::DocumentData m_cells;
    QUndoStack m_history;

    QString m_fileName;
    int m_encoding = -1;
    int m_writeEncoding = -1;
    bool m_readWithLosses = false;
    tarvo::DocumentData m_savedCells;
    tarvo::FileFingerprint m_knownOnDisk;
    tarvo::FileFingerprint m_noticedOnDisk; // the state on disk last asked about
    DiskWatch *m_watch;
};
