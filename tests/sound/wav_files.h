#pragma once
// WAV files made on the spot: 16-bit mono PCM sine tones, and files that only look like WAVs.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

inline void putLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline std::vector<std::uint8_t> sineWav(int milliseconds, double hz = 440.0, int rate = 22050) {
    const std::uint32_t frames = static_cast<std::uint32_t>(rate) * milliseconds / 1000;
    std::vector<std::uint8_t> w;
    w.reserve(44 + frames * 2);
    const auto tag = [&w](const char* t) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<std::uint8_t>(t[i]));
    };
    tag("RIFF");
    putLe(w, 36 + frames * 2, 4);
    tag("WAVE");
    tag("fmt ");
    putLe(w, 16, 4);
    putLe(w, 1, 2);  // PCM
    putLe(w, 1, 2);  // mono
    putLe(w, static_cast<std::uint32_t>(rate), 4);
    putLe(w, static_cast<std::uint32_t>(rate) * 2, 4);
    putLe(w, 2, 2);
    putLe(w, 16, 2);
    tag("data");
    putLe(w, frames * 2, 4);
    for (std::uint32_t i = 0; i < frames; ++i) {
        const double s = std::sin(2.0 * 3.14159265358979 * hz * i / rate);
        putLe(w, static_cast<std::uint16_t>(static_cast<std::int16_t>(s * 20000)), 2);
    }
    return w;
}

// A 16-bit mono file's bytes read in another layout: format tag, channels, block alignment, bits
// a sample, and a rate other than its own if given.
inline std::vector<std::uint8_t> relaidWav(std::vector<std::uint8_t> w, int tag, int channels,
                                           int align, int bits, std::uint32_t rate = 0) {
    w[20] = tag, w[22] = channels, w[32] = align & 0xFF, w[33] = align >> 8, w[34] = bits;
    for (int i = 0; rate != 0 && i < 4; ++i) w[24 + i] = static_cast<std::uint8_t>(rate >> 8 * i);
    return w;
}

// Files that hold no whole frame for a 22050 Hz stereo device: an empty data chunk, part of a
// 24-bit stereo frame, one frame at 284 kHz, IMA ADPCM in five channels and a too small block.
inline std::vector<std::vector<std::uint8_t>> soundlessWavs() {
    return {sineWav(0), relaidWav(sineWav(1, 440, 2000), 1, 2, 6, 24),
            relaidWav(sineWav(1, 440, 1000), 1, 1, 2, 16, 284000),
            relaidWav(sineWav(40), 0x11, 5, 256, 4)};
}

inline void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A WAV header that promises a format chunk and data it does not have.
inline std::vector<std::uint8_t> lyingWavHeader() {
    std::vector<std::uint8_t> w = sineWav(10);
    w.resize(24);
    w[16] = 0xFF;  // fmt chunk size far beyond the file
    w[17] = 0xFF;
    return w;
}
