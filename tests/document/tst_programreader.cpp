#include "documentcells.h"
#include "encodings.h"
#include "linedecoder.h"
#include "parsedline.h"
#include "programbytes.h"
#include "programreader.h"
#include "programfiles.h"
#include "programwriter.h"
#include "sampledocument.h"

#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <sys/stat.h>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

#include <thread>

using namespace tarvo;

namespace {

QTextCodec *latin1() { return QTextCodec::codecForName("ISO-8859-1"); }

DocumentData readBytes(const QByteArray &bytes, QTextCodec *codec = latin1())
{
    DocumentData document;
    readProgram(bytes, codec, document);
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

bool makeFileOfSize(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

// A read call that goes wrong once, at its first call, in the way a test
// picks.
enum ReadFault { FailEio, FailEstale, FailEagain, Interrupt, Grow, Shrink, Rewrite };
ReadFault g_readFault = FailEio;
int g_readCalls = 0;
QByteArray g_readPath;

ssize_t faultyRead(int fd, void *buffer, size_t size)
{
    if (g_readCalls++ == 0) {
        switch (g_readFault) {
        case FailEio: errno = EIO; return -1;
        case FailEstale: errno = ESTALE; return -1;
        case FailEagain: errno = EAGAIN; return -1;
        case Interrupt: errno = EINTR; return -1;
        case Grow: {
            QFile file(QString::fromLocal8Bit(g_readPath));
            if (file.open(QIODevice::Append))
                file.write("H\t1\tmore\r\n");
            break;
        }
        case Shrink: if (::truncate(g_readPath.constData(), 5) != 0) qFatal("cannot shrink the file under test"); break;
        case Rewrite: {
            QFile file(QString::fromLocal8Bit(g_readPath));
            if (file.open(QIODevice::ReadWrite))
                file.write("S\t1\tother");
            struct timespec times[2] = {{0, UTIME_OMIT}, {12345, 0}};
            ::utimensat(AT_FDCWD, g_readPath.constData(), times, 0);
            break;
        }
        }
    }
    return ::read(fd, buffer, size);
}

// A log of every text set, in order, as the editor's tables see them.
class ChangeLog : public DocumentData
{
public:
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

    void lineDecoderAgreesWithItsCodec()
    {
        QByteArray everyByte;
        for (int b = 1; b < 256; ++b)
            everyByte += char(b);
        for (int i = 0; i < kEncodingCount; ++i) {
            QTextCodec *codec = codecForEncoding(i);
            QTextCodec::ConverterState state(QTextCodec::IgnoreHeader);
            QString expected = codec->toUnicode(everyByte.constData(), 255, &state);
            // A byte a Windows code page leaves undefined comes out of the
            // codec as a C1 control; read, it is the replacement character.
            if (codec->mibEnum() >= 2250 && codec->mibEnum() <= 2258) {
                for (QChar &c : expected) {
                    if (c.unicode() >= 0x80 && c.unicode() <= 0x9f)
                        c = QChar::ReplacementCharacter;
                }
            }
            QCOMPARE(LineDecoder(codec).decode(everyByte), expected);
        }
        const QByteArray cyrillic = QStringLiteral("Вода ☕").toUtf8();
        QCOMPARE(LineDecoder(QTextCodec::codecForName("UTF-8")).decode(cyrillic), QStringLiteral("Вода ☕"));
    }

    // Every record reaches the cells, in file order, whatever cells they are.
    void recordsReachTheCellsInFileOrder()
    {
        ChangeLog changes;
        readProgram("S\t2\tfirst\r\nH\t1\tx\r\nS\t2\tsecond\r\n", latin1(), changes);
        QCOMPARE(changes.log, (QStringList{QStringLiteral("0.1.2=first"), QStringLiteral("2.0.1=x"),
                                           QStringLiteral("0.1.2=second")}));
    }

    // What a read tells about the file beside the document.
    void readReport_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("codec");
        QTest::addColumn<int>("records");
        QTest::addColumn<int>("comments");
        QTest::addColumn<int>("otherLines");
        QTest::addColumn<bool>("lossless");
        QTest::addColumn<int>("notAProgramFile");
        constexpr auto No = NotAProgramFile::No;
        constexpr auto None = NotAProgramFile::NoRecordOrComment;
        QTest::newRow("program file") << QByteArray("\";x\"\r\n\";\"\r\nS\t1\t5\r\n\r\nD\t1\t\xC2\xEE\xE4\xE0\r\n")
                                      << QByteArray("windows-1251") << 2 << 2 << 0 << true << int(No);
        QTest::newRow("no program file") << QByteArray("hello\nworld\nS\t99\tx\n") << QByteArray("ISO-8859-1")
                                         << 0 << 0 << 3 << true << int(None);
        QTest::newRow("byte no character of the code page")
            << QByteArray("H\t1\ta\xA5\r\n") << QByteArray("ISO-8859-3") << 1 << 0 << 0 << false << int(No);
        QTest::newRow("CP1251 read as UTF-8") << QByteArray("H\t1\t\xC2\xEE\xE4\xE0\r\n") << QByteArray("UTF-8")
                                              << 1 << 0 << 0 << false << int(No);
        QTest::newRow("UTF-8 cut short at the end") << QByteArray("H\t1\t\xD0") << QByteArray("UTF-8")
                                                    << 1 << 0 << 0 << false << int(No);
        QTest::newRow("UTF-8 with a byte order mark")
            << QByteArray("\xEF\xBB\xBFS\t1\t\xD0\x92\r\n") << QByteArray("UTF-8") << 1 << 0 << 0 << true << int(No);
        // A UTF-8 byte order mark means UTF-8, whatever code page was chosen.
        QTest::newRow("UTF-8 with a byte order mark, CP1256 chosen")
            << QByteArray("\xEF\xBB\xBF\";x\"\r\nS\t1\t\xD0\x92\r\n") << QByteArray("windows-1256") << 1 << 1 << 0 << true
            << int(No);
        // A byte the code page leaves undefined is no character, whatever
        // the codec makes of it.
        QTest::newRow("byte 0x98 of CP1251") << QByteArray("H\t1\ta\x98\r\n") << QByteArray("windows-1251") << 1 << 0
                                             << 0 << false << int(No);
        QTest::newRow("only comment lines: an empty program")
            << QByteArray("\";x\"\r\n\";\"\r\n") << QByteArray("ISO-8859-1") << 0 << 2 << 0 << true << int(No);
        QTest::newRow("lines that end in CR alone")
            << QByteArray("\";x\"\rS\t1\t5\rH\t1\tA\r") << QByteArray("ISO-8859-1") << 0 << 1 << 0 << true
            << int(NotAProgramFile::CarriageReturnEnds);
        QTest::newRow("lines in double quotes")
            << QByteArray("\";x\"\r\n\"S\t1\t5\"\r\n\"H\"\t\"1\"\t\"A\"\r\n") << QByteArray("ISO-8859-1") << 0 << 1 << 2
            << true << int(NotAProgramFile::QuotedLines);
        QTest::newRow("UTF-16") << QByteArray("\xff\xfe" "S\0\t\0" "1\0\t\0" "5\0\r\0\n\0", 16) << QByteArray("ISO-8859-1")
                                << 0 << 0 << 2 << true << int(NotAProgramFile::Utf16);
    }

    void readReport()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, codec);
        QFETCH(int, records);
        QFETCH(int, comments);
        QFETCH(int, otherLines);
        QFETCH(bool, lossless);
        QFETCH(int, notAProgramFile);
        DocumentData document;
        const ReadReport report = readProgram(bytes, QTextCodec::codecForName(codec), document);
        QCOMPARE(report.records, records);
        QCOMPARE(report.comments, comments);
        QCOMPARE(report.otherLines, otherLines);
        QCOMPARE(report.lossless, lossless);
        QCOMPARE(int(whyNotAProgramFile(bytes, report)), notAProgramFile);
    }

    // Lines are decoded one by one, as they always were: a byte order mark
    // at the start of a line is dropped, one within a field kept; a CR
    // inside a character is dropped before decoding.
    void utf8LinesDecodeByThemselves()
    {
        QTextCodec *utf8 = QTextCodec::codecForName("UTF-8");
        const DocumentData document =
            readBytes("\xEF\xBB\xBFS\t1\ta\nH\t1\t\xEF\xBB\xBFx\n\xEF\xBB\xBFS\t2\tb\nH\t2\t\xD0\r\x92\nH\t3\t\xD0\n", utf8);
        QCOMPARE(document.cellText(DocTable::Params, 0, col::ParamValue), QStringLiteral("a"));
        QCOMPARE(document.cellText(DocTable::Lines, 0, col::LineText), QString(QChar(0xFEFF)) + QLatin1Char('x'));
        QCOMPARE(document.cellText(DocTable::Params, 1, col::ParamValue), QStringLiteral("b"));
        QCOMPARE(document.cellText(DocTable::Lines, 1, col::LineText), QStringLiteral("В"));
        QCOMPARE(document.cellText(DocTable::Lines, 2, col::LineText), QString(QChar::ReplacementCharacter));
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
        // Refused before reading, however large it says it is.
        QTest::newRow("one byte over the limit")
            << QStringLiteral("4194305") << QStringLiteral("it is 4194305 bytes, more than the 4194304 bytes (4 MiB) a program file may have");
        QTest::newRow("sparse 20 GB")
            << QStringLiteral("21474836480") << QStringLiteral("it is 21474836480 bytes, more than the 4194304 bytes (4 MiB) a program file may have");
        // Files of the system that are no files of bytes.
        QTest::newRow("memory of the process") << QStringLiteral("/proc/self/mem") << QStringLiteral("Input/output error");
        QTest::newRow("page map") << QStringLiteral("/proc/self/pagemap") << QStringLiteral("Invalid argument");
        QTest::newRow("status, 0 bytes by its size")
            << QStringLiteral("/proc/self/status")
            << QStringLiteral("it reads as more than the 0 bytes its size says (a file of the system, or one being written)");
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
        else if (kind.at(0).isDigit())
            QVERIFY(makeFileOfSize(path, kind.toLongLong()));
        DocumentData document = testsupport::everyCellHolding(QStringLiteral("old"));
        QString said;
        QVERIFY(!readProgramFile(path, latin1(), document, &said));
        QCOMPARE(said, error);
        QVERIFY(document == testsupport::everyCellHolding(QStringLiteral("old")));
    }

    // A read that fails is a failure, never the end of the file; one that a
    // signal interrupts is made again. A file that changes while it is read
    // is not taken either.
    void failedReadsAreErrors_data()
    {
        QTest::addColumn<int>("how");
        QTest::addColumn<QString>("error"); // empty: the read succeeds
        QTest::newRow("input/output error once") << int(FailEio) << QStringLiteral("Input/output error");
        QTest::newRow("stale file handle once") << int(FailEstale) << QStringLiteral("Stale file handle");
        QTest::newRow("try again once") << int(FailEagain) << QStringLiteral("Resource temporarily unavailable");
        QTest::newRow("interrupted once") << int(Interrupt) << QString();
        QTest::newRow("grows while read")
            << int(Grow) << QStringLiteral("it reads as more than the 11 bytes its size says (a file of the system, or one being written)");
        QTest::newRow("shrinks while read")
            << int(Shrink) << QStringLiteral("it reads as 5 bytes although its size says 11 (a file of the system, or one being written)");
        QTest::newRow("rewritten while read") << int(Rewrite) << QStringLiteral("it changed while it was read");
    }

    void failedReadsAreErrors()
    {
        QFETCH(int, how);
        QFETCH(QString, error);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file.prg"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("S\t1\tvalue\r\n");
        }
        g_readFault = ReadFault(how);
        g_readCalls = 0;
        g_readPath = QFile::encodeName(path);
        QByteArray bytes = "before";
        QString said;
        const bool ok = readProgramBytes(path, &bytes, &said, faultyRead);
        QVERIFY(g_readCalls > 0);
        if (error.isEmpty()) {
            QVERIFY2(ok, qPrintable(said));
            QCOMPARE(bytes, QByteArray("S\t1\tvalue\r\n"));
        } else {
            QVERIFY(!ok);
            QCOMPARE(said, error);
            QCOMPARE(bytes, QByteArray("before"));
        }
    }

    void fileAtTheLimitIsRead()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("file.prg"));
        QVERIFY(makeFileOfSize(path, kMaxProgramFileBytes));
        QByteArray bytes;
        QString said;
        QVERIFY2(readProgramBytes(path, &bytes, &said), qPrintable(said));
        QCOMPARE(bytes.size(), kMaxProgramFileBytes);
    }

    // Standard input and pipes are read up to the limit; more is an error.
    void streamsAreReadUpToTheLimit()
    {
        for (const qint64 size : {qint64(0), qint64(70000), kMaxProgramFileBytes, kMaxProgramFileBytes + 1}) {
            int ends[2];
            QCOMPARE(::pipe(ends), 0);
            std::thread writer([&] {
                const QByteArray data(size, 'x');
                qint64 done = 0;
                while (done < size) {
                    const ssize_t n = ::write(ends[1], data.constData() + done, size_t(size - done));
                    if (n <= 0)
                        break;
                    done += n;
                }
                ::close(ends[1]);
            });
            QByteArray bytes;
            QString said;
            const bool ok = readProgramStream(ends[0], &bytes, &said);
            ::close(ends[0]);
            writer.join();
            if (size <= kMaxProgramFileBytes) {
                QVERIFY2(ok, qPrintable(said));
                QCOMPARE(bytes.size(), size);
            } else {
                QVERIFY(!ok);
                QCOMPARE(said, QStringLiteral("it is more than the 4194304 bytes (4 MiB) a program file may have"));
            }
        }
    }

    // A long line is read whole: the size limit of the file bounds it.
    void longLineIsReadWhole()
    {
        const QByteArray bytes = "S\t1\ta\r\nH\t1\t" + QByteArray(3 * 1024 * 1024, 'x') + "\r\nS\t2\tb\r\n";
        const DocumentData document = readBytes(bytes);
        QCOMPARE(document.cellText(DocTable::Params, 0, col::ParamValue), QStringLiteral("a"));
        QCOMPARE(document.cellText(DocTable::Lines, 0, col::LineText), QString(3 * 1024 * 1024, QLatin1Char('x')));
        QCOMPARE(document.cellText(DocTable::Params, 1, col::ParamValue), QStringLiteral("b"));
    }
};

QTEST_GUILESS_MAIN(TestProgramReader)
#include "tst_programreader.moc"
