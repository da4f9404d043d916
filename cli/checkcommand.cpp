// check: every line that the reader skips although it is no comment, and
// every value that the editor's cell editors would refuse.

#include "cellnames.h"
#include "commands.h"
#include "console.h"
#include "numberedlines.h"

#include <encodings.h>
#include <numbercheck.h>
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
        return QStringLiteral("line skipped: %1 is no record letter (S, D, H, C or Y)")
            .arg(console::quoted(parsed.letter));
    case tarvo::LineVerdict::NumberOutOfRange:
        break;
    }
    if (!parsed.numberIsNumeral) {
        const QString &field = parsed.numberText;
        if (field.trimmed().isEmpty())
            return QStringLiteral("line skipped: %1 record without a number").arg(parsed.letter);
        return QStringLiteral("line skipped: %1 record number %2 is not a number")
            .arg(parsed.letter, console::quoted(field));
    }
    if (parsed.table == tarvo::DocTable::Comments)
        return QStringLiteral("line skipped: C record number %1 is not 0").arg(parsed.number);
    return QStringLiteral("line skipped: %1 record number %2 is outside 1..%3")
        .arg(parsed.letter, QString::number(parsed.number), QString::number(tarvo::rowCount(parsed.table)));
}

// What the cell editors would refuse of the values a record sets.
QStringList refusedValues(const tarvo::ParsedLine &parsed)
{
    namespace col = tarvo::col;
    QStringList found;
    for (const tarvo::RecordCell &cell : parsed.cells) {
        if (cell.text.isEmpty())
            continue;
        const bool decimal = (parsed.table == tarvo::DocTable::Depts && cell.column == col::DeptPrice)
                             || (parsed.table == tarvo::DocTable::Payments && cell.column == col::PaymentValue);
        const bool whole = parsed.table == tarvo::DocTable::Depts && cell.column == col::DeptDigits;
        if (decimal && !tarvo::isAcceptableDecimal(cell.text))
            found << QStringLiteral("%1 %2 is not a decimal number")
                         .arg(cellName(parsed.table, parsed.row, cell.column), console::quoted(cell.text));
        else if (whole && !tarvo::isAcceptableInteger(cell.text))
            found << QStringLiteral("%1 %2 is not a whole number")
                         .arg(cellName(parsed.table, parsed.row, cell.column), console::quoted(cell.text));
    }
    return found;
}

enum class FileResult { Clean, Findings, Unreadable };

FileResult checkFile(const QString &path, QTextCodec *codec)
{
    NumberedLines lines(path, codec);
    QString reason;
    if (!lines.open(&reason)) {
        console::error(QStringLiteral("cannot open %1: %2").arg(path, reason));
        return FileResult::Unreadable;
    }
    bool anything = false;
    QString line;
    while (lines.next(&line)) {
        const tarvo::ParsedLine parsed = tarvo::parseLine(line);
        QStringList findings = refusedValues(parsed);
        const QString skipped = skippedReason(parsed);
        if (!skipped.isEmpty())
            findings.prepend(skipped);
        if (lines.lineWasCut())
            findings.prepend(QStringLiteral("line longer than %1 bytes; only its first %1 bytes are read")
                                 .arg(tarvo::kMaxLineBytes));
        for (const QString &finding : std::as_const(findings))
            console::writeOutLine(QStringLiteral("%1:%2: %3").arg(path, QString::number(lines.lineNumber()), finding));
        anything = anything || !findings.isEmpty();
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
        return exitcode::Usage;
    if (unreadable)
        return exitcode::Usage;
    return findings ? exitcode::Findings : exitcode::Success;
}
