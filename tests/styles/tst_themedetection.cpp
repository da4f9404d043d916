// Theme detection with injected theme-library answers, the one-time library
// resolution, the choice of base style and the colours of the four themes.

#include "fakethemelibrary.h"
#include "testsupport.h"
#include "themecolours.h"
#include "themedetection.h"
#include "windowsmodernstyle.h"

#include <QApplication>
#include <QtTest>

using fakethemelibrary::answers;

namespace {

ThemeFunctions bothFunctions()
{
    answers() = fakethemelibrary::Answers();
    ThemeFunctions functions;
    functions.isAppThemed = &fakethemelibrary::isAppThemed;
    functions.getCurrentThemeName = &fakethemelibrary::getCurrentThemeName;
    return functions;
}

ThemeFunctions findNothing()
{
    ++fakethemelibrary::resolverCalls;
    return ThemeFunctions();
}

QPalette classicPalette()
{
    QPalette palette;
    palette.setColor(QPalette::Button, QColor(0xD4, 0xD0, 0xC8));
    palette.setColor(QPalette::Base, QColor(0xFF, 0xFF, 0xFF));
    palette.setColor(QPalette::Text, QColor(0x00, 0x00, 0x00));
    palette.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    palette.setColor(QPalette::Light, QColor(0xF0, 0xF0, 0xF0));
    palette.setColor(QPalette::Highlight, QColor(0x0A, 0x24, 0x6A));
    return palette;
}

} // namespace

Q_DECLARE_METATYPE(WindowsTheme)

class TestThemeDetection : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { testsupport::isolate(); }

    void detectsThemeFromAnswers_data();
    void detectsThemeFromAnswers();
    void missingFunctionsGiveClassic();
    void asksForTheNamesWithFullBuffers();
    void unterminatedNamesStayInsideTheirBuffers();

    void resolvesTheLibraryOncePerProcess();
    void systemResolutionFindsNothingHere();

    void vistaBaseOnlyOnVistaAndLater();

    void fixedThemeColours_data();
    void fixedThemeColours();
    void aeroAndLunaDefaultShareColours();
    void classicColoursBlendThePalette();
    void classicHighlightGradientsAreFlat();

    void paletteIsPolishedIntoColours();
    void detectionRunsAgainAtEveryPalettePolish();
};

void TestThemeDetection::detectsThemeFromAnswers_data()
{
    QTest::addColumn<int>("appThemed");
    QTest::addColumn<long>("result");
    QTest::addColumn<QString>("themeFile");
    QTest::addColumn<QString>("colourName");
    QTest::addColumn<WindowsTheme>("expected");

    const QString luna = QStringLiteral("C:\\WINDOWS\\resources\\Themes\\Luna\\Luna.msstyles");
    const QString aero = QStringLiteral("C:\\Windows\\resources\\themes\\Aero\\Aero.msstyles");
    QTest::newRow("Luna HomeStead") << 1 << 0L << luna << "HomeStead" << WindowsTheme::Olive;
    QTest::newRow("Luna Metallic") << 1 << 0L << luna << "Metallic" << WindowsTheme::Silver;
    QTest::newRow("Luna NormalColor") << 1 << 0L << luna << "NormalColor" << WindowsTheme::Blue;
    QTest::newRow("Luna other scheme") << 1 << 0L << luna << "Pumpkin" << WindowsTheme::Blue;
    QTest::newRow("Luna empty scheme") << 1 << 0L << luna << "" << WindowsTheme::Blue;
    QTest::newRow("Luna scheme in other case") << 1 << 0L << luna << "homestead" << WindowsTheme::Blue;
    QTest::newRow("Aero") << 1 << 0L << aero << "NormalColor" << WindowsTheme::Blue;
    QTest::newRow("Aero HomeStead") << 1 << 0L << aero << "HomeStead" << WindowsTheme::Blue;
    QTest::newRow("luna in lower case") << 1 << 0L << "C:\\themes\\luna.msstyles" << "HomeStead"
                                        << WindowsTheme::Classic;
    QTest::newRow("aero in upper case") << 1 << 0L << "C:\\themes\\AERO.MSSTYLES" << "NormalColor"
                                        << WindowsTheme::Classic;
    QTest::newRow("Luna not at the end") << 1 << 0L << "C:\\Luna.msstyles.bak" << "Metallic"
                                         << WindowsTheme::Classic;
    QTest::newRow("other theme file") << 1 << 0L << "C:\\themes\\Royale.msstyles" << "NormalColor"
                                      << WindowsTheme::Classic;
    QTest::newRow("themes switched off") << 0 << 0L << luna << "Metallic" << WindowsTheme::Classic;
    QTest::newRow("name query fails") << 1 << long(0x80004005L) << luna << "Metallic" << WindowsTheme::Classic;
    QTest::newRow("name query fails negative") << 1 << -1L << aero << "" << WindowsTheme::Classic;
}

void TestThemeDetection::detectsThemeFromAnswers()
{
    QFETCH(int, appThemed);
    QFETCH(long, result);
    QFETCH(QString, themeFile);
    QFETCH(QString, colourName);
    QFETCH(WindowsTheme, expected);

    const ThemeFunctions functions = bothFunctions();
    answers().appThemed = appThemed;
    answers().themeNameResult = result;
    answers().themeFile = themeFile;
    answers().colourName = colourName;
    QCOMPARE(detectTheme(functions), expected);
}

void TestThemeDetection::missingFunctionsGiveClassic()
{
    ThemeFunctions functions = bothFunctions();
    answers().colourName = QStringLiteral("Metallic");
    QCOMPARE(detectTheme(functions), WindowsTheme::Silver);

    ThemeFunctions noThemeName = functions;
    noThemeName.getCurrentThemeName = nullptr;
    QCOMPARE(detectTheme(noThemeName), WindowsTheme::Classic);

    ThemeFunctions noIsThemed = functions;
    noIsThemed.isAppThemed = nullptr;
    QCOMPARE(detectTheme(noIsThemed), WindowsTheme::Classic);

    QCOMPARE(detectTheme(ThemeFunctions()), WindowsTheme::Classic);
}

void TestThemeDetection::asksForTheNamesWithFullBuffers()
{
    const ThemeFunctions functions = bothFunctions();
    detectTheme(functions);
    QCOMPARE(answers().themeFileCapacity, 256);
    QCOMPARE(answers().colourNameCapacity, 256);
    QVERIFY(!answers().sizeBufferGiven);
    QCOMPARE(answers().sizeCapacity, 0);
}

namespace {

long TARVO_THEME_API fillWithoutTerminator(wchar_t *themeFile, int themeFileCapacity, wchar_t *colourName,
                                           int colourNameCapacity, wchar_t *, int)
{
    for (int i = 0; i < themeFileCapacity; ++i)
        themeFile[i] = L'x';
    const wchar_t luna[] = L"Luna.msstyles";
    const int lunaLength = int(sizeof(luna) / sizeof(luna[0])) - 1;
    for (int i = 0; i < lunaLength; ++i)
        themeFile[themeFileCapacity - lunaLength + i] = luna[i];
    for (int i = 0; i < colourNameCapacity; ++i)
        colourName[i] = L'y';
    return 0;
}

} // namespace

void TestThemeDetection::unterminatedNamesStayInsideTheirBuffers()
{
    // A theme file name that fills the whole buffer is read up to the
    // buffer's end and no further.
    ThemeFunctions functions = bothFunctions();
    functions.getCurrentThemeName = &fillWithoutTerminator;
    QCOMPARE(detectTheme(functions), WindowsTheme::Blue);
}

void TestThemeDetection::resolvesTheLibraryOncePerProcess()
{
    fakethemelibrary::resolverCalls = 0;
    fakethemelibrary::useLunaBlue();
    QVERIFY(!ThemeLibrary::isResolved());

    WindowsModernStyle first;
    QVERIFY(ThemeLibrary::isResolved());
    QCOMPARE(fakethemelibrary::resolverCalls, 1);

    WindowsModernStyle second;
    QCOMPARE(fakethemelibrary::resolverCalls, 1);

    // Both use the one resolution.
    QPalette palette = QApplication::palette();
    second.polish(palette);
    QCOMPARE(second.theme(), WindowsTheme::Blue);
}

void TestThemeDetection::systemResolutionFindsNothingHere()
{
#ifdef Q_OS_WIN
    QSKIP("The theme library exists on Windows");
#else
    const ThemeFunctions found = ThemeLibrary::resolveFromSystem();
    QVERIFY(!found.isAppThemed);
    QVERIFY(!found.getCurrentThemeName);

    ThemeLibrary::setResolverForTesting(nullptr); // back to the real resolver
    WindowsModernStyle style;
    QPalette palette = QApplication::palette();
    style.polish(palette);
    QCOMPARE(style.theme(), WindowsTheme::Classic);
#endif
}

void TestThemeDetection::vistaBaseOnlyOnVistaAndLater()
{
    using V = QOperatingSystemVersion;
    QVERIFY(!WindowsModernStyle::usesVistaBase(V(V::Windows, 5, 1)));
    QVERIFY(!WindowsModernStyle::usesVistaBase(V(V::Windows, 5, 2)));
    QVERIFY(WindowsModernStyle::usesVistaBase(V(V::Windows, 6, 0)));
    QVERIFY(WindowsModernStyle::usesVistaBase(V(V::Windows, 6, 1)));
    QVERIFY(WindowsModernStyle::usesVistaBase(V(V::Windows, 10, 0)));
    QVERIFY(!WindowsModernStyle::usesVistaBase(V(V::MacOS, 13, 0)));
    QVERIFY(!WindowsModernStyle::usesVistaBase(V(V::Unknown, 0, 0)));

#ifndef Q_OS_WIN
    WindowsModernStyle style;
    QVERIFY(style.base());
    QCOMPARE(style.base()->name().toLower(), QStringLiteral("windows"));
    QCOMPARE(style.base()->proxy(), &style);
#endif
}

void TestThemeDetection::fixedThemeColours_data()
{
    QTest::addColumn<WindowsTheme>("theme");
    QTest::addColumn<QList<uint>>("expected");

    QTest::newRow("Blue") << WindowsTheme::Blue
                          << QList<uint>{0x9EBEF5, 0xC4DAFA, 0x002D96, 0xF6F6F6, 0xE3EFFF, 0x7BA4E0, 0xE3EFFF,
                                         0xCBE1FC, 0x7BA4E0, 0x274176, 0xFFFFFF, 0x6A8CCB, 0xF1F9FF, 0x000080,
                                         0xFFEEBE, 0xFFE1AC, 0xFFC87D, 0xFFC87D, 0xFFB464, 0xFF9646, 0xFE803E,
                                         0xFFB16D, 0xFFDF9A, 0x445686, 0x6A8CCB};
    QTest::newRow("Silver") << WindowsTheme::Silver
                            << QList<uint>{0xD7D7E5, 0xF3F3F7, 0x7C7C94, 0xFDFAFF, 0xE8E9F2, 0xACAAC2, 0xFCFCFC,
                                           0xE8E9F2, 0xACAAC2, 0x545475, 0xFFFFFF, 0x6E6D8F, 0xFFFFFF, 0x4B4B6F,
                                           0xFFEEBE, 0xFFE1AC, 0xFFC87D, 0xFFC87D, 0xFFB464, 0xFF9646, 0xFE803E,
                                           0xFFB16D, 0xFFDF9A, 0x6E6D8F, 0x9190AD};
    QTest::newRow("Olive") << WindowsTheme::Olive
                           << QList<uint>{0xD9D9A7, 0xF2F1E4, 0x758D5E, 0xF4F4EE, 0xEDF0D6, 0xB5C48F, 0xFFFFED,
                                          0xCEDCA7, 0xB5C48F, 0x515E33, 0xFFFFFF, 0x608058, 0xF4F7DE, 0x3F5D38,
                                          0xFFEEBE, 0xFFE1AC, 0xFFC87D, 0xFFC87D, 0xFFB464, 0xFF9646, 0xFE803E,
                                          0xFFB16D, 0xFFDF9A, 0x608058, 0x97A67B};
}

void TestThemeDetection::fixedThemeColours()
{
    QFETCH(WindowsTheme, theme);
    QFETCH(QList<uint>, expected);
    QCOMPARE(expected.size(), ThemeColours::Count);

    // The fixed themes do not look at the palette.
    const ThemeColours colours = ThemeColours::forTheme(theme, classicPalette());
    for (int i = 0; i < ThemeColours::Count; ++i) {
        QVERIFY2(colours.at(i).isValid(), qPrintable(QString::number(i)));
        QCOMPARE(colours.at(i).alpha(), 255);
        QCOMPARE(colours.at(i).rgb() & 0xFFFFFFu, expected.at(i));
    }
    QCOMPARE(colours.at(0), colours.windowGradientStart);
    QCOMPARE(colours.at(13), colours.hotFrame);
    QCOMPARE(colours.at(24), colours.edgeLight);
}

void TestThemeDetection::aeroAndLunaDefaultShareColours()
{
    QCOMPARE(themeFromNames(QStringLiteral("X\\Aero.msstyles"), QStringLiteral("NormalColor")),
             themeFromNames(QStringLiteral("X\\Luna.msstyles"), QStringLiteral("NormalColor")));
}

void TestThemeDetection::classicColoursBlendThePalette()
{
    const QPalette palette = classicPalette();

    // The worked example: blend(Button #D4D0C8, Base #FFFFFF, 0.205).
    const QColor stop = paletteBlend(palette, QPalette::Button, QPalette::Base, 0.205);
    QCOMPARE(stop, QColor(246, 245, 244));

    const ThemeColours c = ThemeColours::forTheme(WindowsTheme::Classic, palette);
    QCOMPARE(c.windowGradientStart, QColor(0xD4, 0xD0, 0xC8));
    QCOMPARE(c.windowGradientStop, QColor(246, 245, 244));
    // 0.2 * 0 + 0.8 * 128 + 0.5 = 102.9
    QCOMPARE(c.menuFrame, QColor(102, 102, 102));
    // 0.143 * 212 + 0.857 * 255 + 0.5 = 249.35; 0.143 * 208 + ... = 248.78; 0.143 * 200 + ... = 247.64
    QCOMPARE(c.menuFill, QColor(249, 248, 247));
    QCOMPARE(c.openTitleTop, QColor(246, 246, 244));
    QCOMPARE(c.openTitleBottom, QColor(234, 232, 228));
    QCOMPARE(c.barStart, c.openTitleTop);
    QCOMPARE(c.barMid, c.openTitleBottom);
    QCOMPARE(c.barStop, QColor(0xD4, 0xD0, 0xC8));
    // 0.75 * 128 + 0.25 * 255 + 0.5 = 160.25
    QCOMPARE(c.gripDark, QColor(160, 160, 160));
    QCOMPARE(c.gripLight, QColor(0xF0, 0xF0, 0xF0));
    // 0.7 * 128 + 0.3 * 255 + 0.5 = 166.6
    QCOMPARE(c.dividerDark, QColor(166, 166, 166));
    QCOMPARE(c.dividerLight, QColor(0xF0, 0xF0, 0xF0));
    QCOMPARE(c.hotFrame, QColor(0x0A, 0x24, 0x6A));
    // 0.3 * (10, 36, 106) + 0.7 * 255 + 0.5
    QCOMPARE(c.hoverStart, QColor(182, 189, 210));
    // 0.15 * (10, 36, 106) + 0.85 * 255 + 0.5
    QCOMPARE(c.checkedStart, QColor(218, 222, 233));
    // 0.45 * (10, 36, 106) + 0.55 * 255 + 0.5
    QCOMPARE(c.pressedStart, QColor(145, 156, 188));
    QCOMPARE(c.edgeDark, QColor(0x80, 0x80, 0x80));
    // 0.8 * 128 + 0.2 * 255 + 0.5 = 153.9
    QCOMPARE(c.edgeLight, QColor(153, 153, 153));
    for (int i = 0; i < ThemeColours::Count; ++i)
        QCOMPARE(c.at(i).alpha(), 255);
}

void TestThemeDetection::classicHighlightGradientsAreFlat()
{
    const ThemeColours c = ThemeColours::forTheme(WindowsTheme::Classic, classicPalette());
    QCOMPARE(c.hoverMid, c.hoverStart);
    QCOMPARE(c.hoverStop, c.hoverStart);
    QCOMPARE(c.checkedMid, c.checkedStart);
    QCOMPARE(c.checkedStop, c.checkedStart);
    QCOMPARE(c.pressedMid, c.pressedStart);
    QCOMPARE(c.pressedStop, c.pressedStart);
}

void TestThemeDetection::paletteIsPolishedIntoColours()
{
    ThemeLibrary::setResolverForTesting(&findNothing);
    WindowsModernStyle style;
    QVERIFY(!style.colours().windowGradientStart.isValid());
    QCOMPARE(style.theme(), WindowsTheme::Classic);

    // The classic colours follow every palette the application is given,
    // at once, as the application itself polishes it.
    const QPalette saved = QApplication::palette();
    QApplication::setStyle(new WindowsModernStyle);
    auto *installed = qobject_cast<WindowsModernStyle *>(QApplication::style());
    QVERIFY(installed);
    QApplication::setPalette(classicPalette());
    QCOMPARE(installed->theme(), WindowsTheme::Classic);
    QCOMPARE(installed->colours().windowGradientStop, QColor(246, 245, 244));
    QPalette dark = classicPalette();
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    QApplication::setPalette(dark);
    QCOMPARE(installed->colours().windowGradientStart, QColor(0x30, 0x30, 0x30));
    QCOMPARE(installed->colours().barStop, QColor(0x30, 0x30, 0x30));
    QApplication::setPalette(saved);

    // The palette itself is left as the base style polishes it.
    QPalette polished = classicPalette();
    const QPalette before = polished;
    style.polish(polished);
    QCOMPARE(style.colours().windowGradientStop, QColor(246, 245, 244));
    QCOMPARE(polished.color(QPalette::Button), before.color(QPalette::Button));
}

void TestThemeDetection::detectionRunsAgainAtEveryPalettePolish()
{
    fakethemelibrary::useLunaBlue();
    WindowsModernStyle style;
    QPalette palette = QApplication::palette();

    style.polish(palette);
    QCOMPARE(style.theme(), WindowsTheme::Blue);
    QCOMPARE(style.colours().menuFrame, QColor(0x002D96));

    answers().colourName = QStringLiteral("HomeStead");
    style.polish(palette);
    QCOMPARE(style.theme(), WindowsTheme::Olive);
    QCOMPARE(style.colours().menuFrame, QColor(0x758D5E));

    answers().appThemed = 0;
    style.polish(palette);
    QCOMPARE(style.theme(), WindowsTheme::Classic);
    QCOMPARE(style.colours().barStop, QApplication::palette().color(QPalette::Button));
}

QTEST_MAIN(TestThemeDetection)
#include "tst_themedetection.moc"
