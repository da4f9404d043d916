// set: the same cells given the same values in many program files, each
// written back in its encoding through the writer that Save uses. The
// command line is checked whole before anything is read, and every file is
// read before any is written, so a bad argument or a missing file changes
// nothing.

#include "commands.h"
#include "console.h"
#include "programstreams.h"
#include "unencodablereport.h"

#include <encodings.h>

#include <QList>

int runSet(const CommandLine &line)
{
    QDateTime stamp;
    QString reason;
    if (!programstreams::writeStamp(&stamp, &reason)) {
        console::error(reason);
        return exitcode::Usage;
    }
    QTextCodec *codec = tarvo::codecForEncoding(line.encoding);
    QList<tarvo::DocumentData> documents;
    for (const QString &file : line.files) {
        tarvo::DocumentData document;
        tarvo::ReadReport report;
        if (!programstreams::readDocument(file, codec, document, &reason, &report)) {
            console::error(QStringLiteral("cannot read %1: %2; no file changed").arg(file, reason));
            return exitcode::Usage;
        }
        if (!report.lossless) {
            console::error(QStringLiteral("cannot set cells in %1: %2; no file changed")
                               .arg(file, programstreams::lossyText(codec)));
            return exitcode::Usage;
        }
        for (const CellAssignment &assignment : line.cells)
            document.setCellText(assignment.cell.table, assignment.cell.row, assignment.cell.column, assignment.value);
        documents << document;
    }

    const QString encoding = tarvo::encodingName(line.encoding);
    int status = exitcode::Success;
    for (int i = 0; i < documents.size(); ++i) {
        const QString &file = line.files.at(i);
        const programstreams::Written written = programstreams::writeDocument(file, documents.at(i), codec, stamp);
        if (!written.ok) {
            status = exitcode::worse(status, exitcode::WriteFailed);
            continue;
        }
        for (const tarvo::UnencodableCell &cell : written.unencodable)
            console::error(unencodableMessage(file, cell, encoding));
        const bool leftOut = programstreams::reportLeftOutRows(file, documents.at(i));
        if (leftOut || !written.unencodable.isEmpty())
            status = exitcode::worse(status, exitcode::Findings);
    }
    return status;
}
