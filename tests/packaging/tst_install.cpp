// Installs the build into a temporary prefix and checks what an operator's
// desktop gets: both programs, the editor's manual page, the data folder
// with the names file and the translation, the desktop entry, the icons and
// the AppStream metadata; and that the Debian package carries the version
// of the build.

#include "testsupport.h"
#include "tarvoversion.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

const QString appId = QStringLiteral("org.quorvellabs.Tarvo");

QByteArray digest(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// The keys of the [Desktop Entry] group, exactly as written.
QMap<QString, QString> readDesktopEntry(const QString &path)
{
    QMap<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (inEntry && eq > 0)
            keys.insert(line.left(eq), line.mid(eq + 1));
    }
    return keys;
}

QString runTool(const QString &program, const QStringList &arguments, int *exitCode)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit) {
        *exitCode = -1;
        return process.errorString();
    }
    *exitCode = process.exitCode();
    return QString::fromLocal8Bit(process.readAll());
}

QString readText(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The width and height that an SVG file's root element declares.
QSize svgSize(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&file);
    if (!xml.readNextStartElement() || xml.name() != QStringLiteral("svg"))
        return {};
    return QSize(xml.attributes().value(QStringLiteral("width")).toInt(),
                 xml.attributes().value(QStringLiteral("height")).toInt());
}

} // namespace

class TstInstall : public QObject
{
    Q_OBJECT

private:
    QString prefix;
    QString dataDir() const { return prefix + QStringLiteral("/share/tarvo"); }
    QString desktopFile() const
    {
        return prefix + QStringLiteral("/share/applications/") + appId + QStringLiteral(".desktop");
    }
    QString metainfoFile() const
    {
        return prefix + QStringLiteral("/share/metainfo/") + appId + QStringLiteral(".metainfo.xml");
    }

private slots:
    void initTestCase()
    {
        testsupport::isolate();
        prefix = testsupport::isolate().path() + QStringLiteral("/root");
        int exitCode = 0;
        const QString output = runTool(QStringLiteral(TARVO_CMAKE),
                                       {QStringLiteral("--install"), QStringLiteral(TARVO_BINARY_DIR),
                                        QStringLiteral("--prefix"), prefix},
                                       &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(output));
    }

    void programsInBin()
    {
        QStringList programs{QStringLiteral("tarvo")};
        if (TARVO_HAS_PRG)
            programs << QStringLiteral("tarvo-prg");
        for (const QString &name : programs) {
            const QFileInfo info(prefix + QStringLiteral("/bin/") + name);
            QVERIFY2(info.isFile() && info.isExecutable(), qPrintable(info.filePath()));
        }
    }

    void dataFolderHoldsNamesAndTranslation()
    {
        const QString names = dataDir() + QStringLiteral("/names_bulgarian.xml");
        QVERIFY(QFile::exists(names));
        QCOMPARE(digest(names), digest(QStringLiteral(TARVO_SOURCE_DIR "/data/names_bulgarian.xml")));
        const QString qm = dataDir() + QStringLiteral("/Tarvo_bg.qm");
        QVERIFY(QFile::exists(qm));
        QCOMPARE(digest(qm), digest(QStringLiteral(TARVO_BINARY_DIR "/data/Tarvo_bg.qm")));
    }

    // The menu entry starts the editor by name, as desktops find programs
    // on PATH, given the file the file manager opens with it; it names no
    // working folder, as the editor finds its data files from any.
    void desktopEntry()
    {
        const QMap<QString, QString> entry = readDesktopEntry(desktopFile());
        QVERIFY2(!entry.isEmpty(), qPrintable(desktopFile()));
        QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("TARVO VODI"));
        QVERIFY(!entry.value(QStringLiteral("Name[bg]")).isEmpty());
        QVERIFY(!entry.value(QStringLiteral("Comment[bg]")).isEmpty());
        QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("tarvo %f"));
        QVERIFY(!entry.contains(QStringLiteral("Path")));
        QCOMPARE(entry.value(QStringLiteral("MimeType")), QStringLiteral("application/x-tarvo-program;"));
        QCOMPARE(entry.value(QStringLiteral("Icon")), appId);
    }

    void editorManualPage()
    {
        const QString page = readText(prefix + QStringLiteral("/share/man/man1/tarvo.1"));
        const QString title = page.section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(title.startsWith(QStringLiteral(".TH TARVO 1 "))
                     && title.contains(QStringLiteral("\"tarvo v " TARVO_VERSION "\"")),
                 qPrintable(title));
    }

    // tarvo-prg's manual page (made from its help text) and its bash
    // completion, where packages and the shell look for them.
    void commandLineToolManualPageAndCompletion()
    {
        if (!TARVO_HAS_PRG)
            QSKIP("built without tarvo-prg");
        const QString page = readText(prefix + QStringLiteral("/share/man/man1/tarvo-prg.1"));
        QVERIFY2(QRegularExpression(QStringLiteral("^\\.TH TARVO-PRG 1 \"\\d{4}-\\d\\d-\\d\\d\" \"tarvo-prg " TARVO_VERSION "\""))
                     .match(page)
                     .hasMatch(),
                 qPrintable(page.left(80)));
        // Its catalogue, found from the installed program: a Bulgarian
        // user reads its messages in Bulgarian.
        const QString qm = dataDir() + QStringLiteral("/tarvo-prg_bg.qm");
        QCOMPARE(digest(qm), digest(QStringLiteral(TARVO_BINARY_DIR "/data/tarvo-prg_bg.qm")));
        // (tarvo-prg speaks Bulgarian only where the C library does too: the
        // locale is made here.)
        const QString locales = QDir::current().filePath(QStringLiteral("locales"));
        QVERIFY(QDir().mkpath(locales));
        int made = 0;
        runTool(QStringLiteral("localedef"),
                {QStringLiteral("-i"), QStringLiteral("bg_BG"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                 locales + QStringLiteral("/bg_BG.UTF-8")},
                &made);
        if (made != 0 && made != 1)
            QSKIP("cannot make the Bulgarian locale here (localedef, package locales)");
        QProcess prg;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LOCPATH"), locales);
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("bg_BG.UTF-8"));
        environment.remove(QStringLiteral("LANGUAGE"));
        prg.setProcessEnvironment(environment);
        prg.start(prefix + QStringLiteral("/bin/tarvo-prg"), {QStringLiteral("dupm")});
        QVERIFY(prg.waitForFinished(30000));
        QVERIFY2(QString::fromUtf8(prg.readAllStandardError()).contains(QStringLiteral("непозната команда „dupm“")),
                 "no Bulgarian message");
        const QString completion = prefix + QStringLiteral("/share/bash-completion/completions/tarvo-prg");
        QVERIFY(QFile::exists(completion));
        QCOMPARE(digest(completion), digest(QStringLiteral(TARVO_SOURCE_DIR "/cli/tarvo-prg.bash")));
    }

    // The MIME type of program files, as the desktop's own tools see it once
    // the installed definition is in a MIME database: the name, or the
    // time-stamp line that starts every file the editor writes.
    void mimeTypeNamesProgramFiles_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("type");
        const QByteArray written = "\";2024-01-15 10:30:00\"\r\n\";\"\r\n\";System Parameters\"\r\nS\t1\t5\r\n";
        QTest::newRow("program file") << QStringLiteral("shop.prg") << written
                                      << QStringLiteral("application/x-tarvo-program");
        QTest::newRow("upper-case extension") << QStringLiteral("SHOP.PRG") << written
                                              << QStringLiteral("application/x-tarvo-program");
        QTest::newRow("no extension, the editor's first line")
            << QStringLiteral("shop") << written << QStringLiteral("application/x-tarvo-program");
        QTest::newRow("no extension, another comment line")
            << QStringLiteral("notes") << QByteArray("\";not a date at all\"\r\n") << QStringLiteral("text/plain");
    }
    void mimeTypeNamesProgramFiles()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, type);
        const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
        const QString update = QStandardPaths::findExecutable(QStringLiteral("update-mime-database"));
        // Outside a desktop session xdg-mime asks mimetype, which reads the
        // MIME database; without it xdg-mime asks file(1), which does not.
        const QString mimetype = QStandardPaths::findExecutable(QStringLiteral("mimetype"));
        if (xdgMime.isEmpty() || update.isEmpty() || mimetype.isEmpty())
            QSKIP("xdg-mime (xdg-utils), update-mime-database (shared-mime-info) or mimetype "
                  "(libfile-mimeinfo-perl) is not installed");
        const QString definition = prefix + QStringLiteral("/share/mime/packages/") + appId + QStringLiteral(".xml");
        QVERIFY(QFile::exists(definition));
        const QString home = QDir::current().filePath(QStringLiteral("xdg-data"));
        if (!QFile::exists(home + QStringLiteral("/mime/mime.cache"))) {
            QVERIFY(QDir().mkpath(home + QStringLiteral("/mime/packages")));
            QVERIFY(QFile::copy(definition, home + QStringLiteral("/mime/packages/") + appId + QStringLiteral(".xml")));
            int exitCode = 0;
            const QString output = runTool(update, {home + QStringLiteral("/mime")}, &exitCode);
            QVERIFY2(exitCode == 0, qPrintable(output));
        }
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        QProcess query;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home);
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), QStringLiteral("/usr/local/share:/usr/share"));
        environment.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        environment.remove(QStringLiteral("DESKTOP_SESSION"));
        query.setProcessEnvironment(environment);
        query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("filetype"), name});
        QVERIFY(query.waitForFinished(60000));
        QCOMPARE(QString::fromUtf8(query.readAllStandardOutput()).trimmed(), type);
    }

    // Software centres list the editor only with an icon of 64 pixels or
    // more; the scalable one serves every other size.
    void iconInHicolorTheme_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        for (const int pixels : {48, 64, 128})
            QTest::addRow("%dx%d", pixels, pixels)
                << QStringLiteral("%1x%1/apps/%2.png").arg(pixels).arg(appId) << QSize(pixels, pixels);
        QTest::addRow("scalable") << QStringLiteral("scalable/apps/%1.svg").arg(appId) << QSize();
    }

    void iconInHicolorTheme()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        const QString icon = prefix + QStringLiteral("/share/icons/hicolor/") + file;
        if (size.isValid()) {
            const QImage image(icon);
            QVERIFY2(!image.isNull(), qPrintable(icon));
            QCOMPARE(image.size(), size);
        } else {
            const QSize declared = svgSize(icon);
            QVERIFY2(!declared.isEmpty(), qPrintable(icon));
            QCOMPARE(declared.width(), declared.height());
        }
    }

    void desktopEntryIsValid()
    {
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (tool.isEmpty())
            QSKIP("desktop-file-validate is not installed");
        int exitCode = 0;
        const QString output = runTool(tool, {desktopFile()}, &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(output));
        QVERIFY2(!output.contains(QStringLiteral("error")), qPrintable(output));
    }

    void metainfoIsValid()
    {
        QVERIFY(QFile::exists(metainfoFile()));
        const QString tool = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
        if (tool.isEmpty())
            QSKIP("appstreamcli is not installed");
        int exitCode = 0;
        const QString output = runTool(tool, {QStringLiteral("validate"), QStringLiteral("--no-net"),
                                              metainfoFile()},
                                       &exitCode);
        QVERIFY2(exitCode == 0, qPrintable(output));
    }

    // A new version of project() needs a new entry at the top of the
    // Debian changelog, which gives the packages their version, and of the
    // AppStream releases.
    void packageVersionIsProjectVersion_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addRow("debian/changelog")
            << readText(QStringLiteral(TARVO_SOURCE_DIR "/debian/changelog")) << QStringLiteral("^tarvo \\(([^)]+)\\)");
        QTest::addRow("metainfo releases")
            << readText(metainfoFile()) << QStringLiteral("<release\\s+version=\"([^\"]+)\"");
    }

    void packageVersionIsProjectVersion()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        const QRegularExpressionMatch match = QRegularExpression(pattern).match(text);
        QVERIFY2(match.hasMatch(), qPrintable(pattern));
        QCOMPARE(match.captured(1), QStringLiteral(TARVO_VERSION));
    }
};

QTEST_GUILESS_MAIN(TstInstall)
#include "tst_install.moc"
