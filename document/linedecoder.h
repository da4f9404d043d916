#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>

class QTextCodec;

namespace tarvo {

// Turns the bytes of one line into text with a codec, quickly. The code
// pages of the encoding list hold one character a byte, so their bytes go
// through a table made once in the life of the process; UTF-8 has its own
// fast path; any other codec decodes each line as a whole.
class LineDecoder
{
public:
    explicit LineDecoder(QTextCodec *codec);

    // A whole line. UTF-8 drops a byte order mark at its start.
    QString decode(const char *bytes, qsizetype size) const;
    QString decode(QByteArrayView bytes) const { return decode(bytes.data(), bytes.size()); }

    // A field from within a line, decoded as it is within the line: a byte
    // order mark at its start stays, as U+FEFF.
    QString decodeField(QByteArrayView bytes) const;

    // The same into `text`, reusing its buffer unless something shares it.
    void decodeFieldInto(QString *text, QByteArrayView bytes) const;

    // True when every byte below 0x80 is its ASCII character and a field
    // decodes on its own (decodeField) as it does within its line, so that
    // a line can be taken apart on its bytes before it is decoded: the
    // single-byte code pages and UTF-8.
    bool decodesBytewise() const { return m_bytewise; }

private:
    enum class Kind { SingleByte, Utf8, Other };

    QTextCodec *m_codec;
    Kind m_kind;
    bool m_bytewise = false;
    std::array<char16_t, 256> m_table{};
};

// Appends `size` bytes to `line`, leaving out every CR byte.
void appendWithoutCarriageReturns(QByteArray &line, const char *bytes, qsizetype size);

} // namespace tarvo
