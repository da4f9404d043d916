#include "benchfiles.h"

#include "encodings.h"
#include "programwriter.h"

#include <QDateTime>
#include <QFile>
#include <QTextCodec>

namespace benchfiles {

QTextCodec *codec() { return tarvo::codecForEncoding(tarvo::encodingIndexOf(QStringLiteral("CP1251"))); }

tarvo::DocumentData fullDocument()
{
    using namespace tarvo;
    DocumentData document;
    for (int r = 0; r < rowCount(DocTable::Params); ++r)
        document.setCellText(DocTable::Params, r, col::ParamValue, QString::number(r * 7 % 100));
    for (int r = 0; r < rowCount(DocTable::Depts); ++r) {
        document.setCellText(DocTable::Depts, r, col::DeptName, QStringLiteral("Минерална вода %1").arg(r + 1));
        document.setCellText(DocTable::Depts, r, col::DeptPrice, QStringLiteral("1.%1").arg(r % 100, 2, 10, QLatin1Char('0')));
        document.setCellText(DocTable::Depts, r, col::DeptTax, QStringLiteral("Б"));
        document.setCellText(DocTable::Depts, r, col::DeptDigits, QStringLiteral("2"));
    }
    for (int r = 0; r < rowCount(DocTable::Lines); ++r)
        document.setCellText(DocTable::Lines, r, col::LineText, QStringLiteral("АВТОМАТ ЗА НАПИТКИ %1").arg(r + 1));
    document.setCellText(DocTable::Comments, 0, col::CommentText, QStringLiteral("Склад 3"));
    for (int r = 0; r < rowCount(DocTable::Payments); ++r) {
        document.setCellText(DocTable::Payments, r, col::PaymentName, QStringLiteral("Плащане %1").arg(r + 1));
        document.setCellText(DocTable::Payments, r, col::PaymentValue, QStringLiteral("1.00"));
        document.setCellText(DocTable::Payments, r, col::PaymentIndex, QString::number(r));
    }
    return document;
}

QString writeValidFile(const QString &folder, qint64 bytes, const QString &name)
{
    // Whole files one after another are a valid file: comments and records.
    const QByteArray block = tarvo::programFileBytes(fullDocument(), codec(), QDateTime(QDate(2024, 1, 15), QTime(10, 30)));
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray chunk;
    while (chunk.size() < 1024 * 1024)
        chunk += block;
    qint64 written = 0;
    for (; written + chunk.size() <= bytes; written += chunk.size())
        file.write(chunk);
    for (; written + block.size() <= bytes; written += block.size())
        file.write(block);
    return path;
}

QString writeTypicalFile(const QString &folder)
{
    const QString path = folder + QStringLiteral("/typical.prg");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    file.write(tarvo::programFileBytes(fullDocument(), codec(), QDateTime(QDate(2024, 1, 15), QTime(10, 30))));
    return path;
}

QString writeSingleLineFile(const QString &folder)
{
    const QString path = folder + QStringLiteral("/oneline.prg");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    // One header line whose text is 4 MiB of CP1251 letters, digits and spaces.
    QByteArray piece;
    for (int i = 0; i < 64 * 1024; ++i)
        piece += char(i % 7 == 0 ? ' ' : (i % 3 == 0 ? '0' + i % 10 : 0xC0 + i % 64));
    file.write("H\t1\t");
    for (qint64 written = 4; written + piece.size() <= kTargetBytes - 2; written += piece.size())
        file.write(piece);
    file.write("\r\n");
    return path;
}

qint64 longestLine(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    qint64 longest = 0;
    qint64 current = 0;
    QByteArray chunk(1 << 20, Qt::Uninitialized);
    for (qint64 n; (n = file.read(chunk.data(), chunk.size())) > 0;) {
        for (qint64 i = 0; i < n; ++i) {
            ++current;
            if (chunk.at(i) == '\n') {
                longest = qMax(longest, current);
                current = 0;
            }
        }
    }
    return qMax(longest, current);
}

} // namespace benchfiles
