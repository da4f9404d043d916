#pragma once

#include "documentcells.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

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

// A line taken apart, its texts still views into the line: valid only as
// long as the line is. For a Record, `table`, `row` and `cells` say what it
// sets (cell i goes to column tableFormat(table).cells[i].column); `number`
// is the number as read (0 where the field is no number).
struct LineParts
{
    LineVerdict verdict = LineVerdict::Empty;
    DocTable table = DocTable::Params;
    int row = -1;
    quint32 number = 0;
    bool numberIsNumeral = false; // the number field was a numeral at all
    QStringView letter;           // field 0, for messages
    QStringView numberText;       // field 1 as it stands, for messages
    int cellCount = 0;
    QStringView cells[kMaxRowCells];

    int column(int i) const;
};

// Takes one line apart after trimming LF, CR, TAB and space at both ends.
// Touches no document.
LineParts takeLineApart(QStringView line);

// Sets the cells of a Record in the document; any other line changes nothing.
void applyLine(const LineParts &line, DocumentCells &cells);

// What a read found in a file: how many lines were records, comments or
// neither (blank lines are none of these), and whether every byte was a
// character of the code page, so that writing the document back keeps the
// text that was there. A file that is no program file, or one read in the
// wrong code page, shows here.
struct ReadReport
{
    int records = 0;
    int comments = 0;
    int otherLines = 0;
    bool lossless = true;
    QTextCodec *codec = nullptr; // what the bytes were read with (see readingCodec)
};

// Where one line lies in the bytes of a file: its text from `start` to
// `textEnd`, then its line end, the LF and any CR bytes just before it (or
// the CR bytes that end the last line), up to `end`.
struct LineSpan
{
    qint64 number = 0; // from 1
    qsizetype start = 0;
    qsizetype textEnd = 0;
    qsizetype end = 0;
};

using LineHandler = std::function<void(qint64 number, const LineParts &line)>;
using SpanHandler = std::function<void(const LineSpan &span, const LineParts &line)>;

// Reads the bytes of a program file line by line: a line ends at LF, every
// CR byte is dropped, each line is decoded by itself with the codec the
// bytes are read with (`codec`, or UTF-8 after its byte order mark, see
// readingCodec), taken apart and handed to `take` with its number (from 1).
ReadReport readProgramLines(const QByteArray &bytes, QTextCodec *codec, const LineHandler &take);

// The same, handing each line's place in the bytes.
ReadReport readProgramSpans(const QByteArray &bytes, QTextCodec *codec, const SpanHandler &take);

// Reads the bytes of a program file into the document, every record in file
// order (a later record of a row overrides an earlier one).
ReadReport readProgram(const QByteArray &bytes, QTextCodec *codec, DocumentCells &cells);

// Why a file is no program file, which the editor's Open and every command
// refuse: it is not blank, and none of its lines is a record or a comment
// line. A file without a record is none either where its lines would be
// records if they were read as the program file they most likely are: with
// lines that end in a CR alone, with lines in double quotes (as some
// spreadsheets save them), or in UTF-16.
enum class NotAProgramFile {
    No,                 // a program file, or blank (an empty document)
    NoRecordOrComment,  // none of its lines is a record or a comment
    CarriageReturnEnds, // its lines end in a CR alone, which ends no line
    QuotedLines,        // its lines are in double quotes
    Utf16,              // it is UTF-16 text
    Empty,              // nothing but white space: an empty document to read, no file to edit
};

// Judges `bytes` by what reading them gave (`report`, from readProgram or
// readProgramLines of the same bytes). Blank bytes are an empty document
// (No); only an edit of a file calls them Empty.
NotAProgramFile whyNotAProgramFile(const QByteArray &bytes, const ReadReport &report);

inline bool isProgramFile(const QByteArray &bytes, const ReadReport &report)
{
    return whyNotAProgramFile(bytes, report) == NotAProgramFile::No;
}

} // namespace tarvo
