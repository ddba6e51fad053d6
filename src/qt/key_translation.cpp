#include "qt/key_translation.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <array>

#include "core/input/input_dispatch.h"
#include "core/input/virtual_keys.h"

namespace {

// xkb keycodes of the main-row digits 1..9, 0: the same physical keys on every layout.
constexpr quint32 kXkbDigitOne = 10;
constexpr quint32 kXkbDigitZero = 19;

// Letters by xkb keycode in the US positions, for layouts whose letters are not Latin (where
// Windows, too, names the keys by position).
struct LetterRow {
    quint32 first;
    const char* letters;
};
constexpr std::array<LetterRow, 3> kXkbLetterRows{
    {{24, "QWERTYUIOP"}, {38, "ASDFGHJKL"}, {52, "ZXCVBNM"}}};

std::uint16_t xkbLetter(quint32 code) {
    for (const LetterRow& row : kXkbLetterRows) {
        const std::string_view letters(row.letters);
        if (code >= row.first && code < row.first + letters.size())
            return static_cast<std::uint16_t>(letters[code - row.first]);
    }
    return 0;
}

std::uint16_t keypadKey(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return VkNumpad0 + (key - Qt::Key_0);
    switch (key) {
        case Qt::Key_Asterisk:
            return VkMultiply;
        case Qt::Key_Plus:
            return VkAdd;
        case Qt::Key_Minus:
            return VkSubtract;
        case Qt::Key_Period:
        case Qt::Key_Comma:
            return VkDecimal;
        case Qt::Key_Slash:
            return VkDivide;
        default:
            return 0;  // with Num Lock off the keypad sends navigation keys: see namedKey
    }
}

std::uint16_t namedKey(int key) {
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return VkF1 + (key - Qt::Key_F1);
    switch (key) {
        case Qt::Key_Backspace:
            return VkBack;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return VkTab;
        case Qt::Key_Clear:
            return VkClear;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return VkReturn;
        case Qt::Key_Shift:
            return VkShift;
        case Qt::Key_Control:
            return VkControl;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return VkMenu;
        case Qt::Key_Pause:
            return VkPause;
        case Qt::Key_CapsLock:
            return VkCapital;
        case Qt::Key_Escape:
            return VkEscape;
        case Qt::Key_Space:
            return VkSpace;
        case Qt::Key_PageUp:
            return VkPrior;
        case Qt::Key_PageDown:
            return VkNext;
        case Qt::Key_End:
            return VkEnd;
        case Qt::Key_Home:
            return VkHome;
        case Qt::Key_Left:
            return VkLeft;
        case Qt::Key_Up:
            return VkUp;
        case Qt::Key_Right:
            return VkRight;
        case Qt::Key_Down:
            return VkDown;
        case Qt::Key_Print:
            return VkSnapshot;
        case Qt::Key_Insert:
            return VkInsert;
        case Qt::Key_Delete:
            return VkDelete;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return VkLWin;
        case Qt::Key_Super_R:
            return VkRWin;
        case Qt::Key_Menu:
            return VkApps;
        case Qt::Key_NumLock:
            return VkNumLock;
        case Qt::Key_ScrollLock:
            return VkScroll;
        default:
            return 0;
    }
}

// Without scan codes to go by: the digit a shifted main-row key carries on a US keyboard.
std::uint16_t usShiftedDigit(int key) {
    constexpr std::array<int, 10> kShifted{Qt::Key_ParenRight,  Qt::Key_Exclam,    Qt::Key_At,
                                           Qt::Key_NumberSign,  Qt::Key_Dollar,    Qt::Key_Percent,
                                           Qt::Key_AsciiCircum, Qt::Key_Ampersand, Qt::Key_Asterisk,
                                           Qt::Key_ParenLeft};
    for (std::size_t d = 0; d < kShifted.size(); ++d)
        if (kShifted[d] == key) return static_cast<std::uint16_t>('0' + d);
    return 0;
}

}  // namespace

ScanCodeKind currentScanCodeKind() {
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"))
               ? ScanCodeKind::Xkb
               : ScanCodeKind::Other;
}

std::uint16_t virtualKeyOf(const QKeyEvent& event, ScanCodeKind kind) {
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    const quint32 scan = event.nativeScanCode();
    const bool xkb = kind == ScanCodeKind::Xkb;

    if (mods & Qt::KeypadModifier) {
        if (const std::uint16_t vk = keypadKey(key)) return vk;
        return namedKey(key);
    }
    if (xkb && scan >= kXkbDigitOne && scan <= kXkbDigitZero)
        return scan == kXkbDigitZero ? '0'
                                     : static_cast<std::uint16_t>('1' + (scan - kXkbDigitOne));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<std::uint16_t>(key);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<std::uint16_t>(key);
    if (const std::uint16_t vk = namedKey(key)) return vk;
    if (!xkb && (mods & Qt::ShiftModifier)) return usShiftedDigit(key);
    // A letter outside Latin-1 (Cyrillic, Greek ...): Qt's special keys start at 0x01000000.
    if (xkb && key > 0xFF && key < Qt::Key_Escape) return xkbLetter(scan);
    return 0;
}

std::uint16_t virtualKeyOf(const QKeyEvent& event) {
    return virtualKeyOf(event, currentScanCodeKind());
}

std::optional<KeyStroke> keyStrokeOf(const QKeyEvent& event, ScanCodeKind kind) {
    const bool down = event.type() == QEvent::KeyPress;
    if (!down && (event.type() != QEvent::KeyRelease || event.isAutoRepeat())) return std::nullopt;
    const std::uint16_t code = virtualKeyOf(event, kind);
    if (code == 0) return std::nullopt;
    return KeyStroke{down, code};
}

std::optional<KeyStroke> keyStrokeOf(const QKeyEvent& event) {
    return keyStrokeOf(event, currentScanCodeKind());
}

void dispatchKeyEvent(InputDispatch& input, const QKeyEvent& event) {
    const std::optional<KeyStroke> stroke = keyStrokeOf(event);
    if (!stroke) return;
    if (stroke->down)
        input.FormKeyDown(stroke->code);
    else
        input.FormKeyUp(stroke->code);
}

MouseButton mouseButtonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return MouseButton::Left;
    if (button == Qt::RightButton) return MouseButton::Right;
    return MouseButton::Middle;
}
