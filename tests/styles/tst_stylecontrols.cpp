// Pixel tests of the control elements that the modern style paints: menu
// items, the menu bar, tool bars, dock-widget titles, tool-box tabs and the
// tabs of the main window.

#include "pixelcheck.h"
#include "stylefixture.h"
#include "testsupport.h"

#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QSplitter>
#include <QStyleOption>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using pixelcheck::untouched;
using stylefixture::RecordingStyle;

class TestStyleControls : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void menuItemIconStripAndFill();
    void selectedMenuItemFrame();
    void checkedMenuItemBox();
    void menuItemIconOverCheckBox();
    void menuSeparatorLine();
    void menuItemTextAndShortcut();
    void menuItemSubmenuArrow();
    void menuItemCheckMarkWithoutIcon();
    void menuEmptyArea();
    void menuBarItemStates();
    void menuBarItemLabel();
    void toolBarGradientAndEdges();
    void toolBarEndsAfterItsItems();
    void verticalToolBar();
    void dockWidgetTitle_data();
    void dockWidgetTitle();
    void splitterInMainWindowIsNotPainted();
    void toolBoxTabShapes();
    void mainWindowTabShapes();
    void southTabShapes();
    void dialogTabsAreLeftToBase();

private:
    QImage paint(QStyle::ControlElement element, const QStyleOption &option, const QWidget *widget,
                 QSize size) const;
    QStyleOptionMenuItem menuItem(const QString &text, QStyle::State state) const;

    WindowsModernStyle *m_style = nullptr;
};

void TestStyleControls::initTestCase()
{
    testsupport::isolate();
    m_style = stylefixture::installBlueStyle();
}

QImage TestStyleControls::paint(QStyle::ControlElement element, const QStyleOption &option, const QWidget *widget,
                                QSize size) const
{
    QImage image = pixelcheck::canvas(size.width(), size.height());
    QPainter painter(&image);
    m_style->drawControl(element, &option, &painter, widget);
    return image;
}

QStyleOptionMenuItem TestStyleControls::menuItem(const QString &text, QStyle::State state) const
{
    QStyleOptionMenuItem option;
    option.rect = QRect(0, 0, 150, 22);
    option.text = text;
    option.state = state;
    option.menuItemType = QStyleOptionMenuItem::Normal;
    option.checkType = QStyleOptionMenuItem::NotCheckable;
    option.palette = QApplication::palette();
    return option;
}

void TestStyleControls::menuItemIconStripAndFill()
{
    const ThemeColours &c = m_style->colours();
    const QImage image = paint(QStyle::CE_MenuItem, menuItem(QStringLiteral("Open"), QStyle::State_Enabled),
                               nullptr, QSize(150, 22));
    CHECK_PIXEL(image, 0, 10, c.barStart);
    CHECK_PIXEL_WITHIN(image, 24, 10, c.barStop, 8);
    CHECK_PIXEL(image, 25, 0, c.menuFill);
    CHECK_PIXEL(image, 149, 21, c.menuFill);
    CHECK_PIXEL(image, 100, 0, c.menuFill);
    // The strip runs from light to dark.
    QVERIFY(QColor(image.pixel(2, 10)).lightness() > QColor(image.pixel(22, 10)).lightness());
}

void TestStyleControls::selectedMenuItemFrame()
{
    const ThemeColours &c = m_style->colours();
    const QImage image =
        paint(QStyle::CE_MenuItem, menuItem(QStringLiteral("Open"), QStyle::State_Enabled | QStyle::State_Selected),
              nullptr, QSize(150, 22));
    // The outline of r.adjusted(1, 0, -3, -1).
    CHECK_PIXEL(image, 0, 10, untouched());
    CHECK_PIXEL(image, 1, 10, c.hotFrame);
    CHECK_PIXEL(image, 1, 0, c.hotFrame);
    CHECK_PIXEL(image, 147, 10, c.hotFrame);
    CHECK_PIXEL(image, 148, 10, untouched());
    CHECK_PIXEL(image, 80, 21, c.hotFrame);
    CHECK_PIXEL(image, 10, 10, c.hoverStart);
    CHECK_PIXEL(image, 140, 2, c.hoverStart);

    // A disabled item is never drawn selected.
    const QImage disabled =
        paint(QStyle::CE_MenuItem, menuItem(QStringLiteral("Open"), QStyle::State_Selected), nullptr, QSize(150, 22));
    CHECK_PIXEL(disabled, 0, 10, c.barStart);
    CHECK_PIXEL(disabled, 140, 2, c.menuFill);
}

void TestStyleControls::checkedMenuItemBox()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionMenuItem option = menuItem(QStringLiteral("Wrap"), QStyle::State_Enabled);
    option.checkType = QStyleOptionMenuItem::NonExclusive;
    option.checked = true;

    QImage image = paint(QStyle::CE_MenuItem, option, nullptr, QSize(150, 22));
    // Check box from (2, 1) to (21, 19), outlined to (22, 20).
    CHECK_PIXEL(image, 2, 1, c.hotFrame);
    CHECK_PIXEL(image, 22, 20, c.hotFrame);
    CHECK_PIXEL(image, 4, 3, c.checkedStart);
    CHECK_PIXEL(image, 0, 10, c.barStart);

    option.state |= QStyle::State_Selected;
    image = paint(QStyle::CE_MenuItem, option, nullptr, QSize(150, 22));
    CHECK_PIXEL(image, 4, 3, c.pressedStart);

    // Disabled: no fill, only the strip.
    option.state = QStyle::State_None;
    image = paint(QStyle::CE_MenuItem, option, nullptr, QSize(150, 22));
    const QImage unchecked =
        paint(QStyle::CE_MenuItem, menuItem(QStringLiteral("Wrap"), QStyle::State_None), nullptr, QSize(150, 22));
    CHECK_PIXEL(image, 4, 3, QColor(unchecked.pixel(4, 3)));
    QVERIFY(!pixelcheck::near(QColor(image.pixel(2, 1)), c.hotFrame, 10));
}

void TestStyleControls::menuItemIconOverCheckBox()
{
    const ThemeColours &c = m_style->colours();
    QPixmap red(16, 16);
    red.fill(Qt::red);
    QStyleOptionMenuItem option = menuItem(QStringLiteral("Save"), QStyle::State_Enabled);
    option.icon = QIcon(red);
    option.checkType = QStyleOptionMenuItem::NonExclusive;
    option.checked = true;

    stylefixture::RecordingStyle recorder;
    QImage image = pixelcheck::canvas(150, 22);
    {
        QPainter painter(&image);
        recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    }
    const int size = recorder.pixelMetric(QStyle::PM_SmallIconSize);
    QRect icon(0, 0, size, size);
    icon.moveCenter(QRect(QPoint(2, 1), QPoint(21, 19)).center());
    CHECK_PIXEL(image, icon.center().x(), icon.center().y(), QColor(Qt::red));
    CHECK_PIXEL(image, icon.left(), icon.top(), QColor(Qt::red));
    CHECK_PIXEL(image, icon.left() - 1, icon.top(), c.checkedStart);
    // With an icon there is no check mark.
    QVERIFY(recorder.primitivesOf(QStyle::PE_IndicatorMenuCheckMark).isEmpty());
}

void TestStyleControls::menuSeparatorLine()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionMenuItem option = menuItem(QString(), QStyle::State_Enabled);
    option.menuItemType = QStyleOptionMenuItem::Separator;
    option.rect = QRect(0, 0, 150, 3);
    stylefixture::RecordingStyle recorder;
    QImage image = pixelcheck::canvas(150, 3);
    {
        QPainter painter(&image);
        recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    }
    CHECK_PIXEL(image, 32, 1, c.dividerDark);
    CHECK_PIXEL(image, 149, 1, c.dividerDark);
    CHECK_PIXEL(image, 31, 1, c.menuFill);
    CHECK_PIXEL(image, 60, 0, c.menuFill);
    CHECK_PIXEL(image, 60, 2, c.menuFill);
    QVERIFY(recorder.texts.isEmpty());
}

void TestStyleControls::menuItemTextAndShortcut()
{
    RecordingStyle recorder;
    QImage image = pixelcheck::canvas(150, 22);
    QPainter painter(&image);
    const QRect textRect(QPoint(32, 1), QPoint(150 - 1 - 16, 20));
    const bool hide = !recorder.styleHint(QStyle::SH_UnderlineShortcut, nullptr, nullptr);

    QStyleOptionMenuItem option = menuItem(QStringLiteral("&Open\tCtrl+O"), QStyle::State_Enabled);
    recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    QCOMPARE(recorder.texts.size(), 2);
    const RecordingStyle::TextCall shortcut = recorder.texts.at(0);
    const RecordingStyle::TextCall label = recorder.texts.at(1);
    QCOMPARE(shortcut.text, QStringLiteral("Ctrl+O"));
    QCOMPARE(label.text, QStringLiteral("&Open"));
    QCOMPARE(shortcut.rect, textRect);
    QCOMPARE(label.rect, textRect);
    QVERIFY(shortcut.flags & Qt::AlignRight);
    QVERIFY(label.flags & Qt::AlignLeft);
    QVERIFY(!(label.flags & Qt::AlignRight));
    for (const RecordingStyle::TextCall &call : recorder.texts) {
        QVERIFY(call.flags & Qt::AlignVCenter);
        QVERIFY(call.flags & Qt::TextShowMnemonic);
        QVERIFY(call.flags & Qt::TextDontClip);
        QVERIFY(call.flags & Qt::TextSingleLine);
        QCOMPARE(bool(call.flags & Qt::TextHideMnemonic), hide);
        QCOMPARE(call.role, QPalette::Text);
        QVERIFY(call.enabled);
    }

    // A second tab stays in the shortcut text.
    recorder.clear();
    option = menuItem(QStringLiteral("A\tB\tC"), QStyle::State_None);
    recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    QCOMPARE(recorder.texts.size(), 2);
    QCOMPARE(recorder.texts.at(0).text, QStringLiteral("B\tC"));
    QCOMPARE(recorder.texts.at(1).text, QStringLiteral("A"));
    QVERIFY(!recorder.texts.at(1).enabled);

    recorder.clear();
    option = menuItem(QStringLiteral("Plain"), QStyle::State_Enabled);
    recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    QCOMPARE(recorder.texts.size(), 1);
    QCOMPARE(recorder.texts.at(0).text, QStringLiteral("Plain"));
}

void TestStyleControls::menuItemSubmenuArrow()
{
    RecordingStyle recorder;
    QImage image = pixelcheck::canvas(150, 22);
    QPainter painter(&image);
    QStyleOptionMenuItem option =
        menuItem(QStringLiteral("More"), QStyle::State_Enabled | QStyle::State_Selected | QStyle::State_HasFocus);
    option.menuItemType = QStyleOptionMenuItem::SubMenu;
    recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    const auto arrows = recorder.primitivesOf(QStyle::PE_IndicatorArrowRight);
    QCOMPARE(arrows.size(), 1);
    QCOMPARE(arrows.first().rect, QRect(QPoint(137, 4), QPoint(145, 17)));
    QCOMPARE(arrows.first().state, QStyle::State(QStyle::State_Enabled));

    recorder.clear();
    option.state = QStyle::State_Selected;
    recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    QCOMPARE(recorder.primitivesOf(QStyle::PE_IndicatorArrowRight).first().state, QStyle::State(QStyle::State_None));
}

void TestStyleControls::menuItemCheckMarkWithoutIcon()
{
    QMenu menu;
    RecordingStyle recorder;
    QImage image = pixelcheck::canvas(150, 22);
    QPainter painter(&image);
    QStyleOptionMenuItem option = menuItem(QStringLiteral("Wrap"), QStyle::State_Enabled);
    option.checkType = QStyleOptionMenuItem::NonExclusive;
    option.checked = true;
    recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, &menu);
    auto marks = recorder.primitivesOf(QStyle::PE_IndicatorMenuCheckMark);
    QCOMPARE(marks.size(), 1);
    QCOMPARE(marks.first().rect, QRect(QPoint(2, 1), QPoint(21, 19)));

    // Disabled: the mark takes the disabled text colour in every group.
    QPalette palette = menu.palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x12, 0x34, 0x56));
    palette.setColor(QPalette::Active, QPalette::Text, QColor(0, 0, 0));
    menu.setPalette(palette);
    recorder.clear();
    option.state = QStyle::State_None;
    recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, &menu);
    marks = recorder.primitivesOf(QStyle::PE_IndicatorMenuCheckMark);
    QCOMPARE(marks.size(), 1);
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        QCOMPARE(marks.first().palette.color(group, QPalette::Text), QColor(0x12, 0x34, 0x56));

    // Without a widget the mark still gets drawn.
    recorder.clear();
    recorder.drawControl(QStyle::CE_MenuItem, &option, &painter, nullptr);
    QCOMPARE(recorder.primitivesOf(QStyle::PE_IndicatorMenuCheckMark).size(), 1);
}

void TestStyleControls::menuEmptyArea()
{
    QStyleOption option;
    option.rect = QRect(0, 0, 20, 20);
    const QImage image = paint(QStyle::CE_MenuEmptyArea, option, nullptr, QSize(20, 20));
    CHECK_PIXEL(image, 0, 0, m_style->colours().menuFill);
    CHECK_PIXEL(image, 19, 19, m_style->colours().menuFill);
}

void TestStyleControls::menuBarItemStates()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionMenuItem option;
    option.rect = QRect(0, 0, 40, 20);
    option.palette = QApplication::palette();

    // Open: the bottom line falls one pixel below the item.
    option.state = QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_Selected;
    QImage image = paint(QStyle::CE_MenuBarItem, option, nullptr, QSize(40, 22));
    CHECK_PIXEL(image, 0, 0, c.menuFrame);
    CHECK_PIXEL(image, 39, 10, c.menuFrame);
    CHECK_PIXEL(image, 20, 20, c.menuFrame);
    CHECK_PIXEL(image, 20, 21, untouched());
    CHECK_PIXEL_WITHIN(image, 2, 1, c.openTitleTop, 8);
    CHECK_PIXEL_WITHIN(image, 2, 19, c.openTitleBottom, 8);

    // Hovered.
    option.state = QStyle::State_Enabled | QStyle::State_Selected;
    image = paint(QStyle::CE_MenuBarItem, option, nullptr, QSize(40, 22));
    CHECK_PIXEL(image, 0, 0, c.hotFrame);
    CHECK_PIXEL(image, 20, 19, c.hotFrame);
    CHECK_PIXEL(image, 20, 20, untouched());
    CHECK_PIXEL_WITHIN(image, 2, 1, c.hoverStart, 6);
    CHECK_PIXEL_WITHIN(image, 2, 18, c.hoverStop, 6);

    // Idle, or disabled: no background.
    for (QStyle::State state : {QStyle::State(QStyle::State_Enabled), QStyle::State(QStyle::State_Selected)}) {
        option.state = state;
        image = paint(QStyle::CE_MenuBarItem, option, nullptr, QSize(40, 22));
        CHECK_PIXEL(image, 0, 0, untouched());
        CHECK_PIXEL(image, 2, 2, untouched());
    }

    QStyleOption empty;
    empty.rect = QRect(0, 0, 40, 22);
    image = paint(QStyle::CE_MenuBarEmptyArea, empty, nullptr, QSize(40, 22));
    CHECK_PIXEL(image, 20, 10, untouched());
}

void TestStyleControls::menuBarItemLabel()
{
    RecordingStyle recorder;
    QImage image = pixelcheck::canvas(40, 20);
    QPainter painter(&image);
    QStyleOptionMenuItem option;
    option.rect = QRect(0, 0, 40, 20);
    option.text = QStringLiteral("&File");
    option.state = QStyle::State_None;
    recorder.drawControl(QStyle::CE_MenuBarItem, &option, &painter, nullptr);
    QCOMPARE(recorder.texts.size(), 1);
    const RecordingStyle::TextCall call = recorder.texts.first();
    QCOMPARE(call.rect, option.rect);
    QCOMPARE(call.text, option.text);
    QVERIFY(call.enabled); // always drawn enabled
    QCOMPARE(call.role, QPalette::Text);
    QVERIFY(call.flags & Qt::AlignHCenter);
    QVERIFY(call.flags & Qt::AlignVCenter);

    // With an icon the pixmap takes the place of the text.
    recorder.clear();
    QPixmap red(16, 16);
    red.fill(Qt::red);
    option.icon = QIcon(red);
    recorder.drawControl(QStyle::CE_MenuBarItem, &option, &painter, nullptr);
    QVERIFY(recorder.texts.isEmpty());
    painter.end();
    CHECK_PIXEL(image, 20, 10, QColor(Qt::red));
}

void TestStyleControls::toolBarGradientAndEdges()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionToolBar option;
    option.rect = QRect(0, 0, 100, 30);
    option.state = QStyle::State_Enabled | QStyle::State_Horizontal;
    const QImage image = paint(QStyle::CE_ToolBar, option, nullptr, QSize(100, 30));

    // Top light, bottom dark: barStart at 0, barMid from 0.4 to 0.6.
    CHECK_PIXEL(image, 50, 0, c.barStart);
    CHECK_PIXEL(image, 50, 14, c.barMid);
    CHECK_PIXEL_WITHIN(image, 50, 28, c.barStop, 6);
    QVERIFY(QColor(image.pixel(50, 1)).lightness() > QColor(image.pixel(50, 27)).lightness());
    // Edges.
    CHECK_PIXEL(image, 2, 29, c.edgeDark);
    CHECK_PIXEL(image, 97, 29, c.edgeDark);
    CHECK_PIXEL(image, 99, 2, c.edgeLight);
    CHECK_PIXEL(image, 99, 27, c.edgeLight);
    CHECK_PIXEL(image, 98, 28, c.edgeLight);
    // Cut corners.
    for (const QPoint &corner : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 29), QPoint(99, 29)})
        CHECK_PIXEL(image, corner.x(), corner.y(), untouched());
    CHECK_PIXEL_WITHIN(image, 1, 1, c.barStart, 6);
    CHECK_PIXEL(image, 1, 0, untouched());
}

void TestStyleControls::toolBarEndsAfterItsItems()
{
    QMainWindow window;
    QToolBar *bar = window.addToolBar(QStringLiteral("Main"));
    bar->addAction(QStringLiteral("One"));
    bar->addAction(QStringLiteral("Two"));
    window.resize(400, 200);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const int end = bar->childrenRect().right() + 2;
    QVERIFY(end < bar->width() - 10);

    QStyleOptionToolBar option;
    option.initFrom(bar);
    option.rect = bar->rect();
    option.state |= QStyle::State_Horizontal;
    const QImage image = paint(QStyle::CE_ToolBar, option, bar, bar->size());
    const int y = bar->height() / 2;
    CHECK_PIXEL(image, end, y, m_style->colours().edgeLight);
    CHECK_PIXEL(image, end + 1, y, untouched());
    CHECK_PIXEL(image, bar->width() - 1, y, untouched());
}

void TestStyleControls::verticalToolBar()
{
    const ThemeColours &c = m_style->colours();
    QMainWindow window;
    auto *bar = new QToolBar(QStringLiteral("Side"));
    window.addToolBar(Qt::LeftToolBarArea, bar);
    bar->addAction(QStringLiteral("One"));
    window.resize(300, 400);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(bar->orientation(), Qt::Vertical);

    QStyleOptionToolBar option;
    option.initFrom(bar);
    option.rect = bar->rect();
    const QImage image = paint(QStyle::CE_ToolBar, option, bar, bar->size());
    // The bar ends after its items; the gradient runs left to right.
    const int bottom = bar->childrenRect().bottom() + 2;
    const int right = bar->width() - 1;
    QVERIFY(bottom < bar->height() - 10);
    CHECK_PIXEL(image, 0, 2, c.barStart);
    CHECK_PIXEL(image, right * 4 / 10 + 1, 2, c.barMid);
    CHECK_PIXEL(image, right, bottom - 2, c.edgeDark);
    CHECK_PIXEL(image, right / 2, bottom, c.edgeLight);
    CHECK_PIXEL(image, right / 2, bottom + 1, untouched());
}

void TestStyleControls::dockWidgetTitle_data()
{
    QTest::addColumn<bool>("closable");
    QTest::addColumn<bool>("floatable");
    QTest::addColumn<int>("fromRight");
    QTest::newRow("neither") << false << false << 4;
    QTest::newRow("closable") << true << false << 20;
    QTest::newRow("floatable") << false << true << 20;
    QTest::newRow("both") << true << true << 36;
}

void TestStyleControls::dockWidgetTitle()
{
    QFETCH(bool, closable);
    QFETCH(bool, floatable);
    QFETCH(int, fromRight);

    RecordingStyle recorder;
    const ThemeColours &c = recorder.colours();
    QImage image = pixelcheck::canvas(200, 20);
    QPainter painter(&image);
    QStyleOptionDockWidget option;
    option.rect = QRect(0, 0, 200, 20);
    option.state = QStyle::State_Enabled;
    option.closable = closable;
    option.floatable = floatable;
    option.title = QStringLiteral("Short");
    recorder.drawControl(QStyle::CE_DockWidgetTitle, &option, &painter, nullptr);
    QCOMPARE(recorder.texts.size(), 1);
    RecordingStyle::TextCall call = recorder.texts.first();
    QCOMPARE(call.rect, QRect(QPoint(6, 0), QPoint(199 - fromRight, 19)));
    QCOMPARE(call.text, QStringLiteral("Short"));
    QCOMPARE(call.flags, int(Qt::AlignLeft | Qt::AlignVCenter));
    QCOMPARE(call.role, QPalette::WindowText);
    QVERIFY(call.enabled);

    // A title too long for its room is cut with an ellipsis.
    recorder.clear();
    option.title = QString(60, QLatin1Char('W'));
    recorder.drawControl(QStyle::CE_DockWidgetTitle, &option, &painter, nullptr);
    call = recorder.texts.first();
    QVERIFY(call.text.endsWith(QChar(0x2026)));
    QVERIFY(painter.fontMetrics().horizontalAdvance(call.text) <= call.rect.width());
    painter.end();

    CHECK_PIXEL_WITHIN(image, 199, 0, c.barStart, 4);
    CHECK_PIXEL_WITHIN(image, 199, 19, c.barStop, 2);
    // Nothing of the text beyond its rectangle.
    for (int x = 200 - fromRight; x < 200; ++x)
        QVERIFY(QColor(image.pixel(x, 10)).lightness() > 100);
}

void TestStyleControls::splitterInMainWindowIsNotPainted()
{
    QMainWindow window;
    auto *splitter = new QSplitter;
    window.setCentralWidget(splitter);
    QStyleOption option;
    option.rect = QRect(0, 0, 6, 40);
    option.state = QStyle::State_Enabled | QStyle::State_Horizontal | QStyle::State_MouseOver;
    const QImage image = paint(QStyle::CE_Splitter, option, splitter, QSize(6, 40));
    for (int x = 0; x < 6; ++x)
        QCOMPARE(image.pixel(x, 20), untouched().rgb());
}

void TestStyleControls::toolBoxTabShapes()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionToolBox option;
    option.rect = QRect(0, 0, 100, 21);

    option.state = QStyle::State_Enabled;
    QImage image = paint(QStyle::CE_ToolBoxTabShape, option, nullptr, QSize(100, 21));
    CHECK_PIXEL(image, 0, 0, c.edgeLight);
    CHECK_PIXEL(image, 99, 20, c.edgeLight);
    CHECK_PIXEL_WITHIN(image, 50, 1, c.barMid, 8);

    option.state = QStyle::State_Enabled | QStyle::State_MouseOver;
    image = paint(QStyle::CE_ToolBoxTabShape, option, nullptr, QSize(100, 21));
    CHECK_PIXEL(image, 0, 0, c.edgeDark);
    CHECK_PIXEL_WITHIN(image, 50, 1, c.hoverStart, 6);

    option.state = QStyle::State_Sunken;
    image = paint(QStyle::CE_ToolBoxTabShape, option, nullptr, QSize(100, 21));
    CHECK_PIXEL(image, 0, 0, c.edgeDark);
    CHECK_PIXEL_WITHIN(image, 50, 1, c.pressedStart, 8);

    // Hovered but disabled looks idle.
    option.state = QStyle::State_MouseOver;
    image = paint(QStyle::CE_ToolBoxTabShape, option, nullptr, QSize(100, 21));
    CHECK_PIXEL(image, 0, 0, c.edgeLight);
}

namespace {

QStyleOptionTab tabOption(const QRect &rect, QStyleOptionTab::TabPosition position, QStyle::State state,
                          QTabBar::Shape shape = QTabBar::RoundedNorth)
{
    QStyleOptionTab option;
    option.rect = rect;
    option.position = position;
    option.state = state;
    option.shape = shape;
    option.palette = QApplication::palette();
    return option;
}

} // namespace

void TestStyleControls::mainWindowTabShapes()
{
    const ThemeColours &c = m_style->colours();
    QMainWindow window;
    auto *tabs = new QTabWidget;
    tabs->addTab(new QWidget, QStringLiteral("One"));
    window.setCentralWidget(tabs);
    QTabBar *bar = tabs->tabBar();
    const QRect r(10, 0, 60, 20);
    const QSize size(90, 25);
    const QStyle::State selected = QStyle::State_Enabled | QStyle::State_Selected;

    // A selected first tab does not extend to the left.
    QImage image = paint(QStyle::CE_TabBarTabShape, tabOption(r, QStyleOptionTab::Beginning, selected), bar, size);
    CHECK_PIXEL(image, 9, 10, untouched());
    CHECK_PIXEL(image, 10, 10, c.edgeDark);
    CHECK_PIXEL(image, 71, 10, c.edgeDark);
    CHECK_PIXEL(image, 72, 10, untouched());
    CHECK_PIXEL(image, 30, 21, c.edgeDark); // bottom + 1, outlined one further
    CHECK_PIXEL(image, 30, 22, untouched());
    CHECK_PIXEL_WITHIN(image, 30, 1, c.hoverStart, 6);

    // A middle one extends 2 to the left and 1 to the right.
    image = paint(QStyle::CE_TabBarTabShape, tabOption(r, QStyleOptionTab::Middle, selected), bar, size);
    CHECK_PIXEL(image, 7, 10, untouched());
    CHECK_PIXEL(image, 8, 10, c.edgeDark);
    CHECK_PIXEL(image, 71, 10, c.edgeDark);

    // The last one is one narrower.
    image = paint(QStyle::CE_TabBarTabShape, tabOption(r, QStyleOptionTab::End, selected), bar, size);
    CHECK_PIXEL(image, 8, 10, c.edgeDark);
    CHECK_PIXEL(image, 69, 10, c.edgeDark);
    CHECK_PIXEL(image, 70, 10, untouched());

    // Idle tabs sit one lower and are clipped to their own rectangle, plus
    // one pixel to the right unless last.
    image = paint(QStyle::CE_TabBarTabShape, tabOption(r, QStyleOptionTab::Middle, QStyle::State_Enabled), bar,
                  size);
    CHECK_PIXEL(image, 30, 0, untouched());
    CHECK_PIXEL(image, 30, 1, c.edgeLight);
    CHECK_PIXEL(image, 10, 10, c.edgeLight);
    CHECK_PIXEL(image, 70, 10, c.edgeLight);
    CHECK_PIXEL(image, 30, 20, untouched());
    CHECK_PIXEL_WITHIN(image, 30, 2, c.barMid, 8);

    image = paint(QStyle::CE_TabBarTabShape, tabOption(r, QStyleOptionTab::End, QStyle::State_Enabled), bar, size);
    CHECK_PIXEL(image, 69, 10, c.edgeLight);
    CHECK_PIXEL(image, 70, 10, untouched());

    // Hovered.
    image = paint(QStyle::CE_TabBarTabShape,
                  tabOption(r, QStyleOptionTab::Middle, QStyle::State_Enabled | QStyle::State_MouseOver), bar, size);
    CHECK_PIXEL_WITHIN(image, 30, 2, c.hoverStart, 6);
    CHECK_PIXEL(image, 10, 10, c.edgeLight);
}

void TestStyleControls::southTabShapes()
{
    const ThemeColours &c = m_style->colours();
    QMainWindow window;
    auto *tabs = new QTabWidget;
    tabs->setTabPosition(QTabWidget::South);
    tabs->addTab(new QWidget, QStringLiteral("One"));
    window.setCentralWidget(tabs);
    QTabBar *bar = tabs->tabBar();
    const QRect r(10, 5, 60, 20);
    const QSize size(90, 30);

    // Selected: top - 1, bottom - 1; the gradient starts at the bottom.
    QImage image = paint(QStyle::CE_TabBarTabShape,
                         tabOption(r, QStyleOptionTab::Middle, QStyle::State_Enabled | QStyle::State_Selected,
                                   QTabBar::RoundedSouth),
                         bar, size);
    CHECK_PIXEL(image, 30, 4, c.edgeDark);
    CHECK_PIXEL(image, 30, 3, untouched());
    CHECK_PIXEL(image, 30, 24, c.edgeDark);
    CHECK_PIXEL(image, 30, 25, untouched());
    CHECK_PIXEL_WITHIN(image, 30, 23, c.hoverStart, 6);

    // Idle: top - 1 and bottom - 2, clipped above r.bottom.
    image = paint(QStyle::CE_TabBarTabShape,
                  tabOption(r, QStyleOptionTab::Middle, QStyle::State_Enabled, QTabBar::RoundedSouth), bar, size);
    CHECK_PIXEL(image, 30, 4, untouched());
    CHECK_PIXEL_WITHIN(image, 30, 5, c.barStop, 8);
    CHECK_PIXEL(image, 30, 23, c.edgeLight);
    CHECK_PIXEL(image, 30, 24, untouched());
    CHECK_PIXEL_WITHIN(image, 30, 22, c.barMid, 6);
}

void TestStyleControls::dialogTabsAreLeftToBase()
{
    QDialog dialog;
    auto *tabs = new QTabWidget(&dialog);
    tabs->addTab(new QWidget, QStringLiteral("One"));
    QTabBar *bar = tabs->tabBar();
    const QStyleOptionTab option =
        tabOption(QRect(10, 0, 60, 20), QStyleOptionTab::Middle, QStyle::State_Enabled | QStyle::State_Selected);

    const QImage ours = paint(QStyle::CE_TabBarTabShape, option, bar, QSize(90, 25));
    QImage base = pixelcheck::canvas(90, 25);
    {
        QPainter painter(&base);
        m_style->base()->drawControl(QStyle::CE_TabBarTabShape, &option, &painter, bar);
    }
    QCOMPARE(ours, base);
    QVERIFY(!pixelcheck::near(QColor(ours.pixel(30, 2)), m_style->colours().hoverStart, 6));
}

QTEST_MAIN(TestStyleControls)
#include "tst_stylecontrols.moc"
