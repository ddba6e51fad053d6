#pragma once
// The six bindable device buttons, their chosen keys, and the hint texts of the on-picture
// buttons that name those keys.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/display/segment_catalogue.h"

class SettingsStore;

struct KeyBinding {
    std::int32_t choice = 0;    // KeyChoice index; the value that is stored
    std::uint16_t keyCode = 0;  // derived from choice by AssignWord; 0 matches no key
};

struct KeyBindingInfo {
    std::string_view settingName;
    std::string_view label;  // the device button, as the key settings dialog names it
    std::int32_t defaultChoice;
};

inline constexpr int kBindingCount = 6;

// Binding order; also the order in which key events are compared.
inline constexpr std::array<KeyBindingInfo, kBindingCount> kBindingTable{{
    {"Key1", "Game A", 2},
    {"Key2", "Game B", 3},
    {"Key3", "Time", 4},
    {"Key4", "ACL", 6},
    {"Key5", "Left", 39},
    {"Key6", "Right", 40},
}};

// Binding numbers (1-based) by device button.
inline constexpr int kBindGameA = 1;
inline constexpr int kBindGameB = 2;
inline constexpr int kBindTime = 3;
inline constexpr int kBindAcl = 4;
inline constexpr int kBindLeft = 5;
inline constexpr int kBindRight = 6;

class KeyBindings {
  public:
    // All six bindings inert (choice 0, key code 0) until load().
    KeyBindings() = default;

    // Window creation: reads Key1..Key6 in order with their defaults, writes each back (so the
    // store holds all six after the first start) and assigns its key code, then the hints.
    void load(SettingsStore& settings);

    // Binding n's key code from its choice; a choice that names no key leaves the code as it was.
    void AssignWord(int n);
    // Rebuilds the hint texts of the eight hint-bearing elements from the current choices.
    void AssignHints();

    const KeyBinding& binding(int n) const { return bindings_[n - 1]; }
    void setChoice(int n, std::int32_t choice) { bindings_[n - 1].choice = choice; }

    // The hint of a device-window element; empty for elements without a hint.
    const std::string& hint(SegmentId id) const { return hints_[id]; }

  private:
    std::string keyName(int n) const;

    std::array<KeyBinding, kBindingCount> bindings_{};
    std::array<std::string, kSegmentCount> hints_{};
};
