// A Bulgarian catalogue source is complete against the code: lupdate, run
// over its program's sources on a copy of the catalogue, finds no text
// without a finished translation and no entry whose source text has gone.
// Built twice: for the editor (Tarvo_bg.ts over app/ and widgets/) and for
// tarvo-prg (tarvo-prg_bg.ts over cli/).

#include "testsupport.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

struct Message
{
    QString context;
    QString source;
    QString translation;
    QString type;
};

QList<Message> readCatalogue(const QString &path, QString *error)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot open ") + path;
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    Message current;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        const auto name = xml.name();
        if (name == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (name == QLatin1String("message")) {
            current = Message();
            current.context = context;
        } else if (name == QLatin1String("source")) {
            current.source = xml.readElementText();
        } else if (name == QLatin1String("translation")) {
            current.type = xml.attributes().value(QLatin1String("type")).toString();
            current.translation = xml.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
            messages << current;
        }
    }
    if (xml.hasError())
        *error = xml.errorString();
    return messages;
}

QSet<QString> placeholders(const QString &text)
{
    static const QRegularExpression marker(QStringLiteral("%\\d+"));
    QSet<QString> found;
    for (auto it = marker.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured());
    return found;
}

QString describe(const Message &m)
{
    return m.context + QStringLiteral(" / \"") + m.source + QStringLiteral("\"");
}

} // namespace

class TstTranslationComplete : public QObject
{
    Q_OBJECT

private:
    QString updatedCatalogue;

private slots:
    void initTestCase()
    {
        testsupport::isolate();
        updatedCatalogue = QDir::current().filePath(QFileInfo(QStringLiteral(TARVO_TS_FILE)).fileName());
        QVERIFY(QFile::copy(QStringLiteral(TARVO_TS_FILE), updatedCatalogue));
        QFile::setPermissions(updatedCatalogue, QFile::ReadOwner | QFile::WriteOwner);

        QProcess lupdate;
        lupdate.setWorkingDirectory(QStringLiteral(TARVO_SOURCE_DIR));
        lupdate.setProcessChannelMode(QProcess::MergedChannels);
        lupdate.start(QStringLiteral(TARVO_LUPDATE),
                      QStringLiteral(TARVO_TRANSLATED_DIRS).split(QLatin1Char(' '))
                          + QStringList{QStringLiteral("-ts"), updatedCatalogue, QStringLiteral("-locations"),
                                        QStringLiteral("none")});
        QVERIFY2(lupdate.waitForFinished(-1), qPrintable(lupdate.errorString()));
        const QByteArray output = lupdate.readAll();
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 output.constData());
    }

    void sourceCatalogueIsFinished()
    {
        QString error;
        const QList<Message> messages = readCatalogue(QStringLiteral(TARVO_TS_FILE), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(messages.size() > 50);
        for (const Message &m : messages) {
            QVERIFY2(m.type.isEmpty(), qPrintable(describe(m) + QStringLiteral(" is ") + m.type));
            QVERIFY2(!m.translation.isEmpty(), qPrintable(describe(m) + QStringLiteral(" is empty")));
        }
    }

    // After lupdate every text of the code has a finished translation and
    // nothing in the catalogue has lost its source text.
    void everyCodeTextIsTranslated()
    {
        QString error;
        const QList<Message> messages = readCatalogue(updatedCatalogue, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QStringList problems;
        for (const Message &m : messages) {
            if (!m.type.isEmpty())
                problems << describe(m) + QStringLiteral(": ") + m.type;
            else if (m.translation.isEmpty())
                problems << describe(m) + QStringLiteral(": empty");
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        QString sourceError;
        QCOMPARE(messages.size(), readCatalogue(QStringLiteral(TARVO_TS_FILE), &sourceError).size());
    }

    void placeholdersMatch()
    {
        QString error;
        const QList<Message> messages = readCatalogue(QStringLiteral(TARVO_TS_FILE), &error);
        for (const Message &m : messages) {
            QVERIFY2(placeholders(m.source) == placeholders(m.translation), qPrintable(describe(m)));
            QCOMPARE(m.translation.count(QStringLiteral(";;")), m.source.count(QStringLiteral(";;")));
        }
    }

    // Only the program title and the shortcuts are their own translation;
    // any other text left in English is an oversight.
    void onlyTitleAndShortcutsStayEnglish()
    {
        QSet<QString> kept;
        for (const QString &text : QStringLiteral(TARVO_KEPT_ENGLISH).split(QLatin1Char('|'), Qt::SkipEmptyParts))
            kept.insert(text);
        QString error;
        const QList<Message> messages = readCatalogue(QStringLiteral(TARVO_TS_FILE), &error);
        QSet<QString> seenKept;
        for (const Message &m : messages) {
            if (kept.contains(m.source)) {
                QCOMPARE(m.translation, m.source);
                seenKept.insert(m.source);
            } else {
                QVERIFY2(m.translation != m.source, qPrintable(describe(m)));
            }
        }
        QCOMPARE(seenKept, kept);
    }
};

QTEST_GUILESS_MAIN(TstTranslationComplete)
#include "tst_translation_complete.moc"
