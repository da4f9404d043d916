// Pixel tests of the primitive elements that the modern style paints.

#include "pixelcheck.h"
#include "stylefixture.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QDialog>
#include <QDockWidget>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolBox>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtTest>

using pixelcheck::untouched;

class TestStylePrimitives : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void mainWindowGradientStopsAboveStatusBar();
    void mainWindowWithoutStatusBarIsFilledToBottom();
    void toolBoxAndPageBackgrounds();
    void menuFrameOpensUnderMenuBarItem();
    void floatingToolBarFrameIsFilled();
    void tabFramesOfMainWindowTabs();
    void dockTitleButtonPanels();
    void emptyPrimitives();
    void dropDownOnToolBar();
    void dropDownElsewhereDrawsNothing();
    void handleDotsAlongTheHandle();
    void handleDotsOnShortHandle();
    void handleDotsAcrossTheHandle();
    void separators();

private:
    QImage paint(QStyle::PrimitiveElement element, const QStyleOption &option, const QWidget *widget,
                 QSize size) const;

    WindowsModernStyle *m_style = nullptr;
};

void TestStylePrimitives::initTestCase()
{
    testsupport::isolate();
    m_style = stylefixture::installBlueStyle();
}

QImage TestStylePrimitives::paint(QStyle::PrimitiveElement element, const QStyleOption &option,
                                  const QWidget *widget, QSize size) const
{
    QImage image = pixelcheck::canvas(size.width(), size.height());
    QPainter painter(&image);
    m_style->drawPrimitive(element, &option, &painter, widget);
    return image;
}

void TestStylePrimitives::mainWindowGradientStopsAboveStatusBar()
{
    const ThemeColours &c = m_style->colours();
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    window.statusBar()->showMessage(QStringLiteral("Ready"));
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    const QImage image = window.grab().toImage();
    const int line = window.statusBar()->geometry().top();
    QVERIFY(line > 100 && line < 199);

    CHECK_PIXEL(image, 0, 10, c.windowGradientStart);
    CHECK_PIXEL(image, 299, 10, c.windowGradientStop);
    CHECK_PIXEL(image, 200, line - 1, c.windowGradientStop);
    // Half way to the 0.6 stop.
    const QColor half((c.windowGradientStart.red() + c.windowGradientStop.red()) / 2,
                      (c.windowGradientStart.green() + c.windowGradientStop.green()) / 2,
                      (c.windowGradientStart.blue() + c.windowGradientStop.blue()) / 2);
    CHECK_PIXEL(image, 90, 50, half);

    const QColor light = window.palette().color(QPalette::Light);
    CHECK_PIXEL(image, 0, line, light);
    CHECK_PIXEL(image, 150, line, light);
    // Below the line the status bar shows no window gradient.
    const QColor below = QColor::fromRgb(image.pixel(200, line + 2));
    QVERIFY2(!pixelcheck::near(below, c.windowGradientStop, 4), qPrintable(below.name()));
}

void TestStylePrimitives::mainWindowWithoutStatusBarIsFilledToBottom()
{
    const ThemeColours &c = m_style->colours();
    QMainWindow window;
    window.setCentralWidget(new QWidget);
    window.resize(300, 200);
    QStyleOption option;
    option.initFrom(&window);
    option.rect = QRect(0, 0, 300, 200);
    const QImage image = paint(QStyle::PE_Widget, option, &window, QSize(300, 200));
    CHECK_PIXEL(image, 0, 199, c.windowGradientStart);
    CHECK_PIXEL(image, 299, 199, c.windowGradientStop);
    CHECK_PIXEL(image, 299, 0, c.windowGradientStop);
}

void TestStylePrimitives::toolBoxAndPageBackgrounds()
{
    const ThemeColours &c = m_style->colours();
    QToolBox box;
    auto *page = new QLabel(QStringLiteral("page"));
    box.addItem(page, QStringLiteral("First"));
    QStyleOption option;
    option.rect = QRect(0, 0, 101, 10);

    const QImage boxImage = paint(QStyle::PE_Widget, option, &box, QSize(101, 10));
    CHECK_PIXEL(boxImage, 0, 5, c.windowGradientStart);
    CHECK_PIXEL(boxImage, 40, 5, c.windowGradientStart);
    CHECK_PIXEL(boxImage, 100, 5, c.windowGradientStop);

    const QImage pageImage = paint(QStyle::PE_Widget, option, page, QSize(101, 10));
    CHECK_PIXEL(pageImage, 0, 5, c.barMid);
    CHECK_PIXEL(pageImage, 40, 5, c.barMid);
    CHECK_PIXEL(pageImage, 100, 5, c.barStart);

    // Any other widget is the base style's: the Windows style paints no
    // background of its own here.
    QLabel other;
    const QImage otherImage = paint(QStyle::PE_Widget, option, &other, QSize(101, 10));
    CHECK_PIXEL(otherImage, 50, 5, untouched());
}

void TestStylePrimitives::menuFrameOpensUnderMenuBarItem()
{
    const ThemeColours &c = m_style->colours();
    QMainWindow window;
    QMenu *fileMenu = window.menuBar()->addMenu(QStringLiteral("File"));
    fileMenu->addAction(QStringLiteral("Open"));
    window.setCentralWidget(new QWidget);
    window.resize(300, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QRect item = window.menuBar()->actionGeometry(fileMenu->menuAction());
    QVERIFY(item.isValid());

    QStyleOption option;
    option.rect = QRect(0, 0, 150, 100);
    const QImage image = paint(QStyle::PE_FrameMenu, option, fileMenu, QSize(150, 100));
    CHECK_PIXEL(image, 0, 0, c.menuFrame);
    CHECK_PIXEL(image, 1, 0, c.menuFill);
    CHECK_PIXEL(image, item.width() - 2, 0, c.menuFill);
    CHECK_PIXEL(image, item.width() - 1, 0, c.menuFrame);
    CHECK_PIXEL(image, 149, 50, c.menuFrame);
    CHECK_PIXEL(image, 70, 99, c.menuFrame);
    CHECK_PIXEL(image, 70, 50, untouched());

    // A context menu keeps its whole border.
    QMenu loose;
    const QImage looseImage = paint(QStyle::PE_FrameMenu, option, &loose, QSize(150, 100));
    CHECK_PIXEL(looseImage, 1, 0, c.menuFrame);
    CHECK_PIXEL(looseImage, 20, 0, c.menuFrame);
}

void TestStylePrimitives::floatingToolBarFrameIsFilled()
{
    const ThemeColours &c = m_style->colours();
    QToolBar bar;
    QStyleOptionToolBar option;
    option.rect = QRect(0, 0, 60, 21);
    const QImage image = paint(QStyle::PE_FrameMenu, option, &bar, QSize(60, 21));
    CHECK_PIXEL(image, 0, 0, c.menuFrame);
    CHECK_PIXEL(image, 30, 1, c.barStart);
    CHECK_PIXEL(image, 30, 10, c.barMid);
    CHECK_PIXEL(image, 30, 20, c.menuFrame);

    bar.setOrientation(Qt::Vertical);
    const QImage vertical = paint(QStyle::PE_FrameMenu, option, &bar, QSize(60, 21));
    CHECK_PIXEL(vertical, 1, 10, c.barStart);
    CHECK_PIXEL(vertical, 30, 10, c.barMid);
}

void TestStylePrimitives::tabFramesOfMainWindowTabs()
{
    QMainWindow window;
    auto *tabs = new QTabWidget;
    tabs->addTab(new QWidget, QStringLiteral("One"));
    window.setCentralWidget(tabs);
    QDialog dialog;
    auto *dialogTabs = new QTabWidget(&dialog);
    dialogTabs->addTab(new QWidget, QStringLiteral("One"));

    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(tabs);
    frame.rect = QRect(0, 0, 50, 40);
    frame.lineWidth = 2;
    const QImage main = paint(QStyle::PE_FrameTabWidget, frame, tabs, QSize(50, 40));
    const QColor window_ = frame.palette.color(QPalette::Window);
    CHECK_PIXEL(main, 0, 0, window_);
    CHECK_PIXEL(main, 49, 39, window_);
    CHECK_PIXEL(main, 25, 20, window_);

    // In a dialog the base style draws a frame and leaves the inside.
    frame.initFrom(dialogTabs);
    frame.rect = QRect(0, 0, 50, 40);
    const QImage other = paint(QStyle::PE_FrameTabWidget, frame, dialogTabs, QSize(50, 40));
    CHECK_PIXEL(other, 25, 20, untouched());

    QStyleOptionTabBarBase base;
    base.initFrom(tabs->tabBar());
    base.rect = QRect(0, 0, 50, 10);
    base.tabBarRect = QRect(0, 0, 20, 10);
    base.selectedTabRect = QRect(0, 0, 20, 10);
    base.shape = QTabBar::RoundedNorth;
    const QImage noBase = paint(QStyle::PE_FrameTabBarBase, base, tabs->tabBar(), QSize(50, 10));
    QVERIFY(pixelcheck::nothingPainted(noBase));
}

void TestStylePrimitives::dockTitleButtonPanels()
{
    const ThemeColours &c = m_style->colours();
    QMainWindow window;
    auto *dock = new QDockWidget(QStringLiteral("Dock"), &window);
    window.addDockWidget(Qt::LeftDockWidgetArea, dock);
    QAbstractButton *titleButton = nullptr;
    for (QAbstractButton *button : dock->findChildren<QAbstractButton *>()) {
        if (button->inherits("QDockWidgetTitleButton"))
            titleButton = button;
    }
    QVERIFY(titleButton);

    QStyleOptionToolButton option;
    option.rect = QRect(0, 0, 16, 16);
    option.state = QStyle::State_Enabled;
    QImage image = paint(QStyle::PE_PanelButtonTool, option, titleButton, QSize(16, 16));
    CHECK_PIXEL(image, 0, 0, untouched());
    CHECK_PIXEL(image, 8, 8, untouched());

    option.state |= QStyle::State_MouseOver;
    image = paint(QStyle::PE_PanelButtonTool, option, titleButton, QSize(16, 16));
    CHECK_PIXEL(image, 0, 0, c.hotFrame);
    CHECK_PIXEL(image, 15, 15, c.hotFrame);
    CHECK_PIXEL(image, 8, 8, c.hoverMid);

    option.state |= QStyle::State_Sunken;
    image = paint(QStyle::PE_PanelButtonTool, option, titleButton, QSize(16, 16));
    CHECK_PIXEL(image, 8, 8, c.pressedMid);
}

void TestStylePrimitives::emptyPrimitives()
{
    QStyleOption option;
    option.rect = QRect(0, 0, 20, 20);
    option.state = QStyle::State_Enabled | QStyle::State_Horizontal;
    for (QStyle::PrimitiveElement element : {QStyle::PE_PanelMenuBar, QStyle::PE_IndicatorDockWidgetResizeHandle}) {
        const QImage image = paint(element, option, nullptr, QSize(20, 20));
        for (int x = 0; x < 20; ++x)
            QCOMPARE(image.pixel(x, 10), untouched().rgb());
    }
}

void TestStylePrimitives::dropDownOnToolBar()
{
    const ThemeColours &c = m_style->colours();
    QToolBar bar;
    auto *button = new QToolButton(&bar);

    QStyleOptionToolButton option;
    option.rect = QRect(10, 0, 12, 24);
    option.state = QStyle::State_Enabled | QStyle::State_MouseOver;
    option.palette = button->palette();
    QImage image = paint(QStyle::PE_IndicatorButtonDropDown, option, button, QSize(30, 30));
    // The frame is r.adjusted(-1, 0, -1, -1).
    CHECK_PIXEL(image, 9, 0, c.hotFrame);
    CHECK_PIXEL(image, 21, 23, c.hotFrame);
    CHECK_PIXEL(image, 8, 10, untouched());
    CHECK_PIXEL(image, 22, 10, untouched());
    CHECK_PIXEL(image, 10, 11, c.hoverMid);
    CHECK_PIXEL_WITHIN(image, 10, 1, c.hoverStart, 8); // one row into the gradient

    option.state = QStyle::State_Enabled | QStyle::State_Sunken;
    image = paint(QStyle::PE_IndicatorButtonDropDown, option, button, QSize(30, 30));
    CHECK_PIXEL(image, 10, 11, c.pressedMid);
    CHECK_PIXEL_WITHIN(image, 10, 1, c.pressedStart, 8);

    // Hovered but disabled: no frame, only the arrow.
    option.state = QStyle::State_MouseOver;
    image = paint(QStyle::PE_IndicatorButtonDropDown, option, button, QSize(30, 30));
    CHECK_PIXEL(image, 9, 0, untouched());
    CHECK_PIXEL(image, 10, 11, untouched());

    bar.setOrientation(Qt::Vertical);
    option.state = QStyle::State_Enabled | QStyle::State_MouseOver;
    image = paint(QStyle::PE_IndicatorButtonDropDown, option, button, QSize(30, 30));
    CHECK_PIXEL(image, 10, 1, c.hoverStop);
    CHECK_PIXEL(image, 10, 22, c.hoverStop);

    // The arrow is asked for inside the frame.
    stylefixture::RecordingStyle recorder;
    QImage canvas = pixelcheck::canvas(30, 30);
    QPainter painter(&canvas);
    recorder.drawPrimitive(QStyle::PE_IndicatorButtonDropDown, &option, &painter, button);
    const auto arrows = recorder.primitivesOf(QStyle::PE_IndicatorArrowDown);
    QCOMPARE(arrows.size(), 1);
    QCOMPARE(arrows.first().rect, QRect(QPoint(12, 2), QPoint(19, 21)));
}

void TestStylePrimitives::dropDownElsewhereDrawsNothing()
{
    QDialog dialog;
    auto *button = new QToolButton(&dialog);
    QStyleOptionToolButton option;
    option.rect = QRect(0, 0, 12, 24);
    option.state = QStyle::State_Enabled | QStyle::State_MouseOver | QStyle::State_Sunken;
    for (const QWidget *widget : {static_cast<const QWidget *>(button), static_cast<const QWidget *>(nullptr)}) {
        const QImage image = paint(QStyle::PE_IndicatorButtonDropDown, option, widget, QSize(12, 24));
        QVERIFY(pixelcheck::nothingPainted(image));
    }
}

void TestStylePrimitives::handleDotsAlongTheHandle()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionToolBar option;
    option.rect = QRect(0, 0, 10, 25);
    option.state = QStyle::State_Enabled | QStyle::State_Horizontal;
    const QImage image = paint(QStyle::PE_IndicatorToolBarHandle, option, nullptr, QSize(10, 30));

    for (int i : {5, 10, 15, 20}) {
        CHECK_PIXEL(image, 3, i, c.gripDark);
        CHECK_PIXEL(image, 4, i + 1, c.gripDark); // the dark square covers the light one here
        CHECK_PIXEL(image, 5, i + 2, c.gripLight);
        CHECK_PIXEL(image, 4, i + 2, c.gripLight);
    }
    for (int y : {0, 1, 2, 3, 4, 25, 26, 27})
        CHECK_PIXEL(image, 3, y, untouched());
    CHECK_PIXEL(image, 3, 8, untouched());
}

void TestStylePrimitives::handleDotsOnShortHandle()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionToolBar option;
    option.rect = QRect(0, 0, 10, 4);
    option.state = QStyle::State_Horizontal;
    const QImage image = paint(QStyle::PE_IndicatorToolBarHandle, option, nullptr, QSize(10, 10));
    CHECK_PIXEL(image, 3, 0, c.gripDark);
    CHECK_PIXEL(image, 5, 2, c.gripLight);
    CHECK_PIXEL(image, 3, 5, untouched());
}

void TestStylePrimitives::handleDotsAcrossTheHandle()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionToolBar option;
    option.rect = QRect(0, 0, 25, 10);
    option.state = QStyle::State_Enabled;
    const QImage image = paint(QStyle::PE_IndicatorToolBarHandle, option, nullptr, QSize(30, 10));
    for (int i : {5, 10, 15, 20}) {
        CHECK_PIXEL(image, i, 3, c.gripDark);
        CHECK_PIXEL(image, i + 2, 5, c.gripLight);
    }
    CHECK_PIXEL(image, 0, 3, untouched());
    CHECK_PIXEL(image, 25, 3, untouched());
}

void TestStylePrimitives::separators()
{
    const ThemeColours &c = m_style->colours();
    QStyleOption option;
    option.rect = QRect(0, 0, 6, 20);
    option.state = QStyle::State_Horizontal;
    QImage image = paint(QStyle::PE_IndicatorToolBarSeparator, option, nullptr, QSize(6, 20));
    CHECK_PIXEL(image, 2, 2, c.dividerDark);
    CHECK_PIXEL(image, 2, 17, c.dividerDark);
    CHECK_PIXEL(image, 3, 2, c.dividerLight);
    CHECK_PIXEL(image, 3, 17, c.dividerLight);
    CHECK_PIXEL(image, 2, 1, untouched());
    CHECK_PIXEL(image, 2, 18, untouched());
    CHECK_PIXEL(image, 1, 10, untouched());
    CHECK_PIXEL(image, 4, 10, untouched());

    option.rect = QRect(0, 0, 20, 6);
    option.state = QStyle::State_None;
    image = paint(QStyle::PE_IndicatorToolBarSeparator, option, nullptr, QSize(20, 6));
    CHECK_PIXEL(image, 2, 2, c.dividerDark);
    CHECK_PIXEL(image, 17, 2, c.dividerDark);
    CHECK_PIXEL(image, 2, 3, c.dividerLight);
    CHECK_PIXEL(image, 1, 2, untouched());
    CHECK_PIXEL(image, 18, 3, untouched());
}

QTEST_MAIN(TestStylePrimitives)
#include "tst_styleprimitives.moc"
