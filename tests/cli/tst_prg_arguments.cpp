// The command line of tarvo-prg: help, version, and every way to get it wrong.

#include "prgrunner.h"
#include "testsupport.h"

#include <QtTest>

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
        const QStringList names = {"System", "CP1250", "CP1258", "\"ISO 8859-1\"", "\"ISO 8859-12\"",
                                   "\"ISO 8859-16\""};
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
        QCOMPARE(result.out, QByteArray("tarvo-prg v 1.12\n"));
        QVERIFY(result.err.isEmpty());
    }

    void wrongCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << QStringList() << "no command given";
        QTest::newRow("unknown command") << QStringList{"frob", "a.prg"} << "unknown command \"frob\"";
        QTest::newRow("unknown option") << QStringList{"dump", "--frob", "a.prg"} << "unknown option --frob";
        QTest::newRow("short option") << QStringList{"dump", "-e", "a.prg"} << "unknown option -e";
        QTest::newRow("encoding without name") << QStringList{"dump", "a.prg", "--encoding"}
                                               << "option --encoding needs an encoding name";
        QTest::newRow("encoding in other case") << QStringList{"dump", "--encoding", "cp1251", "a.prg"}
                                                << "unknown encoding \"cp1251\" for --encoding";
        QTest::newRow("encoding spelled with dash") << QStringList{"check", "--encoding=ISO-8859-5", "a.prg"}
                                                    << "unknown encoding \"ISO-8859-5\" for --encoding";
        QTest::newRow("unknown target") << QStringList{"convert", "--to", "UTF-8", "a", "b"}
                                        << "unknown encoding \"UTF-8\" for --to";
        QTest::newRow("dump without file") << QStringList{"dump"} << "dump: missing FILE";
        QTest::newRow("dump with two") << QStringList{"dump", "a", "b"} << "dump: too many file names; it takes FILE";
        QTest::newRow("build without out") << QStringList{"build"} << "build: missing OUT";
        QTest::newRow("check without file") << QStringList{"check"} << "check: missing FILE";
        QTest::newRow("convert with one") << QStringList{"convert", "a"} << "convert: missing OUT";
        QTest::newRow("convert without files") << QStringList{"convert"} << "convert: missing IN and OUT";
        QTest::newRow("from outside convert") << QStringList{"dump", "--from", "CP1251", "a"}
                                              << "dump takes no --from or --to; use --encoding";
        QTest::newRow("empty file name") << QStringList{"dump", ""} << "dump: empty file name";
        QTest::newRow("help with value") << QStringList{"--help=yes"} << "option --help takes no value";
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
