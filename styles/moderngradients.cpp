#include "moderngradients.h"

#include "themecolours.h"

namespace ModernGradients {

QLinearGradient vertical(const QRect &rect)
{
    return QLinearGradient(QPointF(rect.left(), rect.top()), QPointF(rect.left(), rect.bottom()));
}

QLinearGradient horizontal(const QRect &rect)
{
    return QLinearGradient(QPointF(rect.left(), rect.top()), QPointF(rect.right(), rect.top()));
}

QLinearGradient across(const QRect &rect, Qt::Orientation toolBarOrientation)
{
    return toolBarOrientation == Qt::Vertical ? horizontal(rect) : vertical(rect);
}

void setBarStops(QLinearGradient &gradient, const ThemeColours &colours)
{
    gradient.setColorAt(0.0, colours.barStart);
    gradient.setColorAt(0.4, colours.barMid);
    gradient.setColorAt(0.6, colours.barMid);
    gradient.setColorAt(1.0, colours.barStop);
}

void setThreeStops(QLinearGradient &gradient, const QColor &start, const QColor &mid, const QColor &stop)
{
    gradient.setColorAt(0.0, start);
    gradient.setColorAt(0.5, mid);
    gradient.setColorAt(1.0, stop);
}

void setTwoStops(QLinearGradient &gradient, const QColor &start, const QColor &stop)
{
    gradient.setColorAt(0.0, start);
    gradient.setColorAt(1.0, stop);
}

} // namespace ModernGradients
