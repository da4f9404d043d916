// convert: a program file read in one encoding and written in another.

#include "commands.h"
#include "console.h"
#include "messages.h"
#include "programstreams.h"
#include "sourcelinedocument.h"
#include "unencodablereport.h"

#include <encodings.h>

int runConvert(const CommandLine &line)
{
    const QString in = line.files.at(0);
    const QString out = line.files.at(1);

    QDateTime stamp;
    QString reason;
    if (!programstreams::writeStamp(&stamp, &reason)) {
        console::error(reason);
        return exitcode::Usage;
    }
    QByteArray bytes;
    if (!programstreams::readBytes(in, &bytes, &reason)) {
        console::error(programstreams::cannotReadText(in, reason));
        return exitcode::Usage;
    }
    SourceLineDocument document;
    const tarvo::ReadReport report = tarvo::readProgramLines(
        bytes, tarvo::codecForEncoding(line.from), [&](qint64 number, const tarvo::LineParts &source) {
            document.setCurrentLine(number);
            tarvo::applyLine(source, document);
        });
    const tarvo::NotAProgramFile notProgram = tarvo::whyNotAProgramFile(bytes, report);
    if (notProgram != tarvo::NotAProgramFile::No) {
        console::error(programstreams::notAProgramFileText(in, notProgram) + Messages::tr("; nothing written"));
        return exitcode::Usage;
    }
    // Bytes that are no characters would be written as replacement
    // characters: only when asked to.
    const QString undecodable = report.lossless ? QString()
                                                : QStringLiteral("%1:%2").arg(programstreams::shownName(in),
                                                                              programstreams::undecodableFinding(bytes, line.from));
    if (!undecodable.isEmpty() && !line.lossy) {
        console::error(undecodable
                       + Messages::tr("; nothing written (give the file's --from, or --lossy to write them as "
                                      "replacement characters)"));
        return exitcode::Usage;
    }

    const programstreams::Written written =
        programstreams::writeDocument(out, document.data(), tarvo::codecForEncoding(line.to), stamp);
    if (!written.ok)
        return exitcode::WriteFailed;
    if (!undecodable.isEmpty())
        console::error(undecodable);
    const QString encoding = tarvo::encodingName(line.to);
    for (const tarvo::UnencodableCell &cell : written.unencodable) {
        const qint64 source = document.sourceLine(cell.table, cell.row, cell.column);
        const QString where = QStringLiteral("%1:%2").arg(programstreams::shownName(in), QString::number(source));
        console::error(unencodableMessage(where, cell, encoding));
    }
    const bool leftOut = programstreams::reportLeftOutRows(out, document.data());
    return written.unencodable.isEmpty() && !leftOut && undecodable.isEmpty() ? exitcode::Success
                                                                               : exitcode::Findings;
}
