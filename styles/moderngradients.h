#pragma once

// The gradients of the modern style, built over a rectangle in the
// inclusive sense: vertical from (left, top) to (left, bottom), horizontal
// from (left, top) to (right, top).

#include <QColor>
#include <QLinearGradient>
#include <QRect>

struct ThemeColours;

namespace ModernGradients {

QLinearGradient vertical(const QRect &rect);
QLinearGradient horizontal(const QRect &rect);
// Runs across the bars of a tool bar: horizontal for a vertical tool bar.
QLinearGradient across(const QRect &rect, Qt::Orientation toolBarOrientation);

// barStart at 0, barMid at 0.4 and 0.6, barStop at 1.
void setBarStops(QLinearGradient &gradient, const ThemeColours &colours);
// Three stops at 0, 0.5 and 1 (the hover, checked and pressed gradients).
void setThreeStops(QLinearGradient &gradient, const QColor &start, const QColor &mid, const QColor &stop);
void setTwoStops(QLinearGradient &gradient, const QColor &start, const QColor &stop);

} // namespace ModernGradients
