#pragma once

// The four commands of tarvo-prg. Each returns the process exit code.

#include "commandline.h"

int runDump(const CommandLine &line);
int runBuild(const CommandLine &line);
int runCheck(const CommandLine &line);
int runConvert(const CommandLine &line);

namespace exitcode {
constexpr int Success = 0;
constexpr int Findings = 1; // check found something; characters were replaced
constexpr int WriteFailed = 1;
constexpr int Usage = 2; // bad command line, unreadable input
} // namespace exitcode
