#include "chart/WindowFont.h"

#include <QFont>
#include <QWidget>

namespace quillon {

namespace {

constexpr int FontPixelHeight = 11;

} // namespace

void UseWindowFont(QWidget& window) {
    QFont font = window.font();
    font.setPixelSize(FontPixelHeight);
    // Where no narrow face is installed, the toolkit narrows the regular one.
    font.setStretch(QFont::SemiCondensed);
    window.setFont(font);
}

} // namespace quillon
