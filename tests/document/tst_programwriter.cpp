#include "documentcells.h"
#include "encodings.h"
#include "programwriter.h"
#include "programfiles.h"
#include "sampledocument.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

using namespace tarvo;

namespace {

const QDateTime kStamp(QDate(2024, 1, 15), QTime(10, 30, 0));

QTextCodec *cp1251() { return QTextCodec::codecForName("windows-1251"); }
QTextCodec *latin1() { return QTextCodec::codecForName("ISO-8859-1"); }

QList<QByteArray> linesOf(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray writeToBytes(const DocumentData &document, QTextCodec *codec = latin1())
{
    return programFileBytes(document, codec, kStamp);
}

} // namespace

class TestProgramWriter : public QObject
{
    Q_OBJECT

private slots:
    void exampleComesOutByteForByte()
    {
        const DocumentData document = testsupport::sampleDocument();

        const QByteArray expected = "\";2024-01-15 10:30:00\"\r\n"
                                    "\";\"\r\n"
                                    "\";System Parameters\"\r\n"
                                    "S\t1\t5\r\n"
                                    "S\t3\t1\r\n"
                                    "\";\"\r\n"
                                    "\";Departments\"\r\n"
                                    "D\t1\tWater\tA\t1.20\t2\r\n"
                                    "\";\"\r\n"
                                    "\";Header Lines\"\r\n"
                                    "H\t1\tSHOP\r\n"
                                    "H\t2\t\r\n"
                                    "H\t3\t\r\n"
                                    "H\t4\t\r\n"
                                    "H\t5\t\r\n"
                                    "H\t6\t\r\n"
                                    "H\t7\t\r\n"
                                    "H\t8\t\r\n"
                                    "\";\"\r\n"
                                    "\";Payments\"\r\n"
                                    "Y\t1\tCash\t1.00\t0\r\n"
                                    "\";\"\r\n";
        QCOMPARE(writeToBytes(document), expected);
    }

    void emptyDocumentIsEighteenLines()
    {
        const QByteArray bytes = writeToBytes(DocumentData());
        const QList<QByteArray> lines = linesOf(bytes);
        QCOMPARE(lines.size(), 18);
        for (const QByteArray &line : lines)
            QVERIFY(line.endsWith('\r'));
        QVERIFY(bytes.endsWith("\";\"\r\n"));
        QCOMPARE(bytes.count("\r\n"), 18);
    }

    void skipsRowsWithoutTheirKeyCell()
    {
        DocumentData document;
        document.setCellText(DocTable::Depts, 4, col::DeptPrice, QStringLiteral("2.00")); // no name
        document.setCellText(DocTable::Payments, 1, col::PaymentName, QStringLiteral("Card")); // no value
        document.setCellText(DocTable::Payments, 2, col::PaymentValue, QStringLiteral("3")); // no name
        document.setCellText(DocTable::Payments, 3, col::PaymentIndex, QStringLiteral("1"));
        QCOMPARE(linesOf(writeToBytes(document)).size(), 18);

        document.setCellText(DocTable::Depts, 4, col::DeptName, QStringLiteral("Tea"));
        QVERIFY(writeToBytes(document).contains("\r\nD\t5\tTea\t\t2.00\t\r\n"));
    }

    void fieldsAreWrittenAsTheCellsHoldThem()
    {
        DocumentData document;
        document.setCellText(DocTable::Params, 25, col::ParamValue, QStringLiteral("  007 "));
        document.setCellText(DocTable::Depts, 49, col::DeptName, QStringLiteral("\"Quoted\""));
        document.setCellText(DocTable::Depts, 49, col::DeptPrice, QStringLiteral("abc"));
        const QByteArray bytes = writeToBytes(document);
        QVERIFY(bytes.contains("\r\nS\t26\t  007 \r\n"));
        QVERIFY(bytes.contains("\r\nD\t50\t\"Quoted\"\t\tabc\t\r\n"));
    }

    void separatorsInsideACellBecomeSpaces()
    {
        DocumentData document;
        document.setCellText(DocTable::Depts, 0, col::DeptName, QStringLiteral("Hot\tTea\r\nLarge"));
        document.setCellText(DocTable::Depts, 0, col::DeptTax, QStringLiteral("B"));
        document.setCellText(DocTable::Lines, 1, col::LineText, QStringLiteral("a\nb"));
        const QByteArray bytes = writeToBytes(document);
        QVERIFY(bytes.contains("\r\nD\t1\tHot Tea  Large\tB\t\t\r\n"));
        QVERIFY(bytes.contains("\r\nH\t2\ta b\r\n"));
        QCOMPARE(linesOf(bytes).size(), 19);
    }

    void commentLineIsWrittenAsRecordZero()
    {
        DocumentData document;
        document.setCellText(DocTable::Comments, 0, col::CommentText, QStringLiteral("Hello"));
        const QByteArray bytes = writeToBytes(document);
        QVERIFY(bytes.contains("H\t8\t\r\nC\t0\tHello\r\n\";\"\r\n\";Payments\""));
        QCOMPARE(linesOf(bytes).size(), 19);
    }

    void cyrillicIsOneBytePerLetterInCp1251()
    {
        DocumentData document;
        document.setCellText(DocTable::Depts, 0, col::DeptName, QStringLiteral("Вода"));
        const QByteArray bytes = programFileBytes(document, cp1251(), kStamp);
        QVERIFY(bytes.contains(QByteArray("D\t1\t\xC2\xEE\xE4\xE0\t")));
    }

    void systemUtf8WritesNoByteOrderMark()
    {
        DocumentData document;
        document.setCellText(DocTable::Lines, 0, col::LineText, QStringLiteral("Чай"));
        const QByteArray bytes = programFileBytes(document, QTextCodec::codecForName("UTF-8"), kStamp);
        QVERIFY(bytes.startsWith("\";2024"));
        QVERIFY(bytes.contains(QStringLiteral("H\t1\tЧай\r\n").toUtf8()));
    }

    void reportsCellsTheCodePageCannotHold()
    {
        DocumentData document;
        document.setCellText(DocTable::Depts, 2, col::DeptName, QStringLiteral("Чай ж Чай"));
        document.setCellText(DocTable::Params, 0, col::ParamValue, QStringLiteral("plain"));
        document.setCellText(DocTable::Payments, 3, col::PaymentName, QStringLiteral("€"));
        document.setCellText(DocTable::Payments, 3, col::PaymentValue, QStringLiteral("1"));
        QList<UnencodableCell> unencodable;
        const QByteArray bytes = programFileBytes(document, latin1(), kStamp, &unencodable);
        QCOMPARE(unencodable.size(), 2);
        QCOMPARE(unencodable.at(0).table, DocTable::Depts);
        QCOMPARE(unencodable.at(0).row, 2);
        QCOMPARE(unencodable.at(0).column, col::DeptName);
        QCOMPARE(unencodable.at(0).characters, QStringLiteral("Чайж"));
        QCOMPARE(unencodable.at(1).table, DocTable::Payments);
        QCOMPARE(unencodable.at(1).characters, QStringLiteral("€"));
        QVERIFY(bytes.contains("D\t3\t??? ? ???\t")); // still written, as the device will see it

        unencodable.clear();
        programFileBytes(document, QTextCodec::codecForName("UTF-8"), kStamp, &unencodable);
        QVERIFY(unencodable.isEmpty());
    }

    void fileWriteReplacesTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.prg"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write(QByteArray(10000, 'x'));
        }
        DocumentData document;
        const WriteResult result = writeProgramFile(path, document, latin1(), kStamp);
        QVERIFY(result.ok);
        QFile written(path);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), writeToBytes(document));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("a.prg")});
    }

    void readOnlyFileIsLeftAlone()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("locked.prg"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("previous");
        }
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        const WriteResult result = writeProgramFile(path, DocumentData(), latin1(), kStamp);
        QVERIFY(!result.ok);
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("previous"));
    }

    void failedFileWriteLeavesNothingBehind()
    {
        QTemporaryDir dir;
        const QString missingFolder = dir.filePath(QStringLiteral("no/such/folder/a.prg"));
        WriteResult result = writeProgramFile(missingFolder, DocumentData(), latin1(), kStamp);
        QVERIFY(!result.ok);
        QVERIFY(!result.error.isEmpty());

        const QString folder = dir.filePath(QStringLiteral("taken"));
        QVERIFY(QDir().mkdir(folder));
        result = writeProgramFile(folder, DocumentData(), latin1(), kStamp);
        QVERIFY(!result.ok);
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestProgramWriter)
#include "tst_programwriter.moc"
