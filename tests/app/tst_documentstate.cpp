// What the editor keeps beside a document: the recovery file of unsaved
// edits, and the fingerprint that notices another program's change.

#include "filefingerprint.h"
#include "recoveryfile.h"
#include "testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QtTest>

using namespace tarvo;

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
