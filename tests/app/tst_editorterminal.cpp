// The editor at the terminal: the built program's --help and --version in
// the locale's language and character set, without a word from the toolkit
// on standard error, and a failure, not a success, when their output cannot
// be written.

#include "tarvoversion.h"
#include "testsupport.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTextCodec>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestEditorTerminal : public QObject
{
    Q_OBJECT

private:
    // A locale made here with localedef, so that the test needs none
    // installed; false when this system cannot make it.
    static bool makeLocale(const QString &folder, const QString &locale)
    {
        if (QFileInfo::exists(folder + u'/' + locale))
            return true;
        if (QStandardPaths::findExecutable(u"localedef"_s).isEmpty()
            || !QFileInfo::exists(u"/usr/share/i18n/locales/"_s + locale.section(u'.', 0, 0)))
            return false;
        QDir().mkpath(folder);
        QProcess localedef;
        localedef.start(u"localedef"_s, {u"-i"_s, locale.section(u'.', 0, 0), u"-f"_s, locale.section(u'.', 1),
                                         folder + u'/' + locale});
        return localedef.waitForFinished(60000) && localedef.exitCode() <= 1; // 1: made, with warnings
    }

private slots:
    void initTestCase() { testsupport::isolate(); }

    void helpAndVersion_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("locale"); // LC_ALL; empty: no variable at all, as env -i
        QTest::addColumn<QString>("output"); // "pipe", "/dev/full" or "closed"
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("out"); // what standard output holds
        QTest::addColumn<QByteArray>("err"); // standard error, exactly
        const QByteArray version("tarvo " TARVO_VERSION "\n");
        QTextCodec *cp1251 = QTextCodec::codecForName("windows-1251");
        QTest::newRow("--version, no locale") << QStringList{u"--version"_s} << QString() << u"pipe"_s << 0 << version
                                              << QByteArray();
        QTest::newRow("--help, no locale, English")
            << QStringList{u"--help"_s} << QString() << u"pipe"_s << 0 << QByteArray("Show this help and exit.")
            << QByteArray();
        QTest::newRow("--help, C, English") << QStringList{u"--help"_s} << u"C"_s << u"pipe"_s << 0
                                            << QByteArray("Show this help and exit.") << QByteArray();
        QTest::newRow("--help, Bulgarian, UTF-8") << QStringList{u"--help"_s} << u"bg_BG.UTF-8"_s << u"pipe"_s << 0
                                                  << u"Показва тази помощ и излиза."_s.toUtf8() << QByteArray();
        QTest::newRow("--help, Bulgarian, CP1251") << QStringList{u"--help"_s} << u"bg_BG.CP1251"_s << u"pipe"_s << 0
                                                   << cp1251->fromUnicode(u"Показва тази помощ и излиза."_s)
                                                   << QByteArray();
        QTest::newRow("--version to a full disk")
            << QStringList{u"--version"_s} << u"C"_s << u"/dev/full"_s << 3 << QByteArray()
            << QByteArray("tarvo: cannot write standard output: No space left on device\n");
        QTest::newRow("--help to a full disk")
            << QStringList{u"--help"_s} << u"C"_s << u"/dev/full"_s << 3 << QByteArray()
            << QByteArray("tarvo: cannot write standard output: No space left on device\n");
        QTest::newRow("--version, standard output closed")
            << QStringList{u"--version"_s} << u"C"_s << u"closed"_s << 3 << QByteArray()
            << QByteArray("tarvo: cannot write standard output: Bad file descriptor\n");
        // Standard output is not taken over by a file the editor opens.
        QTest::newRow("--help, standard output closed")
            << QStringList{u"--help"_s} << u"C"_s << u"closed"_s << 3 << QByteArray()
            << QByteArray("tarvo: cannot write standard output: Bad file descriptor\n");
        QTest::newRow("--help to a full disk, Bulgarian, CP1251")
            << QStringList{u"--help"_s} << u"bg_BG.CP1251"_s << u"/dev/full"_s << 3 << QByteArray()
            << cp1251->fromUnicode(u"tarvo: стандартният изход не може да бъде записан: Няма свободно място на диска\n"_s);
    }

    void helpAndVersion()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, locale);
        QFETCH(QString, output);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const QString locales = QDir::current().filePath(u"locales"_s);
        QProcessEnvironment environment; // nothing of the test's own
        if (!locale.isEmpty()) {
            if (locale != u"C"_s && !makeLocale(locales, locale))
                QSKIP("cannot make the locale here");
            environment.insert(u"LOCPATH"_s, locales);
            environment.insert(u"LC_ALL"_s, locale);
        }
        if (output == u"/dev/full"_s && !QFileInfo::exists(output))
            QSKIP("needs /dev/full");
        QProcess editor;
        editor.setProcessEnvironment(environment);
        if (output == u"/dev/full"_s)
            editor.setStandardOutputFile(output);
        if (output == u"closed"_s)
            editor.start(u"/bin/sh"_s, QStringList{u"-c"_s, u"exec \"$0\" \"$@\" >&-"_s, u"" TARVO_EDITOR_EXECUTABLE ""_s}
                                           + arguments);
        else
            editor.start(u"" TARVO_EDITOR_EXECUTABLE ""_s, arguments);
        QVERIFY(editor.waitForFinished(60000));
        QCOMPARE(editor.exitStatus(), QProcess::NormalExit);
        const QByteArray written = editor.readAllStandardOutput();
        QCOMPARE(editor.readAllStandardError(), err);
        QCOMPARE(editor.exitCode(), exitCode);
        if (out.endsWith('\n'))
            QCOMPARE(written, out);
        else
            QVERIFY2(written.contains(out), written.constData());
    }
};

QTEST_GUILESS_MAIN(TestEditorTerminal)
#include "tst_editorterminal.moc"
