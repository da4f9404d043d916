#include "linedecoder.h"

#include "encodings.h"
#include "iso885911codec.h"

#include <QMutex>
#include <QTextCodec>

#include <bitset>
#include <cstring>
#include <map>

namespace tarvo {

namespace {

// The parts of ISO 8859 in the encoding list, by their registry numbers:
// -1 to -10, -11, -13 to -16. They give the bytes 0x80 to 0x9F the C1
// control characters of the same numbers.
bool isIso8859(int mib)
{
    return (mib >= 4 && mib <= 13) || (mib >= 109 && mib <= 112) || mib == Iso885911Codec::kMib;
}

// The single-byte code pages of the encoding list: ISO 8859 and Windows
// 1250 to 1258.
bool isSingleByteCodePage(int mib) { return isIso8859(mib) || (mib >= 2250 && mib <= 2258); }

// What every byte of a single-byte code page is: its character, and whether
// it is one of the code page's characters at all, which encodes back to the
// same byte. A byte that a Windows code page leaves undefined comes out of
// the codec as the C1 control character of its number (0x98 as U+0098):
// no character, as the replacement character is none.
struct CodePageTable
{
    std::array<char16_t, 256> character{};
    std::array<bool, 256> roundTrips{};
    std::bitset<0x10000> characters; // the characters of round-tripping bytes
};

// The table asking the codec about each byte by itself.
CodePageTable makeTableByteByByte(QTextCodec *codec)
{
    const bool c1Defined = isIso8859(codec->mibEnum());
    CodePageTable table;
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        QTextCodec::ConverterState in(QTextCodec::IgnoreHeader);
        const QString c = codec->toUnicode(&byte, 1, &in);
        table.character[b] = c.size() == 1 ? c.at(0).unicode() : char16_t(QChar::ReplacementCharacter);
        QTextCodec::ConverterState out(QTextCodec::IgnoreHeader);
        const char16_t character = table.character[b];
        const bool defined = character != QChar::ReplacementCharacter
            && (c1Defined || character < 0x80 || character > 0x9f);
        table.roundTrips[b] = defined && c.size() == 1 && in.invalidChars == 0
            && codec->fromUnicode(c.constData(), 1, &out) == QByteArray(1, byte);
        // Read, an undefined byte is the replacement character in every
        // code page, as the file's bytes were not all read.
        if (!table.roundTrips[b])
            table.character[b] = char16_t(QChar::ReplacementCharacter);
    }
    return table;
}

// The same in two calls of the codec, all 256 bytes at once and their
// characters back (each call costs the codec far more than its bytes; a
// code page of one character a byte converts each byte alike, alone or
// among others). Should the codec not give one character a byte and one
// byte a character, it is asked byte by byte.
CodePageTable makeTable(QTextCodec *codec)
{
    const bool c1Defined = isIso8859(codec->mibEnum());
    char bytes[256];
    for (int b = 0; b < 256; ++b)
        bytes[b] = char(b);
    QTextCodec::ConverterState in(QTextCodec::IgnoreHeader);
    const QString characters = codec->toUnicode(bytes, 256, &in);
    if (characters.size() != 256 || in.invalidChars != 0)
        return makeTableByteByByte(codec);
    QTextCodec::ConverterState out(QTextCodec::IgnoreHeader);
    const QByteArray back = codec->fromUnicode(characters.constData(), 256, &out);
    if (back.size() != 256)
        return makeTableByteByByte(codec);
    CodePageTable table;
    for (int b = 0; b < 256; ++b) {
        const char16_t character = characters.at(b).unicode();
        const bool defined = character != QChar::ReplacementCharacter
            && (c1Defined || character < 0x80 || character > 0x9f);
        table.roundTrips[b] = defined && back.at(b) == bytes[b];
        table.character[b] = table.roundTrips[b] ? character : char16_t(QChar::ReplacementCharacter);
    }
    return table;
}

// What the decoder needs to know of a codec, found once for each in the
// life of the process: asking a codec of ICU its number searches a list by
// name, and asking it for a table costs far more than reading a small file.
struct CodecKind
{
    const CodePageTable *table = nullptr; // a single-byte code page's
    bool utf8 = false;
    // The bytes that are no characters of the code page, where they are
    // few (CP1251 has one): looked for as memchr looks, not byte by byte.
    QByteArray undefined;
    bool fewUndefined = false;
};

CodecKind codecKind(QTextCodec *codec)
{
    static QMutex mutex;
    static std::map<QTextCodec *, CodecKind> kinds; // codecs live as long as the process
    static std::map<QTextCodec *, CodePageTable> tables;
    const QMutexLocker lock(&mutex);
    auto found = kinds.find(codec);
    if (found == kinds.end()) {
        CodecKind kind;
        const int mib = codec->mibEnum();
        kind.utf8 = mib == kUtf8Mib;
        if (isSingleByteCodePage(mib)) {
            CodePageTable &table = tables.emplace(codec, makeTable(codec)).first->second;
            for (int b = 0; b < 256; ++b) {
                if (table.roundTrips[b])
                    table.characters.set(table.character[b]);
            }
            kind.table = &table;
            for (int b = 0; b < 256; ++b) {
                if (!kind.table->roundTrips[b])
                    kind.undefined += char(b);
            }
            kind.fewUndefined = kind.undefined.size() <= 8;
        }
        found = kinds.emplace(codec, kind).first;
    }
    return found->second;
}

} // namespace

LineDecoder::LineDecoder(QTextCodec *codec)
    : m_codec(codec)
{
    const CodecKind kind = codecKind(codec);
    m_utf8 = kind.utf8;
    m_undefined = kind.fewUndefined ? kind.undefined : QByteArray();
    m_fewUndefined = kind.fewUndefined;
    if (kind.table) {
        m_singleByte = true;
        m_table = &kind.table->character;
        m_roundTrips = &kind.table->roundTrips;
        m_characters = &kind.table->characters;
    }
}

bool LineDecoder::isCharacter(char16_t character) const
{
    return m_characters && m_characters->test(character);
}

void LineDecoder::decode(QByteArrayView bytes, QString *text) const
{
    if (m_singleByte) {
        text->resize(bytes.size());
        char16_t *out = reinterpret_cast<char16_t *>(text->data());
        const char *in = bytes.data();
        const std::array<char16_t, 256> &table = *m_table;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            out[i] = table[static_cast<unsigned char>(in[i])];
        return;
    }
    if (m_utf8) {
        *text = QString::fromUtf8(bytes.data(), bytes.size());
        return;
    }
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    *text = m_codec->toUnicode(bytes.data(), int(bytes.size()), &state);
}

QString LineDecoder::decode(QByteArrayView bytes) const
{
    QString text;
    decode(bytes, &text);
    return text;
}

bool LineDecoder::isLossless(QByteArrayView bytes) const
{
    if (m_singleByte && m_fewUndefined) {
        for (const char undefined : m_undefined) {
            if (std::memchr(bytes.data(), undefined, size_t(bytes.size())))
                return false;
        }
        return true;
    }
    if (m_singleByte) {
        const std::array<bool, 256> &roundTrips = *m_roundTrips;
        for (const char byte : bytes) {
            if (!roundTrips[static_cast<unsigned char>(byte)])
                return false;
        }
        return true;
    }
    QTextCodec::ConverterState state;
    m_codec->toUnicode(bytes.data(), int(bytes.size()), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

} // namespace tarvo
