#pragma once

// Reads a program file one line at a time, as the editor's reader does, and
// counts the lines so that messages can name them. Only one line (and one
// block of the file) is held in memory at a time.

#include <programlinereader.h>

#include <QFile>
#include <QString>

#include <memory>

class QTextCodec;

class NumberedLines
{
public:
    NumberedLines(const QString &path, QTextCodec *codec);

    // False when the file cannot be opened for reading; `error` says why.
    bool open(QString *error);

    // The next line, decoded, as the reader sees it; false at the end.
    bool next(QString *line);

    // The number of the line that next() gave last, from 1.
    qint64 lineNumber() const { return m_lines ? m_lines->lineNumber() : 0; }

    // True when that line was too long and only its start was read.
    bool lineWasCut() const { return m_lines && m_lines->lineWasCut(); }

private:
    QFile m_file;
    QTextCodec *m_codec;
    std::unique_ptr<tarvo::ProgramLineReader> m_lines;
};
