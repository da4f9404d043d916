// The primitive elements that the modern style paints itself.

#include "windowsmodernstyle.h"

#include "moderngradients.h"
#include "modernwidgetkinds.h"

#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyleOption>
#include <QToolBar>
#include <QToolBox>

using namespace ModernGradients;

void WindowsModernStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                                       const QWidget *widget) const
{
    switch (element) {
    case PE_Widget:
        if (drawWidgetBackground(option, painter, widget))
            return;
        break;
    case PE_FrameMenu:
        drawMenuFrame(option, painter, widget);
        return;
    case PE_FrameTabWidget:
        if (isMainWindowTabWidget(widget)) {
            painter->fillRect(option->rect, option->palette.brush(QPalette::Window));
            return;
        }
        break;
    case PE_FrameTabBarBase:
        if (isMainWindowTabBar(widget))
            return;
        break;
    case PE_PanelButtonTool:
        if (widget && widget->inherits("QDockWidgetTitleButton")) {
            drawDockTitleButtonPanel(option, painter);
            return;
        }
        break;
    case PE_PanelMenuBar:
    case PE_IndicatorDockWidgetResizeHandle:
        return;
    case PE_IndicatorButtonDropDown:
        drawButtonDropDown(option, painter, widget);
        return;
    case PE_IndicatorToolBarHandle:
        drawToolBarHandle(option, painter);
        return;
    case PE_IndicatorToolBarSeparator:
        drawToolBarSeparator(option, painter);
        return;
    default:
        break;
    }
    base()->drawPrimitive(element, option, painter, widget);
}

bool WindowsModernStyle::drawWidgetBackground(const QStyleOption *option, QPainter *painter,
                                              const QWidget *widget) const
{
    const QRect r = option->rect;
    if (const auto *mainWindow = qobject_cast<const QMainWindow *>(widget)) {
        // The gradient stops above the status bar, which gets a light line
        // along its top edge.
        QRect fill = r;
        if (const auto *statusBar = mainWindow->findChild<QStatusBar *>()) {
            fill.setBottom(r.bottom() - statusBar->height());
            painter->save();
            painter->setPen(option->palette.color(QPalette::Light));
            painter->drawLine(fill.left(), fill.bottom() + 1, fill.right(), fill.bottom() + 1);
            painter->restore();
        }
        QLinearGradient gradient = horizontal(r);
        gradient.setColorAt(0.0, m_colours.windowGradientStart);
        gradient.setColorAt(0.6, m_colours.windowGradientStop);
        painter->fillRect(fill, gradient);
        return true;
    }
    if (qobject_cast<const QToolBox *>(widget)) {
        QLinearGradient gradient = horizontal(r);
        gradient.setColorAt(0.4, m_colours.windowGradientStart);
        gradient.setColorAt(1.0, m_colours.windowGradientStop);
        painter->fillRect(r, gradient);
        return true;
    }
    if (isToolBoxPage(widget)) {
        QLinearGradient gradient = horizontal(r);
        gradient.setColorAt(0.4, m_colours.barMid);
        gradient.setColorAt(1.0, m_colours.barStart);
        painter->fillRect(r, gradient);
        return true;
    }
    return false;
}

void WindowsModernStyle::drawMenuFrame(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const QRect r = option->rect;
    painter->save();
    painter->setPen(m_colours.menuFrame);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(r.adjusted(0, 0, -1, -1));

    // A menu that drops from the menu bar opens its top border under the item.
    if (const auto *menu = qobject_cast<const QMenu *>(widget)) {
        if (const auto *menuBar = qobject_cast<const QMenuBar *>(menu->parent())) {
            const QRect item = menuBar->actionGeometry(menu->menuAction());
            if (item.isValid()) {
                painter->setPen(m_colours.menuFill);
                painter->drawLine(1, 0, item.width() - 2, 0);
            }
        }
    }

    // A floating or expanded tool bar.
    if (const auto *toolBar = qobject_cast<const QToolBar *>(widget)) {
        const QRect inside = r.adjusted(1, 1, -1, -1);
        QLinearGradient gradient = across(inside, toolBar->orientation());
        setBarStops(gradient, m_colours);
        painter->fillRect(inside, gradient);
    }
    painter->restore();
}

void WindowsModernStyle::drawDockTitleButtonPanel(const QStyleOption *option, QPainter *painter) const
{
    const bool sunken = option->state & State_Sunken;
    if (!sunken && !(option->state & State_MouseOver))
        return;
    painter->save();
    painter->setPen(m_colours.hotFrame);
    painter->setBrush(sunken ? m_colours.pressedMid : m_colours.hoverMid);
    painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
    painter->restore();
}

void WindowsModernStyle::drawButtonDropDown(const QStyleOption *option, QPainter *painter,
                                            const QWidget *widget) const
{
    if (!isOnToolBar(widget))
        return;
    const auto *toolBar = static_cast<const QToolBar *>(widget->parentWidget());
    const QRect r = option->rect;
    const QRect frame = r.adjusted(-1, 0, -1, -1);
    const bool sunken = option->state & State_Sunken;
    const bool hovered = (option->state & State_Enabled) && (option->state & State_MouseOver);

    if (sunken || hovered) {
        painter->save();
        painter->setPen(m_colours.hotFrame);
        if (toolBar->orientation() == Qt::Vertical) {
            painter->setBrush(sunken ? m_colours.pressedStop : m_colours.hoverStop);
        } else {
            QLinearGradient gradient = vertical(frame);
            if (sunken)
                setThreeStops(gradient, m_colours.pressedStart, m_colours.pressedMid, m_colours.pressedStop);
            else
                setThreeStops(gradient, m_colours.hoverStart, m_colours.hoverMid, m_colours.hoverStop);
            painter->setBrush(gradient);
        }
        painter->drawRect(frame);
        painter->restore();
    }

    QStyleOption arrow(*option);
    arrow.rect = r.adjusted(2, 2, -2, -2);
    proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, widget);
}

void WindowsModernStyle::drawToolBarHandle(const QStyleOption *option, QPainter *painter) const
{
    // Pairs of dots every 5 pixels; the first pair is always drawn, even on a
    // handle too short for the loop's test.
    const QRect r = option->rect;
    const bool alongHeight = option->state & State_Horizontal;
    const int step = (alongHeight ? r.height() : r.width()) / 5;
    int i = step;
    do {
        if (alongHeight) {
            const int y = r.top() + i;
            painter->fillRect(QRect(r.left() + 4, y + 1, 2, 2), m_colours.gripLight);
            painter->fillRect(QRect(r.left() + 3, y, 2, 2), m_colours.gripDark);
        } else {
            const int x = r.left() + i;
            painter->fillRect(QRect(x + 1, r.top() + 4, 2, 2), m_colours.gripLight);
            painter->fillRect(QRect(x, r.top() + 3, 2, 2), m_colours.gripDark);
        }
        i += 5;
    } while (i <= 4 * step);
}

void WindowsModernStyle::drawToolBarSeparator(const QStyleOption *option, QPainter *painter) const
{
    const QRect r = option->rect;
    painter->save();
    if (option->state & State_Horizontal) {
        const int dark = (r.left() + r.right() - 1) / 2;
        const int light = (r.left() + r.right() + 1) / 2;
        painter->setPen(m_colours.dividerDark);
        painter->drawLine(dark, r.top() + 2, dark, r.bottom() - 2);
        painter->setPen(m_colours.dividerLight);
        painter->drawLine(light, r.top() + 2, light, r.bottom() - 2);
    } else {
        const int dark = (r.top() + r.bottom() - 1) / 2;
        const int light = (r.top() + r.bottom() + 1) / 2;
        painter->setPen(m_colours.dividerDark);
        painter->drawLine(r.left() + 2, dark, r.right() - 2, dark);
        painter->setPen(m_colours.dividerLight);
        painter->drawLine(r.left() + 2, light, r.right() - 2, light);
    }
    painter->restore();
}
