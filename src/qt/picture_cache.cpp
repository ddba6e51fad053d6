#include "qt/picture_cache.h"

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
}
