#include "programreader.h"

#include "lastrecords.h"
#include "linedecoder.h"
#include "programlinereader.h"
#include "recordscan.h"
#include "savejournal.h"

#include <QFile>
#include <QIODevice>
#include <QTextCodec>

#include <array>

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

// The letters of the five tables as strings made once, so that a record
// read on its bytes shares them instead of making its own.
const QString &letterText(DocTable table)
{
    static const std::array<QString, kTableCount> letters = [] {
        std::array<QString, kTableCount> made;
        for (int t = 0; t < kTableCount; ++t)
            made[t] = recordLetter(tableAt(t));
        return made;
    }();
    return letters[static_cast<int>(table)];
}

// Sets the cells of a record read on its bytes.
void setRecordCells(const RecordBytes &record, const LineDecoder &decoder, DocumentCells &cells)
{
    const TableFormat &format = tableFormat(record.table);
    for (int i = 0; i < format.cellCount; ++i)
        cells.setCellText(record.table, record.row, format.cells[i].column,
                          decoder.decodeField(record.field(format.cells[i].field)));
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

void parseLineBytes(QByteArrayView line, const LineDecoder &decoder, ParsedLine *parsed)
{
    if (!decoder.decodesBytewise()) {
        // Decoded as a whole, line end included, as the text path reads it.
        QByteArray withLineEnd(line.data(), line.size());
        withLineEnd.append('\n');
        *parsed = parseLine(decoder.decode(withLineEnd));
        return;
    }
    const RecordBytes record = scanRecordBytes(line);
    if (record.verdict == ByteVerdict::NeedsText) {
        *parsed = parseLine(decoder.decode(line));
        return;
    }
    // What a fresh ParsedLine holds, keeping the buffers of the last one.
    parsed->verdict = LineVerdict::Empty;
    parsed->table = DocTable::Params;
    parsed->row = -1;
    parsed->number = 0;
    parsed->numberIsNumeral = false;
    parsed->letter.resize(0);
    parsed->numberText.resize(0);
    if (record.verdict == ByteVerdict::Empty || record.verdict == ByteVerdict::Comment) {
        parsed->cells.clear();
        if (record.verdict == ByteVerdict::Comment)
            parsed->verdict = LineVerdict::Comment;
        return;
    }
    const TableFormat &format = tableFormat(record.table);
    parsed->verdict = LineVerdict::Record;
    parsed->table = record.table;
    parsed->row = record.row;
    parsed->number = record.number;
    parsed->numberIsNumeral = true;
    parsed->letter = letterText(record.table);
    decoder.decodeFieldInto(&parsed->numberText, record.field(1));
    parsed->cells.resize(format.cellCount);
    for (int i = 0; i < format.cellCount; ++i) {
        RecordCell &cell = parsed->cells[i];
        cell.column = format.cells[i].column;
        decoder.decodeFieldInto(&cell.text, record.field(format.cells[i].field));
    }
}

ParsedLine parseLineBytes(QByteArrayView line, const LineDecoder &decoder)
{
    ParsedLine parsed;
    parseLineBytes(line, decoder, &parsed);
    return parsed;
}

void applyParsedLine(const ParsedLine &parsed, DocumentCells &cells)
{
    if (parsed.verdict != LineVerdict::Record)
        return;
    for (const RecordCell &cell : parsed.cells)
        cells.setCellText(parsed.table, parsed.row, cell.column, cell.text);
}

bool parseProgramLine(const QString &line, DocumentCells &cells)
{
    const ParsedLine parsed = parseLine(line);
    applyParsedLine(parsed, cells);
    return parsed.verdict != LineVerdict::Empty;
}

QString readRawLine(QIODevice &device, QTextCodec *codec)
{
    // At most kMaxLineBytes of a line are kept; the rest of it is passed
    // over. The line is read in small pieces, so that a short line costs no
    // buffer of the full limit, and decoded as a whole, as ProgramLineReader
    // does.
    QByteArray bytes;
    char piece[4096];
    bool cut = false;
    for (;;) {
        const qint64 got = device.readLine(piece, sizeof piece);
        if (got <= 0)
            break;
        if (!cut) {
            bytes.append(piece, got);
            // Cut unless the line, its LF included, is no longer than the
            // limit and one byte.
            if (bytes.size() > kMaxLineBytes && !(bytes.size() == kMaxLineBytes + 1 && bytes.endsWith('\n'))) {
                bytes.truncate(kMaxLineBytes);
                cut = true;
            }
        }
        if (piece[got - 1] == '\n')
            break;
    }
    QByteArray line;
    appendWithoutCarriageReturns(line, bytes.constData(), bytes.size());
    if (!line.isEmpty() && !line.endsWith('\n'))
        line.append('\n');
    return LineDecoder(codec).decode(line);
}

void readParsedLines(QIODevice &device, QTextCodec *codec, const ParsedLineHandler &take)
{
    ProgramLineReader lines(device, codec);
    ParsedProgramLine line;
    QByteArrayView bytes;
    while (lines.nextBytes(&bytes)) {
        line.number = lines.lineNumber();
        line.cut = lines.lineWasCut();
        parseLineBytes(bytes, lines.decoder(), &line.parsed);
        take(line);
    }
}

bool readParsedProgramFile(const QString &path, QTextCodec *codec, const ParsedLineHandler &take, QString *error)
{
    recoverInterruptedSave(path); // a save in place cut short is made whole first
    QFile file(path);
    if (!openProgramFile(file, error))
        return false;
    readParsedLines(file, codec, take);
    return true;
}

void readProgram(QIODevice &device, QTextCodec *codec, DocumentCells &cells)
{
    ProgramLineReader lines(device, codec);
    const LineDecoder &decoder = lines.decoder();
    const bool everyRecord = cells.seesEveryChange();
    LastRecords last;
    QByteArrayView bytes;
    while (lines.nextBytes(&bytes)) {
        if (decoder.decodesBytewise()) {
            const RecordBytes record = scanRecordBytes(bytes);
            if (record.verdict == ByteVerdict::Record && everyRecord)
                setRecordCells(record, decoder, cells);
            else if (record.verdict == ByteVerdict::Record)
                last.keep(record);
            if (record.verdict != ByteVerdict::NeedsText)
                continue;
        }
        const ParsedLine parsed = parseLineBytes(bytes, decoder);
        if (parsed.verdict == LineVerdict::Record) {
            last.drop(parsed.table, parsed.row);
            applyParsedLine(parsed, cells);
        }
    }
    last.applyTo(cells, decoder);
}

bool readProgramFile(const QString &path, QTextCodec *codec, DocumentCells &cells, QString *error)
{
    recoverInterruptedSave(path); // a save in place cut short is made whole first
    QFile file(path);
    if (!openProgramFile(file, error))
        return false;
    readProgram(file, codec, cells);
    return true;
}

} // namespace tarvo
