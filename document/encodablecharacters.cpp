#include "encodablecharacters.h"

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

bool EncodableCharacters::canEncode(QStringView character) const
{
    if (character.size() != 1)
        return m_codec->canEncode(character);
    std::atomic<std::uint8_t> &known = m_units[character.front().unicode()];
    const std::uint8_t answer = known.load(std::memory_order_relaxed);
    if (answer != Unknown)
        return answer == Encodable;
    const bool encodable = m_codec->canEncode(character);
    known.store(encodable ? Encodable : Unencodable, std::memory_order_relaxed);
    return encodable;
}

} // namespace tarvo
