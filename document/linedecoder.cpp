#include "linedecoder.h"

#include <QMutex>
#include <QTextCodec>

#include <map>

#include <cstring>

namespace tarvo {

namespace {

// The single-byte code pages of the encoding list, by their registry numbers:
// ISO 8859-1 to -10, -13 to -16, Windows 1250 to 1258 and TIS-620.
bool isSingleByteCodePage(int mib)
{
    return (mib >= 4 && mib <= 13) || (mib >= 109 && mib <= 112) || (mib >= 2250 && mib <= 2259);
}

constexpr int kUtf8Mib = 106;

using ByteTable = std::array<char16_t, 256>;

// The character of every byte in a single-byte code page. Asking the codec
// costs far more than reading a small file, so each table is made once in
// the life of the process.
ByteTable makeByteTable(QTextCodec *codec)
{
    ByteTable table{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
        const QString c = codec->toUnicode(&byte, 1, &state);
        table[b] = c.size() == 1 ? c.at(0).unicode() : char16_t(QChar::ReplacementCharacter);
    }
    return table;
}

const ByteTable &byteTable(QTextCodec *codec)
{
    static QMutex mutex;
    static std::map<QTextCodec *, ByteTable> tables; // codecs live as long as the process
    const QMutexLocker lock(&mutex);
    auto found = tables.find(codec);
    if (found == tables.end())
        found = tables.emplace(codec, makeByteTable(codec)).first;
    return found->second;
}

} // namespace

LineDecoder::LineDecoder(QTextCodec *codec)
    : m_codec(codec)
{
    const int mib = codec->mibEnum();
    if (mib == kUtf8Mib) {
        m_kind = Kind::Utf8;
        m_bytewise = true;
    } else if (isSingleByteCodePage(mib)) {
        m_kind = Kind::SingleByte;
        m_table = byteTable(codec);
        m_bytewise = true;
        for (int b = 0; b < 0x80; ++b)
            m_bytewise = m_bytewise && m_table[b] == char16_t(b);
    } else {
        m_kind = Kind::Other;
    }
}

QString LineDecoder::decode(const char *bytes, qsizetype size) const
{
    switch (m_kind) {
    case Kind::SingleByte: {
        QString text(size, Qt::Uninitialized);
        QChar *out = text.data();
        for (qsizetype i = 0; i < size; ++i)
            out[i] = QChar(m_table[static_cast<unsigned char>(bytes[i])]);
        return text;
    }
    case Kind::Utf8:
        return QString::fromUtf8(bytes, size);
    case Kind::Other:
        break;
    }
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return m_codec->toUnicode(bytes, int(size), &state);
}

QString LineDecoder::decodeField(QByteArrayView bytes) const
{
    if (m_kind != Kind::Utf8 || !bytes.startsWith("\xEF\xBB\xBF"))
        return decode(bytes);
    // Qt's UTF-8 decoding drops a byte order mark at the start; within a
    // line each one is a character.
    qsizetype marks = 0;
    while (bytes.sliced(marks * 3).startsWith("\xEF\xBB\xBF"))
        ++marks;
    return QString(marks, QChar(0xFEFF)) + QString::fromUtf8(bytes.data() + marks * 3, bytes.size() - marks * 3);
}

void LineDecoder::decodeFieldInto(QString *text, QByteArrayView bytes) const
{
    if (m_kind != Kind::SingleByte) {
        *text = decodeField(bytes);
        return;
    }
    text->resize(bytes.size());
    QChar *out = text->data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = QChar(m_table[static_cast<unsigned char>(bytes[i])]);
}

void appendWithoutCarriageReturns(QByteArray &line, const char *bytes, qsizetype size)
{
    const char *end = bytes + size;
    while (bytes < end) {
        const char *cr = static_cast<const char *>(std::memchr(bytes, '\r', size_t(end - bytes)));
        const char *stop = cr ? cr : end;
        line.append(bytes, stop - bytes);
        bytes = cr ? cr + 1 : end;
    }
}

} // namespace tarvo
