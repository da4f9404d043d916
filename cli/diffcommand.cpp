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
            console::error(programstreams::cannotReadText(file, reason));
            return exitcode::Usage;
        }
        // Bytes that are no characters would all read as the same
        // replacement character, and two different files could compare equal.
        if (!report.lossless) {
            console::error(Messages::tr("cannot compare %1: %2").arg(shown, programstreams::lossyText(codec)));
            return exitcode::Usage;
        }
    }

    bool differ = false;
    constexpr int kWhole = std::numeric_limits<int>::max();
    for (int t = 0; t < tarvo::kTableCount; ++t) {
        const tarvo::TableFormat &format = tarvo::tableFormat(tarvo::tableAt(t));
        for (int row = 0; row < format.rows; ++row) {
            for (int i = 0; i < format.cellCount; ++i) {
                const int column = format.cells[i].column;
                const QString before = documents[0].cellText(format.table, row, column);
                const QString after = documents[1].cellText(format.table, row, column);
                if (before == after)
                    continue;
                differ = true;
                console::writeOutLine(QStringLiteral("%1: %2 -> %3")
                                          .arg(cellKey(format.table, row, column), console::quoted(before, kWhole),
                                               console::quoted(after, kWhole)));
            }
        }
    }
    if (!console::finishOut())
        return exitcode::WriteFailed;
    return differ ? exitcode::Findings : exitcode::Success;
}
