#pragma once
// Gamepads as one more way to press the six device buttons. The controls are named by their place
// on a standard pad, as SDL's game controller layer names them; the mapping to device buttons is
// fixed (see kPadButtonMap). Any number of sources may hold a device button at once (the
// directional pad and the stick, or two pads): the button is pressed when the first source goes
// down and released when the last one lets go, so a held control never repeats.
#include <array>
#include <cstdint>
#include <functional>
#include <map>

#include "core/input/key_bindings.h"

class InputDispatch;

// In SDL_GameControllerButton order.
enum class PadButton {
    South,  // A, cross
    East,   // B, circle
    West,   // X, square
    North,  // Y, triangle
    Back,
    Guide,
    Start,
    LeftStick,
    RightStick,
    LeftShoulder,
    RightShoulder,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
};
inline constexpr int kPadButtonCount = 15;

struct PadButtonMapping {
    PadButton button;
    int binding;  // the device button, by binding number (kBindGameA ...)
};

// The left stick's horizontal axis also drives LEFT and RIGHT. Shoulders are left free, so that a
// careless grip cannot reset a game.
inline constexpr std::array<PadButtonMapping, 8> kPadButtonMap{{
    {PadButton::South, kBindGameA},
    {PadButton::Start, kBindGameA},
    {PadButton::East, kBindGameB},
    {PadButton::West, kBindTime},
    {PadButton::North, kBindTime},
    {PadButton::Back, kBindAcl},
    {PadButton::DpadLeft, kBindLeft},
    {PadButton::DpadRight, kBindRight},
}};

// The stick counts as pushed from half way out, and as back in the middle only inside a third of
// the way, so a thumb resting near the edge of the dead zone never chatters.
inline constexpr int kStickPress = 16384;
inline constexpr int kStickRelease = 10923;

class GamepadInput {
  public:
    // accepting: whether a press may reach the device now (the device window would take a key).
    // A release always follows a press that was delivered, whatever accepting says by then.
    GamepadInput(InputDispatch& dispatch, std::function<bool()> accepting)
        : dispatch_(dispatch), accepting_(std::move(accepting)) {}

    // pad: any number naming one controller for as long as it is attached.
    void buttonChanged(int pad, PadButton button, bool down);
    // The left stick's horizontal position, -32768 (left) to 32767 (right).
    void stickMoved(int pad, int x);
    // The controller is gone: everything it held is let go.
    void detached(int pad);

    // The device buttons held down as the device sees them, one bit per binding (bit n-1).
    std::uint32_t deliveredButtons() const { return delivered_; }

  private:
    struct PadState {
        std::uint32_t buttons = 0;  // bit per PadButton
        int stick = 0;              // -1 left, 0 middle, +1 right
    };
    static std::uint32_t heldBy(const PadState& pad);
    void update(const std::function<void()>& change);

    InputDispatch& dispatch_;
    std::function<bool()> accepting_;
    std::map<int, PadState> pads_;
    std::uint32_t held_ = 0;       // device buttons some source holds
    std::uint32_t delivered_ = 0;  // device buttons whose press reached the device
};
