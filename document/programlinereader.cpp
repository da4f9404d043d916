#include "programlinereader.h"

#include "regularfile.h"

#include <QFile>

#include <cstring>

namespace tarvo {

namespace {
constexpr qint64 kBlockSize = 64 * 1024;
}

ProgramLineReader::ProgramLineReader(QIODevice &device, QTextCodec *codec)
    : m_device(device), m_decoder(codec)
{
}

bool ProgramLineReader::fillBlock()
{
    m_block.resize(kBlockSize);
    const qint64 got = m_device.read(m_block.data(), kBlockSize);
    m_block.resize(got > 0 ? got : 0);
    m_position = 0;
    return got > 0;
}

bool ProgramLineReader::next(QString *line)
{
    m_line.resize(0); // keeps the buffer for the next line
    m_cut = false;
    bool sawBytes = false;
    for (;;) {
        if (m_position >= m_block.size() && !fillBlock())
            break;
        sawBytes = true;
        const char *start = m_block.constData() + m_position;
        const qsizetype left = m_block.size() - m_position;
        const char *lf = static_cast<const char *>(std::memchr(start, '\n', size_t(left)));
        const qsizetype take = lf ? (lf - start) + 1 : left;
        if (!m_cut) {
            appendWithoutCarriageReturns(m_line, start, take);
            if (m_line.size() > kMaxLineBytes) {
                m_line.truncate(kMaxLineBytes);
                m_cut = true;
            }
        }
        m_position += take;
        if (lf)
            break;
    }
    if (!sawBytes)
        return false;
    if (!m_line.isEmpty() && !m_line.endsWith('\n'))
        m_line.append('\n');
    *line = m_decoder.decode(m_line);
    ++m_lineNumber;
    return true;
}

bool openProgramFile(QFile &file, QString *error)
{
    return openRegularFileForReading(file, file.fileName(), error);
}

} // namespace tarvo
