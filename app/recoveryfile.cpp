#include "recoveryfile.h"

#include "encodings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace tarvo {

namespace {
const char kFormat[] = "tarvo-recovery-1";
// Far beyond the 247 cells of a document.
constexpr qint64 kMaxRecoveryBytes = 16 * 1024 * 1024;
} // namespace

QString recoveryFolder()
{
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    // Only an absolute path counts, as the base directory rules say.
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.local/state");
    return base + QStringLiteral("/tarvo");
}

QString recoveryFilePath(qint64 pid)
{
    return recoveryFolder() + QStringLiteral("/recovery-%1.json").arg(pid);
}

QStringList recoveryFiles()
{
    const QDir folder(recoveryFolder());
    QStringList files;
    const QFileInfoList found = folder.entryInfoList({QStringLiteral("recovery-*.json")}, QDir::Files,
                                                     QDir::Time | QDir::Reversed);
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
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("cannot make the folder %1").arg(folder);
        return false;
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    file.write(QJsonDocument(object).toJson(QJsonDocument::Compact));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool readRecoveryFile(const QString &path, Recovery *recovery, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.read(kMaxRecoveryBytes);
    const QJsonObject object = QJsonDocument::fromJson(bytes).object();
    if (object.value(QStringLiteral("format")).toString() != QLatin1String(kFormat)) {
        if (error)
            *error = QStringLiteral("not a recovery file");
        return false;
    }
    Recovery read;
    read.documentFile = object.value(QStringLiteral("file")).toString();
    read.encoding = qMax(0, encodingIndexOf(object.value(QStringLiteral("encoding")).toString()));
    read.kept = QDateTime::fromString(object.value(QStringLiteral("kept")).toString(), Qt::ISODateWithMs);
    read.fileHash = QByteArray::fromHex(object.value(QStringLiteral("fileHash")).toString().toLatin1());
    for (const QJsonValue &value : object.value(QStringLiteral("cells")).toArray()) {
        const QJsonArray cell = value.toArray();
        const int t = cell.at(0).toInt(-1);
        if (cell.size() != 4 || t < 0 || t >= kTableCount)
            continue;
        const DocTable table = static_cast<DocTable>(t);
        const int r = cell.at(1).toInt(-1);
        const int c = cell.at(2).toInt(-1);
        if (isDocumentCell(table, r, c))
            read.cells.setCellText(table, r, c, cell.at(3).toString());
    }
    *recovery = read;
    return true;
}

bool removeRecoveryFile(const QString &path)
{
    return QFile::remove(path) || !QFile::exists(path);
}

} // namespace tarvo
