#include "documentcells.h"
#include "encodings.h"
#include "linedecoder.h"
#include "programlinereader.h"
#include "programreader.h"
#include "programwriter.h"
#include "sampledocument.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <sys/stat.h>

using namespace tarvo;

namespace {

QTextCodec *latin1() { return QTextCodec::codecForName("ISO-8859-1"); }

DocumentData readBytes(const QByteArray &bytes, QTextCodec *codec = latin1())
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    DocumentData document;
    readProgram(buffer, codec, document);
    return document;
}

// Applies one line to a document that has every cell set to "old".
DocumentData afterLine(const QString &line)
{
    DocumentData document = testsupport::everyCellHolding(QStringLiteral("old"));
    parseProgramLine(line, document);
    return document;
}

DocumentData untouched() { return afterLine(QString()); }

// Cells that see every change, as the editor's tables do: a log of every
// text set, in order.
class ChangeLog : public DocumentData
{
public:
    bool seesEveryChange() const override { return true; }
    void setCellText(DocTable table, int row, int column, const QString &text) override
    {
        log << QStringLiteral("%1.%2.%3=%4").arg(int(table)).arg(row).arg(column).arg(text);
        DocumentData::setCellText(table, row, column, text);
    }
    QStringList log;
};

} // namespace

class TestProgramReader : public QObject
{
    Q_OBJECT

private slots:
    void parameterRecords()
    {
        QCOMPARE(afterLine(QStringLiteral("S\t5\t12")).cellText(DocTable::Params, 4, col::ParamValue),
                 QStringLiteral("12"));
        QCOMPARE(afterLine(QStringLiteral("S\t5")).cellText(DocTable::Params, 4, col::ParamValue), QString());
        QCOMPARE(afterLine(QStringLiteral("S\t007\tx")).cellText(DocTable::Params, 6, col::ParamValue),
                 QStringLiteral("x"));
        QCOMPARE(afterLine(QStringLiteral("S\t26\tlast")).cellText(DocTable::Params, 25, col::ParamValue),
                 QStringLiteral("last"));
        for (const char *line : {"S\t27\tx", "S\t0\tx", "S\tabc\tx", "S\t-1\tx", "S\t4294967297\tx", "s\t1\t5",
                                 "S \t1\tx", "SS\t1\tx"})
            QVERIFY2(afterLine(QString::fromLatin1(line)) == untouched(), line);
    }

    void departmentRecords()
    {
        const DocumentData full = afterLine(QStringLiteral("D\t3\tTea\tB\t2.50\t2"));
        QCOMPARE(full.cellText(DocTable::Depts, 2, col::DeptName), QStringLiteral("Tea"));
        QCOMPARE(full.cellText(DocTable::Depts, 2, col::DeptTax), QStringLiteral("B"));
        QCOMPARE(full.cellText(DocTable::Depts, 2, col::DeptPrice), QStringLiteral("2.50"));
        QCOMPARE(full.cellText(DocTable::Depts, 2, col::DeptDigits), QStringLiteral("2"));

        const DocumentData short_ = afterLine(QStringLiteral("D\t3\tTea"));
        QCOMPARE(short_.cellText(DocTable::Depts, 2, col::DeptName), QStringLiteral("Tea"));
        QCOMPARE(short_.cellText(DocTable::Depts, 2, col::DeptTax), QString());
        QCOMPARE(short_.cellText(DocTable::Depts, 2, col::DeptPrice), QString());
        QCOMPARE(short_.cellText(DocTable::Depts, 2, col::DeptDigits), QString());
        QCOMPARE(short_.cellText(DocTable::Depts, 3, col::DeptName), QStringLiteral("old"));

        // Values the editors would refuse are taken as they are.
        QCOMPARE(afterLine(QStringLiteral("D\t50\tX\tA\tabc\t-5")).cellText(DocTable::Depts, 49, col::DeptPrice),
                 QStringLiteral("abc"));
        QVERIFY(afterLine(QStringLiteral("D\t51\tX")) == untouched());
        // Extra fields are ignored.
        QCOMPARE(afterLine(QStringLiteral("D\t1\tA\tB\tC\tD\tE\tF")).cellText(DocTable::Depts, 0, col::DeptDigits),
                 QStringLiteral("D"));
    }

    void headerLineRecords()
    {
        QCOMPARE(afterLine(QStringLiteral("H\t8\tBye")).cellText(DocTable::Lines, 7, col::LineText),
                 QStringLiteral("Bye"));
        QCOMPARE(afterLine(QStringLiteral("H\t1\t")).cellText(DocTable::Lines, 0, col::LineText), QString());
        QVERIFY(afterLine(QStringLiteral("H\t9\tx")) == untouched());
    }

    void commentRecords()
    {
        for (const char *line : {"C\t0\tHello", "C\t\tHello", "C\tx\tHello", "C\t000\tHello"})
            QCOMPARE(afterLine(QString::fromLatin1(line)).cellText(DocTable::Comments, 0, col::CommentText),
                     QStringLiteral("Hello"));
        QVERIFY(afterLine(QStringLiteral("C\t1\tHello")) == untouched());
        QCOMPARE(afterLine(QStringLiteral("C")).cellText(DocTable::Comments, 0, col::CommentText), QString());
    }

    void paymentRecords()
    {
        const DocumentData document = afterLine(QStringLiteral("Y\t4\tCard\t10.00\t2"));
        QCOMPARE(document.cellText(DocTable::Payments, 3, col::PaymentName), QStringLiteral("Card"));
        QCOMPARE(document.cellText(DocTable::Payments, 3, col::PaymentValue), QStringLiteral("10.00"));
        QCOMPARE(document.cellText(DocTable::Payments, 3, col::PaymentIndex), QStringLiteral("2"));
        QVERIFY(afterLine(QStringLiteral("Y\t5\tCard\t1\t1")) == untouched());
    }

    void trimmingAndComments()
    {
        QCOMPARE(afterLine(QStringLiteral(" \t S\t1\tvalue  \t\r\n")).cellText(DocTable::Params, 0, col::ParamValue),
                 QStringLiteral("value"));
        // Inside the line white space stays.
        QCOMPARE(afterLine(QStringLiteral("H\t1\t  two  words\tmore")).cellText(DocTable::Lines, 0, col::LineText),
                 QStringLiteral("  two  words"));
        QVERIFY(afterLine(QStringLiteral("\";S\t1\tx")) == untouched());
        QVERIFY(afterLine(QStringLiteral("   \";\"")) == untouched());
        // A quote without a semicolon is no comment, and no letter either.
        QVERIFY(afterLine(QStringLiteral("\"S\t1\tx")) == untouched());
    }

    void verdicts()
    {
        QCOMPARE(parseLine(QStringLiteral(" \t\r\n")).verdict, LineVerdict::Empty);
        QCOMPARE(parseLine(QStringLiteral("\";x")).verdict, LineVerdict::Comment);
        QCOMPARE(parseLine(QStringLiteral("X\t1")).verdict, LineVerdict::UnknownLetter);
        const ParsedLine bad = parseLine(QStringLiteral("S\tfive\t1"));
        QCOMPARE(bad.verdict, LineVerdict::NumberOutOfRange);
        QVERIFY(!bad.numberIsNumeral);
        QCOMPARE(parseLine(QStringLiteral("S\t27\t1")).verdict, LineVerdict::NumberOutOfRange);
        QVERIFY(parseLine(QStringLiteral("S\t27\t1")).numberIsNumeral);
        DocumentData document;
        QVERIFY(!parseProgramLine(QStringLiteral("  "), document));
        QVERIFY(parseProgramLine(QStringLiteral("garbage"), document));
    }

    void lineEnds()
    {
        const QByteArray crlf = "S\t1\ta\r\nS\t2\tb\r\n";
        const QByteArray lf = "S\t1\ta\nS\t2\tb";
        QVERIFY(readBytes(crlf) == readBytes(lf));
        QCOMPARE(readBytes(lf).cellText(DocTable::Params, 1, col::ParamValue), QStringLiteral("b"));

        // CR alone ends no line: the file is one line, taken by its first record...
        const DocumentData crOnly = readBytes("S\t1\ta\rS\t2\tb\r");
        QCOMPARE(crOnly.cellText(DocTable::Params, 0, col::ParamValue), QStringLiteral("aS"));
        // ...and a comment first hides the whole file.
        QVERIFY(readBytes("\";x\"\rS\t1\ta\r") == DocumentData());
    }

    void readRawLineDropsEveryCarriageReturn()
    {
        QBuffer buffer;
        buffer.setData("a\rb\r\nlast");
        buffer.open(QIODevice::ReadOnly);
        QCOMPARE(readRawLine(buffer, latin1()), QStringLiteral("ab\n"));
        QCOMPARE(readRawLine(buffer, latin1()), QStringLiteral("last\n"));
        QVERIFY(buffer.atEnd());
        QCOMPARE(readRawLine(buffer, latin1()), QString());
    }

    // The block reader gives the same lines as the line-at-a-time reader,
    // also where lines and CR LF pairs straddle its blocks.
    void blockReaderMatchesLineReader()
    {
        QByteArray bytes;
        for (int i = 0; i < 3000; ++i) {
            bytes += "H\t1\t" + QByteArray(i * 37 % 300, 'x') + (i % 3 ? "\r\n" : "\n");
            if (i % 500 == 0)
                bytes += QByteArray(70000, 'y') + "\r\r\n"; // longer than a block
        }
        bytes += "last\r";
        QBuffer a(&bytes);
        a.open(QIODevice::ReadOnly);
        QStringList expected;
        while (!a.atEnd())
            expected << readRawLine(a, latin1());
        QBuffer b(&bytes);
        b.open(QIODevice::ReadOnly);
        ProgramLineReader lines(b, latin1());
        QStringList got;
        QString line;
        while (lines.next(&line))
            got << line;
        QCOMPARE(got.size(), expected.size());
        QCOMPARE(got, expected);
        QCOMPARE(lines.lineNumber(), qint64(expected.size()));
        QCOMPARE(got.last(), QStringLiteral("last\n"));
    }

    void lineDecoderAgreesWithItsCodec()
    {
        QByteArray everyByte;
        for (int b = 1; b < 256; ++b)
            everyByte += char(b);
        for (int i = 0; i < kEncodingCount; ++i) {
            QTextCodec *codec = codecForEncoding(i);
            QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
            QCOMPARE(LineDecoder(codec).decode(everyByte), codec->toUnicode(everyByte.constData(), 255, &state));
        }
        const QByteArray cyrillic = QStringLiteral("Вода ☕").toUtf8();
        QCOMPARE(LineDecoder(QTextCodec::codecForName("UTF-8")).decode(cyrillic), QStringLiteral("Вода ☕"));
    }

    // Records are taken apart on their bytes where the code page allows;
    // what comes out must be what the text of the same lines gives.
    void byteReaderAgreesWithTextReader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("codec");
        const QByteArray sample = "\";Program\"\r\nS\t1\t7\r\nD\t1\tВода\tБ\t1.20\t2\r\nH\t1\tАВТОМАТ\r\n"
                                  "C\t0\tСклад\r\nY\t1\tВ брой\t1.00\t0\r\n";
        const QByteArray cp1251 = QTextCodec::codecForName("windows-1251")->fromUnicode(QString::fromUtf8(sample));
        QTest::newRow("written file, CP1251") << cp1251 << QByteArray("windows-1251");
        QTest::newRow("written file, UTF-8") << sample << QByteArray("UTF-8");
        QTest::newRow("numbers the bytes leave to the text")
            << QByteArray("S\t+2\ta\nS\t 3 \tb\nS\t004\tc\nS\t0000000005\td\nS\t4294967297\te\nS\t-0\tf\n"
                          "S\t\t g\nC\t00\th\nC\t1\ti\nY\t5\tj\nD\t0\tk\n") << QByteArray("ISO-8859-1");
        QTest::newRow("letters") << QByteArray("s\t1\ta\nSS\t1\tb\n\xD3\t1\tc\nS 1\td\nS\nS\t\n\tS\t2\te\n")
                                 << QByteArray("windows-1251");
        QTest::newRow("a text record after a byte record of the same row, and before")
            << QByteArray("S\t1\tbytes\nS\t+1\ttext\nS\t+2\ttext\nS\t2\tbytes\n") << QByteArray("ISO-8859-1");
        QTest::newRow("CR bytes inside lines and at the end")
            << QByteArray("S\t1\ta\rb\r\nS\t2\tc\r\r\nS\t3\r\td\nS\t4\te\r") << QByteArray("ISO-8859-1");
        QTest::newRow("fields missing and beyond the sixth")
            << QByteArray("D\t1\nD\t2\t\nD\t3\tn\tt\t1.00\t2\textra\tmore\nY\t1\tname\nD\t4\t\t\t\t\t\t\n")
            << QByteArray("ISO-8859-1");
        QTest::newRow("white space and comments")
            << QByteArray(" \tS\t1\tv \t\r\n\";S\t2\tx\n  \";\n\"S\t3\ty\n\r\n\t\n") << QByteArray("ISO-8859-1");
        QTest::newRow("bytes no character of the code page") << QByteArray("H\t1\t\x98\tx\nH\t2\ta\x98" "b\n")
                                                              << QByteArray("windows-1251");
        QTest::newRow("byte order marks, UTF-8")
            << QByteArray("\xEF\xBB\xBFS\t1\ta\nH\t1\t\xEF\xBB\xBFx\nD\t1\tn\t\xEF\xBB\xBF\t\xEF\xBB\xBF" "1\n \xEF\xBB\xBFS\t2\tb\n"
                          "Y\t4\t\xEF\xBB\xBF\xEF\xBB\xBF\t1\x03" "C\n")
            << QByteArray("UTF-8");
        QTest::newRow("broken UTF-8 beside a TAB") << QByteArray("H\t1\t\xE2\x82\tx\nH\t2\t\xD0\nH\t3\t\x82" "a\n")
                                                   << QByteArray("UTF-8");
        QByteArray straddling;
        for (int i = 0; i < 40; ++i)
            straddling += "H\t" + QByteArray::number(i % 8 + 1) + "\t" + QByteArray(i * 4099 % 70000, 'x') + "\r\n";
        QTest::newRow("lines across blocks") << straddling << QByteArray("ISO-8859-1");
        QTest::newRow("a line cut at the limit")
            << QByteArray("H\t1\t" + QByteArray(kMaxLineBytes, 'x') + "\nS\t1\t" + QByteArray(kMaxLineBytes - 5, 'y')
                          + "\nH\t2\tz\n")
            << QByteArray("ISO-8859-1");
    }

    void byteReaderAgreesWithTextReader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, codec);
        QTextCodec *textCodec = QTextCodec::codecForName(codec);
        QVERIFY(textCodec);

        // The text path, a line at a time.
        QBuffer asText(&bytes);
        asText.open(QIODevice::ReadOnly);
        DocumentData expected = testsupport::everyCellHolding(QStringLiteral("old"));
        ChangeLog expectedChanges;
        QList<ParsedLine> expectedLines;
        while (!asText.atEnd()) {
            const QString line = readRawLine(asText, textCodec);
            parseProgramLine(line, expected);
            parseProgramLine(line, expectedChanges);
            expectedLines << parseLine(line);
        }

        DocumentData got = testsupport::everyCellHolding(QStringLiteral("old"));
        QBuffer whole(&bytes);
        whole.open(QIODevice::ReadOnly);
        readProgram(whole, textCodec, got);
        QVERIFY(got == expected);

        // Cells that see every change are given every record, in file order.
        ChangeLog changes;
        whole.seek(0);
        readProgram(whole, textCodec, changes);
        QCOMPARE(changes.log, expectedChanges.log);

        QBuffer asBytes(&bytes);
        asBytes.open(QIODevice::ReadOnly);
        QList<ParsedLine> gotLines;
        readParsedLines(asBytes, textCodec, [&](const ParsedProgramLine &line) { gotLines << line.parsed; });
        QCOMPARE(gotLines.size(), expectedLines.size());
        for (int i = 0; i < gotLines.size(); ++i) {
            const ParsedLine &a = gotLines.at(i);
            const ParsedLine &b = expectedLines.at(i);
            QCOMPARE(int(a.verdict), int(b.verdict));
            QCOMPARE(int(a.table), int(b.table));
            QCOMPARE(a.row, b.row);
            QCOMPARE(a.number, b.number);
            QCOMPARE(a.numberIsNumeral, b.numberIsNumeral);
            QCOMPARE(a.letter, b.letter);
            QCOMPARE(a.numberText, b.numberText);
            QCOMPARE(a.cells.size(), b.cells.size());
            for (int c = 0; c < a.cells.size(); ++c) {
                QCOMPARE(a.cells.at(c).column, b.cells.at(c).column);
                QCOMPARE(a.cells.at(c).text, b.cells.at(c).text);
            }
        }
    }

    void laterRecordWins()
    {
        const DocumentData document = readBytes("S\t2\tfirst\r\nS\t2\tsecond\r\nD\t1\tA\r\nD\t1\tB\tT\r\n");
        QCOMPARE(document.cellText(DocTable::Params, 1, col::ParamValue), QStringLiteral("second"));
        QCOMPARE(document.cellText(DocTable::Depts, 0, col::DeptName), QStringLiteral("B"));
        QCOMPARE(document.cellText(DocTable::Depts, 0, col::DeptTax), QStringLiteral("T"));
    }

    void multiByteSystemCodePageDecodesWholeLines()
    {
        QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
        const DocumentData document = readBytes(QStringLiteral("D\t1\tВода\tА\r\nH\t1\tЧай ☕\r\n").toUtf8(), utf8);
        QCOMPARE(document.cellText(DocTable::Depts, 0, col::DeptName), QStringLiteral("Вода"));
        QCOMPARE(document.cellText(DocTable::Depts, 0, col::DeptTax), QStringLiteral("А"));
        QCOMPARE(document.cellText(DocTable::Lines, 0, col::LineText), QStringLiteral("Чай ☕"));
    }

    void cp1251ByteC0IsCyrillicA()
    {
        const DocumentData document = readBytes("H\t1\t\xC0\r\n", QTextCodec::codecForName("windows-1251"));
        QCOMPARE(document.cellText(DocTable::Lines, 0, col::LineText), QString(QChar(0x0410)));
    }

    void writtenDocumentReadsBack()
    {
        DocumentData document = testsupport::sampleDocument();
        document.setCellText(DocTable::Depts, 9, col::DeptName, QStringLiteral("Juice"));
        document.setCellText(DocTable::Depts, 9, col::DeptPrice, QStringLiteral("1.5"));
        document.setCellText(DocTable::Comments, 0, col::CommentText, QStringLiteral("fleet 7"));
        const QByteArray bytes = programFileBytes(document, latin1(), QDateTime::currentDateTime());
        QVERIFY(readBytes(bytes) == document);
    }

    void garbageNeverReachesCellsOutsideTheDocument()
    {
        QByteArray garbage;
        quint32 seed = 12345;
        for (int i = 0; i < 200000; ++i) {
            seed = seed * 1103515245u + 12345u;
            const char pick[] = "SDHCY\t\t\t\r\n0123456789 -+x\"";
            garbage += pick[(seed >> 16) % (sizeof(pick) - 1)];
        }
        const DocumentData document = readBytes(garbage);
        QCOMPARE(document.strayWrites(), 0);
    }

    // Only a regular file is read; nothing named as a file makes the reader
    // wait for a writer or read for ever.
    void unopenableFilesFail_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("error");
        QTest::newRow("missing") << QStringLiteral("missing") << QStringLiteral("No such file or directory");
        QTest::newRow("directory") << QStringLiteral("directory") << QStringLiteral("Is a directory");
        QTest::newRow("FIFO nobody writes") << QStringLiteral("fifo") << QStringLiteral("Not a regular file");
        QTest::newRow("endless device") << QStringLiteral("/dev/zero") << QStringLiteral("Not a regular file");
        QTest::newRow("link to a device") << QStringLiteral("link") << QStringLiteral("Not a regular file");
    }

    void unopenableFilesFail()
    {
        QFETCH(QString, kind);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QString path = dir.filePath(QStringLiteral("file.prg"));
        if (kind == QLatin1String("directory"))
            path = dir.path();
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        else if (kind == QLatin1String("link"))
            QVERIFY(QFile::link(QStringLiteral("/dev/zero"), path));
        else if (kind.startsWith(QLatin1Char('/')))
            path = kind;
        DocumentData document;
        QString said;
        QVERIFY(!readProgramFile(path, latin1(), document, &said));
        QCOMPARE(said, error);
        QVERIFY(document == DocumentData());
    }

    // A line longer than any program file has is cut; the lines around it
    // are read as usual and memory stays bounded.
    void overlongLineIsCutAndItsNeighboursRead()
    {
        const QByteArray bytes = "S\t1\ta\r\nH\t1\t" + QByteArray(3 * kMaxLineBytes, 'x') + "\r\nS\t2\tb\r\n";
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        ProgramLineReader lines(buffer, latin1());
        QString line;
        QList<bool> cut;
        QList<qsizetype> sizes;
        while (lines.next(&line)) {
            cut << lines.lineWasCut();
            sizes << line.size();
        }
        QCOMPARE(cut, (QList<bool>{false, true, false}));
        QCOMPARE(sizes.at(1), kMaxLineBytes + 1); // the cut line, its LF added

        const DocumentData document = readBytes(bytes);
        QCOMPARE(document.cellText(DocTable::Params, 0, col::ParamValue), QStringLiteral("a"));
        QCOMPARE(document.cellText(DocTable::Lines, 0, col::LineText), QString(kMaxLineBytes - 4, QLatin1Char('x')));
        QCOMPARE(document.cellText(DocTable::Params, 1, col::ParamValue), QStringLiteral("b"));

        buffer.seek(0);
        QCOMPARE(readRawLine(buffer, latin1()), QStringLiteral("S\t1\ta\n"));
        QCOMPARE(readRawLine(buffer, latin1()).size(), kMaxLineBytes + 1);
        QCOMPARE(readRawLine(buffer, latin1()), QStringLiteral("S\t2\tb\n"));
    }
};

QTEST_GUILESS_MAIN(TestProgramReader)
#include "tst_programreader.moc"
