#include "programreader.h"

#include "encodings.h"
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
    // (A TAB is looked for by hand: QStringView::indexOf costs more to call
    // than a field takes to pass over.)
    const char16_t *chars = trimmed.utf16();
    const qsizetype size = trimmed.size();
    for (qsizetype start = 0; fieldCount < kMaxRecordFields;) {
        qsizetype tab = start;
        while (tab < size && chars[tab] != u'\t')
            ++tab;
        if (tab == size)
            tab = -1;
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

ReadReport readProgramSpans(const QByteArray &bytes, QTextCodec *codec, const SpanHandler &take)
{
    ReadReport report;
    report.codec = readingCodec(bytes, codec);
    const LineDecoder decoder(report.codec);
    report.lossless = decoder.isLossless(bytes);
    QByteArray line;
    QString text;
    LineSpan span;
    for (qsizetype start = 0; start < bytes.size();) {
        const char *lf = static_cast<const char *>(
            std::memchr(bytes.constData() + start, '\n', size_t(bytes.size() - start)));
        span.start = start;
        span.end = lf ? lf - bytes.constData() + 1 : bytes.size();
        span.textEnd = lf ? span.end - 1 : span.end;
        while (span.textEnd > span.start && bytes.at(span.textEnd - 1) == '\r')
            --span.textEnd;
        ++span.number;
        start = span.end;
        // A CR ends no line and is dropped wherever it is. Each line is
        // decoded with its LF, so that a character cut short at the end of
        // the line is no character.
        const QByteArrayView within(bytes.constData() + span.start, span.textEnd - span.start);
        line.resize(within.size());
        char *end = std::remove_copy(within.begin(), within.end(), line.data(), '\r');
        line.truncate(end - line.constData());
        line.append('\n');
        decoder.decode(line, &text);
        const LineParts parts = takeLineApart(text);
        switch (parts.verdict) {
        case LineVerdict::Empty: break;
        case LineVerdict::Comment: ++report.comments; break;
        case LineVerdict::Record: ++report.records; break;
        case LineVerdict::UnknownLetter:
        case LineVerdict::NumberOutOfRange: ++report.otherLines; break;
        }
        take(span, parts);
    }
    return report;
}

ReadReport readProgramLines(const QByteArray &bytes, QTextCodec *codec, const LineHandler &take)
{
    return readProgramSpans(bytes, codec, [&](const LineSpan &span, const LineParts &line) { take(span.number, line); });
}

ReadReport readProgram(const QByteArray &bytes, QTextCodec *codec, DocumentCells &cells)
{
    return readProgramLines(bytes, codec, [&](qint64, const LineParts &line) { applyLine(line, cells); });
}

namespace {

bool isRecordText(const QByteArray &line)
{
    return takeLineApart(QString::fromLatin1(line)).verdict == LineVerdict::Record;
}

// UTF-16 text of letters and digits: every other byte is NUL, or it begins
// with the byte order mark of UTF-16.
bool looksLikeUtf16(const QByteArray &bytes)
{
    if (bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff"))
        return true;
    return bytes.size() >= 4 && bytes.count('\0') * 3 >= bytes.size();
}

// Some piece between CR and LF bytes is a record, and a CR stands alone.
bool hasRecordsBetweenCarriageReturns(const QByteArray &bytes)
{
    bool alone = false;
    for (qsizetype i = bytes.indexOf('\r'); i >= 0 && !alone; i = bytes.indexOf('\r', i + 1))
        alone = i + 1 == bytes.size() || bytes.at(i + 1) != '\n';
    if (!alone)
        return false;
    QByteArray pieces = bytes;
    pieces.replace('\r', '\n');
    const QList<QByteArray> lines = pieces.split('\n');
    return std::any_of(lines.cbegin(), lines.cend(), isRecordText);
}

// Some line is a record once its double quotes are gone.
bool hasQuotedRecords(const QByteArray &bytes)
{
    if (!bytes.contains('"'))
        return false;
    QByteArray text = bytes;
    text.replace('\r', QByteArray());
    const QList<QByteArray> lines = text.split('\n');
    return std::any_of(lines.cbegin(), lines.cend(), [](const QByteArray &line) {
        return line.contains('"') && isRecordText(QByteArray(line).replace('"', QByteArray()));
    });
}

} // namespace

NotAProgramFile whyNotAProgramFile(const QByteArray &bytes, const ReadReport &report)
{
    if (report.records > 0 || bytes.trimmed().isEmpty())
        return NotAProgramFile::No;
    if (looksLikeUtf16(bytes))
        return NotAProgramFile::Utf16;
    if (hasRecordsBetweenCarriageReturns(bytes))
        return NotAProgramFile::CarriageReturnEnds;
    if (hasQuotedRecords(bytes))
        return NotAProgramFile::QuotedLines;
    return report.comments == 0 ? NotAProgramFile::NoRecordOrComment : NotAProgramFile::No;
}

} // namespace tarvo
