// What the editor keeps beside a document: the recovery file of unsaved
// edits, and the fingerprint that notices another program's change.

#include "filefingerprint.h"
#include "recoveryfile.h"
#include "testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace tarvo;

namespace {

// The mode bits of `path` itself (a link not followed).
mode_t modeOf(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A recovery file as the editor writes it, naming `documentFile`.
QByteArray recoveryBytes(const QString &documentFile, const QString &encoding = QStringLiteral("CP1251"))
{
    return QByteArray(R"({"format":"tarvo-recovery-1","file":")") + documentFile.toUtf8() + R"(","encoding":")"
           + encoding.toUtf8() + R"(","kept":"2024-01-15T10:30:05.120Z","fileHash":"","cells":[[0,0,2,"7"]]})";
}

} // namespace

class TestDocumentState : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void recoveryFileKeepsTheCellsInTheStateFolder()
    {
        qputenv("XDG_STATE_HOME", QByteArray(testsupport::isolate().path().toLocal8Bit() + "/state"));
        Recovery kept;
        kept.documentFile = QStringLiteral("/data/shop.prg");
        kept.encoding = 2;
        kept.fileHash = contentHash("S\t1\t5\r\n");
        kept.kept = QDateTime(QDate(2024, 1, 15), QTime(10, 30, 5, 120));
        kept.cells.setCellText(DocTable::Depts, 49, 4, QStringLiteral("2"));
        kept.cells.setCellText(DocTable::Comments, 0, 1, QStringLiteral("Бележка \"x\"\t"));
        const QString path = recoveryFilePath(42);
        QCOMPARE(path, testsupport::isolate().path() + QStringLiteral("/state/tarvo/recovery-42.json"));
        QVERIFY(writeRecoveryFile(path, kept));
        QCOMPARE(recoveryFiles(), QStringList{path});
        QCOMPARE(QFileInfo(path).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
        Recovery read;
        QVERIFY(readRecoveryFile(path, &read));
        QCOMPARE(read.documentFile, kept.documentFile);
        QCOMPARE(read.encoding, 2);
        QCOMPARE(read.kept, kept.kept);
        QCOMPARE(read.fileHash, kept.fileHash);
        QVERIFY(read.cells == kept.cells);
        QVERIFY(removeRecoveryFile(path));
        QVERIFY(recoveryFiles().isEmpty());
        QVERIFY(!readRecoveryFile(path, &read));
        qunsetenv("XDG_STATE_HOME");
        QCOMPARE(recoveryFolder(), QDir::homePath() + QStringLiteral("/.local/state/tarvo"));
        qputenv("XDG_STATE_HOME", "relative/state"); // not absolute: ignored
        QCOMPARE(recoveryFolder(), QDir::homePath() + QStringLiteral("/.local/state/tarvo"));
        // Without HOME, the home folder of the user database, as the rollback
        // copy of a save in place finds it (before the fix the editor took
        // "/" and the two disagreed).
        const QByteArray home = qgetenv("HOME");
        qunsetenv("HOME");
        const passwd *user = ::getpwuid(::geteuid());
        QVERIFY(user && user->pw_dir);
        QCOMPARE(recoveryFolder(), QFile::decodeName(user->pw_dir) + QStringLiteral("/.local/state/tarvo"));
        qputenv("HOME", home);
        qputenv("XDG_STATE_HOME", QByteArray(testsupport::isolate().path().toLocal8Bit() + "/state"));
    }

    // Recovery files are kept in and taken from a folder of this user's
    // alone: a link, a folder of another user, one that others may write or
    // one in a folder others may change is refused, and nothing there, nor
    // where a link leads, is written or has its mode changed.
    void recoveryIsKeptOnlyInTheUsersOwnFolder_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        // Before the fix the editor made the folder a link leads to private
        // (0700) and wrote its files there, and read what it found there.
        QTest::newRow("link to another folder") << QStringLiteral("link") << QStringLiteral("symbolic link");
        QTest::newRow("folder of another user") << QStringLiteral("other user") << QStringLiteral("another user");
        QTest::newRow("folder others may write")
            << QStringLiteral("shared") << QStringLiteral("written by other users");
        QTest::newRow("in a folder others may change")
            << QStringLiteral("shared parent") << QStringLiteral("other users may change");
    }

    void recoveryIsKeptOnlyInTheUsersOwnFolder()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString base = dir.filePath(QStringLiteral("state"));
        const QString folder = base + QStringLiteral("/tarvo");
        // Where the files would land: the folder itself, or where its link leads.
        QString landing = folder;
        QVERIFY(QDir().mkpath(base));
        if (kind == QLatin1String("link")) {
            landing = dir.filePath(QStringLiteral("elsewhere"));
            QVERIFY(QDir().mkpath(landing));
            QVERIFY(QFile::link(landing, folder));
        } else {
            QVERIFY(QDir().mkpath(folder));
        }
        if (kind == QLatin1String("other user")) {
            if (::geteuid() != 0)
                QSKIP("giving a folder to another user needs the super-user");
            QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
        } else if (kind == QLatin1String("shared")) {
            QCOMPARE(::chmod(QFile::encodeName(folder).constData(), 0777), 0);
        } else if (kind == QLatin1String("shared parent")) {
            QCOMPARE(::chmod(QFile::encodeName(base).constData(), 0777), 0);
        }
        // A recovery file put there by whoever may write the folder.
        const QString planted = landing + QStringLiteral("/recovery-99.json");
        writeBytes(planted, recoveryBytes(QStringLiteral("/etc/passwd")));
        const mode_t modeBefore = modeOf(landing);
        const QStringList before = QDir(landing).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        qputenv("XDG_STATE_HOME", QFile::encodeName(base));

        Recovery kept;
        kept.documentFile = QStringLiteral("/data/shop.prg");
        QString error;
        const bool written = writeRecoveryFile(recoveryFilePath(7), kept, &error);
        const QStringList listed = recoveryFiles();
        Recovery read;
        const bool taken = readRecoveryFile(folder + QStringLiteral("/recovery-99.json"), &read);
        QString refused;
        const bool prepared = prepareRecoveryFolder(&refused);
        qputenv("XDG_STATE_HOME", QByteArray(testsupport::isolate().path().toLocal8Bit() + "/state"));

        QVERIFY2(!written, "a recovery file was written into a folder not this user's alone");
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(listed.isEmpty(), qPrintable(listed.join(u' ')));
        QVERIFY2(!taken, "a recovery file was taken from a folder not this user's alone");
        QVERIFY(!prepared);
        QVERIFY2(refused.contains(folder) && refused.contains(reason), qPrintable(refused));
        QCOMPARE(modeOf(landing), modeBefore);
        QCOMPARE(QDir(landing).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), before);
    }

    // A recovery file is offered only when it can be trusted and names a
    // program file, or none (an untitled document, or a file that is gone).
    void recoveryIsOfferedOnlyForAProgramFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("offered");
        QTest::addColumn<QString>("reason");
        QTest::newRow("program file") << QStringLiteral("program") << true << QString();
        QTest::newRow("empty program file") << QStringLiteral("empty") << true << QString();
        QTest::newRow("untitled document") << QStringLiteral("untitled") << true << QString();
        QTest::newRow("file that is gone") << QStringLiteral("gone") << true << QString();
        // Before the fix Restore skipped the check Open makes, and Save then
        // wrote a program over a copy of the password file.
        QTest::newRow("text file") << QStringLiteral("text") << false << QStringLiteral("not a program file");
        QTest::newRow("FIFO") << QStringLiteral("fifo") << false << QStringLiteral("Not a regular file");
        QTest::newRow("relative path") << QStringLiteral("relative") << false << QStringLiteral("absolute path");
        QTest::newRow("unknown encoding") << QStringLiteral("encoding") << false << QStringLiteral("encoding");
        QTest::newRow("recovery file is a link")
            << QStringLiteral("link") << false << QStringLiteral("Not a regular file");
        QTest::newRow("recovery file others may write") << QStringLiteral("writable") << false
                                                        << QStringLiteral("may be written by others");
    }

    void recoveryIsOfferedOnlyForAProgramFile()
    {
        QFETCH(QString, kind);
        QFETCH(bool, offered);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        const QString base = dir.filePath(QStringLiteral("state"));
        qputenv("XDG_STATE_HOME", QFile::encodeName(base));
        QString why;
        QVERIFY2(prepareRecoveryFolder(&why), qPrintable(why));
        const QString path = recoveryFilePath(11);
        QString document = dir.filePath(QStringLiteral("vending.prg"));
        QString encoding = QStringLiteral("CP1251");
        if (kind == QLatin1String("program") || kind == QLatin1String("link") || kind == QLatin1String("writable"))
            writeBytes(document, "\";2024-01-15 10:30:00\"\r\nS\t1\t5\r\nD\t1\t\xc2\xee\xe4\xe0\tA\t1.20\t2\r\n");
        else if (kind == QLatin1String("empty"))
            writeBytes(document, QByteArray());
        else if (kind == QLatin1String("untitled"))
            document.clear();
        else if (kind == QLatin1String("text"))
            writeBytes(document, "root:x:0:0:root:/root:/bin/bash\ndaemon:x:1:1:daemon:/usr/sbin:/usr/sbin/nologin\n");
        else if (kind == QLatin1String("fifo"))
            QCOMPARE(::mkfifo(QFile::encodeName(document).constData(), 0600), 0);
        else if (kind == QLatin1String("relative"))
            document = QStringLiteral("vending.prg");
        else if (kind == QLatin1String("encoding"))
            encoding = QStringLiteral("CP9999");
        if (kind == QLatin1String("link")) {
            const QString real = base + QStringLiteral("/tarvo/elsewhere.json");
            writeBytes(real, recoveryBytes(document));
            QVERIFY(QFile::link(real, path));
        } else {
            writeBytes(path, recoveryBytes(document, encoding));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), kind == QLatin1String("writable") ? 0666 : 0600), 0);
        }

        Recovery recovery;
        QString refused;
        const bool offer = mayOfferRecovery(path, &recovery, &refused);
        qputenv("XDG_STATE_HOME", QByteArray(testsupport::isolate().path().toLocal8Bit() + "/state"));
        QCOMPARE(offer, offered);
        if (offered) {
            QCOMPARE(recovery.documentFile, document);
            QCOMPARE(recovery.cells.cellText(DocTable::Params, 0, col::ParamValue), QStringLiteral("7"));
        } else {
            QVERIFY2(refused.contains(reason) && refused.contains(path), qPrintable(refused));
        }
        QVERIFY(QFile::exists(path) || kind == QLatin1String("link")); // a refused file stays
    }

    void fingerprintSeesOtherBytesNotATouch()
    {
        const QString path = QStringLiteral("watched.prg");
        const QByteArray first("S\t1\t5\r\n");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(first);
        file.close();
        const FileFingerprint known = fingerprintOf(path, &first);
        QCOMPARE(diskChange(path, known), DiskChange::None);
        // Same size, same bytes, a new time: nothing changed.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(first);
        file.close();
        QCOMPARE(diskChange(path, known), DiskChange::None);
        // Same size, other bytes, in place.
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("S\t1\t6\r\n");
        file.close();
        QCOMPARE(diskChange(path, known), DiskChange::Changed);
        QVERIFY(QFile::remove(path));
        QCOMPARE(diskChange(path, known), DiskChange::Removed);
    }
};

QTEST_GUILESS_MAIN(TestDocumentState)
#include "tst_documentstate.moc"
