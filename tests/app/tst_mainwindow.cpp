#include "tarvoversion.h"
#include "tarvobuildstamp.h"
#include "appidentity.h"
#include "doubledelegate.h"
#include "encodingchoice.h"
#include "encodings.h"
#include "fakedialogs.h"
#include "intdelegate.h"
#include "mainwindow.h"
#include "testsupport.h"
#include "ui_mainwindow.h"
#include "wtablewidget.h"

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QDateTime>
#include <QTimeZone>
#include <QStandardPaths>
#include <QStatusBar>
#include <QLabel>
#include <QDir>
#include "commandline.h"
#include "documentfind.h"
#include <QHeaderView>
#include <QRegularExpression>
#include <QTextCodec>
#include <QStyle>
#include <QStyleFactory>
#include <QSet>
#include <QtTest>

#include <cmath>

using namespace Qt::StringLiterals;

using tarvo::DocTable;

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        testsupport::isolate();
        identity::registerResources();
        identity::setUpApplication();
    }

    void identityAndSettingsNames()
    {
        QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Quorvel Labs"));
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tarvo"));
        QCOMPARE(QGuiApplication::desktopFileName(), QStringLiteral("org.quorvellabs.Tarvo"));
        // The style, when built in, is registered once and installed.
        const int styles = int(QStyleFactory::keys().count(QStringLiteral("WindowsModernStyle")));
        QVERIFY2(styles <= 1, qPrintable(QStyleFactory::keys().join(QLatin1Char(','))));
        if (styles == 1)
            QCOMPARE(QApplication::style()->metaObject()->className(), "WindowsModernStyle");
        // Verdana where the system has it, else the family it substitutes,
        // resolved once.
        const QString family = QApplication::font().family();
        if (QFontDatabase::hasFamily(QStringLiteral("Verdana")))
            QCOMPARE(family, QStringLiteral("Verdana"));
        else
            QCOMPARE(family, QFontInfo(QFont(QStringLiteral("Verdana"), 8)).family());
        QCOMPARE(QApplication::font().pointSize(), 8);
        for (const char *image : {"filenew", "fileopen", "filesave", "filesaveas", "exit", "help", "configure",
                                  "info", "newrow", "delrow"})
            QCOMPARE(QImage(QStringLiteral(":/images/%1.png").arg(QLatin1String(image))).size(), QSize(32, 32));
        QCOMPARE(QImage(QStringLiteral(":/images/main.png")).size(), QSize(48, 48));
        QCOMPARE(QImage(QStringLiteral(":/images/woodbutton.png")).size(), QSize(96, 96));
        QCOMPARE(QImage(QStringLiteral(":/images/taxarrow.png")).size(), QSize(16, 16));
    }

    void windowFormAndActions()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        const Ui_MainWindow &ui = window.form();
        QCOMPARE(window.windowTitle(), QStringLiteral("Untitled[*] - TARVO VODI - v " TARVO_VERSION));
        QCOMPARE(window.objectName(), QStringLiteral("MainWindow"));
        QCOMPARE(window.size(), QSize(740, 540));
        QVERIFY(!window.windowIcon().isNull());

        QCOMPARE(ui.tabMain->count(), 5);
        const QStringList tabs{u"System Params"_s, u"Departments"_s, u"Header Lines"_s, u"Comment Lines"_s, u"Payments"_s};
        for (int i = 0; i < 5; ++i)
            QCOMPARE(ui.tabMain->tabText(i), tabs.at(i));
        QCOMPARE(ui.tabMain->currentIndex(), 0);

        struct Expected
        {
            QAction *action;
            const char *text;
            const char *tip;
            const char *shortcut;
        };
        const Expected actions[] = {
            {ui.actionNew, "&New", "Create a New Document", "Ctrl+N"},
            {ui.actionOpen, "&Open", "Open an Existing Document", "Ctrl+O"},
            {ui.actionSave, "&Save", "Save a Document", "Ctrl+S"},
            {ui.actionSaveAs, "Save &As", "Save under Different Name", ""},
            {ui.actionExit, "E&xit", "Exit Application", "Ctrl+X"},
            {ui.actionSettings, "&Settings", "Program Settings", ""},
            {ui.actionAbout, "&About", "About", ""},
        };
        for (const Expected &e : actions) {
            QCOMPARE(e.action->text(), QString::fromLatin1(e.text));
            QCOMPARE(e.action->toolTip(), QString::fromLatin1(e.tip));
            QCOMPARE(e.action->shortcut(), QKeySequence(QString::fromLatin1(e.shortcut)));
            QVERIFY(!e.action->icon().isNull());
            QVERIFY(e.action->isEnabled() && !e.action->isCheckable());
        }

        const QList<QAction *> bar = ui.menubar->actions();
        QCOMPARE(bar.size(), 4);
        QCOMPARE(bar.at(0)->text(), QStringLiteral("&File"));
        QCOMPARE(bar.at(1)->text(), QStringLiteral("&Edit"));
        QCOMPARE(bar.at(2)->text(), QStringLiteral("&Options"));
        QCOMPARE(bar.at(3)->text(), QStringLiteral("&Help"));
        const QList<QAction *> file = ui.menuFile->actions();
        QCOMPARE(file.size(), 7);
        QCOMPARE(file.mid(0, 4), (QList<QAction *>{ui.actionNew, ui.actionOpen, ui.actionSave, ui.actionSaveAs}));
        QCOMPARE(file.at(4)->text(), QStringLiteral("&Recent Files"));
        QVERIFY(file.at(5)->isSeparator());
        QCOMPARE(file.at(6), ui.actionExit);
        QCOMPARE(ui.menuOptions->actions().size(), 2);
        QCOMPARE(ui.menuOptions->actions().at(0), ui.actionSettings);
        QVERIFY(ui.menuOptions->actions().at(1)->isSeparator());
        QCOMPARE(ui.menuHelp->actions(), QList<QAction *>{ui.actionAbout});
        QCOMPARE(ui.menuEdit->actions().mid(0, 2), (QList<QAction *>{ui.actionUndo, ui.actionRedo}));
        QCOMPARE(ui.actionUndo->shortcuts(), QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Z"))});
        QCOMPARE(ui.actionRedo->shortcuts(),
                 (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+Y"))}));
        for (QAction *step : {ui.actionUndo, ui.actionRedo})
            QVERIFY(!step->icon().isNull() && !step->isEnabled()); // nothing to undo or redo yet
        // Every entry of every menu has its Alt letter, each once a menu.
        for (QMenu *menu : {ui.menuFile, ui.menuEdit, ui.menuOptions, ui.menuHelp}) {
            QSet<QChar> letters;
            for (QAction *entry : menu->actions()) {
                if (entry->isSeparator())
                    continue;
                const qsizetype amp = entry->text().indexOf(QLatin1Char('&'));
                QVERIFY2(amp >= 0 && amp + 1 < entry->text().size(), qPrintable(entry->text()));
                const QChar letter = entry->text().at(amp + 1).toLower();
                QVERIFY2(!letters.contains(letter), qPrintable(entry->text()));
                letters << letter;
            }
        }
        const QList<QAction *> tools = ui.toolBar->actions();
        QCOMPARE(tools.size(), 6);
        QCOMPARE(tools.mid(0, 3), (QList<QAction *>{ui.actionNew, ui.actionOpen, ui.actionSave}));
        QVERIFY(tools.at(3)->isSeparator());
        QCOMPARE(tools.mid(4), (QList<QAction *>{ui.actionUndo, ui.actionRedo}));
        QCOMPARE(ui.toolBar->iconSize(), QSize(32, 32));
        QVERIFY(!ui.toolBar->isMovable());
        QCOMPARE(ui.toolBar->windowTitle(), QStringLiteral("toolBar"));
        QCOMPARE(window.toolBarArea(ui.toolBar), Qt::TopToolBarArea);
    }

    void tableShapesAndHeaders()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        struct Shape
        {
            DocTable table;
            int rows;
            QStringList headers;
            QList<int> widths;
        };
        const Shape shapes[] = {
            {DocTable::Params, 26, {u"Num"_s, u"Name"_s, u"Value"_s}, {50, 350, 300}},
            {DocTable::Depts, 50, {u"Num"_s, u"Name"_s, u"Price"_s, u"Tax"_s, u"Digits"_s}, {50, 180, 100, 120, 100}},
            {DocTable::Lines, 8, {u"Num"_s, u"Text"_s}, {150, 300}},
            {DocTable::Comments, 1, {u"Num"_s, u"Text"_s}, {50, 300}},
            {DocTable::Payments, 4, {u"Num"_s, u"Name"_s, u"Value"_s, u"Index"_s}, {50, 150, 150, 80}},
        };
        for (const Shape &shape : shapes) {
            WTableWidget *table = window.documentTable(shape.table);
            QCOMPARE(table->rowCount(), shape.rows);
            QCOMPARE(table->columnCount(), shape.headers.size());
            QVERIFY(table->verticalHeader()->isHidden());
            QCOMPARE(table->selectionMode(), QAbstractItemView::ContiguousSelection);
            QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectItems);
            QCOMPARE(table->editTriggers(),
                     QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked
                         | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
            QVERIFY(!table->isSortingEnabled());
            for (int c = 0; c < shape.headers.size(); ++c) {
                QCOMPARE(table->horizontalHeaderItem(c)->text(), shape.headers.at(c));
                QCOMPARE(table->columnWidth(c), shape.widths.at(c));
            }
            for (int r = 0; r < shape.rows; ++r) {
                QCOMPARE(table->rowHeight(r), 22);
                for (int c = 0; c < table->columnCount(); ++c)
                    QVERIFY(table->item(r, c));
            }
        }
        QCOMPARE(window.documentTable(DocTable::Depts)->item(49, 0)->text(), QStringLiteral("50"));
        QCOMPARE(window.documentTable(DocTable::Params)->item(0, 0)->text(), QStringLiteral("1"));
        QCOMPARE(window.documentTable(DocTable::Lines)->item(2, 0)->text(), QStringLiteral("Header 3"));
        QCOMPARE(window.documentTable(DocTable::Comments)->item(0, 0)->text(), QStringLiteral("1"));
        QCOMPARE(window.documentTable(DocTable::Payments)->item(3, 0)->text(), QStringLiteral("4"));
    }

    void readOnlyCellsFlagsAndColours()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        const Qt::ItemFlags readOnly = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
        for (int t = 0; t < tarvo::kTableCount; ++t) {
            const DocTable kind = tarvo::tableAt(t);
            WTableWidget *table = window.documentTable(kind);
            for (int r = 0; r < table->rowCount(); ++r) {
                for (int c = 0; c < table->columnCount(); ++c) {
                    QTableWidgetItem *item = table->item(r, c);
                    if (tarvo::isDocumentCell(kind, r, c)) {
                        QVERIFY(item->flags() & Qt::ItemIsEditable);
                        QVERIFY(!item->data(Qt::BackgroundRole).isValid());
                        QCOMPARE(item->text(), QString());
                        continue;
                    }
                    QCOMPARE(item->flags(), readOnly);
                    const QColor expected = c == 0 ? QColor(220, 233, 252) : QColor(240, 253, 255);
                    QCOMPARE(item->background().color(), expected);
                    QCOMPARE(item->background().style(), Qt::SolidPattern);
                }
            }
        }
    }

    void numericColumnsGetTheirEditors()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        WTableWidget *depts = window.documentTable(DocTable::Depts);
        QVERIFY(qobject_cast<DoubleDelegate *>(depts->itemDelegateForColumn(2)));
        QVERIFY(qobject_cast<IntDelegate *>(depts->itemDelegateForColumn(4)));
        QVERIFY(!depts->itemDelegateForColumn(1));
        QVERIFY(!depts->itemDelegateForColumn(3));
        QVERIFY(qobject_cast<DoubleDelegate *>(window.documentTable(DocTable::Payments)->itemDelegateForColumn(2)));
        QVERIFY(!window.documentTable(DocTable::Payments)->itemDelegateForColumn(3));
        for (DocTable table : {DocTable::Params, DocTable::Lines, DocTable::Comments}) {
            // The label column's editor has the bounds 1..100.
            auto *labels = qobject_cast<IntDelegate *>(window.documentTable(table)->itemDelegateForColumn(0));
            QVERIFY(labels);
            QVERIFY(labels->acceptsText(QStringLiteral("100")));
            QVERIFY(!labels->acceptsText(QStringLiteral("101")));
        }
        QVERIFY(!window.documentTable(DocTable::Depts)->itemDelegateForColumn(0));
        auto *digits = qobject_cast<IntDelegate *>(depts->itemDelegateForColumn(4));
        QVERIFY(digits->acceptsText(QStringLiteral("-5")));
        auto *price = qobject_cast<DoubleDelegate *>(depts->itemDelegateForColumn(2));
        QVERIFY(price->acceptsText(QStringLiteral("1e3")));
        QVERIFY(!price->acceptsText(QStringLiteral("abc")));
        QVERIFY(!window.documentTable(DocTable::Params)->itemDelegateForColumn(2));
    }

    void buildingMarksNothingChanged()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        QVERIFY(!window.isDocChanged());
        QVERIFY(window.currentFileName().isEmpty());
        QVERIFY(dialogs.messages.isEmpty());
        window.documentTable(DocTable::Lines)->item(0, 1)->setText(QString());
        QVERIFY(!window.isDocChanged()); // the same text again is no change
        window.documentTable(DocTable::Lines)->item(0, 1)->setText(QStringLiteral("x"));
        QVERIFY(window.isDocChanged());
    }

    void parameterNamesComeFromTheWorkingDirectory()
    {
        {
            FakeDialogs dialogs;
            MainWindow window(nullptr, &dialogs);
            for (int r = 0; r < 26; ++r)
                QCOMPARE(window.documentTable(DocTable::Params)->item(r, 1)->text(), QString());
            QVERIFY(dialogs.messages.isEmpty());
            QVERIFY(!window.loadParamNames(true));
            QCOMPARE(dialogs.messages.size(), 1);
            QCOMPARE(dialogs.messages.at(0).text, QStringLiteral("Failed to load file: names_bulgarian.xml"));
        }
        QVERIFY(QFile::copy(QStringLiteral(TARVO_SOURCE_DIR "/data/names_bulgarian.xml"),
                            QStringLiteral("names_bulgarian.xml")));
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        WTableWidget *params = window.documentTable(DocTable::Params);
        for (int r = 0; r < 26; ++r)
            QVERIFY(!params->item(r, 1)->text().isEmpty());
        QCOMPARE(window.paramName(1), params->item(0, 1)->text());
        QVERIFY(!window.isDocChanged());
        QFile::remove(QStringLiteral("names_bulgarian.xml"));
    }

    // The names file and the translation are found from any working
    // directory: there first, then in the installed data folder beside the
    // program, then in the standard data folders.
    void dataFilesFoundFromAnyFolder_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("found");
        const QString names = u"names_bulgarian.xml"_s;
        const QString translation = u"Tarvo_bg.qm"_s;
        const QString installed = QCoreApplication::applicationDirPath() + u"/../share/tarvo"_s;
        const QString standard = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QTest::newRow("names, working directory") << names << u"."_s << true;
        QTest::newRow("names, installed data folder") << names << installed << true;
        QTest::newRow("names, standard data folder") << names << standard << true;
        QTest::newRow("names, nowhere") << names << QString() << false;
        QTest::newRow("translation, installed data folder") << translation << installed << true;
        QTest::newRow("translation, standard data folder") << translation << standard << true;
    }

    void dataFilesFoundFromAnyFolder()
    {
        QFETCH(QString, file);
        QFETCH(QString, folder);
        QFETCH(bool, found);
        const QString source = file.endsWith(u".qm"_s) ? QStringLiteral(TARVO_BINARY_DIR "/data/Tarvo_bg.qm")
                                                        : QStringLiteral(TARVO_SOURCE_DIR "/data/names_bulgarian.xml");
        const QString placed = folder.isEmpty() ? QString() : QDir(folder).filePath(file);
        if (!placed.isEmpty()) {
            QVERIFY(QDir().mkpath(folder));
            QVERIFY(QFile::copy(source, placed));
        }
        auto cleanUp = qScopeGuard([&] {
            if (!placed.isEmpty())
                QFile::remove(placed);
        });
        FakeDialogs dialogs;
        {
            // The window's translator goes with it: the next window starts in English.
            MainWindow window(nullptr, &dialogs);
            auto *notice = window.statusBar()->findChild<QLabel *>(u"startupNotice"_s);
            if (file.endsWith(u".qm"_s)) {
                QCOMPARE(window.form().menuFile->title(), found ? u"&Файл"_s : u"&File"_s);
            } else {
                QCOMPARE(window.paramName(1).isEmpty(), !found);
                // Said once, in the status bar, only when no folder holds it.
                QCOMPARE(notice != nullptr, !found);
            }
            QVERIFY(dialogs.messages.isEmpty());
        }
    }

    // tarvo [FILE], --help and --version.
    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("exitNow");
        QTest::addColumn<int>("exitCode");
        const QString here = QDir::currentPath();
        QTest::newRow("nothing") << QStringList{u"tarvo"_s} << QString() << false << 0;
        QTest::newRow("a file") << QStringList{u"tarvo"_s, u"shop.prg"_s} << here + u"/shop.prg"_s << false << 0;
        QTest::newRow("an absolute file") << QStringList{u"tarvo"_s, u"/tmp/a b.prg"_s} << u"/tmp/a b.prg"_s << false << 0;
        QTest::newRow("the toolkit's options") << QStringList{u"tarvo"_s, u"-platform"_s, u"offscreen"_s, u"-reverse"_s, u"x.prg"_s}
                                               << here + u"/x.prg"_s << false << 0;
        QTest::newRow("a file named like an option") << QStringList{u"tarvo"_s, u"--"_s, u"-x.prg"_s}
                                                     << here + u"/-x.prg"_s << false << 0;
        QTest::newRow("--help") << QStringList{u"tarvo"_s, u"--help"_s} << QString() << true << 0;
        QTest::newRow("--version") << QStringList{u"tarvo"_s, u"--version"_s} << QString() << true << 0;
        QTest::newRow("two files") << QStringList{u"tarvo"_s, u"a.prg"_s, u"b.prg"_s} << QString() << true << 2;
        QTest::newRow("an unknown option") << QStringList{u"tarvo"_s, u"--frobnicate"_s} << QString() << true << 2;
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(bool, exitNow);
        QFETCH(int, exitCode);
        const commandline::Request request = commandline::parse(arguments);
        QCOMPARE(request.file, file);
        QCOMPARE(request.exitNow, exitNow);
        QCOMPARE(request.exitCode, exitCode);
        if (file.isEmpty() || QFileInfo(file).path() != QDir::currentPath())
            return;
        // The window opens the file it is given, as Open does.
        QFile prg(file);
        QVERIFY(prg.open(QIODevice::WriteOnly));
        prg.write("D\t3\tWater\tA\t1.20\t2\r\n");
        prg.close();
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.openFile(request.file);
        QFile::remove(file);
        QCOMPARE(window.currentFileName(), file);
        QCOMPARE(window.documentTable(DocTable::Depts)->item(2, 1)->text(), u"Water"_s);
        QVERIFY(dialogs.messages.isEmpty());
    }

    // Edit > Find and Find next: a cell by name, value or number, from the
    // current cell on, round all the tabs.
    void findMovesToTheCell_data()
    {
        QTest::addColumn<int>("startTab");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("nexts"); // F3 presses after Find
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::newRow("department by name") << 0 << u"water"_s << 0 << 1 << 2 << 1;
        QTest::newRow("next department by name") << 0 << u"Water"_s << 1 << 1 << 39 << 1;
        QTest::newRow("round to the first") << 0 << u"Water"_s << 2 << 1 << 2 << 1;
        QTest::newRow("department by number") << 1 << u"17"_s << 0 << 1 << 16 << 0;
        QTest::newRow("parameter by number") << 0 << u"17"_s << 0 << 0 << 16 << 0;
        QTest::newRow("parameter by value") << 3 << u"42"_s << 0 << 0 << 4 << 2;
        QTest::newRow("header line by number") << 2 << u"3"_s << 0 << 2 << 2 << 0;
        QTest::newRow("header line by text") << 0 << u"shop"_s << 0 << 2 << 0 << 1;
        QTest::newRow("payment by value") << 0 << u"2.50"_s << 0 << 4 << 1 << 2;
        QTest::newRow("not found") << 3 << u"zzz"_s << 0 << 3 << -1 << -1;
    }

    void findMovesToTheCell()
    {
        QFETCH(int, startTab);
        QFETCH(QString, text);
        QFETCH(int, nexts);
        QFETCH(int, tab);
        QFETCH(int, row);
        QFETCH(int, column);
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.documentTable(DocTable::Depts)->item(2, 1)->setText(u"Water"_s);
        window.documentTable(DocTable::Depts)->item(39, 1)->setText(u"Sparkling water"_s);
        window.documentTable(DocTable::Params)->item(4, 2)->setText(u"42"_s);
        window.documentTable(DocTable::Lines)->item(0, 1)->setText(u"SHOP 7"_s);
        window.documentTable(DocTable::Payments)->item(1, 2)->setText(u"2.50"_s);
        window.form().tabMain->setCurrentIndex(startTab);
        dialogs.texts = {text};
        auto *find = window.findChild<QAction *>(u"actionFind"_s);
        auto *next = window.findChild<QAction *>(u"actionFindNext"_s);
        QVERIFY(find && next);
        QCOMPARE(find->shortcut(), QKeySequence(QKeySequence::Find));
        QCOMPARE(next->shortcut(), QKeySequence(Qt::Key_F3));
        find->trigger();
        for (int i = 0; i < nexts; ++i)
            next->trigger();
        QCOMPARE(window.form().tabMain->currentIndex(), tab);
        const WTableWidget *table = window.documentTable(tarvo::tableAt(tab));
        QCOMPARE(table->currentRow(), row);
        QCOMPARE(table->currentColumn(), column);
        if (row < 0)
            QCOMPARE(window.statusBar()->currentMessage(), u"Not found: zzz"_s);
    }

    // The label cells read in a dark palette: their text and background are
    // set together, far enough apart.
    void labelCellsReadInADarkPalette_data()
    {
        QTest::addColumn<int>("table");
        for (int t = 0; t < tarvo::kTableCount; ++t)
            QTest::newRow(qPrintable(QString::number(t))) << t;
    }

    void labelCellsReadInADarkPalette()
    {
        QFETCH(int, table);
        const QPalette previous = QApplication::palette();
        QPalette dark = previous;
        dark.setColor(QPalette::Base, QColor(0x2b, 0x2b, 0x2b));
        dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
        dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
        dark.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
        dark.setColor(QPalette::Highlight, QColor(0x3d, 0xae, 0xe9));
        QApplication::setPalette(dark);
        auto restore = qScopeGuard([&] { QApplication::setPalette(previous); });
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        const DocTable kind = tarvo::tableAt(table);
        WTableWidget *view = window.documentTable(kind);
        const auto luminance = [](const QColor &c) {
            const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
        };
        for (int r = 0; r < view->rowCount(); ++r) {
            for (int c = 0; c < view->columnCount(); ++c) {
                if (tarvo::isDocumentCell(kind, r, c))
                    continue;
                const QTableWidgetItem *item = view->item(r, c);
                const QVariant fore = item->data(Qt::ForegroundRole);
                const QColor text = fore.isValid() ? fore.value<QBrush>().color() : view->palette().color(QPalette::Text);
                const QColor back = item->background().color();
                const double l1 = luminance(text), l2 = luminance(back);
                const double contrast = (qMax(l1, l2) + 0.05) / (qMin(l1, l2) + 0.05);
                QVERIFY2(contrast >= 4.5, qPrintable(QStringLiteral("row %1 column %2: %3").arg(r).arg(c).arg(contrast)));
            }
        }
    }

    void aboutBoxHasTwoLines()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.form().actionAbout->trigger();
        QCOMPARE(dialogs.aboutTitle, QStringLiteral("About TARVO VODI"));
        // The build's own time stamp, not the compiler's, in the interface's language.
        const QDateTime built = QDateTime::fromSecsSinceEpoch(TARVO_BUILD_EPOCH, QTimeZone::utc());
        QCOMPARE(dialogs.aboutText, QStringLiteral("Version : v 1.12<br>Build at : ")
                                        + QLocale(QLocale::English, QLocale::UnitedKingdom)
                                              .toString(built.date(), QStringLiteral("d MMMM yyyy"))
                                        + built.toString(QStringLiteral(" HH:mm:ss")) + QStringLiteral(" UTC"));
    }

    void settingsReappliesTheEncodingEvenWhenCancelled()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        bool ran = false;
        dialogs.dialogHandler = [&](QDialog &dialog) {
            ran = dialog.objectName() == QLatin1String("SettingsDialog");
            return int(QDialog::Rejected);
        };
        editor::encodingIndex = 2; // in memory only, not yet in effect
        window.form().actionSettings->trigger();
        QVERIFY(ran);
        QCOMPARE(editor::currentCodec()->toUnicode("\xC0"), QString(QChar(0x0410)));
        editor::encodingIndex = 0;
        MainWindow::applyEncoding();
    }

    void ctrlXAsksTheQuitQuestion_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Ctrl+X, Exit") << int(Qt::Key_X);
        QTest::newRow("Ctrl+Q, the desktop's quit") << int(Qt::Key_Q);
    }

    void ctrlXAsksTheQuitQuestion()
    {
        QFETCH(int, key);
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
        QTest::keyClick(&window, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(dialogs.questions.size(), 1);
        QCOMPARE(dialogs.questions.at(0).text, QStringLiteral("Do you want to quit application?"));
        QVERIFY(window.isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

