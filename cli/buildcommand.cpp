// build: a JSON document from standard input, written as the editor's Save
// writes it.

#include "commands.h"
#include "console.h"
#include "documentjson.h"
#include "unencodablereport.h"

#include <encodings.h>
#include <programwriter.h>

#include <QFile>

namespace {

// Reads standard input to its end, but no further than `limit` + 1 bytes,
// so that an endless stream cannot exhaust memory.
bool readStandardInput(QByteArray *bytes, qsizetype limit, QString *error)
{
    QFile input;
    if (!input.open(stdin, QIODevice::ReadOnly)) {
        *error = input.errorString();
        return false;
    }
    while (bytes->size() <= limit) {
        const QByteArray chunk = input.read(qMin<qint64>(1 << 20, limit + 1 - bytes->size()));
        if (chunk.isEmpty()) {
            if (input.error() != QFileDevice::NoError) {
                *error = input.errorString();
                return false;
            }
            break;
        }
        bytes->append(chunk);
    }
    return true;
}

} // namespace

int runBuild(const CommandLine &line)
{
    const QString out = line.files.at(0);

    QByteArray json;
    QString reason;
    if (!readStandardInput(&json, tarvo::kMaxDocumentJsonBytes, &reason)) {
        console::error(QStringLiteral("cannot read standard input: %1").arg(reason));
        return exitcode::Usage;
    }
    tarvo::DocumentData document;
    if (!tarvo::documentFromJson(json, &document, &reason)) {
        console::error(reason);
        return exitcode::Usage;
    }

    const QString encoding = tarvo::encodingName(line.encoding);
    const tarvo::WriteResult result =
        tarvo::writeProgramFile(out, document, tarvo::codecForEncoding(line.encoding));
    if (!result.ok) {
        console::error(QStringLiteral("cannot write %1: %2").arg(out, result.error));
        return exitcode::WriteFailed;
    }
    for (const tarvo::UnencodableCell &cell : result.unencodable)
        console::error(unencodableMessage(out, cell, encoding));
    return result.unencodable.isEmpty() ? exitcode::Success : exitcode::Findings;
}
