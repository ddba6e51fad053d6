#pragma once
// Windows virtual-key codes beyond the printable range: the codes the key bindings, the menu's
// shortcuts and the dialogs' keys are written in. Letters and main-row digits are their ASCII
// capitals and digits.
#include <cstdint>

// Windows virtual-key codes beyond the printable range.
enum Vk : std::uint16_t {
    VkBack = 8,
    VkTab = 9,
    VkClear = 12,
    VkReturn = 13,
    VkShift = 16,
    VkControl = 17,
    VkMenu = 18,
    VkPause = 19,
    VkCapital = 20,
    VkEscape = 27,
    VkSpace = 32,
    VkPrior = 33,
    VkNext = 34,
    VkEnd = 35,
    VkHome = 36,
    VkLeft = 37,
    VkUp = 38,
    VkRight = 39,
    VkDown = 40,
    VkSnapshot = 44,
    VkInsert = 45,
    VkDelete = 46,
    VkLWin = 91,
    VkRWin = 92,
    VkApps = 93,
    VkNumpad0 = 96,
    VkMultiply = 106,
    VkAdd = 107,
    VkSubtract = 109,
    VkDecimal = 110,
    VkDivide = 111,
    VkF1 = 112,
    VkF12 = 123,
    VkNumLock = 144,
    VkScroll = 145,
};
