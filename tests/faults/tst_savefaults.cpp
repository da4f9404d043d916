// Saving must never cost the user the file they already have: whatever goes
// wrong while writing, the previous file stays byte for byte and the save
// reports the failure.

#include "fakefilecalls.h"
#include "ordinaryuser.h"
#include "scratchmount.h"
#include "testsupport.h"

#include "documentcells.h"
#include "encodings.h"
#include "programreader.h"
#include "programfiles.h"
#include "programwriter.h"
#include "savejournal.h"
#include "sampledocument.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCodec>

#include <cerrno>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace tarvo;

namespace {

const QDateTime kStamp(QDate(2024, 1, 15), QTime(10, 30));

QTextCodec *cp1251() { return codecForEncoding(encodingIndexOf(QStringLiteral("CP1251"))); }

// A small document, the one "already on disk".
DocumentData oldDocument() { return testsupport::sampleDocument(); }

// A document of the size most program files have, about 6 KB: fifty named
// departments.
DocumentData mediumDocument()
{
    DocumentData document = oldDocument();
    for (int row = 0; row < rowCount(DocTable::Depts); ++row) {
        document.setCellText(DocTable::Depts, row, col::DeptName, QStringLiteral("Минерална вода %1 ").arg(row).repeated(4));
        document.setCellText(DocTable::Depts, row, col::DeptPrice, QStringLiteral("1.20"));
    }
    return document;
}

// A document whose file runs to about 60 KB: every cell holds a long text.
DocumentData bigDocument() { return testsupport::everyCellHolding(QString(240, QChar(0x0416))); }

// The medium document written to `path` as the save will find it: its
// bytes, or none where it could not be written.
QByteArray writeMediumFile(const QString &path)
{
    const QByteArray bytes = programFileBytes(mediumDocument(), cp1251(), kStamp);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() ? bytes : QByteArray();
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

// The documents of the tests, by the size of their files.
enum class Size { Small, Medium, Big };

DocumentData documentOf(Size size)
{
    switch (size) {
    case Size::Small: return oldDocument();
    case Size::Medium: return mediumDocument();
    case Size::Big: break;
    }
    return bigDocument();
}

} // namespace

Q_DECLARE_METATYPE(Size)

namespace {

// Fills the file system that holds `folder` until only about `room` bytes
// are left (in whole pages).
bool fillLeaving(const QString &folder, qint64 room)
{
    const QByteArray path = QFile::encodeName(folder + QStringLiteral("/filler"));
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const QByteArray block(4096, 'x');
    qint64 size = 0;
    for (ssize_t put; (put = ::write(fd, block.constData(), size_t(block.size()))) > 0;)
        size += put;
    const bool ok = ::ftruncate(fd, off_t(qMax<qint64>(0, size - room))) == 0;
    ::close(fd);
    return ok;
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

    void saveBeyondFileSizeLimitKeepsOldFile();
    void saveOntoFullFileSystemKeepsOldFile_data();
    void saveOntoFullFileSystemKeepsOldFile();
    void failureWhenTheDataIsFinallyWrittenKeepsOldFile_data();
    void failureWhenTheDataIsFinallyWrittenKeepsOldFile();
    void writableFileInLockedFolderIsSavedInPlace();
    void failedSaveInPlacePutsTheOldBytesBack_data();
    void failedSaveInPlacePutsTheOldBytesBack();
    void interruptedSaveInPlaceIsMadeWholeOnNextOpen_data();
    void interruptedSaveInPlaceIsMadeWholeOnNextOpen();
    void replacedFileKeepsItsNamesAndAttributes_data();
    void replacedFileKeepsItsNamesAndAttributes();
    void saveIntoReadOnlyFileSystemKeepsOldFile();
    void specialFilesAreNeverReplaced_data();
    void specialFilesAreNeverReplaced();
    void replacedFileKeepsOwnerGroupAndMode();
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

void TestSaveFaults::saveOntoFullFileSystemKeepsOldFile_data()
{
    QTest::addColumn<Size>("size");
    QTest::addColumn<qint64>("room");
    // A document smaller than any write buffer meets the disk only when it is
    // finally written out; one larger than the room left is cut short.
    QTest::newRow("200 bytes, no room") << Size::Small << qint64(0);
    QTest::newRow("6 KB, no room") << Size::Medium << qint64(0);
    QTest::newRow("6 KB, room for 4 KB") << Size::Medium << qint64(4096);
    QTest::newRow("60 KB, room for 8 KB") << Size::Big << qint64(8192);
}

void TestSaveFaults::saveOntoFullFileSystemKeepsOldFile()
{
    QFETCH(Size, size);
    QFETCH(qint64, room);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    faults::ScratchMount disk(dir.path(), 128);
    if (!disk.mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a small tmpfs here (%1); the file size limit "
                                        "and failing-call tests cover a write that runs out of room")
                             .arg(disk.error())));
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    const QByteArray old = putOldFile(path);
    QVERIFY(!old.isEmpty());
    QVERIFY(fillLeaving(dir.path(), room));
    const QStringList before = entries(dir.path());

    const DocumentData document = documentOf(size);
    QVERIFY(programFileBytes(document, cp1251(), kStamp).size() > room);
    const WriteResult result = writeProgramFile(path, document, cp1251(), kStamp);
    QVERIFY2(!result.ok, "a save onto a full disk was reported as saved");
    QVERIFY(!result.error.isEmpty());
    QCOMPARE(contents(path), old);
    QCOMPARE(entries(dir.path()), before);

    // With room made, the same save goes through.
    QVERIFY(QFile::remove(dir.filePath(QStringLiteral("filler"))));
    QVERIFY(writeProgramFile(path, document, cp1251(), kStamp).ok);
    QCOMPARE(contents(path), programFileBytes(document, cp1251(), kStamp));
}

void TestSaveFaults::failureWhenTheDataIsFinallyWrittenKeepsOldFile_data()
{
    using faults::FailingCall;
    QTest::addColumn<int>("call");
    QTest::addColumn<int>("error");
    QTest::addColumn<qint64>("bytesFirst");
    QTest::newRow("no room for the first byte") << int(FailingCall::Write) << ENOSPC << qint64(0);
    QTest::newRow("no room after 100 bytes") << int(FailingCall::Write) << ENOSPC << qint64(100);
    QTest::newRow("lost write reported by fsync") << int(FailingCall::Sync) << EIO << qint64(0);
    QTest::newRow("quota reported on close") << int(FailingCall::Close) << EDQUOT << qint64(0);
    QTest::newRow("rename fails") << int(FailingCall::Rename) << EIO << qint64(0);
    QTest::newRow("no new file, full disk") << int(FailingCall::CreateFile) << ENOSPC << qint64(0);
}

void TestSaveFaults::failureWhenTheDataIsFinallyWrittenKeepsOldFile()
{
    QFETCH(int, call);
    QFETCH(int, error);
    QFETCH(qint64, bytesFirst);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    const QByteArray old = putOldFile(path);
    QVERIFY(!old.isEmpty());
    const QStringList before = entries(dir.path());

    const tarvo::FileCalls calls = faults::failingCalls({faults::FailingCall(call), error, bytesFirst});
    const WriteResult result = writeProgramFile(path, mediumDocument(), cp1251(), kStamp, calls);
    QVERIFY(faults::failureFired());
    QVERIFY2(!result.ok, "a save whose data never reached the disk was reported as saved");
    QCOMPARE(result.error, QString::fromLocal8Bit(std::strerror(error)));
    QCOMPARE(contents(path), old);
    QCOMPARE(entries(dir.path()), before);
}

void TestSaveFaults::writableFileInLockedFolderIsSavedInPlace()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // A shared folder: everybody may read and enter it, nobody but its owner
    // make files in it; the program file in it is the operator's to write.
    const QString folder = dir.filePath(QStringLiteral("shared"));
    QVERIFY(QDir().mkdir(folder));
    const QString path = folder + QStringLiteral("/vending.prg");
    const QByteArray old = putOldFile(path);
    QVERIFY(!old.isEmpty());
    const QFile::Permissions everybody = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                         | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    QVERIFY(QFile::setPermissions(dir.path(), everybody | QFile::WriteOwner));
    QVERIFY(QFile::setPermissions(folder, everybody));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup
                                            | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther));
    const QStringList before = entries(folder);
    struct stat was;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &was), 0);

    // The copy of the old bytes goes to the user's own state folder.
    const QString state = dir.filePath(QStringLiteral("state"));
    QVERIFY(QDir().mkdir(state));
    if (faults::runningAsRoot())
        QCOMPARE(::chown(QFile::encodeName(state).constData(), faults::kNobody, faults::kNobody), 0);

    const DocumentData document = mediumDocument();
    const int saved = faults::runAsOrdinaryUser([&] {
        if (canCreateFileIn(folder))
            return 2; // this user is no ordinary one
        qputenv("XDG_STATE_HOME", QFile::encodeName(state));
        return writeProgramFile(path, document, cp1251(), kStamp).ok ? 0 : 1;
    });
    QFile::setPermissions(folder, everybody | QFile::WriteOwner);
    QVERIFY2(saved != 2, "the test runs with rights that make files in a read-only folder");
    QVERIFY2(saved != -1, "cannot run as an ordinary user");
    QCOMPARE(saved, 0);
    QCOMPARE(contents(path), programFileBytes(document, cp1251(), kStamp));
    QCOMPARE(entries(folder), before);
    QCOMPARE(entries(state + QStringLiteral("/tarvo")), QStringList()); // the copy went once done
    struct stat now;
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &now), 0);
    QCOMPARE(now.st_ino, was.st_ino);
    QCOMPARE(now.st_uid, was.st_uid);
    QCOMPARE(now.st_mode, was.st_mode);
}

void TestSaveFaults::failedSaveInPlacePutsTheOldBytesBack_data()
{
    using faults::FailingCall;
    QTest::addColumn<int>("call");
    QTest::addColumn<int>("error");
    QTest::addColumn<qint64>("bytesFirst");
    QTest::newRow("write fails part-way") << int(FailingCall::Write) << EIO << qint64(3000);
    QTest::newRow("lost write reported by fsync") << int(FailingCall::Sync) << EIO << qint64(0);
    QTest::newRow("cannot cut to length") << int(FailingCall::Truncate) << EIO << qint64(0);
}

void TestSaveFaults::failedSaveInPlacePutsTheOldBytesBack()
{
    QFETCH(int, call);
    QFETCH(int, error);
    QFETCH(qint64, bytesFirst);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    const QByteArray old = writeMediumFile(path);
    QVERIFY(!old.isEmpty());
    // The folder takes no new file, so the save goes in place; then the
    // planned failure strikes.
    // A shorter document must be cut to length; a longer one needs room.
    const DocumentData changed = call == int(faults::FailingCall::Truncate) ? oldDocument() : bigDocument();
    static const tarvo::FileCalls *planned;
    planned = &faults::failingCalls({faults::FailingCall(call), error, bytesFirst});
    tarvo::FileCalls inPlace = *planned;
    inPlace.open = [](const char *name, int flags, mode_t mode) {
        if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
            errno = EACCES;
            return -1;
        }
        return planned->open(name, flags, mode);
    };
    const WriteResult result = writeProgramFile(path, changed, cp1251(), kStamp, inPlace);
    QVERIFY(faults::failureFired());
    QVERIFY2(!result.ok, "a failed save in place was reported as saved");
    QVERIFY(result.error.startsWith(QString::fromLocal8Bit(std::strerror(error))));
    QCOMPARE(contents(path), old);
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("vending.prg")});

    // And without the failure the same save in place goes through.
    planned = &faults::failingCalls({});
    QVERIFY(writeProgramFile(path, changed, cp1251(), kStamp, inPlace).ok);
    QCOMPARE(contents(path), programFileBytes(changed, cp1251(), kStamp));
}

namespace {

// The save in place dies (as on a kill or a power cut) at the planned call.
enum class DeathAt { MidWrite, BeforeCut, AfterSync };

int g_deathAt = 0;

const tarvo::FileCalls &dyingInPlace()
{
    static tarvo::FileCalls calls = [] {
        tarvo::FileCalls c = tarvo::FileCalls::system();
        c.open = [](const char *name, int flags, mode_t mode) {
            if ((flags & O_CREAT) || (flags & O_TMPFILE) == O_TMPFILE) {
                errno = EACCES; // a folder that takes no new file
                return -1;
            }
            return tarvo::FileCalls::system().open(name, flags, mode);
        };
        c.pwrite = [](int fd, const void *data, size_t size, off_t offset) -> ssize_t {
            if (g_deathAt == int(DeathAt::MidWrite)) {
                const ssize_t put = tarvo::FileCalls::system().pwrite(fd, data, size / 2, offset);
                ::_exit(put > 0 ? 9 : 8);
            }
            return tarvo::FileCalls::system().pwrite(fd, data, size, offset);
        };
        c.ftruncate = [](int fd, off_t length) {
            if (g_deathAt == int(DeathAt::BeforeCut))
                ::_exit(9);
            return tarvo::FileCalls::system().ftruncate(fd, length);
        };
        c.close = [](int fd) {
            if (g_deathAt == int(DeathAt::AfterSync))
                ::_exit(9);
            return tarvo::FileCalls::system().close(fd);
        };
        return c;
    }();
    return calls;
}

QStringList g_reported;

} // namespace

void TestSaveFaults::interruptedSaveInPlaceIsMadeWholeOnNextOpen_data()
{
    QTest::addColumn<int>("deathAt");
    QTest::addColumn<bool>("keepsNew");
    // Before the fix the file was left new bytes followed by the old
    // file's tail, which the reader takes as a mix of both.
    QTest::newRow("killed half-way through the new bytes") << int(DeathAt::MidWrite) << false;
    QTest::newRow("killed before the file is cut to length") << int(DeathAt::BeforeCut) << false;
    QTest::newRow("killed once the new bytes are on disk") << int(DeathAt::AfterSync) << true;
}

void TestSaveFaults::interruptedSaveInPlaceIsMadeWholeOnNextOpen()
{
    QFETCH(int, deathAt);
    QFETCH(bool, keepsNew);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    const QByteArray old = writeMediumFile(path);
    QVERIFY(!old.isEmpty());
    // The new file is shorter, so a file not cut to length keeps old bytes.
    const DocumentData changed = oldDocument();
    const QByteArray changedBytes = programFileBytes(changed, cp1251(), kStamp);
    QVERIFY(changedBytes.size() < old.size());

    g_deathAt = deathAt;
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        writeProgramFile(path, changed, cp1251(), kStamp, dyingInPlace());
        ::_exit(0);
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status) && WEXITSTATUS(status) == 9, "the save did not die where planned");
    QVERIFY(contents(path) != (keepsNew ? changedBytes : old) || keepsNew);

    // The next open makes the file whole and says so.
    g_reported.clear();
    setInterruptedSaveReporter([](const QString &message) { g_reported << message; });
    DocumentData read;
    QVERIFY(readProgramFile(path, cp1251(), read));
    setInterruptedSaveReporter(nullptr);
    QCOMPARE(contents(path), keepsNew ? changedBytes : old);
    QCOMPARE(g_reported.size(), 1);
    QVERIFY2(g_reported.first().contains(path), qPrintable(g_reported.first()));
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("vending.prg")});
    QCOMPARE(entries(testsupport::isolate().path() + QStringLiteral("/.local/state/tarvo")), QStringList());

    // Once whole, opening again finds nothing to do.
    QString message;
    QVERIFY(!recoverInterruptedSave(path, &message));
}

void TestSaveFaults::replacedFileKeepsItsNamesAndAttributes_data()
{
    QTest::addColumn<QString>("kind");
    // Before the fix a hard-linked file was split in two, and attributes
    // and access control lists were dropped (the group could gain write).
    QTest::newRow("second name") << QStringLiteral("hard link");
    QTest::newRow("user attribute") << QStringLiteral("attribute");
    QTest::newRow("access control list") << QStringLiteral("acl");
}

void TestSaveFaults::replacedFileKeepsItsNamesAndAttributes()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    const QString other = dir.filePath(QStringLiteral("machine-7.prg"));
    QVERIFY(!putOldFile(path).isEmpty());
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(::chmod(name.constData(), 0640), 0);
    QByteArray attribute;
    QByteArray value;
    if (kind == QLatin1String("hard link")) {
        QCOMPARE(::link(name.constData(), QFile::encodeName(other).constData()), 0);
    } else if (kind == QLatin1String("attribute")) {
        attribute = "user.tarvo.machine";
        value = "7";
    } else {
        // user::rw- user:nobody:rw- group::r-- mask::rw- other::---
        attribute = "system.posix_acl_access";
        const auto entry = [&](quint16 tag, quint16 perm, quint32 id) {
            value.append(reinterpret_cast<const char *>(&tag), 2);
            value.append(reinterpret_cast<const char *>(&perm), 2);
            value.append(reinterpret_cast<const char *>(&id), 4);
        };
        const quint32 version = 2;
        value.append(reinterpret_cast<const char *>(&version), 4);
        entry(0x01, 6, quint32(-1));
        entry(0x02, 6, faults::kNobody);
        entry(0x04, 4, quint32(-1));
        entry(0x10, 6, quint32(-1));
        entry(0x20, 0, quint32(-1));
    }
    if (!attribute.isEmpty()
        && ::setxattr(name.constData(), attribute.constData(), value.constData(), size_t(value.size()), 0) != 0)
        QSKIP(qPrintable(QStringLiteral("this file system keeps no %1: %2")
                             .arg(QString::fromLatin1(attribute), QString::fromLocal8Bit(std::strerror(errno)))));
    struct stat was;
    QCOMPARE(::stat(name.constData(), &was), 0);

    QVERIFY(writeProgramFile(path, mediumDocument(), cp1251(), kStamp).ok);
    const QByteArray saved = programFileBytes(mediumDocument(), cp1251(), kStamp);
    QCOMPARE(contents(path), saved);
    struct stat now;
    QCOMPARE(::stat(name.constData(), &now), 0);
    QCOMPARE(now.st_mode, was.st_mode);
    if (kind == QLatin1String("hard link")) {
        QCOMPARE(contents(other), saved);
        QCOMPARE(now.st_ino, was.st_ino);
        QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("machine-7.prg"), QStringLiteral("vending.prg")}));
    } else {
        QByteArray kept(value.size() + 64, '\0');
        const ssize_t length = ::getxattr(name.constData(), attribute.constData(), kept.data(), size_t(kept.size()));
        QVERIFY2(length >= 0, "the attribute was lost");
        kept.resize(length);
        QCOMPARE(kept, value);
        QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("vending.prg")});
    }
}

void TestSaveFaults::saveIntoReadOnlyFileSystemKeepsOldFile()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    faults::ScratchMount disk(dir.path(), 64);
    if (!disk.mounted())
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here (%1)").arg(disk.error())));
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    const QByteArray old = putOldFile(path);
    QVERIFY(!old.isEmpty());
    QVERIFY2(disk.makeReadOnly(), qPrintable(disk.error()));
    const QStringList before = entries(dir.path());

    const WriteResult result = writeProgramFile(path, bigDocument(), cp1251(), kStamp);
    QVERIFY2(!result.ok, "a save onto a read-only file system was reported as saved");
    QCOMPARE(result.error, QString::fromLocal8Bit(std::strerror(EROFS)));
    QCOMPARE(contents(path), old);
    QCOMPARE(entries(dir.path()), before);
}

void TestSaveFaults::specialFilesAreNeverReplaced_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error");
    QTest::newRow("directory") << QStringLiteral("directory") << QStringLiteral("Is a directory");
    QTest::newRow("FIFO") << QStringLiteral("fifo") << QStringLiteral("Not a regular file");
    QTest::newRow("link to a FIFO") << QStringLiteral("link to fifo") << QStringLiteral("Not a regular file");
    QTest::newRow("device node") << QStringLiteral("device") << QStringLiteral("Not a regular file");
    // Before the fix the save followed such a link wherever it led.
    QTest::newRow("link another user planted in a shared folder")
        << QStringLiteral("planted link") << QStringLiteral("is not followed");
    // Before the fix only the last part of the path was looked at: where
    // the system's own protection is off, the save went through a folder
    // link another user planted in /tmp, into a folder of this user's.
    QTest::newRow("folder link another user planted in a shared folder")
        << QStringLiteral("planted folder link") << QStringLiteral("is not followed");
}

namespace {

// Turns the system's protection of links in shared folders off for one
// scope, where it can (the super-user), and back as it was.
class LinkProtectionOff
{
public:
    LinkProtectionOff()
    {
        QFile setting(QStringLiteral("/proc/sys/fs/protected_symlinks"));
        if (!setting.open(QIODevice::ReadOnly))
            return;
        m_was = setting.readAll().trimmed();
        setting.close();
        m_off = m_was == "0" || write("0");
    }
    ~LinkProtectionOff()
    {
        if (!m_was.isEmpty() && m_was != "0")
            write(m_was);
    }
    bool off() const { return m_off; }

private:
    static bool write(const QByteArray &value)
    {
        QFile setting(QStringLiteral("/proc/sys/fs/protected_symlinks"));
        return setting.open(QIODevice::WriteOnly) && setting.write(value + '\n') > 0 && setting.flush();
    }
    QByteArray m_was;
    bool m_off = false;
};

} // namespace

void TestSaveFaults::specialFilesAreNeverReplaced()
{
    QFETCH(QString, kind);
    QFETCH(QString, error);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const bool plantedFolder = kind == QLatin1String("planted folder link");
    // The file the planted link leads to, in a folder of this user's.
    const QString fifo = plantedFolder ? dir.filePath(QStringLiteral("own/vending.prg"))
                                       : dir.filePath(QStringLiteral("pipe"));
    const QString path = plantedFolder ? dir.filePath(QStringLiteral("evil-dir/vending.prg"))
                                       : dir.filePath(QStringLiteral("vending.prg"));
    const QByteArray name = QFile::encodeName(path);
    std::unique_ptr<LinkProtectionOff> protectionOff;
    if (kind == QLatin1String("directory")) {
        QVERIFY(QDir().mkdir(path));
        QVERIFY(!putOldFile(path + QStringLiteral("/inner.prg")).isEmpty());
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(name.constData(), 0644), 0);
    } else if (kind == QLatin1String("link to fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        QVERIFY(QFile::link(fifo, path));
    } else if (kind == QLatin1String("planted link")) {
        // A folder like /tmp; the link, owned by another user, leads to a
        // file of this user's.
        if (!faults::runningAsRoot())
            QSKIP("giving a link to another user needs the super-user");
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
        QVERIFY(!putOldFile(fifo).isEmpty());
        QVERIFY(QFile::link(fifo, path));
        QCOMPARE(::lchown(name.constData(), faults::kNobody, faults::kNobody), 0);
    } else if (plantedFolder) {
        if (!faults::runningAsRoot())
            QSKIP("giving a link to another user needs the super-user");
        QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 01777), 0);
        QVERIFY(QDir().mkdir(dir.filePath(QStringLiteral("own"))));
        QVERIFY(!putOldFile(fifo).isEmpty());
        const QByteArray link = QFile::encodeName(dir.filePath(QStringLiteral("evil-dir")));
        QCOMPARE(::symlink("own", link.constData()), 0);
        QCOMPARE(::lchown(link.constData(), faults::kNobody, faults::kNobody), 0);
        // Where it can be turned off, the system lets the save through, and
        // only the save's own rule stops it.
        protectionOff = std::make_unique<LinkProtectionOff>();
    } else if (::mknod(name.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
        QSKIP("making a device node needs the super-user");
    }
    const bool planted = kind == QLatin1String("planted link") || plantedFolder;
    const QByteArray linkedBefore = planted ? contents(fifo) : QByteArray();
    const QStringList before = entries(dir.path());
    // What the path leads to (for a folder link, the file in the folder).
    const QByteArray looked = plantedFolder ? QFile::encodeName(fifo) : name;
    struct stat was;
    QCOMPARE(::stat(looked.constData(), &was), 0);

    // Nothing reads the FIFO: a save that opened it would wait for ever.
    const WriteResult result = writeProgramFile(path, oldDocument(), cp1251(), kStamp);
    QVERIFY2(!result.ok, "a save onto something other than a regular file was reported as saved");
    QVERIFY2(result.error.endsWith(error), qPrintable(result.error));
    if (planted)
        QCOMPARE(contents(fifo), linkedBefore);
    struct stat now;
    QCOMPARE(::stat(looked.constData(), &now), 0);
    QCOMPARE(now.st_mode, was.st_mode);
    QCOMPARE(now.st_ino, was.st_ino);
    QCOMPARE(entries(dir.path()), before);
    if (kind == QLatin1String("directory"))
        QCOMPARE(entries(path), QStringList{QStringLiteral("inner.prg")});
}

void TestSaveFaults::replacedFileKeepsOwnerGroupAndMode()
{
    if (!faults::runningAsRoot())
        QSKIP("only the super-user can save another user's file through a new one");
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("vending.prg"));
    QVERIFY(!putOldFile(path).isEmpty());
    const QByteArray name = QFile::encodeName(path);
    QCOMPARE(::chown(name.constData(), faults::kNobody, faults::kNobody), 0);
    QCOMPARE(::chmod(name.constData(), 0640), 0);
    struct stat was;
    QCOMPARE(::stat(name.constData(), &was), 0);

    QVERIFY(writeProgramFile(path, mediumDocument(), cp1251(), kStamp).ok);
    QCOMPARE(contents(path), programFileBytes(mediumDocument(), cp1251(), kStamp));
    struct stat now;
    QCOMPARE(::stat(name.constData(), &now), 0);
    QCOMPARE(now.st_uid, was.st_uid);
    QCOMPARE(now.st_gid, was.st_gid);
    QCOMPARE(now.st_mode, was.st_mode);
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
