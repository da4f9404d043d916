#pragma once

#include <QString>

// The text that --help prints, and that follows every command-line error.
QString usageText();

// "tarvo-prg v" and the version
QString versionText();
