#include "core/sound/wav_estimate.h"

#include <algorithm>
#include <utility>

namespace {

std::uint32_t le(std::span<const std::uint8_t> d, std::size_t at, int bytes) {
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | d[at + i];
    return v;
}

}  // namespace

// Only WAVE is accepted: the other formats the mixer knows are compressed, and a tiny one can
// unpack to gigabytes. No WAVE format gives more than two samples a byte (4-bit ADPCM), so that
// is assumed for all but plain PCM and float. Those the mixer may also count in blocks of the
// file's block alignment where that is smaller than a frame (24-bit samples): the smaller counts.
std::optional<WavShape> wavShape(std::span<const std::uint8_t> d) {
    if (d.size() < 12 || le(d, 0, 4) != 0x46464952u || le(d, 8, 4) != 0x45564157u)  // RIFF, WAVE
        return std::nullopt;
    std::uint32_t channels = 0, bits = 0, rate = 0, tag = 0, align = 0;
    bool haveFormat = false;
    for (std::size_t at = 12; at + 8 <= d.size();) {
        const std::uint32_t id = le(d, at, 4);
        const std::uint64_t size = std::min<std::uint64_t>(le(d, at + 4, 4), d.size() - at - 8);
        // The mixer decodes by the first "fmt " chunk: a later one must not lower the estimate.
        if (id == 0x20746D66u && !std::exchange(haveFormat, true)) {  // "fmt "
            if (size < 16) return std::nullopt;
            tag = le(d, at + 8, 2);
            channels = le(d, at + 10, 2);
            rate = le(d, at + 12, 4);
            align = le(d, at + 20, 2);
            bits = le(d, at + 22, 2);
            if (tag == 0xFFFEu && size >= 26) tag = le(d, at + 32, 2);  // extensible: its subformat
        } else if (id == 0x61746164u && channels > 0 && rate > 0) {     // "data" after "fmt "
            const bool plain = tag == 1 || tag == 3;
            const std::uint64_t bitsPerFrame =
                plain ? std::max(8u, std::min(std::max(bits, 8u) * channels, align * 8))
                      : 4 * channels;
            return WavShape{size * 8 / bitsPerFrame + 1, rate, at + 4,
                            static_cast<std::uint32_t>(size)};
        }
        at += 8 + size + (size & 1);
    }
    return std::nullopt;
}

std::uint64_t wavConvertedBytes(const WavShape& shape, int deviceRate, int deviceChannels,
                                int deviceBytesPerSample) {
    const std::uint64_t frames =
        shape.frames * static_cast<std::uint64_t>(std::max(deviceRate, 0)) / shape.rate + 1;
    return frames * static_cast<std::uint64_t>(std::max(deviceChannels, 0)) *
           static_cast<std::uint64_t>(std::max(deviceBytesPerSample, 0));
}
