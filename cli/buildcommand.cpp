// build: a JSON document from standard input, written as the editor's Save
// writes it.

#include "cellnames.h"
#include "commands.h"
#include "programwriter.h"
#include "console.h"
#include "documentjson.h"
#include "messages.h"
#include "programstreams.h"
#include "unencodablereport.h"

#include <encodings.h>

#include <programbytes.h>

#include <unistd.h>

namespace {

// A cell that holds a TAB, a line end or another control character, which
// the file cannot carry as it is: named, with the first such character.
QString refusedControlCharacter(const tarvo::DocumentCells &document)
{
    QString refusal;
    tarvo::forEachDocumentCell([&](tarvo::DocTable table, int row, int column) {
        if (!refusal.isEmpty())
            return;
        const QString text = document.cellText(table, row, column);
        const qsizetype at = tarvo::firstCharacterNoCellHolds(text);
        if (at < 0)
            return;
        const QChar c = text.at(at);
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            refusal = Messages::tr("%1: a cell cannot hold a TAB or a line end").arg(cellName(table, row, column));
        else
            refusal = Messages::tr("%1: a cell cannot hold the control character U+%2")
                          .arg(cellName(table, row, column))
                          .arg(c.unicode(), 4, 16, QLatin1Char('0'));
    });
    return refusal;
}

} // namespace

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
    const QString refused = refusedControlCharacter(document);
    if (!refused.isEmpty()) {
        console::error(refused);
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
