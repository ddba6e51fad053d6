#pragma once
// The 44 keys a device button can be bound to. Everything else about keys (list entries of the key
// settings dialog, hint names, key codes) is read from this one table.
#include <array>
#include <cstdint>
#include <string_view>

struct KeyChoice {
    int index;                  // 1..44, the number that is stored
    std::string_view listText;  // entry of the key settings lists (entry number = index - 1)
    std::string_view hintName;  // the words used in the button hints
    std::uint16_t keyCode;      // Windows virtual-key code as delivered by key events
};

inline constexpr std::array<KeyChoice, 44> kKeyChoices{{
    {1, "0", "'0'", 48},
    {2, "1", "'1'", 49},
    {3, "2", "'2'", 50},
    {4, "3", "'3'", 51},
    {5, "4", "'4'", 52},
    {6, "5", "'5'", 53},
    {7, "6", "'6'", 54},
    {8, "7", "'7'", 55},
    {9, "8", "'8'", 56},
    {10, "9", "'9'", 57},
    {11, "A", "'A'", 65},
    {12, "B", "'B'", 66},
    {13, "C", "'C'", 67},
    {14, "D", "'D'", 68},
    {15, "E", "'E'", 69},
    {16, "F", "'F'", 70},
    {17, "G", "'G'", 71},
    {18, "H", "'H'", 72},
    {19, "I", "'I'", 73},
    {20, "J", "'J'", 74},
    {21, "K", "'K'", 75},
    {22, "L", "'L'", 76},
    {23, "M", "'M'", 77},
    {24, "N", "'N'", 78},
    {25, "O", "'O'", 79},
    {26, "P", "'P'", 80},
    {27, "Q", "'Q'", 81},
    {28, "R", "'R'", 82},
    {29, "S", "'S'", 83},
    {30, "T", "'T'", 84},
    {31, "U", "'U'", 85},
    {32, "V", "'V'", 86},
    {33, "W", "'W'", 87},
    {34, "X", "'X'", 88},
    {35, "Y", "'Y'", 89},
    {36, "Z", "'Z'", 90},
    {37, "<UP ARROW>", "'up arrow' key", 38},
    {38, "<DOWN ARROW>", "'down arrow' key", 40},
    {39, "<LEFT ARROW>", "'left arrow' key", 37},
    {40, "<RIGHT ARROW>", "'right arrow' key", 39},
    {41, "<ALT>", "'alt' key", 18},
    {42, "<CTRL>", "'ctrl' key", 17},
    {43, "<SHIFT>", "'shift' key", 16},
    {44, "<SPACEBAR>", "'spacebar'", 32},
}};

inline constexpr int kKeyChoiceCount = static_cast<int>(kKeyChoices.size());

// Shown in hints for a stored choice that names no key (the binding then reacts to no key).
inline constexpr std::string_view kNoKeyHintName = "(no key set)";

constexpr bool isKeyChoice(int index) {
    return index >= 1 && index <= kKeyChoiceCount;
}

// The table entry of a choice; only for isKeyChoice(index).
constexpr const KeyChoice& keyChoice(int index) {
    return kKeyChoices[index - 1];
}

constexpr std::string_view hintNameOf(int index) {
    return isKeyChoice(index) ? keyChoice(index).hintName : kNoKeyHintName;
}

// The table must stay in index order: the dialog's entry number is index - 1.
static_assert([] {
    for (int i = 0; i < kKeyChoiceCount; ++i)
        if (kKeyChoices[i].index != i + 1) return false;
    return true;
}());
