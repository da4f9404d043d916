#include "encodingtrust.h"

#include "encodings.h"
#include "linedecoder.h"

#include <QHash>
#include <QMutex>
#include <QTextCodec>

#include <uchardet.h>

#include <algorithm>
#include <array>
#include <map>
#include <memory>

namespace tarvo {

bool readsCleanly(const QByteArray &bytes, QTextCodec *codec)
{
    if (!codec)
        return false;
    return LineDecoder(readingCodec(bytes, codec)).isLossless(bytes);
}

bool isPlainAscii(const QByteArray &bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

namespace {

// What the detector is shown of `bytes`: all of a file of up to
// kDetectorSample bytes, of a longer one its first lines within that many.
QByteArrayView sampled(QByteArrayView bytes)
{
    if (bytes.size() <= kDetectorSample)
        return bytes;
    const QByteArrayView head = bytes.first(kDetectorSample);
    const qsizetype end = head.lastIndexOf('\n');
    return end > 0 ? head.first(end + 1) : head;
}

// The entry of a name the detector gives, or -1.
int entryOfDetectorName(const QString &name)
{
    if (name.isEmpty())
        return -1;
    // Thai text of TIS-620 is the same bytes in ISO 8859-11, which only
    // adds the no-break space.
    if (name.compare(QLatin1String("TIS-620"), Qt::CaseInsensitive) == 0)
        return encodingIndexOf(QStringLiteral("ISO 8859-11"));
    const int index = encodingIndexForSpelling(name);
    // "ISO 8859-12" names no code page; the detector never means it.
    return index == 21 ? -1 : index;
}

// The same, each of the few names it gives looked up in the codec registry
// once in the life of the process.
int entryNamed(const QByteArray &name)
{
    static QMutex mutex;
    static QHash<QByteArray, int> entries;
    const QMutexLocker lock(&mutex);
    const auto known = entries.constFind(name);
    if (known != entries.cend())
        return *known;
    const int entry = entryOfDetectorName(QString::fromLatin1(name));
    entries.insert(name, entry);
    return entry;
}

// The entry the detector names for `bytes` as they are, or -1.
int detectorVerdict(QByteArrayView bytes)
{
    const std::unique_ptr<uchardet, void (*)(uchardet_t)> detector(uchardet_new(), uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), bytes.data(), size_t(bytes.size())) != 0)
        return -1;
    uchardet_data_end(detector.get());
    return entryNamed(QByteArray(uchardet_get_charset(detector.get())));
}

bool isPlainAscii(QByteArrayView bytes)
{
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

int likelyEncoding(const QByteArray &bytes)
{
    // A UTF-8 byte order mark says what the file is; the detector is not
    // asked about it.
    if (startsWithUtf8ByteOrderMark(bytes))
        return kUtf8Encoding;
    if (isPlainAscii(bytes))
        return -1;
    return detectorVerdict(sampled(bytes));
}

namespace {

// A single-byte code page's bytes as text, worked out once per code page in
// the life of the process: each byte's character in small letters encoded
// back, and whether the character is a letter beyond ASCII. A byte whose
// small letter is more than one character (U+0130 is "i" and a combining
// dot) sends its text the long way, through the codec.
struct TextTable
{
    std::array<char, 256> lower{};
    std::array<bool, 256> oneByte{}; // `lower` holds all of its small letter
    std::array<bool, 256> letter{};  // a letter beyond ASCII
    std::array<bool, 256> other{};   // any other character beyond ASCII
};

TextTable makeTextTable(QTextCodec *codec, const LineDecoder &decoder)
{
    // Each character's byte, from the decoder's own table: asking the
    // codec for each of them costs more than judging a small file.
    std::map<char16_t, char> byteOf;
    std::array<char16_t, 256> characters{};
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const QString character = decoder.decode(QByteArrayView(&byte, 1));
        characters[size_t(b)] = character.size() == 1 ? character.at(0).unicode() : char16_t(0xfffd);
        if (decoder.isLossless(QByteArrayView(&byte, 1)))
            byteOf.emplace(characters[size_t(b)], byte);
    }
    TextTable table;
    for (int b = 0; b < 256; ++b) {
        const QChar c(characters[size_t(b)]);
        const QString lower = QString(c).toLower();
        const auto found = lower.size() == 1 ? byteOf.find(lower.at(0).unicode()) : byteOf.end();
        if (found != byteOf.end()) {
            table.lower[size_t(b)] = found->second;
            table.oneByte[size_t(b)] = true;
        } else {
            // No character of the code page: as the codec writes it.
            const QByteArray written = codec->fromUnicode(lower);
            table.lower[size_t(b)] = written.isEmpty() ? char(b) : written.at(0);
            table.oneByte[size_t(b)] = written.size() == 1;
        }
        table.letter[size_t(b)] = c.unicode() >= 0x80 && c.isLetter();
        table.other[size_t(b)] = c.unicode() >= 0x80 && !c.isLetter();
    }
    return table;
}

// The table of `codec`, or null where its characters are not one a byte.
const TextTable *textTable(QTextCodec *codec)
{
    const LineDecoder decoder(codec);
    if (!decoder.isSingleByte())
        return nullptr;
    static QMutex mutex;
    static std::map<QTextCodec *, TextTable> tables; // codecs live as long as the process
    const QMutexLocker lock(&mutex);
    auto found = tables.find(codec);
    if (found == tables.end())
        found = tables.emplace(codec, makeTextTable(codec, decoder)).first;
    return &found->second;
}

// How well a clean reading of the bytes looks like text in that encoding.
struct Reading
{
    int index = 0;
    bool confirmed = false; // the detector names it for the text in lower case
    int letters = 0;        // non-ASCII characters that are letters
    int others = 0;         // non-ASCII characters that are not
    bool detected = false;  // the detector names it for the bytes as they are
};

// The detector's verdicts on the texts it was shown in one judgement: many
// code pages give the same small letters of the same bytes, and the
// detector is asked about each such text once.
using Verdicts = QHash<QByteArray, int>;

int verdictOn(const QByteArray &text, Verdicts *verdicts)
{
    if (verdicts) {
        const auto known = verdicts->constFind(text);
        if (known != verdicts->cend())
            return *known;
    }
    const int verdict = isPlainAscii(QByteArrayView(text)) ? -1 : detectorVerdict(text);
    if (verdicts)
        verdicts->insert(text, verdict);
    return verdict;
}

// The detector's statistics are of running text, mostly small letters: a
// shop's name in capitals alone misleads it. So each candidate is asked
// about: its reading of the sample in small letters, encoded back in it,
// must be taken for that same encoding. The bytes read cleanly in `codec`.
Reading judge(QByteArrayView sample, QTextCodec *codec, Verdicts *verdicts)
{
    Reading reading;
    QByteArray lower;
    const TextTable *table = textTable(codec);
    bool simple = table != nullptr;
    if (table) {
        lower.resize(sample.size());
        char *out = lower.data();
        for (qsizetype i = 0; i < sample.size() && simple; ++i) {
            const auto b = size_t(static_cast<unsigned char>(sample[i]));
            simple = table->oneByte[b];
            out[i] = table->lower[b];
            reading.letters += table->letter[b];
            reading.others += table->other[b];
        }
    }
    if (!simple) {
        reading = Reading();
        const QString text = codec->toUnicode(sample.data(), int(sample.size()));
        for (const QChar c : text) {
            if (c.unicode() < 0x80)
                continue;
            if (c.isLetter())
                ++reading.letters;
            else
                ++reading.others;
        }
        lower = codec->fromUnicode(text.toLower());
    }
    const int named = verdictOn(lower, verdicts);
    reading.confirmed = named >= 0 && codecForEncoding(named)->mibEnum() == codec->mibEnum();
    return reading;
}

bool moreLikely(const Reading &a, const Reading &b)
{
    if (a.confirmed != b.confirmed)
        return a.confirmed;
    // Fewer signs and symbols where letters were meant.
    if (a.others != b.others)
        return a.others < b.others;
    if (a.detected != b.detected)
        return a.detected;
    return a.index < b.index;
}

} // namespace

bool readsAsLikelyText(const QByteArray &bytes, QTextCodec *codec)
{
    if (!readsCleanly(bytes, codec))
        return false;
    if (startsWithUtf8ByteOrderMark(bytes))
        return codec->mibEnum() == kUtf8Mib;
    return isPlainAscii(bytes) || judge(sampled(bytes), codec, nullptr).confirmed;
}

QList<int> cleanEncodings(const QByteArray &bytes, QList<int> *likely)
{
    if (startsWithUtf8ByteOrderMark(bytes)) {
        if (!readsCleanly(bytes, codecForEncoding(kUtf8Encoding)))
            return {};
        if (likely)
            *likely << kUtf8Encoding;
        return {kUtf8Encoding};
    }
    const bool ascii = isPlainAscii(bytes);
    const QByteArrayView sample = sampled(bytes);
    const int detected = ascii ? -1 : detectorVerdict(sample);
    // "System" is offered only where it is no entry of the list itself.
    const bool systemOffered = codePageName(0) == QString::fromLatin1(codecForEncoding(0)->name());
    Verdicts verdicts;
    QList<Reading> readings;
    for (int index = 0; index < kEncodingEntries; ++index) {
        if (index == 0 ? !systemOffered : !encodingHasOwnCodec(index))
            continue;
        QTextCodec *codec = codecForEncoding(index);
        if (!readsCleanly(bytes, codec))
            continue;
        Reading reading;
        if (!ascii)
            reading = judge(sample, codec, &verdicts);
        reading.index = index;
        reading.detected = !ascii && index == detected;
        readings << reading;
    }
    std::stable_sort(readings.begin(), readings.end(), moreLikely);
    QList<int> clean;
    for (const Reading &reading : std::as_const(readings)) {
        clean << reading.index;
        if (likely && reading.confirmed)
            *likely << reading.index;
    }
    return clean;
}

QString codePageName(int index)
{
    QTextCodec *codec = codecForEncoding(index);
    for (int i = 1; i < kEncodingEntries; ++i)
        if (encodingHasOwnCodec(i) && codecForEncoding(i)->mibEnum() == codec->mibEnum())
            return encodingName(i);
    return QString::fromLatin1(codec->name());
}

QString encodingShownName(int index)
{
    const QString name = encodingName(index);
    if (index > 0 && index < kEncodingEntries && encodingHasOwnCodec(index))
        return name;
    return QStringLiteral("%1 (%2)").arg(name, codePageName(index));
}

QStringList encodingShownNames(const QList<int> &indexes)
{
    QStringList names;
    for (const int index : indexes)
        names << encodingShownName(index);
    return names;
}

int firstUncleanLine(const QByteArray &bytes, QTextCodec *codec)
{
    // A file that reads cleanly whole has no line that does not (no code
    // page of the list carries a character across a line feed); the lines
    // are asked one by one only to name the first that does not.
    const LineDecoder decoder(readingCodec(bytes, codec));
    if (decoder.isLossless(bytes))
        return 0;
    int line = 1;
    qsizetype start = 0;
    while (start <= bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        if (!decoder.isLossless(QByteArrayView(bytes).sliced(start, end - start)))
            return line;
        start = end + 1;
        ++line;
    }
    return 0;
}

} // namespace tarvo
