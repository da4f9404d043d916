// A whole program file through the reader, in one of several encodings, and
// what the reader made of it back through the writer.
//
// Input: a byte that picks the encoding, a byte that is not used (it once
// set how a pipe handed the file out; the saved inputs keep it), then the
// file.
//
// Properties:
// - reading never names a cell outside the document;
// - what the read reports adds up: no more records, comments and other
//   lines than the file has lines;
// - saving the document and reading the file back gives exactly what the
//   format promises: the rows the writer writes, TAB, CR and LF in fields
//   turned into spaces, characters the code page cannot hold replaced, and
//   white space at the end of each line trimmed;
// - from then on writing and reading is a fixed point, byte for byte;
// - writing through a device gives the same bytes as programFileBytes.

#include "fuzzsupport.h"

#include "documentformat.h"
#include "programreader.h"
#include "programwriter.h"

#include <QDateTime>
#include <QTextCodec>

#include <cstddef>
#include <cstdint>

using namespace tarvo;
using fuzzsupport::firstDifference;

namespace {

const QDateTime &stamp()
{
    static const QDateTime when(QDate(2024, 1, 15), QTime(10, 30));
    return when;
}

bool isBlank(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t') || c == QLatin1Char(' ');
}

// One field as it comes back from the file: separators turned to spaces,
// then through the code page and back.
QString throughFile(QString text, QTextCodec *codec)
{
    for (QChar &c : text) {
        if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            c = QLatin1Char(' ');
    }
    QTextCodec::ConverterState out(QTextCodec::IgnoreHeader);
    const QByteArray bytes = codec->fromUnicode(text.constData(), int(text.size()), &out);
    QTextCodec::ConverterState in(QTextCodec::IgnoreHeader);
    return codec->toUnicode(bytes.constData(), int(bytes.size()), &in);
}

// Puts one written record into `into` as the reader will see it: the line's
// trailing white space goes, fields past the end read as empty.
void expectRecord(DocumentData &into, DocTable table, int row, const QVector<int> &columns,
                  const DocumentData &from, QTextCodec *codec)
{
    QString line = QStringLiteral("X\t1");
    for (int column : columns)
        line += QLatin1Char('\t') + throughFile(from.cellText(table, row, column), codec);
    int end = int(line.size());
    while (end > 0 && isBlank(line.at(end - 1)))
        --end;
    const QStringList fields = line.left(end).split(QLatin1Char('\t'));
    for (int i = 0; i < columns.size(); ++i)
        into.setCellText(table, row, columns.at(i), i + 2 < fields.size() ? fields.at(i + 2) : QString());
}

// What the document `from` reads back as once saved.
DocumentData expectedAfterSave(const DocumentData &from, QTextCodec *codec)
{
    DocumentData expected;
    for (int r = 0; r < rowCount(DocTable::Params); ++r) {
        if (!from.cellText(DocTable::Params, r, col::ParamValue).isEmpty())
            expectRecord(expected, DocTable::Params, r, {col::ParamValue}, from, codec);
    }
    for (int r = 0; r < rowCount(DocTable::Depts); ++r) {
        if (!from.cellText(DocTable::Depts, r, col::DeptName).isEmpty())
            expectRecord(expected, DocTable::Depts, r,
                         {col::DeptName, col::DeptTax, col::DeptPrice, col::DeptDigits}, from, codec);
    }
    for (int r = 0; r < rowCount(DocTable::Lines); ++r)
        expectRecord(expected, DocTable::Lines, r, {col::LineText}, from, codec);
    if (!from.cellText(DocTable::Comments, 0, col::CommentText).isEmpty())
        expectRecord(expected, DocTable::Comments, 0, {col::CommentText}, from, codec);
    for (int r = 0; r < rowCount(DocTable::Payments); ++r) {
        if (!from.cellText(DocTable::Payments, r, col::PaymentName).isEmpty()
            && !from.cellText(DocTable::Payments, r, col::PaymentValue).isEmpty())
            expectRecord(expected, DocTable::Payments, r,
                         {col::PaymentName, col::PaymentValue, col::PaymentIndex}, from, codec);
    }
    return expected;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    QTextCodec *codec = fuzzsupport::codecFor(data[0]);
    const QByteArray file(reinterpret_cast<const char *>(data + 2), int(size - 2));
    const QString where = QStringLiteral("encoding %1").arg(QLatin1String(fuzzsupport::codecName(data[0])));

    DocumentData read;
    const ReadReport report = readProgram(file, codec, read);
    FUZZ_CHECK(read.strayWrites() == 0, where);
    const qsizetype lines = file.count('\n') + (file.endsWith('\n') ? 0 : 1);
    FUZZ_CHECK(report.records >= 0 && report.comments >= 0 && report.otherLines >= 0, where);
    FUZZ_CHECK(report.records + report.comments + report.otherLines <= lines, where);

    const QByteArray saved = programFileBytes(read, codec, stamp());

    const DocumentData reread = fuzzsupport::readBytes(saved, codec);
    FUZZ_CHECK(reread.strayWrites() == 0, where);
    const DocumentData expected = expectedAfterSave(read, codec);
    FUZZ_CHECK(reread == expected, where + QLatin1Char(' ') + firstDifference(expected, reread));

    const QByteArray savedAgain = programFileBytes(reread, codec, stamp());
    const DocumentData rereadAgain = fuzzsupport::readBytes(savedAgain, codec);
    FUZZ_CHECK(rereadAgain == reread, where + QLatin1Char(' ') + firstDifference(reread, rereadAgain));
    FUZZ_CHECK(programFileBytes(rereadAgain, codec, stamp()) == savedAgain, where);
    return 0;
}
