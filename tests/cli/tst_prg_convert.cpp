// convert: a file carried from one code page into another, what happens to
// characters the target lacks, and failures on either side.

#include "prgrunner.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using prgtest::readFile;
using prgtest::run;
using prgtest::writeFile;

namespace {

QByteArray withoutStampLine(const QByteArray &file) { return file.mid(file.indexOf('\n') + 1); }

// "Вода" and "А" in Windows code page 1251 and in ISO 8859-5.
const QByteArray kWaterCp1251 = "\xc2\xee\xe4\xe0";
const QByteArray kWaterIso5 = "\xb2\xde\xd4\xd0";

} // namespace

class TestPrgConvert : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void cp1251ToIso88595()
    {
        writeFile(QStringLiteral("in.prg"), "\";2024-01-15 10:30:00\"\r\n"
                                            "D\t1\t" + kWaterCp1251 + "\t\xc0\t1.20\t2\r\n"
                                            "H\t1\t" + kWaterCp1251 + "\r\n");
        const prgtest::Run result = run({u"convert"_s, u"--from"_s, u"CP1251"_s, u"--to"_s, u"ISO 8859-5"_s, u"in.prg"_s, u"out.prg"_s});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.err.isEmpty());
        QVERIFY(result.out.isEmpty());
        const QByteArray out = readFile(QStringLiteral("out.prg"));
        QVERIFY(out.contains(QByteArray("\r\nD\t1\t" + kWaterIso5 + "\t\xb0\t1.20\t2\r\n")));
        QVERIFY(out.contains(QByteArray("\r\nH\t1\t" + kWaterIso5 + "\r\n")));
        QVERIFY(!out.contains(kWaterCp1251));
    }

    void charactersTheTargetLacksAreReportedByTheirLine()
    {
        // The euro sign is 0x88 in code page 1251 and has no place in ISO 8859-5.
        writeFile(QStringLiteral("euro.prg"), "S\t1\t5\r\n"
                                              "Y\t1\tCash\t1.00\t0\r\n"
                                              "Y\t2\t\x88 card\t2.00\t1\r\n"
                                              "C\t0\t\x88\x88!\r\n");
        const prgtest::Run result = run({u"convert"_s, u"--from"_s, u"CP1251"_s, u"--to"_s, u"ISO 8859-5"_s, u"euro.prg"_s, u"euro5.prg"_s});
        QCOMPARE(result.exitCode, 1);
        const QStringList errors = result.errLines();
        QCOMPARE(errors.size(), 2);
        QVERIFY2(errors.at(0).startsWith(QStringLiteral("tarvo-prg: euro.prg:4: comment: \"€\" cannot be written in ISO 8859-5")),
                 qPrintable(errors.at(0)));
        QVERIFY2(errors.at(1).startsWith(QStringLiteral("tarvo-prg: euro.prg:3: payment 2 name: \"€\" cannot be written in ISO 8859-5")),
                 qPrintable(errors.at(1)));
        // The file is written all the same, as the device would get it.
        const QByteArray out = readFile(QStringLiteral("euro5.prg"));
        QVERIFY(out.contains("\r\nY\t2\t? card\t2.00\t1\r\n"));
        QVERIFY(out.contains("\r\nC\t0\t??" "!\r\n"));
    }

    void oneEncodingForBothSidesKeepsTheRecords()
    {
        const QByteArray records = "S\t1\t5\r\nD\t1\t" + kWaterCp1251 + "\tA\t1\t2\r\n";
        writeFile(QStringLiteral("same.prg"), records);
        const prgtest::Run result = run({u"convert"_s, u"--encoding"_s, u"CP1251"_s, u"same.prg"_s, u"same2.prg"_s});
        QCOMPARE(result.exitCode, 0);
        const QByteArray out = withoutStampLine(readFile(QStringLiteral("same2.prg")));
        QVERIFY(out.contains("S\t1\t5\r\n"));
        QVERIFY(out.contains(QByteArray("D\t1\t" + kWaterCp1251 + "\tA\t1\t2\r\n")));
    }

    void unreadableInputWritesNothing()
    {
        const prgtest::Run result = run({u"convert"_s, u"--to"_s, u"CP1251"_s, u"absent.prg"_s, u"never.prg"_s});
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.errLines().size(), 1);
        QVERIFY(result.errLines().first().startsWith(QLatin1String("tarvo-prg: cannot read absent.prg: ")));
        QVERIFY(!QFile::exists(QStringLiteral("never.prg")));
    }

    void failedWriteLeavesTheOldFile()
    {
        writeFile(QStringLiteral("src.prg"), "S\t1\tnew\r\n");
        const QString out(255, QLatin1Char('c'));
        const QByteArray before = "S\t1\told\r\n";
        writeFile(out, before);
        const prgtest::Run result = run({QStringLiteral("convert"), QStringLiteral("src.prg"), out});
        QCOMPARE(result.exitCode, 3);
        QVERIFY(result.errLines().value(0).startsWith(QStringLiteral("tarvo-prg: cannot write %1: ").arg(out)));
        QCOMPARE(readFile(out), before);
    }
};

QTEST_GUILESS_MAIN(TestPrgConvert)
#include "tst_prg_convert.moc"

