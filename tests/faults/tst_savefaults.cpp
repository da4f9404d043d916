// Saving must never cost the user the file they already have: whatever goes
// wrong while writing, the previous file stays byte for byte and the save
// reports the failure.

#include "failingdevice.h"
#include "scratchmount.h"
#include "testsupport.h"

#include "documentcells.h"
#include "encodings.h"
#include "programwriter.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

using namespace tarvo;

namespace {

const QDateTime kStamp(QDate(2024, 1, 15), QTime(10, 30));

QTextCodec *cp1251() { return codecForEncoding(encodingIndexOf(QStringLiteral("CP1251"))); }

// A small document, the one "already on disk".
DocumentData oldDocument()
{
    DocumentData document;
    document.setCellText(DocTable::Params, 0, col::ParamValue, QStringLiteral("5"));
    document.setCellText(DocTable::Depts, 0, col::DeptName, QStringLiteral("Вода"));
    document.setCellText(DocTable::Depts, 0, col::DeptPrice, QStringLiteral("1.20"));
    document.setCellText(DocTable::Lines, 0, col::LineText, QStringLiteral("SHOP"));
    return document;
}

// A document whose file runs to about 60 KB: every cell holds a long text.
DocumentData bigDocument()
{
    DocumentData document;
    for (int t = 0; t < kTableCount; ++t) {
        const DocTable table = tableAt(t);
        for (int row = 0; row < rowCount(table); ++row) {
            for (int column = 0; column < columnCount(table); ++column) {
                if (isDocumentCell(table, row, column))
                    document.setCellText(table, row, column, QString(240, QChar(0x0416)));
            }
        }
    }
    return document;
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// The names in a folder, to see that a failed save left no temporary file.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                  QDir::Name);
}

bool canCreateFileIn(const QString &folder)
{
    QFile probe(folder + QStringLiteral("/.probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.close();
    probe.remove();
    return true;
}

// Holds the file size limit of the process for one scope; a write beyond it
// fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_set = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    bool set() const { return m_set; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_set = false;
};

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void deviceThatFillsUpFailsTheWrite();
    void saveBeyondFileSizeLimitKeepsOldFile();
    void saveOntoFullFileSystemKeepsOldFile();
    void saveIntoReadOnlyFolderKeepsOldFile();
    void saveOntoDirectoryKeepsIt();
    void saveIntoMissingFolderCreatesNothing();

private:
    // Writes the old file at `path` and returns its bytes.
    static QByteArray putOldFile(const QString &path)
    {
        const WriteResult result = writeProgramFile(path, oldDocument(), cp1251(), kStamp);
        if (!result.ok)
            return QByteArray();
        return contents(path);
    }
};

void TestSaveFaults::deviceThatFillsUpFailsTheWrite()
{
    const DocumentData document = oldDocument();
    const QByteArray whole = programFileBytes(document, cp1251(), kStamp);
    QVERIFY(whole.size() > 100);

    // Every point at which the device can fill up, the first byte included.
    for (qint64 limit = 0; limit < whole.size(); ++limit) {
        faults::FailingDevice device(limit);
        QVERIFY(device.open(QIODevice::WriteOnly));
        QVERIFY2(!writeProgram(device, document, cp1251(), kStamp),
                 qPrintable(QStringLiteral("write reported success with room for %1 of %2 bytes")
                                .arg(limit)
                                .arg(whole.size())));
        QVERIFY(whole.startsWith(device.taken()));
    }
    faults::FailingDevice roomy(whole.size());
    QVERIFY(roomy.open(QIODevice::WriteOnly));
    QVERIFY(writeProgram(roomy, document, cp1251(), kStamp));
    QCOMPARE(roomy.taken(), whole);
}

void TestSaveFaults::saveBeyondFileSizeLimitKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    const QByteArray old = putOldFile(path);
    QVERIFY(!old.isEmpty());
    const QStringList before = entries(dir.path());

    WriteResult result;
    {
        FileSizeLimit limit(4096);
        if (!limit.set())
            QSKIP("the file size limit of the process cannot be lowered here");
        result = writeProgramFile(path, bigDocument(), cp1251(), kStamp);
    }
    QVERIFY2(!result.ok, "a write cut short by the file size limit was reported as saved");
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(contents(path), old);
    QCOMPARE(entries(dir.path()), before);
}

void TestSaveFaults::saveOntoFullFileSystemKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    faults::ScratchMount disk(dir.path(), 64);
    if (!disk.mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs here (%1); the file size limit "
                                        "and device tests cover a write that runs out of room")
                             .arg(disk.error())));
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    const QByteArray old = putOldFile(path);
    QVERIFY(!old.isEmpty());

    // Fill what is left, so that not even the big document's first blocks fit.
    {
        QFile filler(dir.filePath(QStringLiteral("filler")));
        QVERIFY(filler.open(QIODevice::WriteOnly));
        const QByteArray block(1024, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    const QStringList before = entries(dir.path());

    const WriteResult result = writeProgramFile(path, bigDocument(), cp1251(), kStamp);
    QVERIFY2(!result.ok, "a save onto a full disk was reported as saved");
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(contents(path), old);
    QCOMPARE(entries(dir.path()), before);

    // With room made, the same save goes through.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("filler"))));
    QVERIFY(writeProgramFile(path, bigDocument(), cp1251(), kStamp).ok);
    QCOMPARE(contents(path), programFileBytes(bigDocument(), cp1251(), kStamp));
}

void TestSaveFaults::saveIntoReadOnlyFolderKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/vending.prg");

    // First by permissions; the super-user writes through those, so then
    // by a file system mounted read-only.
    QByteArray old = putOldFile(path);
    QVERIFY(!old.isEmpty());
    QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                              | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));
    std::unique_ptr<faults::ScratchMount> disk;
    if (canCreateFileIn(folder)) {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        disk.reset(new faults::ScratchMount(folder, 64));
        if (!disk->mounted())
            QSKIP(qPrintable(QStringLiteral("running with rights that write into a read-only folder, "
                                            "and cannot mount a read-only tmpfs (%1)")
                                 .arg(disk->error())));
        old = putOldFile(path);
        QVERIFY(!old.isEmpty());
        QVERIFY2(disk->makeReadOnly(), qPrintable(disk->error()));
        QVERIFY2(!canCreateFileIn(folder), "the read-only tmpfs takes new files");
    }
    const QStringList before = entries(folder);

    const WriteResult result = writeProgramFile(path, bigDocument(), cp1251(), kStamp);
    QVERIFY2(!result.ok, "a save into a read-only folder was reported as saved");
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(contents(path), old);
    QCOMPARE(entries(folder), before);

    if (!disk)
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void TestSaveFaults::saveOntoDirectoryKeepsIt()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    QVERIFY(QDir().mkdir(path));
    const QByteArray inner = putOldFile(path + QStringLiteral("/inner.prg"));
    QVERIFY(!inner.isEmpty());
    const QStringList before = entries(dir.path());

    const WriteResult result = writeProgramFile(path, oldDocument(), cp1251(), kStamp);
    QVERIFY2(!result.ok, "a save onto a directory was reported as saved");
    QVERIFY(!result.error.isEmpty());
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(entries(path), QStringList{QStringLiteral("inner.prg")});
    QCOMPARE(contents(path + QStringLiteral("/inner.prg")), inner);
    QCOMPARE(entries(dir.path()), before);
}

void TestSaveFaults::saveIntoMissingFolderCreatesNothing()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("missing/vending.prg"));
    const WriteResult result = writeProgramFile(path, oldDocument(), cp1251(), kStamp);
    QVERIFY(!result.ok);
    QVERIFY(!result.error.isEmpty());
    QVERIFY(entries(dir.path()).isEmpty());
}

QTEST_GUILESS_MAIN(TestSaveFaults)
#include "tst_savefaults.moc"
