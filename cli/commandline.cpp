#include "commandline.h"

#include "messages.h"

#include <encodings.h>

#include <utility>

namespace {

struct CommandSpec
{
    Command command;
    const char *name;
    const char *files; // the file arguments, as the usage shows them
    int least;         // how many file names it takes at least,
    int most;          // and at most; -1: any number
};

constexpr CommandSpec kCommands[] = {
    {Command::Dump, "dump", "FILE", 1, 1},
    {Command::Build, "build", "OUT", 1, 1},
    {Command::Check, "check", "FILE...", 1, -1},
    {Command::Convert, "convert", "IN OUT", 2, 2},
    {Command::Diff, "diff", "A B", 2, 2},
    {Command::Set, "set", "FILE...", 1, -1},
};

const CommandSpec *commandNamed(const QString &name)
{
    for (const CommandSpec &spec : kCommands) {
        if (name == QLatin1String(spec.name))
            return &spec;
    }
    return nullptr;
}

// What the missing file names are called: "FILE", "OUT", "IN and OUT".
QString missingFiles(const CommandSpec &spec, qsizetype given)
{
    const QStringList names = QString::fromLatin1(spec.files).split(QLatin1Char(' '));
    if (spec.most < 0)
        return QStringLiteral("FILE");
    return names.mid(given).join(Messages::tr(" and "));
}

// A value the editor's cell would take as it stands.
QString refusedValue(const CellAssignment &assignment)
{
    const QString &value = assignment.value;
    for (const QChar c : value) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return Messages::tr("--cell %1: a cell cannot hold a TAB or a line end").arg(assignment.key);
    }
    if (!QStringView(value).isValidUtf16())
        return Messages::tr("--cell %1: text with an unpaired surrogate").arg(assignment.key);
    const tarvo::ColumnFormat *format = tarvo::columnFormat(assignment.cell.table, assignment.cell.column);
    const QString refusal = refusalOf(format->kind, value);
    if (!refusal.isEmpty())
        return Messages::tr("--cell %1: \"%2\" %3").arg(assignment.key, value, refusal);
    return QString();
}

// The number of single-letter changes (insert, delete, replace, or swap of
// two neighbours) that turn one word into the other.
int editDistance(const QString &a, const QString &b)
{
    const qsizetype n = a.size();
    const qsizetype m = b.size();
    QList<QList<int>> d(n + 1, QList<int>(m + 1, 0));
    for (qsizetype i = 0; i <= n; ++i)
        d[i][0] = int(i);
    for (qsizetype j = 0; j <= m; ++j)
        d[0][j] = int(j);
    for (qsizetype i = 1; i <= n; ++i) {
        for (qsizetype j = 1; j <= m; ++j) {
            const int cost = a.at(i - 1) == b.at(j - 1) ? 0 : 1;
            d[i][j] = qMin(qMin(d[i - 1][j] + 1, d[i][j - 1] + 1), d[i - 1][j - 1] + cost);
            if (i > 1 && j > 1 && a.at(i - 1) == b.at(j - 2) && a.at(i - 2) == b.at(j - 1))
                d[i][j] = qMin(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[n][m];
}

QString unknownCommand(const QString &word)
{
    const QString nearest = nearestCommand(word);
    if (nearest.isEmpty())
        return Messages::tr("unknown command \"%1\"").arg(word);
    return Messages::tr("unknown command \"%1\"; did you mean \"%2\"?").arg(word, nearest);
}

} // namespace

QString nearestCommand(const QString &word)
{
    const QString lower = word.toLower().left(32);
    QString best;
    int bestDistance = 3; // farther than two changes is no typo
    for (const CommandSpec &spec : kCommands) {
        const QString name = QLatin1String(spec.name);
        const int distance = lower.startsWith(name) || (lower.size() >= 2 && name.startsWith(lower))
                                 ? 1
                                 : editDistance(lower, name);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = name;
        }
    }
    return best;
}

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    int encoding = -1;
    int from = -1;
    int to = -1;
    bool optionsEnded = false;
    QStringList words;
    QStringList cells;

    auto fail = [&](const QString &message) {
        line.error = message;
        return line;
    };

    for (int i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        if (!optionsEnded && argument == QLatin1String("-h")) {
            line.help = true;
            continue;
        }
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            if (!optionsEnded && argument.size() > 1 && argument.startsWith(QLatin1Char('-')))
                return fail(Messages::tr("unknown option %1").arg(argument));
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
                return fail(Messages::tr("option %1 takes no value").arg(name));
            (name == QLatin1String("--help") ? line.help : line.version) = true;
            continue;
        }
        const bool isCell = name == QLatin1String("--cell");
        int *target = name == QLatin1String("--encoding") ? &encoding
                      : name == QLatin1String("--from")   ? &from
                      : name == QLatin1String("--to")     ? &to
                                                          : nullptr;
        if (!target && !isCell)
            return fail(Messages::tr("unknown option %1").arg(name));
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return fail(Messages::tr("option %1 needs %2").arg(name, isCell ? QStringLiteral("KEY=VALUE")
                                                                                  : Messages::tr("an encoding name")));
            value = arguments.at(++i);
        }
        if (isCell) {
            cells << value;
            continue;
        }
        const int index = tarvo::encodingIndexForSpelling(value);
        if (index < 0) {
            return fail(Messages::tr("unknown encoding \"%1\" for %2; known: %3")
                            .arg(value, name, tarvo::encodingNames().join(QStringLiteral(", "))));
        }
        *target = index;
    }

    if (!words.isEmpty() && words.first() == QLatin1String("help")) {
        line.help = true;
        words.removeFirst();
        if (words.size() > 1)
            return fail(Messages::tr("help takes one command name"));
        if (words.isEmpty())
            return line;
    }
    if (line.help && !words.isEmpty()) {
        const CommandSpec *spec = commandNamed(words.first());
        if (!spec)
            return fail(unknownCommand(words.first()));
        line.helpCommand = QLatin1String(spec->name);
        return line;
    }
    if (line.help || line.version)
        return line;
    if (words.isEmpty())
        return fail(Messages::tr("no command given"));

    const QString word = words.takeFirst();
    const CommandSpec *spec = commandNamed(word);
    if (!spec)
        return fail(unknownCommand(word));
    line.command = spec->command;

    const QString name = QLatin1String(spec->name);
    if (line.command != Command::Convert && (from >= 0 || to >= 0))
        return fail(Messages::tr("%1 takes no --from or --to; use --encoding").arg(name));
    if (line.command != Command::Set && !cells.isEmpty())
        return fail(Messages::tr("%1 takes no --cell").arg(name));
    if (line.command == Command::Set && cells.isEmpty())
        return fail(Messages::tr("set: no --cell KEY=VALUE given"));
    if (words.size() < spec->least)
        return fail(Messages::tr("%1: missing %2").arg(name, missingFiles(*spec, words.size())));
    if (spec->most >= 0 && words.size() > spec->most)
        return fail(Messages::tr("%1: too many file names; it takes %2").arg(name, QLatin1String(spec->files)));
    for (const QString &file : std::as_const(words)) {
        if (file.isEmpty())
            return fail(Messages::tr("%1: empty file name").arg(name));
    }
    const qsizetype streams = words.count(QStringLiteral("-"));
    if (line.command == Command::Set && streams > 0)
        return fail(Messages::tr("set: \"-\" is no file to write back; name the files"));
    if (line.command == Command::Check && streams > 1)
        return fail(Messages::tr("check: standard input (\"-\") given more than once"));
    if (line.command == Command::Diff && streams > 1)
        return fail(Messages::tr("diff: only one of A and B can be standard input (\"-\")"));

    for (const QString &text : std::as_const(cells)) {
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals < 0)
            return fail(Messages::tr("--cell %1: no \"=\"; write KEY=VALUE").arg(text));
        CellAssignment assignment;
        assignment.key = text.left(equals);
        assignment.value = text.mid(equals + 1);
        QString why;
        if (!cellForKey(assignment.key, &assignment.cell, &why))
            return fail(QStringLiteral("--cell: ") + why);
        for (const CellAssignment &earlier : std::as_const(line.cells)) {
            if (earlier.cell.table == assignment.cell.table && earlier.cell.row == assignment.cell.row
                && earlier.cell.column == assignment.cell.column)
                return fail(Messages::tr("--cell %1 given twice").arg(assignment.key));
        }
        const QString refused = refusedValue(assignment);
        if (!refused.isEmpty())
            return fail(refused);
        line.cells << assignment;
    }

    line.files = words;
    line.encoding = qMax(encoding, 0);
    line.from = from >= 0 ? from : line.encoding;
    line.to = to >= 0 ? to : line.encoding;
    return line;
}
