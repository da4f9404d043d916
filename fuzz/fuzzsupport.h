#pragma once

// Helpers shared by the fuzz targets: a failed property check that stops the
// run with a message, codecs picked by an input byte and reading a program
// from bytes.

#include "documentcells.h"

#include <QByteArray>
#include <QString>

class QTextCodec;

namespace fuzzsupport {

// Prints the message and aborts, so libFuzzer keeps the input as a crash.
[[noreturn]] void fail(const char *what, const QString &detail = QString());

#define FUZZ_CHECK(condition, detail)                                                              \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::fuzzsupport::fail(#condition, (detail));                                             \
    } while (false)

// The encodings the targets read and write in: the platform's own ("System"),
// UTF-8, CP1251, CP1252, ISO 8859-5 and ISO 8859-7. `selector` picks one.
QTextCodec *codecFor(unsigned char selector);
const char *codecName(unsigned char selector);

// The first cell in which two documents differ, as "table row column: a | b".
QString firstDifference(const tarvo::DocumentData &a, const tarvo::DocumentData &b);

// Reads program bytes into a fresh document.
tarvo::DocumentData readBytes(const QByteArray &bytes, QTextCodec *codec);

} // namespace fuzzsupport
