#include "sourcelinedocument.h"

int SourceLineDocument::key(tarvo::DocTable table, int row, int column)
{
    return (static_cast<int>(table) * 256 + row) * 16 + column;
}

qint64 SourceLineDocument::sourceLine(tarvo::DocTable table, int row, int column) const
{
    return m_lines.value(key(table, row, column), 0);
}

QString SourceLineDocument::cellText(tarvo::DocTable table, int row, int column) const
{
    return m_data.cellText(table, row, column);
}

void SourceLineDocument::setCellText(tarvo::DocTable table, int row, int column, const QString &text)
{
    m_data.setCellText(table, row, column, text);
    if (tarvo::isDocumentCell(table, row, column))
        m_lines.insert(key(table, row, column), m_currentLine);
}
