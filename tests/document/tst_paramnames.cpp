#include "paramnamesfile.h"
#include "programfiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextCodec>
#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

using namespace tarvo;

namespace {

const QString kMarkerComment = QStringLiteral("<!-- Кворвел Лабс -->");

QByteArray namesFile(const QString &entries, const QString &comment = kMarkerComment)
{
    return (QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") + comment
            + QStringLiteral("\n<Tarvo_Root><Tarvo_Names>") + entries
            + QStringLiteral("</Tarvo_Names></Tarvo_Root>\n"))
        .toUtf8();
}

QString entry(const QString &number, const QString &name)
{
    return QStringLiteral("<SYSPAR_NAME Number=\"%1\" Name=\"%2\"/>").arg(number, name);
}

QTextCodec *utf8() { return QTextCodec::codecForName("UTF-8"); }

} // namespace

class TestParamNames : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;

    NamesLoad loadBytes(const QByteArray &bytes, QStringList *names, QTextCodec *codec = utf8())
    {
        const QString path = dir.filePath(QStringLiteral("names.xml"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        file.close();
        return loadParamNamesFile(path, codec, names);
    }

private slots:
    void loadsNamesByNumber()
    {
        QStringList names;
        QCOMPARE(loadBytes(namesFile(entry(u"1"_s, u"First"_s) + entry(u"26"_s, u"Last"_s)), &names), NamesLoad::Loaded);
        QCOMPARE(names.size(), 26);
        QCOMPARE(names.at(0), QStringLiteral("First"));
        QCOMPARE(names.at(25), QStringLiteral("Last"));
        QCOMPARE(names.at(1), QString());
    }

    void numbersOutsideOneToTwentySixAreIgnored()
    {
        QStringList names;
        loadBytes(namesFile(entry(u"0"_s, u"zero"_s) + entry(u"27"_s, u"x"_s) + entry(u"-1"_s, u"m"_s) + entry(u"x"_s, u"y"_s)
                            + entry(u"007"_s, u"seven"_s) + entry(u""_s, u"empty"_s) + entry(u"70000"_s, u"big"_s)),
                  &names);
        QStringList expected(26, QString());
        expected[6] = QStringLiteral("seven");
        QCOMPARE(names, expected);
        QCOMPARE(loadBytes(namesFile(QStringLiteral("<SYSPAR_NAME Name=\"n\"/>")), &names), NamesLoad::Loaded);
    }

    void laterEntryWinsAndMissingNameIsEmpty()
    {
        QStringList names;
        loadBytes(namesFile(entry(u"5"_s, u"early"_s) + entry(u"5"_s, u"late"_s) + QStringLiteral("<SYSPAR_NAME Number=\"6\"/>")),
                  &names);
        QCOMPARE(names.at(4), QStringLiteral("late"));
        QCOMPARE(names.at(5), QString());
    }

    void onlyDirectChildrenOfTheFirstListCount()
    {
        QStringList names;
        const QByteArray bytes = (QStringLiteral("<?xml version=\"1.0\"?>") + kMarkerComment
                                  + QStringLiteral("<Tarvo_Root><Other/><Tarvo_Names>") + entry(u"1"_s, u"one"_s)
                                  + QStringLiteral("<Group>") + entry(u"2"_s, u"nested"_s) + QStringLiteral("</Group>")
                                  + QStringLiteral("<syspar_name Number=\"3\" Name=\"case\"/>text<!-- c -->")
                                  + QStringLiteral("</Tarvo_Names><Tarvo_Names>") + entry(u"4"_s, u"second list"_s)
                                  + QStringLiteral("</Tarvo_Names></Tarvo_Root>"))
                                     .toUtf8();
        QCOMPARE(loadBytes(bytes, &names), NamesLoad::Loaded);
        QStringList expected(26, QString());
        expected[0] = QStringLiteral("one");
        QCOMPARE(names, expected);
    }

    void markerIsTheEncodingCheck()
    {
        QStringList names;
        QCOMPARE(loadBytes(namesFile(entry(u"1"_s, u"One"_s), QString()), &names), NamesLoad::WrongEncoding);
        QCOMPARE(names, QStringList(26, QString()));
        // The same file in a single-byte Cyrillic code page fails the check too.
        const QString text = QString::fromUtf8(namesFile(entry(u"1"_s, u"Едно"_s)))
                                 .replace(QStringLiteral("UTF-8"), QStringLiteral("windows-1251"));
        QCOMPARE(loadBytes(QTextCodec::codecForName("windows-1251")->fromUnicode(text), &names),
                 NamesLoad::WrongEncoding);
        // Anywhere in the bytes will do, an attribute too.
        QCOMPARE(loadBytes(namesFile(entry(u"1"_s, u"Кворвел Лабс"_s), QString()), &names), NamesLoad::Loaded);
    }

    void badStructureIsRefusedWithNoNames()
    {
        QStringList names;
        const QString marker = kMarkerComment;
        const char *const bad[] = {
            "<Tarvo_Root><Tarvo_Names>",                                // not well-formed
            "<Other><Tarvo_Names/></Other>",                            // wrong root
            "<tarvo_root><Tarvo_Names/></tarvo_root>",                  // case matters
            "<Tarvo_Root><Names/></Tarvo_Root>",                        // no list
            "<Tarvo_Root><Group><Tarvo_Names/></Group></Tarvo_Root>",   // list too deep
            "not xml at all",
        };
        for (const char *body : bad) {
            const QByteArray bytes = (marker + QString::fromLatin1(body)).toUtf8();
            QCOMPARE(loadBytes(bytes, &names), NamesLoad::BadFormat);
            QCOMPARE(names, QStringList(26, QString()));
        }
        QCOMPARE(loadBytes((marker + QStringLiteral("<Tarvo_Root><Tarvo_Names/></Tarvo_Root>")).toUtf8(), &names),
                 NamesLoad::Loaded);
    }

    void hostileFilesAreRefused()
    {
        QStringList names;
        QByteArray deep = kMarkerComment.toUtf8() + "<Tarvo_Root><Tarvo_Names>";
        deep += QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000);
        deep += "</Tarvo_Names></Tarvo_Root>";
        QCOMPARE(loadBytes(deep, &names), NamesLoad::BadFormat);

        const QByteArray huge = namesFile(entry(u"1"_s, u"x"_s) + QStringLiteral("<!--") + QString(6 << 20, QLatin1Char('a'))
                                          + QStringLiteral("-->"));
        QCOMPARE(loadBytes(huge, &names), NamesLoad::CannotOpen);

        // Shapes that keep an XML parser busy for minutes in a file of a
        // megabyte or two: refused at once.
        QByteArray attributes = kMarkerComment.toUtf8() + "<Tarvo_Root><Tarvo_Names><SYSPAR_NAME Number=\"1\"";
        for (int i = 0; i < 150000; ++i)
            attributes += " a" + QByteArray::number(i) + "=\"1\"";
        QCOMPARE(loadBytes(attributes + "/></Tarvo_Names></Tarvo_Root>", &names), NamesLoad::BadFormat);
        QByteArray defaults = kMarkerComment.toUtf8() + "<!DOCTYPE Tarvo_Root [<!ATTLIST a";
        for (int i = 0; i < 2000; ++i)
            defaults += " d" + QByteArray::number(i) + " CDATA \"v\"";
        defaults += ">]><Tarvo_Root><Tarvo_Names>" + QByteArray("<a/>").repeated(100000);
        QCOMPARE(loadBytes(defaults + "</Tarvo_Names></Tarvo_Root>", &names), NamesLoad::BadFormat);
        QByteArray elements = kMarkerComment.toUtf8() + "<Tarvo_Root><Tarvo_Names>" + QByteArray("<a/>").repeated(900000);
        QCOMPARE(loadBytes(elements + "</Tarvo_Names></Tarvo_Root>", &names), NamesLoad::BadFormat);

        // A FIFO of that name would hold up start-up for ever.
        const QString fifo = dir.filePath(QStringLiteral("names_bulgarian.xml"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
        QCOMPARE(loadParamNamesFile(fifo, utf8(), &names), NamesLoad::CannotOpen);
        QFile::remove(fifo);

        QCOMPARE(loadParamNamesFile(dir.filePath(QStringLiteral("missing.xml")), utf8(), &names),
                 NamesLoad::CannotOpen);
        QCOMPARE(loadParamNamesFile(dir.path(), utf8(), &names), NamesLoad::CannotOpen);
        QCOMPARE(names, QStringList(26, QString()));
    }

    void namesPassThroughTheEncodingInForce()
    {
        QStringList names;
        const QByteArray bytes = namesFile(entry(u"1"_s, u"Вода"_s));
        loadBytes(bytes, &names, QTextCodec::codecForName("windows-1251"));
        QCOMPARE(names.at(0), QStringLiteral("Вода"));
        loadBytes(bytes, &names, QTextCodec::codecForName("windows-1252"));
        QCOMPARE(names.at(0), QStringLiteral("????"));
        QCOMPARE(throughEncoding(QStringLiteral("ab\u0000cd"), utf8()), QStringLiteral("ab"));
    }
};

QTEST_GUILESS_MAIN(TestParamNames)
#include "tst_paramnames.moc"

