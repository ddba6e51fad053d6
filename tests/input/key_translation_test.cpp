#include <gtest/gtest.h>

#include <QKeyEvent>
#include <vector>

#include "input_rig.h"
#include "qt/key_translation.h"

namespace {

// An X11 key event as Qt's xcb plugin delivers it: Qt key, modifiers, xkb keycode, keysym.
struct Press {
    const char* what;
    int key;
    Qt::KeyboardModifiers mods;
    quint32 scan;
    quint32 sym;
    std::uint16_t expected;
};

QKeyEvent press(const Press& p, QEvent::Type type = QEvent::KeyPress, bool repeat = false) {
    return QKeyEvent(type, p.key, p.mods, p.scan, p.sym, 0, QString(), repeat);
}

void expectAll(const std::vector<Press>& cases, ScanCodeKind kind) {
    for (const Press& p : cases) {
        const QKeyEvent e = press(p);
        EXPECT_EQ(virtualKeyOf(e, kind), p.expected) << p.what;
    }
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kShift = Qt::ShiftModifier;
constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kKeypad = Qt::KeypadModifier;

TEST(KeyTranslation, ModifiersDoNotChangeTheKey) {
    expectAll({{"1", Qt::Key_1, kNone, 10, '1', '1'},
               {"Shift+1 reported as !", Qt::Key_Exclam, kShift, 10, '!', '1'},
               {"Ctrl+1", Qt::Key_1, kCtrl, 10, '1', '1'},
               {"Shift+0 reported as )", Qt::Key_ParenRight, kShift, 19, ')', '0'},
               {"a", Qt::Key_A, kNone, 38, 'a', 'A'},
               {"Shift+A", Qt::Key_A, kShift, 38, 'A', 'A'},
               {"Ctrl+Shift+Z", Qt::Key_Z, kCtrl | kShift, 52, 'Z', 'Z'}},
              ScanCodeKind::Xkb);
}

TEST(KeyTranslation, DigitRowWorksWhereDigitsNeedShift) {
    // AZERTY: the unshifted keys of the digit row type & é " ' ( - è _ ç à.
    expectAll({{"& key", Qt::Key_Ampersand, kNone, 10, 0x26, '1'},
               {"e-acute key", Qt::Key_Eacute, kNone, 11, 0xE9, '2'},
               {"quote key", Qt::Key_QuoteDbl, kNone, 12, 0x22, '3'},
               {"a-grave key", Qt::Key_Agrave, kNone, 19, 0xE0, '0'},
               {"Shift+& key", Qt::Key_1, kShift, 10, '1', '1'}},
              ScanCodeKind::Xkb);
}

TEST(KeyTranslation, KeypadDigitsAreNotMainRowDigits) {
    expectAll({{"keypad 1", Qt::Key_1, kKeypad, 87, 0xFFB1, 97},
               {"keypad 0", Qt::Key_0, kKeypad, 90, 0xFFB0, 96},
               {"keypad 9", Qt::Key_9, kKeypad, 81, 0xFFB9, 105},
               {"keypad 7 without Num Lock", Qt::Key_Home, kKeypad, 79, 0xFF95, 36},
               {"keypad 4 without Num Lock", Qt::Key_Left, kKeypad, 83, 0xFF96, 37},
               {"keypad Enter", Qt::Key_Enter, kKeypad, 104, 0xFF8D, 13},
               {"keypad +", Qt::Key_Plus, kKeypad, 86, 0xFFAB, 107}},
              ScanCodeKind::Xkb);
}

TEST(KeyTranslation, BothSidesOfShiftCtrlAltAreOneKey) {
    expectAll({{"left Shift", Qt::Key_Shift, kNone, 50, 0xFFE1, 16},
               {"right Shift", Qt::Key_Shift, kShift, 62, 0xFFE2, 16},
               {"left Ctrl", Qt::Key_Control, kNone, 37, 0xFFE3, 17},
               {"right Ctrl", Qt::Key_Control, kCtrl, 105, 0xFFE4, 17},
               {"left Alt", Qt::Key_Alt, kNone, 64, 0xFFE9, 18},
               {"AltGr", Qt::Key_AltGr, kNone, 108, 0xFE03, 18}},
              ScanCodeKind::Xkb);
}

TEST(KeyTranslation, NamedKeysGetTheirVirtualKeyCodes) {
    expectAll({{"up", Qt::Key_Up, kNone, 111, 0xFF52, 38},
               {"down", Qt::Key_Down, kNone, 116, 0xFF54, 40},
               {"left", Qt::Key_Left, kNone, 113, 0xFF51, 37},
               {"right", Qt::Key_Right, kNone, 114, 0xFF53, 39},
               {"space", Qt::Key_Space, kNone, 65, ' ', 32},
               {"Shift+space", Qt::Key_Space, kShift, 65, ' ', 32},
               {"Return", Qt::Key_Return, kNone, 36, 0xFF0D, 13},
               {"Esc", Qt::Key_Escape, kNone, 9, 0xFF1B, 27},
               {"F1", Qt::Key_F1, kNone, 67, 0xFFBE, 112},
               {"F12", Qt::Key_F12, kNone, 96, 0xFFC9, 123}},
              ScanCodeKind::Xkb);
}

TEST(KeyTranslation, NonLatinLettersAreNamedByPosition) {
    expectAll({{"Cyrillic ef on the A key", 0x0424, kNone, 38, 0x6c6, 'A'},
               {"Greek omega on the V key", 0x03A9, kNone, 55, 0x7f9, 'V'},
               {"Cyrillic el on the K key", 0x041B, kNone, 45, 0x6cc, 'K'}},
              ScanCodeKind::Xkb);
}

TEST(KeyTranslation, WithoutScanCodesQtsKeyAndShiftDecide) {
    expectAll({{"Shift+1 reported as !", Qt::Key_Exclam, kShift, 0, 0, '1'},
               {"Shift+8 reported as *", Qt::Key_Asterisk, kShift, 0, 0, '8'},
               {"! without Shift", Qt::Key_Exclam, kNone, 0, 0, 0},
               {"7", Qt::Key_7, kNone, 0, 0, '7'},
               {"keypad 7", Qt::Key_7, kKeypad, 0, 0, 103},
               {"letter", Qt::Key_Q, kShift, 0, 0, 'Q'},
               {"Cyrillic without scan codes", 0x0424, kNone, 38, 0, 0},
               {"e-acute", Qt::Key_Eacute, kNone, 11, 0, 0}},
              ScanCodeKind::Other);
}

TEST(KeyTranslation, EveryPressButOnlyTheFinalReleaseIsDispatched) {
    const Press left{"left", Qt::Key_Left, kNone, 113, 0xFF51, 37};
    // X11 reports a held key as a release/press pair per repeat, both marked as repeats.
    const std::vector<std::pair<QEvent::Type, bool>> held{
        {QEvent::KeyPress, false},  {QEvent::KeyRelease, true}, {QEvent::KeyPress, true},
        {QEvent::KeyRelease, true}, {QEvent::KeyPress, true},   {QEvent::KeyRelease, false}};
    std::vector<std::pair<bool, std::uint16_t>> dispatched;
    for (const auto& [type, repeat] : held) {
        const QKeyEvent e = press(left, type, repeat);
        if (auto stroke = keyStrokeOf(e, ScanCodeKind::Xkb))
            dispatched.emplace_back(stroke->down, stroke->code);
    }
    const std::vector<std::pair<bool, std::uint16_t>> expected{
        {true, 37}, {true, 37}, {true, 37}, {false, 37}};
    EXPECT_EQ(dispatched, expected);
}

TEST(KeyTranslation, KeysWithoutACodeAreNotDispatched) {
    const QKeyEvent e(QEvent::KeyPress, Qt::Key_Eacute, kNone, 0, 0, 0);
    EXPECT_FALSE(keyStrokeOf(e, ScanCodeKind::Other).has_value());
    const QKeyEvent other(QEvent::ShortcutOverride, Qt::Key_A, kNone, 38, 'a', 0);
    EXPECT_FALSE(keyStrokeOf(other, ScanCodeKind::Xkb).has_value());
}

}  // namespace

namespace {

// Through the running platform's translation to the game, as the device window does it.
class KeyEventsOnGame : public ::testing::Test {
  protected:
    void SetUp() override { rig.bindings.load(rig.settings); }
    void send(QEvent::Type type, int key, Qt::KeyboardModifiers mods, bool repeat = false) {
        const QKeyEvent e(type, key, mods, 0, 0, 0, QString(), repeat);
        dispatchKeyEvent(rig.input, e);
    }
    InputRig rig;
};

TEST_F(KeyEventsOnGame, TheKeyOneStartsGameAWithShiftOrCtrlHeld) {
    send(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier);
    send(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier);
    ASSERT_EQ(rig.game.GameState, ModeAllSegments);
    send(QEvent::KeyPress, Qt::Key_Exclam, Qt::ShiftModifier);
    EXPECT_EQ(rig.game.GameState, ModeGameAScore);
    send(QEvent::KeyRelease, Qt::Key_1, Qt::NoModifier);
    EXPECT_EQ(rig.game.GameState, ModeGameA);

    send(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier);
    send(QEvent::KeyRelease, Qt::Key_5, Qt::NoModifier);
    send(QEvent::KeyPress, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(rig.game.GameState, ModeGameAScore);
}

TEST_F(KeyEventsOnGame, AHeldLeftArrowStaysPressedThroughX11RepeatReleases) {
    send(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    for (int i = 0; i < 3; ++i) {
        send(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier, true);
        EXPECT_TRUE(rig.lit(seg("btn_left_down"))) << "repeat " << i;
        send(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, true);
    }
    send(QEvent::KeyRelease, Qt::Key_Left, Qt::NoModifier);
    EXPECT_FALSE(rig.lit(seg("btn_left_down")));
}

TEST_F(KeyEventsOnGame, KeypadFiveIsNotTheAclKey) {
    send(QEvent::KeyPress, Qt::Key_5, Qt::KeypadModifier);
    EXPECT_EQ(rig.game.GameState, ModeClosed);
}

}  // namespace
