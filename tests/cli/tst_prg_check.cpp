// check: each kind of finding, what must pass without one, and the exit
// codes over several files.

#include "prgrunner.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using prgtest::run;
using prgtest::writeFile;

class TestPrgCheck : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void findings_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("finding");
        QTest::newRow("unknown letter") << QByteArray("X\t1\tx\r\n")
                                        << "line skipped: \"X\" is no record letter (S, D, H, C or Y)";
        QTest::newRow("lower-case letter") << QByteArray("s\t1\t5\r\n")
                                           << "line skipped: \"s\" is no record letter (S, D, H, C or Y)";
        QTest::newRow("quote without semicolon") << QByteArray("\"hello\"\r\n")
                                                 << "line skipped: \"\\\"hello\\\"\" is no record letter (S, D, H, C or Y)";
        QTest::newRow("number not a number") << QByteArray("S\tabc\tx\r\n")
                                             << "line skipped: S record number \"abc\" is not a number";
        QTest::newRow("negative number") << QByteArray("D\t-3\tTea\r\n")
                                         << "line skipped: D record number \"-3\" is not a number";
        QTest::newRow("no number") << QByteArray("H\r\n") << "line skipped: H record without a number";
        QTest::newRow("number too high") << QByteArray("S\t27\tx\r\n")
                                         << "line skipped: S record number 27 is outside 1..26";
        QTest::newRow("number zero") << QByteArray("Y\t0\tCash\t1\t0\r\n")
                                     << "line skipped: Y record number 0 is outside 1..4";
        QTest::newRow("comment numbered 1") << QByteArray("C\t1\tHello\r\n")
                                            << "line skipped: C record number 1 is not 0";
        QTest::newRow("price with comma") << QByteArray("D\t3\tTea\tB\t2,50\t2\r\n")
                                          << "department 3 price \"2,50\" is not a decimal number";
        QTest::newRow("price with two points") << QByteArray("D\t3\tTea\tB\t1.2.3\t2\r\n")
                                               << "department 3 price \"1.2.3\" is not a decimal number";
        QTest::newRow("digits with decimals") << QByteArray("D\t50\tTea\tB\t2\t2.5\r\n")
                                              << "department 50 digits \"2.5\" is not a whole number";
        QTest::newRow("digits beyond 32 bits") << QByteArray("D\t1\tTea\tB\t2\t2147483648\r\n")
                                               << "department 1 digits \"2147483648\" is not a whole number";
        QTest::newRow("payment value") << QByteArray("Y\t2\tCard\tabc\t1\r\n")
                                       << "payment 2 value \"abc\" is not a decimal number";
        QTest::newRow("control characters escaped") << QByteArray("\x1b[2J\t1\r\n")
                                                     << "line skipped: \"\\x1b[2J\" is no record letter (S, D, H, C or Y)";
        // UTF-8 read in the code page "System" stands for (CP1251 for the
        // tests' C locale): the editor would show and save replacement
        // characters.
        QTest::newRow("bytes no characters of the encoding")
            << QStringLiteral("D\t1\tВИНО\tA\t1.20\t2\r\n").toUtf8()
            << "bytes that are no characters of System (CP1251); the file reads cleanly in UTF-8, ";
        QTest::newRow("long value cut short")
            << (QByteArray("Y\t1\tCash\t") + QByteArray(500, 'x') + "\t0\r\n")
            << u"payment 1 value \""_s + QString(60, QLatin1Char('x')) + u"...\" is not a decimal number"_s;
    }

    void findings()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, finding);
        const QString path = QStringLiteral("finding.prg");
        writeFile(path, "\";2024-01-15 10:30:00\"\r\n\r\nS\t1\t5\r\n" + content + "H\t1\tSHOP\r\n");
        const prgtest::Run result = run({QStringLiteral("check"), path});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.err.isEmpty());
        // A finding that lists encodings is held to its start.
        const QStringList lines = result.outLines();
        QCOMPARE(lines.size(), 1);
        if (finding.endsWith(QLatin1String(", ")))
            QVERIFY2(lines.at(0).startsWith(QStringLiteral("finding.prg:4: ") + finding), qPrintable(lines.at(0)));
        else
            QCOMPARE(lines, QStringList{QStringLiteral("finding.prg:4: ") + finding});
        QVERIFY(!result.out.contains('\x1b'));
    }

    // A file of which no line is a record is said to be no program file,
    // with its likely cause, instead of every line it holds.
    void filesThatAreNoProgramFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("finding");
        const QString none = u"none.prg: not a program file: none of its lines is a record or a comment"_s;
        QTest::newRow("text") << QByteArray("# Notes\n\nSome text.\n") << none;
        QTest::newRow("only skipped lines") << QByteArray("S\t99\t5\r\nX\r\n") << none;
        QTest::newRow("CR-only line ends")
            << QByteArray("\";2024-01-15 10:30:00\"\r\";\"\rS\t1\t5\rH\t1\tSHOP\r")
            << none + u" (its lines end in a CR alone; a program file's end in CR LF)"_s;
        QTest::newRow("quoted lines") << QByteArray("\"S\t1\t5\"\r\n\"H\t1\tSHOP\"\r\n")
                                      << none + u" (its lines are in double quotes, as a spreadsheet may save them)"_s;
        QTest::newRow("UTF-16") << QByteArray("\xff\xfe" "S\0\t\0" "1\0\t\0" "5\0\r\0\n\0", 16)
                                << none + u" (it is UTF-16 text; a program file is in a code page of the list)"_s;
    }

    void filesThatAreNoProgramFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, finding);
        writeFile(u"none.prg"_s, content);
        const prgtest::Run result = run({u"check"_s, u"none.prg"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.outLines(), QStringList{finding});
        // A file with only comment lines, or nothing at all, is an empty
        // program.
        for (const QByteArray &empty : {QByteArray(), QByteArray("\r\n \n"), QByteArray("\";x\"\r\n\";\"\r\n")}) {
            writeFile(u"empty.prg"_s, empty);
            QCOMPARE(run({u"check"_s, u"empty.prg"_s}).exitCode, 0);
        }
    }

    void oneLineCanHoldSeveralFindings()
    {
        writeFile(QStringLiteral("both.prg"), "D\t7\tTea\tB\tx\ty\n");
        const prgtest::Run result = run({QStringLiteral("check"), QStringLiteral("both.prg")});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.outLines(), (QStringList{u"both.prg:1: department 7 price \"x\" is not a decimal number"_s,
                                                 u"both.prg:1: department 7 digits \"y\" is not a whole number"_s}));
    }

    void whatTheReaderAndTheEditorsAcceptPasses()
    {
        // Empty and white-space lines, comments, LF-only ends, a C record
        // whose number is no numeral (read as 0), leading zeros, empty
        // values, signed and scientific numbers, lines that only set names.
        writeFile(QStringLiteral("clean.prg"), "\";2024-01-15 10:30:00\"\r\n"
                                               "\n"
                                               " \t \r\n"
                                               "\";anything at all\r\n"
                                               "  S\t007\tx  \n"
                                               "C\t\tHello\r\n"
                                               "D\t1\tWater\tA\t1.20\t2\r\n"
                                               "D\t2\tTea\t\t\t\r\n"
                                               "D\t3\tMilk\tB\t-3\t-5\r\n"
                                               "D\t4\tJuice\tB\t1e3\t+7\r\n"
                                               "D\t5\tCake\r\n"
                                               "Y\t1\tCash\t1.00\t0\r\n"
                                               "Y\t2\tCard\t\t1\r\n"
                                               "H\t8\t\r\n");
        const prgtest::Run result = run({QStringLiteral("check"), QStringLiteral("clean.prg")});
        QCOMPARE(result.out, QByteArray());
        QCOMPARE(result.err, QByteArray());
        QCOMPARE(result.exitCode, 0);
    }

    void filesThatBuildWritesPass()
    {
        const QByteArray json = R"({"params": ["5"], "departments": [{"name": "Tea", "price": "2.50",
            "tax": "B", "digits": "2"}], "comment": "hi", "payments": [{"name": "Cash", "value": "1"}]})";
        QCOMPARE(run({QStringLiteral("build"), QStringLiteral("built.prg")}, json).exitCode, 0);
        const prgtest::Run result = run({QStringLiteral("check"), QStringLiteral("built.prg")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.isEmpty());
    }

    void linesAreCountedAsTheReaderReadsThem()
    {
        // A CR alone ends no line: the first three records are one line.
        writeFile(QStringLiteral("count.prg"), "S\t1\t1\rX\rS\t2\t2\nX\r\n\r\nX");
        const prgtest::Run result = run({QStringLiteral("check"), QStringLiteral("count.prg")});
        QCOMPARE(result.exitCode, 1);
        QStringList lines = result.outLines();
        for (QString &line : lines)
            line = line.section(QLatin1Char(':'), 0, 1);
        QCOMPARE(lines, (QStringList{u"count.prg:2"_s, u"count.prg:4"_s}));
    }

    void valuesAreShownInTheirOwnLetters()
    {
        writeFile(QStringLiteral("cp1251.prg"), "D\t1\t\xc2\xee\xe4\xe0\tA\t\xe0\xe1\xe2\r\n");
        const prgtest::Run result =
            run({QStringLiteral("check"), QStringLiteral("--encoding"), QStringLiteral("CP1251"),
                 QStringLiteral("cp1251.prg")});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.outLines(),
                 QStringList{QStringLiteral("cp1251.prg:1: department 1 price \"абв\" is not a decimal number")});
    }

    void fileNamesAreShownAsGiven()
    {
        writeFile(QStringLiteral("odd %1 %2.prg"), "X\r\nS\t1\t5\r\n");
        const prgtest::Run result = run({QStringLiteral("check"), QStringLiteral("odd %1 %2.prg")});
        QCOMPARE(result.outLines().value(0).left(17), QStringLiteral("odd %1 %2.prg:1: "));
    }

    void everyFileIsCheckedAndTheWorstOutcomeCounts()
    {
        writeFile(QStringLiteral("good.prg"), "S\t1\t5\r\n");
        writeFile(QStringLiteral("bad.prg"), "S\t99\t5\r\nS\t1\t5\r\n");

        prgtest::Run result = run({QStringLiteral("check"), QStringLiteral("good.prg"), QStringLiteral("good.prg")});
        QCOMPARE(result.exitCode, 0);

        result = run({QStringLiteral("check"), QStringLiteral("bad.prg"), QStringLiteral("good.prg")});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.outLines().size(), 1);

        result = run({QStringLiteral("check"), QStringLiteral("missing.prg"), QStringLiteral("bad.prg"),
                      QStringLiteral(".")});
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.outLines(), QStringList{QStringLiteral("bad.prg:1: line skipped: S record number 99 is outside 1..26")});
        const QStringList errors = result.errLines();
        QCOMPARE(errors.size(), 2);
        QVERIFY(errors.at(0).startsWith(QLatin1String("tarvo-prg: cannot read missing.prg: ")));
        QVERIFY(errors.at(1).startsWith(QLatin1String("tarvo-prg: cannot read .: ")));
    }

    // Files are checked on every core; what is said of them comes in the
    // order of the arguments, as from one thread.
    void manyFilesAreReportedInArgumentOrder()
    {
        QStringList arguments{QStringLiteral("check")};
        QStringList expectedOut;
        QStringList expectedErr;
        for (int i = 0; i < 400; ++i) {
            const QString name = QStringLiteral("order%1.prg").arg(i);
            arguments << name;
            if (i % 37 == 5) {
                expectedErr << QStringLiteral("tarvo-prg: cannot read %1: No such file or directory").arg(name);
                continue;
            }
            // Large and small files mixed, so that threads finish out of turn,
            // and a few with more findings than wait for their turn.
            QByteArray bytes = i % 3 ? QByteArray() : QByteArray(50000, '\n');
            const int bad = i % 100 == 50 ? 5000 : i % 4;
            for (int k = 0; k < bad; ++k) {
                bytes += "S\t" + QByteArray::number(27 + k) + "\tx\r\n";
                expectedOut << QStringLiteral("%1:%2: line skipped: S record number %3 is outside 1..26")
                                   .arg(name)
                                   .arg((i % 3 ? 0 : 50000) + k + 1)
                                   .arg(27 + k);
            }
            // A record after them: a file without one would be no program file.
            writeFile(name, bytes + "H\t1\tx\r\n");
        }
        const prgtest::Run result = run(arguments);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.outLines(), expectedOut);
        QCOMPARE(result.errLines(), expectedErr);
    }
};

QTEST_GUILESS_MAIN(TestPrgCheck)
#include "tst_prg_check.moc"

