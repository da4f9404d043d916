#pragma once

#include <QStringView>

#include <atomic>
#include <cstdint>

class QTextCodec;

namespace tarvo {

// Which characters a code page can hold, each UTF-16 code unit decided once
// in a process, the first time the codec is asked about it, so that the
// writer need not ask the codec again for every character it writes.
// (Deciding all 65,536 up front costs more than a whole save: the codec
// takes its time over every character it cannot hold.)
class EncodableCharacters
{
public:
    // The table of `codec`, made on first use and kept for the life of the
    // process; it and canEncode are safe to use from any thread.
    static const EncodableCharacters &of(QTextCodec *codec);

    // Whether the codec can write `character` so that the reader reads it
    // back: one code unit, or a surrogate pair (asked of the codec itself:
    // such characters are rare).
    bool canEncode(QStringView character) const;

private:
    explicit EncodableCharacters(QTextCodec *codec) : m_codec(codec) {}

    bool holds(QStringView character) const;

    enum Answer : std::uint8_t { Unknown, Encodable, Unencodable };

    QTextCodec *m_codec;
    // Threads that meet a character at once each ask the codec and store
    // the same answer.
    mutable std::atomic<std::uint8_t> m_units[0x10000] = {};
};

} // namespace tarvo
