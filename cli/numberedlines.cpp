#include "numberedlines.h"

#include <programreader.h>

#include <QFileInfo>

NumberedLines::NumberedLines(const QString &path, QTextCodec *codec) : m_file(path), m_codec(codec) {}

bool NumberedLines::open(QString *error)
{
    // A directory opens on some platforms and then reads as empty: it is no file.
    if (QFileInfo(m_file.fileName()).isDir()) {
        *error = QStringLiteral("Is a directory");
        return false;
    }
    if (!m_file.open(QIODevice::ReadOnly)) {
        *error = m_file.errorString();
        return false;
    }
    return true;
}

bool NumberedLines::next(QString *line)
{
    if (!m_file.isOpen() || m_file.atEnd())
        return false;
    *line = tarvo::readRawLine(m_file, m_codec);
    ++m_lineNumber;
    return true;
}
