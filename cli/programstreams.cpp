#include "programstreams.h"
#include "programfiles.h"
#include "programbytes.h"

#include "cellnames.h"
#include "commandline.h"
#include "console.h"
#include "messages.h"

#include <encodings.h>
#include <encodingtrust.h>
#include <regularfile.h>

#include <QFile>
#include <QTextCodec>
#include <QTimeZone>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace programstreams {

namespace {

constexpr qint64 kLatestStamp = 253402300799; // 9999-12-31 23:59:59 UTC

// Writes into an existing FIFO or character device without replacing it.
// Opening does not wait for a reader: a FIFO nobody reads is an error.
bool writeIntoStream(const QString &path, const QByteArray &bytes, QString *error)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        *error = errno == ENXIO ? Messages::tr("nothing reads from this FIFO") : tarvo::systemErrorText(errno);
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = tarvo::systemErrorText(n < 0 ? errno : EIO);
            ::close(fd);
            return false;
        }
        done += n;
    }
    if (::close(fd) != 0 && errno != EINTR) {
        *error = tarvo::systemErrorText(errno);
        return false;
    }
    return true;
}

bool isStreamTarget(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISFIFO(info.st_mode) || S_ISCHR(info.st_mode);
}

} // namespace

QString shownName(const QString &file)
{
    return isStandardStream(file) ? Messages::tr("standard input") : console::fileName(file);
}

QString shownOutput(const QString &file)
{
    return isStandardStream(file) ? Messages::tr("standard output") : console::fileName(file);
}

bool readBytes(const QString &file, QByteArray *bytes, QString *error)
{
    if (isStandardStream(file))
        return tarvo::readProgramStream(STDIN_FILENO, bytes, error);
    return tarvo::readProgramBytes(file, bytes, error);
}

bool readDocument(const QString &file, QTextCodec *codec, tarvo::DocumentData &cells, QString *error,
                  tarvo::ReadReport *report, QByteArray *bytes)
{
    QByteArray read;
    if (!readBytes(file, &read, error)) {
        *error = cannotReadText(file, *error);
        return false;
    }
    tarvo::DocumentData document;
    const tarvo::ReadReport found = tarvo::readProgram(read, codec, document);
    const tarvo::NotAProgramFile why = tarvo::whyNotAProgramFile(read, found);
    if (why != tarvo::NotAProgramFile::No) {
        *error = notAProgramFileText(file, why);
        return false;
    }
    cells = document;
    if (report)
        *report = found;
    if (bytes)
        *bytes = read;
    return true;
}

QString notAProgramFileText(const QString &file, tarvo::NotAProgramFile why)
{
    if (why == tarvo::NotAProgramFile::Empty)
        return Messages::tr("%1: not a program file: it is empty (build writes a new one)").arg(shownName(file));
    const QString text = Messages::tr("%1: not a program file: none of its lines is a record or a comment")
                             .arg(shownName(file));
    switch (why) {
    case tarvo::NotAProgramFile::Empty:
    case tarvo::NotAProgramFile::No:
    case tarvo::NotAProgramFile::NoRecordOrComment: break;
    case tarvo::NotAProgramFile::CarriageReturnEnds:
        return text + Messages::tr(" (its lines end in a CR alone; a program file's end in CR LF)");
    case tarvo::NotAProgramFile::QuotedLines:
        return text + Messages::tr(" (its lines are in double quotes, as a spreadsheet may save them)");
    case tarvo::NotAProgramFile::Utf16:
        return text + Messages::tr(" (it is UTF-16 text; a program file is in a code page of the list)");
    }
    return text;
}

QString lossyText(QTextCodec *codec)
{
    return Messages::tr("it holds bytes that are no characters in %1; give its --encoding")
        .arg(QString::fromLatin1(codec->name()));
}

QString undecodableFinding(const QByteArray &bytes, int encoding)
{
    QTextCodec *chosen = tarvo::codecForEncoding(encoding);
    const int line = tarvo::firstUncleanLine(bytes, chosen);
    if (line == 0)
        return QString();
    const QString read = tarvo::readingCodec(bytes, chosen) == chosen
                             ? tarvo::encodingShownName(encoding)
                             : Messages::tr("UTF-8 (the file begins with its byte order mark)");
    const QString finding = Messages::tr("%1: bytes that are no characters of %2").arg(QString::number(line), read);
    const QList<int> clean = tarvo::cleanEncodings(bytes);
    if (clean.isEmpty())
        return finding + Messages::tr("; the file reads cleanly in no encoding of the list");
    return finding + Messages::tr("; the file reads cleanly in %1 (the most likely first)")
                         .arg(tarvo::encodingShownNames(clean).join(QStringLiteral(", ")));
}

QString cannotReadText(const QString &file, const QString &reason)
{
    return Messages::tr("cannot read %1: %2").arg(shownName(file), messages::reason(reason));
}

QString cannotWriteText(const QString &file, const QString &reason)
{
    return Messages::tr("cannot write %1: %2").arg(console::fileName(file), messages::reason(reason));
}

bool writeStamp(QDateTime *stamp, QString *error)
{
    if (!qEnvironmentVariableIsSet("SOURCE_DATE_EPOCH")) {
        *stamp = QDateTime::currentDateTime();
        return true;
    }
    const QString text = qEnvironmentVariable("SOURCE_DATE_EPOCH");
    bool digitsOnly = !text.isEmpty() && text.size() <= 12;
    for (const QChar c : text)
        digitsOnly = digitsOnly && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    const qint64 seconds = digitsOnly ? text.toLongLong() : -1;
    if (seconds < 0 || seconds > kLatestStamp) {
        *error = Messages::tr("SOURCE_DATE_EPOCH \"%1\" is not a number of seconds since 1970").arg(text);
        return false;
    }
    *stamp = QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
    return true;
}

Written writeDocument(const QString &file, const tarvo::DocumentCells &cells, QTextCodec *codec,
                      const QDateTime &stamp)
{
    Written written;
    if (isStandardStream(file) || isStreamTarget(file)) {
        const QByteArray bytes = tarvo::programFileBytes(cells, codec, stamp, &written.unencodable);
        // Nothing that no read would take back.
        if (bytes.size() > tarvo::kMaxProgramFileBytes) {
            console::error(cannotWriteText(file, QStringLiteral("it would be %1 bytes, more than %2")
                                                     .arg(bytes.size())
                                                     .arg(tarvo::programFileLimitText())));
            written.unencodable.clear();
            return written;
        }
        if (isStandardStream(file)) {
            console::writeOut(bytes);
            written.ok = console::finishOut();
            return written;
        }
        QString error;
        written.ok = writeIntoStream(file, bytes, &error);
        if (!written.ok)
            console::error(cannotWriteText(file, error));
        return written;
    }
    const tarvo::WriteResult result = tarvo::writeProgramFile(file, cells, codec, stamp);
    written.ok = result.ok;
    written.unencodable = result.unencodable;
    if (!result.notice.isEmpty())
        console::error(result.notice);
    if (!result.ok)
        console::error(cannotWriteText(file, result.error));
    return written;
}

QString leftOutRowMessage(const QString &file, const tarvo::LeftOutRow &row)
{
    QStringList missing;
    for (const int column : row.missingColumns) {
        const tarvo::ColumnFormat *format = tarvo::columnFormat(row.table, column);
        missing << Messages::tr(format->name);
    }
    return Messages::tr("%1: %2 left out: the file carries it only with a %3")
        .arg(shownOutput(file), rowName(row.table, row.row), missing.join(Messages::tr(" and a ")));
}

QStringList leftOutRowMessages(const QString &file, const tarvo::DocumentCells &cells)
{
    QStringList messages;
    const QList<tarvo::LeftOutRow> rows = tarvo::rowsLeftOut(cells);
    for (const tarvo::LeftOutRow &row : rows)
        messages << leftOutRowMessage(file, row);
    return messages;
}

bool reportLeftOutRows(const QString &file, const tarvo::DocumentCells &cells)
{
    const QStringList messages = leftOutRowMessages(file, cells);
    for (const QString &message : messages)
        console::error(message);
    return !messages.isEmpty();
}

} // namespace programstreams
