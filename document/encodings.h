#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QTextCodec;

namespace tarvo {

constexpr int kEncodingCount = 26;

// The registry number of UTF-8.
constexpr int kUtf8Mib = 106;

// The name of entry `index` of the encoding list; "System" for any index
// outside 0..25.
QString encodingName(int index);

// All 26 names in list order.
QStringList encodingNames();

// The list index of an encoding name spelled exactly as in the list, or -1.
int encodingIndexOf(const QString &name);

// The list index of an encoding as people spell it: a list name in any
// case, with or without its spaces, dashes and underscores ("cp1251",
// "ISO-8859-5", "iso8859_5"), or any name or alias the codec registry knows
// for the same code page as an entry ("windows-1251", "latin1"). -1 when it
// names none of them.
int encodingIndexForSpelling(const QString &name);

// True when the name of entry `index` finds a codec of its own. "System" and
// "ISO 8859-12" do not; they use the platform's own code page.
bool encodingHasOwnCodec(int index);

// The codec that reads and writes entry `index`: its own codec where the
// name finds one, otherwise the platform's locale codec. Never null.
QTextCodec *codecForEncoding(int index);

// True when the bytes begin with the UTF-8 byte order mark (EF BB BF).
bool startsWithUtf8ByteOrderMark(QByteArrayView bytes);

// The codec a file's bytes are read with: UTF-8 when they begin with its
// byte order mark, whatever encoding was chosen (no code page's text starts
// so), otherwise `chosen`. Writing a file back keeps the codec it was read
// with.
QTextCodec *readingCodec(QByteArrayView bytes, QTextCodec *chosen);

} // namespace tarvo
