#pragma once

#include "linedecoder.h"

#include <QByteArray>
#include <QString>

class QFile;
class QIODevice;
class QTextCodec;

namespace tarvo {

// Reads the lines of a program file from a device in large blocks: each line
// with its LF, every CR dropped, decoded as a whole; a last line without a
// line end gets an LF. Only the current block and line are held in memory.
class ProgramLineReader
{
public:
    ProgramLineReader(QIODevice &device, QTextCodec *codec);

    // The next line; false at the end of the device.
    bool next(QString *line);

    // The number of the line that next() gave last, from 1.
    qint64 lineNumber() const { return m_lineNumber; }

private:
    bool fillBlock();

    QIODevice &m_device;
    LineDecoder m_decoder;
    QByteArray m_block;
    qsizetype m_position = 0;
    QByteArray m_line;
    qint64 m_lineNumber = 0;
};

// Opens a program file for reading, refusing a directory (which opens on
// some platforms and then reads as empty). False with `error` set on failure.
bool openProgramFile(QFile &file, QString *error);

} // namespace tarvo
