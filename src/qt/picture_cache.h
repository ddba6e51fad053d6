#pragma once
// Converts the core's pictures to QImages once, ready for fast painting. Pictures are immutable,
// so a picture's address identifies its pixels for as long as the cache holds a reference to it.
// At a scale other than the skin's own the pictures are scaled once per scale, never per paint.
#include <QImage>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <tuple>
#include <unordered_map>

#include "core/picture.h"

class PictureCache {
  public:
    // A picture as painted at the scale in use. Where the windowed device's key colour appears
    // in it, `holes` marks the pixels that open the outline there (null when there are none).
    struct Scaled {
        QImage image;
        QImage holes;
    };

    const QImage& image(const Picture& picture);
    void clear() {
        images_.clear();
        scaled_.clear();
        sharpSources_.clear();
    }
    // Lets go of the pictures nothing but the cache still holds (those of an earlier skin load).
    void dropUnused();
    static QImage toImage(const PictureData& data);

    // Scaled pictures are made for this factor (screen pixels per skin pixel) and this key
    // colour ($00BBGGRR, none in full screen); a change forgets those made before.
    void setScale(double factor, std::optional<std::uint32_t> key);
    // Where pictures at twice their size come from, for factors of 2 and more: the sharp
    // picture for a picture, or null.
    using SharpSource = std::function<Picture(const PictureData&)>;
    void setSharp(SharpSource sharp);
    // The picture at `size` screen pixels: its sharp picture or itself, repeated pixel for
    // pixel where the size is a whole multiple, else smoothed.
    const Scaled& scaled(const Picture& picture, QSize size);
    // A picture that would take more than kLargestScaledBytes at `size`, where no key colour is
    // in use, is not kept scaled: it is drawn from these pixels (its sharp picture or itself)
    // within each repaint's area. Null for every other picture, which scaled() holds. A 4K
    // screen would otherwise hold the device photograph and its frames several times over.
    const QImage* unscaledSource(const Picture& picture, QSize size);
    static constexpr std::int64_t kLargestScaledBytes = std::int64_t{4} << 20;

  private:
    struct Entry {
        Picture keepAlive;
        QImage image;
    };
    struct ScaledEntry {
        Picture keepAlive;
        Scaled scaled;
    };
    using ScaledKey = std::tuple<const PictureData*, int, int>;
    std::unordered_map<const PictureData*, Entry> images_;
    std::map<ScaledKey, ScaledEntry> scaled_;
    std::unordered_map<const PictureData*, Entry> sharpSources_;
    SharpSource sharp_;
    double factor_ = 1.0;
    std::optional<std::uint32_t> key_;
};
