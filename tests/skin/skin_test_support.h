#pragma once
// A scratch folder that is also the working directory for the length of a test (skin paths are
// relative to it), and a shell that records what the loader asks of the desktop.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/picture.h"
#include "support/recording_shell.h"

class ScratchDirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("torchwheel_skin_" + std::string(info->test_suite_name()) + "_" + info->name() +
                "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(previous_);
        std::filesystem::remove_all(dir_);
    }

    // Writes a file below the scratch folder, creating its folders.
    void writeText(const std::string& relative, const std::string& text) {
        const auto path = dir_ / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string path(const std::string& relative) const { return (dir_ / relative).string(); }

    std::filesystem::path dir_;

  private:
    std::filesystem::path previous_;
};

// Text as Windows' Notepad saves it as "Unicode": UTF-16 with a byte order mark.
inline std::string utf16(std::u16string_view text, bool bigEndian = false) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

// The colour and alpha of one pixel, for readable comparisons.
struct Rgba {
    int r, g, b, a;
    bool operator==(const Rgba&) const = default;
};
inline std::ostream& operator<<(std::ostream& os, const Rgba& c) {
    return os << "(" << c.r << "," << c.g << "," << c.b << "," << c.a << ")";
}
inline Rgba pixelAt(const Picture& p, int x, int y) {
    const std::uint8_t* px = p->pixel(x, y);
    return {px[0], px[1], px[2], px[3]};
}
