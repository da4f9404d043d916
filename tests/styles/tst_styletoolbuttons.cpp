// Tool-bar buttons: the panel chosen for each state, the label, the menu
// part and the menu arrow; buttons elsewhere are the base style's.

#include "pixelcheck.h"
#include "stylefixture.h"
#include "testsupport.h"

#include <QDialog>
#include <QPainter>
#include <QStyleOption>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>

using pixelcheck::untouched;
using stylefixture::RecordingStyle;

namespace {

enum Panel { NoPanel, Hover, Checked, Pressed };

} // namespace

Q_DECLARE_METATYPE(Panel)

class TestStyleToolButtons : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_bar; }

    void panelForState_data();
    void panelForState();
    void verticalToolBarPanelRunsAcross();
    void labelIsInsetByTheFrameWidth();
    void pressedMenuPart();
    void pressedButtonPart();
    void menuArrowWithoutMenuPart();
    void buttonOutsideToolBarIsBaseStyle();

private:
    QStyleOptionToolButton buttonOption(QStyle::State state) const;
    QImage paint(const QStyleOptionToolButton &option, const QWidget *widget, QStyle *style = nullptr) const;

    WindowsModernStyle *m_style = nullptr;
    QToolBar *m_bar = nullptr;
    QToolButton *m_button = nullptr;
};

void TestStyleToolButtons::initTestCase()
{
    testsupport::isolate();
    m_style = stylefixture::installBlueStyle();
    m_bar = new QToolBar;
    m_button = new QToolButton(m_bar);
}

QStyleOptionToolButton TestStyleToolButtons::buttonOption(QStyle::State state) const
{
    QStyleOptionToolButton option;
    option.initFrom(m_button);
    option.rect = QRect(0, 0, 24, 24);
    option.state = state;
    option.subControls = QStyle::SC_ToolButton;
    option.activeSubControls = QStyle::SC_None;
    option.toolButtonStyle = Qt::ToolButtonIconOnly;
    return option;
}

QImage TestStyleToolButtons::paint(const QStyleOptionToolButton &option, const QWidget *widget,
                                   QStyle *style) const
{
    QImage image = pixelcheck::canvas(option.rect.width() + 10, option.rect.height());
    QPainter painter(&image);
    (style ? style : m_style)->drawComplexControl(QStyle::CC_ToolButton, &option, &painter, widget);
    return image;
}

void TestStyleToolButtons::panelForState_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("active");
    QTest::addColumn<Panel>("panel");
    using S = QStyle;
    const int enabled = S::State_Enabled;
    QTest::newRow("idle") << enabled << int(S::SC_None) << NoPanel;
    QTest::newRow("hovered") << (enabled | S::State_MouseOver) << int(S::SC_None) << Hover;
    QTest::newRow("checked") << (enabled | S::State_On) << int(S::SC_None) << Checked;
    QTest::newRow("checked and hovered") << (enabled | S::State_On | S::State_MouseOver) << int(S::SC_None)
                                         << Pressed;
    QTest::newRow("pressed") << (enabled | S::State_Sunken | S::State_MouseOver) << int(S::SC_ToolButton)
                             << Pressed;
    QTest::newRow("sunken without active part") << (enabled | S::State_Sunken) << int(S::SC_None) << NoPanel;
    QTest::newRow("hovered but disabled") << int(S::State_MouseOver) << int(S::SC_None) << NoPanel;
    QTest::newRow("checked and disabled") << int(S::State_On) << int(S::SC_None) << Checked;
    QTest::newRow("checked, hovered, disabled") << int(S::State_On | S::State_MouseOver) << int(S::SC_None)
                                                << Checked;
}

void TestStyleToolButtons::panelForState()
{
    QFETCH(int, state);
    QFETCH(int, active);
    QFETCH(Panel, panel);
    const ThemeColours &c = m_style->colours();

    QStyleOptionToolButton option = buttonOption(QStyle::State(state));
    option.activeSubControls = QStyle::SubControls(active);
    const QImage image = paint(option, m_button);

    // The panel is the outline of b.adjusted(0, 0, -1, -1): 0 to 23.
    if (panel == NoPanel) {
        CHECK_PIXEL(image, 0, 0, untouched());
        CHECK_PIXEL(image, 2, 11, untouched());
        return;
    }
    CHECK_PIXEL(image, 0, 0, c.hotFrame);
    CHECK_PIXEL(image, 23, 23, c.hotFrame);
    CHECK_PIXEL(image, 24, 12, untouched());
    const QColor mid = panel == Hover ? c.hoverMid : panel == Checked ? c.checkedMid : c.pressedMid;
    const QColor stop = panel == Hover ? c.hoverStop : panel == Checked ? c.checkedStop : c.pressedStop;
    CHECK_PIXEL(image, 2, 11, mid);
    CHECK_PIXEL_WITHIN(image, 2, 22, stop, 10);
}

void TestStyleToolButtons::verticalToolBarPanelRunsAcross()
{
    const ThemeColours &c = m_style->colours();
    QToolBar bar;
    bar.setOrientation(Qt::Vertical);
    auto *button = new QToolButton(&bar);
    const QImage image = paint(buttonOption(QStyle::State_Enabled | QStyle::State_MouseOver), button);
    CHECK_PIXEL(image, 11, 2, c.hoverMid);
    CHECK_PIXEL(image, 11, 20, c.hoverMid);
    CHECK_PIXEL_WITHIN(image, 1, 11, c.hoverStart, 6);
}

void TestStyleToolButtons::labelIsInsetByTheFrameWidth()
{
    // The label option is recorded through the arrow it draws.
    RecordingStyle recorder;
    QStyleOptionToolButton option = buttonOption(QStyle::State_Enabled);
    option.arrowType = Qt::DownArrow;
    option.toolButtonStyle = Qt::ToolButtonIconOnly;
    option.features = QStyleOptionToolButton::Arrow;
    QImage image = pixelcheck::canvas(34, 24);
    QPainter painter(&image);
    recorder.drawComplexControl(QStyle::CC_ToolButton, &option, &painter, m_button);
    const auto arrows = recorder.primitivesOf(QStyle::PE_IndicatorArrowDown);
    QCOMPARE(arrows.size(), 1);
    const int fw = recorder.pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_button);
    const QRect labelRect = QRect(0, 0, 24, 24).adjusted(fw, fw, -fw, -fw);
    QVERIFY2(labelRect.contains(arrows.first().rect), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                                   .arg(arrows.first().rect.x())
                                                                   .arg(arrows.first().rect.y())
                                                                   .arg(arrows.first().rect.width())
                                                                   .arg(arrows.first().rect.height())));
}

void TestStyleToolButtons::pressedMenuPart()
{
    const ThemeColours &c = m_style->colours();
    QStyleOptionToolButton option =
        buttonOption(QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_MouseOver);
    option.rect = QRect(0, 0, 36, 24);
    option.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
    option.activeSubControls = QStyle::SC_ToolButtonMenu;
    option.features = QStyleOptionToolButton::MenuButtonPopup | QStyleOptionToolButton::HasMenu;

    RecordingStyle recorder;
    QImage image = pixelcheck::canvas(46, 24);
    {
        QPainter painter(&image);
        recorder.drawComplexControl(QStyle::CC_ToolButton, &option, &painter, m_button);
    }
    // The main part shows the hover gradient ...
    const QRect button = recorder.subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButton, m_button);
    CHECK_PIXEL(image, button.left() + 2, 11, c.hoverMid);
    // ... and the menu part is asked to look pressed.
    const auto menus = recorder.primitivesOf(QStyle::PE_IndicatorButtonDropDown);
    QCOMPARE(menus.size(), 1);
    QCOMPARE(menus.first().rect,
             recorder.subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, m_button));
    QVERIFY(menus.first().state & QStyle::State_Sunken);
    const QRect menu = menus.first().rect;
    CHECK_PIXEL(image, menu.left(), 11, c.pressedMid);
    // No extra arrow besides the menu part's own.
    QCOMPARE(recorder.primitivesOf(QStyle::PE_IndicatorArrowDown).size(), 1);
}

void TestStyleToolButtons::pressedButtonPart()
{
    QStyleOptionToolButton option =
        buttonOption(QStyle::State_Enabled | QStyle::State_Sunken | QStyle::State_MouseOver);
    option.rect = QRect(0, 0, 36, 24);
    option.subControls = QStyle::SC_ToolButton | QStyle::SC_ToolButtonMenu;
    option.activeSubControls = QStyle::SC_ToolButton;
    option.features = QStyleOptionToolButton::MenuButtonPopup | QStyleOptionToolButton::HasMenu;

    RecordingStyle recorder;
    QImage image = pixelcheck::canvas(46, 24);
    QPainter painter(&image);
    recorder.drawComplexControl(QStyle::CC_ToolButton, &option, &painter, m_button);
    const auto menus = recorder.primitivesOf(QStyle::PE_IndicatorButtonDropDown);
    QCOMPARE(menus.size(), 1);
    QVERIFY(menus.first().state & QStyle::State_Sunken);
    QVERIFY(menus.first().state & QStyle::State_MouseOver);

    // Without a press the menu part is not sunken.
    recorder.clear();
    option.state = QStyle::State_Enabled | QStyle::State_MouseOver;
    recorder.drawComplexControl(QStyle::CC_ToolButton, &option, &painter, m_button);
    QVERIFY(!(recorder.primitivesOf(QStyle::PE_IndicatorButtonDropDown).first().state & QStyle::State_Sunken));
}

void TestStyleToolButtons::menuArrowWithoutMenuPart()
{
    RecordingStyle recorder;
    QStyleOptionToolButton option = buttonOption(QStyle::State_Enabled);
    option.features = QStyleOptionToolButton::HasMenu;
    QImage image = pixelcheck::canvas(34, 24);
    QPainter painter(&image);
    recorder.drawComplexControl(QStyle::CC_ToolButton, &option, &painter, m_button);
    const auto arrows = recorder.primitivesOf(QStyle::PE_IndicatorArrowDown);
    QCOMPARE(arrows.size(), 1);
    // x = right - 12 + 4, y = height - 12 + 4, 7 square.
    QCOMPARE(arrows.first().rect, QRect(15, 16, 7, 7));
    QVERIFY(recorder.primitivesOf(QStyle::PE_IndicatorButtonDropDown).isEmpty());
}

void TestStyleToolButtons::buttonOutsideToolBarIsBaseStyle()
{
    QDialog dialog;
    auto *button = new QToolButton(&dialog);
    QStyleOptionToolButton option = buttonOption(QStyle::State_Enabled | QStyle::State_On);
    option.initFrom(button);
    option.rect = QRect(0, 0, 24, 24);
    option.state = QStyle::State_Enabled | QStyle::State_On | QStyle::State_MouseOver;
    option.subControls = QStyle::SC_ToolButton;

    const QImage ours = paint(option, button);
    const QImage base = paint(option, button, m_style->base());
    QCOMPARE(ours, base);
    QVERIFY(!pixelcheck::near(QColor(ours.pixel(0, 0)), m_style->colours().hotFrame, 10));
}

QTEST_MAIN(TestStyleToolButtons)
#include "tst_styletoolbuttons.moc"
