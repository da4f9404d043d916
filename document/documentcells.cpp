#include "documentcells.h"

namespace tarvo {

namespace {

// Where each table's cells start in the flat cell list; the last entry is
// the size of the list.
struct TableOffsets
{
    int start[kTableCount + 1];

    TableOffsets() : start{}
    {
        for (int t = 0; t < kTableCount; ++t)
            start[t + 1] = start[t] + rowCount(tableAt(t)) * columnCount(tableAt(t));
    }
};

const TableOffsets &tableOffsets()
{
    static const TableOffsets offsets;
    return offsets;
}

} // namespace

DocumentData::DocumentData()
{
    m_cells.resize(tableOffsets().start[kTableCount]);
}

int DocumentData::offset(DocTable table, int row, int column) const
{
    if (!isDocumentCell(table, row, column))
        return -1;
    return tableOffsets().start[static_cast<int>(table)] + row * columnCount(table) + column;
}

QString DocumentData::cellText(DocTable table, int row, int column) const
{
    const int at = offset(table, row, column);
    return at < 0 ? QString() : m_cells.at(at);
}

void DocumentData::setCellText(DocTable table, int row, int column, const QString &text)
{
    const int at = offset(table, row, column);
    if (at < 0) {
        ++m_strayWrites;
        return;
    }
    m_cells[at] = text;
}

QList<CellRef> cellsThatDiffer(const DocumentCells &a, const DocumentCells &b)
{
    QList<CellRef> differ;
    forEachDocumentCell([&](DocTable table, int row, int column) {
        if (a.cellText(table, row, column) != b.cellText(table, row, column))
            differ.append({table, row, column});
    });
    return differ;
}

} // namespace tarvo
