#pragma once

// A document as JSON, the interchange form of tarvo-prg:
//
//   {"params": [26 strings, parameter 1 first],
//    "departments": [50 x {"name", "price", "tax", "digits"}],
//    "headerLines": [8 strings],
//    "comment": "string",
//    "payments": [4 x {"name", "value", "index"}]}
//
// Every value is a string. Written, every array has its full length; read,
// a missing key or a short array means empty cells.

#include <documentcells.h>

#include <QByteArray>
#include <QString>

namespace tarvo {

// Inputs larger than this are refused before they are parsed.
constexpr qsizetype kMaxDocumentJsonBytes = 64 * 1024 * 1024;

// Fills `document` from `json`, every cell the JSON leaves out empty. On a
// fault returns false with one line in `error` that names what is wrong and
// where ("departments[3].price: a number where a string belongs"), and leaves
// `document` as it was.
bool documentFromJson(const QByteArray &json, DocumentData *document, QString *error);

// The document as JSON in the shape above, keys in that order, UTF-8,
// ending in a line end.
QByteArray documentToJson(const DocumentCells &document);

} // namespace tarvo
