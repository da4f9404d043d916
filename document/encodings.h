#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

class QTextCodec;

namespace tarvo {

// The encoding list of the settings: "System", CP1250 to CP1258 and the
// parts of ISO 8859.
constexpr int kEncodingCount = 26;

// One entry more, after the list: UTF-8. No device reads it, so it is not
// offered as the setting; it is the encoding of files written where
// "System" was UTF-8, and of files that begin with its byte order mark, and
// such files are read, converted and written back in it.
constexpr int kUtf8Encoding = kEncodingCount;
constexpr int kEncodingEntries = kEncodingCount + 1;

// The registry number of UTF-8.
constexpr int kUtf8Mib = 106;

// The name of entry `index` (0..26: the list, then "UTF-8"); "System" for
// any other index.
QString encodingName(int index);

// The 26 names of the list, in order.
QStringList encodingNames();

// The names of every entry: the list's, then "UTF-8".
QStringList entryNames();

// The entry of an encoding name spelled exactly as in the list (or
// "UTF-8"), or -1.
int encodingIndexOf(const QString &name);

// The entry of an encoding as people spell it: a list name (or "UTF-8") in
// any case, with or without its spaces, dashes and underscores ("cp1251",
// "ISO-8859-5", "iso8859_5", "utf8"), or any name or alias the codec
// registry knows for the same code page as an entry ("windows-1251",
// "latin1"). -1 when it names none of them.
int encodingIndexForSpelling(const QString &name);

// True when the name of entry `index` finds a codec of its own. "System" and
// "ISO 8859-12" do not; they use the code page "System" stands for (see
// systemCodec).
bool encodingHasOwnCodec(int index);

// The codec that reads and writes entry `index`: its own codec where the
// name finds one, otherwise the one "System" stands for. Never null.
QTextCodec *codecForEncoding(int index);

// True when the bytes begin with the UTF-8 byte order mark (EF BB BF).
bool startsWithUtf8ByteOrderMark(QByteArrayView bytes);

// The codec a file's bytes are read with: UTF-8 when they begin with its
// byte order mark, whatever encoding was chosen (no code page's text starts
// so), otherwise `chosen`. Writing a file back keeps the codec it was read
// with.
QTextCodec *readingCodec(QByteArrayView bytes, QTextCodec *chosen);

} // namespace tarvo
