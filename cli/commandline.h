#pragma once

// The command line of tarvo-prg, taken apart.

#include <QString>
#include <QStringList>

enum class Command { None, Dump, Build, Check, Convert };

struct CommandLine
{
    Command command = Command::None;
    bool help = false;
    bool version = false;
    // Indexes into the encoding list.
    int encoding = 0; // --encoding, for dump, build and check
    int from = 0;     // convert: --from, else --encoding, else "System"
    int to = 0;       // convert: --to, else --encoding, else "System"
    QStringList files;
    QString error; // not empty when the command line is wrong
};

// Parses the arguments after the program name. Options may come before or
// after the command and its files; "--" ends the options; "--name=value" is
// the same as "--name value".
CommandLine parseCommandLine(const QStringList &arguments);
