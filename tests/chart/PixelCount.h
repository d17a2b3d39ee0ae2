#pragma once

#include <QColor>
#include <QImage>
#include <QRect>
#include <functional>

namespace quillon {

// How many pixels of `area` in image are as wanted.
inline int CountPixels(const QImage& image, const QRect& area,
                       const std::function<bool(QColor)>& wanted) {
    int count = 0;
    for (int row = area.top(); row <= area.bottom(); ++row) {
        for (int column = area.left(); column <= area.right(); ++column) {
            count += wanted(image.pixelColor(column, row)) ? 1 : 0;
        }
    }
    return count;
}

inline int CountPixels(const QImage& image, const QRect& area, const QColor& color) {
    return CountPixels(image, area, [&](QColor pixel) { return pixel == color; });
}

} // namespace quillon
