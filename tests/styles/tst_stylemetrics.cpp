// Pixel metrics, contents sizes, sub-element rectangles and layout spacing.

#include "testsupport.h"
#include "windowsmodernstyle.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QtTest>

#include <memory>

class TestStyleMetrics : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void fixedMetrics_data();
    void fixedMetrics();
    void buttonShiftIsZeroOnToolBarsOnly();
    void tabMetricsForMainWindowTabsOnly();
    void toolBoxAsksForSpacingPairByPair();

    void menuItemSizes_data();
    void menuItemSizes();
    void menuItemWithoutMenuOptionGoesToBase();
    void menuBarSizes();
    void realMenuItemsAreTwentyTwoHigh();

    void dockButtonsMoveLeft();
    void mainWindowTabContentsFillThePane();

    void layoutSpacingTable_data();
    void layoutSpacingTable();
    void dialogLineEditsAreSixApart();
    void toolBoxPacksItsButtons();

private:
    WindowsModernStyle *m_style = nullptr;
    std::unique_ptr<QStyle> m_windows;
};

void TestStyleMetrics::initTestCase()
{
    testsupport::isolate();
    m_style = new WindowsModernStyle;
    QApplication::setStyle(m_style);
    m_windows.reset(QStyleFactory::create(QStringLiteral("windows")));
}

void TestStyleMetrics::fixedMetrics_data()
{
    QTest::addColumn<int>("metric");
    QTest::addColumn<int>("expected");
    QTest::newRow("menu button indicator") << int(QStyle::PM_MenuButtonIndicator) << 12;
    QTest::newRow("dock separator") << int(QStyle::PM_DockWidgetSeparatorExtent) << 4;
    QTest::newRow("menu h margin") << int(QStyle::PM_MenuHMargin) << 0;
    QTest::newRow("menu v margin") << int(QStyle::PM_MenuVMargin) << 1;
    QTest::newRow("menu panel") << int(QStyle::PM_MenuPanelWidth) << 1;
    QTest::newRow("menu bar panel") << int(QStyle::PM_MenuBarPanelWidth) << 0;
    QTest::newRow("menu bar v margin") << int(QStyle::PM_MenuBarVMargin) << 2;
    QTest::newRow("menu bar h margin") << int(QStyle::PM_MenuBarHMargin) << 2;
    QTest::newRow("tool bar frame") << int(QStyle::PM_ToolBarFrameWidth) << 2;
    QTest::newRow("tool bar item spacing") << int(QStyle::PM_ToolBarItemSpacing) << 0;
    QTest::newRow("tool bar item margin") << int(QStyle::PM_ToolBarItemMargin) << 0;
    QTest::newRow("tool bar icons") << int(QStyle::PM_ToolBarIconSize) << 16;
    QTest::newRow("dock title margin") << int(QStyle::PM_DockWidgetTitleMargin) << 3;
    QTest::newRow("dock title button margin") << int(QStyle::PM_DockWidgetTitleBarButtonMargin) << 4;
}

void TestStyleMetrics::fixedMetrics()
{
    QFETCH(int, metric);
    QFETCH(int, expected);
    QCOMPARE(m_style->pixelMetric(QStyle::PixelMetric(metric)), expected);
}

void TestStyleMetrics::buttonShiftIsZeroOnToolBarsOnly()
{
    QToolBar bar;
    auto *onBar = new QToolButton(&bar);
    QDialog dialog;
    auto *inDialog = new QToolButton(&dialog);
    for (QStyle::PixelMetric metric : {QStyle::PM_ButtonShiftHorizontal, QStyle::PM_ButtonShiftVertical}) {
        QCOMPARE(m_style->pixelMetric(metric, nullptr, onBar), 0);
        QCOMPARE(m_style->pixelMetric(metric, nullptr, inDialog), m_windows->pixelMetric(metric, nullptr, inDialog));
        QCOMPARE(m_style->pixelMetric(metric), m_windows->pixelMetric(metric));
    }
    QVERIFY(m_windows->pixelMetric(QStyle::PM_ButtonShiftHorizontal) != 0);
}

void TestStyleMetrics::tabMetricsForMainWindowTabsOnly()
{
    QMainWindow window;
    auto *tabs = new QTabWidget;
    tabs->addTab(new QWidget, QStringLiteral("One"));
    window.setCentralWidget(tabs);
    QTabBar *bar = tabs->tabBar();

    QCOMPARE(m_style->pixelMetric(QStyle::PM_TabBarTabShiftVertical, nullptr, bar), 2);
    QCOMPARE(m_style->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, bar), 0);
    QCOMPARE(m_style->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, tabs), 0);
    tabs->setTabPosition(QTabWidget::South);
    QCOMPARE(bar->shape(), QTabBar::RoundedSouth);
    QCOMPARE(m_style->pixelMetric(QStyle::PM_TabBarTabShiftVertical, nullptr, bar), -2);

    QDialog dialog;
    auto *dialogTabs = new QTabWidget(&dialog);
    dialogTabs->addTab(new QWidget, QStringLiteral("One"));
    QTabBar *dialogBar = dialogTabs->tabBar();
    QCOMPARE(m_style->pixelMetric(QStyle::PM_TabBarTabShiftVertical, nullptr, dialogBar),
             m_windows->pixelMetric(QStyle::PM_TabBarTabShiftVertical, nullptr, dialogBar));
    QCOMPARE(m_style->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, dialogTabs),
             m_windows->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, dialogTabs));
    QVERIFY(m_windows->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, dialogTabs) != 0);
}

void TestStyleMetrics::toolBoxAsksForSpacingPairByPair()
{
    QToolBox box;
    QDialog dialog;
    QCOMPARE(m_style->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, &box), -1);
    QCOMPARE(m_style->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, &dialog),
             m_windows->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, &dialog));
}

void TestStyleMetrics::menuItemSizes_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QSize>("contents");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("plain") << int(QStyleOptionMenuItem::Normal) << "Open" << QSize(40, 14) << QSize(88, 22);
    QTest::newRow("with shortcut") << int(QStyleOptionMenuItem::Normal) << "Open\tCtrl+O" << QSize(40, 14)
                                   << QSize(100, 22);
    QTest::newRow("tall contents") << int(QStyleOptionMenuItem::Normal) << "Open" << QSize(10, 40) << QSize(58, 22);
    QTest::newRow("submenu") << int(QStyleOptionMenuItem::SubMenu) << "More" << QSize(30, 14) << QSize(78, 22);
    QTest::newRow("separator") << int(QStyleOptionMenuItem::Separator) << "" << QSize(200, 2) << QSize(10, 3);
}

void TestStyleMetrics::menuItemSizes()
{
    QFETCH(int, type);
    QFETCH(QString, text);
    QFETCH(QSize, contents);
    QFETCH(QSize, expected);
    QStyleOptionMenuItem option;
    option.menuItemType = QStyleOptionMenuItem::MenuItemType(type);
    option.text = text;
    QCOMPARE(m_style->sizeFromContents(QStyle::CT_MenuItem, &option, contents, nullptr), expected);
}

void TestStyleMetrics::menuItemWithoutMenuOptionGoesToBase()
{
    QStyleOption option;
    const QSize contents(40, 14);
    QCOMPARE(m_style->sizeFromContents(QStyle::CT_MenuItem, &option, contents, nullptr),
             m_windows->sizeFromContents(QStyle::CT_MenuItem, &option, contents, nullptr));
}

void TestStyleMetrics::menuBarSizes()
{
    QStyleOptionMenuItem option;
    QCOMPARE(m_style->sizeFromContents(QStyle::CT_MenuBarItem, &option, QSize(30, 14), nullptr), QSize(46, 20));
    QCOMPARE(m_style->sizeFromContents(QStyle::CT_MenuBar, &option, QSize(300, 24), nullptr), QSize(300, 23));
    QCOMPARE(m_style->sizeFromContents(QStyle::CT_Menu, &option, QSize(123, 45), nullptr), QSize(123, 45));
}

void TestStyleMetrics::realMenuItemsAreTwentyTwoHigh()
{
    QMenu menu;
    QAction *open = menu.addAction(QStringLiteral("Open"));
    open->setShortcut(QKeySequence(QStringLiteral("Ctrl+O")));
    QAction *separator = menu.addSeparator();
    QAction *plain = menu.addAction(QStringLiteral("Plain"));
    menu.adjustSize();
    QCOMPARE(menu.actionGeometry(open).height(), 22);
    QCOMPARE(menu.actionGeometry(plain).height(), 22);
    QCOMPARE(menu.actionGeometry(separator).height(), 3);
}

void TestStyleMetrics::dockButtonsMoveLeft()
{
    QStyleOptionDockWidget option;
    option.rect = QRect(0, 0, 200, 20);
    option.closable = true;
    option.floatable = true;
    option.direction = Qt::LeftToRight;
    for (QStyle::SubElement element : {QStyle::SE_DockWidgetCloseButton, QStyle::SE_DockWidgetFloatButton}) {
        const QRect base = m_windows->subElementRect(element, &option, nullptr);
        QVERIFY(base.isValid());
        QCOMPARE(m_style->subElementRect(element, &option, nullptr), base.translated(-2, 0));
    }
}

void TestStyleMetrics::mainWindowTabContentsFillThePane()
{
    QMainWindow window;
    auto *tabs = new QTabWidget;
    tabs->addTab(new QWidget, QStringLiteral("One"));
    window.setCentralWidget(tabs);
    window.resize(400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QStyleOptionTabWidgetFrame option;
    option.initFrom(tabs);
    option.rect = tabs->rect();
    option.tabBarSize = tabs->tabBar()->sizeHint();
    option.shape = QTabBar::RoundedNorth;
    option.lineWidth = m_windows->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tabs);
    // The Windows style working for this one, with this style's metrics.
    QStyle *windows = m_style->base();
    const QRect pane = windows->subElementRect(QStyle::SE_TabWidgetTabPane, &option, tabs);
    QVERIFY(windows->subElementRect(QStyle::SE_TabWidgetTabContents, &option, tabs) != pane);
    QCOMPARE(m_style->subElementRect(QStyle::SE_TabWidgetTabContents, &option, tabs), pane);
    QCOMPARE(tabs->currentWidget()->parentWidget()->geometry(), pane);

    QDialog dialog;
    auto *dialogTabs = new QTabWidget(&dialog);
    option.initFrom(dialogTabs);
    QCOMPARE(m_style->subElementRect(QStyle::SE_TabWidgetTabContents, &option, dialogTabs),
             windows->subElementRect(QStyle::SE_TabWidgetTabContents, &option, dialogTabs));
}

void TestStyleMetrics::layoutSpacingTable_data()
{
    QTest::addColumn<bool>("inToolBox");
    QTest::addColumn<int>("control1");
    QTest::addColumn<int>("control2");
    QTest::addColumn<int>("expected");
    using P = QSizePolicy;
    QTest::newRow("dialog line edits") << false << int(P::LineEdit) << int(P::LineEdit) << 6;
    QTest::newRow("dialog buttons") << false << int(P::PushButton) << int(P::DefaultType) << 6;
    QTest::newRow("box button then page") << true << int(P::PushButton) << int(P::DefaultType) << 0;
    QTest::newRow("box page then button") << true << int(P::DefaultType) << int(P::PushButton) << 3;
    QTest::newRow("box two buttons") << true << int(P::PushButton) << int(P::PushButton) << 2;
    QTest::newRow("box two pages") << true << int(P::DefaultType) << int(P::DefaultType) << 2;
    QTest::newRow("box other pair") << true << int(P::Label) << int(P::PushButton) << 2;
}

void TestStyleMetrics::layoutSpacingTable()
{
    QFETCH(bool, inToolBox);
    QFETCH(int, control1);
    QFETCH(int, control2);
    QFETCH(int, expected);
    QToolBox box;
    QDialog dialog;
    QWidget *widget = inToolBox ? static_cast<QWidget *>(&box) : &dialog;
    for (Qt::Orientation orientation : {Qt::Horizontal, Qt::Vertical}) {
        QCOMPARE(m_style->layoutSpacing(QSizePolicy::ControlType(control1), QSizePolicy::ControlType(control2),
                                        orientation, nullptr, widget),
                 expected);
    }
    if (!inToolBox)
        QCOMPARE(m_style->layoutSpacing(QSizePolicy::ControlType(control1), QSizePolicy::ControlType(control2),
                                        Qt::Vertical, nullptr, nullptr),
                 expected);
}

void TestStyleMetrics::dialogLineEditsAreSixApart()
{
    QDialog dialog;
    auto *layout = new QVBoxLayout(&dialog);
    auto *first = new QLineEdit;
    auto *second = new QLineEdit;
    layout->addWidget(first);
    layout->addWidget(second);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(second->geometry().top() - first->geometry().bottom() - 1, 6);
}

void TestStyleMetrics::toolBoxPacksItsButtons()
{
    QToolBox box;
    auto *firstPage = new QLabel(QStringLiteral("first"));
    box.addItem(firstPage, QStringLiteral("First"));
    box.addItem(new QLabel(QStringLiteral("second")), QStringLiteral("Second"));
    box.resize(200, 300);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));

    QList<QAbstractButton *> buttons;
    for (QObject *child : box.children()) {
        if (auto *button = qobject_cast<QAbstractButton *>(child))
            buttons << button;
    }
    QCOMPARE(buttons.size(), 2);
    QWidget *scrollArea = firstPage->parentWidget()->parentWidget();
    // Margin 2 all round, no gap under a button, 3 pixels above the next one.
    QCOMPARE(buttons.at(0)->geometry().top(), 2);
    QCOMPARE(buttons.at(0)->geometry().left(), 2);
    QCOMPARE(scrollArea->geometry().top(), buttons.at(0)->geometry().bottom() + 1);
    QCOMPARE(buttons.at(1)->geometry().top(), scrollArea->geometry().bottom() + 1 + 3);
}

QTEST_MAIN(TestStyleMetrics)
#include "tst_stylemetrics.moc"
