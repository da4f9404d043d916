// The compiled Bulgarian catalogue: texts under their contexts, texts that
// must stay as they are, and a real main window that loads it from its
// working directory.

#include "tarvoversion.h"
#include "filefailure.h"
#include "mainwindow.h"
#include "programbytes.h"
#include "testsupport.h"
#include "ui_mainwindow.h"
#include "wtablewidget.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QMenu>
#include <QTabWidget>
#include <QTranslator>
#include <QtTest>

#include <memory>

class TstTranslationBg : public QObject
{
    Q_OBJECT

private:
    static QString qmPath() { return QStringLiteral(TARVO_QM_FILE); }
    static QString workQm() { return QDir::current().filePath(QStringLiteral("Tarvo_bg.qm")); }

    static bool hasCyrillic(const QString &text)
    {
        for (const QChar c : text) {
            if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF)
                return true;
        }
        return false;
    }

    std::unique_ptr<QTranslator> translator;

private slots:
    void initTestCase()
    {
        testsupport::isolate();
        QVERIFY2(QFile::exists(qmPath()), qPrintable(qmPath()));
        translator = std::make_unique<QTranslator>();
        QVERIFY(translator->load(qmPath()));
        QVERIFY(!translator->isEmpty());
    }

    void cleanup() { QFile::remove(workQm()); }

    void bulgarianTexts_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::newRow("File") << "MainWindow" << "&File" << QStringLiteral("&Файл");
        QTest::newRow("Edit") << "MainWindow" << "&Edit" << QStringLiteral("&Редактиране");
        QTest::newRow("Options") << "MainWindow" << "&Options" << QStringLiteral("&Опции");
        QTest::newRow("Help") << "MainWindow" << "&Help" << QStringLiteral("&Помощ");
        QTest::newRow("Find") << "DocumentFind" << "&Find..." << QStringLiteral("&Търсене...");
        QTest::newRow("reason") << "FileFailure" << "Permission denied" << QStringLiteral("Достъпът е отказан");
        QTest::newRow("quit") << "MainWindow" << "Do you want to quit application?"
                              << QStringLiteral("Желаете ли да излезете от програмата?");
        QTest::newRow("close") << "MainWindow" << "Do you want to close current document?"
                               << QStringLiteral("Желаете ли да затворите текущия документ?");
        QTest::newRow("Yes") << "MainWindow" << "Yes" << QStringLiteral("Да");
        QTest::newRow("No") << "MainWindow" << "No" << QStringLiteral("Не");
        QTest::newRow("Encoding") << "SettingsDialog" << "Encoding" << QStringLiteral("Кодировка");
        QTest::newRow("Cancel") << "SettingsDialog" << "Cancel" << QStringLiteral("Отказ");
        QTest::newRow("Copy") << "WTableWidget" << "&Copy" << QStringLiteral("&Копиране");
        QTest::newRow("Paste") << "WTableWidget" << "&Paste" << QStringLiteral("&Поставяне");
    }

    void bulgarianTexts()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, expected);
        QCOMPARE(translator->translate(context.toUtf8().constData(), source.toUtf8().constData()),
                 expected);
    }

    // A text is found only under the context that the code uses.
    void contextsAreKept()
    {
        QVERIFY(translator->translate("SettingsDialog", "File").isEmpty());
        QVERIFY(translator->translate("WTableWidget", "Encoding").isEmpty());
        QVERIFY(translator->translate("MainWindow", "&Copy").isEmpty());
    }

    void textsThatStayAsTheyAre_data()
    {
        QTest::addColumn<QString>("source");
        for (const char *text : {"TARVO VODI", "Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+X"})
            QTest::newRow(text) << QString::fromLatin1(text);
    }

    void textsThatStayAsTheyAre()
    {
        QFETCH(QString, source);
        QCOMPARE(translator->translate("MainWindow", source.toUtf8().constData()), source);
        QCOMPARE(QKeySequence(translator->translate("MainWindow", source.toUtf8().constData())),
                 QKeySequence(source));
    }

    // Placeholders survive, so the path and the row number still show.
    void placeholdersAreKept()
    {
        const QString header = translator->translate("MainWindow", "Header %1");
        QVERIFY(hasCyrillic(header));
        QVERIFY(header.arg(3).contains(QLatin1Char('3')));
        const QString error = translator->translate("MainWindow", "Faild to open for writing file %1");
        QVERIFY(hasCyrillic(error));
        QVERIFY(error.arg(QStringLiteral("/x/y.prg")).contains(QStringLiteral("/x/y.prg")));
        const QString filter = translator->translate("MainWindow", "Data files (*.prg);;All files (*.*)");
        QVERIFY(filter.contains(QStringLiteral("(*.prg);;")));
        QVERIFY(filter.endsWith(QStringLiteral("(*.*)")));
    }

    // Without a catalogue in the working directory the window keeps the
    // English source texts.
    void windowWithoutCatalogueIsEnglish()
    {
        QVERIFY(!QFile::exists(workQm()));
        MainWindow window;
        QCOMPARE(window.form().menuFile->title(), QStringLiteral("&File"));
        QCOMPARE(window.form().tabMain->tabText(0), QStringLiteral("System Params"));
        QCOMPARE(window.form().tableDepts->copyAction()->iconText(), QStringLiteral("Copy"));
        // Nor are the toolkit's own texts translated.
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Look in:"));
    }

    void windowLoadsCatalogueFromWorkingDirectory()
    {
        QVERIFY(QFile::copy(qmPath(), workQm()));
        MainWindow window;
        const Ui_MainWindow &form = window.form();
        QCOMPARE(form.menuFile->title(), QStringLiteral("&Файл"));
        QCOMPARE(form.menuOptions->title(), QStringLiteral("&Опции"));
        QCOMPARE(form.menuHelp->title(), QStringLiteral("&Помощ"));
        QCOMPARE(form.actionNew->text(), QStringLiteral("&Нов"));
        QCOMPARE(form.tabMain->tabText(0), QStringLiteral("Системни параметри"));
        QCOMPARE(form.tabMain->tabText(4), QStringLiteral("Плащания"));
        QCOMPARE(form.tableDepts->horizontalHeaderItem(2)->text(), QStringLiteral("Цена"));
        QCOMPARE(form.tableLines->item(7, 0)->text(), QStringLiteral("Заглавен ред 8"));
        // The program's title is its own and never translated.
        QCOMPARE(window.windowTitle(), QStringLiteral("Без име[*] - TARVO VODI - v " TARVO_VERSION));
        QCOMPARE(form.actionExit->shortcut(), QKeySequence(QStringLiteral("Ctrl+X")));
        // The settings dialog's texts come from the same catalogue, which
        // the window has installed in the application.
        QCOMPARE(QCoreApplication::translate("SettingsDialog", "OK"), QStringLiteral("ОК"));
        // The tables' context menus follow the catalogue the window loaded,
        // once the news of it has gone round.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(form.tableDepts->copyAction()->iconText(), QStringLiteral("Копиране"));
        QCOMPARE(form.tablePayments->pasteAction()->iconText(), QStringLiteral("Поставяне"));
        // The library's reasons with numbers speak the window's language too,
        // and a file too large for a program file is not met with advice
        // about permissions.
        const QString tooLarge = FileFailure::message(
            QStringLiteral("x"), QStringLiteral("it is 5000000 bytes, more than ") + tarvo::programFileLimitText(),
            FileFailure::Operation::Open);
        QVERIFY2(!tooLarge.contains(QLatin1String("bytes")) && tooLarge.contains(QLatin1String("5000000")),
                 qPrintable(tooLarge));
        QVERIFY2(!tooLarge.contains(QCoreApplication::translate(
                     "FileFailure", "Check the file's name and that you may read it, then open it again.")),
                 qPrintable(tooLarge));
        // And the toolkit's dialogs and buttons speak Bulgarian beside them,
        // where the system has the toolkit's catalogue.
        const QString toolkitCatalogue = QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                                         + QStringLiteral("/qtbase_bg.qm");
        if (!QFile::exists(toolkitCatalogue))
            QSKIP("the toolkit's Bulgarian catalogue (qt6-translations-l10n) is not installed");
        QVERIFY(hasCyrillic(QCoreApplication::translate("QFileDialog", "Look in:")));
        QVERIFY(hasCyrillic(QCoreApplication::translate("QPlatformTheme", "Cancel")));
    }
};

QTEST_MAIN(TstTranslationBg)
#include "tst_translation_bg.moc"
