#include "numberedlines.h"

NumberedLines::NumberedLines(const QString &path, QTextCodec *codec) : m_file(path), m_codec(codec) {}

bool NumberedLines::open(QString *error)
{
    if (!tarvo::openProgramFile(m_file, error))
        return false;
    m_lines = std::make_unique<tarvo::ProgramLineReader>(m_file, m_codec);
    return true;
}

bool NumberedLines::next(QString *line)
{
    return m_lines && m_lines->next(line);
}
