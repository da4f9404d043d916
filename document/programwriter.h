#pragma once

#include "documentcells.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class QTextCodec;

namespace tarvo {

// A document cell whose text holds characters that the code page cannot
// hold; the file carries the code page's replacement character instead.
struct UnencodableCell
{
    DocTable table;
    int row;
    int column;
    QString characters; // each character once, in order of appearance
};

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

// The whole program file for a document, as the writer lays it out: the
// time stamp line, the section comment lines and one record a filled row,
// TAB-separated, every line ending in CR LF, encoded with `codec`.
QByteArray programFileBytes(const DocumentCells &cells, QTextCodec *codec, const QDateTime &stamp,
                            QList<UnencodableCell> *unencodable = nullptr);

} // namespace tarvo
