#include "iso885911codec.h"

namespace tarvo {

namespace {

constexpr char16_t kNone = 0xFFFD;

// 0x00 to 0xA0 are the code points of the same number, 0xA1 to 0xDA and
// 0xDF to 0xFB the Thai block from U+0E01 and U+0E3F.
char16_t characterOf(unsigned char byte)
{
    if (byte <= 0xA0)
        return byte;
    if (byte <= 0xDA)
        return char16_t(0x0E01 + (byte - 0xA1));
    if (byte >= 0xDF && byte <= 0xFB)
        return char16_t(0x0E3F + (byte - 0xDF));
    return kNone;
}

// The byte of a character, or -1 when the code page has none.
int byteOf(char16_t c)
{
    if (c <= 0xA0)
        return c;
    if (c >= 0x0E01 && c <= 0x0E3A)
        return 0xA1 + (c - 0x0E01);
    if (c >= 0x0E3F && c <= 0x0E5B)
        return 0xDF + (c - 0x0E3F);
    return -1;
}

} // namespace

QTextCodec *Iso885911Codec::instance()
{
    // Owned by the codec registry once made.
    static QTextCodec *const codec = new Iso885911Codec;
    return codec;
}

QByteArray Iso885911Codec::name() const { return QByteArrayLiteral("ISO-8859-11"); }

QList<QByteArray> Iso885911Codec::aliases() const
{
    return {QByteArrayLiteral("ISO_8859-11"), QByteArrayLiteral("ISO8859-11"), QByteArrayLiteral("latin/thai")};
}

int Iso885911Codec::mibEnum() const { return kMib; }

QString Iso885911Codec::convertToUnicode(const char *in, int length, ConverterState *state) const
{
    const QChar replacement = state && (state->flags & QTextCodec::ConvertInvalidToNull) ? QChar(0)
                                                                                              : QChar(kNone);
    QString out(length, Qt::Uninitialized);
    QChar *to = out.data();
    int invalid = 0;
    for (int i = 0; i < length; ++i) {
        const char16_t c = characterOf(static_cast<unsigned char>(in[i]));
        if (c == kNone) {
            ++invalid;
            to[i] = replacement;
        } else {
            to[i] = QChar(c);
        }
    }
    if (state)
        state->invalidChars += invalid;
    return out;
}

QByteArray Iso885911Codec::convertFromUnicode(const QChar *in, int length, ConverterState *state) const
{
    const char replacement = state && (state->flags & QTextCodec::ConvertInvalidToNull) ? '\0' : '?';
    QByteArray out;
    out.reserve(length);
    int invalid = 0;
    for (int i = 0; i < length; ++i) {
        // A surrogate pair is one character the code page lacks.
        if (in[i].isHighSurrogate() && i + 1 < length && in[i + 1].isLowSurrogate())
            ++i;
        const int byte = byteOf(in[i].unicode());
        if (byte < 0) {
            ++invalid;
            out += replacement;
        } else {
            out += char(byte);
        }
    }
    if (state)
        state->invalidChars += invalid;
    return out;
}

} // namespace tarvo
