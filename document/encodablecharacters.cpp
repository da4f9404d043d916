#include "encodablecharacters.h"

#include <QHash>
#include <QMutex>
#include <QTextCodec>

#include <memory>

namespace tarvo {

EncodableCharacters::EncodableCharacters(QTextCodec *codec) : m_codec(codec)
{
    // One converter state for every code unit: QTextCodec::canEncode makes
    // (and, with ICU, opens) a converter for each call. A state carries
    // nothing from one code unit to the next except a pending surrogate,
    // so surrogates are asked alone, each as canEncode would ask it.
    QTextCodec::ConverterState state(QTextCodec::ConvertInvalidToNull);
    for (char32_t unit = 0; unit < 0x10000; ++unit) {
        const QChar c{char16_t(unit)};
        if (c.isSurrogate()) {
            m_units[unit] = codec->canEncode(QStringView(&c, 1));
            continue;
        }
        const int invalidBefore = state.invalidChars;
        codec->fromUnicode(&c, 1, &state);
        m_units[unit] = state.invalidChars == invalidBefore;
    }
}

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
    if (character.size() == 1)
        return m_units[character.front().unicode()];
    return m_codec->canEncode(character);
}

} // namespace tarvo
