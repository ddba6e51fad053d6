#pragma once
// Which segments can change the outline of the windowed device, and whether one of them changed.
// The device photograph always can. Any other element (a pressed button, an LCD segment, the
// lid) can only when one of its pictures holds the key colour, covers a point where the
// photograph is see-through, or lies over such an element; that is decided once per skin load,
// so that a key press or a game step on an ordinary skin compares a few flags only and leaves
// the window's X shape alone.
#include <cstdint>
#include <vector>

#include "core/display/segment_display.h"

class WindowOutline {
  public:
    // keyColour is $00BBGGRR, red in the lowest byte. Marks the outline as changed.
    void reset(const SegmentDisplay& display, std::uint32_t keyColour);

    // True when a watched segment was shown, hidden or given another picture since the last call
    // or the reset.
    bool changed(const SegmentDisplay& display);

  private:
    struct State {
        bool visible = false;
        const PictureData* picture = nullptr;
        bool operator==(const State&) const = default;
    };
    std::vector<SegmentId> watched_;
    std::vector<State> last_;
    bool changed_ = true;
};
