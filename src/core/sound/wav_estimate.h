#pragma once
// How large a WAV file can get once the mixer has decoded and converted it, read from its header
// alone, so that a hostile sample is refused before anything is decoded.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

struct WavShape {
    std::uint64_t frames = 0;  // at most this many
    std::uint32_t rate = 0;
    std::size_t dataSizeAt = 0;   // where the data chunk's size is written
    std::uint32_t dataBytes = 0;  // the bytes of data the file holds, whatever that size claims
};

// What a RIFF WAVE file can decode to at most; nullopt for anything else, or a WAVE without a
// format chunk before its data.
std::optional<WavShape> wavShape(std::span<const std::uint8_t> file);

// The bytes such a file takes at most once converted to a device's rate, channels and sample size.
std::uint64_t wavConvertedBytes(const WavShape& shape, int deviceRate, int deviceChannels,
                                int deviceBytesPerSample);
