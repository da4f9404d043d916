// check: every line that the reader skips although it is no comment, and
// every value that the editor's cell editors would refuse.

#include "cellnames.h"
#include "commands.h"
#include "console.h"
#include "programstreams.h"

#include <encodings.h>
#include <programlinereader.h>
#include <programreader.h>

#include <utility>

namespace {

// Why the reader skips a line, or nothing when it uses it.
QString skippedReason(const tarvo::ParsedLine &parsed)
{
    switch (parsed.verdict) {
    case tarvo::LineVerdict::Empty:
    case tarvo::LineVerdict::Comment:
    case tarvo::LineVerdict::Record:
        return QString();
    case tarvo::LineVerdict::UnknownLetter:
        return Messages::tr("line skipped: %1 is no record letter (S, D, H, C or Y)")
            .arg(console::quoted(parsed.letter));
    case tarvo::LineVerdict::NumberOutOfRange:
        break;
    }
    if (!parsed.numberIsNumeral) {
        const QString &field = parsed.numberText;
        if (field.trimmed().isEmpty())
            return Messages::tr("line skipped: %1 record without a number").arg(parsed.letter);
        return Messages::tr("line skipped: %1 record number %2 is not a number")
            .arg(parsed.letter, console::quoted(field));
    }
    const tarvo::TableFormat &format = tarvo::tableFormat(parsed.table);
    if (format.rows == 1)
        return Messages::tr("line skipped: %1 record number %2 is not %3")
            .arg(parsed.letter, QString::number(parsed.number), QString::number(format.firstNumber));
    return Messages::tr("line skipped: %1 record number %2 is outside %3..%4")
        .arg(parsed.letter, QString::number(parsed.number), QString::number(format.firstNumber),
             QString::number(format.firstNumber + format.rows - 1));
}

// What the cell editors would refuse of the values a record sets.
QStringList refusedValues(const tarvo::ParsedLine &parsed)
{
    QStringList found;
    for (const tarvo::RecordCell &cell : parsed.cells) {
        const QString refusal = refusalOf(tarvo::columnFormat(parsed.table, cell.column)->kind, cell.text);
        if (!refusal.isEmpty())
            found << QStringLiteral("%1 %2 %3")
                         .arg(cellName(parsed.table, parsed.row, cell.column), console::quoted(cell.text), refusal);
    }
    return found;
}

enum class FileResult { Clean, Findings, Unreadable };

FileResult checkFile(const QString &path, QTextCodec *codec)
{
    bool anything = false;
    QString reason;
    const QString shown = programstreams::shownName(path);
    const bool opened = programstreams::readParsedLines(path, codec, [&](const tarvo::ParsedProgramLine &line) {
        const tarvo::ParsedLine &parsed = line.parsed;
        QStringList findings = refusedValues(parsed);
        const QString skipped = skippedReason(parsed);
        if (!skipped.isEmpty())
            findings.prepend(skipped);
        if (line.cut)
            findings.prepend(Messages::tr("line longer than %1 bytes; only its first %1 bytes are read")
                                 .arg(tarvo::kMaxLineBytes));
        for (const QString &finding : std::as_const(findings))
            console::writeOutLine(QStringLiteral("%1:%2: %3").arg(shown, QString::number(line.number), finding));
        anything = anything || !findings.isEmpty();
    }, &reason);
    if (!opened) {
        console::error(Messages::tr("cannot open %1: %2").arg(shown, messages::reason(reason)));
        return FileResult::Unreadable;
    }
    return anything ? FileResult::Findings : FileResult::Clean;
}

} // namespace

int runCheck(const CommandLine &line)
{
    QTextCodec *codec = tarvo::codecForEncoding(line.encoding);
    bool findings = false;
    bool unreadable = false;
    for (const QString &path : line.files) {
        const FileResult result = checkFile(path, codec);
        findings = findings || result == FileResult::Findings;
        unreadable = unreadable || result == FileResult::Unreadable;
    }
    if (!console::finishOut())
        return exitcode::WriteFailed;
    if (unreadable)
        return exitcode::Usage;
    return findings ? exitcode::Findings : exitcode::Success;
}
