// The command line of tarvo-prg: help, version, and every way to get it wrong.

#include "tarvoversion.h"
#include "prgrunner.h"
#include "testsupport.h"

#include <QtTest>

using namespace Qt::StringLiterals;

using prgtest::run;

class TestPrgArguments : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void helpListsCommandsAndEveryEncoding()
    {
        const prgtest::Run result = run({QStringLiteral("--help")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.err.isEmpty());
        const QString text = QString::fromUtf8(result.out);
        QVERIFY(text.startsWith(QLatin1String("Usage: tarvo-prg")));
        for (const char *command : {"dump", "build", "check", "convert"})
            QVERIFY2(text.contains(QLatin1String("  ") + QLatin1String(command) + QLatin1Char(' ')), command);
        const QStringList names = {u"System"_s, u"CP1250"_s, u"CP1258"_s, u"\"ISO 8859-1\""_s,
                                   u"\"ISO 8859-12\""_s, u"\"ISO 8859-16\""_s};
        for (const QString &name : names)
            QVERIFY2(text.contains(name), qPrintable(name));
    }

    void helpWinsOverACommand()
    {
        const prgtest::Run result = run({QStringLiteral("dump"), QStringLiteral("--help")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.startsWith("Usage: tarvo-prg"));
    }

    void versionIsTheEditorsVersion()
    {
        const prgtest::Run result = run({QStringLiteral("--version")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("tarvo-prg v " TARVO_VERSION "\n"));
        QVERIFY(result.err.isEmpty());
    }

    void wrongCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << QStringList() << "no command given";
        QTest::newRow("unknown command") << QStringList{u"frob"_s, u"a.prg"_s} << u"unknown command \"frob\""_s;
        QTest::newRow("unknown option") << QStringList{u"dump"_s, u"--frob"_s, u"a.prg"_s} << u"unknown option --frob"_s;
        QTest::newRow("short option") << QStringList{u"dump"_s, u"-e"_s, u"a.prg"_s} << u"unknown option -e"_s;
        QTest::newRow("encoding without name") << QStringList{u"dump"_s, u"a.prg"_s, u"--encoding"_s}
                                               << "option --encoding needs an encoding name";
        QTest::newRow("encoding in other case") << QStringList{u"dump"_s, u"--encoding"_s, u"cp1251"_s, u"a.prg"_s}
                                                << "unknown encoding \"cp1251\" for --encoding";
        QTest::newRow("encoding spelled with dash") << QStringList{u"check"_s, u"--encoding=ISO-8859-5"_s, u"a.prg"_s}
                                                    << "unknown encoding \"ISO-8859-5\" for --encoding";
        QTest::newRow("unknown target") << QStringList{u"convert"_s, u"--to"_s, u"UTF-8"_s, u"a"_s, u"b"_s}
                                        << "unknown encoding \"UTF-8\" for --to";
        QTest::newRow("dump without file") << QStringList{u"dump"_s} << u"dump: missing FILE"_s;
        QTest::newRow("dump with two") << QStringList{u"dump"_s, u"a"_s, u"b"_s} << u"dump: too many file names; it takes FILE"_s;
        QTest::newRow("build without out") << QStringList{u"build"_s} << u"build: missing OUT"_s;
        QTest::newRow("check without file") << QStringList{u"check"_s} << u"check: missing FILE"_s;
        QTest::newRow("convert with one") << QStringList{u"convert"_s, u"a"_s} << u"convert: missing OUT"_s;
        QTest::newRow("convert without files") << QStringList{u"convert"_s} << u"convert: missing IN and OUT"_s;
        QTest::newRow("from outside convert") << QStringList{u"dump"_s, u"--from"_s, u"CP1251"_s, u"a"_s}
                                              << "dump takes no --from or --to; use --encoding";
        QTest::newRow("empty file name") << QStringList{u"dump"_s, u""_s} << u"dump: empty file name"_s;
        QTest::newRow("help with value") << QStringList{u"--help=yes"_s} << u"option --help takes no value"_s;
    }

    void wrongCommandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const prgtest::Run result = run(arguments, "{}");
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        const QStringList lines = result.errLines();
        QVERIFY(lines.size() > 1);
        QCOMPARE(lines.first(), QStringLiteral("tarvo-prg: ") + message);
        QVERIFY(lines.at(1).startsWith(QLatin1String("Usage: tarvo-prg")));
        QVERIFY(!QFile::exists(QStringLiteral("a")) && !QFile::exists(QStringLiteral("b")));
    }

    void encodingNameWithSpaceAsOneArgument()
    {
        prgtest::writeFile(QStringLiteral("cyr.prg"), "H\t1\t\xb2\xde\xd4\xd0\r\n");
        const prgtest::Run result =
            run({QStringLiteral("dump"), QStringLiteral("--encoding"), QStringLiteral("ISO 8859-5"),
                 QStringLiteral("cyr.prg")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(QString::fromUtf8(result.out).contains(QStringLiteral("\"Вода\"")));
    }

    void doubleDashEndsOptions()
    {
        prgtest::writeFile(QStringLiteral("--odd.prg"), "S\t1\t5\r\n");
        const prgtest::Run result = run({QStringLiteral("dump"), QStringLiteral("--"), QStringLiteral("--odd.prg")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.out.contains("\"5\""));
    }
};

QTEST_GUILESS_MAIN(TestPrgArguments)
#include "tst_prg_arguments.moc"

