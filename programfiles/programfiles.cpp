#include "programfiles.h"

#include "filereplace.h"
#include "paramnamesfile.h"
#include "programbytes.h"
#include "regularfile.h"

#include <QFile>

namespace tarvo {

WriteResult writeProgramFile(const QString &path, const DocumentCells &cells, QTextCodec *codec,
                             const QDateTime &stamp, const FileCalls &calls)
{
    WriteResult result;
    QList<UnencodableCell> unencodable;
    const QByteArray bytes = programFileBytes(cells, codec, stamp, &unencodable);
    QString notice;
    result.ok = replaceFileContents(path, bytes, &result.error, calls, &notice);
    result.notice = notice;
    if (result.ok) {
        result.unencodable = unencodable;
        result.bytes = bytes;
    }
    return result;
}

bool readProgramFile(const QString &path, QTextCodec *codec, DocumentCells &cells, QString *error,
                     ReadReport *report)
{
    QByteArray bytes;
    if (!readProgramBytes(path, &bytes, error))
        return false;
    const ReadReport read = readProgram(bytes, codec, cells);
    if (report)
        *report = read;
    return true;
}

namespace {
// A names file holds 26 short entries; a file near this size is not one.
constexpr qint64 kMaxNamesFileBytes = 4 * 1024 * 1024;

// The bytes of a names file, read with the guards: false when it cannot be
// opened as a regular file or is larger than any names file is.
bool readNamesFile(const QString &path, QByteArray *bytes)
{
    QFile file;
    if (!openRegularFileForReading(file, path, nullptr) || file.size() > kMaxNamesFileBytes)
        return false;
    *bytes = file.read(kMaxNamesFileBytes + 1);
    return bytes->size() <= kMaxNamesFileBytes;
}
} // namespace

NamesLoad loadParamNamesFile(const QString &path, QTextCodec *codec, QStringList *names)
{
    *names = QStringList(QList<QString>(kParamCount));
    QByteArray bytes;
    if (!readNamesFile(path, &bytes))
        return NamesLoad::CannotOpen;
    if (!hasNamesMarker(bytes))
        return NamesLoad::WrongEncoding;
    if (!parseParamNames(bytes, codec, names))
        return NamesLoad::BadFormat;
    return NamesLoad::Loaded;
}

} // namespace tarvo
