// The buttons of tool bars; every other complex control goes to the base style.

#include "windowsmodernstyle.h"

#include "moderngradients.h"
#include "modernwidgetkinds.h"

#include <QPainter>
#include <QStyleOption>
#include <QToolBar>

using namespace ModernGradients;

void WindowsModernStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                            QPainter *painter, const QWidget *widget) const
{
    if (control == CC_ToolButton && isOnToolBar(widget)) {
        if (const auto *button = qstyleoption_cast<const QStyleOptionToolButton *>(option)) {
            drawToolBarButton(button, painter, widget);
            return;
        }
    }
    base()->drawComplexControl(control, option, painter, widget);
}

void WindowsModernStyle::drawToolBarButton(const QStyleOptionToolButton *option, QPainter *painter,
                                           const QWidget *widget) const
{
    const auto *toolBar = static_cast<const QToolBar *>(widget->parentWidget());
    const QRect b = proxy()->subControlRect(CC_ToolButton, option, SC_ToolButton, widget);
    const bool sunken = option->state & State_Sunken;

    // A press on the menu part shows the main part as hovered.
    State buttonState = option->state & ~State_Sunken;
    if (sunken) {
        if (option->activeSubControls & SC_ToolButton)
            buttonState |= State_Sunken;
        else if (option->activeSubControls & SC_ToolButtonMenu)
            buttonState |= State_MouseOver;
    }

    enum class Panel { None, Hover, Checked, Pressed };
    const bool hovered = (buttonState & State_MouseOver) && (option->state & State_Enabled);
    const bool on = buttonState & State_On;
    Panel panel = Panel::None;
    if (buttonState & State_Sunken)
        panel = Panel::Pressed;
    else if (hovered)
        panel = on ? Panel::Pressed : Panel::Hover;
    else if (on)
        panel = Panel::Checked;

    if (panel != Panel::None) {
        const QRect f = b.adjusted(0, 0, -1, -1);
        QLinearGradient gradient = across(f, toolBar->orientation());
        switch (panel) {
        case Panel::Pressed:
            setThreeStops(gradient, m_colours.pressedStart, m_colours.pressedMid, m_colours.pressedStop);
            break;
        case Panel::Hover:
            setThreeStops(gradient, m_colours.hoverStart, m_colours.hoverMid, m_colours.hoverStop);
            break;
        case Panel::Checked:
            setThreeStops(gradient, m_colours.checkedStart, m_colours.checkedMid, m_colours.checkedStop);
            break;
        case Panel::None:
            break;
        }
        painter->save();
        painter->setPen(m_colours.hotFrame);
        painter->setBrush(gradient);
        painter->drawRect(f);
        painter->restore();
    }

    QStyleOptionToolButton label(*option);
    const int fw = proxy()->pixelMetric(PM_DefaultFrameWidth, option, widget);
    label.rect = b.adjusted(fw, fw, -fw, -fw);
    proxy()->drawControl(CE_ToolButtonLabel, &label, painter, widget);

    if (option->subControls & SC_ToolButtonMenu) {
        QStyleOptionToolButton menu(*option);
        menu.rect = proxy()->subControlRect(CC_ToolButton, option, SC_ToolButtonMenu, widget);
        State menuState = option->state & ~State_Sunken;
        if (sunken) {
            if (option->activeSubControls & SC_ToolButton)
                menuState |= State_MouseOver | State_Sunken;
            else if (option->activeSubControls & SC_ToolButtonMenu)
                menuState |= State_Sunken;
        }
        menu.state = menuState;
        proxy()->drawPrimitive(PE_IndicatorButtonDropDown, &menu, painter, widget);
    } else if (option->features & QStyleOptionToolButton::HasMenu) {
        const int m = proxy()->pixelMetric(PM_MenuButtonIndicator, option, widget);
        const QRect r = option->rect;
        QStyleOptionToolButton arrow(*option);
        arrow.rect = QRect(r.right() - m + 4, r.height() - m + 4, m - 5, m - 5);
        proxy()->drawPrimitive(PE_IndicatorArrowDown, &arrow, painter, widget);
    }
}
