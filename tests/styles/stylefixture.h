#pragma once

// Shared set-up of the painting tests: the modern style in the Blue theme
// (Luna in its default colours, as the stand-in theme library answers),
// installed as the application style, and a style that records the text
// and primitives that the painting asks for.

#include "fakethemelibrary.h"
#include "windowsmodernstyle.h"

#include <QApplication>
#include <QList>
#include <QPainter>
#include <QStyleOption>

namespace stylefixture {

inline WindowsModernStyle *installBlueStyle()
{
    fakethemelibrary::useLunaBlue();
    auto *style = new WindowsModernStyle;
    QApplication::setStyle(style); // the application owns it and polishes the palette
    Q_ASSERT(style->theme() == WindowsTheme::Blue);
    return style;
}

class RecordingStyle : public WindowsModernStyle
{
public:
    struct TextCall
    {
        QRect rect;
        int flags = 0;
        bool enabled = false;
        QString text;
        QPalette::ColorRole role = QPalette::NoRole;
    };
    struct PrimitiveCall
    {
        PrimitiveElement element = PE_CustomBase;
        QRect rect;
        State state;
        QPalette palette;
    };

    RecordingStyle()
    {
        QPalette palette = QApplication::palette();
        polish(palette);
    }

    void drawItemText(QPainter *painter, const QRect &rect, int flags, const QPalette &palette, bool enabled,
                      const QString &text, QPalette::ColorRole textRole = QPalette::NoRole) const override
    {
        texts.append({rect, flags, enabled, text, textRole});
        WindowsModernStyle::drawItemText(painter, rect, flags, palette, enabled, text, textRole);
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override
    {
        primitives.append({element, option->rect, option->state, option->palette});
        WindowsModernStyle::drawPrimitive(element, option, painter, widget);
    }

    QList<PrimitiveCall> primitivesOf(PrimitiveElement element) const
    {
        QList<PrimitiveCall> found;
        for (const PrimitiveCall &call : primitives) {
            if (call.element == element)
                found.append(call);
        }
        return found;
    }

    void clear()
    {
        texts.clear();
        primitives.clear();
    }

    mutable QList<TextCall> texts;
    mutable QList<PrimitiveCall> primitives;
};

} // namespace stylefixture
