#pragma once

#include "documentcells.h"
#include "recordscan.h"

#include <QByteArray>

#include <array>
#include <vector>

namespace tarvo {

class LineDecoder;

// The last record of every row, kept as bytes until the whole file is read:
// a record sets all cells of its row, so earlier ones never show, and only
// one record a row is ever decoded. Holds no more than the last record of
// each row.
class LastRecords
{
public:
    LastRecords();

    // A record read on its bytes; it replaces any earlier one of its row.
    void keep(const RecordBytes &record);

    // A later record of the row was read as text and applied at once.
    void drop(DocTable table, int row) { m_rows[index(table, row)].kept = false; }

    // Sets the cells of every kept row, decoded, and lets go of their bytes.
    void applyTo(DocumentCells &cells, const LineDecoder &decoder);

private:
    struct Row
    {
        bool kept = false;
        QByteArray bytes;                  // the row's values one after another
        qsizetype end[kMaxRowCells] = {}; // where each value ends in `bytes`
    };

    int index(DocTable table, int row) const { return m_firstRow[static_cast<int>(table)] + row; }

    // The rows of the five tables one after another.
    std::array<int, kTableCount> m_firstRow{};
    std::vector<Row> m_rows;
};

} // namespace tarvo
