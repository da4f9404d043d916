#include "programload.h"

#include "encodingtrust.h"
#include "programreader.h"
#include "regularfile.h"

#include <QBuffer>
#include <QFile>

namespace load {

namespace {
// Program files are a few kilobytes; anything this large is no program.
constexpr qint64 kMaxProgramBytes = 64 * 1024 * 1024;
} // namespace

bool readProgramBytes(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file;
    if (!tarvo::openRegularFileForReading(file, path, error))
        return false;
    *bytes = file.read(kMaxProgramBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        *error = file.errorString();
        return false;
    }
    if (bytes->size() > kMaxProgramBytes) {
        *error = QStringLiteral("the file is too large for a program file");
        bytes->clear();
        return false;
    }
    return true;
}

Report readProgram(const QByteArray &bytes, QTextCodec *codec, tarvo::DocumentCells &cells)
{
    Report report;
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    tarvo::readParsedLines(buffer, codec, [&](const tarvo::ParsedProgramLine &line) {
        switch (line.parsed.verdict) {
        case tarvo::LineVerdict::Empty: break;
        case tarvo::LineVerdict::Comment: ++report.comments; break;
        case tarvo::LineVerdict::Record:
            ++report.records;
            tarvo::applyParsedLine(line.parsed, cells);
            break;
        default: ++report.otherLines; break;
        }
    });
    report.lossless = tarvo::readsCleanly(bytes, codec);
    return report;
}

} // namespace load
