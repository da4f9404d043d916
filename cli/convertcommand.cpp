// convert: a program file read in one encoding and written in another.

#include "commands.h"
#include "console.h"
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
    tarvo::readProgramLines(bytes, tarvo::codecForEncoding(line.from),
                            [&](qint64 number, const tarvo::LineParts &source) {
                                document.setCurrentLine(number);
                                tarvo::applyLine(source, document);
                            });

    const programstreams::Written written =
        programstreams::writeDocument(out, document.data(), tarvo::codecForEncoding(line.to), stamp);
    if (!written.ok)
        return exitcode::WriteFailed;
    const QString encoding = tarvo::encodingName(line.to);
    for (const tarvo::UnencodableCell &cell : written.unencodable) {
        const qint64 source = document.sourceLine(cell.table, cell.row, cell.column);
        const QString where = QStringLiteral("%1:%2").arg(programstreams::shownName(in), QString::number(source));
        console::error(unencodableMessage(where, cell, encoding));
    }
    const bool leftOut = programstreams::reportLeftOutRows(out, document.data());
    return written.unencodable.isEmpty() && !leftOut ? exitcode::Success : exitcode::Findings;
}
