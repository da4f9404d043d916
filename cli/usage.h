#pragma once

#include <QString>

// The text that --help prints: docs/tarvo-prg.txt, which the manual page is
// made from as well.
QString usageText();

// "tarvo-prg" and the version, as --version prints it.
QString versionText();

// The help of one command: its usage line and what it does, from the same
// text; empty for a name that is no command.
QString commandUsageText(const QString &command);
