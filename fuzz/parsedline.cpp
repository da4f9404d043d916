#include "parsedline.h"

namespace tarvo {

ParsedLine parseLine(const QString &line)
{
    const LineParts parts = takeLineApart(line);
    ParsedLine parsed;
    parsed.verdict = parts.verdict;
    parsed.table = parts.table;
    parsed.row = parts.row;
    parsed.number = parts.number;
    parsed.numberIsNumeral = parts.numberIsNumeral;
    parsed.letter = parts.letter.toString();
    parsed.numberText = parts.numberText.toString();
    for (int i = 0; i < parts.cellCount; ++i)
        parsed.cells.append({parts.column(i), parts.cells[i].toString()});
    return parsed;
}

bool parseProgramLine(const QString &line, DocumentCells &cells)
{
    const LineParts parts = takeLineApart(line);
    applyLine(parts, cells);
    return parts.verdict != LineVerdict::Empty;
}

} // namespace tarvo
