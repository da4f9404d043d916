#include "encodablecharacters.h"

#include "linedecoder.h"

#include <QHash>
#include <QMutex>
#include <QTextCodec>

#include <memory>

namespace tarvo {

const EncodableCharacters &EncodableCharacters::of(QTextCodec *codec)
{
    // Codecs live as long as the process, so their address names them.
    static QMutex mutex;
    static QHash<QTextCodec *, std::shared_ptr<const EncodableCharacters>> tables;
    const QMutexLocker locker(&mutex);
    std::shared_ptr<const EncodableCharacters> &table = tables[codec];
    if (!table)
        table.reset(new EncodableCharacters(codec));
    return *table;
}

bool EncodableCharacters::holds(QStringView character) const
{
    // A code page of one character a byte holds the characters of the bytes
    // it reads back as they were: its decoder knows them without asking
    // the codec (which costs more than writing a small file).
    const LineDecoder decoder(m_codec);
    if (decoder.isSingleByte() && character.size() == 1)
        return decoder.isCharacter(character.front().unicode());
    if (!m_codec->canEncode(character))
        return false;
    // What the codec writes must read back as the same character: a
    // code page's undefined byte does not.
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    const QByteArray bytes = m_codec->fromUnicode(character.constData(), int(character.size()), &state);
    // Never at the start of a line, where UTF-8 passes over a byte order mark.
    return decoder.isLossless(bytes) && decoder.decode(QByteArray("x" + bytes)) == QLatin1Char('x') + character;
}

bool EncodableCharacters::canEncode(QStringView character) const
{
    if (character.size() != 1)
        return holds(character);
    std::atomic<std::uint8_t> &known = m_units[character.front().unicode()];
    const std::uint8_t answer = known.load(std::memory_order_relaxed);
    if (answer != Unknown)
        return answer == Encodable;
    const bool encodable = holds(character);
    known.store(encodable ? Encodable : Unencodable, std::memory_order_relaxed);
    return encodable;
}

} // namespace tarvo
