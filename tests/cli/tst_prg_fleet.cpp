// tarvo-prg as fleet scripts use it: filters through "-", a fixed time
// stamp, diff between machines and set across many files.

#include "prgrunner.h"
#include "testsupport.h"

#include <QStandardPaths>
#include <QtTest>

using namespace Qt::StringLiterals;

using prgtest::readFile;
using prgtest::run;
using prgtest::writeFile;

namespace {

// A machine's file as Save writes it, CP1251.
const QByteArray kMachine = "\";2024-01-15 10:30:00\"\r\n\";\"\r\n\";System Parameters\"\r\nS\t1\t5\r\n"
                            "\";\"\r\n\";Departments\"\r\nD\t1\t\xc2\xee\xe4\xe0\tA\t1.20\t2\r\n"
                            "D\t3\tTea\tB\t2.00\t2\r\n\";\"\r\n\";Header Lines\"\r\nH\t1\tSHOP\r\n"
                            "H\t2\t\r\nH\t3\t\r\nH\t4\t\r\nH\t5\t\r\nH\t6\t\r\nH\t7\t\r\nH\t8\t\r\n\";\"\r\n\";Payments\"\r\nY\t1\tCash\t1.00\t0\r\n\";\"\r\n";

const QStringList kCp1251 = {u"--encoding"_s, u"CP1251"_s};

} // namespace

class TestPrgFleet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void standardStreamsAsFiles()
    {
        writeFile(u"m.prg"_s, kMachine);
        const prgtest::Run dumped = run(QStringList{u"dump"_s} + kCp1251 + QStringList{u"-"_s}, kMachine);
        QCOMPARE(dumped.exitCode, 0);
        QCOMPARE(dumped.out, run(QStringList{u"dump"_s} + kCp1251 + QStringList{u"m.prg"_s}).out);

        const QStringList fixed = {u"SOURCE_DATE_EPOCH=1705314600"_s};
        const prgtest::Run built = run(QStringList{u"build"_s} + kCp1251 + QStringList{u"-"_s}, dumped.out, {}, fixed);
        QCOMPARE(built.exitCode, 0);
        QCOMPARE(built.out, kMachine);

        const prgtest::Run converted = run({u"convert"_s, u"--from"_s, u"CP1251"_s, u"--to"_s, u"ISO-8859-5"_s, u"-"_s, u"-"_s},
                                           kMachine, {}, fixed);
        QCOMPARE(converted.exitCode, 0);
        QVERIFY(converted.out.contains("D\t1\t\xb2\xde\xd4\xd0\tA\t1.20\t2\r\n"));

        const prgtest::Run checked = run({u"check"_s, u"-"_s}, "D\t1\tTea\tA\t2,50\t2\r\n");
        QCOMPARE(checked.exitCode, 1);
        QCOMPARE(checked.outLines(), QStringList{u"standard input:1: department 1 price \"2,50\" is not a decimal number"_s});

        // Standard input is read as a file is, a long line whole.
        const prgtest::Run longLine = run({u"check"_s, u"-"_s}, "H\t1\t" + QByteArray(2 << 20, 'x') + "\nS\t99\t1\n");
        QCOMPARE(longLine.exitCode, 1);
        QCOMPARE(longLine.outLines(), QStringList({u"standard input:2: line skipped: S record number 99 is outside 1..26"_s}));

        const prgtest::Run compared = run(QStringList{u"diff"_s} + kCp1251 + QStringList{u"m.prg"_s, u"-"_s}, kMachine);
        QCOMPARE(compared.exitCode, 0);
        QVERIFY(compared.out.isEmpty());
    }

    // The same input gives the same bytes, so rebuilding unchanged files
    // changes none of them.
    void fixedTimeStamp_data()
    {
        QTest::addColumn<QString>("epoch");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("stampLine");
        QTest::newRow("start of 1970") << u"0"_s << 0 << QByteArray("\";1970-01-01 00:00:00\"\r\n");
        QTest::newRow("a day in 2024, in UTC") << u"1705314600"_s << 0 << QByteArray("\";2024-01-15 10:30:00\"\r\n");
        QTest::newRow("no number") << u"yesterday"_s << 2 << QByteArray();
        QTest::newRow("negative") << u"-5"_s << 2 << QByteArray();
        QTest::newRow("empty") << u""_s << 2 << QByteArray();
    }

    void fixedTimeStamp()
    {
        QFETCH(QString, epoch);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, stampLine);
        const QStringList environment = {u"SOURCE_DATE_EPOCH="_s + epoch, u"TZ=Asia/Tokyo"_s};
        const QByteArray json = R"({"params": ["5"]})";
        const prgtest::Run first = run({u"build"_s, u"stamped.prg"_s}, json, {}, environment);
        QCOMPARE(first.exitCode, exitCode);
        if (exitCode != 0) {
            QVERIFY(first.err.startsWith("tarvo-prg: SOURCE_DATE_EPOCH"));
            QVERIFY(!QFile::exists(u"stamped.prg"_s));
            return;
        }
        const QByteArray bytes = readFile(u"stamped.prg"_s);
        QVERIFY(bytes.startsWith(stampLine));
        QCOMPARE(run({u"build"_s, u"stamped.prg"_s}, json, {}, environment).exitCode, 0);
        QCOMPARE(readFile(u"stamped.prg"_s), bytes);
        QFile::remove(u"stamped.prg"_s);
    }

    void diffNamesEveryChangedCell()
    {
        writeFile(u"a.prg"_s, kMachine);
        // Saved again later, with the records in another order and other
        // comment lines: no difference.
        writeFile(u"again.prg"_s, "\";2025-03-01 08:00:00\"\r\n\";anything\"\r\nY\t1\tCash\t1.00\t0\r\nH\t1\tSHOP\r\n"
                                  "D\t3\tTea\tB\t2.00\t2\r\nD\t1\t\xc2\xee\xe4\xe0\tA\t1.20\t2\r\nS\t1\t5\r\n");
        const prgtest::Run same = run(QStringList{u"diff"_s} + kCp1251 + QStringList{u"a.prg"_s, u"again.prg"_s});
        QCOMPARE(same.exitCode, 0);
        QVERIFY(same.out.isEmpty());

        writeFile(u"b.prg"_s, QByteArray(kMachine).replace("D\t3\tTea\tB\t2.00", "D\t3\tTea\tB\t2.10")
                                  .replace("H\t1\tSHOP", "H\t1\tSHOP \"7\"\x01")
                                  .replace("S\t1\t5\r\n", "")
                                  + "C\t0\tfleet\r\n");
        const prgtest::Run changed = run(QStringList{u"diff"_s} + kCp1251 + QStringList{u"a.prg"_s, u"b.prg"_s});
        QCOMPARE(changed.exitCode, 1);
        QCOMPARE(changed.outLines(), QStringList({u"param.1: \"5\" -> \"\""_s,
                                                  u"department.3.price: \"2.00\" -> \"2.10\""_s,
                                                  u"header.1: \"SHOP\" -> \"SHOP \\\"7\\\"\\x01\""_s,
                                                  u"comment: \"\" -> \"fleet\""_s}));

        // A character that shows nothing is shown by its code point.
        writeFile(u"plain.prg"_s, "H\t1\tA\r\n");
        writeFile(u"hidden.prg"_s, "H\t1\tA\xe2\x80\x8b\r\n");
        const prgtest::Run hidden = run({u"diff"_s, u"--encoding=UTF-8"_s, u"plain.prg"_s, u"hidden.prg"_s});
        QCOMPARE(hidden.outLines(), QStringList{u"header.1: \"A\" -> \"A\\u200b\""_s});

        // Read as UTF-8, "\xc2\xee" and "\xc2\xef" would both be two
        // replacement characters, the same.
        writeFile(u"c.prg"_s, QByteArray(kMachine).replace("\xc2\xee", "\xc2\xef"));
        const prgtest::Run undecodable = run({u"diff"_s, u"--encoding"_s, u"UTF-8"_s, u"a.prg"_s, u"c.prg"_s});
        QCOMPARE(undecodable.exitCode, 2);
        QVERIFY(undecodable.err.startsWith("tarvo-prg: cannot compare a.prg: it holds bytes that are no characters in UTF-8"));

        const prgtest::Run missing = run(QStringList{u"diff"_s} + kCp1251 + QStringList{u"a.prg"_s, u"absent.prg"_s});
        QCOMPARE(missing.exitCode, 2);
        QVERIFY(missing.err.startsWith("tarvo-prg: cannot read absent.prg: "));
    }

    // A fleet whose new contents outgrow what set keeps in memory (1 MiB):
    // 1,000 files of 1.5 KB, each with all 50 departments.
    void setChangesCellsInEveryFile()
    {
        QByteArray departments;
        for (int d = 5; d <= 50; ++d)
            departments += "D\t" + QByteArray::number(d) + "\t\xcc\xe8\xed\xe5\xf0\xe0\xeb\xed\xe0 " + QByteArray::number(d)
                           + "\tA\t1." + QByteArray::number(10 + d) + "\t2\r\n";
        const QByteArray tea = "D\t3\tTea\tB\t2.00\t2\r\n";
        const QByteArray typical = QByteArray(kMachine).replace(tea, QByteArray(tea + departments));
        QStringList files;
        for (int i = 1; i <= 1000; ++i) {
            files << u"machine%1.prg"_s.arg(i);
            writeFile(files.last(), QByteArray(typical).replace("SHOP", QByteArray("SHOP " + QByteArray::number(i))));
        }
        const prgtest::Run result =
            run(QStringList{u"set"_s} + kCp1251
                + QStringList{u"--cell"_s, u"department.3.price=2.50"_s, u"--cell=department.4.name=Чай"_s,
                              u"--cell"_s, u"department.4.price=1.00"_s}
                + files);
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.isEmpty() && result.err.isEmpty());
        for (int i = 1; i <= 1000; ++i) {
            const QByteArray bytes = readFile(files.at(i - 1));
            QVERIFY(bytes.contains(QByteArray("D\t3\tTea\tB\t2.50\t2\r\nD\t4\t\xd7\xe0\xe9\t\t1.00\t\r\n" + departments)));
            QVERIFY(bytes.contains(QByteArray("H\t1\tSHOP " + QByteArray::number(i) + "\r\n")));
            QVERIFY(bytes.contains("D\t1\t\xc2\xee\xe4\xe0\tA\t1.20\t2\r\n"));
        }
    }

    // A bad argument or a missing file is found before any file is written.
    void setChangesNothingWhenAnythingIsWrong_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("machines"); // files machineN.prg named before `arguments`' files
        QTest::newRow("refused price") << QStringList{u"--cell"_s, u"department.1.price=1.2.0"_s, u"one.prg"_s, u"two.prg"_s} << 0;
        QTest::newRow("bad key last") << QStringList{u"--cell=comment=x"_s, u"--cell=colour=red"_s, u"one.prg"_s, u"two.prg"_s} << 0;
        QTest::newRow("missing file last") << kCp1251 + QStringList{u"--cell=comment=x"_s, u"one.prg"_s, u"two.prg"_s, u"absent.prg"_s} << 0;
        // set reads and writes a fleet in batches of a few hundred files.
        QTest::newRow("missing file after two batches")
            << kCp1251 + QStringList{u"--cell=comment=x"_s, u"one.prg"_s, u"two.prg"_s, u"absent.prg"_s} << 600;
        // Read as UTF-8, the CP1251 letters are no characters: written back,
        // they would be lost.
        QTest::newRow("file not in the encoding")
            << QStringList{u"--encoding=UTF-8"_s, u"--cell=comment=x"_s, u"one.prg"_s, u"two.prg"_s} << 0;
        // A text among the program files is none: not written over.
        QTest::newRow("a file that is no program file")
            << kCp1251 + QStringList{u"--cell=comment=x"_s, u"one.prg"_s, u"two.prg"_s, u"notes.txt"_s} << 0;
        // Nor is an empty file: there is nothing to set a cell in.
        QTest::newRow("an empty file")
            << kCp1251 + QStringList{u"--cell=comment=x"_s, u"one.prg"_s, u"two.prg"_s, u"empty.prg"_s} << 0;
        // Byte 0x98 is no character of code page 1251.
        QTest::newRow("byte the code page leaves undefined")
            << kCp1251 + QStringList{u"--cell=comment=x"_s, u"one.prg"_s, u"two.prg"_s, u"undefined.prg"_s} << 0;
    }

    void setChangesNothingWhenAnythingIsWrong()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, machines);
        writeFile(u"one.prg"_s, kMachine);
        writeFile(u"two.prg"_s, kMachine);
        const QByteArray notes = "# Notes\n\nroot:x:0:0:root:/root:/bin/bash\n";
        writeFile(u"notes.txt"_s, notes);
        const QByteArray undefined = QByteArray(kMachine).replace("SHOP", "SH\x98P");
        writeFile(u"undefined.prg"_s, undefined);
        writeFile(u"empty.prg"_s, QByteArray());
        QStringList fleet;
        for (int i = 0; i < machines; ++i) {
            fleet << u"machine%1.prg"_s.arg(i);
            writeFile(fleet.last(), kMachine);
        }
        const qsizetype firstFile = arguments.indexOf(u"one.prg"_s);
        const prgtest::Run result = run(QStringList{u"set"_s} + arguments.mid(0, firstFile) + fleet + arguments.mid(firstFile));
        QCOMPARE(result.exitCode, 2);
        QVERIFY(!result.err.isEmpty());
        QCOMPARE(readFile(u"one.prg"_s), kMachine);
        QCOMPARE(readFile(u"two.prg"_s), kMachine);
        QCOMPARE(readFile(u"notes.txt"_s), notes);
        QCOMPARE(readFile(u"undefined.prg"_s), undefined);
        QCOMPARE(readFile(u"empty.prg"_s), QByteArray());
        for (const QString &file : std::as_const(fleet))
            QCOMPARE(readFile(file), kMachine);
    }

    // set changes the records of the cells it is given and nothing else:
    // every other line, its line end and a missing last line end stay as
    // they were, the time stamp line included.
    void setChangesOnlyTheRecordsOfItsCells_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("after"); // empty: as before
        const QStringList cp1251 = kCp1251;
        QTest::newRow("unknown and lower-case records kept")
            << QStringList{u"--cell=param.3=7"_s} << QByteArray("\";x\"\r\nS\t1\t5\r\nX\t1\tfuture\r\ns\t2\tlower\r\n")
            << 0 << QByteArray("\";x\"\r\nS\t1\t5\r\nS\t3\t7\r\nX\t1\tfuture\r\ns\t2\tlower\r\n");
        QTest::newRow("record rewritten where it stands, time stamp kept")
            << cp1251 + QStringList{u"--cell=department.3.price=2.10"_s} << kMachine << 0
            << QByteArray(kMachine).replace("D\t3\tTea\tB\t2.00\t2", "D\t3\tTea\tB\t2.10\t2");
        QTest::newRow("a decimal comma taken as the editor takes it")
            << cp1251 + QStringList{u"--cell=department.3.price=2,10"_s} << kMachine << 0
            << QByteArray(kMachine).replace("D\t3\tTea\tB\t2.00\t2", "D\t3\tTea\tB\t2.10\t2");
        QTest::newRow("the same value changes no byte")
            << cp1251 + QStringList{u"--cell=param.1=5"_s} << kMachine << 0 << QByteArray();
        QTest::newRow("LF line ends, no last line end")
            << QStringList{u"--cell=header.1=B"_s, u"--cell=param.2=6"_s} << QByteArray("S\t1\t5\n\"S\t9\"\nH\t1\tA") << 0
            << QByteArray("S\t1\t5\nS\t2\t6\n\"S\t9\"\nH\t1\tB");
        QTest::newRow("new record after the last line, which had no line end")
            << QStringList{u"--cell=payment.1.name=Cash"_s, u"--cell=payment.1.value=1"_s} << QByteArray("S\t1\t5\r\nH\t1\tA")
            << 0 << QByteArray("S\t1\t5\r\nH\t1\tA\r\nY\t1\tCash\t1\t");
        QTest::newRow("new record under its section title")
            << QStringList{u"--cell=department.2.name=Tea"_s}
            << QByteArray("\";\"\r\n\";Departments\"\r\n\";\"\r\n\";Header Lines\"\r\nH\t1\tA\r\n") << 0
            << QByteArray("\";\"\r\n\";Departments\"\r\nD\t2\tTea\t\t\t\r\n\";\"\r\n\";Header Lines\"\r\nH\t1\tA\r\n");
        QTest::newRow("an emptied parameter loses its records, no other")
            << QStringList{u"--cell=param.1="_s} << QByteArray("S\t1\t5\r\nS\t2\t6\r\nS\t1\t7\r\n") << 0
            << QByteArray("S\t2\t6\r\n");
        QTest::newRow("a file with a UTF-8 byte order mark stays UTF-8")
            << cp1251 + QStringList{u"--cell=header.2=Чай"_s} << QByteArray("\xef\xbb\xbfH\t1\t\xd0\x92\r\n") << 0
            << QByteArray("\xef\xbb\xbfH\t1\t\xd0\x92\r\nH\t2\t\xd0\xa7\xd0\xb0\xd0\xb9\r\n");
        QTest::newRow("Vietnamese in CP1258, decomposed")
            << QStringList{u"--encoding=CP1258"_s, u"--cell=header.1=ạ"_s} << QByteArray("H\t1\tA\r\n") << 0
            << QByteArray("H\t1\ta\xf2\r\n");
        // The record's line holds more after a CR, which the reader does
        // not see as a line end: it could not be kept.
        QTest::newRow("a CR inside the record's line refuses the file")
            << QStringList{u"--cell=param.1=9"_s} << QByteArray("S\t1\t5\rS\t2\t6\r\n") << 2 << QByteArray();
        QTest::newRow("lines in double quotes refuse the file")
            << QStringList{u"--cell=header.1=X"_s} << QByteArray("\"S\t1\t5\"\r\n\"H\t1\tA\"\r\n") << 2 << QByteArray();
    }

    void setChangesOnlyTheRecordsOfItsCells()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, before);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, after);
        writeFile(u"surgical.prg"_s, before);
        const prgtest::Run result = run(QStringList{u"set"_s} + arguments + QStringList{u"surgical.prg"_s});
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.err.isEmpty(), exitCode == 0);
        const QByteArray now = readFile(u"surgical.prg"_s);
        QVERIFY2(now == (after.isEmpty() ? before : after), now.toHex(' ').constData());
    }

    // A file that holds text but no record is no program file: every
    // command says so and writes nothing, as the editor's Open does.
    void noCommandTakesAFileThatIsNoProgramFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("cause");
        QTest::newRow("text") << QByteArray("root:x:0:0:root:/root:/bin/bash\n") << QString();
        QTest::newRow("binary") << QByteArray("\x7f" "ELF\x02\x01\x01\x00\x00\x00\xff\xfe\x01\x00", 14) << QString();
        QTest::newRow("CR-only line ends") << QByteArray("\";2024-01-15 10:30:00\"\r\";\"\rS\t1\t5\rH\t1\tSHOP\r")
                                           << u" (its lines end in a CR alone; a program file's end in CR LF)"_s;
        QTest::newRow("UTF-16") << QByteArray("\xff\xfe" "S\0\t\0" "1\0\t\0" "5\0\r\0\n\0", 16)
                                << u" (it is UTF-16 text; a program file is in a code page of the list)"_s;
    }

    void noCommandTakesAFileThatIsNoProgramFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, cause);
        writeFile(u"other.prg"_s, content);
        writeFile(u"one.prg"_s, kMachine);
        QFile::remove(u"out.prg"_s);
        const QString said = u"tarvo-prg: other.prg: not a program file: none of its lines is a record or a comment"_s + cause;
        const QList<QPair<QStringList, QString>> commands = {
            {{u"dump"_s, u"other.prg"_s}, said},
            {{u"convert"_s, u"other.prg"_s, u"out.prg"_s}, said + u"; nothing written"_s},
            {{u"set"_s, u"--cell=header.1=X"_s, u"other.prg"_s}, said + u"; no file changed"_s},
            {{u"diff"_s, u"--encoding=CP1251"_s, u"one.prg"_s, u"other.prg"_s}, said},
        };
        for (const auto &[arguments, message] : commands) {
            const prgtest::Run result = run(arguments);
            QCOMPARE(result.exitCode, 2);
            QCOMPARE(result.errLines(), QStringList{message});
            QVERIFY(result.out.isEmpty());
            QCOMPARE(readFile(u"other.prg"_s), content);
            QVERIFY(!QFile::exists(u"out.prg"_s));
        }
    }

    // A read that fails, a file over the size limit and a file of the
    // system are failures for every command that reads: exit status 2,
    // nothing written, no output, the reason named.
    void aReadThatFailsIsAFailure_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("reason");
        const QStringList set = QStringList{u"set"_s} + kCp1251 + QStringList{u"--cell=comment=x"_s, u"one.prg"_s};
        const QStringList convert{u"convert"_s, u"--from=CP1251"_s, u"--to=CP1251"_s, u"one.prg"_s, u"out.prg"_s};
        const QStringList dump = QStringList{u"dump"_s} + kCp1251 + QStringList{u"one.prg"_s};
        const QStringList check = QStringList{u"check"_s} + kCp1251 + QStringList{u"two.prg"_s, u"one.prg"_s};
        const QStringList diff = QStringList{u"diff"_s} + kCp1251 + QStringList{u"two.prg"_s, u"one.prg"_s};
        const QString eio = u"Input/output error"_s;
        const QString big = u"it is 4194305 bytes, more than the 4194304 bytes (4 MiB) a program file may have"_s;
        QTest::newRow("set, first read fails") << set << u"read 1"_s << eio;
        QTest::newRow("convert, first read fails") << convert << u"read 1"_s << eio;
        QTest::newRow("dump, first read fails") << dump << u"read 1"_s << eio;
        QTest::newRow("check, first read fails") << check << u"read 1"_s << eio;
        QTest::newRow("diff, first read fails") << diff << u"read 1"_s << eio;
        QTest::newRow("set, over the size limit") << set << u"big"_s << big;
        QTest::newRow("convert, over the size limit") << convert << u"big"_s << big;
        QTest::newRow("dump, over the size limit") << dump << u"big"_s << big;
        QTest::newRow("check, over the size limit") << check << u"big"_s << big;
        QTest::newRow("set, memory of a process")
            << QStringList{u"set"_s, u"--cell=comment=x"_s, u"--encoding=CP1251"_s, u"two.prg"_s, u"/proc/self/mem"_s}
            << u"proc"_s << eio;
        QTest::newRow("dump, memory of a process") << QStringList{u"dump"_s, u"/proc/self/mem"_s} << u"proc"_s << eio;
        QTest::newRow("check, page map")
            << QStringList{u"check"_s, u"/proc/self/pagemap"_s} << u"proc"_s << u"Invalid argument"_s;
        QTest::newRow("dump, standard input over the size limit")
            << QStringList{u"dump"_s, u"-"_s} << u"stdin"_s
            << u"it is more than the 4194304 bytes (4 MiB) a program file may have"_s;
    }

    void aReadThatFailsIsAFailure()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, fault);
        QFETCH(QString, reason);
        writeFile(u"one.prg"_s, kMachine);
        writeFile(u"two.prg"_s, kMachine);
        QFile::remove(u"out.prg"_s);
        QByteArray one = kMachine;
        QStringList wrapper;
        QStringList environment;
        QByteArray input;
        if (fault.startsWith(u"read"_s)) {
            if (QStandardPaths::findExecutable(u"strace"_s).isEmpty())
                QSKIP("strace is not installed");
            // Only the reads of one.prg fail; those of the libraries and of
            // two.prg do not.
            wrapper = QStringList{u"strace"_s, u"-f"_s, u"-qq"_s, u"-o"_s, u"/dev/null"_s, u"-P"_s, u"one.prg"_s,
                                  u"-e"_s, u"trace=read"_s, u"-e"_s,
                                  u"inject=read:error=EIO:when="_s + fault.section(QLatin1Char(' '), 1)};
            // LeakSanitizer cannot work under strace.
            if (qEnvironmentVariableIsSet("ASAN_OPTIONS"))
                environment << u"ASAN_OPTIONS="_s + qEnvironmentVariable("ASAN_OPTIONS") + u":detect_leaks=0"_s;
        } else if (fault == u"big"_s) {
            one = kMachine + QByteArray(4 * 1024 * 1024 + 1 - kMachine.size(), '\n');
            writeFile(u"one.prg"_s, one);
        } else if (fault == u"stdin"_s) {
            input = QByteArray(4 * 1024 * 1024 + 1, '\n');
        }
        const prgtest::Run result = run(arguments, input, QString(), environment, wrapper);
        QCOMPARE(result.exitCode, 2);
        const QString shown = fault == u"proc"_s ? arguments.last()
                            : fault == u"stdin"_s ? u"standard input"_s : u"one.prg"_s;
        QVERIFY2(result.err.contains((u"tarvo-prg: cannot read "_s + shown + u": "_s + reason).toUtf8()),
                 result.err.constData());
        if (!arguments.contains(u"check"_s))
            QVERIFY(result.out.isEmpty());
        else
            QVERIFY(!result.out.contains("one.prg"));
        QCOMPARE(readFile(u"one.prg"_s), one);
        QCOMPARE(readFile(u"two.prg"_s), kMachine);
        QVERIFY(!QFile::exists(u"out.prg"_s));
    }

    void setNamesRowsTheFileCannotCarry()
    {
        writeFile(u"row.prg"_s, kMachine);
        const prgtest::Run result = run(QStringList{u"set"_s} + kCp1251 + QStringList{u"--cell"_s, u"payment.2.name=Card"_s, u"row.prg"_s});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.errLines(),
                 QStringList{u"tarvo-prg: row.prg: payment 2 left out: the file carries it only with a value"_s});
    }
};

QTEST_GUILESS_MAIN(TestPrgFleet)
#include "tst_prg_fleet.moc"
