#include "tools/ChartPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <stdexcept>

#include "bars/MakeWavesRun.h"
#include "chart/TChart.h"
#include "ui/WindowFont.h"

namespace quillon {

namespace {

QByteArray PngOf(const TChart& chart, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull()) {
        throw std::runtime_error("no memory for a picture of that size");
    }
    {
        QPainter painter(&image);
        chart.Render(painter, image.rect());
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) {
        throw std::runtime_error("cannot encode the picture as PNG");
    }
    return bytes;
}

QByteArray SvgOf(const TChart& chart, QSize size) {
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
        chart.Render(painter, QRect(QPoint(), size));
    }
    return bytes;
}

[[noreturn]] void ThrowWriteError(const std::string& path, const QString& reason) {
    throw std::runtime_error("cannot write " + path + ": " + reason.toStdString());
}

} // namespace

QByteArray ChartPicture(const TRunCore& run, QSize size, TPictureFormat format) {
    TChart chart;
    UseWindowFont(chart);
    chart.resize(size);
    FeedChart(run, chart.Model());
    return format == TPictureFormat::Svg ? SvgOf(chart, size) : PngOf(chart, size);
}

void WriteFileInPlace(const std::string& path, const QByteArray& bytes) {
    QSaveFile file(QFile::decodeName(path.c_str()));
    if (!file.open(QIODevice::WriteOnly)) {
        ThrowWriteError(path, file.errorString());
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        ThrowWriteError(path, file.errorString());
    }
}

} // namespace quillon
