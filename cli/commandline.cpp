#include "commandline.h"

#include <encodings.h>

#include <utility>

namespace {

Command commandNamed(const QString &name)
{
    if (name == QLatin1String("dump"))
        return Command::Dump;
    if (name == QLatin1String("build"))
        return Command::Build;
    if (name == QLatin1String("check"))
        return Command::Check;
    if (name == QLatin1String("convert"))
        return Command::Convert;
    return Command::None;
}

QString commandName(Command command)
{
    switch (command) {
    case Command::Dump: return QStringLiteral("dump");
    case Command::Build: return QStringLiteral("build");
    case Command::Check: return QStringLiteral("check");
    case Command::Convert: return QStringLiteral("convert");
    case Command::None: break;
    }
    return QString();
}

QString fileSynopsis(Command command)
{
    switch (command) {
    case Command::Dump: return QStringLiteral("FILE");
    case Command::Build: return QStringLiteral("OUT");
    case Command::Check: return QStringLiteral("FILE...");
    case Command::Convert: return QStringLiteral("IN OUT");
    case Command::None: break;
    }
    return QString();
}

// How many files each command takes: exactly `least` when `most` equals it,
// `least` or more when `most` is -1.
void fileCount(Command command, int *least, int *most)
{
    switch (command) {
    case Command::Dump:
    case Command::Build: *least = *most = 1; return;
    case Command::Check: *least = 1; *most = -1; return;
    case Command::Convert: *least = *most = 2; return;
    case Command::None: break;
    }
    *least = *most = 0;
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    int encoding = -1;
    int from = -1;
    int to = -1;
    bool optionsEnded = false;
    QStringList words;

    auto fail = [&](const QString &message) {
        line.error = message;
        return line;
    };

    for (int i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(QLatin1String("--")) ) {
            if (!optionsEnded && argument.size() > 1 && argument.startsWith(QLatin1Char('-')))
                return fail(QStringLiteral("unknown option %1").arg(argument));
            words << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = argument;
        QString value;
        bool hasValue = false;
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals > 0) {
            name = argument.left(equals);
            value = argument.mid(equals + 1);
            hasValue = true;
        }
        if (name == QLatin1String("--help") || name == QLatin1String("--version")) {
            if (hasValue)
                return fail(QStringLiteral("option %1 takes no value").arg(name));
            (name == QLatin1String("--help") ? line.help : line.version) = true;
            continue;
        }
        int *target = name == QLatin1String("--encoding") ? &encoding
                      : name == QLatin1String("--from")   ? &from
                      : name == QLatin1String("--to")     ? &to
                                                          : nullptr;
        if (!target)
            return fail(QStringLiteral("unknown option %1").arg(name));
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return fail(QStringLiteral("option %1 needs an encoding name").arg(name));
            value = arguments.at(++i);
        }
        const int index = tarvo::encodingIndexOf(value);
        if (index < 0)
            return fail(QStringLiteral("unknown encoding \"%1\" for %2").arg(value, name));
        *target = index;
    }

    if (line.help || line.version)
        return line;
    if (words.isEmpty())
        return fail(QStringLiteral("no command given"));

    const QString word = words.takeFirst();
    line.command = commandNamed(word);
    if (line.command == Command::None)
        return fail(QStringLiteral("unknown command \"%1\"").arg(word));

    const QString name = commandName(line.command);
    if (line.command != Command::Convert && (from >= 0 || to >= 0))
        return fail(QStringLiteral("%1 takes no --from or --to; use --encoding").arg(name));
    int least = 0;
    int most = 0;
    fileCount(line.command, &least, &most);
    if (words.size() < least) {
        QString missing = QStringLiteral("FILE");
        if (line.command == Command::Build)
            missing = QStringLiteral("OUT");
        else if (line.command == Command::Convert)
            missing = words.isEmpty() ? QStringLiteral("IN and OUT") : QStringLiteral("OUT");
        return fail(QStringLiteral("%1: missing %2").arg(name, missing));
    }
    if (most >= 0 && words.size() > most)
        return fail(QStringLiteral("%1: too many file names; it takes %2").arg(name, fileSynopsis(line.command)));
    for (const QString &file : std::as_const(words)) {
        if (file.isEmpty())
            return fail(QStringLiteral("%1: empty file name").arg(name));
    }

    line.files = words;
    line.encoding = qMax(encoding, 0);
    line.from = from >= 0 ? from : line.encoding;
    line.to = to >= 0 ? to : line.encoding;
    return line;
}
