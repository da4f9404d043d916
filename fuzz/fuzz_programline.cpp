// One line of a program file through parseLine and parseProgramLine.
//
// Input: one selector byte, then the line. The selector says how the rest
// becomes text: UTF-8, Latin-1 or raw UTF-16 (so that lone surrogates and
// other odd code units reach the parser too).
//
// Properties:
// - applying a line never names a cell outside the document;
// - parseProgramLine is false exactly for the lines that are blank after
//   trimming LF, CR, TAB and space at both ends;
// - a comment is exactly a trimmed line that begins with a double quote and
//   a semicolon, and sets nothing;
// - a record names a row of its table, sets exactly the cells it reports
//   and nothing else, and its texts hold no TAB;
// - white space added around the line changes nothing;
// - the line rebuilt from the record's letter, number and fields parses to
//   the same record.

#include "fuzzsupport.h"

#include "documentformat.h"
#include "parsedline.h"
#include "programreader.h"


#include <cstddef>
#include <cstdint>

using namespace tarvo;
using fuzzsupport::firstDifference;

namespace {

bool isBlank(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t') || c == QLatin1Char(' ');
}

QString trimmedLine(const QString &line)
{
    int begin = 0;
    int end = int(line.size());
    while (begin < end && isBlank(line.at(begin)))
        ++begin;
    while (end > begin && isBlank(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin);
}

QString describe(const ParsedLine &p)
{
    QString text = QStringLiteral("verdict %1 table %2 row %3 number %4 cells")
                       .arg(int(p.verdict))
                       .arg(int(p.table))
                       .arg(p.row)
                       .arg(p.number);
    for (const RecordCell &cell : p.cells)
        text += QStringLiteral(" [%1:%2]").arg(cell.column).arg(cell.text);
    return text;
}

bool sameRecord(const ParsedLine &a, const ParsedLine &b)
{
    if (a.verdict != b.verdict)
        return false;
    if (a.verdict != LineVerdict::Record)
        return true;
    if (a.table != b.table || a.row != b.row || a.cells.size() != b.cells.size())
        return false;
    for (int i = 0; i < a.cells.size(); ++i) {
        if (a.cells.at(i).column != b.cells.at(i).column || a.cells.at(i).text != b.cells.at(i).text)
            return false;
    }
    return true;
}

QString lineFrom(const uint8_t *data, size_t size)
{
    if (size == 0)
        return QString();
    const uint8_t how = data[0] % 3;
    const char *bytes = reinterpret_cast<const char *>(data + 1);
    const int count = int(size - 1);
    if (how == 0)
        return QString::fromUtf8(bytes, count);
    if (how == 1)
        return QString::fromLatin1(bytes, count);
    return QString(reinterpret_cast<const QChar *>(bytes), count / 2);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Raw UTF-16 needs aligned code units.
    QByteArray aligned(reinterpret_cast<const char *>(data), int(size));
    aligned.append('\0');
    const QString line = lineFrom(reinterpret_cast<const uint8_t *>(aligned.constData()), size);

    const ParsedLine parsed = parseLine(line);
    DocumentData document;
    const bool applied = parseProgramLine(line, document);
    const QString trimmed = trimmedLine(line);

    FUZZ_CHECK(document.strayWrites() == 0, describe(parsed));
    FUZZ_CHECK(applied == !trimmed.isEmpty(), line);
    FUZZ_CHECK((parsed.verdict == LineVerdict::Empty) == trimmed.isEmpty(), describe(parsed));
    FUZZ_CHECK((parsed.verdict == LineVerdict::Comment) == trimmed.startsWith(QLatin1String("\";")),
               describe(parsed));

    DocumentData expected;
    if (parsed.verdict == LineVerdict::Record) {
        FUZZ_CHECK(parsed.row >= 0 && parsed.row < rowCount(parsed.table), describe(parsed));
        FUZZ_CHECK(parsed.letter.size() == 1 && parsed.letter.at(0) == recordLetter(parsed.table),
                   describe(parsed));
        FUZZ_CHECK(trimmed.startsWith(parsed.letter + QLatin1Char('\t')) || trimmed == parsed.letter,
                   describe(parsed));
        FUZZ_CHECK(parsed.cells.size() == tableFormat(parsed.table).cellCount, describe(parsed));
        for (const RecordCell &cell : parsed.cells) {
            FUZZ_CHECK(isDocumentCell(parsed.table, parsed.row, cell.column), describe(parsed));
            FUZZ_CHECK(!cell.text.contains(QLatin1Char('\t')), describe(parsed));
            expected.setCellText(parsed.table, parsed.row, cell.column, cell.text);
        }
    } else {
        FUZZ_CHECK(parsed.cells.isEmpty(), describe(parsed));
    }
    FUZZ_CHECK(document == expected, firstDifference(document, expected));

    // White space around the line is not part of it.
    const ParsedLine padded = parseLine(QStringLiteral(" \t\r") + line + QStringLiteral("\t \r\n"));
    FUZZ_CHECK(sameRecord(parsed, padded), describe(parsed) + QStringLiteral(" / ") + describe(padded));

    // The record said again in the plainest form is the same record. A field
    // past the last one it reads keeps the trim away from its own fields.
    if (parsed.verdict == LineVerdict::Record) {
        QVector<QString> fields(6);
        static const int kFieldOf[][4] = {{2}, {2, 4, 3, 5}, {2}, {2}, {2, 3, 4}};
        int last = 1;
        for (int i = 0; i < parsed.cells.size(); ++i) {
            const int field = kFieldOf[int(parsed.table)][i];
            fields[field] = parsed.cells.at(i).text;
            last = qMax(last, field);
        }
        QString rebuilt = parsed.letter + QLatin1Char('\t') + QString::number(parsed.number);
        for (int f = 2; f <= last; ++f)
            rebuilt += QLatin1Char('\t') + fields.at(f);
        rebuilt += QStringLiteral("\tend");
        const ParsedLine again = parseLine(rebuilt);
        FUZZ_CHECK(sameRecord(parsed, again), describe(parsed) + QStringLiteral(" / ") + describe(again));
    }
    return 0;
}
