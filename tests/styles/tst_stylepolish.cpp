// Polishing and unpolishing of single widgets.

#include "testsupport.h"
#include "windowsmodernstyle.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBox>
#include <QtTest>

class TestStylePolish : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void mainWindowGetsStyledBackground();
    void toolBoxAndItsParts();
    void mainWindowTabBarsGetHover_data();
    void mainWindowTabBarsGetHover();
    void plainButtonIsLeftAlone();
    void unpolishClearsAttributesOnly();
};

namespace {

QAbstractButton *firstToolBoxButton(QToolBox *box)
{
    for (QObject *child : box->children()) {
        if (auto *button = qobject_cast<QAbstractButton *>(child))
            return button;
    }
    return nullptr;
}

} // namespace

void TestStylePolish::mainWindowGetsStyledBackground()
{
    WindowsModernStyle style;
    QMainWindow window;
    QVERIFY(!window.testAttribute(Qt::WA_StyledBackground));
    style.polish(&window);
    QVERIFY(window.testAttribute(Qt::WA_StyledBackground));
}

void TestStylePolish::toolBoxAndItsParts()
{
    WindowsModernStyle style;
    QToolBox box;
    auto *page = new QLabel(QStringLiteral("page"));
    box.addItem(page, QStringLiteral("First"));
    QAbstractButton *button = firstToolBoxButton(&box);
    QVERIFY(button);
    auto *scrollArea = qobject_cast<QScrollArea *>(page->parentWidget()->parentWidget());
    QVERIFY(scrollArea);
    QWidget *viewport = page->parentWidget();

    style.polish(&box);
    QVERIFY(box.testAttribute(Qt::WA_StyledBackground));
    const QMargins margins = box.layout()->contentsMargins();
    QCOMPARE(margins, QMargins(2, 2, 2, 2));

    style.polish(button);
    QVERIFY(button->testAttribute(Qt::WA_Hover));
    QCOMPARE(button->sizePolicy().controlType(), QSizePolicy::PushButton);

    style.polish(page);
    QVERIFY(page->testAttribute(Qt::WA_StyledBackground));
    // Only the page itself is a tool-box page.
    style.polish(viewport);
    style.polish(scrollArea);
    QVERIFY(!viewport->testAttribute(Qt::WA_StyledBackground));
    QVERIFY(!scrollArea->testAttribute(Qt::WA_StyledBackground));
}

void TestStylePolish::mainWindowTabBarsGetHover_data()
{
    QTest::addColumn<bool>("inMainWindow");
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("expected");
    QTest::newRow("main window north") << true << int(QTabWidget::North) << true;
    QTest::newRow("main window south") << true << int(QTabWidget::South) << true;
    QTest::newRow("main window west") << true << int(QTabWidget::West) << false;
    QTest::newRow("dialog north") << false << int(QTabWidget::North) << false;
}

void TestStylePolish::mainWindowTabBarsGetHover()
{
    QFETCH(bool, inMainWindow);
    QFETCH(int, position);
    QFETCH(bool, expected);

    WindowsModernStyle style;
    QMainWindow window;
    QDialog dialog;
    auto *tabs = new QTabWidget;
    tabs->setTabPosition(QTabWidget::TabPosition(position));
    tabs->addTab(new QWidget, QStringLiteral("One"));
    if (inMainWindow)
        window.setCentralWidget(tabs);
    else
        (new QVBoxLayout(&dialog))->addWidget(tabs);

    QTabBar *bar = tabs->tabBar();
    bar->setAttribute(Qt::WA_Hover, false);
    style.polish(bar);
    QCOMPARE(bar->testAttribute(Qt::WA_Hover), expected);
}

void TestStylePolish::plainButtonIsLeftAlone()
{
    WindowsModernStyle style;
    QDialog dialog;
    auto *button = new QPushButton(QStringLiteral("OK"), &dialog);
    const QSizePolicy before = button->sizePolicy();
    const bool hoverBefore = button->testAttribute(Qt::WA_Hover);

    style.polish(button);
    QCOMPARE(button->sizePolicy(), before);
    QCOMPARE(button->testAttribute(Qt::WA_Hover), hoverBefore);
    QVERIFY(!button->testAttribute(Qt::WA_StyledBackground));
}

void TestStylePolish::unpolishClearsAttributesOnly()
{
    WindowsModernStyle style;
    QMainWindow window;
    auto *box = new QToolBox;
    auto *page = new QLabel(QStringLiteral("page"));
    box->addItem(page, QStringLiteral("First"));
    window.setCentralWidget(box);
    QAbstractButton *button = firstToolBoxButton(box);

    const QList<QWidget *> widgets = {&window, box, button, page};
    for (QWidget *w : widgets)
        style.polish(w);
    for (QWidget *w : widgets)
        style.unpolish(w);

    QVERIFY(!window.testAttribute(Qt::WA_StyledBackground));
    QVERIFY(!box->testAttribute(Qt::WA_StyledBackground));
    QVERIFY(!page->testAttribute(Qt::WA_StyledBackground));
    QVERIFY(!button->testAttribute(Qt::WA_Hover));
    // Neither the margin nor the control type is restored.
    QCOMPARE(box->layout()->contentsMargins(), QMargins(2, 2, 2, 2));
    QCOMPARE(button->sizePolicy().controlType(), QSizePolicy::PushButton);
}

QTEST_MAIN(TestStylePolish)
#include "tst_stylepolish.moc"
