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
    if (!programstreams::readDocument(path, tarvo::codecForEncoding(line.encoding), document, &reason)) {
        console::error(programstreams::cannotReadText(path, reason));
        return exitcode::Usage;
    }
    console::writeOut(tarvo::documentToJson(document));
    return console::finishOut() ? exitcode::Success : exitcode::WriteFailed;
}
