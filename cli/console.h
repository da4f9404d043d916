#pragma once

// Output of tarvo-prg: results on standard output, messages on standard
// error, both UTF-8. Failures to write standard output are remembered so
// that a command never reports success for output that was lost.

#include <QByteArray>
#include <QString>

namespace console {

void writeOut(const QByteArray &bytes);
void writeOutLine(const QString &line);

// One line on standard error, prefixed with "tarvo-prg: ".
void error(const QString &message);

// One line on standard error as it stands.
void note(const QString &line);

// Flushes standard output; false (with a message on standard error) when
// anything written to it was lost.
bool finishOut();

// A value from a file, fit for a one-line message: in double quotes, with
// control characters escaped and overlong text cut short.
QString quoted(const QString &text, int maximum = 60);

} // namespace console
