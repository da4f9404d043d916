#pragma once

// A line of a program file taken apart into texts of its own, for the fuzz
// targets and the reader's tests: the reader itself works on views
// (takeLineApart, applyLine).

#include "programreader.h"

#include <QString>
#include <QVector>

namespace tarvo {

// One value that a record puts into a cell.
struct RecordCell
{
    int column;
    QString text;
};

// A line taken apart into texts of its own (see LineParts).
struct ParsedLine
{
    LineVerdict verdict = LineVerdict::Empty;
    DocTable table = DocTable::Params;
    int row = -1;
    quint32 number = 0;
    bool numberIsNumeral = false;
    QString letter;
    QString numberText;
    QVector<RecordCell> cells;
};

// Takes one line apart (see takeLineApart).
ParsedLine parseLine(const QString &line);

// Applies one line to the document. False for a line that is empty after
// trimming, true for any other.
bool parseProgramLine(const QString &line, DocumentCells &cells);

} // namespace tarvo
