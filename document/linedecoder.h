#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <bitset>

class QTextCodec;

namespace tarvo {

// Turns the bytes of one line of a program file into text with a codec. The
// code pages of the encoding list hold one character a byte, so their bytes
// go through a table made once in the life of the process; any other codec
// (UTF-8, a multi-byte "System") decodes each line by itself, as the line
// reader always did: UTF-8 drops a byte order mark at the start of a line.
class LineDecoder
{
public:
    explicit LineDecoder(QTextCodec *codec);

    // Decodes `bytes` into `text`, reusing its buffer where it can.
    void decode(QByteArrayView bytes, QString *text) const;
    QString decode(QByteArrayView bytes) const;

    // True when every byte of `bytes` belongs to a character of the codec,
    // so that decoding them and encoding the text again gives them back
    // (a UTF-8 byte order mark at the start aside). A byte the code page
    // leaves undefined is none, whatever the codec makes of it. Every
    // command and the editor judge a file's bytes by this one rule.
    bool isLossless(QByteArrayView bytes) const;

    // True when the codec is a code page of one character a byte, read
    // through the table.
    bool isSingleByte() const { return m_singleByte; }

    // For such a code page: true when `character` is the character of one
    // of its bytes, which it writes as that byte and reads back.
    bool isCharacter(char16_t character) const;

private:
    QTextCodec *m_codec;
    bool m_singleByte = false;
    bool m_utf8 = false;
    QByteArray m_undefined; // the code page's bytes that are no characters, where few
    bool m_fewUndefined = false;
    const std::array<char16_t, 256> *m_table = nullptr;
    const std::array<bool, 256> *m_roundTrips = nullptr;
    const std::bitset<0x10000> *m_characters = nullptr;
};

} // namespace tarvo
