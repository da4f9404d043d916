#include "encodings.h"
#include "systemcodepage.h"
#include "encodablecharacters.h"
#include "encodingtrust.h"
#include "linedecoder.h"
#include "documentcells.h"
#include "programreader.h"
#include "programwriter.h"

#include <QTextCodec>
#include <QtTest>

using namespace tarvo;

class TestEncodings : public QObject
{
    Q_OBJECT

private slots:
    void listHasTwentySixNamesInOrder()
    {
        const QStringList names = encodingNames();
        QCOMPARE(names.size(), 26);
        QCOMPARE(names.first(), QStringLiteral("System"));
        QCOMPARE(names.at(2), QStringLiteral("CP1251"));
        QCOMPARE(names.at(9), QStringLiteral("CP1258"));
        QCOMPARE(names.at(10), QStringLiteral("ISO 8859-1"));
        QCOMPARE(names.at(20), QStringLiteral("ISO 8859-11"));
        QCOMPARE(names.at(21), QStringLiteral("ISO 8859-12"));
        QCOMPARE(names.last(), QStringLiteral("ISO 8859-16"));
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(encodingIndexOf(names.at(i)), i);
    }

    void outOfRangeIndexNamesSystem()
    {
        QCOMPARE(encodingName(-1), QStringLiteral("System"));
        QCOMPARE(encodingName(27), QStringLiteral("System"));
        QCOMPARE(encodingName(1000), QStringLiteral("System"));
        QCOMPARE(encodingIndexOf(QStringLiteral("cp1251")), -1); // spelled exactly or not at all
    }

    void everyPublishedCodePageFindsItsCodec()
    {
        for (int i = 1; i < kEncodingCount; ++i) {
            if (i == 21)
                continue;
            QVERIFY2(encodingHasOwnCodec(i), qPrintable(encodingName(i)));
        }
        QVERIFY(!encodingHasOwnCodec(0));
        QVERIFY(!encodingHasOwnCodec(21));
        QCOMPARE(codecForEncoding(2)->mibEnum(), QTextCodec::codecForName("windows-1251")->mibEnum());
    }

    // ISO 8859-11 is the Unicode table of that name, not Windows code page
    // 874: 0x00 to 0xA0 are the code points of the same number, 0xA1 to
    // 0xDA and 0xDF to 0xFB the Thai block, the rest no characters.
    void iso885911IsItsOwnCodePage()
    {
        QTextCodec *codec = codecForEncoding(encodingIndexOf(QStringLiteral("ISO 8859-11")));
        const LineDecoder decoder(codec);
        for (int b = 0; b < 256; ++b) {
            const QByteArray byte(1, char(b));
            const char16_t expected = b <= 0xA0 ? char16_t(b)
                                      : b <= 0xDA ? char16_t(0x0E01 + b - 0xA1)
                                      : b >= 0xDF && b <= 0xFB ? char16_t(0x0E3F + b - 0xDF)
                                      : char16_t(0xFFFD);
            QCOMPARE(codec->toUnicode(byte), QString(QChar(expected)));
            QCOMPARE(decoder.isLossless(byte), expected != 0xFFFD);
            if (expected != 0xFFFD)
                QCOMPARE(codec->fromUnicode(QString(QChar(expected))), byte);
        }
        QVERIFY(!codec->canEncode(QChar(0x20AC)));
        // Names of code page 874 are no names of it.
        QCOMPARE(encodingIndexForSpelling(QStringLiteral("windows-874")), -1);
        QCOMPARE(encodingIndexForSpelling(QStringLiteral("TIS-620")), -1);
        QCOMPARE(encodingIndexForSpelling(QStringLiteral("iso-8859-11")), 20);
    }

    void codecWithoutNameFallsBackToPlatformCodePage()
    {
        QCOMPARE(codecForEncoding(0), systemCodec());
        QCOMPARE(codecForEncoding(21), systemCodec());
        QCOMPARE(codecForEncoding(-4), systemCodec());
        QCOMPARE(codecForEncoding(kUtf8Encoding)->mibEnum(), kUtf8Mib);
    }

    // "System" is a single-byte code page the device reads: where the
    // platform's own is UTF-8, the Windows code page of the user's language.
    void systemIsTheCodePageOfTheUserLanguage_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("codePage");
        QTest::newRow("Bulgarian") << "bg_BG" << QByteArray("CP1251");
        QTest::newRow("Ukrainian") << "uk_UA" << QByteArray("CP1251");
        QTest::newRow("Polish") << "pl_PL" << QByteArray("CP1250");
        QTest::newRow("Greek") << "el_GR" << QByteArray("CP1253");
        QTest::newRow("Turkish") << "tr_TR" << QByteArray("CP1254");
        QTest::newRow("Hebrew") << "he_IL" << QByteArray("CP1255");
        QTest::newRow("Arabic") << "ar_EG" << QByteArray("CP1256");
        QTest::newRow("Latvian") << "lv_LV" << QByteArray("CP1257");
        QTest::newRow("Vietnamese") << "vi_VN" << QByteArray("CP1258");
        QTest::newRow("English") << "en_US" << QByteArray("CP1252");
        QTest::newRow("C") << "C" << QByteArray("CP1251");
    }

    void systemIsTheCodePageOfTheUserLanguage()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, codePage);
        const QLocale::Language language = locale == QLatin1String("C") ? QLocale::C : QLocale(locale).language();
        QCOMPARE(windowsCodePageOf(language), codePage);
        QVERIFY(isMultiByte(QTextCodec::codecForName("UTF-8")));
        QVERIFY(!isMultiByte(QTextCodec::codecForName("KOI8-R")));
        // The tests run in C.UTF-8.
        QCOMPARE(systemCodec()->mibEnum(), QTextCodec::codecForName("windows-1251")->mibEnum());
    }

    // A document holding every character a code page can hold comes back
    // unchanged through the writer and the reader, in every code page.
    void roundTripInEveryCodePage_data()
    {
        QTest::addColumn<int>("index");
        for (int i = 0; i < kEncodingCount; ++i)
            QTest::newRow(qPrintable(encodingName(i))) << i;
    }
    void roundTripInEveryCodePage()
    {
        QFETCH(int, index);
        QTextCodec *codec = codecForEncoding(index);
        QString letters;
        for (int b = 0x21; b < 0x100; ++b) {
            const QByteArray byte(1, char(b));
            const QString c = codec->toUnicode(byte);
            if (c.size() == 1 && c.at(0) != QChar::ReplacementCharacter && c.at(0).isPrint()
                && codec->fromUnicode(c) == byte)
                letters += c;
        }
        if (codec->mibEnum() == 106) // UTF-8: take Cyrillic and accented Latin
            letters += QStringLiteral("Вода Чай Ünïcødé ©");
        QVERIFY(!letters.isEmpty());

        DocumentData document;
        document.setCellText(DocTable::Depts, 0, col::DeptName, letters);
        document.setCellText(DocTable::Lines, 7, col::LineText, letters);
        QList<UnencodableCell> unencodable;
        const QByteArray bytes = programFileBytes(document, codec, QDateTime::currentDateTime(), &unencodable);
        QVERIFY(unencodable.isEmpty());
        DocumentData read;
        QVERIFY(readProgram(bytes, codec, read).lossless);
        QCOMPARE(read.cellText(DocTable::Depts, 0, col::DeptName), letters);
        QCOMPARE(read.cellText(DocTable::Lines, 7, col::LineText), letters);
    }

    // The writer asks its table, kept once per code page, which characters
    // to report as lost: it must answer as the codec would for each one,
    // when it first meets it and from then on.
    void writerTableAgreesWithTheCodec_data() { roundTripInEveryCodePage_data(); }
    void writerTableAgreesWithTheCodec()
    {
        QFETCH(int, index);
        QTextCodec *codec = codecForEncoding(index);
        const EncodableCharacters &table = EncodableCharacters::of(codec);
        QCOMPARE(&EncodableCharacters::of(codec), &table);
        int encodable = 0;
        for (int pass = 0; pass < 2; ++pass) {
            for (char32_t unit = 0; unit < 0x10000; ++unit) {
                const QChar c{char16_t(unit)};
                // What the codec writes for a lone surrogate or, in a Windows
                // code page, a C1 control (an undefined byte) is no character.
                const bool undefined = c.isSurrogate()
                    || (c.unicode() >= 0x80 && c.unicode() <= 0x9f && codec->mibEnum() >= 2250 && codec->mibEnum() <= 2258);
                const bool expected = codec->canEncode(QStringView(&c, 1)) && !undefined;
                if (table.canEncode(QStringView(&c, 1)) != expected)
                    QFAIL(qPrintable(QStringLiteral("U+%1, pass %2").arg(uint(unit), 4, 16, QLatin1Char('0')).arg(pass)));
                encodable += expected;
            }
        }
        QVERIFY(encodable >= 2 * 128);
        for (const QString &pair : {QStringLiteral("\U0001F600"), QStringLiteral("\U00010000")})
            QCOMPARE(table.canEncode(pair), codec->canEncode(pair));
    }

    // Which encodings a file's bytes read cleanly in, the likely one first:
    // a Cyrillic program in one code page must not pass for another.
    void cleanEncodingsPutTheLikelyOneFirst_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QStringList>("notClean");
        const QString shop = QStringLiteral("\";2024-01-15 10:30:00\"\r\n\";Departments\"\r\nD\t1\tВода минерална\tА\t1.20\t2\r\n"
                                            "D\t2\tСок портокал\tБ\t2.50\t2\r\nH\t1\tМАГАЗИН ЦЕНТЪР\r\nH\t2\tБлагодарим Ви!\r\n");
        QTest::newRow("CP1251") << QTextCodec::codecForName("windows-1251")->fromUnicode(shop) << "CP1251"
                                << QStringList{QStringLiteral("UTF-8")};
        QTest::newRow("ISO 8859-5") << QTextCodec::codecForName("ISO-8859-5")->fromUnicode(shop) << "ISO 8859-5"
                                    << QStringList{QStringLiteral("UTF-8")};
        // Capitals alone, as on a receipt's header, and a single name.
        const QString shout = QStringLiteral("D\t1\tВода\tА\t1.20\t2\r\nH\t1\tМАГАЗИН\r\n");
        QTest::newRow("CP1251 short") << QTextCodec::codecForName("windows-1251")->fromUnicode(shout) << "CP1251"
                                      << QStringList{QStringLiteral("UTF-8")};
        QTest::newRow("ISO 8859-5 short") << QTextCodec::codecForName("ISO-8859-5")->fromUnicode(shout)
                                          << "ISO 8859-5" << QStringList{QStringLiteral("UTF-8")};
        // Files written where "System" was UTF-8 are offered in UTF-8.
        QTest::newRow("UTF-8") << shop.toUtf8() << "UTF-8" << QStringList();
        QTest::newRow("plain ASCII") << QByteArray("S\t1\t5\r\n") << QString() << QStringList();
        QTest::newRow("undefined byte of CP1251") << QByteArray("D\t1\t\x98\xc2\r\n") << QString()
                                                  << QStringList{QStringLiteral("CP1251"), QStringLiteral("System")};
        // A UTF-8 byte order mark says UTF-8: no code page is offered.
        QTest::newRow("UTF-8 with a byte order mark") << QByteArray("\xef\xbb\xbf" + shop.toUtf8()) << "UTF-8"
                                                      << QStringList();
    }

    void cleanEncodingsPutTheLikelyOneFirst()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, first);
        QFETCH(QStringList, notClean);
        QStringList names;
        for (int index : tarvo::cleanEncodings(bytes))
            names << tarvo::encodingName(index);
        if (!first.isEmpty())
            QCOMPARE(names.value(0), first);
        if (bytes.startsWith("\xef\xbb\xbf")) {
            QCOMPARE(names, QStringList{first});
            QCOMPARE(tarvo::likelyEncoding(bytes), tarvo::kUtf8Encoding);
        }
        for (const QString &name : notClean) {
            QVERIFY2(!names.contains(name), qPrintable(names.join(u',')));
            QVERIFY(!tarvo::readsCleanly(bytes, tarvo::codecForEncoding(tarvo::encodingIndexOf(name))));
        }
        QVERIFY(!names.contains(QStringLiteral("ISO 8859-12")));
    }
};

QTEST_GUILESS_MAIN(TestEncodings)
#include "tst_encodings.moc"
