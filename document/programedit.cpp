#include "programedit.h"

#include "encodings.h"
#include "linedecoder.h"

#include <QHash>
#include <QSet>
#include <QTextCodec>

#include <map>
#include <vector>

namespace tarvo {

namespace {

// What the edit needs of each line of the file.
struct Line
{
    LineSpan span;
    LineVerdict verdict = LineVerdict::Empty;
    DocTable table = DocTable::Params;
    int row = -1;
    bool section[kTableCount] = {}; // the comment line that opens the table's records
};

using RowKey = std::pair<int, int>; // table, row

// Where a new record of a row goes: after line `after` (-1: at the start),
// following the records of its table in row order, else its section's
// title, else the records of the tables before it; else at the end.
qsizetype placeOfNewRecord(const std::vector<Line> &lines, DocTable table, int row)
{
    // Among the records of its table: after the last one of a lower row,
    // else just before the first one.
    qsizetype firstOfTable = -1;
    qsizetype afterLower = -1;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const Line &line = lines[size_t(i)];
        if (line.verdict != LineVerdict::Record || line.table != table)
            continue;
        if (firstOfTable < 0)
            firstOfTable = i;
        if (line.row < row)
            afterLower = i;
    }
    if (afterLower >= 0)
        return afterLower;
    if (firstOfTable >= 0)
        return firstOfTable - 1;
    // A table without a section of its own goes on in the section before
    // it, after that table's records.
    for (int t = int(table); t >= 0; --t) {
        const DocTable own = tableAt(t);
        qsizetype last = -1;
        if (own != table) {
            for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
                if (lines[size_t(i)].verdict == LineVerdict::Record && lines[size_t(i)].table == own)
                    last = i;
            }
            if (last >= 0)
                return last;
        }
        for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
            if (lines[size_t(i)].section[t])
                return i;
        }
        if (tableFormat(own).section)
            break;
    }
    // After the records of the tables before it, else before those after it.
    qsizetype lastBefore = -1;
    qsizetype firstAfter = -1;
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const Line &line = lines[size_t(i)];
        if (line.verdict != LineVerdict::Record)
            continue;
        if (int(line.table) < int(table))
            lastBefore = i;
        else if (firstAfter < 0)
            firstAfter = i;
    }
    if (lastBefore >= 0)
        return lastBefore;
    if (firstAfter >= 0)
        return firstAfter - 1;
    return qsizetype(lines.size()) - 1;
}

} // namespace

ProgramEdit editProgram(const QByteArray &bytes, QTextCodec *codec, const QList<CellChange> &changes)
{
    ProgramEdit edit;
    QString sections[kTableCount];
    for (int t = 0; t < kTableCount; ++t)
        sections[t] = sectionLine(tableAt(t));

    std::vector<Line> lines;
    DocumentData before;
    const ReadReport report = readProgramSpans(bytes, codec, [&](const LineSpan &span, const LineParts &parts) {
        Line line;
        line.span = span;
        line.verdict = parts.verdict;
        if (parts.verdict == LineVerdict::Record) {
            line.table = parts.table;
            line.row = parts.row;
            applyLine(parts, before);
        }
        lines.push_back(line);
    });
    edit.codec = report.codec;
    edit.notAProgramFile = whyNotAProgramFile(bytes, report);
    // Nothing to edit: an empty file is no program that a cell is set in
    // (build writes a new one).
    if (edit.notAProgramFile == NotAProgramFile::No && bytes.trimmed().isEmpty())
        edit.notAProgramFile = NotAProgramFile::Empty;
    if (edit.notAProgramFile != NotAProgramFile::No) {
        edit.refusal = ProgramEdit::Refusal::NotAProgramFile;
        return edit;
    }
    if (!report.lossless) {
        edit.refusal = ProgramEdit::Refusal::Lossy;
        return edit;
    }
    // Section titles, as the writer writes them, found by their text.
    {
        const LineDecoder decoder(report.codec);
        for (Line &line : lines) {
            if (line.verdict != LineVerdict::Comment)
                continue;
            QString text = decoder.decode(QByteArrayView(bytes).sliced(line.span.start, line.span.textEnd - line.span.start));
            text.remove(QLatin1Char('\r'));
            text = text.trimmed();
            for (int t = 0; t < kTableCount; ++t)
                line.section[t] = !sections[t].isEmpty() && text == sections[t];
        }
    }

    DocumentData after = before;
    std::map<RowKey, bool> touched; // in tab and row order
    for (const CellChange &change : changes) {
        after.setCellText(change.table, change.row, change.column, change.text);
        touched[{int(change.table), change.row}] = true;
    }

    const ProgramTextEncoder encoder(report.codec);
    QHash<qsizetype, QString> replaced;          // line -> its new text
    QSet<qsizetype> removed;
    std::map<qsizetype, QStringList> inserted;    // after line (-1: at the start) -> new lines
    for (const auto &entry : touched) {
        const RowKey &key = entry.first;
        const DocTable table = tableAt(key.first);
        const int row = key.second;
        LeftOutRow left;
        if (rowIsLeftOut(after, table, row, &left))
            edit.leftOut << left;
        const TableFormat &format = tableFormat(table);
        bool same = true;
        for (int i = 0; i < format.cellCount; ++i)
            same = same && before.cellText(table, row, format.cells[i].column) == after.cellText(table, row, format.cells[i].column);
        if (same)
            continue;
        QList<qsizetype> records;
        for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
            if (lines[size_t(i)].verdict == LineVerdict::Record && lines[size_t(i)].table == table
                && lines[size_t(i)].row == row)
                records << i;
        }
        const QString text = recordLine(after, table, row, encoder, &edit.unencodable);
        QList<qsizetype> rewritten;
        if (text.isEmpty()) {
            for (const qsizetype i : records)
                removed.insert(i);
            rewritten = records;
        } else if (!records.isEmpty()) {
            replaced.insert(records.last(), text);
            rewritten << records.last();
        } else {
            inserted[placeOfNewRecord(lines, table, row)] << text;
        }
        // A CR inside a line ends no line for the reader, but it may for
        // whoever wrote the file: what follows it would go with the record.
        for (const qsizetype i : std::as_const(rewritten)) {
            const LineSpan &span = lines[size_t(i)].span;
            if (QByteArrayView(bytes).sliced(span.start, span.textEnd - span.start).contains('\r')) {
                edit.refusal = ProgramEdit::Refusal::LoneCarriageReturn;
                edit.line = span.number;
                return edit;
            }
        }
    }

    // The line end of new lines: that of the line they follow, else the
    // file's first, else CR LF.
    QByteArray fileLineEnd = "\r\n";
    for (const Line &line : lines) {
        if (line.span.end > line.span.textEnd && bytes.at(line.span.end - 1) == '\n') {
            fileLineEnd = bytes.mid(line.span.textEnd, line.span.end - line.span.textEnd);
            break;
        }
    }
    const QByteArray mark = startsWithUtf8ByteOrderMark(bytes) ? QByteArray("\xef\xbb\xbf") : QByteArray();
    QByteArray out;
    out.reserve(bytes.size() + 256);
    auto insertAfter = [&](qsizetype at, const QByteArray &lineEnd, bool lastInFile) {
        const auto found = inserted.find(at);
        if (found == inserted.end())
            return;
        const QStringList &texts = found->second;
        for (qsizetype k = 0; k < texts.size(); ++k) {
            out += encoder.encode(texts.at(k));
            // A file without a final line end keeps going without one.
            if (!(lastInFile && k + 1 == texts.size()))
                out += lineEnd;
        }
    };
    out += mark;
    insertAfter(-1, fileLineEnd, false);
    for (qsizetype i = 0; i < qsizetype(lines.size()); ++i) {
        const LineSpan &span = lines[size_t(i)].span;
        const bool hasLineFeed = span.end > span.textEnd && bytes.at(span.end - 1) == '\n';
        const qsizetype textStart = i == 0 ? span.start + mark.size() : span.start;
        if (!removed.contains(i)) {
            const auto newText = replaced.constFind(i);
            if (newText != replaced.cend())
                out += encoder.encode(*newText);
            else
                out += QByteArrayView(bytes).sliced(textStart, span.textEnd - textStart);
            out += QByteArrayView(bytes).sliced(span.textEnd, span.end - span.textEnd);
        }
        if (hasLineFeed) {
            insertAfter(i, bytes.mid(span.textEnd, span.end - span.textEnd), false);
        } else if (inserted.count(i)) {
            out += fileLineEnd;
            insertAfter(i, fileLineEnd, true);
        }
    }
    edit.bytes = out;
    return edit;
}

} // namespace tarvo
