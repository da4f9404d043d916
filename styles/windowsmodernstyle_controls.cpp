// The control elements that the modern style paints itself: it hands menus
// to the menu painting and paints tool bars, dock-widget titles, tool-box
// tabs and splitters here.

#include "windowsmodernstyle.h"

#include "moderngradients.h"
#include "modernwidgetkinds.h"

#include <QMainWindow>
#include <QPainter>
#include <QStyleOption>
#include <QToolBar>

using namespace ModernGradients;

void WindowsModernStyle::drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                                     const QWidget *widget) const
{
    switch (element) {
    case CE_MenuItem:
        drawMenuItem(option, painter, widget);
        return;
    case CE_MenuEmptyArea:
        painter->fillRect(option->rect, m_colours.menuFill);
        return;
    case CE_MenuBarItem:
        drawMenuBarItem(option, painter, widget);
        return;
    case CE_MenuBarEmptyArea:
        return;
    case CE_ToolBar:
        drawToolBar(option, painter, widget);
        return;
    case CE_DockWidgetTitle:
        drawDockWidgetTitle(option, painter, widget);
        return;
    case CE_Splitter:
        if (widget && qobject_cast<const QMainWindow *>(widget->window()))
            return;
        break;
    case CE_ToolBoxTabShape:
        drawToolBoxTabShape(option, painter);
        return;
    case CE_TabBarTabShape:
        if (isMainWindowTabBar(widget)) {
            drawMainWindowTabShape(option, painter);
            return;
        }
        break;
    default:
        break;
    }
    base()->drawControl(element, option, painter, widget);
}

void WindowsModernStyle::drawToolBar(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    // The bar ends just after the last item, with its corners cut.
    QRect b = option->rect;
    Qt::Orientation orientation = Qt::Horizontal;
    if (const auto *toolBar = qobject_cast<const QToolBar *>(widget)) {
        orientation = toolBar->orientation();
        if (orientation == Qt::Vertical)
            b.setBottom(toolBar->childrenRect().bottom() + 2);
        else
            b.setRight(toolBar->childrenRect().right() + 2);
    }

    painter->save();
    const QRegion shape = QRegion(b.adjusted(2, 0, -2, 0)) | QRegion(b.adjusted(0, 2, 0, -2))
        | QRegion(b.adjusted(1, 1, -1, -1));
    painter->setClipRegion(shape, Qt::ReplaceClip);

    QLinearGradient gradient = across(b, orientation);
    setBarStops(gradient, m_colours);
    painter->fillRect(b, gradient);

    const bool vertical = orientation == Qt::Vertical;
    painter->setPen(vertical ? m_colours.edgeLight : m_colours.edgeDark);
    painter->drawLine(b.left() + 2, b.bottom(), b.right() - 2, b.bottom());
    painter->setPen(vertical ? m_colours.edgeDark : m_colours.edgeLight);
    painter->drawLine(b.right(), b.top() + 2, b.right(), b.bottom() - 2);
    painter->setPen(m_colours.edgeLight);
    painter->drawPoint(b.right() - 1, b.bottom() - 1);
    painter->restore();
}

void WindowsModernStyle::drawDockWidgetTitle(const QStyleOption *option, QPainter *painter,
                                             const QWidget *widget) const
{
    const QRect r = option->rect;
    QLinearGradient gradient = vertical(r);
    setTwoStops(gradient, m_colours.barStart, m_colours.barStop);
    painter->fillRect(r, gradient);

    const auto *dock = qstyleoption_cast<const QStyleOptionDockWidget *>(option);
    if (!dock)
        return;
    // The title stays clear of the close and float buttons.
    int right = dock->closable ? r.right() - 20 : r.right() - 4;
    if (dock->floatable)
        right -= 16;
    const QRect textRect(QPoint(r.left() + 6, r.top()), QPoint(right, r.bottom()));
    const QString title = painter->fontMetrics().elidedText(dock->title, Qt::ElideRight, textRect.width());
    proxy()->drawItemText(painter, textRect, Qt::AlignLeft | Qt::AlignVCenter, dock->palette,
                          dock->state & State_Enabled, title, QPalette::WindowText);
    Q_UNUSED(widget);
}

void WindowsModernStyle::drawToolBoxTabShape(const QStyleOption *option, QPainter *painter) const
{
    const QRect f = option->rect.adjusted(0, 0, -1, -1);
    QLinearGradient gradient = vertical(f);
    QColor pen = m_colours.edgeDark;
    if (option->state & State_Sunken) {
        setTwoStops(gradient, m_colours.pressedStart, m_colours.pressedStop);
    } else if ((option->state & State_Enabled) && (option->state & State_MouseOver)) {
        setTwoStops(gradient, m_colours.hoverStart, m_colours.hoverStop);
    } else {
        setTwoStops(gradient, m_colours.barMid, m_colours.barStop);
        pen = m_colours.edgeLight;
    }
    painter->save();
    painter->setPen(pen);
    painter->setBrush(gradient);
    painter->drawRect(f);
    painter->restore();
}
