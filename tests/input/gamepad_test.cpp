// Gamepads on the real SDL path: SDL's virtual joystick stands in for the controller, SDL's game
// controller layer reads it, and the device buttons of a real game in virtual time respond.
#include <SDL.h>
#include <gtest/gtest.h>

#include "core/input/gamepad_input.h"
#include "input_rig.h"
#include "platform/sdl_gamepads.h"

namespace {

class Gamepad : public ::testing::Test {
  protected:
    void SetUp() override {
        rig.bindings.load(rig.settings);
        ASSERT_TRUE(pads.available()) << SDL_GetError();
        attach();
    }
    void TearDown() override {
        if (stick) SDL_JoystickClose(stick);
        if (device >= 0) SDL_JoystickDetachVirtual(device);
        pads.poll();
    }
    void attach() {
        device = SdlGamepads::attachVirtualPad();
        ASSERT_GE(device, 0) << SDL_GetError();
        stick = SDL_JoystickOpen(device);
        ASSERT_NE(stick, nullptr) << SDL_GetError();
        pads.poll();
        ASSERT_EQ(pads.attached(), 1);
    }
    void detach() {
        SDL_JoystickClose(stick);
        stick = nullptr;
        SDL_JoystickDetachVirtual(device);
        device = -1;
        pads.poll();
    }
    // Sets a control as a player would and lets the adapter read it.
    void button(SDL_GameControllerButton b, bool down) {
        SDL_JoystickSetVirtualButton(stick, b, down ? SDL_PRESSED : SDL_RELEASED);
        pads.poll();
    }
    void stickX(int x) {
        SDL_JoystickSetVirtualAxis(stick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
        pads.poll();
    }
    void open() {
        button(SDL_CONTROLLER_BUTTON_BACK, true);
        button(SDL_CONTROLLER_BUTTON_BACK, false);
        ASSERT_EQ(rig.game.GameState, ModeAllSegments);
    }
    bool lit(const char* name) const { return rig.lit(findSegment(name)); }

    InputRig rig;
    bool accepting = true;
    GamepadInput input{rig.input, [this] { return accepting; }};
    SdlGamepads pads{input, false};
    int device = -1;
    SDL_Joystick* stick = nullptr;
};

TEST_F(Gamepad, ButtonsWorkTheDeviceButtonsTheyAreMappedTo) {
    button(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(rig.game.GameState, ModeAllSegments) << "Back opens the closed device";
    // Held across many polls, Back is still one press: a second would reset the device.
    for (int i = 0; i < 5; ++i) pads.poll();
    button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    button(SDL_CONTROLLER_BUTTON_BACK, false);
    button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);

    const struct {
        SDL_GameControllerButton button;
        const char* pressed;
    } cases[] = {{SDL_CONTROLLER_BUTTON_A, "btn_game_a_down"},
                 {SDL_CONTROLLER_BUTTON_START, "btn_game_a_down"},
                 {SDL_CONTROLLER_BUTTON_B, "btn_game_b_down"},
                 {SDL_CONTROLLER_BUTTON_X, "btn_time_down"},
                 {SDL_CONTROLLER_BUTTON_Y, "btn_time_down"},
                 {SDL_CONTROLLER_BUTTON_BACK, "btn_acl_down"},
                 {SDL_CONTROLLER_BUTTON_DPAD_LEFT, "btn_left_down"},
                 {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, "btn_right_down"}};
    for (const auto& c : cases) {
        button(c.button, true);
        EXPECT_TRUE(lit(c.pressed)) << c.pressed;
        button(c.button, false);
        EXPECT_FALSE(lit(c.pressed)) << c.pressed;
    }
    button(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(rig.game.GameState, ModeGameAScore);
    button(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(rig.game.GameState, ModeGameA) << "the release starts the game";
}

TEST_F(Gamepad, TheStickPressesOnlyPastItsDeadZoneAndLetsGoOnlyNearTheMiddle) {
    open();
    const struct {
        int x;
        bool left, right;
    } path[] = {{kStickPress - 1, false, false},
                {kStickPress, false, true},
                {kStickRelease + 1, false, true},
                {kStickPress, false, true},
                {kStickRelease, false, false},
                {-kStickPress + 1, false, false},
                {-32768, true, false},
                {-kStickRelease - 1, true, false},
                {32767, false, true},
                {0, false, false}};
    for (const auto& p : path) {
        stickX(p.x);
        EXPECT_EQ(lit("btn_left_down"), p.left) << "x " << p.x;
        EXPECT_EQ(lit("btn_right_down"), p.right) << "x " << p.x;
    }
}

TEST_F(Gamepad, TheStickAndThePadHoldLeftUntilBothLetGo) {
    open();
    button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    stickX(-32768);
    button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    EXPECT_TRUE(lit("btn_left_down"));
    stickX(0);
    EXPECT_FALSE(lit("btn_left_down"));
}

TEST_F(Gamepad, DetachingInTheMiddleOfAPressReleasesIt) {
    open();
    button(SDL_CONTROLLER_BUTTON_A, true);
    stickX(32767);
    ASSERT_EQ(rig.game.GameState, ModeGameAScore);
    detach();
    EXPECT_EQ(pads.attached(), 0);
    EXPECT_FALSE(lit("btn_right_down"));
    EXPECT_EQ(rig.game.GameState, ModeGameA) << "the release of GAME A came";
    EXPECT_EQ(input.deliveredButtons(), 0u);
    attach();  // plugged in again during the run
    button(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true);
    EXPECT_TRUE(lit("btn_left_down"));

    // SDL lets go of a vanishing pad's controls itself; without that the input still must.
    input.buttonChanged(99, PadButton::DpadRight, true);
    ASSERT_TRUE(lit("btn_right_down"));
    input.detached(99);
    EXPECT_FALSE(lit("btn_right_down"));
}

TEST_F(Gamepad, APressTheDeviceDidNotTakeHasNoReleaseAndATakenOneAlwaysHas) {
    open();
    accepting = false;
    button(SDL_CONTROLLER_BUTTON_B, true);
    accepting = true;
    button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    EXPECT_FALSE(lit("btn_game_b_down"));

    button(SDL_CONTROLLER_BUTTON_B, true);
    accepting = false;
    button(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_EQ(rig.game.GameState, ModeGameB);
}

}  // namespace
