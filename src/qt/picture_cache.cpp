#include "qt/picture_cache.h"

namespace {
// The key colour, opaque, as QImage keeps it.
QRgb opaqueKey(std::uint32_t bgr) {
    return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// Takes the key colour out of a picture before it is scaled: smoothing would otherwise blend it
// into the device's edge, where it is no longer the key and shows as a fringe. The pixels it
// took go into the returned holes picture (null when there were none).
QImage takeKey(QImage& image, QRgb key) {
    QImage holes;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] != key) continue;
            if (holes.isNull()) {
                holes = QImage(image.size(), QImage::Format_ARGB32_Premultiplied);
                holes.fill(Qt::transparent);
            }
            holes.setPixel(x, y, 0xFF000000u);
            line[x] = 0;
        }
    }
    return holes;
}

QImage scaledTo(const QImage& source, QSize size) {
    if (source.size() == size || source.isNull()) return source;
    const bool repeat = size.width() % source.width() == 0 && size.height() % source.height() == 0;
    return source.scaled(size, Qt::IgnoreAspectRatio,
                         repeat ? Qt::FastTransformation : Qt::SmoothTransformation);
}
}  // namespace

QImage PictureCache::toImage(const PictureData& data) {
    if (data.width <= 0 || data.height <= 0) return {};
    const QImage view(data.rgba.data(), data.width, data.height, data.width * 4,
                      QImage::Format_RGBA8888);
    return view.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

const QImage& PictureCache::image(const Picture& picture) {
    auto it = images_.find(picture.get());
    if (it == images_.end())
        it = images_.emplace(picture.get(), Entry{picture, toImage(*picture)}).first;
    return it->second.image;
}

void PictureCache::dropUnused() {
    std::erase_if(images_,
                  [](const auto& entry) { return entry.second.keepAlive.use_count() == 1; });
    std::erase_if(scaled_,
                  [](const auto& entry) { return entry.second.keepAlive.use_count() == 1; });
    std::erase_if(sharpSources_,
                  [](const auto& entry) { return entry.second.keepAlive.use_count() == 1; });
}

void PictureCache::setScale(double factor, std::optional<std::uint32_t> key) {
    if (factor == factor_ && key == key_) return;
    factor_ = factor;
    key_ = key;
    scaled_.clear();
    sharpSources_.clear();
}

void PictureCache::setSharp(SharpSource sharp) {
    sharp_ = std::move(sharp);
    scaled_.clear();
    sharpSources_.clear();
}

const QImage* PictureCache::unscaledSource(const Picture& picture, QSize size) {
    if (key_ || std::int64_t{4} * size.width() * size.height() <= kLargestScaledBytes)
        return nullptr;
    if (factor_ < 2.0 || !sharp_) return &image(picture);
    auto it = sharpSources_.find(picture.get());
    if (it == sharpSources_.end()) {
        // Kept: a quarter of what the picture would take scaled 4 times, read once per scale.
        const Picture sharp = sharp_(*picture);
        it =
            sharpSources_.emplace(picture.get(), Entry{picture, sharp ? toImage(*sharp) : QImage()})
                .first;
    }
    return it->second.image.isNull() ? &image(picture) : &it->second.image;
}

const PictureCache::Scaled& PictureCache::scaled(const Picture& picture, QSize size) {
    const ScaledKey key{picture.get(), size.width(), size.height()};
    auto it = scaled_.find(key);
    if (it != scaled_.end()) return it->second.scaled;
    // The sharp picture is read for this one use: kept, it would double what a scale costs.
    const Picture sharp = factor_ >= 2.0 && sharp_ ? sharp_(*picture) : nullptr;
    QImage source = toImage(sharp ? *sharp : *picture);
    Scaled made;
    if (key_) made.holes = scaledTo(takeKey(source, opaqueKey(*key_)), size);
    made.image = scaledTo(source, size);
    return scaled_.emplace(key, ScaledEntry{picture, std::move(made)}).first->second.scaled;
}
