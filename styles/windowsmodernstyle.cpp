#include "windowsmodernstyle.h"

#include "modernwidgetkinds.h"
#include "themedetection.h"
#include "themelibrary.h"

#include <QApplication>
#include <QLayout>
#include <QMainWindow>
#include <QStyleFactory>
#include <QToolBox>

namespace {

QStyle *createWindowsStyle()
{
    if (QStyle *style = QStyleFactory::create(QStringLiteral("windows")))
        return style;
    return QStyleFactory::create(QStringLiteral("fusion"));
}

} // namespace

WindowsModernStyle::WindowsModernStyle()
    : QProxyStyle(static_cast<QStyle *>(nullptr))
{
    // Both possible base styles call back into this style. The proxy owns
    // and deletes the base it holds, so the Vista style passes through it
    // first and is then kept as an ordinary child.
    m_vistaStyle = QStyleFactory::create(QStringLiteral("windowsvista"));
    if (m_vistaStyle) {
        setBaseStyle(m_vistaStyle);
        m_vistaStyle->setParent(nullptr);
    }
    m_windowsStyle = createWindowsStyle();
    setBaseStyle(m_windowsStyle);
    if (m_vistaStyle)
        m_vistaStyle->setParent(this);

    ThemeLibrary::ensureResolved();
}

WindowsModernStyle::~WindowsModernStyle() = default;

bool WindowsModernStyle::usesVistaBase(const QOperatingSystemVersion &version)
{
    return version.type() == QOperatingSystemVersion::Windows
        && version >= QOperatingSystemVersion(QOperatingSystemVersion::Windows, 6, 0);
}

QStyle *WindowsModernStyle::base() const
{
    if (m_vistaStyle && usesVistaBase(QOperatingSystemVersion::current()))
        return m_vistaStyle;
    return m_windowsStyle;
}

void WindowsModernStyle::polish(QPalette &palette)
{
    base()->polish(palette);
    m_theme = detectTheme(ThemeLibrary::functions());
    // The classic colours come from the palette being polished: while this
    // runs, the application still answers with the palette before it.
    m_colours = ThemeColours::forTheme(m_theme, palette);
}

void WindowsModernStyle::polish(QApplication *application)
{
    base()->polish(application);
    // The application polishes only its base palette; one set with
    // setPalette() is announced to it afterwards, and followed from there.
    application->installEventFilter(this);
    m_colours = ThemeColours::forTheme(m_theme, application->palette());
}

void WindowsModernStyle::unpolish(QApplication *application)
{
    application->removeEventFilter(this);
    base()->unpolish(application);
}

bool WindowsModernStyle::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && watched == QCoreApplication::instance())
        m_colours = ThemeColours::forTheme(m_theme, QApplication::palette());
    return QProxyStyle::eventFilter(watched, event);
}

void WindowsModernStyle::polish(QWidget *widget)
{
    if (qobject_cast<QMainWindow *>(widget))
        widget->setAttribute(Qt::WA_StyledBackground);
    if (qobject_cast<QToolBox *>(widget)) {
        widget->setAttribute(Qt::WA_StyledBackground);
        if (QLayout *layout = widget->layout())
            layout->setContentsMargins(2, 2, 2, 2);
    }
    if (isToolBoxButton(widget)) {
        widget->setAttribute(Qt::WA_Hover);
        QSizePolicy policy = widget->sizePolicy();
        policy.setControlType(QSizePolicy::PushButton);
        widget->setSizePolicy(policy);
    }
    if (isToolBoxPage(widget))
        widget->setAttribute(Qt::WA_StyledBackground);
    if (isMainWindowTabBar(widget))
        widget->setAttribute(Qt::WA_Hover);

    base()->polish(widget);
}

void WindowsModernStyle::unpolish(QWidget *widget)
{
    if (qobject_cast<QMainWindow *>(widget) || qobject_cast<QToolBox *>(widget) || isToolBoxPage(widget))
        widget->setAttribute(Qt::WA_StyledBackground, false);
    if (isToolBoxButton(widget) || isMainWindowTabBar(widget))
        widget->setAttribute(Qt::WA_Hover, false);

    base()->unpolish(widget);
}

// Everything below goes to the base style unchanged.

QRect WindowsModernStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                         SubControl subControl, const QWidget *widget) const
{
    return base()->subControlRect(control, option, subControl, widget);
}

int WindowsModernStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                                  QStyleHintReturn *returnData) const
{
    return base()->styleHint(hint, option, widget, returnData);
}

void WindowsModernStyle::drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette,
                                      bool enabled, const QString &text, QPalette::ColorRole textRole) const
{
    base()->drawItemText(painter, rect, flags, palette, enabled, text, textRole);
}

void WindowsModernStyle::drawItemPixmap(QPainter *painter, const QRect &rect, int alignment,
                                        const QPixmap &pixmap) const
{
    base()->drawItemPixmap(painter, rect, alignment, pixmap);
}

QRect WindowsModernStyle::itemTextRect(const QFontMetrics &metrics, const QRect &rect, int flags, bool enabled,
                                       const QString &text) const
{
    return base()->itemTextRect(metrics, rect, flags, enabled, text);
}

QRect WindowsModernStyle::itemPixmapRect(const QRect &rect, int flags, const QPixmap &pixmap) const
{
    return base()->itemPixmapRect(rect, flags, pixmap);
}

QStyle::SubControl WindowsModernStyle::hitTestComplexControl(ComplexControl control,
                                                             const QStyleOptionComplex *option,
                                                             const QPoint &position, const QWidget *widget) const
{
    return base()->hitTestComplexControl(control, option, position, widget);
}

QIcon WindowsModernStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                       const QWidget *widget) const
{
    return base()->standardIcon(standardIcon, option, widget);
}

QPixmap WindowsModernStyle::standardPixmap(StandardPixmap standardPixmap, const QStyleOption *option,
                                           const QWidget *widget) const
{
    return base()->standardPixmap(standardPixmap, option, widget);
}

QPixmap WindowsModernStyle::generatedIconPixmap(QIcon::Mode iconMode, const QPixmap &pixmap,
                                                const QStyleOption *option) const
{
    return base()->generatedIconPixmap(iconMode, pixmap, option);
}

QPalette WindowsModernStyle::standardPalette() const
{
    return base()->standardPalette();
}
