#pragma once

// A program file changed in some cells and nothing else: the records of
// the rows those cells belong to are written again as the writer writes
// them, and every other byte of the file stays as it was (the time stamp,
// comment lines, lines the reader passes over, line ends, a missing final
// line end). The whole-file writer is not used.

#include "documentformat.h"
#include "programreader.h"
#include "programwriter.h"

#include <QByteArray>
#include <QList>
#include <QString>

class QTextCodec;

namespace tarvo {

struct CellChange
{
    DocTable table;
    int row;
    int column;
    QString text;
};

struct ProgramEdit
{
    enum class Refusal {
        None,
        Lossy,              // bytes that are no characters of the code page
        NotAProgramFile,    // see whyNotAProgramFile; `notAProgramFile` says why
        LoneCarriageReturn, // line `line`, to be rewritten, holds a CR that is no line end
    };
    Refusal refusal = Refusal::None;
    NotAProgramFile notAProgramFile = NotAProgramFile::No;
    qint64 line = 0;
    QTextCodec *codec = nullptr; // the file is read and written with it (see readingCodec)

    // When not refused:
    QByteArray bytes;                   // the whole new file
    QList<UnencodableCell> unencodable; // characters of the new records the code page lacks
    QList<LeftOutRow> leftOut;          // changed rows that the file cannot carry
};

// Gives the cells of `bytes` (a program file read with `codec`) the texts
// of `changes`. A row whose cells change has its record rewritten in place
// (the last record of the row, which the reader takes); a row without a
// record gets one in its section, among its table's records in row order;
// a row the writer would no longer write loses its records. A file that is
// not lossless in the codec, or is not a program file, or whose record to be
// rewritten holds a CR that ends no line (the line could not be kept), is
// refused and nothing is made.
ProgramEdit editProgram(const QByteArray &bytes, QTextCodec *codec, const QList<CellChange> &changes);

} // namespace tarvo
