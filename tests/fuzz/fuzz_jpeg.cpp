#include "image_writers.h"
#include "picture_checks.h"

using namespace testimg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkDecoded(decodeJpeg({data, size}, kFuzzLimits), PictureFormat::Jpeg);
    return 0;
}

std::vector<FuzzInput> fuzzSeeds() {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 16 * 8 * 4; ++i) samples.push_back(static_cast<std::uint8_t>(i * 29));
    auto take = [&](int channels) {
        return std::vector<std::uint8_t>(samples.begin(), samples.begin() + 16 * 8 * channels);
    };
    return {writeJpeg(16, 8, take(1), JpegKind::Grey, 90),
            writeJpeg(16, 8, take(3), JpegKind::Rgb, 75),
            writeJpeg(16, 8, take(4), JpegKind::CmykAdobe, 90)};
}

void fuzzFixup(FuzzInput&) {}
