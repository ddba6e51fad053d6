#pragma once
// Converts the core's pictures to QImages once, ready for fast painting. Pictures are immutable,
// so a picture's address identifies its pixels for as long as the cache holds a reference to it.
#include <QImage>
#include <unordered_map>

#include "core/picture.h"

class PictureCache {
  public:
    const QImage& image(const Picture& picture);
    void clear() { images_.clear(); }
    // Lets go of the pictures nothing but the cache still holds (those of an earlier skin load).
    void dropUnused();
    static QImage toImage(const PictureData& data);

  private:
    struct Entry {
        Picture keepAlive;
        QImage image;
    };
    std::unordered_map<const PictureData*, Entry> images_;
};
