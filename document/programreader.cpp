#include "programreader.h"

#include "linedecoder.h"
#include "programlinereader.h"
#include "recordscan.h"

#include <QFile>
#include <QIODevice>
#include <QTextCodec>

#include <array>
#include <cstring>
#include <vector>

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

// The last record of every row, kept as bytes until the whole file is read:
// a record sets all cells of its row, so earlier ones never show.
class LastRecords
{
public:
    LastRecords()
    {
        int rows = 0;
        for (int t = 0; t < kTableCount; ++t) {
            m_firstRow[t] = rows;
            rows += rowCount(tableAt(t));
        }
        m_rows.resize(rows);
    }

    void keep(const RecordBytes &record)
    {
        Row &row = m_rows[index(record.table, record.row)];
        const TableFormat &format = tableFormat(record.table);
        row.kept = true;
        qsizetype size = 0;
        for (int i = 0; i < format.cellCount; ++i)
            size += record.field(format.cells[i].field).size();
        row.bytes.resize(size); // keeps its buffer when that is large enough
        char *out = row.bytes.data();
        qsizetype at = 0;
        for (int i = 0; i < format.cellCount; ++i) {
            const QByteArrayView value = record.field(format.cells[i].field);
            row.begin[i] = at;
            if (!value.isEmpty())
                std::memcpy(out + at, value.data(), size_t(value.size()));
            at += value.size();
            row.end[i] = at;
        }
    }

    // A later record of the row was read as text and applied at once.
    void drop(DocTable table, int row) { m_rows[index(table, row)].kept = false; }

    void applyTo(DocumentCells &cells, const LineDecoder &decoder)
    {
        for (int t = 0; t < kTableCount; ++t) {
            const TableFormat &format = tableFormat(tableAt(t));
            for (int r = 0; r < format.rows; ++r) {
                Row &row = m_rows[index(format.table, r)];
                if (!row.kept)
                    continue;
                for (int i = 0; i < format.cellCount; ++i) {
                    const QByteArrayView value(row.bytes.constData() + row.begin[i], row.end[i] - row.begin[i]);
                    cells.setCellText(format.table, r, format.cells[i].column, decoder.decode(value));
                }
                row = Row(); // gives its bytes back before the next row's text is made
            }
        }
    }

private:
    struct Row
    {
        bool kept = false;
        QByteArray bytes;
        qsizetype begin[4] = {};
        qsizetype end[4] = {};
    };

    int index(DocTable table, int row) const { return m_firstRow[static_cast<int>(table)] + row; }

    // The rows of the five tables one after another.
    std::array<int, kTableCount> m_firstRow{};
    std::vector<Row> m_rows;
};

void applyRecord(const ParsedLine &parsed, DocumentCells &cells)
{
    for (const RecordCell &cell : parsed.cells)
        cells.setCellText(parsed.table, parsed.row, cell.column, cell.text);
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

ParsedLine parseLineBytes(QByteArrayView line, const LineDecoder &decoder)
{
    if (!decoder.decodesBytewise()) {
        // Decoded as a whole, line end included, as the text path reads it.
        QByteArray withLineEnd(line.data(), line.size());
        withLineEnd.append('\n');
        return parseLine(decoder.decode(withLineEnd));
    }
    const RecordBytes record = scanRecordBytes(line);
    ParsedLine parsed;
    switch (record.verdict) {
    case ByteVerdict::Empty:
        return parsed;
    case ByteVerdict::Comment:
        parsed.verdict = LineVerdict::Comment;
        return parsed;
    case ByteVerdict::NeedsText:
        return parseLine(decoder.decode(line));
    case ByteVerdict::Record:
        break;
    }
    const TableFormat &format = tableFormat(record.table);
    parsed.verdict = LineVerdict::Record;
    parsed.table = record.table;
    parsed.row = record.row;
    parsed.number = record.number;
    parsed.numberIsNumeral = true;
    parsed.letter = letterText(record.table);
    parsed.numberText = decoder.decode(record.field(1));
    parsed.cells.reserve(format.cellCount);
    for (int i = 0; i < format.cellCount; ++i)
        parsed.cells.append({format.cells[i].column, decoder.decode(record.field(format.cells[i].field))});
    return parsed;
}

bool parseProgramLine(const QString &line, DocumentCells &cells)
{
    const ParsedLine parsed = parseLine(line);
    if (parsed.verdict == LineVerdict::Record)
        applyRecord(parsed, cells);
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

void readParsedLines(QIODevice &device, QTextCodec *codec, const ParsedLineHandler &take)
{
    ProgramLineReader lines(device, codec);
    ParsedProgramLine line;
    QByteArrayView bytes;
    while (lines.nextBytes(&bytes)) {
        line.number = lines.lineNumber();
        line.cut = lines.lineWasCut();
        line.parsed = parseLineBytes(bytes, lines.decoder());
        take(line);
    }
}

bool readParsedProgramFile(const QString &path, QTextCodec *codec, const ParsedLineHandler &take, QString *error)
{
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
    LastRecords last;
    QByteArrayView bytes;
    while (lines.nextBytes(&bytes)) {
        if (decoder.decodesBytewise()) {
            const RecordBytes record = scanRecordBytes(bytes);
            if (record.verdict == ByteVerdict::Record) {
                last.keep(record);
                continue;
            }
            if (record.verdict != ByteVerdict::NeedsText)
                continue;
        }
        const ParsedLine parsed = parseLineBytes(bytes, decoder);
        if (parsed.verdict == LineVerdict::Record) {
            last.drop(parsed.table, parsed.row);
            applyRecord(parsed, cells);
        }
    }
    last.applyTo(cells, decoder);
}

bool readProgramFile(const QString &path, QTextCodec *codec, DocumentCells &cells, QString *error)
{
    QFile file(path);
    if (!openProgramFile(file, error))
        return false;
    readProgram(file, codec, cells);
    return true;
}

} // namespace tarvo
