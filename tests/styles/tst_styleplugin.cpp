// The static style plug-in: linked the way the application links it (which
// imports it), it lets the style factory create the style by its key in any
// case, and is registered once.

#include "testsupport.h"
#include "windowsmodernstyle.h"
#include "windowsmodernstyleplugin.h"

#include <QApplication>
#include <QPluginLoader>
#include <QStyleFactory>
#include <QtTest>

#include <memory>

class TestStylePlugin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void factoryListsTheKey();
    void factoryCreatesForAnyCase_data();
    void factoryCreatesForAnyCase();
    void applicationInstallsTheStyleByKey();
    void pluginAnswersOnlyItsKey();
    void staticInstanceIsOneObject();
};

void TestStylePlugin::factoryListsTheKey()
{
    QVERIFY2(QStyleFactory::keys().count(QStringLiteral("WindowsModernStyle")) == 1,
             qPrintable(QStyleFactory::keys().join(QLatin1Char(','))));
}

void TestStylePlugin::factoryCreatesForAnyCase_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("lower") << "windowsmodernstyle";
    QTest::newRow("camel") << "WindowsModernStyle";
    QTest::newRow("upper") << "WINDOWSMODERNSTYLE";
    QTest::newRow("mixed") << "wInDoWsMoDeRnStYlE";
}

void TestStylePlugin::factoryCreatesForAnyCase()
{
    QFETCH(QString, key);
    std::unique_ptr<QStyle> style(QStyleFactory::create(key));
    QVERIFY(style);
    QVERIFY(qobject_cast<WindowsModernStyle *>(style.get()));
    QCOMPARE(style->metaObject()->className(), "WindowsModernStyle");
}

void TestStylePlugin::applicationInstallsTheStyleByKey()
{
    // What start-up does.
    const QStringList keys = {QStringLiteral("windowsmodernstyle"), QStringLiteral("WindowsModernStyle"),
                              QStringLiteral("WINDOWSMODERNSTYLE")};
    for (const QString &key : keys) {
        QApplication::setStyle(QStringLiteral("fusion"));
        QVERIFY(!qobject_cast<WindowsModernStyle *>(QApplication::style()));
        QVERIFY(QApplication::setStyle(key));
        auto *style = qobject_cast<WindowsModernStyle *>(QApplication::style());
        QVERIFY2(style, qPrintable(key));
        // Installing polishes the application palette, which fills the colours.
        QVERIFY(style->colours().windowGradientStart.isValid());
        QCOMPARE(style->colours().barStop, QApplication::palette().color(QPalette::Button));
    }
}

void TestStylePlugin::pluginAnswersOnlyItsKey()
{
    WindowsModernStylePlugin plugin;
    QCOMPARE(plugin.keys(), QStringList{QStringLiteral("WindowsModernStyle")});
    QVERIFY(!plugin.create(QStringLiteral("windows")));
    QVERIFY(!plugin.create(QStringLiteral("windowsmodernstyle2")));
    QVERIFY(!plugin.create(QString()));
    std::unique_ptr<QStyle> style(plugin.create(QStringLiteral("WindowsModernStyle")));
    QVERIFY(qobject_cast<WindowsModernStyle *>(style.get()));
}

void TestStylePlugin::staticInstanceIsOneObject()
{
    const QObjectList instances = QPluginLoader::staticInstances();
    QObject *found = nullptr;
    for (QObject *instance : instances) {
        if (qobject_cast<WindowsModernStylePlugin *>(instance))
            found = instance;
    }
    QVERIFY(found);
    const QObjectList again = QPluginLoader::staticInstances();
    QVERIFY(again.contains(found));
}

QTEST_MAIN(TestStylePlugin)
#include "tst_styleplugin.moc"
