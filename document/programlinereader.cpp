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

bool ProgramLineReader::nextBytes(QByteArrayView *line)
{
    m_line.resize(0); // keeps the buffer for the next line
    m_cut = false;
    m_hadLineEnd = false;
    bool sawBytes = false;
    bool copying = false;
    for (;;) {
        if (m_position >= m_block.size() && !fillBlock())
            break;
        sawBytes = true;
        const char *start = m_block.constData() + m_position;
        const qsizetype left = m_block.size() - m_position;
        const char *lf = static_cast<const char *>(std::memchr(start, '\n', size_t(left)));
        const qsizetype length = lf ? lf - start : left;
        m_position += lf ? length + 1 : length;
        if (lf && !copying) {
            // The whole line lies in this block: hand it over where it is,
            // unless a CR other than one right before the LF needs dropping.
            const char *cr = static_cast<const char *>(std::memchr(start, '\r', size_t(length)));
            if (!cr || (cr == lf - 1)) {
                *line = QByteArrayView(start, cr ? length - 1 : length);
                m_hadLineEnd = true;
                ++m_lineNumber;
                return true;
            }
        }
        copying = true;
        if (!m_cut) {
            appendWithoutCarriageReturns(m_line, start, length);
            // A line's length counts its LF: more than kMaxLineBytes of it
            // is cut at kMaxLineBytes.
            if (m_line.size() + (lf ? 1 : 0) > kMaxLineBytes) {
                m_line.truncate(kMaxLineBytes);
                m_cut = true;
            }
        }
        if (lf) {
            m_hadLineEnd = !m_cut;
            break;
        }
    }
    if (!sawBytes)
        return false;
    *line = QByteArrayView(m_line.constData(), m_line.size());
    ++m_lineNumber;
    return true;
}

bool ProgramLineReader::next(QString *line)
{
    QByteArrayView bytes;
    if (!nextBytes(&bytes))
        return false;
    // As text a line ends in its LF; a last line without one gets it, unless
    // nothing but CR bytes was left of it.
    m_textLine.resize(0);
    m_textLine.append(bytes.data(), bytes.size());
    if (!m_textLine.isEmpty() || m_hadLineEnd)
        m_textLine.append('\n');
    *line = m_decoder.decode(m_textLine);
    return true;
}

bool openProgramFile(QFile &file, QString *error)
{
    return openRegularFileForReading(file, file.fileName(), error);
}

} // namespace tarvo
