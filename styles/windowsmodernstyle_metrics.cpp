// Pixel metrics, contents sizes, sub-element rectangles and layout spacing.

#include "windowsmodernstyle.h"

#include "modernwidgetkinds.h"

#include <QStyleOption>
#include <QTabBar>
#include <QToolBox>

QRect WindowsModernStyle::subElementRect(SubElement element, const QStyleOption *option,
                                         const QWidget *widget) const
{
    QRect rect = base()->subElementRect(element, option, widget);
    switch (element) {
    case SE_TabWidgetTabBar:
        if (isMainWindowTabWidget(widget))
            rect = m_windowsStyle->subElementRect(SE_TabWidgetTabBar, option, widget);
        break;
    case SE_TabWidgetTabContents:
        // The contents fill the whole pane, with no frame inset.
        if (isMainWindowTabWidget(widget))
            rect = m_windowsStyle->subElementRect(SE_TabWidgetTabPane, option, widget);
        break;
    case SE_DockWidgetCloseButton:
    case SE_DockWidgetFloatButton:
        rect.translate(-2, 0);
        break;
    default:
        break;
    }
    return rect;
}

QSize WindowsModernStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                           const QSize &contentsSize, const QWidget *widget) const
{
    switch (type) {
    case CT_MenuItem:
        if (const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option)) {
            if (item->menuItemType == QStyleOptionMenuItem::Separator)
                return QSize(10, 3);
            // Room for the icon strip and the submenu arrow, and more for a shortcut.
            const int extra = item->text.contains(QLatin1Char('\t')) ? 60 : 48;
            return QSize(contentsSize.width() + extra, 22);
        }
        break;
    case CT_MenuBarItem:
        return QSize(contentsSize.width() + 16, contentsSize.height() + 6);
    case CT_MenuBar:
        return QSize(contentsSize.width(), contentsSize.height() - 1);
    case CT_Menu:
        return contentsSize;
    default:
        break;
    }
    return base()->sizeFromContents(type, option, contentsSize, widget);
}

int WindowsModernStyle::pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const
{
    switch (metric) {
    case PM_MenuButtonIndicator:
        return 12;
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
        if (isOnToolBar(widget))
            return 0;
        break;
    case PM_DockWidgetSeparatorExtent:
        return 4;
    case PM_TabBarBaseOverlap:
        if (isMainWindowTabWidget(widget) || isMainWindowTabBar(widget))
            return 0;
        break;
    case PM_MenuHMargin:
        return 0;
    case PM_MenuVMargin:
        return 1;
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuBarPanelWidth:
        return 0;
    case PM_MenuBarVMargin:
    case PM_MenuBarHMargin:
        return 2;
    case PM_TabBarTabShiftVertical:
        if (isMainWindowTabBar(widget))
            return static_cast<const QTabBar *>(widget)->shape() == QTabBar::RoundedSouth ? -2 : 2;
        break;
    case PM_ToolBarFrameWidth:
        return 2;
    case PM_ToolBarItemSpacing:
    case PM_ToolBarItemMargin:
        return 0;
    case PM_ToolBarIconSize:
        return 16;
    case PM_DockWidgetTitleMargin:
        return 3;
    case PM_DockWidgetTitleBarButtonMargin:
        return 4;
    case PM_LayoutVerticalSpacing:
        // Spacing in a tool box is decided pair by pair in layoutSpacing().
        if (qobject_cast<const QToolBox *>(widget))
            return -1;
        break;
    default:
        break;
    }
    return base()->pixelMetric(metric, option, widget);
}

int WindowsModernStyle::layoutSpacing(QSizePolicy::ControlType control1, QSizePolicy::ControlType control2,
                                      Qt::Orientation orientation, const QStyleOption *option,
                                      const QWidget *widget) const
{
    return layoutSpacingImplementation(control1, control2, orientation, option, widget);
}

int WindowsModernStyle::layoutSpacingImplementation(QSizePolicy::ControlType control1,
                                                    QSizePolicy::ControlType control2,
                                                    Qt::Orientation orientation, const QStyleOption *option,
                                                    const QWidget *widget) const
{
    Q_UNUSED(orientation);
    Q_UNUSED(option);
    if (!qobject_cast<const QToolBox *>(widget))
        return 6;
    // A tool box: no gap below a tab button, 3 pixels above the next one.
    if (control1 == QSizePolicy::PushButton && control2 == QSizePolicy::DefaultType)
        return 0;
    if (control1 == QSizePolicy::DefaultType && control2 == QSizePolicy::PushButton)
        return 3;
    return 2;
}
