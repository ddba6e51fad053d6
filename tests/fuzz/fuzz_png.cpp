#include <zlib.h>

#include "image_writers.h"
#include "picture_checks.h"

using namespace testimg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkDecoded(decodePng({data, size}, kFuzzLimits), PictureFormat::Png);
    return 0;
}

std::vector<FuzzInput> fuzzSeeds() {
    std::vector<FuzzInput> seeds;
    auto opts = [](PngKind kind, int depth, std::vector<std::uint16_t> trns = {},
                   bool interlaced = false) {
        PngOptions o;
        o.kind = kind;
        o.depth = depth;
        o.trns = std::move(trns);
        o.interlaced = interlaced;
        return o;
    };
    std::vector<std::uint16_t> samples;
    for (int i = 0; i < 5 * 4 * 4; ++i) samples.push_back(static_cast<std::uint16_t>(i * 37 % 256));
    auto limited = [&](int channels, int depth) {
        std::vector<std::uint16_t> s;
        for (int i = 0; i < 5 * 4 * channels; ++i) s.push_back(samples[i] % (1u << depth));
        return s;
    };
    seeds.push_back(writePng(5, 4, limited(3, 8), opts(PngKind::Rgb, 8)));
    seeds.push_back(writePng(5, 4, limited(4, 8), opts(PngKind::Rgba, 8)));
    seeds.push_back(writePng(5, 4, limited(1, 2), opts(PngKind::Grey, 2, {1})));
    seeds.push_back(writePng(5, 4, limited(2, 16), opts(PngKind::GreyAlpha, 16)));
    seeds.push_back(writePng(5, 4, limited(3, 16), opts(PngKind::Rgb, 16, {1, 2, 3})));
    seeds.push_back(writePng(5, 4, limited(1, 8), opts(PngKind::Grey, 8, {}, true)));
    seeds.push_back(writePng(5, 4, limited(1, 2), opts(PngKind::Palette, 2, {0, 128}),
                             {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}}));
    return seeds;
}

void fuzzFixup(FuzzInput& b) {
    // Walk the chunks after the signature and give each a correct CRC.
    std::size_t pos = 8;
    while (pos + 12 <= b.size()) {
        const std::uint32_t length =
            (std::uint32_t{b[pos]} << 24) | (b[pos + 1] << 16) | (b[pos + 2] << 8) | b[pos + 3];
        if (length > b.size() - pos - 12) break;
        const std::uint32_t crc =
            static_cast<std::uint32_t>(crc32(0, b.data() + pos + 4, length + 4));
        const std::size_t at = pos + 8 + length;
        for (int i = 0; i < 4; ++i) b[at + i] = (crc >> (24 - 8 * i)) & 0xFF;
        pos = at + 4;
    }
}

#ifdef TORCHWHEEL_LIBFUZZER
extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);
extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int) {
    const std::size_t n = LLVMFuzzerMutate(data, size, maxSize);
    FuzzInput b(data, data + n);
    fuzzFixup(b);
    std::copy(b.begin(), b.end(), data);
    return n;
}
#endif
