#pragma once

#include <QString>

// The text that --help prints: docs/tarvo-prg.txt, which the manual page is
// made from as well.
QString usageText();

// "tarvo-prg" and the version, as --version prints it.
QString versionText();
