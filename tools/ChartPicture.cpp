#include "tools/ChartPicture.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

#include "bars/MarksAtClose.h"
#include "bars/TrackRecord.h"
#include "chart/ChartFeed.h"
#include "chart/TChart.h"
#include "chart/TrackFeed.h"
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

using TPainting = std::function<void(QPainter&, const QRect&)>;

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

QByteArray PngOf(const TPainting& paint, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        throw std::runtime_error("no memory for a picture of that size");
    }
    {
        QPainter painter(&image);
        paint(painter, image.rect());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!WithPaletteIfFew(image).save(&buffer, "PNG")) {
        throw std::runtime_error("cannot encode the picture as PNG");
    }
    return bytes;
}

QByteArray SvgOf(const TPainting& paint, QSize size, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(size);
    // So that the picture's width and height, given in millimetres, come to `size` in CSS pixels.
    generator.setResolution(96);
    generator.setViewBox(QRect(QPoint(), size));
    generator.setTitle(title);
    {
        QPainter painter(&generator);
        paint(painter, QRect(QPoint(), size));
    }
    return bytes;
}

QByteArray PictureOf(const TPainting& paint, QSize size, TPictureFormat format,
                     const QString& title) {
    return format == TPictureFormat::Svg ? SvgOf(paint, size, title) : PngOf(paint, size);
}

// Between the table's columns, and between the chart and the table.
constexpr int TableGap = 12;
// The chart keeps at least this many rows; the table comes under it only if it leaves them.
constexpr int LeastTrackChartHeight = 150;

// The table's lines, with the left of each column, and the caption that goes under them; no lines
// when they are wider than the room.
struct TTableText {
    std::vector<QStringList> rows;
    std::vector<int> columnLefts;
    QString caption;
};

TTableText TableText(const TTrackRecords& records, const QFontMetrics& metrics, int width) {
    TTableText table;
    QStringList header{QString()};
    for (const TRecordKind kind : TrackRecordKinds) {
        header << QString::fromUtf8(RecordKindTitle(kind).data(),
                                    static_cast<qsizetype>(RecordKindTitle(kind).size()));
    }
    table.rows.push_back(header);
    for (const TTrackTableRow& row : TrackTable(records)) {
        QStringList line{QString::fromStdString(row.title)};
        for (const std::string& cell : row.cells) {
            line << QString::fromStdString(cell);
        }
        table.rows.push_back(line);
    }
    int left = 0;
    for (qsizetype column = 0; column < header.size(); ++column) {
        table.columnLefts.push_back(left);
        int widest = 0;
        for (const QStringList& row : table.rows) {
            widest = std::max(widest, metrics.horizontalAdvance(row.at(column)));
        }
        left += widest + TableGap;
    }
    table.caption = QString::fromStdString(TrackCaption(records));
    if (left - TableGap > width) {
        table.rows.clear();
    }
    return table;
}

// The record's chart over the area, and its table under the chart where it fits: the page's
// picture.
void PaintTrack(QPainter& painter, const TChart& chart, const TTrackRecords& records,
                const QRect& area) {
    painter.fillRect(area, chart.palette().color(QPalette::Button));
    painter.setFont(chart.font());
    const QFontMetrics metrics = painter.fontMetrics();
    const TTableText table = TableText(records, metrics, area.width() - 2 * TableGap);
    const QRect captionBox = metrics.boundingRect(
        QRect(0, 0, area.width() - 2 * TableGap, area.height()), Qt::TextWordWrap, table.caption);
    const int tableHeight =
        static_cast<int>(table.rows.size()) * metrics.height() + captionBox.height() + TableGap;
    if (table.rows.empty() || area.height() - tableHeight < LeastTrackChartHeight) {
        chart.Render(painter, area);
        return;
    }
    const QRect chartArea(area.left(), area.top(), area.width(), area.height() - tableHeight);
    chart.Render(painter, chartArea);
    painter.setPen(Qt::black);
    int baseline = chartArea.bottom() + TableGap / 2 + metrics.ascent();
    for (const QStringList& row : table.rows) {
        for (qsizetype column = 0; column < row.size(); ++column) {
            painter.drawText(area.left() + TableGap + table.columnLefts.at(column), baseline,
                             row.at(column));
        }
        baseline += metrics.height();
    }
    painter.drawText(captionBox.translated(area.left() + TableGap, baseline - metrics.ascent()),
                     Qt::TextWordWrap, table.caption);
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
    return PictureOf(
        [&](QPainter& painter, const QRect& area) { Paint(painter, chart, line, area); }, size,
        format, QStringLiteral("Quillon chart"));
}

QByteArray TrackPicture(const TRun& run, QSize size, TPictureFormat format) {
    const TMarksAtClose wholeFile = WholeFileMarksAtClose(run);
    const TTrackRecords records = TrackRecordsOf(run, LoadedBarsPart(run, wholeFile), &wholeFile);
    const std::vector<TLineLook> looks = TrackChartLooks();
    TChart chart(looks, std::string(TrackAxisFormat));
    UseWindowFont(chart);
    chart.resize(size);
    FeedTrackChart(records, chart.Model());
    return PictureOf(
        [&](QPainter& painter, const QRect& area) { PaintTrack(painter, chart, records, area); },
        size, format, QStringLiteral("Quillon track record"));
}

} // namespace quillon
