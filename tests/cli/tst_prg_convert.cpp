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

    // Bytes that are no characters of the encoding read as replacement
    // characters: dump and convert say so by line, with the encodings the
    // file reads cleanly in, and convert writes them only when told to.
    void bytesThatAreNoCharactersAreSaid_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("finding");
        QTest::newRow("CP1251 read as UTF-8") << u"UTF-8"_s << QByteArray("S\t1\t5\r\nH\t1\t" + kWaterCp1251 + "\r\n")
                                              << u"in.prg:2: bytes that are no characters of UTF-8; "
                                                 "the file reads cleanly in CP1251, "_s;
        QTest::newRow("byte CP1251 leaves undefined") << u"CP1251"_s << QByteArray("H\t1\t" + kWaterCp1251 + "\x98\r\n")
                                                      << u"in.prg:1: bytes that are no characters of CP1251; "_s;
        QTest::newRow("byte ISO 8859-11 leaves undefined") << u"ISO 8859-11"_s << QByteArray("H\t1\t\xa1\xdb\r\n")
                                                           << u"in.prg:1: bytes that are no characters of ISO 8859-11; "_s;
    }

    void bytesThatAreNoCharactersAreSaid()
    {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, finding);
        writeFile(u"in.prg"_s, bytes);
        QFile::remove(u"out.prg"_s);
        const prgtest::Run dumped = run({u"dump"_s, u"--encoding"_s, encoding, u"in.prg"_s});
        QCOMPARE(dumped.exitCode, 1);
        QCOMPARE(dumped.errLines().size(), 1);
        QVERIFY2(dumped.errLines().first().startsWith(u"tarvo-prg: "_s + finding), dumped.err.constData());
        QVERIFY(dumped.out.contains("\xef\xbf\xbd")); // what the JSON holds instead

        const prgtest::Run refused = run({u"convert"_s, u"--encoding"_s, encoding, u"in.prg"_s, u"out.prg"_s});
        QCOMPARE(refused.exitCode, 2);
        QVERIFY2(refused.errLines().value(0).startsWith(u"tarvo-prg: "_s + finding), refused.err.constData());
        QVERIFY(refused.errLines().value(0).endsWith(u"; nothing written (give the file's --from, or --lossy to write "
                                                      "them as replacement characters)"_s));
        QVERIFY(!QFile::exists(u"out.prg"_s));

        const prgtest::Run told = run({u"convert"_s, u"--lossy"_s, u"--encoding"_s, encoding, u"in.prg"_s, u"out.prg"_s});
        QCOMPARE(told.exitCode, 1);
        QVERIFY(told.errLines().value(0).startsWith(u"tarvo-prg: "_s + finding));
        QVERIFY(QFile::exists(u"out.prg"_s));
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

