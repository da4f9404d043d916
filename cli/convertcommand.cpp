// convert: a program file read in one encoding and written in another.

#include "commands.h"
#include "console.h"
#include "sourcelinedocument.h"
#include "unencodablereport.h"

#include <encodings.h>
#include <programreader.h>
#include <programwriter.h>

int runConvert(const CommandLine &line)
{
    const QString in = line.files.at(0);
    const QString out = line.files.at(1);

    SourceLineDocument document;
    QString reason;
    const bool opened = tarvo::readProgramFileLines(in, tarvo::codecForEncoding(line.from),
                                                    [&](const tarvo::ProgramLine &source) {
                                                        document.setCurrentLine(source.number);
                                                        tarvo::parseProgramLine(source.text, document);
                                                    },
                                                    &reason);
    if (!opened) {
        console::error(QStringLiteral("cannot open %1: %2").arg(in, reason));
        return exitcode::Usage;
    }

    const tarvo::WriteResult result =
        tarvo::writeProgramFile(out, document.data(), tarvo::codecForEncoding(line.to));
    if (!result.ok) {
        console::error(QStringLiteral("cannot write %1: %2").arg(out, result.error));
        return exitcode::WriteFailed;
    }
    const QString encoding = tarvo::encodingName(line.to);
    for (const tarvo::UnencodableCell &cell : result.unencodable) {
        const qint64 source = document.sourceLine(cell.table, cell.row, cell.column);
        console::error(unencodableMessage(QStringLiteral("%1:%2").arg(in, QString::number(source)), cell, encoding));
    }
    return result.unencodable.isEmpty() ? exitcode::Success : exitcode::Findings;
}
