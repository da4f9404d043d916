// build: a JSON document from standard input, written as the editor's Save
// writes it.

#include "commands.h"
#include "console.h"
#include "documentjson.h"
#include "messages.h"
#include "programstreams.h"
#include "unencodablereport.h"

#include <encodings.h>

#include <programbytes.h>

#include <unistd.h>

int runBuild(const CommandLine &line)
{
    const QString out = line.files.at(0);

    QDateTime stamp;
    QString reason;
    if (!programstreams::writeStamp(&stamp, &reason)) {
        console::error(reason);
        return exitcode::Usage;
    }
    QByteArray json;
    // With read(2), as dump reads "-": a signal is no reason to stop, nor
    // to read for ever.
    if (!tarvo::readStream(STDIN_FILENO, tarvo::kMaxDocumentJsonBytes, &json, &reason)) {
        console::error(Messages::tr("cannot read standard input: %1").arg(messages::reason(reason)));
        return exitcode::Usage;
    }
    tarvo::DocumentData document;
    if (!tarvo::documentFromJson(json, &document, &reason)) {
        console::error(reason);
        return exitcode::Usage;
    }

    const programstreams::Written written =
        programstreams::writeDocument(out, document, tarvo::codecForEncoding(line.encoding), stamp);
    if (!written.ok)
        return exitcode::WriteFailed;
    const QString where = programstreams::shownOutput(out);
    const QString encoding = tarvo::encodingName(line.encoding);
    for (const tarvo::UnencodableCell &cell : written.unencodable)
        console::error(unencodableMessage(where, cell, encoding));
    const bool leftOut = programstreams::reportLeftOutRows(out, document);
    return written.unencodable.isEmpty() && !leftOut ? exitcode::Success : exitcode::Findings;
}
