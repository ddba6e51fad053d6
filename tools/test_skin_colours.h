#pragma once
// Colours of the test skin: every segment is a solid opaque picture of its own colour, so an
// end-to-end test can tell from one pixel which segment is painted on top at that place.
//
//   segment id i (index in kSegmentCatalogue, 0..116) -> RGB(16 + 2i, 255 - 2i, (37 i) mod 256)
//
// Red grows strictly with i, so no two segments share a colour, and it stays below 255, so no
// segment is ever the window's key colour magenta (255, 0, 255).
#include <cstdint>

struct TestSkinColour {
    std::uint8_t r, g, b;
    friend constexpr bool operator==(TestSkinColour, TestSkinColour) = default;
};

constexpr TestSkinColour testSkinColour(int segmentId) {
    return {static_cast<std::uint8_t>(16 + 2 * segmentId),
            static_cast<std::uint8_t>(255 - 2 * segmentId),
            static_cast<std::uint8_t>((37 * segmentId) % 256)};
}
