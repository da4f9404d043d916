#pragma once

// The commands of tarvo-prg. Each returns the process exit code.

#include "commandline.h"

int runDump(const CommandLine &line);
int runBuild(const CommandLine &line);
int runCheck(const CommandLine &line);
int runConvert(const CommandLine &line);
int runDiff(const CommandLine &line);
int runSet(const CommandLine &line);

// Exit statuses, from good to bad: where several apply, the worst wins.
namespace exitcode {
constexpr int Success = 0;
constexpr int Findings = 1;    // check or diff found something; a file was written without some of its text
constexpr int Usage = 2;       // bad command line, unreadable input: nothing written
constexpr int WriteFailed = 3; // a write failed: that file is as it was
inline int worse(int a, int b) { return a > b ? a : b; }
} // namespace exitcode
