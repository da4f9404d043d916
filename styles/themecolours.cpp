#include "themecolours.h"

#include <array>

namespace {

using Member = QColor ThemeColours::*;

constexpr std::array<Member, ThemeColours::Count> members = {
    &ThemeColours::windowGradientStart, &ThemeColours::windowGradientStop,
    &ThemeColours::menuFrame,           &ThemeColours::menuFill,
    &ThemeColours::openTitleTop,        &ThemeColours::openTitleBottom,
    &ThemeColours::barStart,            &ThemeColours::barMid,
    &ThemeColours::barStop,             &ThemeColours::gripDark,
    &ThemeColours::gripLight,           &ThemeColours::dividerDark,
    &ThemeColours::dividerLight,        &ThemeColours::hotFrame,
    &ThemeColours::hoverStart,          &ThemeColours::hoverMid,
    &ThemeColours::hoverStop,           &ThemeColours::checkedStart,
    &ThemeColours::checkedMid,          &ThemeColours::checkedStop,
    &ThemeColours::pressedStart,        &ThemeColours::pressedMid,
    &ThemeColours::pressedStop,         &ThemeColours::edgeDark,
    &ThemeColours::edgeLight,
};

// The fixed colours of the three visual themes, in colour-number order.
using FixedColumn = std::array<QRgb, ThemeColours::Count>;

constexpr FixedColumn blueColours = {
    0x9EBEF5, 0xC4DAFA, 0x002D96, 0xF6F6F6, 0xE3EFFF, 0x7BA4E0, 0xE3EFFF, 0xCBE1FC, 0x7BA4E0,
    0x274176, 0xFFFFFF, 0x6A8CCB, 0xF1F9FF, 0x000080, 0xFFEEBE, 0xFFE1AC, 0xFFC87D, 0xFFC87D,
    0xFFB464, 0xFF9646, 0xFE803E, 0xFFB16D, 0xFFDF9A, 0x445686, 0x6A8CCB,
};

constexpr FixedColumn silverColours = {
    0xD7D7E5, 0xF3F3F7, 0x7C7C94, 0xFDFAFF, 0xE8E9F2, 0xACAAC2, 0xFCFCFC, 0xE8E9F2, 0xACAAC2,
    0x545475, 0xFFFFFF, 0x6E6D8F, 0xFFFFFF, 0x4B4B6F, 0xFFEEBE, 0xFFE1AC, 0xFFC87D, 0xFFC87D,
    0xFFB464, 0xFF9646, 0xFE803E, 0xFFB16D, 0xFFDF9A, 0x6E6D8F, 0x9190AD,
};

constexpr FixedColumn oliveColours = {
    0xD9D9A7, 0xF2F1E4, 0x758D5E, 0xF4F4EE, 0xEDF0D6, 0xB5C48F, 0xFFFFED, 0xCEDCA7, 0xB5C48F,
    0x515E33, 0xFFFFFF, 0x608058, 0xF4F7DE, 0x3F5D38, 0xFFEEBE, 0xFFE1AC, 0xFFC87D, 0xFFC87D,
    0xFFB464, 0xFF9646, 0xFE803E, 0xFFB16D, 0xFFDF9A, 0x608058, 0x97A67B,
};

ThemeColours fromColumn(const FixedColumn &column)
{
    ThemeColours colours;
    for (int i = 0; i < ThemeColours::Count; ++i)
        colours.at(i) = QColor::fromRgb(column[static_cast<size_t>(i)]);
    return colours;
}

ThemeColours classicColours(const QPalette &palette)
{
    using R = QPalette::ColorRole;
    ThemeColours c;
    c.windowGradientStart = palette.color(R::Button);
    c.windowGradientStop = paletteBlend(palette, R::Button, R::Base, 0.205);
    c.menuFrame = paletteBlend(palette, R::Text, R::Dark, 0.2);
    c.menuFill = paletteBlend(palette, R::Button, R::Base, 0.143);
    c.openTitleTop = paletteBlend(palette, R::Button, R::Base, 0.2);
    c.openTitleBottom = paletteBlend(palette, R::Button, R::Base, 0.5);
    c.barStart = paletteBlend(palette, R::Button, R::Base, 0.2);
    c.barMid = paletteBlend(palette, R::Button, R::Base, 0.5);
    c.barStop = palette.color(R::Button);
    c.gripDark = paletteBlend(palette, R::Dark, R::Base, 0.75);
    c.gripLight = palette.color(R::Light);
    c.dividerDark = paletteBlend(palette, R::Dark, R::Base, 0.7);
    c.dividerLight = palette.color(R::Light);
    c.hotFrame = palette.color(R::Highlight);
    c.hoverStart = paletteBlend(palette, R::Highlight, R::Base, 0.3);
    c.hoverMid = c.hoverStart;
    c.hoverStop = c.hoverStart;
    c.checkedStart = paletteBlend(palette, R::Highlight, R::Base, 0.15);
    c.checkedMid = c.checkedStart;
    c.checkedStop = c.checkedStart;
    c.pressedStart = paletteBlend(palette, R::Highlight, R::Base, 0.45);
    c.pressedMid = c.pressedStart;
    c.pressedStop = c.pressedStart;
    c.edgeDark = palette.color(R::Dark);
    c.edgeLight = paletteBlend(palette, R::Dark, R::Base, 0.8);
    return c;
}

int blendChannel(int a, int b, double f)
{
    return static_cast<int>(f * a + (1.0 - f) * b + 0.5);
}

} // namespace

const QColor &ThemeColours::at(int index) const
{
    Q_ASSERT(index >= 0 && index < Count);
    return this->*members[static_cast<size_t>(index)];
}

QColor &ThemeColours::at(int index)
{
    Q_ASSERT(index >= 0 && index < Count);
    return this->*members[static_cast<size_t>(index)];
}

ThemeColours ThemeColours::forTheme(WindowsTheme theme, const QPalette &palette)
{
    switch (theme) {
    case WindowsTheme::Blue:
        return fromColumn(blueColours);
    case WindowsTheme::Silver:
        return fromColumn(silverColours);
    case WindowsTheme::Olive:
        return fromColumn(oliveColours);
    case WindowsTheme::Classic:
        break;
    }
    return classicColours(palette);
}

QColor paletteBlend(const QPalette &palette, QPalette::ColorRole a, QPalette::ColorRole b, double f)
{
    const QColor first = palette.color(a);
    const QColor second = palette.color(b);
    return QColor(blendChannel(first.red(), second.red(), f), blendChannel(first.green(), second.green(), f),
                  blendChannel(first.blue(), second.blue(), f));
}
