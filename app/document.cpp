#include "document.h"

#include "diskwatch.h"
#include "encodings.h"
#include "programbytes.h"
#include "programreader.h"
#include "recoveryfile.h"
#include "savejournal.h"

#include <QDateTime>
#include <QUndoCommand>

using tarvo::DocTable;

struct Document::CellChange
{
    DocTable table;
    int row;
    int column;
    QString oldText;
    QString newText;
};

// One step of the history: a set of cells changed together, put back in
// the reverse order on Undo.
class Document::ChangeCells : public QUndoCommand
{
public:
    ChangeCells(Document *document, QList<CellChange> changes, const QString &what)
        : QUndoCommand(what), m_document(document), m_changes(std::move(changes))
    {
    }

    void redo() override
    {
        for (const CellChange &change : std::as_const(m_changes))
            m_document->setCell(change.table, change.row, change.column, change.newText);
    }

    void undo() override
    {
        for (auto it = m_changes.crbegin(); it != m_changes.crend(); ++it)
            m_document->setCell(it->table, it->row, it->column, it->oldText);
    }

private:
    Document *m_document;
    QList<CellChange> m_changes;
};

Document::Document(QObject *parent)
    : QObject(parent),
      m_watch(new DiskWatch(this))
{
    connect(&m_history, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
    connect(m_watch, &DiskWatch::mayHaveChanged, this, &Document::mayHaveChangedOnDisk);
}

Document::~Document()
{
    // Going quietly: no one is to hear of a history that ends with the window.
    m_history.blockSignals(true);
    m_history.clear();
}

// ---- The cells and their history

QString Document::cellText(DocTable table, int row, int column) const
{
    return m_cells.cellText(table, row, column);
}

void Document::setCell(DocTable table, int row, int column, const QString &text)
{
    const QString old = m_cells.cellText(table, row, column);
    if (old == text)
        return;
    m_cells.setCellText(table, row, column, text);
    emit cellChanged(table, row, column, old, text);
}

void Document::push(QList<CellChange> changes, const QString &what)
{
    if (!changes.isEmpty())
        m_history.push(new ChangeCells(this, std::move(changes), what));
}

int Document::editCells(DocTable table, const tarvo::CellEdits &edits, const QString &what)
{
    QList<CellChange> changes;
    changes.reserve(edits.size());
    for (const tarvo::CellEdit &edit : edits) {
        if (!tarvo::isDocumentCell(table, edit.row, edit.column))
            continue;
        // A later edit of the same cell in one step starts from the earlier one.
        QString old = m_cells.cellText(table, edit.row, edit.column);
        for (const CellChange &earlier : std::as_const(changes))
            if (earlier.row == edit.row && earlier.column == edit.column)
                old = earlier.newText;
        if (old != edit.text)
            changes.append({table, edit.row, edit.column, old, edit.text});
    }
    const int changed = int(changes.size());
    push(std::move(changes), what);
    return changed;
}

void Document::clear(const QString &what)
{
    QList<CellChange> changes;
    tarvo::forEachDocumentCell([&](DocTable table, int row, int column) {
        const QString old = m_cells.cellText(table, row, column);
        if (!old.isEmpty())
            changes.append({table, row, column, old, QString()});
    });
    push(std::move(changes), what);
}

void Document::load(const tarvo::DocumentData &cells)
{
    tarvo::forEachDocumentCell([&](DocTable table, int row, int column) {
        setCell(table, row, column, cells.cellText(table, row, column));
    });
    m_history.clear();
}

// ---- Its file

void Document::takeFile(const QString &path, int encoding, const tarvo::DocumentData &saved, bool lossless,
                        const tarvo::FileFingerprint &onDisk)
{
    m_fileName = path;
    m_encoding = encoding;
    m_readWithLosses = !lossless;
    m_savedCells = saved;
    m_knownOnDisk = onDisk;
    m_noticedOnDisk = tarvo::FileFingerprint();
    if (path.isEmpty())
        m_watch->stop();
    else
        m_watch->watch(path);
    emit fileChanged();
}

tarvo::DiskChange Document::changeOnDisk(tarvo::FileFingerprint *now, QByteArray *bytes) const
{
    if (m_fileName.isEmpty())
        return tarvo::DiskChange::None;
    return tarvo::diskChange(m_fileName, m_knownOnDisk, now, bytes);
}

bool Document::isNewStateOnDisk(const tarvo::FileFingerprint &now)
{
    if (now.exists == m_noticedOnDisk.exists && now.sameStat(m_noticedOnDisk))
        return false;
    m_noticedOnDisk = now;
    return true;
}

void Document::makeNew(const QString &fileName)
{
    load(tarvo::DocumentData());
    m_writeEncoding = -1;
    // A named new document has a file that does not exist yet.
    takeFile(fileName, -1, tarvo::DocumentData(), true,
             fileName.isEmpty() ? tarvo::FileFingerprint() : tarvo::fingerprintOf(fileName));
}

void Document::forgetFile()
{
    // The cells are still those read in its encoding.
    takeFile(QString(), m_encoding, tarvo::DocumentData(), !m_readWithLosses, tarvo::FileFingerprint());
}

void Document::nameFile(const QString &path)
{
    takeFile(path, m_encoding, tarvo::DocumentData(), !m_readWithLosses, tarvo::fingerprintOf(path));
}

Document::OpenResult Document::open(const QString &path, int encoding, const EncodingQuestion &ask)
{
    OpenResult result;
    // Known by what stat said before the read: a change during it shows later.
    tarvo::FileFingerprint onDisk = tarvo::fingerprintOf(path);
    // A save in place that was cut short is made whole before the read.
    if (!tarvo::recoverInterruptedSave(path, &result.recovered))
        result.recovered.clear();
    QByteArray bytes;
    if (!tarvo::readProgramBytes(path, &bytes, &result.error)) {
        result.status = OpenStatus::CannotRead;
        return result;
    }
    tarvo::DocumentData cells;
    tarvo::ReadReport report = tarvo::readProgram(bytes, tarvo::codecForEncoding(encoding), cells);
    result.notAProgram = tarvo::whyNotAProgramFile(bytes, report);
    if (result.notAProgram != tarvo::NotAProgramFile::No) {
        result.status = OpenStatus::NotAProgram;
        return result;
    }
    const int asked = encoding;
    bool lossless = report.lossless;
    if (ask && !ask(bytes, &encoding, &lossless)) {
        result.status = OpenStatus::Cancelled;
        return result;
    }
    if (encoding != asked) {
        cells = tarvo::DocumentData();
        tarvo::readProgram(bytes, tarvo::codecForEncoding(encoding), cells);
    }
    onDisk.hash = tarvo::contentHash(bytes);
    load(cells);
    m_writeEncoding = -1;
    takeFile(path, encoding, cells, lossless, onDisk);
    result.status = OpenStatus::Opened;
    return result;
}

Document::OpenResult Document::reload(const EncodingQuestion &ask)
{
    // Its own encoding is asked for again: the bytes may have become others.
    const int writeEncoding = m_writeEncoding;
    OpenResult result = open(m_fileName, m_encoding, ask);
    if (result.status == OpenStatus::Opened)
        m_writeEncoding = writeEncoding; // the same document, read again
    return result;
}

tarvo::WriteResult Document::save(const QString &path, int encoding)
{
    const tarvo::WriteResult result =
        tarvo::writeProgramFile(path, m_cells, tarvo::codecForEncoding(encoding), QDateTime::currentDateTime());
    if (!result.ok)
        return result;
    m_history.setClean();
    takeFile(path, encoding, m_cells, true, tarvo::fingerprintOf(path, &result.bytes));
    return result;
}

void Document::restore(const tarvo::Recovery &kept, const QString &what)
{
    // The file as it is now is what the restored edits are unsaved against.
    tarvo::DocumentData onDisk;
    tarvo::FileFingerprint print;
    QByteArray bytes;
    if (!kept.documentFile.isEmpty()) {
        print = tarvo::fingerprintOf(kept.documentFile);
        if (tarvo::readProgramBytes(kept.documentFile, &bytes, nullptr)) {
            print.hash = tarvo::contentHash(bytes);
            tarvo::readProgram(bytes, tarvo::codecForEncoding(kept.encoding), onDisk);
            // Changed since the edits were made: it counts as changed on
            // disk, so Save asks before replacing it.
            if (!kept.fileHash.isEmpty() && kept.fileHash != print.hash) {
                print.hash = kept.fileHash;
                print.size = -1;
            }
        }
    }
    // The file's cells, then the kept edits as one step of their own:
    // unsaved, and Undo shows what they changed.
    load(onDisk);
    QList<CellChange> changes;
    tarvo::forEachDocumentCell([&](DocTable table, int row, int column) {
        const QString old = onDisk.cellText(table, row, column);
        const QString text = kept.cells.cellText(table, row, column);
        if (old != text)
            changes.append({table, row, column, old, text});
    });
    push(std::move(changes), what);
    m_writeEncoding = -1;
    takeFile(kept.documentFile, kept.documentFile.isEmpty() ? -1 : kept.encoding, onDisk, true, print);
}

bool Document::recoverySnapshot(tarvo::Recovery *kept) const
{
    if (!hasUnsavedChanges())
        return false;
    kept->documentFile = m_fileName;
    kept->encoding = m_encoding >= 0 ? m_encoding : 0;
    kept->fileHash = m_knownOnDisk.hash;
    kept->cells = m_cells;
    return true;
}
