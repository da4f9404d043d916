#pragma once

// Output of tarvo-prg: results on standard output, messages on standard
// error. JSON is UTF-8; lines of text are in the locale's character set
// (UTF-8 unless the locale names another, such as CP1251; see terminal.h),
// any character that set lacks as '?', and control characters escaped.
// Failures to write standard output are remembered so that a command never
// reports success for output that was lost.

#include <QByteArray>
#include <QString>

namespace console {

void writeOut(const QByteArray &bytes);
void writeOutLine(const QString &line);

// The bytes writeOutLine writes for `line`: control characters escaped, in
// the terminal's character set, with a line end. Safe from any thread.
QByteArray lineBytes(const QString &line);

// One line on standard error, prefixed with "tarvo-prg: ".
void error(const QString &message);

// One line on standard error as it stands.
void note(const QString &line);

// Flushes standard output; false (with a message on standard error) when
// anything written to it was lost.
bool finishOut();

// A value from a file, fit for a one-line message: in double quotes, with
// control characters escaped (\x1b), characters that would show nothing or
// turn the text around them as their code points (\u200b, \u202e), and
// overlong text cut short.
QString quoted(const QString &text, int maximum = 60);

// A file name for a message: as it stands, or quoted as above (never cut
// short) when it holds control characters, which a terminal would obey.
QString fileName(const QString &name);

} // namespace console
