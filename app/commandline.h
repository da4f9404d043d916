#pragma once

#include <QString>
#include <QStringList>

// The editor's command line: `tarvo [FILE]`, with --help and --version.
namespace commandline {

struct Request
{
    QString file;         // the program file to open, absolute; empty for none
    bool exitNow = false; // help, version or an error was printed
    int exitCode = 0;
};

// Reads the arguments (the program's name first). --help and --version, and
// a command line it cannot read, print to the terminal and ask for an exit
// before any window exists; they need no display.
Request parse(const QStringList &arguments);

} // namespace commandline
