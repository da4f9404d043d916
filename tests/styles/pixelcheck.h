#pragma once

// Helpers for the pixel tests: images to paint style elements into and
// colour comparisons with a small tolerance for gradient rounding.

#include <QColor>
#include <QImage>
#include <QString>
#include <QtTest>

namespace pixelcheck {

// A colour that no theme uses, to see where nothing was painted.
inline QColor untouched()
{
    return QColor(0xFF, 0x00, 0xFF);
}

inline QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(untouched());
    return image;
}

// True when no pixel of the image was painted over.
inline bool nothingPainted(const QImage &image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != untouched().rgb())
                return false;
    return true;
}

inline bool near(const QColor &actual, const QColor &expected, int tolerance = 2)
{
    return qAbs(actual.red() - expected.red()) <= tolerance && qAbs(actual.green() - expected.green()) <= tolerance
        && qAbs(actual.blue() - expected.blue()) <= tolerance;
}

inline QString describe(const QColor &colour)
{
    return colour.name(QColor::HexRgb);
}

} // namespace pixelcheck

// Compares the pixel at (x, y) of an image with a colour, within a tolerance
// per channel (2 for CHECK_PIXEL, for a pixel at a gradient stop).
#define CHECK_PIXEL(image, x, y, expected) CHECK_PIXEL_WITHIN(image, x, y, expected, 2)
#define CHECK_PIXEL_WITHIN(image, x, y, expected, tolerance)                                                   \
    do {                                                                                                       \
        const QColor actual_ = QColor::fromRgb((image).pixel((x), (y)));                                       \
        const QColor expected_ = (expected);                                                                   \
        QVERIFY2(pixelcheck::near(actual_, expected_, (tolerance)),                                            \
                 qPrintable(QStringLiteral("pixel (%1, %2) is %3, expected %4")                                \
                                .arg(x)                                                                        \
                                .arg(y)                                                                        \
                                .arg(pixelcheck::describe(actual_), pixelcheck::describe(expected_))));        \
    } while (false)
