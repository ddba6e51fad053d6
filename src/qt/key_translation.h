#pragma once
// Qt key events -> the Windows virtual-key codes the key bindings hold, the way a player expects:
// the physical key counts, not the character it types. Shift+1 is still the key 1, on every
// layout; left and right Shift, Ctrl and Alt are the same key; keypad digits are not main-row
// digits.
#include <Qt>
#include <cstdint>
#include <optional>

#include "core/input/input_dispatch.h"

class QKeyEvent;

// What a key event's native scan code means.
enum class ScanCodeKind {
    Xkb,    // an X11/xkb keycode (evdev code + 8): xcb and Wayland
    Other,  // unknown; only Qt's key code and modifiers are used
};

// The kind for the running platform plugin.
ScanCodeKind currentScanCodeKind();

// 0 when the key has no virtual-key code (0 matches no binding).
std::uint16_t virtualKeyOf(const QKeyEvent& event, ScanCodeKind kind);
std::uint16_t virtualKeyOf(const QKeyEvent& event);

struct KeyStroke {
    bool down;
    std::uint16_t code;
};

// The event to dispatch for a key press or release, or nothing. Every press is dispatched,
// auto-repeated ones included; of the releases only the final one is, because X11 reports a
// held key as release/press pairs and the buttons would otherwise flicker up and down.
std::optional<KeyStroke> keyStrokeOf(const QKeyEvent& event, ScanCodeKind kind);
std::optional<KeyStroke> keyStrokeOf(const QKeyEvent& event);

// The device window's key handlers: FormKeyDown or FormKeyUp for a Qt key event, if any.
void dispatchKeyEvent(InputDispatch& input, const QKeyEvent& event);

// The device's name for a mouse button.
MouseButton mouseButtonOf(Qt::MouseButton button);
