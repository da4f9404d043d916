// check: every line that the reader skips although it is no comment, and
// every value that the editor's cell editors would refuse.

#include "cellnames.h"
#include "commands.h"
#include "console.h"
#include "programstreams.h"

#include <encodings.h>
#include <encodingtrust.h>
#include <programlinereader.h>
#include <programreader.h>
#include <regularfile.h>

#include <QBuffer>
#include <QFile>
#include <QTextCodec>

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
    const tarvo::TableFormat &format = tarvo::tableFormat(parsed.table);
    if (format.rows == 1)
        return QStringLiteral("line skipped: %1 record number %2 is not %3")
            .arg(parsed.letter, QString::number(parsed.number), QString::number(format.firstNumber));
    return QStringLiteral("line skipped: %1 record number %2 is outside %3..%4")
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

// The whole of a file or of standard input ("-"); false with `error` when
// it cannot be read.
bool readAllBytes(const QString &path, QByteArray *bytes, QString *error)
{
    QFile input;
    if (path == QLatin1String("-")) {
        if (!input.open(stdin, QIODevice::ReadOnly)) {
            *error = input.errorString();
            return false;
        }
    } else if (!tarvo::openRegularFileForReading(input, path, error)) {
        return false;
    }
    *bytes = input.readAll();
    if (input.error() != QFileDevice::NoError) {
        *error = input.errorString();
        return false;
    }
    return true;
}

// Bytes that are no characters of the encoding: the text the editor shows
// and writes back is not the file's. Names where the file reads cleanly.
QString encodingFinding(const QByteArray &bytes, QTextCodec *codec, int encoding)
{
    const int line = tarvo::firstUncleanLine(bytes, codec);
    if (line == 0)
        return QString();
    const QList<int> clean = tarvo::cleanEncodings(bytes);
    QString finding = QStringLiteral("%1: bytes that are no characters of %2")
                          .arg(QString::number(line), tarvo::encodingShownName(encoding));
    if (clean.isEmpty())
        return finding + QStringLiteral("; the file reads cleanly in no encoding of the list");
    return finding + QStringLiteral("; the file reads cleanly in %1 (the most likely first)")
                         .arg(tarvo::encodingShownNames(clean).join(QStringLiteral(", ")));
}

enum class FileResult { Clean, Findings, Unreadable };

FileResult checkFile(const QString &path, int encoding)
{
    QTextCodec *codec = tarvo::codecForEncoding(encoding);
    bool anything = false;
    QString reason;
    const QString shown = programstreams::shownName(path);
    QByteArray bytes;
    if (!readAllBytes(path, &bytes, &reason)) {
        console::error(QStringLiteral("cannot open %1: %2").arg(shown, reason));
        return FileResult::Unreadable;
    }
    const QString unclean = encodingFinding(bytes, codec, encoding);
    if (!unclean.isEmpty()) {
        console::writeOutLine(QStringLiteral("%1:%2").arg(shown, unclean));
        anything = true;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    tarvo::readParsedLines(buffer, codec, [&](const tarvo::ParsedProgramLine &line) {
        const tarvo::ParsedLine &parsed = line.parsed;
        QStringList findings = refusedValues(parsed);
        const QString skipped = skippedReason(parsed);
        if (!skipped.isEmpty())
            findings.prepend(skipped);
        if (line.cut)
            findings.prepend(QStringLiteral("line longer than %1 bytes; only its first %1 bytes are read")
                                 .arg(tarvo::kMaxLineBytes));
        for (const QString &finding : std::as_const(findings))
            console::writeOutLine(QStringLiteral("%1:%2: %3").arg(shown, QString::number(line.number), finding));
        anything = anything || !findings.isEmpty();
    });
    return anything ? FileResult::Findings : FileResult::Clean;
}

} // namespace

int runCheck(const CommandLine &line)
{
    bool findings = false;
    bool unreadable = false;
    for (const QString &path : line.files) {
        const FileResult result = checkFile(path, line.encoding);
        findings = findings || result == FileResult::Findings;
        unreadable = unreadable || result == FileResult::Unreadable;
    }
    if (!console::finishOut())
        return exitcode::WriteFailed;
    if (unreadable)
        return exitcode::Usage;
    return findings ? exitcode::Findings : exitcode::Success;
}
