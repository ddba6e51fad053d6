#include "image_writers.h"
#include "picture_checks.h"

using namespace testimg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkDecoded(decodeBmp({data, size}, kFuzzLimits), PictureFormat::Bitmap);
    return 0;
}

std::vector<FuzzInput> fuzzSeeds() {
    std::vector<FuzzInput> seeds;
    const RgbImage image = cornerImage(5, 4);
    for (int bits : {4, 8, 16, 24, 32}) {
        BmpOptions o;
        o.bits = bits;
        seeds.push_back(writeBmp(image, o));
        o.topDown = true;
        seeds.push_back(writeBmp(image, o));
        o.topDown = false;
        if (bits == 4 || bits == 8) {
            o.kind = BmpKind::Rle;
            seeds.push_back(writeBmp(image, o));
        }
        if (bits == 16 || bits == 32) {
            o.kind = BmpKind::Bitfields;
            o.masks = bits == 16 ? std::array<std::uint32_t, 3>{0xF800, 0x07E0, 0x1F}
                                 : std::array<std::uint32_t, 3>{0xFF, 0xFF00, 0xFF0000};
            seeds.push_back(writeBmp(image, o));
            o.headerSize = 124;
            seeds.push_back(writeBmp(image, o));
        }
    }
    BmpOptions core;
    core.coreHeader = true;
    core.bits = 8;
    seeds.push_back(writeBmp(image, core));
    // Hand-made RLE with absolute runs and deltas.
    seeds.push_back(rawBmp(4, 3, 8, 1, {{1, 2, 3}, {4, 5, 6}},
                           {0, 3, 1, 0, 1, 0, 0, 0, 0, 2, 1, 1, 2, 1, 0, 1}));
    seeds.push_back(rawBmp(6, 2, 4, 2, {{1, 2, 3}, {4, 5, 6}}, {3, 0x10, 0, 3, 0x10, 0x10, 0, 1}));
    // A few bytes of run-length data for a picture at the pixel limit.
    seeds.push_back(rawBmp(128, 128, 8, 1, {{1, 2, 3}, {4, 5, 6}}, {255, 1, 0, 2, 9, 200, 0, 1}));
    return seeds;
}

void fuzzFixup(FuzzInput&) {}
