#include "lastrecords.h"

#include "linedecoder.h"

#include <cstring>

namespace tarvo {

LastRecords::LastRecords()
{
    int rows = 0;
    for (int t = 0; t < kTableCount; ++t) {
        m_firstRow[t] = rows;
        rows += rowCount(tableAt(t));
    }
    m_rows.resize(rows);
}

void LastRecords::keep(const RecordBytes &record)
{
    Row &row = m_rows[index(record.table, record.row)];
    const TableFormat &format = tableFormat(record.table);
    row.kept = true;
    qsizetype size = 0;
    for (int i = 0; i < format.cellCount; ++i)
        size += record.field(format.cells[i].field).size();
    row.bytes.resize(size); // keeps its buffer when that is large enough
    char *out = row.bytes.data();
    qsizetype at = 0;
    for (int i = 0; i < format.cellCount; ++i) {
        const QByteArrayView value = record.field(format.cells[i].field);
        if (!value.isEmpty())
            std::memcpy(out + at, value.data(), size_t(value.size()));
        at += value.size();
        row.end[i] = at;
    }
}

void LastRecords::applyTo(DocumentCells &cells, const LineDecoder &decoder)
{
    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        for (int r = 0; r < format.rows; ++r) {
            Row &row = m_rows[index(format.table, r)];
            if (!row.kept)
                continue;
            qsizetype begin = 0;
            for (int i = 0; i < format.cellCount; ++i) {
                const QByteArrayView value(row.bytes.constData() + begin, row.end[i] - begin);
                cells.setCellText(format.table, r, format.cells[i].column, decoder.decodeField(value));
                begin = row.end[i];
            }
            row = Row(); // its bytes go before the next row's text is made
        }
    }
}

} // namespace tarvo
