#pragma once

// The editor's own widget style: gradient bars, an icon strip in menus,
// orange hover, checked and pressed highlights, and colours that follow the
// current Windows colour theme. What it does not draw itself it forwards to
// the platform's Vista style where that exists and to the Windows style
// otherwise, decided at each call.

#include "themecolours.h"
#include "windowstheme.h"

#include <QOperatingSystemVersion>
#include <QProxyStyle>

class QStyleOptionMenuItem;
class QStyleOptionToolButton;

class WindowsModernStyle : public QProxyStyle
{
    Q_OBJECT

public:
    using Theme = WindowsTheme;

    WindowsModernStyle();
    ~WindowsModernStyle() override;

    // The theme and the colours found by the latest palette polish; the
    // colours are invalid until the first one.
    Theme theme() const { return m_theme; }
    const ThemeColours &colours() const { return m_colours; }

    // True when the given system has the Vista style as its base.
    static bool usesVistaBase(const QOperatingSystemVersion &version);
    // The style that gets what this one does not draw, chosen now.
    QStyle *base() const;

    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    void polish(QApplication *application) override;
    void unpolish(QApplication *application) override;
    void polish(QPalette &palette) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option, const QWidget *widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option, SubControl subControl,
                         const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &contentsSize,
                           const QWidget *widget) const override;
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
    int layoutSpacing(QSizePolicy::ControlType control1, QSizePolicy::ControlType control2,
                      Qt::Orientation orientation, const QStyleOption *option = nullptr,
                      const QWidget *widget = nullptr) const override;

    // Passed on to the base style as it is at the moment of the call.
    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette, bool enabled,
                      const QString &text, QPalette::ColorRole textRole = QPalette::NoRole) const override;
    void drawItemPixmap(QPainter *painter, const QRect &rect, int alignment, const QPixmap &pixmap) const override;
    QRect itemTextRect(const QFontMetrics &metrics, const QRect &rect, int flags, bool enabled,
                       const QString &text) const override;
    QRect itemPixmapRect(const QRect &rect, int flags, const QPixmap &pixmap) const override;
    SubControl hitTestComplexControl(ComplexControl control, const QStyleOptionComplex *option, const QPoint &position,
                                     const QWidget *widget = nullptr) const override;
    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
    QPixmap standardPixmap(StandardPixmap standardPixmap, const QStyleOption *option,
                           const QWidget *widget = nullptr) const override;
    QPixmap generatedIconPixmap(QIcon::Mode iconMode, const QPixmap &pixmap, const QStyleOption *option) const override;
    QPalette standardPalette() const override;

protected Q_SLOTS:
    int layoutSpacingImplementation(QSizePolicy::ControlType control1, QSizePolicy::ControlType control2,
                                    Qt::Orientation orientation, const QStyleOption *option,
                                    const QWidget *widget) const;

private:
    // Primitives
    bool drawWidgetBackground(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawMenuFrame(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawDockTitleButtonPanel(const QStyleOption *option, QPainter *painter) const;
    void drawButtonDropDown(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawToolBarHandle(const QStyleOption *option, QPainter *painter) const;
    void drawToolBarSeparator(const QStyleOption *option, QPainter *painter) const;

    // Controls
    void drawMenuItem(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawMenuItemContents(const QStyleOptionMenuItem *item, QPainter *painter, const QWidget *widget) const;
    void drawMenuBarItem(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawToolBar(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawDockWidgetTitle(const QStyleOption *option, QPainter *painter, const QWidget *widget) const;
    void drawToolBoxTabShape(const QStyleOption *option, QPainter *painter) const;
    void drawMainWindowTabShape(const QStyleOption *option, QPainter *painter) const;

    // Complex controls
    void drawToolBarButton(const QStyleOptionToolButton *option, QPainter *painter, const QWidget *widget) const;

    QStyle *m_windowsStyle = nullptr; // owned by the proxy as its base style
    QStyle *m_vistaStyle = nullptr;   // a child of this object; null where it does not exist
    Theme m_theme = Theme::Classic;
    ThemeColours m_colours;
};
