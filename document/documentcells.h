#pragma once

#include "documentformat.h"

#include <QList>
#include <QString>
#include <QVector>

namespace tarvo {

// What the file-format code needs of a document: read and set the text of
// one cell. DocumentData holds one in memory; the recovery file and the
// tests have documents of their own.
class DocumentCells
{
public:
    virtual ~DocumentCells() = default;
    virtual QString cellText(DocTable table, int row, int column) const = 0;
    virtual void setCellText(DocTable table, int row, int column, const QString &text) = 0;
};

// A document held in memory: the 247 document cells, all empty at first.
// Cells outside the document are ignored on write and read back empty.
class DocumentData : public DocumentCells
{
public:
    DocumentData();

    QString cellText(DocTable table, int row, int column) const override;
    void setCellText(DocTable table, int row, int column, const QString &text) override;

    // Counts every setCellText that named a cell outside the document.
    int strayWrites() const { return m_strayWrites; }

    bool operator==(const DocumentData &other) const { return m_cells == other.m_cells; }
    bool operator!=(const DocumentData &other) const { return !(*this == other); }

private:
    int offset(DocTable table, int row, int column) const;

    QVector<QString> m_cells;
    int m_strayWrites = 0;
};

// One document cell: a table, a row and a column from 0.
struct CellRef
{
    DocTable table;
    int row;
    int column;
};

// Calls visit(table, row, column) for every document cell, table by table
// and row by row, left to right; labels (row numbers, parameter names) are
// no document cells.
template <typename Visit>
void forEachDocumentCell(Visit visit)
{
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        for (int row = 0; row < format.rows; ++row)
            for (int i = 0; i < format.cellCount; ++i)
                visit(format.table, row, format.cells[i].column);
    }
}

// The document cells whose texts differ between `a` and `b`, in the order
// of forEachDocumentCell.
QList<CellRef> cellsThatDiffer(const DocumentCells &a, const DocumentCells &b);

} // namespace tarvo
