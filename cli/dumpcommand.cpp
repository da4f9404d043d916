// dump: a program file, read as the editor's Open reads it, as JSON.

#include "commands.h"
#include "console.h"
#include "documentjson.h"
#include "programstreams.h"

#include <encodings.h>

int runDump(const CommandLine &line)
{
    const QString path = line.files.at(0);
    tarvo::DocumentData document;
    QString reason;
    tarvo::ReadReport report;
    QByteArray bytes;
    if (!programstreams::readDocument(path, tarvo::codecForEncoding(line.encoding), document, &reason, &report,
                                      &bytes)) {
        console::error(reason);
        return exitcode::Usage;
    }
    console::writeOut(tarvo::documentToJson(document));
    if (!console::finishOut())
        return exitcode::WriteFailed;
    // What the JSON holds as replacement characters is said.
    if (report.lossless)
        return exitcode::Success;
    console::error(QStringLiteral("%1:%2").arg(programstreams::shownName(path),
                                               programstreams::undecodableFinding(bytes, line.encoding)));
    return exitcode::Findings;
}
