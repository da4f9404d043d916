#pragma once

// Inputs for the benchmarks, made at run time in a temporary folder: a
// program file as large as the reader takes (4 MiB) with ordinary short
// lines, and one of about the same size that is a single line. Nothing of
// it is kept.

#include "documentcells.h"
#include "programbytes.h"

#include <QByteArray>
#include <QString>

class QTextCodec;

namespace benchfiles {

constexpr qint64 kTargetBytes = tarvo::kMaxProgramFileBytes;

// The encoding the benchmarks read and write in: CP1251.
QTextCodec *codec();

// Every document cell filled with a short text of the kind a real program
// holds, Cyrillic names included.
tarvo::DocumentData fullDocument();

// Writes the files into `folder`; returns their paths. A valid file is
// whole documents one after another, `bytes` long at most (by default as
// large as the reader takes), named `name`.
QString writeValidFile(const QString &folder, qint64 bytes = kTargetBytes,
                       const QString &name = QStringLiteral("valid.prg"));
QString writeSingleLineFile(const QString &folder);
// One full document as the editor saves it (about 2.3 KB).
QString writeTypicalFile(const QString &folder);

// The longest line of a file in bytes, line end included.
qint64 longestLine(const QString &path);

} // namespace benchfiles
