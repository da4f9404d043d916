#pragma once

// Whether the bytes of a file are text in an encoding of the list, and in
// which of them they most likely are.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class QTextCodec;

namespace tarvo {

// True when every byte of `bytes` is a character of the codec they are
// read with (see readingCodec: bytes after a UTF-8 byte order mark are
// UTF-8): decoded and encoded again they give the same bytes (for UTF-8:
// valid UTF-8), and no byte is one the code page leaves undefined. The
// same rule as ReadReport::lossless.
bool readsCleanly(const QByteArray &bytes, QTextCodec *codec);

// True when the bytes are plain ASCII: every encoding of the list reads
// them alike.
bool isPlainAscii(const QByteArray &bytes);

// The entry of the encoding list that the charset detector takes the bytes
// for, or -1 when it names none of the list (or the bytes are plain ASCII);
// it is shown the first kDetectorSample bytes of a longer file.
// Bytes that begin with a UTF-8 byte order mark are UTF-8 without asking
// it: "System" where that is UTF-8, else -1.
// "System" stands for the platform's own code page.
int likelyEncoding(const QByteArray &bytes);

// True when the bytes read cleanly in `codec` (see readsCleanly) and, read
// so, as text that the detector takes for that code page: it is asked
// about the text in small letters, as cleanEncodings asks about each entry,
// so that its entry would be among the likely ones. Plain ASCII reads alike
// in every entry and counts as likely in each; bytes after a UTF-8 byte
// order mark only in UTF-8. The detector is asked once, or not at all.
bool readsAsLikelyText(const QByteArray &bytes, QTextCodec *codec);

// The detector sees at most this many bytes of a file, its first lines: all
// of a program file as operators have them (a few KB), and its verdict does
// not change with more of the same, while a file at the size limit would
// keep it busy for seconds.
constexpr qsizetype kDetectorSample = 16 * 1024;

// The entries of the encoding list in which the bytes read cleanly, the
// most likely first. "ISO 8859-12", which has no code page of its own, is
// never among them. `likely`, when given, receives those of them in which
// the bytes read as text that the detector takes for that encoding (for
// plain ASCII, none). For bytes that begin with a UTF-8 byte order mark,
// only "System", where that is UTF-8.
QList<int> cleanEncodings(const QByteArray &bytes, QList<int> *likely = nullptr);

// The name of the code page entry `index` reads and writes: the list's own
// name where the list has one for it ("CP1251" for "System" on a Bulgarian
// desktop), else the codec's.
QString codePageName(int index);

// The name of entry `index` as a person needs to see it: "System" and the
// names without a code page of their own say which one is meant,
// "System (CP1251)".
QString encodingShownName(int index);

// The shown names of several entries, in order.
QStringList encodingShownNames(const QList<int> &indexes);

// The number (from 1) of the first line of `bytes` that holds bytes which
// are no characters of `codec`; 0 when there is none.
int firstUncleanLine(const QByteArray &bytes, QTextCodec *codec);

} // namespace tarvo
