#pragma once

// Reading a program file for Open: its bytes at once, then what they hold.

#include "documentcells.h"

#include <QByteArray>
#include <QString>

class QTextCodec;

namespace load {

// What a read found.
struct Report
{
    int records = 0;    // lines that set cells
    int comments = 0;   // comment lines
    int otherLines = 0; // non-empty lines that are neither
    bool lossless = true; // every byte is a character of the encoding
};

// The whole of a regular file, up to a size far beyond any program file.
// False with `error` when it cannot be read.
bool readProgramBytes(const QString &path, QByteArray *bytes, QString *error);

// Reads the bytes of a program file into `cells` (every record in file
// order, the last for a row winning).
Report readProgram(const QByteArray &bytes, QTextCodec *codec, tarvo::DocumentCells &cells);

} // namespace load
