#include "commandline.h"

#include "messages.h"
#include "programwriter.h"

#include <encodings.h>
#include <numbercheck.h>

#include <utility>

namespace {

// The options that only some commands take.
enum OptionBit : unsigned {
    NoOption = 0,
    FromTo = 1u << 0, // --from and --to
    Cells = 1u << 1,  // --cell
    Lossy = 1u << 2,  // --lossy
};

struct CommandSpec
{
    Command command;
    const char *name;
    const char *files; // the file arguments, as the usage shows them
    int least;         // how many file names it takes at least,
    int most;          // and at most; -1: any number
    unsigned options;  // the OptionBits it takes besides --encoding
};

constexpr CommandSpec kCommands[] = {
    {Command::Dump, "dump", "FILE", 1, 1, NoOption},
    {Command::Build, "build", "OUT", 1, 1, NoOption},
    {Command::Check, "check", "FILE...", 1, -1, NoOption},
    {Command::Convert, "convert", "IN OUT", 2, 2, FromTo | Lossy},
    {Command::Diff, "diff", "A B", 2, 2, NoOption},
    {Command::Set, "set", "FILE...", 1, -1, Cells},
};

// What an option does with its value.
enum class OptionKind { Help, Version, Lossy, Encoding, From, To, Cell };

struct OptionSpec
{
    const char *name;
    OptionKind kind;
    bool takesValue;
};

constexpr OptionSpec kOptions[] = {
    {"--help", OptionKind::Help, false},        {"--version", OptionKind::Version, false},
    {"--lossy", OptionKind::Lossy, false},      {"--encoding", OptionKind::Encoding, true},
    {"--from", OptionKind::From, true},         {"--to", OptionKind::To, true},
    {"--cell", OptionKind::Cell, true},
};

const OptionSpec *optionNamed(const QString &name)
{
    for (const OptionSpec &spec : kOptions) {
        if (name == QLatin1String(spec.name))
            return &spec;
    }
    return nullptr;
}

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

// A value the editor's cell would take: a decimal comma is taken as the
// editor takes it ("1,50" is "1.50"); a TAB, a line end or another control
// character is refused, as the file could not carry it.
QString refusedValue(CellAssignment &assignment)
{
    const tarvo::ColumnFormat *format = tarvo::columnFormat(assignment.cell.table, assignment.cell.column);
    if (format->kind == tarvo::CellKind::Decimal)
        assignment.value = tarvo::withDecimalPoint(assignment.value);
    const QString &value = assignment.value;
    if (const qsizetype at = tarvo::firstCharacterNoCellHolds(value); at >= 0) {
        const QChar c = value.at(at);
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return Messages::tr("--cell %1: a cell cannot hold a TAB or a line end").arg(assignment.key);
        return Messages::tr("--cell %1: a cell cannot hold the control character U+%2")
            .arg(assignment.key)
            .arg(c.unicode(), 4, 16, QLatin1Char('0'));
    }
    if (!QStringView(value).isValidUtf16())
        return Messages::tr("--cell %1: text with an unpaired surrogate").arg(assignment.key);
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

namespace {

// The options and words of a command line, before they are judged against
// the command.
struct Scanned
{
    int encoding = -1;
    int from = -1;
    int to = -1;
    bool lossy = false;
    QStringList words;
    QStringList cells;
};

// Takes the value of option `name`: after "=", or the next argument.
bool takeValue(const QStringList &arguments, int *i, const OptionSpec &spec, const QString &name, bool hasValue,
               QString *value, QString *error)
{
    if (!spec.takesValue) {
        if (hasValue)
            *error = Messages::tr("option %1 takes no value").arg(name);
        return !hasValue;
    }
    if (hasValue)
        return true;
    if (*i + 1 >= arguments.size()) {
        *error = Messages::tr("option %1 needs %2")
                     .arg(name, spec.kind == OptionKind::Cell ? QStringLiteral("KEY=VALUE")
                                                              : Messages::tr("an encoding name"));
        return false;
    }
    *value = arguments.at(++*i);
    return true;
}

// Reads the options into `line` and `scanned`; false, with `line.error`,
// at the first that is wrong.
bool scanArguments(const QStringList &arguments, CommandLine &line, Scanned &scanned)
{
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString argument = arguments.at(i);
        if (optionsEnded || !argument.startsWith(QLatin1String("--"))) {
            if (!optionsEnded && argument == QLatin1String("-h")) {
                line.help = true;
            } else if (!optionsEnded && argument.size() > 1 && argument.startsWith(QLatin1Char('-'))) {
                line.error = Messages::tr("unknown option %1").arg(argument);
                return false;
            } else {
                scanned.words << argument;
            }
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const bool hasValue = equals > 0;
        const QString name = hasValue ? argument.left(equals) : argument;
        QString value = hasValue ? argument.mid(equals + 1) : QString();
        const OptionSpec *spec = optionNamed(name);
        if (!spec) {
            line.error = Messages::tr("unknown option %1").arg(name);
            return false;
        }
        if (!takeValue(arguments, &i, *spec, name, hasValue, &value, &line.error))
            return false;
        int *encoding = nullptr;
        switch (spec->kind) {
        case OptionKind::Help: line.help = true; break;
        case OptionKind::Version: line.version = true; break;
        case OptionKind::Lossy: scanned.lossy = true; break;
        case OptionKind::Cell: scanned.cells << value; break;
        case OptionKind::Encoding: encoding = &scanned.encoding; break;
        case OptionKind::From: encoding = &scanned.from; break;
        case OptionKind::To: encoding = &scanned.to; break;
        }
        if (!encoding)
            continue;
        *encoding = tarvo::encodingIndexForSpelling(value);
        if (*encoding < 0) {
            line.error = Messages::tr("unknown encoding \"%1\" for %2; known: %3")
                             .arg(value, name, tarvo::entryNames().join(QStringLiteral(", ")));
            return false;
        }
    }
    return true;
}

// The options a command does not take, and its file names.
QString wrongForCommand(const CommandSpec &spec, const Scanned &scanned)
{
    const QString name = QLatin1String(spec.name);
    if (!(spec.options & FromTo) && (scanned.from >= 0 || scanned.to >= 0))
        return Messages::tr("%1 takes no --from or --to; use --encoding").arg(name);
    if (!(spec.options & Cells) && !scanned.cells.isEmpty())
        return Messages::tr("%1 takes no --cell").arg(name);
    if (!(spec.options & Lossy) && scanned.lossy)
        return Messages::tr("%1 takes no --lossy").arg(name);
    if ((spec.options & Cells) && scanned.cells.isEmpty())
        return Messages::tr("set: no --cell KEY=VALUE given");
    const QStringList &words = scanned.words;
    if (words.size() < spec.least)
        return Messages::tr("%1: missing %2").arg(name, missingFiles(spec, words.size()));
    if (spec.most >= 0 && words.size() > spec.most)
        return Messages::tr("%1: too many file names; it takes %2").arg(name, QLatin1String(spec.files));
    for (const QString &file : words) {
        if (file.isEmpty())
            return Messages::tr("%1: empty file name").arg(name);
    }
    const qsizetype streams = words.count(QStringLiteral("-"));
    if (spec.command == Command::Set && streams > 0)
        return Messages::tr("set: \"-\" is no file to write back; name the files");
    if (spec.command == Command::Check && streams > 1)
        return Messages::tr("check: standard input (\"-\") given more than once");
    if (spec.command == Command::Diff && streams > 1)
        return Messages::tr("diff: only one of A and B can be standard input (\"-\")");
    return QString();
}

// The --cell values of set, each checked; empty, or what is wrong.
QString takeCells(const QStringList &cells, QList<CellAssignment> *taken)
{
    for (const QString &text : cells) {
        const qsizetype equals = text.indexOf(QLatin1Char('='));
        if (equals < 0)
            return Messages::tr("--cell %1: no \"=\"; write KEY=VALUE").arg(text);
        CellAssignment assignment;
        assignment.key = text.left(equals);
        assignment.value = text.mid(equals + 1);
        QString why;
        if (!cellForKey(assignment.key, &assignment.cell, &why))
            return QStringLiteral("--cell: ") + why;
        for (const CellAssignment &earlier : std::as_const(*taken)) {
            if (earlier.cell.table == assignment.cell.table && earlier.cell.row == assignment.cell.row
                && earlier.cell.column == assignment.cell.column)
                return Messages::tr("--cell %1 given twice").arg(assignment.key);
        }
        const QString refused = refusedValue(assignment);
        if (!refused.isEmpty())
            return refused;
        *taken << assignment;
    }
    return QString();
}

} // namespace

CommandLine parseCommandLine(const QStringList &arguments)
{
    CommandLine line;
    Scanned scanned;
    if (!scanArguments(arguments, line, scanned))
        return line;
    QStringList &words = scanned.words;
    auto fail = [&](const QString &message) {
        line.error = message;
        return line;
    };

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
    const QString wrong = wrongForCommand(*spec, scanned);
    if (!wrong.isEmpty())
        return fail(wrong);
    const QString badCell = takeCells(scanned.cells, &line.cells);
    if (!badCell.isEmpty())
        return fail(badCell);

    line.files = words;
    line.encoding = qMax(scanned.encoding, 0);
    line.from = scanned.from >= 0 ? scanned.from : line.encoding;
    line.to = scanned.to >= 0 ? scanned.to : line.encoding;
    line.lossy = scanned.lossy;
    return line;
}
