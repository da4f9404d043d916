#pragma once

// The terminal of both programs: the locale they start in, and the
// character set in which they write their lines of text (messages, help,
// check and diff output), which is the locale's own: a CP1251 terminal gets
// CP1251.
//
// The toolkit's application object takes the locale from the environment
// again and, in newer Qt (6.8 in Debian 13), insists on a UTF-8 character
// type: in any other locale (C, POSIX, bg_BG.CP1251) it warns on standard
// error at every run and switches the process to UTF-8. takeLocale() reads
// the locale as the C library does, keeps its character set for the
// programs' output, and hands the toolkit the same locale with a UTF-8
// character type, so that it neither warns nor changes what the programs
// write. Every other part of the locale (messages, numbers, dates) stays
// as it was.

#include <QByteArray>
#include <QString>

#include <cstdio>

class QTextCodec;

namespace terminal {

// A standard stream the program was started without (`>&-`) is held by
// /dev/null opened the other way (standard output for reading), so that no
// file the program opens takes its number and receives its output, and
// writing to it fails (EBADF) as it would have. Call first in main().
void holdStandardStreams();

// Call in main() before the application object exists.
void takeLocale();

// The codec of the locale's character set as takeLocale() found it (or as
// it is now, when takeLocale() was not called); null for UTF-8 and for the
// plain ASCII of the C and POSIX locales, which is taken as UTF-8.
QTextCodec *codec();

// `text` in that character set; a character it lacks becomes '?'.
QByteArray encode(const QString &text);

// Writes `bytes` to `stream` and flushes it; false, with errno saying why,
// when any of it was lost.
bool write(std::FILE *stream, const QByteArray &bytes);

} // namespace terminal
