#include "programreader.h"

#include "linedecoder.h"

#include <QTextCodec>

#include <algorithm>
#include <cstring>

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

// The bytes without any CR: a CR ends no line and is dropped wherever it is.
QByteArray withoutCarriageReturns(const QByteArray &bytes)
{
    if (!bytes.contains('\r'))
        return bytes;
    QByteArray out(bytes.size(), Qt::Uninitialized);
    char *end = std::remove_copy(bytes.cbegin(), bytes.cend(), out.data(), '\r');
    out.truncate(end - out.constData());
    return out;
}

} // namespace

int LineParts::column(int i) const
{
    return tableFormat(table).cells[i].column;
}

LineParts takeLineApart(QStringView line)
{
    LineParts parts;
    const QStringView trimmed = trimLine(line);
    if (trimmed.isEmpty())
        return parts;
    if (trimmed.startsWith(QLatin1String("\";"))) {
        parts.verdict = LineVerdict::Comment;
        return parts;
    }

    // Only the first fields can mean anything: the letter, the number and
    // the values. A field beyond the last TAB is empty.
    QStringView fields[kMaxRecordFields];
    int fieldCount = 0;
    for (qsizetype start = 0; fieldCount < kMaxRecordFields;) {
        const qsizetype tab = trimmed.indexOf(QLatin1Char('\t'), start);
        fields[fieldCount++] = trimmed.mid(start, (tab < 0 ? trimmed.size() : tab) - start);
        if (tab < 0)
            break;
        start = tab + 1;
    }
    parts.letter = fields[0];
    parts.verdict = LineVerdict::UnknownLetter;
    if (fields[0].size() != 1)
        return parts;

    for (int t = 0; t < kTableCount; ++t) {
        const TableFormat &format = tableFormat(tableAt(t));
        if (fields[0].at(0) != QLatin1Char(format.letter))
            continue;
        // An unsigned decimal numeral with white space around it allowed;
        // anything else, negative numbers and overflow included, reads as 0.
        bool ok = false;
        const quint32 number = fieldCount > 1 ? fields[1].toUInt(&ok) : 0;
        parts.number = ok ? number : 0;
        parts.numberIsNumeral = ok;
        if (fieldCount > 1)
            parts.numberText = fields[1];
        parts.table = format.table;
        if (parts.number < format.firstNumber || parts.number - format.firstNumber >= quint32(format.rows)) {
            parts.verdict = LineVerdict::NumberOutOfRange;
            return parts;
        }
        parts.verdict = LineVerdict::Record;
        parts.row = int(parts.number - format.firstNumber);
        parts.cellCount = format.cellCount;
        for (int i = 0; i < format.cellCount; ++i) {
            const int field = format.cells[i].field;
            if (field < fieldCount)
                parts.cells[i] = fields[field];
        }
        return parts;
    }
    return parts;
}

void applyLine(const LineParts &line, DocumentCells &cells)
{
    if (line.verdict != LineVerdict::Record)
        return;
    for (int i = 0; i < line.cellCount; ++i)
        cells.setCellText(line.table, line.row, line.column(i), line.cells[i].toString());
}

ReadReport readProgramLines(const QByteArray &bytes, QTextCodec *codec, const LineHandler &take)
{
    const LineDecoder decoder(codec);
    ReadReport report;
    report.lossless = decoder.isLossless(bytes);
    const QByteArray lines = withoutCarriageReturns(bytes);
    QString text;
    qint64 number = 0;
    for (qsizetype start = 0; start < lines.size();) {
        const char *lf = static_cast<const char *>(
            std::memchr(lines.constData() + start, '\n', size_t(lines.size() - start)));
        // Each line is decoded with its LF, so that a character cut short
        // at the end of the line is no character.
        const qsizetype end = lf ? lf - lines.constData() + 1 : lines.size();
        if (lf) {
            decoder.decode(QByteArrayView(lines.constData() + start, end - start), &text);
        } else {
            QByteArray last(lines.constData() + start, end - start);
            last.append('\n');
            decoder.decode(last, &text);
        }
        start = end;
        const LineParts parts = takeLineApart(text);
        switch (parts.verdict) {
        case LineVerdict::Empty: break;
        case LineVerdict::Comment: ++report.comments; break;
        case LineVerdict::Record: ++report.records; break;
        case LineVerdict::UnknownLetter:
        case LineVerdict::NumberOutOfRange: ++report.otherLines; break;
        }
        take(++number, parts);
    }
    return report;
}

ReadReport readProgram(const QByteArray &bytes, QTextCodec *codec, DocumentCells &cells)
{
    return readProgramLines(bytes, codec, [&](qint64, const LineParts &line) { applyLine(line, cells); });
}

} // namespace tarvo
