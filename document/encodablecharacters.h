#pragma once

#include <QStringView>

#include <bitset>

class QTextCodec;

namespace tarvo {

// Which characters a code page can hold, decided once for each of the
// 65,536 UTF-16 code units when a codec is first asked about, so that the
// writer need not ask the codec again for every character it writes.
class EncodableCharacters
{
public:
    // The table of `codec`, built on first use and kept for the life of the
    // process; safe to call from any thread.
    static const EncodableCharacters &of(QTextCodec *codec);

    // Whether the codec can write `character`: one code unit, or a
    // surrogate pair (asked of the codec itself: such characters are rare).
    bool canEncode(QStringView character) const;

private:
    explicit EncodableCharacters(QTextCodec *codec);

    QTextCodec *m_codec;
    std::bitset<0x10000> m_units;
};

} // namespace tarvo
