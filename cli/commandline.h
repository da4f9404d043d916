#pragma once

// The command line of tarvo-prg, taken apart.

#include "cellnames.h"

#include <QList>
#include <QString>
#include <QStringList>

enum class Command { None, Dump, Build, Check, Convert, Diff, Set };

// One --cell KEY=VALUE of set, already checked.
struct CellAssignment
{
    QString key;
    CellAddress cell;
    QString value;
};

struct CommandLine
{
    Command command = Command::None;
    bool help = false;
    QString helpCommand; // "help COMMAND" or "COMMAND --help": that command's help only
    bool version = false;
    // Indexes into the encoding list.
    int encoding = 0; // --encoding, for every command but convert
    int from = 0;     // convert: --from, else --encoding, else "System"
    int to = 0;       // convert: --to, else --encoding, else "System"
    bool lossy = false; // convert: --lossy, bytes that are no characters written as replacement characters
    QList<CellAssignment> cells; // set: in command-line order
    QStringList files;           // "-" is standard input or output
    QString error; // not empty when the command line is wrong
};

// The file argument that stands for standard input or output.
inline bool isStandardStream(const QString &file) { return file == QLatin1String("-"); }

// The command nearest to a mistyped one ("dupm" -> "dump"); empty when
// none is near.
QString nearestCommand(const QString &word);

// Parses the arguments after the program name. Options may come before or
// after the command and its files; "--" ends the options; "--name=value" is
// the same as "--name value".
CommandLine parseCommandLine(const QStringList &arguments);
