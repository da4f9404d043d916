#include "encodings.h"

#include "iso885911codec.h"
#include "systemcodepage.h"

#include <QTextCodec>

#include <array>
#include <atomic>

namespace tarvo {

namespace {

const char *const kNames[kEncodingEntries] = {
    "System",      "CP1250",      "CP1251",      "CP1252",      "CP1253",      "CP1254",
    "CP1255",      "CP1256",      "CP1257",      "CP1258",      "ISO 8859-1",  "ISO 8859-2",
    "ISO 8859-3",  "ISO 8859-4",  "ISO 8859-5",  "ISO 8859-6",  "ISO 8859-7",  "ISO 8859-8",
    "ISO 8859-9",  "ISO 8859-10", "ISO 8859-11", "ISO 8859-12", "ISO 8859-13", "ISO 8859-14",
    "ISO 8859-15", "ISO 8859-16", "UTF-8",
};

constexpr int kIso885911 = 20;

// Looks a list name up in the codec registry. ISO 8859-11 has a codec of
// its own: the registry knows the name only as Windows code page 874, which
// is another code page. "System" names no registered codec.
QTextCodec *lookUpCodec(int index)
{
    if (index == kIso885911)
        return Iso885911Codec::instance();
    if (index == kUtf8Encoding)
        return QTextCodec::codecForMib(kUtf8Mib);
    return QTextCodec::codecForName(QByteArray(kNames[index]));
}

// The registry compares a name with every codec's names and aliases, which
// costs more than reading a small file: each entry is looked up once in
// the life of the process (codecs live as long as it), when first needed.
// Threads that need it at once each look it up and find the same codec.
QTextCodec *registeredCodec(int index)
{
    static std::array<std::atomic<QTextCodec *>, kEncodingEntries> codecs{};
    static std::array<std::atomic<bool>, kEncodingEntries> looked{};
    if (index <= 0 || index >= kEncodingEntries)
        return nullptr;
    if (!looked[size_t(index)].load(std::memory_order_acquire)) {
        codecs[size_t(index)].store(lookUpCodec(index), std::memory_order_relaxed);
        looked[size_t(index)].store(true, std::memory_order_release);
    }
    return codecs[size_t(index)].load(std::memory_order_relaxed);
}

} // namespace

QString encodingName(int index)
{
    if (index < 0 || index >= kEncodingEntries)
        index = 0;
    return QString::fromLatin1(kNames[index]);
}

QStringList encodingNames()
{
    QStringList names;
    for (int i = 0; i < kEncodingCount; ++i)
        names << encodingName(i);
    return names;
}

QStringList entryNames()
{
    return encodingNames() << encodingName(kUtf8Encoding);
}

int encodingIndexOf(const QString &name)
{
    for (int i = 0; i < kEncodingEntries; ++i) {
        if (name == QLatin1String(kNames[i]))
            return i;
    }
    return -1;
}

namespace {

// "ISO 8859-5", "iso-8859-5" and "ISO_8859_5" all come out as "ISO88595".
QString folded(const QString &name)
{
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('-') && c != QLatin1Char('_'))
            out += c.toUpper();
    }
    return out;
}

} // namespace

int encodingIndexForSpelling(const QString &name)
{
    const int exact = encodingIndexOf(name);
    if (exact >= 0)
        return exact;
    const QString key = folded(name);
    if (key.isEmpty())
        return -1;
    for (int i = 0; i < kEncodingEntries; ++i) {
        if (key == folded(QLatin1String(kNames[i])))
            return i;
    }
    // Registry names and aliases: only code pages the list holds count, and
    // a name the registry does not know is no alias of anything. The codec
    // of ISO 8859-11 is registered first, so that its names find it.
    Iso885911Codec::instance();
    QTextCodec *codec = QTextCodec::codecForName(name.toLatin1());
    if (!codec)
        return -1;
    for (int i = 1; i < kEncodingEntries; ++i) {
        const QTextCodec *own = registeredCodec(i);
        if (own && own->mibEnum() == codec->mibEnum())
            return i;
    }
    return codec->mibEnum() == systemCodec()->mibEnum() ? 0 : -1;
}

bool encodingHasOwnCodec(int index) { return registeredCodec(index) != nullptr; }

QTextCodec *codecForEncoding(int index)
{
    if (QTextCodec *codec = registeredCodec(index))
        return codec;
    return systemCodec();
}

bool startsWithUtf8ByteOrderMark(QByteArrayView bytes)
{
    return bytes.startsWith(QByteArrayView("\xef\xbb\xbf"));
}

QTextCodec *readingCodec(QByteArrayView bytes, QTextCodec *chosen)
{
    if (startsWithUtf8ByteOrderMark(bytes))
        return registeredCodec(kUtf8Encoding);
    return chosen;
}

} // namespace tarvo
