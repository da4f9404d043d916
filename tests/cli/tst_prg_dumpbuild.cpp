// dump and build: the JSON shape, the round trip through both, the bytes
// that build writes, and every way the input or the output can fail.

#include "prgrunner.h"
#include "testsupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using prgtest::readFile;
using prgtest::run;
using prgtest::writeFile;

namespace {

const QString kSampleFile = QStringLiteral("sample.prg");

// A file with one record of every kind, some of them in odd shapes.
const QByteArray kSample = "\";2024-01-15 10:30:00\"\r\n"
                           "S\t1\t5\r\n"
                           "S\t26\tlast\r\n"
                           "D\t3\tTea\tB\t2.50\t2\r\n"
                           "D\t50\tq\"uote\\\x01\r\n"
                           "H\t8\t  SHOP\r\n"
                           "C\t\tHello\r\n"
                           "Y\t4\tCash\t1.00\t0\r\n";

QJsonObject parseObject(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    return error.error == QJsonParseError::NoError ? document.object() : QJsonObject();
}

QByteArray withoutStampLine(const QByteArray &file) { return file.mid(file.indexOf('\n') + 1); }

} // namespace

class TestPrgDumpBuild : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        testsupport::isolate();
        writeFile(kSampleFile, kSample);
    }

    void dumpHasTheFullShapeAndOnlyStrings()
    {
        const prgtest::Run result = run({QStringLiteral("dump"), kSampleFile});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.err.isEmpty());
        const QJsonObject root = parseObject(result.out);
        QCOMPARE(root.keys(), (QStringList{u"comment"_s, u"departments"_s, u"headerLines"_s, u"params"_s, u"payments"_s}));

        auto checkStrings = [](const QJsonArray &array, int size) {
            QCOMPARE(array.size(), size);
            for (const QJsonValue &value : array)
                QVERIFY(value.isString());
        };
        auto checkRecords = [](const QJsonArray &array, int size, const QStringList &keys) {
            QCOMPARE(array.size(), size);
            for (const QJsonValue &value : array) {
                QCOMPARE(value.toObject().keys(), keys);
                for (const QJsonValue &field : value.toObject())
                    QVERIFY(field.isString());
            }
        };
        checkStrings(root.value(u"params"_s).toArray(), 26);
        checkRecords(root.value(u"departments"_s).toArray(), 50, {u"digits"_s, u"name"_s, u"price"_s, u"tax"_s});
        checkStrings(root.value(u"headerLines"_s).toArray(), 8);
        QVERIFY(root.value(u"comment"_s).isString());
        checkRecords(root.value(u"payments"_s).toArray(), 4, {u"index"_s, u"name"_s, u"value"_s});

        // Written in the order an operator reads the tabs.
        const QByteArray &out = result.out;
        QVERIFY(out.indexOf("\"params\"") < out.indexOf("\"departments\""));
        QVERIFY(out.indexOf("\"departments\"") < out.indexOf("\"headerLines\""));
        QVERIFY(out.indexOf("\"headerLines\"") < out.indexOf("\"comment\""));
        QVERIFY(out.indexOf("\"comment\"") < out.indexOf("\"payments\""));
        QVERIFY(out.indexOf("\"name\": \"Tea\", \"price\": \"2.50\", \"tax\": \"B\", \"digits\": \"2\"") > 0);
    }

    void dumpPutsEachRecordIntoItsCells()
    {
        const QJsonObject root = parseObject(run({QStringLiteral("dump"), kSampleFile}).out);
        const QJsonArray params = root.value(u"params"_s).toArray();
        QCOMPARE(params.at(0).toString(), QStringLiteral("5"));
        QCOMPARE(params.at(1).toString(), QString());
        QCOMPARE(params.at(25).toString(), QStringLiteral("last"));
        const QJsonObject tea = root.value(u"departments"_s).toArray().at(2).toObject();
        QCOMPARE(tea.value(u"name"_s).toString(), QStringLiteral("Tea"));
        QCOMPARE(tea.value(u"tax"_s).toString(), QStringLiteral("B"));
        QCOMPARE(tea.value(u"price"_s).toString(), QStringLiteral("2.50"));
        QCOMPARE(tea.value(u"digits"_s).toString(), QStringLiteral("2"));
        // Quotes, backslashes and control characters survive the JSON.
        QCOMPARE(root.value(u"departments"_s).toArray().at(49).toObject().value(u"name"_s).toString(),
                 QStringLiteral("q\"uote\\\x01"));
        // Space inside the line stays; only the line's ends are trimmed.
        QCOMPARE(root.value(u"headerLines"_s).toArray().at(7).toString(), QStringLiteral("  SHOP"));
        QCOMPARE(root.value(u"comment"_s).toString(), QStringLiteral("Hello"));
        const QJsonObject cash = root.value(u"payments"_s).toArray().at(3).toObject();
        QCOMPARE(cash.value(u"name"_s).toString(), QStringLiteral("Cash"));
        QCOMPARE(cash.value(u"value"_s).toString(), QStringLiteral("1.00"));
        QCOMPARE(cash.value(u"index"_s).toString(), QStringLiteral("0"));
    }

    void dumpDecodesWithTheChosenCodePage()
    {
        writeFile(QStringLiteral("cp1251.prg"), "D\t1\t\xc2\xee\xe4\xe0\t\xc0\r\n");
        const prgtest::Run result = run({u"dump"_s, u"--encoding"_s, u"CP1251"_s, u"cp1251.prg"_s});
        QCOMPARE(result.exitCode, 0);
        const QJsonObject water = parseObject(result.out).value(u"departments"_s).toArray().at(0).toObject();
        QCOMPARE(water.value(u"name"_s).toString(), QStringLiteral("Вода"));
        QCOMPARE(water.value(u"tax"_s).toString(), QStringLiteral("А"));
    }

    void dumpOfAFileThatCannotBeOpened_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << QStringLiteral("missing.prg");
        QTest::newRow("directory") << QStringLiteral(".");
        QTest::newRow("FIFO nobody writes") << QStringLiteral("pipe.prg");
        QTest::newRow("endless device") << QStringLiteral("/dev/zero");
    }

    void dumpOfAFileThatCannotBeOpened()
    {
        QFETCH(QString, path);
        if (path == QLatin1String("pipe.prg") && !QFile::exists(path))
            QCOMPARE(::mkfifo("pipe.prg", 0644), 0);
        const prgtest::Run result = run({QStringLiteral("dump"), path});
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        QCOMPARE(result.errLines().size(), 1);
        QVERIFY(result.errLines().first().startsWith(QStringLiteral("tarvo-prg: cannot read %1: ").arg(path)));
    }

    void dumpReportsLostOutput()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("needs /dev/full");
        const prgtest::Run result = run({QStringLiteral("dump"), kSampleFile}, {}, QStringLiteral("/dev/full"));
        QVERIFY(result.exitCode > 0);
        QVERIFY(result.err.contains("cannot write standard output"));
    }

    void dumpThenBuildThenDumpGivesTheSameDocument()
    {
        // build refuses control characters, which the sample holds.
        writeFile(u"plain.prg"_s, QByteArray(kSample).replace('\x01', QByteArray()));
        const prgtest::Run first = run({QStringLiteral("dump"), u"plain.prg"_s});
        const prgtest::Run build = run({QStringLiteral("build"), QStringLiteral("again.prg")}, first.out);
        QCOMPARE(build.exitCode, 0);
        QVERIFY(build.err.isEmpty());
        const prgtest::Run second = run({QStringLiteral("dump"), QStringLiteral("again.prg")});
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(second.out, first.out);
    }

    void buildWritesTheEditorsLayout()
    {
        const QByteArray json = R"({"params": ["5", "", "1"],
            "departments": [{"name": "Water", "price": "1.20", "tax": "A", "digits": "2"},
                            {"price": "9.99"}],
            "headerLines": ["SHOP"],
            "payments": [{"name": "Cash", "value": "1.00", "index": "0"}, {"name": "Card"}]})";
        const prgtest::Run result = run({QStringLiteral("build"), QStringLiteral("layout.prg")}, json);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.errLines(),
                 QStringList({u"tarvo-prg: layout.prg: department 2 left out: the file carries it only with a name"_s,
                              u"tarvo-prg: layout.prg: payment 2 left out: the file carries it only with a value"_s}));
        const QByteArray file = readFile(QStringLiteral("layout.prg"));
        QVERIFY(QRegularExpression(QStringLiteral("^\";\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\"\r\n"))
                    .match(QString::fromLatin1(file))
                    .hasMatch());
        // A department without a name and a payment without a value are not written.
        QCOMPARE(withoutStampLine(file), QByteArray("\";\"\r\n\";System Parameters\"\r\nS\t1\t5\r\nS\t3\t1\r\n"
                                                    "\";\"\r\n\";Departments\"\r\nD\t1\tWater\tA\t1.20\t2\r\n"
                                                    "\";\"\r\n\";Header Lines\"\r\nH\t1\tSHOP\r\nH\t2\t\r\n"
                                                    "H\t3\t\r\nH\t4\t\r\nH\t5\t\r\nH\t6\t\r\nH\t7\t\r\nH\t8\t\r\n"
                                                    "\";\"\r\n\";Payments\"\r\nY\t1\tCash\t1.00\t0\r\n\";\"\r\n"));
    }

    void buildEncodesWithTheChosenCodePage()
    {
        const prgtest::Run result =
            run({u"build"_s, u"--encoding"_s, u"CP1251"_s, u"cyr.prg"_s}, R"({"headerLines": ["Вода"]})");
        QCOMPARE(result.exitCode, 0);
        QVERIFY(readFile(QStringLiteral("cyr.prg")).contains("H\t1\t\xc2\xee\xe4\xe0\r\n"));
        // Windows tools start UTF-8 text with a byte order mark.
        QCOMPARE(run({u"build"_s, u"--encoding"_s, u"CP1251"_s, u"bom.prg"_s}, "\xef\xbb\xbf{\"headerLines\": [\"Вода\"]}").exitCode, 0);
        QVERIFY(readFile(QStringLiteral("bom.prg")).contains("H\t1\t\xc2\xee\xe4\xe0\r\n"));
    }

    // "System" is a code page the device reads: on a UTF-8 desktop, that of
    // the user's language, as the editor has it; a dump piped into build
    // keeps every letter.
    void systemIsTheCodePageOfTheUserLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("Bulgarian") << u"bg_BG.UTF-8"_s << QByteArray("H\t1\t\xc2\xee\xe4\xe0\r\n") << 0;
        QTest::newRow("C") << u"C.UTF-8"_s << QByteArray("H\t1\t\xc2\xee\xe4\xe0\r\n") << 0;
        // CP1252 has no Cyrillic: said, and written as its replacement character.
        QTest::newRow("English") << u"en_US.UTF-8"_s << QByteArray("H\t1\t????\r\n") << 1;
    }

    void systemIsTheCodePageOfTheUserLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, line);
        QFETCH(int, exitCode);
        const QStringList environment{u"LC_ALL="_s + locale};
        const prgtest::Run built = run({u"build"_s, u"system.prg"_s}, R"({"headerLines": ["Вода"]})", QString(), environment);
        QCOMPARE(built.exitCode, exitCode);
        QVERIFY2(readFile(u"system.prg"_s).contains(line), readFile(u"system.prg"_s).constData());
        if (exitCode != 0)
            return;
        const prgtest::Run dumped = run({u"dump"_s, u"system.prg"_s}, {}, QString(), environment);
        QCOMPARE(run({u"build"_s, u"again.prg"_s}, dumped.out, QString(), environment).exitCode, 0);
        QCOMPARE(run({u"diff"_s, u"system.prg"_s, u"again.prg"_s}, {}, QString(), environment).exitCode, 0);
        QVERIFY(readFile(u"again.prg"_s).contains(line));
    }

    // What a code page cannot hold is written as its replacement character
    // and named, invisible characters included; what it holds decomposed is
    // written decomposed.
    void buildReportsCharactersTheCodePageLacks_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("euro sign in ISO 8859-5") << u"ISO 8859-5"_s << QByteArray(R"({"payments": [{"name": "5€", "value": "1"}]})")
                                                << 1 << u"payment 1 name: \"€\" cannot be written in ISO 8859-5; written as the replacement character"_s
                                                << QByteArray("Y\t1\t5?\t1\t\r\n");
        QTest::newRow("zero-width space in CP1251")
            << u"CP1251"_s << QByteArray(R"({"payments": [{"name": "a\u200bb\ufeff", "value": "1"}]})") << 1
            << u"payment 1 name: U+200B, U+FEFF cannot be written in CP1251; written as the replacement character"_s
            << QByteArray("Y\t1\ta?b?\t1\t\r\n");
        QTest::newRow("Vietnamese in CP1258") << u"CP1258"_s << QByteArray(R"({"headerLines": ["ạ ế ậ"]})") << 0 << QString()
                                             << QByteArray("H\t1\ta\xf2 \xea\xec \xe2\xf2\r\n");
        QTest::newRow("Hebrew presentation form in CP1255")
            << u"CP1255"_s << QByteArray(R"({"headerLines": ["\ufb2c"]})") << 0 << QString()
            << QByteArray("H\t1\t\xf9\xcc\xd1\r\n");
        QTest::newRow("Thai in ISO 8859-11, no euro sign") << u"ISO 8859-11"_s << QByteArray(R"({"headerLines": ["ก€"]})")
                                                           << 1 << u"header line 1: \"€\" cannot be written in ISO 8859-11; written as the replacement character"_s
                                                           << QByteArray("H\t1\t\xa1?\r\n");
    }

    void buildReportsCharactersTheCodePageLacks()
    {
        QFETCH(QString, encoding);
        QFETCH(QByteArray, json);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(QByteArray, record);
        const prgtest::Run result = run({u"build"_s, u"--encoding"_s, encoding, u"lacks.prg"_s}, json);
        QCOMPARE(result.exitCode, exitCode);
        if (message.isEmpty())
            QCOMPARE(result.errLines(), QStringList());
        else
            QCOMPARE(result.errLines(), QStringList{u"tarvo-prg: lacks.prg: "_s + message});
        QVERIFY2(readFile(u"lacks.prg"_s).contains(record), readFile(u"lacks.prg"_s).toHex().constData());
    }

    void buildRefusesBadInput_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("message");
        QByteArray tooMany = "{\"departments\": [";
        for (int i = 0; i < 51; ++i)
            tooMany += i ? ",{}" : "{}";
        tooMany += "]}";
        QTest::newRow("empty") << QByteArray("  \n") << "input: empty, where a JSON document belongs";
        QTest::newRow("not JSON") << QByteArray("{\n  \"params\": [x]}") << "input: not JSON: ";
        QTest::newRow("not UTF-8") << QByteArray("{\"comment\": \"\xff\"}") << "input: not JSON: ";
        QTest::newRow("deep nesting") << QByteArray(100000, '[') << "input: arrays and objects nested deeper than";
        QTest::newRow("array at top") << QByteArray("[]") << "document: an array where an object belongs";
        QTest::newRow("number in params") << QByteArray(R"({"params": ["1", 2]})")
                                          << "parameter 2: a number where a string belongs";
        QTest::newRow("string for array") << QByteArray(R"({"params": "1"})")
                                          << "params: a string where an array belongs";
        QTest::newRow("boolean price") << QByteArray(R"({"departments": [{}, {"price": true}]})")
                                       << "department 2 price: a boolean where a string belongs";
        QTest::newRow("null comment") << QByteArray(R"({"comment": null})") << "comment: null where a string belongs";
        QTest::newRow("object value") << QByteArray(R"({"payments": [{"value": {}}]})")
                                      << "payment 1 value: an object where a string belongs";
        QTest::newRow("string for record") << QByteArray(R"({"payments": ["Cash"]})")
                                           << "payment 1: a string where an object belongs";
        QTest::newRow("too many departments") << tooMany << "departments: 51 entries where at most 50 objects belong";
        QTest::newRow("too many lines") << QByteArray(R"({"headerLines": ["","","","","","","","",""]})")
                                        << "headerLines: 9 entries where at most 8 strings belong";
        QTest::newRow("unknown key") << QByteArray(R"({"params": [], "colour": "red"})")
                                     << "document: unknown key \"colour\"";
        QTest::newRow("unknown field") << QByteArray(R"({"payments": [{"name": "a", "amount": "1"}]})")
                                       << "payment 1: unknown key \"amount\"";
        QTest::newRow("table twice") << QByteArray(R"({"params": ["1"], "params": ["2"]})")
                                     << "document: key \"params\" given twice";
        QTest::newRow("field twice") << QByteArray(R"({"departments": [{}, {"price": "1", "price": "2"}]})")
                                     << "department 2: key \"price\" given twice";
        QTest::newRow("field twice, once escaped") << QByteArray(R"({"payments": [{"name": "a", "n\u0061me": "b"}]})")
                                                   << "payment 1: key \"name\" given twice";
        QTest::newRow("key twice after a byte order mark")
            << QByteArray("\xef\xbb\xbf{\"comment\":\"a\",\"comment\":\"b\"}") << "document: key \"comment\" given twice";
        QTest::newRow("byte order mark alone") << QByteArray("\xef\xbb\xbf") << "input: not JSON: ";
        // JSON, but nothing a document holds: said for what it is.
        QTest::newRow("number too large") << QByteArray(R"({"comment": 1e400})")
                                          << "input: a number too large at line 1, column 17";
        QTest::newRow("lone surrogate") << QByteArray("{\"comment\": \"a\\ud800b\"}")
                                        << "input: a lone surrogate \\ud800 in a string at line 1, column 21";
        // The file cannot carry them: refused, the cell named.
        QTest::newRow("TAB and line ends in a cell") << QByteArray(R"({"params": ["a\tb\r\nc"], "comment": "kept"})")
                                                     << "parameter 1: a cell cannot hold a TAB or a line end";
        QTest::newRow("NUL in a cell") << QByteArray(R"({"departments": [{}, {"name": "a\u0000"}]})")
                                       << "department 2 name: a cell cannot hold the control character U+0000";
        QTest::newRow("ESC in a cell") << QByteArray("{\"headerLines\": [\"\\u001b[2J\"]}")
                                       << "header line 1: a cell cannot hold the control character U+001b";
    }

    void buildRefusesBadInput()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, message);
        const QString out = QStringLiteral("refused.prg");
        const QByteArray before = "previous contents\r\n";
        writeFile(out, before);
        const prgtest::Run result = run({QStringLiteral("build"), out}, json);
        QCOMPARE(result.exitCode, 2);
        QCOMPARE(result.errLines().size(), 1);
        QVERIFY2(result.errLines().first().startsWith(QStringLiteral("tarvo-prg: ") + message),
                 result.err.constData());
        QCOMPARE(readFile(out), before);
        QFile::remove(out);
        QCOMPARE(run({QStringLiteral("build"), out}, json).exitCode, 2);
        QVERIFY(!QFile::exists(out));
    }

    // Nothing reads the FIFO: opening it would wait for ever, replacing it
    // (or a device) would take it away from whoever uses it.
    void buildNeverReplacesASpecialFile()
    {
        QVERIFY(::mkfifo("target-pipe", 0644) == 0 || QFileInfo(QStringLiteral("target-pipe")).exists());
        QVERIFY(QFile::link(QStringLiteral("target-pipe"), QStringLiteral("link-to-pipe"))
                || QFileInfo(QStringLiteral("link-to-pipe")).isSymLink());
        for (const QString &target : {QStringLiteral("target-pipe"), QStringLiteral("link-to-pipe")}) {
            const prgtest::Run result = run({QStringLiteral("build"), target}, R"({"params": ["new"]})");
            QCOMPARE(result.exitCode, 3);
            QCOMPARE(result.errLines(),
                     QStringList{QStringLiteral("tarvo-prg: cannot write %1: nothing reads from this FIFO").arg(target)});
            struct stat now;
            QCOMPARE(::stat("target-pipe", &now), 0);
            QVERIFY(S_ISFIFO(now.st_mode));
        }
    }

    void failedWriteLeavesTheOldFile_data()
    {
        QTest::addColumn<QString>("path");
        // No temporary file can be made beside a name of the longest length
        // a directory entry may have, so the write must fail; it fails for
        // any user, root included.
        QTest::newRow("longest name") << QString(255, QLatin1Char('n'));
        QTest::newRow("missing folder") << QStringLiteral("no/such/folder/out.prg");
    }

    void failedWriteLeavesTheOldFile()
    {
        QFETCH(QString, path);
        const QByteArray before = "S\t1\told\r\n";
        writeFile(path, before);
        const prgtest::Run result = run({QStringLiteral("build"), path}, R"({"params": ["new"]})");
        QCOMPARE(result.exitCode, 3);
        QCOMPARE(result.errLines().size(), 1);
        QVERIFY(result.errLines().first().startsWith(QStringLiteral("tarvo-prg: cannot write %1: ").arg(path)));
        if (QFile::exists(path))
            QCOMPARE(readFile(path), before);
        // Nor is a temporary file left behind.
        QStringList leftovers = QDir().entryList(QDir::Files | QDir::Hidden)
                                    .filter(QRegularExpression(QStringLiteral("^n{10}")));
        leftovers.removeAll(path);
        QFile::remove(path);
        QVERIFY(leftovers.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPrgDumpBuild)
#include "tst_prg_dumpbuild.moc"

