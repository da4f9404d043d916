// Installs the build into a temporary prefix and checks what an operator's
// desktop gets: both programs, the data folder with the names file and the
// translation, a desktop entry that starts the editor in that folder, the
// icon and the AppStream metadata.

#include "testsupport.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
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

    // The editor finds its files in the working directory, so the menu entry
    // must start it in the installed data folder.
    void desktopEntryStartsInDataFolder()
    {
        const QMap<QString, QString> entry = readDesktopEntry(desktopFile());
        QVERIFY2(!entry.isEmpty(), qPrintable(desktopFile()));
        QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("TARVO VODI"));
        QVERIFY(!entry.value(QStringLiteral("Name[bg]")).isEmpty());
        QVERIFY(!entry.value(QStringLiteral("Comment[bg]")).isEmpty());
        QCOMPARE(entry.value(QStringLiteral("Exec")), QStringLiteral("tarvo"));
        QCOMPARE(QFileInfo(entry.value(QStringLiteral("Path"))).canonicalFilePath(),
                 QFileInfo(dataDir()).canonicalFilePath());
        QCOMPARE(entry.value(QStringLiteral("Icon")), appId);
    }

    void iconInHicolorTheme()
    {
        const QString icon = prefix + QStringLiteral("/share/icons/hicolor/48x48/apps/") + appId
                             + QStringLiteral(".png");
        const QImage image(icon);
        QVERIFY2(!image.isNull(), qPrintable(icon));
        QCOMPARE(image.size(), QSize(48, 48));
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
};

QTEST_GUILESS_MAIN(TstInstall)
#include "tst_install.moc"
