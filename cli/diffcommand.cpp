// diff: the document cells in which two program files differ. Only what
// Open would show counts: the time stamp, the comment lines, the order of
// the records and records that a later one overrides do not.

#include "cellnames.h"
#include "commands.h"
#include "console.h"
#include "programstreams.h"

#include <encodings.h>

#include <limits>

int runDiff(const CommandLine &line)
{
    QTextCodec *codec = tarvo::codecForEncoding(line.encoding);
    tarvo::DocumentData documents[2];
    for (int i = 0; i < 2; ++i) {
        QString reason;
        const QString &file = line.files.at(i);
        const QString shown = programstreams::shownName(file);
        tarvo::ReadReport report;
        if (!programstreams::readDocument(file, codec, documents[i], &reason, &report)) {
            console::error(reason);
            return exitcode::Usage;
        }
        // Bytes that are no characters would all read as the same
        // replacement character, and two different files could compare equal.
        if (!report.lossless) {
            console::error(Messages::tr("cannot compare %1: %2").arg(shown, programstreams::lossyText(codec)));
            return exitcode::Usage;
        }
    }

    constexpr int kWhole = std::numeric_limits<int>::max();
    const QList<tarvo::CellRef> differ = tarvo::cellsThatDiffer(documents[0], documents[1]);
    for (const tarvo::CellRef &cell : differ)
        console::writeOutLine(QStringLiteral("%1: %2 -> %3")
                                  .arg(cellKey(cell.table, cell.row, cell.column),
                                       console::quoted(documents[0].cellText(cell.table, cell.row, cell.column), kWhole),
                                       console::quoted(documents[1].cellText(cell.table, cell.row, cell.column), kWhole)));
    if (!console::finishOut())
        return exitcode::WriteFailed;
    return !differ.isEmpty() ? exitcode::Findings : exitcode::Success;
}
