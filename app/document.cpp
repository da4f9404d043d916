#include "document.h"

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
    : QObject(parent)
{
    connect(&m_history, &QUndoStack::cleanChanged, this, [this](bool clean) { emit modifiedChanged(!clean); });
}

Document::~Document()
{
    // Going quietly: no one is to hear of a history that ends with the window.
    m_history.blockSignals(true);
    m_history.clear();
}

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
    startNewHistory();
}

void Document::startNewHistory()
{
    m_history.clear();
}
