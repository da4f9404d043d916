#include "tarvoversion.h"
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
#include <QHeaderView>
#include <QRegularExpression>
#include <QTextCodec>
#include <QStyle>
#include <QStyleFactory>
#include <QtTest>

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
        QCOMPARE(QApplication::font().family(), QStringLiteral("Verdana"));
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
        QCOMPARE(window.windowTitle(), QStringLiteral("TARVO VODI - v " TARVO_VERSION));
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
            {ui.actionNew, "New", "Create a New Document", "Ctrl+N"},
            {ui.actionOpen, "Open", "Open an Existing Document", "Ctrl+O"},
            {ui.actionSave, "Save", "Save a Document", "Ctrl+S"},
            {ui.actionSaveAs, "Save As", "Save under Different Name", ""},
            {ui.actionExit, "Exit", "Exit Application", "Ctrl+X"},
            {ui.actionSettings, "Settings", "Program Settings", ""},
            {ui.actionAbout, "About", "About", ""},
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
        QCOMPARE(bar.at(0)->text(), QStringLiteral("File"));
        QCOMPARE(bar.at(1)->text(), QStringLiteral("Edit"));
        QCOMPARE(bar.at(2)->text(), QStringLiteral("Options"));
        QCOMPARE(bar.at(3)->text(), QStringLiteral("Help"));
        QCOMPARE(ui.menuFile->actions(),
                 (QList<QAction *>{ui.actionNew, ui.actionOpen, ui.actionSave, ui.actionSaveAs, ui.actionExit}));
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

    void aboutBoxHasTwoLines()
    {
        FakeDialogs dialogs;
        MainWindow window(nullptr, &dialogs);
        window.form().actionAbout->trigger();
        QCOMPARE(dialogs.aboutTitle, QStringLiteral("About TARVO VODI"));
        const QRegularExpression text(QStringLiteral(
            "^Version : v 1\\.12<br>Build at : [A-Z][a-z]{2} [ 123]\\d \\d{4} \\d{2}:\\d{2}:\\d{2}$"));
        QVERIFY2(text.match(dialogs.aboutText).hasMatch(), qPrintable(dialogs.aboutText));
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

