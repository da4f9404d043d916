#pragma once

// Program files as the commands read and write them: a file name, or "-"
// for standard input or output. Writing reports on standard error what the
// file could not carry.

#include "messages.h"
#include "programfiles.h"
#include "programbytes.h"

#include <documentcells.h>
#include <programreader.h>
#include <programwriter.h>

#include <QDateTime>
#include <QString>
#include <QStringList>

class QTextCodec;

namespace programstreams {

// "standard input" for "-", else the file name, for messages.
QString shownName(const QString &file);

// "standard output" for "-", else the file name, for messages.
QString shownOutput(const QString &file);

// Reads the bytes of `file`, or of standard input for "-", in one go (see
// tarvo::readProgramBytes); false, with `error` saying why, when it cannot
// be read whole.
bool readBytes(const QString &file, QByteArray *bytes, QString *error);

// Reads `file` into `cells`; false (with `error`, `cells` untouched) when it
// cannot be read or is not a program file (see tarvo::whyNotAProgramFile).
// `bytes`, when given, receives what was read.
bool readDocument(const QString &file, QTextCodec *codec, tarvo::DocumentData &cells, QString *error,
                  tarvo::ReadReport *report = nullptr, QByteArray *bytes = nullptr);

// "FILE: not a program file: ..." with the likely cause.
QString notAProgramFileText(const QString &file, tarvo::NotAProgramFile why);

// Why a file whose bytes are not all characters of the code page (see
// ReadReport::lossless) is not taken.
QString lossyText(QTextCodec *codec);

// "LINE: bytes that are no characters of ENCODING; the file reads cleanly
// in ..." for bytes that are not all characters of the encoding they are
// read in (see tarvo::readingCodec), the first such line and the encodings
// that read them cleanly, the most likely first; empty when they are.
QString undecodableFinding(const QByteArray &bytes, int encoding);

// "cannot read FILE: REASON" and "cannot write FILE: REASON", the reason
// (the system's or the library's) in the language of the messages.
QString cannotReadText(const QString &file, const QString &reason);
QString cannotWriteText(const QString &file, const QString &reason);

// The time stamp every written file carries: SOURCE_DATE_EPOCH (seconds
// since 1970, UTC) when it is set, so that the same input gives the same
// bytes, otherwise the time now. False when SOURCE_DATE_EPOCH is set but
// no such number; `error` says so.
bool writeStamp(QDateTime *stamp, QString *error);

struct Written
{
    bool ok = false; // false: the write failed and was reported
    QList<tarvo::UnencodableCell> unencodable;
};

// Writes the document to `file` (replacing it only once every byte is
// safe, see writeProgramFile) or to standard output for "-". A FIFO or a
// terminal named as the file is written into, never replaced; one that
// nobody reads is an error, not a wait.
Written writeDocument(const QString &file, const tarvo::DocumentCells &cells, QTextCodec *codec,
                      const QDateTime &stamp);

// "FILE: ROW left out: the file carries it only with a ..." for one row.
QString leftOutRowMessage(const QString &file, const tarvo::LeftOutRow &row);

// A line for every row of `cells` that `file` does not carry (see
// rowsLeftOut).
QStringList leftOutRowMessages(const QString &file, const tarvo::DocumentCells &cells);

// Names on standard error every row of `cells` that `file` does not carry
// (see rowsLeftOut); true when there was any.
bool reportLeftOutRows(const QString &file, const tarvo::DocumentCells &cells);

} // namespace programstreams
