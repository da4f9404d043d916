// The command line of tarvo-prg: help, version, and every way to get it wrong.

#include "tarvoversion.h"
#include "prgrunner.h"
#include "testsupport.h"

#include <encodings.h>

#include <QTextCodec>
#include <QtTest>

using namespace Qt::StringLiterals;

using prgtest::run;

namespace {
const QStringList kCommands = {u"dump"_s, u"build"_s, u"check"_s, u"convert"_s, u"diff"_s, u"set"_s};
}

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
        for (const QString &command : kCommands)
            QVERIFY2(text.contains(u"\n  "_s + command + u' '), qPrintable(command));
        // The help text spells the list out; it must be the list the tool knows.
        const QString listed = text.section(u"\nEncodings:\n"_s, 1).section(u"\nAny case"_s, 0, 0);
        QString expected;
        for (const QString &name : tarvo::entryNames())
            expected += name.contains(u' ') ? QString(u'"' + name + u"\" "_s) : QString(name + u' ');
        QCOMPARE(listed.simplified(), expected.simplified());
    }

    // The manual page is made from the help text, and the README tells the
    // same: every command, every option and every exit status.
    void manualPageAndReadmeAgreeWithTheHelp()
    {
        const QString help = QString::fromUtf8(run({u"--help"_s}).out);
        QFile manual(QStringLiteral(TARVO_BINARY_DIR "/tarvo-prg.1"));
        QVERIFY(manual.open(QIODevice::ReadOnly));
        const QString raw = QString::fromUtf8(manual.readAll());
        const QString page = QString(raw).remove(u'\\');
        QFile readmeFile(QStringLiteral(TARVO_SOURCE_DIR "/README.md"));
        QVERIFY(readmeFile.open(QIODevice::ReadOnly));
        const QString readme = QString::fromUtf8(readmeFile.readAll()).section(u"## Command line: tarvo-prg"_s, 1)
                                   .section(u"\n## "_s, 0, 0);
        // Dated by the build; placeholders italic; an encoding name never
        // broken across lines.
        QVERIFY2(QRegularExpression(u"^\\.TH TARVO-PRG 1 \"\\d{4}-\\d\\d-\\d\\d\" \"tarvo-prg " TARVO_VERSION "\""_s)
                     .match(page).hasMatch(), qPrintable(page.left(80)));
        QVERIFY(raw.contains(u"\\fBdump\\fR [\\fB\\-\\-encoding\\fR \\fINAME\\fR] \\fIFILE\\fR\n"_s));
        QVERIFY(raw.contains(u"\\fB\\-\\-cell\\fR \\fIKEY\\fR=\\fIVALUE\\fR"_s));
        QVERIFY(raw.contains(u"\"ISO\\ 8859\\-6\""_s));
        QVERIFY(!raw.contains(u"ISO 8859"_s));
        for (const QString &command : kCommands) {
            QVERIFY2(page.contains(u"fB"_s + command + u"fR "_s), qPrintable(command));
            QVERIFY2(readme.contains(u"**"_s + command + u"**"_s), qPrintable(command));
        }
        const QStringList options = {u"--encoding"_s, u"--from"_s, u"--to"_s, u"--cell"_s, u"SOURCE_DATE_EPOCH"_s};
        for (const QString &option : options) {
            QVERIFY(help.contains(option));
            QVERIFY2(page.contains(option), qPrintable(option));
            QVERIFY2(readme.contains(option), qPrintable(option));
        }
        for (int status = 0; status <= 3; ++status) {
            QVERIFY(help.contains(u"\n  %1  "_s.arg(status)));
            QVERIFY(page.contains(u".TP\nfB%1fR\n"_s.arg(status)));
            QVERIFY2(readme.contains(u"%1:"_s.arg(status)) || readme.contains(u"**%1**"_s.arg(status)),
                     qPrintable(QString::number(status)));
        }
    }

    // What bash offers for the last of `words`, as the installed script
    // answers it.
    static QStringList completions(const QStringList &words)
    {
        const QString script = uR"(source "%1" && COMP_WORDS=("$@") && COMP_CWORD=$(($# - 1)) && )"
                               uR"(_tarvo_prg && printf '%s\n' "${COMPREPLY[@]}")"_s
                                   .arg(QStringLiteral(TARVO_SOURCE_DIR "/cli/tarvo-prg.bash"));
        QProcess bash;
        bash.start(u"bash"_s, QStringList{u"-c"_s, script, u"bash"_s, u"tarvo-prg"_s} + words);
        if (!bash.waitForFinished(30000))
            return {u"(bash did not finish)"_s};
        return QString::fromUtf8(bash.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    void completionOffersCommandsOptionsAndEncodings()
    {
        if (QStandardPaths::findExecutable(u"bash"_s).isEmpty())
            QSKIP("no bash here");
        QCOMPARE(completions({u""_s}), kCommands);
        QCOMPARE(completions({u"set"_s, u"--c"_s}), QStringList{u"--cell"_s});
        QCOMPARE(completions({u"convert"_s, u"--t"_s}), QStringList{u"--to"_s});
        QStringList escaped;
        for (QString name : tarvo::entryNames())
            escaped << name.replace(u' ', u"\\ "_s);
        QCOMPARE(completions({u"dump"_s, u"--encoding"_s, u""_s}), escaped);
        QCOMPARE(completions({u"dump"_s, u"--encoding"_s, u"iso\\ 8859-1"_s}),
                 escaped.filter(QRegularExpression(u"^ISO\\\\ 8859-1"_s)));
        // bash splits "--encoding=" and "--cell=" at the "=".
        QCOMPARE(completions({u"dump"_s, u"--encoding"_s, u"="_s}), escaped);
        QCOMPARE(completions({u"dump"_s, u"--encoding"_s, u"="_s, u"cp125"_s}), escaped.mid(1, 9));
        // Whole cell keys, ready for the value.
        QCOMPARE(completions({u"set"_s, u"--cell"_s, u"department.3."_s}),
                 QStringList({u"department.3.name="_s, u"department.3.price="_s, u"department.3.tax="_s,
                              u"department.3.digits="_s}));
        QCOMPARE(completions({u"set"_s, u"--cell"_s, u"="_s, u"payment.4.i"_s}), QStringList{u"payment.4.index="_s});
        QCOMPARE(completions({u"set"_s, u"--cell"_s, u"para"_s}).size(), 26);
        QCOMPARE(completions({u"help"_s, u"c"_s}), QStringList({u"check"_s, u"convert"_s}));
    }

    // "COMMAND --help" and "help COMMAND" give that command's help.
    void helpWinsOverACommand()
    {
        const QList<QStringList> asked = {{u"dump"_s, u"--help"_s}, {u"dump"_s, u"-h"_s}, {u"help"_s, u"dump"_s},
                                          {u"--encoding=CP1251"_s, u"dump"_s, u"x.prg"_s, u"--help"_s}};
        for (const QStringList &arguments : asked) {
            const prgtest::Run result = run(arguments);
            QCOMPARE(result.exitCode, 0);
            QVERIFY2(result.out.startsWith("Usage: tarvo-prg dump [--encoding NAME] FILE\n    Print the document"),
                     result.out.constData());
            QVERIFY(!result.out.contains("Commands:"));
        }
        QVERIFY(run({u"help"_s}).out.contains("\nCommands:\n"));
    }

    void versionIsTheEditorsVersion()
    {
        const prgtest::Run result = run({QStringLiteral("--version")});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.out, QByteArray("tarvo-prg " TARVO_VERSION "\n"));
        QVERIFY(result.err.isEmpty());
    }

    void wrongCommandLines_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("nothing") << QStringList() << "no command given";
        QTest::newRow("unknown command") << QStringList{u"frob"_s, u"a.prg"_s} << u"unknown command \"frob\""_s;
        QTest::newRow("mistyped command") << QStringList{u"dupm"_s, u"a.prg"_s}
                                          << u"unknown command \"dupm\"; did you mean \"dump\"?"_s;
        QTest::newRow("command cut short") << QStringList{u"conv"_s, u"a"_s, u"b"_s}
                                           << u"unknown command \"conv\"; did you mean \"convert\"?"_s;
        QTest::newRow("help of no command") << QStringList{u"help"_s, u"chek"_s}
                                            << u"unknown command \"chek\"; did you mean \"check\"?"_s;
        QTest::newRow("unknown option") << QStringList{u"dump"_s, u"--frob"_s, u"a.prg"_s} << u"unknown option --frob"_s;
        QTest::newRow("short option") << QStringList{u"dump"_s, u"-e"_s, u"a.prg"_s} << u"unknown option -e"_s;
        QTest::newRow("encoding without name") << QStringList{u"dump"_s, u"a.prg"_s, u"--encoding"_s}
                                               << "option --encoding needs an encoding name";
        QTest::newRow("code page outside the list") << QStringList{u"convert"_s, u"--to"_s, u"KOI8-R"_s, u"a"_s, u"b"_s}
                                                    << u"unknown encoding \"KOI8-R\" for --to; known: System, CP1250, "_s
                                                       u"CP1251, CP1252, CP1253, CP1254, CP1255, CP1256, CP1257, CP1258, "_s
                                                       u"ISO 8859-1, ISO 8859-2, ISO 8859-3, ISO 8859-4, ISO 8859-5, "_s
                                                       u"ISO 8859-6, ISO 8859-7, ISO 8859-8, ISO 8859-9, ISO 8859-10, "_s
                                                       u"ISO 8859-11, ISO 8859-12, ISO 8859-13, ISO 8859-14, ISO 8859-15, "_s
                                                       u"ISO 8859-16"_s;
        QTest::newRow("no code page") << QStringList{u"dump"_s, u"--encoding=--"_s, u"a"_s}
                                      << u"unknown encoding \"--\" for --encoding; known: "_s;
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
        QTest::newRow("check reads standard input once") << QStringList{u"check"_s, u"-"_s, u"-"_s}
                                                         << u"check: standard input (\"-\") given more than once"_s;
        QTest::newRow("diff of standard input with itself") << QStringList{u"diff"_s, u"-"_s, u"-"_s}
                                                            << u"diff: only one of A and B can be standard input (\"-\")"_s;
        QTest::newRow("diff of one") << QStringList{u"diff"_s, u"a"_s} << u"diff: missing B"_s;
        QTest::newRow("set without cells") << QStringList{u"set"_s, u"a"_s} << u"set: no --cell KEY=VALUE given"_s;
        QTest::newRow("cell outside set") << QStringList{u"dump"_s, u"--cell"_s, u"comment=x"_s, u"a"_s}
                                          << u"dump takes no --cell"_s;
        QTest::newRow("set on standard input") << QStringList{u"set"_s, u"--cell=comment=x"_s, u"-"_s}
                                               << u"set: \"-\" is no file to write back; name the files"_s;
        QTest::newRow("cell without value") << QStringList{u"set"_s, u"--cell"_s, u"comment"_s, u"a"_s}
                                            << u"--cell comment: no \"=\"; write KEY=VALUE"_s;
        QTest::newRow("unknown table") << QStringList{u"set"_s, u"--cell"_s, u"dept.1.name=x"_s, u"a"_s}
                                       << u"--cell: unknown cell key \"dept.1.name\"; keys are param.N, "_s
                                          u"department.N.name|price|tax|digits, header.N, comment, payment.N.name|value|index"_s;
        QTest::newRow("row 0") << QStringList{u"set"_s, u"--cell"_s, u"param.0=1"_s, u"a"_s}
                               << u"--cell: cell key \"param.0\": param numbers go from 1 to 26"_s;
        QTest::newRow("row past the end") << QStringList{u"set"_s, u"--cell"_s, u"payment.5.name=x"_s, u"a"_s}
                                          << u"--cell: cell key \"payment.5.name\": payment numbers go from 1 to 4"_s;
        QTest::newRow("row with a sign") << QStringList{u"set"_s, u"--cell"_s, u"header.+1=x"_s, u"a"_s}
                                         << u"--cell: cell key \"header.+1\": header numbers go from 1 to 8"_s;
        QTest::newRow("row of the comment") << QStringList{u"set"_s, u"--cell"_s, u"comment.1=x"_s, u"a"_s}
                                            << u"--cell: cell key \"comment.1\" is not of the form comment"_s;
        QTest::newRow("unknown column") << QStringList{u"set"_s, u"--cell"_s, u"department.2.cost=1"_s, u"a"_s}
                                        << u"--cell: cell key \"department.2.cost\" is not of the form "_s
                                           u"department.N.name|price|tax|digits"_s;
        QTest::newRow("price that is no number") << QStringList{u"set"_s, u"--cell"_s, u"department.3.price=2,5,0"_s, u"a"_s}
                                                 << u"--cell department.3.price: \"2,5,0\" is not a decimal number"_s;
        QTest::newRow("digits that are no whole number") << QStringList{u"set"_s, u"--cell=department.1.digits=1.5"_s, u"a"_s}
                                                         << u"--cell department.1.digits: \"1.5\" is not a whole number"_s;
        QTest::newRow("payment value with a letter") << QStringList{u"set"_s, u"--cell=payment.1.value=1x"_s, u"a"_s}
                                                     << u"--cell payment.1.value: \"1x\" is not a decimal number"_s;
        QTest::newRow("a TAB in a value") << QStringList{u"set"_s, u"--cell=header.1=a\tb"_s, u"a"_s}
                                          << u"--cell header.1: a cell cannot hold a TAB or a line end"_s;
        QTest::newRow("an ESC in a value") << QStringList{u"set"_s, u"--cell=header.2=\x1b[2J"_s, u"a"_s}
                                           << u"--cell header.2: a cell cannot hold the control character U+001b"_s;
        QTest::newRow("--lossy for another command") << QStringList{u"dump"_s, u"--lossy"_s, u"a"_s}
                                                     << u"dump takes no --lossy"_s;
        QTest::newRow("one cell twice") << QStringList{u"set"_s, u"--cell=comment=x"_s, u"--cell=comment=y"_s, u"a"_s}
                                        << u"--cell comment given twice"_s;
    }

    void wrongCommandLines()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const prgtest::Run result = run(arguments, "{}");
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        const QStringList lines = result.errLines();
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines.first().startsWith(QStringLiteral("tarvo-prg: ") + message), qPrintable(lines.first()));
        QCOMPARE(lines.at(1), QStringLiteral("Try 'tarvo-prg --help'."));
        QVERIFY(!QFile::exists(QStringLiteral("a")) && !QFile::exists(QStringLiteral("b")));
    }

    // People spell code pages in many ways; each must land on the same entry.
    void encodingSpellings_data()
    {
        QTest::addColumn<QString>("spelling");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        const QByteArray cp1251 = "H\t1\t\xc2\xee\xe4\xe0\r\n";
        const QByteArray iso5 = "H\t1\t\xb2\xde\xd4\xd0\r\n";
        const QByteArray latin1 = "H\t1\t\xe9t\xe9\r\n";
        QTest::newRow("list name with its space") << u"ISO 8859-5"_s << iso5 << u"Вода"_s;
        QTest::newRow("lower case") << u"cp1251"_s << cp1251 << u"Вода"_s;
        QTest::newRow("registry name") << u"windows-1251"_s << cp1251 << u"Вода"_s;
        QTest::newRow("with a dash") << u"CP-1251"_s << cp1251 << u"Вода"_s;
        QTest::newRow("dash for the space") << u"iso-8859-5"_s << iso5 << u"Вода"_s;
        QTest::newRow("no space") << u"ISO8859-5"_s << iso5 << u"Вода"_s;
        QTest::newRow("alias") << u"latin1"_s << latin1 << u"été"_s;
    }

    void encodingSpellings()
    {
        QFETCH(QString, spelling);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        prgtest::writeFile(QStringLiteral("spelled.prg"), bytes);
        const prgtest::Run result = run({u"dump"_s, u"--encoding"_s, spelling, u"spelled.prg"_s});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(QString::fromUtf8(result.out).contains(u'"' + text + u'"'), result.out.constData());
    }

    // A name that is no text in the locale's encoding would reach the
    // program as another name (with U+FFFD in it).
    void fileNameThatIsNoTextIsRefused()
    {
        QProcess shell;
        shell.start(u"/bin/sh"_s, {u"-c"_s, u"exec \"$0\" build \"$(printf 'out\\351.prg')\" < /dev/null"_s,
                                   QStringLiteral(TARVO_PRG_EXECUTABLE)});
        QVERIFY(shell.waitForFinished(60000));
        QCOMPARE(shell.exitCode(), 2);
        QVERIFY(shell.readAllStandardError().startsWith("tarvo-prg: cannot use \"out\\xE9.prg\": "));
        QCOMPARE(QDir().entryList(QDir::Files).filter(u"out"_s), QStringList());
    }

    // A message is in one language: tarvo-prg's own words and the system's
    // reason both in the language of a catalogue it has, or both English;
    // in the locale's character set; control characters in names quoted.
    void messagesSpeakOneLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("C") << u"C"_s << QStringList{u"dump"_s, u"missing.prg"_s}
                           << QByteArray("tarvo-prg: cannot read missing.prg: No such file or directory\n");
        QTest::newRow("no catalogue, system speaks German")
            << u"de_DE.UTF-8"_s << QStringList{u"dump"_s, u"missing.prg"_s}
            << QByteArray("tarvo-prg: cannot read missing.prg: No such file or directory\n");
        QTest::newRow("Bulgarian, UTF-8") << u"bg_BG.UTF-8"_s << QStringList{u"dump"_s, u"missing.prg"_s}
                                          << u"tarvo-prg: missing.prg не може да бъде прочетен: "
                                             u"Няма такъв файл или директория\n"_s.toUtf8();
        QTextCodec *cp1251 = QTextCodec::codecForName("windows-1251");
        QTest::newRow("Bulgarian, CP1251") << u"bg_BG.CP1251"_s << QStringList{u"dump"_s, u"missing.prg"_s}
                                           << cp1251->fromUnicode(u"tarvo-prg: missing.prg не може да бъде прочетен: "
                                                                  u"Няма такъв файл или директория\n"_s);
        QTest::newRow("Bulgarian, the library's reason") << u"bg_BG.UTF-8"_s << QStringList{u"dump"_s, u"."_s}
                                                         << u"tarvo-prg: . не може да бъде прочетен: Това е папка\n"_s.toUtf8();
        QTest::newRow("control characters in the name")
            << u"C"_s << QStringList{u"dump"_s, u"a\x1b[2Jb\n.prg"_s}
            << QByteArray("tarvo-prg: cannot read \"a\\x1b[2Jb\\x0a.prg\": No such file or directory\n");
        // "!": the locale is not made, so the C library speaks English.
        QTest::newRow("Bulgarian asked, the system cannot")
            << u"!bg_BG.UTF-8"_s << QStringList{u"dump"_s, u"missing.prg"_s}
            << QByteArray("tarvo-prg: cannot read missing.prg: No such file or directory\n");
        QTest::newRow("Bulgarian, a cell named in words")
            << u"bg_BG.UTF-8"_s << QStringList{u"set"_s, u"--cell=department.3.price=2,5,0"_s, u"x.prg"_s}
            << u"tarvo-prg: --cell department.3.price: „2,5,0“ не е десетично число\n"
               u"Вижте „tarvo-prg --help“.\n"_s.toUtf8();
    }
    void messagesSpeakOneLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, message);
        // The locales are made here, so that the test needs none installed.
        const bool unmade = locale.startsWith(u'!');
        locale.remove(u'!');
        const QString locales = QDir::current().filePath(unmade ? u"no-locales"_s : u"locales"_s);
        if (locale != u"C"_s && !unmade && !QFileInfo::exists(locales + u'/' + locale)) {
            if (QStandardPaths::findExecutable(u"localedef"_s).isEmpty()
                || !QFileInfo::exists(u"/usr/share/i18n/locales/"_s + locale.section(u'.', 0, 0)))
                QSKIP("cannot make the locale here");
            QDir().mkpath(locales);
            QProcess localedef;
            localedef.start(u"localedef"_s, {u"-i"_s, locale.section(u'.', 0, 0), u"-f"_s, locale.section(u'.', 1),
                                             locales + u'/' + locale});
            QVERIFY(localedef.waitForFinished(60000));
            if (localedef.exitCode() > 1) // 1: made, with warnings
                QSKIP("localedef failed");
        }
        const prgtest::Run result = run(arguments, {}, {},
                                        {u"LOCPATH="_s + locales, u"LC_ALL="_s + locale, u"LANGUAGE="_s});
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.err, message);
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

