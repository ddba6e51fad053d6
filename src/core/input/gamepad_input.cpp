#include "core/input/gamepad_input.h"

#include "core/input/input_dispatch.h"

namespace {
constexpr std::uint32_t bitOf(int binding) {
    return 1u << (binding - 1);
}
}  // namespace

std::uint32_t GamepadInput::heldBy(const PadState& pad) {
    std::uint32_t held = 0;
    for (const PadButtonMapping& m : kPadButtonMap)
        if (pad.buttons & (1u << static_cast<int>(m.button))) held |= bitOf(m.binding);
    if (pad.stick < 0) held |= bitOf(kBindLeft);
    if (pad.stick > 0) held |= bitOf(kBindRight);
    return held;
}

void GamepadInput::update(const std::function<void()>& change) {
    change();
    std::uint32_t now = 0;
    for (const auto& [id, pad] : pads_) now |= heldBy(pad);
    const std::uint32_t released = held_ & ~now;
    const std::uint32_t pressed = now & ~held_;
    held_ = now;
    // Releases first: a stick flipped from left to right lets go of LEFT before RIGHT goes down.
    for (int n = 1; n <= kBindingCount; ++n) {
        if (!(released & bitOf(n)) || !(delivered_ & bitOf(n))) continue;
        delivered_ &= ~bitOf(n);
        dispatch_.buttonUp(n);
    }
    for (int n = 1; n <= kBindingCount; ++n) {
        if (!(pressed & bitOf(n)) || !accepting_()) continue;
        delivered_ |= bitOf(n);
        dispatch_.buttonDown(n);
    }
}

void GamepadInput::buttonChanged(int pad, PadButton button, bool down) {
    const std::uint32_t bit = 1u << static_cast<int>(button);
    update([&] {
        std::uint32_t& buttons = pads_[pad].buttons;
        buttons = down ? buttons | bit : buttons & ~bit;
    });
}

void GamepadInput::stickMoved(int pad, int x) {
    update([&] {
        int& stick = pads_[pad].stick;
        if (stick < 0 && x >= -kStickRelease) stick = 0;
        if (stick > 0 && x <= kStickRelease) stick = 0;
        if (stick == 0) stick = x <= -kStickPress ? -1 : x >= kStickPress ? 1 : 0;
    });
}

void GamepadInput::detached(int pad) {
    update([&] { pads_.erase(pad); });
}
