#include "asset_images.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

void useOffscreenPlatform() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Build machines often have no session: give Qt a private runtime folder instead of a warning
    // in every build log.
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir =
            QDir::tempPath().toLocal8Bit() + "/torchwheel-tools-" + QByteArray::number(getuid());
        if (mkdir(dir.constData(), 0700) == 0 || errno == EEXIST) qputenv("XDG_RUNTIME_DIR", dir);
    }
}

QImage renderElement(QSvgRenderer& svg, const QString& id, QRect& where, QColor background,
                     int scale) {
    if (!svg.elementExists(id)) return {};
    const QRectF bounds = svg.boundsOnElement(id);
    const int left = static_cast<int>(std::floor(bounds.left()));
    const int top = static_cast<int>(std::floor(bounds.top()));
    const int right = static_cast<int>(std::ceil(bounds.right()));
    const int bottom = static_cast<int>(std::ceil(bounds.bottom()));
    where = QRect(left, top, std::max(1, right - left), std::max(1, bottom - top));
    QImage image(where.size() * scale, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    svg.render(&painter, id, bounds.translated(-left, -top));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

QImage renderElementToSize(QSvgRenderer& svg, const QString& id, QSize size) {
    if (!svg.elementExists(id)) return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    svg.render(&painter, id, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

void avoidKeyColour(QImage& image) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            if (qAlpha(p) != 0 && qRed(p) == 255 && qGreen(p) == 0 && qBlue(p) == 255)
                row[x] = qRgba(254, 0, 252, qAlpha(p));
        }
    }
}

void hardenAlpha(QImage& image) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            row[x] =
                qAlpha(p) >= 128 ? qRgba(qRed(p), qGreen(p), qBlue(p), 255) : qRgba(0, 0, 0, 0);
        }
    }
}

namespace {
void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xffff);
    put16(b, v >> 16);
}
}  // namespace

bool writeBmp24(const QImage& source, const QString& path) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::uint32_t>(image.width());
    const auto height = static_cast<std::uint32_t>(image.height());
    const std::uint32_t stride = (width * 3 + 3) & ~3u;  // rows padded to 4 bytes
    const std::uint32_t pixelBytes = stride * height;
    std::vector<std::uint8_t> b;
    b.reserve(54 + pixelBytes);
    b.push_back('B');
    b.push_back('M');
    put32(b, 54 + pixelBytes);
    put32(b, 0);
    put32(b, 54);  // pixel data offset
    put32(b, 40);  // BITMAPINFOHEADER
    put32(b, width);
    put32(b, height);  // positive: bottom-up
    put16(b, 1);
    put16(b, 24);
    put32(b, 0);  // BI_RGB
    put32(b, pixelBytes);
    put32(b, 2835);  // 72 dpi
    put32(b, 2835);
    put32(b, 0);
    put32(b, 0);
    for (int y = static_cast<int>(height) - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (std::uint32_t x = 0; x < width; ++x) {
            b.push_back(static_cast<std::uint8_t>(qBlue(row[x])));
            b.push_back(static_cast<std::uint8_t>(qGreen(row[x])));
            b.push_back(static_cast<std::uint8_t>(qRed(row[x])));
        }
        for (std::uint32_t pad = width * 3; pad < stride; ++pad) b.push_back(0);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return file.write(reinterpret_cast<const char*>(b.data()), static_cast<qint64>(b.size())) ==
           static_cast<qint64>(b.size());
}

bool writePng(const QImage& image, const QString& path) {
    return image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG");
}

bool writeJpeg(const QImage& image, const QString& path, int quality) {
    return image.convertToFormat(QImage::Format_RGB32).save(path, "JPG", quality);
}

bool ensureDir(const QString& path) {
    return QDir().mkpath(path);
}
