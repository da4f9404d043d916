#pragma once

// A document as JSON, the interchange form of tarvo-prg: one object with a
// key for each table (the table's jsonKey in documentformat.h). A table of
// one cell is a string, a table of one column an array of strings, a table
// of several columns an array of objects keyed by column name. Every value
// is a string. Written, every array has its full length and the keys come in
// tab and column order; read, a missing key or a short array means empty
// cells.

#include <documentcells.h>

#include <QByteArray>
#include <QString>

namespace tarvo {

// Inputs larger than this are refused before they are parsed.
constexpr qsizetype kMaxDocumentJsonBytes = 64 * 1024 * 1024;

// Fills `document` from `json`, every cell the JSON leaves out empty. On a
// fault returns false with one line in `error` that names what is wrong and
// where, rows counted from 1 ("department 4 price: a number where a string
// belongs"), and leaves `document` as it was. A key given twice in one
// object is such a fault.
bool documentFromJson(const QByteArray &json, DocumentData *document, QString *error);

// The document as JSON in the shape above, keys in that order, UTF-8,
// ending in a line end.
QByteArray documentToJson(const DocumentCells &document);

} // namespace tarvo
