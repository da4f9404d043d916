#pragma once

#include "documentcells.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringView>

class QTextCodec;

namespace tarvo {

class EncodableCharacters;

// A document cell whose text holds characters that the code page cannot
// hold; the file carries the code page's replacement character instead.
struct UnencodableCell
{
    DocTable table;
    int row;
    int column;
    QString characters; // each character once, in order of appearance
};

// The first character of `text` that no cell of a program file can hold: a
// TAB, CR or LF (each would split its record) or another C0 control
// character (NUL, ESC, ...). -1 when there is none.
qsizetype firstCharacterNoCellHolds(QStringView text);

// A row that holds text the file cannot carry: a cell its record needs is
// empty (a department without a name, a payment without a name or value),
// so the writer leaves the whole row out.
struct LeftOutRow
{
    DocTable table;
    int row;
    QList<int> missingColumns; // the empty cells the record needs
};

// Every such row of the document, in tab and row order.
QList<LeftOutRow> rowsLeftOut(const DocumentCells &cells);

// Whether the writer carries a row: only when every cell its record needs
// holds text.
bool rowIsWritten(const DocumentCells &cells, DocTable table, int row);

// Whether `rowIsWritten` is false although the row holds text; `left`, when
// given, then names the missing cells.
bool rowIsLeftOut(const DocumentCells &cells, DocTable table, int row, LeftOutRow *left = nullptr);

// Text as a code page carries it. A character the code page cannot hold as
// it is, but whose canonical decomposition it holds (Vietnamese letters in
// CP1258, Hebrew presentation forms in CP1255), is written decomposed, with
// as few combining marks as can be (ế as ê and a combining acute), as other
// converters do; any other becomes the replacement character, invisible
// characters included, and is noted.
class ProgramTextEncoder
{
public:
    explicit ProgramTextEncoder(QTextCodec *codec);

    // The text of a cell as the file will carry it. Characters replaced are
    // appended to `unencodable`, when given, as one entry for the cell.
    QString writable(DocTable table, int row, int column, const QString &text,
                     QList<UnencodableCell> *unencodable) const;

    // The bytes of text already made writable, in one call to the codec.
    QByteArray encode(const QString &text) const;

private:
    QTextCodec *m_codec;
    const EncodableCharacters *m_encodable;
};

// The record line the writer writes for a row (letter, number and fields,
// TAB-separated, without a line end), its cells made writable by `encoder`;
// an empty string when the writer leaves the row out.
QString recordLine(const DocumentCells &cells, DocTable table, int row, const ProgramTextEncoder &encoder,
                   QList<UnencodableCell> *unencodable = nullptr);

// The comment line that opens a table's records in a file the writer
// writes (`";Departments"`); empty for a table without a section of its own.
QString sectionLine(DocTable table);

// The whole program file for a document, as the writer lays it out: the
// time stamp line, the section comment lines and one record a filled row,
// TAB-separated, every line ending in CR LF, encoded with `codec`.
QByteArray programFileBytes(const DocumentCells &cells, QTextCodec *codec, const QDateTime &stamp,
                            QList<UnencodableCell> *unencodable = nullptr);

} // namespace tarvo
