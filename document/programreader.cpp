#include "programreader.h"

#include "linedecoder.h"
#include "programlinereader.h"

#include <QFile>
#include <QIODevice>
#include <QTextCodec>

namespace tarvo {

namespace {

bool isTrimmed(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t') || c == QLatin1Char(' ');
}

// Only LF, CR, TAB and space count as white space here, and only at the ends
// of the whole line: space inside a line and inside fields stays.
QStringView trimLine(QStringView line)
{
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isTrimmed(line.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin);
}

} // namespace

ParsedLine parseLine(const QString &line)
{
    ParsedLine parsed;
    const QStringView trimmed = trimLine(line);
    if (trimmed.isEmpty())
        return parsed;
    if (trimmed.startsWith(QLatin1String("\";"))) {
        parsed.verdict = LineVerdict::Comment;
        return parsed;
    }

    // Only the first fields can mean anything: the letter, the number and
    // the values. A field beyond the last TAB is empty.
    constexpr int kUsedFields = kMaxRecordFields;
    QStringView fields[kUsedFields];
    int fieldCount = 0;
    for (qsizetype start = 0; fieldCount < kUsedFields;) {
        const qsizetype tab = trimmed.indexOf(QLatin1Char('\t'), start);
        fields[fieldCount++] = trimmed.mid(start, (tab < 0 ? trimmed.size() : tab) - start);
        if (tab < 0)
            break;
        start = tab + 1;
    }
    auto fieldAt = [&](int i) { return i < fieldCount ? fields[i].toString() : QString(); };
    parsed.letter = fields[0].toString();
    parsed.verdict = LineVerdict::UnknownLetter;

    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        if (fields[0].size() != 1 || fields[0].at(0) != QLatin1Char(format.letter))
            continue;
        // An unsigned decimal numeral with white space around it allowed;
        // anything else, negative numbers and overflow included, reads as 0.
        bool ok = false;
        const quint32 number = fieldCount > 1 ? fields[1].toUInt(&ok) : 0;
        parsed.number = ok ? number : 0;
        parsed.numberIsNumeral = ok;
        parsed.numberText = fieldAt(1);
        parsed.table = format.table;
        if (parsed.number < format.firstNumber || parsed.number - format.firstNumber >= quint32(format.rows)) {
            parsed.verdict = LineVerdict::NumberOutOfRange;
            return parsed;
        }
        parsed.verdict = LineVerdict::Record;
        parsed.row = int(parsed.number - format.firstNumber);
        parsed.cells.reserve(format.cellCount);
        for (int i = 0; i < format.cellCount; ++i)
            parsed.cells.append({format.cells[i].column, fieldAt(format.cells[i].field)});
        return parsed;
    }
    return parsed;
}

bool parseProgramLine(const QString &line, DocumentCells &cells)
{
    const ParsedLine parsed = parseLine(line);
    if (parsed.verdict == LineVerdict::Record) {
        for (const RecordCell &cell : parsed.cells)
            cells.setCellText(parsed.table, parsed.row, cell.column, cell.text);
    }
    return parsed.verdict != LineVerdict::Empty;
}

QString readRawLine(QIODevice &device, QTextCodec *codec)
{
    // At most kMaxLineBytes of a line are kept; the rest of it is passed over.
    // readLine() keeps one byte of its limit for a terminating zero.
    QByteArray bytes = device.readLine(kMaxLineBytes + 2);
    if (bytes.size() > kMaxLineBytes && !bytes.endsWith('\n')) {
        bytes.truncate(kMaxLineBytes);
        char skipped[4096];
        for (;;) {
            const qint64 got = device.readLine(skipped, sizeof skipped);
            if (got <= 0 || skipped[got - 1] == '\n')
                break;
        }
    }
    QByteArray line;
    appendWithoutCarriageReturns(line, bytes.constData(), bytes.size());
    if (!line.isEmpty() && !line.endsWith('\n'))
        line.append('\n');
    QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
    return codec->toUnicode(line.constData(), int(line.size()), &state);
}

void readProgramLines(QIODevice &device, QTextCodec *codec, const ProgramLineHandler &take)
{
    ProgramLineReader lines(device, codec);
    ProgramLine line;
    while (lines.next(&line.text)) {
        line.number = lines.lineNumber();
        line.cut = lines.lineWasCut();
        take(line);
    }
}

bool readProgramFileLines(const QString &path, QTextCodec *codec, const ProgramLineHandler &take, QString *error)
{
    QFile file(path);
    if (!openProgramFile(file, error))
        return false;
    readProgramLines(file, codec, take);
    return true;
}

void readProgram(QIODevice &device, QTextCodec *codec, DocumentCells &cells)
{
    readProgramLines(device, codec, [&](const ProgramLine &line) {
        if (!line.text.isEmpty())
            parseProgramLine(line.text, cells);
    });
}

bool readProgramFile(const QString &path, QTextCodec *codec, DocumentCells &cells, QString *error)
{
    return readProgramFileLines(path, codec, [&](const ProgramLine &line) {
        if (!line.text.isEmpty())
            parseProgramLine(line.text, cells);
    }, error);
}

} // namespace tarvo
