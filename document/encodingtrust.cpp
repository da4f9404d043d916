#include "encodingtrust.h"

#include "encodings.h"
#include "linedecoder.h"

#include <QTextCodec>

#include <uchardet.h>

#include <algorithm>
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

// The entry whose codec is UTF-8.
int utf8Entry()
{
    return kUtf8Encoding;
}

} // namespace

int likelyEncoding(const QByteArray &bytes)
{
    // A UTF-8 byte order mark says what the file is; the detector is not
    // asked about it.
    if (startsWithUtf8ByteOrderMark(bytes))
        return utf8Entry();
    if (isPlainAscii(bytes))
        return -1;
    const std::unique_ptr<uchardet, void (*)(uchardet_t)> detector(uchardet_new(), uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return -1;
    uchardet_data_end(detector.get());
    const QString name = QString::fromLatin1(uchardet_get_charset(detector.get()));
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

namespace {

// How well a clean reading of the bytes looks like text in that encoding.
struct Reading
{
    int index = 0;
    bool confirmed = false; // the detector names it for the text in lower case
    int letters = 0;        // non-ASCII characters that are letters
    int others = 0;         // non-ASCII characters that are not
    bool detected = false;  // the detector names it for the bytes as they are
};

// The detector's statistics are of running text, mostly small letters: a
// shop's name in capitals alone misleads it. So each candidate is asked
// about: its reading in small letters, encoded back in it, must be taken
// for that same encoding.
Reading judge(const QByteArray &bytes, int index, int detected)
{
    Reading reading;
    reading.index = index;
    reading.detected = index == detected;
    QTextCodec *codec = codecForEncoding(index);
    const QString text = codec->toUnicode(bytes);
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            continue;
        if (c.isLetter())
            ++reading.letters;
        else
            ++reading.others;
    }
    const QByteArray lower = codec->fromUnicode(text.toLower());
    const int named = likelyEncoding(lower);
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

QList<int> cleanEncodings(const QByteArray &bytes, QList<int> *likely)
{
    if (startsWithUtf8ByteOrderMark(bytes)) {
        const int utf8 = utf8Entry();
        if (utf8 < 0 || !readsCleanly(bytes, codecForEncoding(utf8)))
            return {};
        if (likely)
            *likely << utf8;
        return {utf8};
    }
    const int detected = likelyEncoding(bytes);
    const bool ascii = isPlainAscii(bytes);
    QList<Reading> readings;
    for (int index = 0; index < kEncodingEntries; ++index) {
        // "System" is offered only where it is no entry of the list itself.
        if (index == 0 ? codePageName(0) != QString::fromLatin1(codecForEncoding(0)->name())
                       : !encodingHasOwnCodec(index))
            continue;
        if (!readsCleanly(bytes, codecForEncoding(index)))
            continue;
        if (ascii) {
            Reading reading;
            reading.index = index;
            readings << reading;
        } else {
            readings << judge(bytes, index, detected);
        }
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
