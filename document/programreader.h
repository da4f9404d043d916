#pragma once

#include "documentcells.h"

#include <QByteArrayView>
#include <QString>
#include <QVector>

#include <functional>

class QIODevice;
class QTextCodec;

namespace tarvo {

// What the reader makes of one line of a program file.
enum class LineVerdict {
    Empty,            // nothing but white space
    Comment,          // begins with a double quote and a semicolon
    Record,           // a record that sets cells
    UnknownLetter,    // the first field is no record letter
    NumberOutOfRange, // the number names no row of the record's table
};

// One value that a record puts into a cell.
struct RecordCell
{
    int column;
    QString text;
};

// A line taken apart. For a Record, `table`, `row` and `cells` say what it
// sets; `number` is the number as read (0 where the field is no number).
struct ParsedLine
{
    LineVerdict verdict = LineVerdict::Empty;
    DocTable table = DocTable::Params;
    int row = -1;
    quint32 number = 0;
    bool numberIsNumeral = false; // the number field was a numeral at all
    QString letter;               // field 0, for messages
    QString numberText;           // field 1 as it stands, for messages
    QVector<RecordCell> cells;
};

// Takes one line apart after trimming it. Touches no document.
ParsedLine parseLine(const QString &line);

class LineDecoder;

// The same as parseLine for the bytes of a line (CR bytes dropped, LF left
// off or not) in the code page of `decoder`: most records are taken apart
// on their bytes and only their values decoded, any other line is decoded
// and read as text.
ParsedLine parseLineBytes(QByteArrayView line, const LineDecoder &decoder);

// The same into `parsed`, reusing the buffers of its strings and cells where
// nothing else shares them, so that reading line after line into one
// ParsedLine allocates next to nothing.
void parseLineBytes(QByteArrayView line, const LineDecoder &decoder, ParsedLine *parsed);

// Sets the cells of a Record in the document; any other line changes nothing.
void applyParsedLine(const ParsedLine &parsed, DocumentCells &cells);

// Applies one line to the document. False for a line that is empty after
// trimming, true for any other.
bool parseProgramLine(const QString &line, DocumentCells &cells);

// Reads the next line of an open device: its bytes up to and including the
// LF, every CR dropped, decoded as a whole with `codec` as LineDecoder
// decodes. A last line without a line end gets an LF. Empty at the end of
// the device. Of a line longer than kMaxLineBytes only that many bytes are
// kept. The plain line-at-a-time reader that the block reader and the byte
// path are held to.
QString readRawLine(QIODevice &device, QTextCodec *codec);

// One line of a program file taken apart.
struct ParsedProgramLine
{
    qint64 number = 0;  // from 1
    bool cut = false;   // longer than kMaxLineBytes: only its start was read
    ParsedLine parsed;
};

using ParsedLineHandler = std::function<void(const ParsedProgramLine &)>;

// Reads an open device to its end, handing every line, taken apart, to
// `take` in turn.
void readParsedLines(QIODevice &device, QTextCodec *codec, const ParsedLineHandler &take);

// Opens `path` (a regular file only) and reads it so. False only when it
// cannot be opened; `error` then says why.
bool readParsedProgramFile(const QString &path, QTextCodec *codec, const ParsedLineHandler &take,
                           QString *error = nullptr);

// Reads an open device to its end, applying every line to the document.
// Every record sets all cells of its row, so unless the cells see every
// change (DocumentCells::seesEveryChange) only the last record of each row
// reaches them, once the whole device is read.
void readProgram(QIODevice &device, QTextCodec *codec, DocumentCells &cells);

// Opens `path` and reads it into the document. False only when the file
// cannot be opened for reading (then `error` says why and nothing changed).
bool readProgramFile(const QString &path, QTextCodec *codec, DocumentCells &cells,
                     QString *error = nullptr);

} // namespace tarvo
