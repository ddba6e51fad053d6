#pragma once
// A decoded picture: straight (non-premultiplied) RGBA, 8 bits per channel, rows top to bottom.
// Pictures are immutable once built and shared by pointer, so giving a digit place the glyph of
// a number never copies pixels.
#include <cstdint>
#include <memory>
#include <vector>

struct PictureData {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgba;  // width * height * 4 bytes: R, G, B, A

    std::uint8_t* pixel(int x, int y) {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
    const std::uint8_t* pixel(int x, int y) const {
        return &rgba[(static_cast<std::size_t>(y) * width + x) * 4];
    }
};

using Picture = std::shared_ptr<const PictureData>;  // null = empty picture: draws nothing
