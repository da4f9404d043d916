#pragma once

// The 25 colours with which the modern style paints, for one theme.

#include "windowstheme.h"

#include <QColor>
#include <QPalette>

struct ThemeColours
{
    QColor windowGradientStart; //  0
    QColor windowGradientStop;  //  1
    QColor menuFrame;           //  2
    QColor menuFill;            //  3
    QColor openTitleTop;        //  4
    QColor openTitleBottom;     //  5
    QColor barStart;            //  6
    QColor barMid;              //  7
    QColor barStop;             //  8
    QColor gripDark;            //  9
    QColor gripLight;           // 10
    QColor dividerDark;         // 11
    QColor dividerLight;        // 12
    QColor hotFrame;            // 13
    QColor hoverStart;          // 14
    QColor hoverMid;            // 15
    QColor hoverStop;           // 16
    QColor checkedStart;        // 17
    QColor checkedMid;          // 18
    QColor checkedStop;         // 19
    QColor pressedStart;        // 20
    QColor pressedMid;          // 21
    QColor pressedStop;         // 22
    QColor edgeDark;            // 23
    QColor edgeLight;           // 24

    static constexpr int Count = 25;

    // The colour with the given number, 0 to Count - 1.
    const QColor &at(int index) const;
    QColor &at(int index);

    // The colours of a theme. Classic ones are computed from the palette
    // (its current colour group); the others are fixed.
    static ThemeColours forTheme(WindowsTheme theme, const QPalette &palette);
};

// For each of red, green and blue: f * a + (1 - f) * b + 0.5, truncated;
// a and b are the colours of the two roles in the palette's current group.
QColor paletteBlend(const QPalette &palette, QPalette::ColorRole a, QPalette::ColorRole b, double f);
