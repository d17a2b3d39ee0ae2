#include "tools/ChartPicture.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <stdexcept>

#include "bars/MarksAtClose.h"
#include "chart/ChartFeed.h"
#include "chart/TChart.h"
#include "chart/WindowFont.h"

namespace quillon {

namespace {

// The picture with a palette when it has no more than 256 colours, as a chart's few line and fill
// colours and the shades of its text usually are: the same pixels, and a PNG that libpng writes
// several times faster, since it tries no row filters on palette images.
QImage WithPaletteIfFew(const QImage& image) {
    constexpr int PaletteCapacity = 256;
    QHash<QRgb, uchar> indexOf;
    QList<QRgb> colors;
    QImage indexed(image.size(), QImage::Format_Indexed8);
    for (int row = 0; row < image.height(); ++row) {
        const auto* pixels = reinterpret_cast<const QRgb*>(image.constScanLine(row));
        uchar* indices = indexed.scanLine(row);
        for (int column = 0; column < image.width(); ++column) {
            auto found = indexOf.constFind(pixels[column]);
            if (found == indexOf.constEnd()) {
                if (colors.size() == PaletteCapacity) {
                    return image;
                }
                found = indexOf.insert(pixels[column], static_cast<uchar>(colors.size()));
                colors.append(pixels[column]);
            }
            indices[column] = *found;
        }
    }
    indexed.setColorTable(colors);
    return indexed;
}

// The window's status line: in its small font, 3 pixels from the top of the chart.
constexpr int StatusFontPixels = 8;
constexpr int StatusTop = 3;

// The chart, and the line that the window would show over it (none when empty).
void Paint(QPainter& painter, const TChart& chart, const QString& line, const QRect& area) {
    chart.Render(painter, area);
    if (line.isEmpty()) {
        return;
    }
    QFont font = chart.font();
    font.setPixelSize(StatusFontPixels);
    painter.setFont(font);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect box(area.left(), area.top() + StatusTop, metrics.horizontalAdvance(line),
                    metrics.height());
    // On the chart's own background, so that the grid and the top price label do not cross it.
    painter.fillRect(box, chart.palette().color(QPalette::Button));
    painter.setPen(Qt::black);
    painter.drawText(box.left(), box.top() + metrics.ascent(), line);
}

QByteArray PngOf(const TChart& chart, const QString& line, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        throw std::runtime_error("no memory for a picture of that size");
    }
    {
        QPainter painter(&image);
        Paint(painter, chart, line, image.rect());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!WithPaletteIfFew(image).save(&buffer, "PNG")) {
        throw std::runtime_error("cannot encode the picture as PNG");
    }
    return bytes;
}

QByteArray SvgOf(const TChart& chart, const QString& line, QSize size) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    // So that the picture's width and height, given in millimetres, come to `size` in CSS pixels.
    generator.setResolution(96);
    generator.setViewBox(QRect(QPoint(), size));
    generator.setTitle(QStringLiteral("Quillon chart"));
    {
        QPainter painter(&generator);
        Paint(painter, chart, line, QRect(QPoint(), size));
    }
    return bytes;
}

} // namespace

QByteArray ChartPicture(const TRun& run, QSize size, TPictureFormat format, bool atClose) {
    TChart chart;
    UseWindowFont(chart);
    chart.resize(size);
    FeedChart(run, chart.Model());
    QString line;
    if (atClose) {
        const TMarksAtClose marks = MarksAtClose(run);
        FeedMarksAtClose(run, marks, chart.Model());
        line = QString::fromStdString(MarksAtCloseSummary(run, marks));
    }
    return format == TPictureFormat::Svg ? SvgOf(chart, line, size) : PngOf(chart, line, size);
}

} // namespace quillon
