#pragma once

#include "linedecoder.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QFile;
class QIODevice;
class QTextCodec;

namespace tarvo {

// No line is held beyond this many bytes: of a longer one only the first
// kMaxLineBytes are read and the rest is passed over. Program files written
// by a person or a device have lines of a few hundred bytes.
constexpr qsizetype kMaxLineBytes = 1024 * 1024;

// Reads the lines of a program file from a device in large blocks: each line
// with its LF, every CR dropped, decoded as a whole; a last line without a
// line end gets an LF. Only the current block and line are held in memory.
class ProgramLineReader
{
public:
    ProgramLineReader(QIODevice &device, QTextCodec *codec);

    // The next line; false at the end of the device.
    bool next(QString *line);

    // The bytes of the next line without its CR bytes and without its LF,
    // still undecoded; false at the end of the device. They stay valid
    // until the next call. Most lines are handed over where they lie in the
    // block, without a copy.
    bool nextBytes(QByteArrayView *line);

    const LineDecoder &decoder() const { return m_decoder; }

    // The number of the line that next() gave last, from 1.
    qint64 lineNumber() const { return m_lineNumber; }

    // True when the line that next() gave last was longer than
    // kMaxLineBytes and was cut there.
    bool lineWasCut() const { return m_cut; }

private:
    bool fillBlock();

    QIODevice &m_device;
    LineDecoder m_decoder;
    QByteArray m_block;
    qsizetype m_position = 0;
    QByteArray m_line;
    QByteArray m_textLine;
    bool m_hadLineEnd = false;
    qint64 m_lineNumber = 0;
    bool m_cut = false;
};

// Opens a program file for reading. Only a regular file is opened: a
// directory, a FIFO or a device is refused without blocking. False with
// `error` set on failure.
bool openProgramFile(QFile &file, QString *error);

} // namespace tarvo
