#include "recoveryfile.h"

#include "encodings.h"
#include "filecalls.h"
#include "programbytes.h"
#include "programreader.h"
#include "regularfile.h"
#include "statefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarvo {

namespace {
const char kFormat[] = "tarvo-recovery-1";
// Far beyond the 247 cells of a document.
constexpr qint64 kMaxRecoveryBytes = 16 * 1024 * 1024;

bool fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// The folder of a recovery file, checked (and made, where it is the state
// folder and missing): empty, with `reason`, where it is not to be used.
QString usableFolderOf(const QString &path, bool make, QString *reason)
{
    const QString folder = QFileInfo(path).absolutePath();
    if (make && folder == stateFolderPath())
        return makeStateFolder(reason);
    return checkStateFolder(folder, reason) == StateFolderCheck::Usable ? folder : QString();
}
// True when the document file that `kept` names is none (an untitled
// document), is gone (Save makes it again) or is a program file, read as
// any file is, that Open would take in the kept encoding: a recovery file
// never leads a save over a file of another kind.
bool namesNoOtherFile(const Recovery &kept, QString *error)
{
    if (kept.documentFile.isEmpty())
        return true;
    struct stat info;
    if (::lstat(QFile::encodeName(kept.documentFile).constData(), &info) != 0 && errno == ENOENT)
        return true;
    QByteArray bytes;
    QString why;
    if (!readProgramBytes(kept.documentFile, &bytes, &why))
        return fail(error, QStringLiteral("the file it names, %1, cannot be read: %2").arg(kept.documentFile, why));
    DocumentData cells;
    const ReadReport report = readProgram(bytes, codecForEncoding(kept.encoding), cells);
    if (!isProgramFile(bytes, report))
        return fail(error, QStringLiteral("the file it names, %1, is not a program file: none of its lines is a "
                                          "record or a comment")
                               .arg(kept.documentFile));
    return true;
}
} // namespace

QString recoveryFolder() { return stateFolderPath(); }

QString recoveryFilePath(qint64 pid)
{
    return recoveryFolder() + QStringLiteral("/recovery-%1.json").arg(pid);
}

bool prepareRecoveryFolder(QString *reason)
{
    QString why;
    if (!makeStateFolder(&why).isEmpty())
        return true;
    return fail(reason, why);
}

QStringList recoveryFiles()
{
    QStringList files;
    if (checkStateFolder(recoveryFolder()) != StateFolderCheck::Usable)
        return files;
    const QDir folder(recoveryFolder());
    const QFileInfoList found = folder.entryInfoList({QStringLiteral("recovery-*.json")},
                                                     QDir::Files | QDir::NoSymLinks, QDir::Time | QDir::Reversed);
    for (const QFileInfo &info : found)
        files << info.absoluteFilePath();
    return files;
}

bool writeRecoveryFile(const QString &path, const Recovery &recovery, QString *error)
{
    QJsonArray cells;
    forEachDocumentCell([&](DocTable table, int r, int c) {
        const QString text = recovery.cells.cellText(table, r, c);
        if (!text.isEmpty())
            cells.append(QJsonArray{static_cast<int>(table), r, c, text});
    });
    const QJsonObject object{
        {QStringLiteral("format"), QLatin1String(kFormat)},
        {QStringLiteral("file"), recovery.documentFile},
        {QStringLiteral("encoding"), encodingName(recovery.encoding)},
        {QStringLiteral("kept"), recovery.kept.toUTC().toString(Qt::ISODateWithMs)},
        {QStringLiteral("fileHash"), QString::fromLatin1(recovery.fileHash.toHex())},
        {QStringLiteral("cells"), cells},
    };
    const QByteArray bytes = QJsonDocument(object).toJson(QJsonDocument::Compact);
    QString reason;
    const QString folder = usableFolderOf(path, true, &reason);
    if (folder.isEmpty())
        return fail(error, reason);
    // A new file of this user's alone, written whole and on disk before it
    // takes the name; never through a link.
    const QByteArray name = QFile::encodeName(path);
    QByteArray fresh = QFile::encodeName(folder) + "/.recovery.XXXXXX";
    const int fd = retryInterrupted([&] { return ::mkostemp(fresh.data(), O_CLOEXEC); });
    if (fd < 0)
        return fail(error, systemErrorText(errno));
    const bool written = writeAllAt(::pwrite, fd, bytes.constData(), bytes.size(), 0)
                         && retryInterrupted([&] { return ::fsync(fd); }) == 0;
    const int cause = errno;
    const bool closed = closeFile(::close, fd) == 0;
    if (!written || !closed
        || retryInterrupted([&] { return ::rename(fresh.constData(), name.constData()); }) != 0) {
        const int failure = !written ? cause : errno;
        ::unlink(fresh.constData());
        return fail(error, systemErrorText(failure));
    }
    flushFolder(QFile::encodeName(folder));
    return true;
}

bool readRecoveryFile(const QString &path, Recovery *recovery, QString *error)
{
    QString reason;
    if (usableFolderOf(path, false, &reason).isEmpty())
        return fail(error, reason);
    struct stat info;
    bool notRegular = false;
    const int fd = openRegular(QFile::encodeName(path), O_RDONLY | O_NOFOLLOW | O_CLOEXEC, &info, &notRegular);
    if (fd < 0)
        return fail(error, notRegular ? notRegularText(info.st_mode) : systemErrorText(errno));
    QByteArray bytes;
    const bool trusted = info.st_uid == ::geteuid() && !(info.st_mode & (S_IWGRP | S_IWOTH));
    const bool read = trusted && info.st_size <= kMaxRecoveryBytes
                      && readStream(fd, kMaxRecoveryBytes, &bytes, &reason) && bytes.size() <= kMaxRecoveryBytes;
    ::close(fd);
    if (!trusted)
        return fail(error, QStringLiteral("%1 belongs to another user or may be written by others").arg(path));
    if (!read)
        return fail(error,
                    reason.isEmpty() ? QStringLiteral("%1 is too large to be a recovery file").arg(path) : reason);
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    if (object.value(QStringLiteral("format")).toString() != QLatin1String(kFormat))
        return fail(error, QStringLiteral("not a recovery file"));
    Recovery kept;
    kept.documentFile = object.value(QStringLiteral("file")).toString();
    if (!kept.documentFile.isEmpty() && !QDir::isAbsolutePath(kept.documentFile))
        return fail(error,
                    QStringLiteral("the file it names, %1, is not named by an absolute path").arg(kept.documentFile));
    kept.encoding = encodingIndexOf(object.value(QStringLiteral("encoding")).toString());
    if (kept.encoding < 0)
        return fail(error, QStringLiteral("it names no known encoding"));
    kept.kept = QDateTime::fromString(object.value(QStringLiteral("kept")).toString(), Qt::ISODateWithMs);
    kept.fileHash = QByteArray::fromHex(object.value(QStringLiteral("fileHash")).toString().toLatin1());
    for (const QJsonValue &value : object.value(QStringLiteral("cells")).toArray()) {
        const QJsonArray cell = value.toArray();
        const int t = cell.at(0).toInt(-1);
        if (cell.size() != 4 || t < 0 || t >= kTableCount)
            continue;
        const DocTable table = static_cast<DocTable>(t);
        const int r = cell.at(1).toInt(-1);
        const int c = cell.at(2).toInt(-1);
        if (isDocumentCell(table, r, c))
            kept.cells.setCellText(table, r, c, cell.at(3).toString());
    }
    if (!namesNoOtherFile(kept, error))
        return false;
    *recovery = kept;
    return true;
}

bool mayOfferRecovery(const QString &path, Recovery *recovery, QString *reason)
{
    QString why;
    if (readRecoveryFile(path, recovery, &why))
        return true;
    return fail(reason, QStringLiteral("%1: %2").arg(path, why));
}

bool removeRecoveryFile(const QString &path)
{
    return QFile::remove(path) || !QFile::exists(path);
}

} // namespace tarvo
