#pragma once

// A document that remembers, for every cell, the line of the program file
// that set it last, so that a message about a cell can name its line.

#include <documentcells.h>

#include <QHash>

class SourceLineDocument : public tarvo::DocumentCells
{
public:
    // The line that the next setCellText calls come from.
    void setCurrentLine(qint64 line) { m_currentLine = line; }

    // The line that set the cell last; 0 when no line did.
    qint64 sourceLine(tarvo::DocTable table, int row, int column) const;

    const tarvo::DocumentData &data() const { return m_data; }

    QString cellText(tarvo::DocTable table, int row, int column) const override;
    void setCellText(tarvo::DocTable table, int row, int column, const QString &text) override;

private:
    static int key(tarvo::DocTable table, int row, int column);

    tarvo::DocumentData m_data;
    QHash<int, qint64> m_lines;
    qint64 m_currentLine = 0;
};
