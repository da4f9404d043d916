// Menu items, the menu's empty area and menu-bar items.

#include "windowsmodernstyle.h"

#include "moderngradients.h"

#include <QPainter>
#include <QPaintDevice>
#include <QStyleOption>
#include <QWidget>

using namespace ModernGradients;

namespace {

int mnemonicFlags(const QStyle *style, const QStyleOption *option, const QWidget *widget)
{
    int flags = Qt::TextShowMnemonic | Qt::TextDontClip | Qt::TextSingleLine;
    if (!style->styleHint(QStyle::SH_UnderlineShortcut, option, widget))
        flags |= Qt::TextHideMnemonic;
    return flags;
}

// A plain option for the arrows and check marks that a menu item asks the
// style for: taken from the widget, or from the item's option without one.
QStyleOption plainOptionFor(const QStyleOption *option, const QWidget *widget)
{
    QStyleOption plain;
    if (widget)
        plain.initFrom(widget);
    else
        plain = QStyleOption(*option);
    return plain;
}

QPixmap iconPixmap(const QIcon &icon, int size, QIcon::Mode mode, QIcon::State state, const QPainter *painter)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
    return icon.pixmap(QSize(size, size), ratio, mode, state);
}

} // namespace

void WindowsModernStyle::drawMenuItem(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const QRect r = option->rect;
    const bool selected = (option->state & State_Selected) && (option->state & State_Enabled);

    painter->save();
    if (selected) {
        painter->setPen(m_colours.hotFrame);
        painter->setBrush(m_colours.hoverStart);
        painter->drawRect(r.adjusted(1, 0, -3, -1));
    } else {
        // The icon strip: its gradient is fixed in painter coordinates.
        QLinearGradient strip(QPointF(0, 0), QPointF(25, 0));
        setTwoStops(strip, m_colours.barStart, m_colours.barStop);
        painter->fillRect(QRect(QPoint(r.left(), r.top()), QPoint(r.left() + 24, r.bottom())), strip);
        painter->fillRect(QRect(QPoint(r.left() + 25, r.top()), QPoint(r.right(), r.bottom())), m_colours.menuFill);
    }
    painter->restore();

    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (!item)
        return;

    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        const int y = (r.top() + r.bottom()) / 2;
        painter->save();
        painter->setPen(m_colours.dividerDark);
        painter->drawLine(r.left() + 32, y, r.right(), y);
        painter->restore();
        return;
    }
    drawMenuItemContents(item, painter, widget);
}

void WindowsModernStyle::drawMenuItemContents(const QStyleOptionMenuItem *item, QPainter *painter,
                                              const QWidget *widget) const
{
    const QRect r = item->rect;
    const bool enabled = item->state & State_Enabled;
    const bool selected = enabled && (item->state & State_Selected);
    const QRect checkBox(QPoint(r.left() + 2, r.top() + 1), QPoint(r.left() + 21, r.bottom() - 2));

    if (item->checked && enabled) {
        painter->save();
        painter->setPen(m_colours.hotFrame);
        painter->setBrush(selected ? m_colours.pressedStart : m_colours.checkedStart);
        painter->drawRect(checkBox);
        painter->restore();
    }

    if (!item->icon.isNull()) {
        const int size = proxy()->pixelMetric(PM_SmallIconSize, item, widget);
        const QIcon::Mode mode = selected ? QIcon::Active : (enabled ? QIcon::Normal : QIcon::Disabled);
        const QIcon::State state = item->checked ? QIcon::On : QIcon::Off;
        QRect target(0, 0, size, size);
        target.moveCenter(checkBox.center());
        painter->drawPixmap(target, iconPixmap(item->icon, size, mode, state, painter));
    } else if (item->checked) {
        QStyleOption mark = plainOptionFor(item, widget);
        mark.rect = checkBox;
        if (!enabled)
            mark.palette.setBrush(QPalette::Text, mark.palette.brush(QPalette::Disabled, QPalette::Text));
        proxy()->drawPrimitive(PE_IndicatorMenuCheckMark, &mark, painter, widget);
    }

    const QRect textRect(QPoint(r.left() + 32, r.top() + 1), QPoint(r.right() - 16, r.bottom() - 1));
    const int flags = Qt::AlignVCenter | mnemonicFlags(proxy(), item, widget);
    QString text = item->text;
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0) {
        proxy()->drawItemText(painter, textRect, flags | Qt::AlignRight, item->palette, enabled, text.mid(tab + 1),
                              QPalette::Text);
        text.truncate(tab);
    }
    proxy()->drawItemText(painter, textRect, flags | Qt::AlignLeft, item->palette, enabled, text, QPalette::Text);

    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow = plainOptionFor(item, widget);
        arrow.rect = QRect(QPoint(r.right() - 12, r.top() + 4), QPoint(r.right() - 4, r.bottom() - 4));
        arrow.state = item->state & State_Enabled;
        proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
    }
}

void WindowsModernStyle::drawMenuBarItem(const QStyleOption *option, QPainter *painter, const QWidget *widget) const
{
    const QRect r = option->rect;
    const bool enabled = option->state & State_Enabled;

    painter->save();
    if (enabled && (option->state & State_Sunken)) {
        // Open: its bottom line falls one pixel below the item, over the menu's top border.
        QLinearGradient gradient = vertical(r);
        setTwoStops(gradient, m_colours.openTitleTop, m_colours.openTitleBottom);
        painter->setPen(m_colours.menuFrame);
        painter->setBrush(gradient);
        painter->drawRect(r.adjusted(0, 0, -1, 0));
    } else if (enabled && (option->state & State_Selected)) {
        QLinearGradient gradient = vertical(r);
        setTwoStops(gradient, m_colours.hoverStart, m_colours.hoverStop);
        painter->setPen(m_colours.hotFrame);
        painter->setBrush(gradient);
        painter->drawRect(r.adjusted(0, 0, -1, -1));
    }
    painter->restore();

    const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
    if (!item)
        return;
    const int flags = Qt::AlignHCenter | Qt::AlignVCenter | mnemonicFlags(proxy(), item, widget);
    if (item->icon.isNull()) {
        proxy()->drawItemText(painter, r, flags, item->palette, true, item->text, QPalette::Text);
    } else {
        const int size = proxy()->pixelMetric(PM_SmallIconSize, item, widget);
        proxy()->drawItemPixmap(painter, r, flags, iconPixmap(item->icon, size, QIcon::Normal, QIcon::Off, painter));
    }
}
