// The tabs of the main window's tab bar.

#include "windowsmodernstyle.h"

#include <QPainter>
#include <QStyleOption>
#include <QTabBar>

void WindowsModernStyle::drawMainWindowTabShape(const QStyleOption *option, QPainter *painter) const
{
    bool first = false;
    bool last = false;
    bool south = false;
    if (const auto *tab = qstyleoption_cast<const QStyleOptionTab *>(option)) {
        first = tab->position == QStyleOptionTab::Beginning || tab->position == QStyleOptionTab::OnlyOneTab;
        last = tab->position == QStyleOptionTab::End || tab->position == QStyleOptionTab::OnlyOneTab;
        south = tab->shape == QTabBar::RoundedSouth;
    }

    const QRect r = option->rect;
    QRect t = r;
    painter->save();
    if (option->state & State_Selected) {
        // The selected tab overlaps its neighbours and the pane below it.
        if (!first)
            t.setLeft(t.left() - 2);
        t.setRight(last ? t.right() - 1 : t.right() + 1);
        if (south) {
            t.setTop(t.top() - 1);
            t.setBottom(t.bottom() - 1);
        } else {
            t.setBottom(t.bottom() + 1);
        }
    } else {
        if (last)
            t.setRight(t.right() - 1);
        const int clipRight = r.right() + (last ? 0 : 1);
        if (south) {
            t.setTop(t.top() - 1);
            t.setBottom(t.bottom() - 2);
            painter->setClipRect(QRect(QPoint(r.left(), r.top()), QPoint(clipRight, r.bottom() - 1)),
                                 Qt::ReplaceClip);
        } else {
            t.setTop(t.top() + 1);
            painter->setClipRect(QRect(QPoint(r.left(), r.top() + 1), QPoint(clipRight, r.bottom())),
                                 Qt::ReplaceClip);
        }
    }

    QLinearGradient gradient = south ? QLinearGradient(QPointF(t.left(), t.bottom()), QPointF(t.left(), t.top()))
                                     : QLinearGradient(QPointF(t.left(), t.top()), QPointF(t.left(), t.bottom()));
    QColor pen = m_colours.edgeLight;
    if (option->state & State_Selected) {
        gradient.setColorAt(0.0, m_colours.hoverStart);
        gradient.setColorAt(1.0, option->palette.color(QPalette::Window));
        pen = m_colours.edgeDark;
    } else if ((option->state & State_Enabled) && (option->state & State_MouseOver)) {
        gradient.setColorAt(0.0, m_colours.hoverStart);
        gradient.setColorAt(1.0, m_colours.hoverStop);
    } else {
        gradient.setColorAt(0.0, m_colours.barMid);
        gradient.setColorAt(1.0, m_colours.barStop);
    }
    painter->setPen(pen);
    painter->setBrush(gradient);
    painter->drawRect(t);
    painter->restore();
}
