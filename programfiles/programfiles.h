#pragma once

// Program files and the parameter names file on disk: what the file-format
// library makes of bytes, read and written through the save engine.

#include "filecalls.h"
#include "programreader.h"
#include "programwriter.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

class QTextCodec;

namespace tarvo {

struct WriteResult
{
    bool ok = false;
    QString error; // why the write failed, for messages
    QList<UnencodableCell> unencodable;
    QByteArray bytes; // what the file now holds, when the write succeeded
    // What the user should be told besides, whether or not the write
    // succeeded: an interrupted earlier save that was made whole first, a
    // rollback copy or an unfinished file that could not be removed. Empty
    // when there is nothing.
    QString notice;
};

// Writes the program file to `path` so that a failure at any point leaves
// any previous file as it was (see replaceFileContents). `calls` is for
// tests that make the system fail.
WriteResult writeProgramFile(const QString &path, const DocumentCells &cells, QTextCodec *codec,
                             const QDateTime &stamp = QDateTime::currentDateTime(),
                             const FileCalls &calls = FileCalls::system());

// Reads the file at `path` (see readProgramBytes: a regular file of at most
// kMaxProgramFileBytes, read once) into the document. False when the file
// cannot be read, `error` then saying why and the document untouched.
bool readProgramFile(const QString &path, QTextCodec *codec, DocumentCells &cells, QString *error = nullptr,
                     ReadReport *report = nullptr);

enum class NamesLoad {
    Loaded,
    CannotOpen,    // missing, unreadable or too large to be a names file
    WrongEncoding, // the marker text is not in the bytes
    BadFormat,     // not well-formed, too deeply nested, wrong structure
};

// Loads a names file: opens it, checks the marker, parses it. `names` is
// always 26 entries afterwards, all empty unless the result is Loaded.
NamesLoad loadParamNamesFile(const QString &path, QTextCodec *codec, QStringList *names);

} // namespace tarvo
