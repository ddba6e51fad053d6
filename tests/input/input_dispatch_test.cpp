#include <gtest/gtest.h>

#include "input_rig.h"

namespace {

constexpr std::uint16_t kVkShift = 16, kVkSpace = 32, kVkLeft = 37;

// --- Which operation a key calls -----------------------------------------------------------------

class KeyDecision : public ::testing::Test {
  protected:
    void SetUp() override { bindings.load(store); }
    void bind(int n, int choice) {
        bindings.setChoice(n, choice);
        bindings.AssignWord(n);
    }
    RecordingSettings backend;
    SettingsStore store{backend};
    KeyBindings bindings;
};

TEST_F(KeyDecision, DefaultKeysReachTheirButtonsInAnOpenDevice) {
    EXPECT_EQ(keyDownOperation(bindings, ModeAllSegments, '1'), ButtonOp::GameADown);
    EXPECT_EQ(keyUpOperation(bindings, ModeAllSegments, '2'), ButtonOp::GameBUp);
    EXPECT_EQ(keyDownOperation(bindings, ModeClock, '3'), ButtonOp::TimeDown);
    EXPECT_EQ(keyDownOperation(bindings, ModeGameA, '5'), ButtonOp::AclDown);
    EXPECT_EQ(keyUpOperation(bindings, ModeReset, '5'), ButtonOp::AclUp);
    EXPECT_EQ(keyDownOperation(bindings, ModeGameB, kVkLeft), ButtonOp::LeftDown);
    EXPECT_EQ(keyUpOperation(bindings, ModeGameB, kVkLeft + 2), ButtonOp::RightUp);
    EXPECT_EQ(keyDownOperation(bindings, ModeGameA, '4'), ButtonOp::None);
    EXPECT_EQ(keyDownOperation(bindings, ModeGameA, kVkShift), ButtonOp::None);
}

TEST_F(KeyDecision, TheAclKeyOpensTheClosedDeviceAndItsReleaseIsPassedOver) {
    EXPECT_EQ(keyDownOperation(bindings, ModeClosed, '5'), ButtonOp::OpenDown);
    EXPECT_EQ(keyUpOperation(bindings, ModeClosed, '5'), ButtonOp::None);
    // Other buttons still work while closed; their operations ignore the mode themselves.
    EXPECT_EQ(keyDownOperation(bindings, ModeClosed, '1'), ButtonOp::GameADown);
}

TEST_F(KeyDecision, TheFirstBindingHoldingAKeyWins) {
    bind(kBindTime, 11);   // A
    bind(kBindLeft, 11);   // A as well
    bind(kBindRight, 11);  // and again
    EXPECT_EQ(keyDownOperation(bindings, ModeGameA, 'A'), ButtonOp::TimeDown);
    EXPECT_EQ(keyUpOperation(bindings, ModeGameA, 'A'), ButtonOp::TimeUp);
}

TEST_F(KeyDecision, WhileClosedASharedAclKeyFallsThroughToTheNextBindingOnRelease) {
    bind(kBindLeft, 6);  // the key 5, also held by ACL
    EXPECT_EQ(keyDownOperation(bindings, ModeClosed, '5'), ButtonOp::OpenDown);
    EXPECT_EQ(keyUpOperation(bindings, ModeClosed, '5'), ButtonOp::LeftUp);
    EXPECT_EQ(keyUpOperation(bindings, ModeAllSegments, '5'), ButtonOp::AclUp);
}

TEST_F(KeyDecision, ASpaceBarBindingIsDrivenByCode32) {
    bind(kBindGameB, 44);
    EXPECT_EQ(keyDownOperation(bindings, ModeClock, kVkSpace), ButtonOp::GameBDown);
    EXPECT_EQ(keyDownOperation(bindings, ModeClock, '2'), ButtonOp::None);
}

TEST_F(KeyDecision, UnusableStoredChoicesMatchNoKeyNotEvenCodeZero) {
    backend.values = {{"Key1", "0"}, {"Key2", "45"}};
    KeyBindings fresh;
    fresh.load(store);
    for (int key = 0; key <= 0xFFFF; ++key) {
        const ButtonOp op =
            keyDownOperation(fresh, ModeAllSegments, static_cast<std::uint16_t>(key));
        ASSERT_NE(op, ButtonOp::GameADown) << "key " << key;
        ASSERT_NE(op, ButtonOp::GameBDown) << "key " << key;
    }
    EXPECT_EQ(keyDownOperation(fresh, ModeAllSegments, '3'), ButtonOp::TimeDown);
    EXPECT_EQ(keyDownOperation(fresh, ModeAllSegments, 0), ButtonOp::None);
}

// --- Keys driving the real game ------------------------------------------------------------------

class KeysOnGame : public ::testing::Test {
  protected:
    void SetUp() override { rig.bindings.load(rig.settings); }
    InputRig rig;
};

TEST_F(KeysOnGame, TheFiveKeyOpensTheClosedDeviceAndTheFourKeyDoesNothing) {
    rig.input.FormKeyDown('4');
    rig.input.FormKeyUp('4');
    EXPECT_EQ(rig.game.GameState, ModeClosed);
    EXPECT_TRUE(rig.lit(seg("btn_open")));

    rig.input.FormKeyDown('5');
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    EXPECT_FALSE(rig.lit(seg("btn_open")));
    EXPECT_TRUE(rig.lit(seg("im_background_screen_top")));
    rig.input.FormKeyUp('5');
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    EXPECT_FALSE(rig.lit(seg("btn_acl_down")));
}

TEST_F(KeysOnGame, ReleasingTheAclKeyOnTheClosedDeviceCallsNothing) {
    rig.input.FormKeyUp('5');
    EXPECT_EQ(rig.game.GameState, ModeClosed);
    EXPECT_TRUE(rig.lit(seg("btn_open")));
    EXPECT_FALSE(rig.display.hasDamage()) << "nothing on the screen may change";
}

TEST_F(KeysOnGame, HoldingTheAclKeyOnTheClosedDeviceOpensThenHoldsReset) {
    rig.input.FormKeyDown('5');  // opens
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    rig.input.FormKeyDown('5');  // auto-repeat: now an ACL press
    rig.input.FormKeyDown('5');
    EXPECT_EQ(rig.game.GameState, ModeReset);
    EXPECT_TRUE(rig.lit(seg("btn_acl_down")));
    rig.input.FormKeyUp('5');
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    EXPECT_FALSE(rig.lit(seg("btn_acl_down")));
}

TEST_F(KeysOnGame, RepeatedPressesAndOneReleaseStartOneGame) {
    rig.input.FormKeyDown('5');
    rig.input.FormKeyUp('5');
    for (int i = 0; i < 5; ++i) rig.input.FormKeyDown('1');
    EXPECT_EQ(rig.game.GameState, ModeGameAScore);
    EXPECT_TRUE(rig.lit(seg("btn_game_a_down")));
    rig.input.FormKeyUp('1');
    EXPECT_EQ(rig.game.GameState, ModeGameA);
    EXPECT_FALSE(rig.lit(seg("btn_game_a_down")));
}

TEST_F(KeysOnGame, TheLeftArrowLightsTheLeftButtonUntilReleased) {
    rig.input.FormKeyDown(kVkLeft);
    rig.input.FormKeyDown(kVkLeft);
    EXPECT_TRUE(rig.lit(seg("btn_left_down")));
    rig.input.FormKeyUp(kVkLeft);
    EXPECT_FALSE(rig.lit(seg("btn_left_down")));
}

// --- Mouse ---------------------------------------------------------------------------------------

class MouseOnGame : public ::testing::Test {
  protected:
    void open() {
        rig.input.mouseDown(seg("btn_open"), MouseButton::Left);
        rig.input.mouseUp(seg("btn_open"), MouseButton::Left);
    }
    InputRig rig;
};

TEST_F(MouseOnGame, OnlyTheLeftButtonPressesDeviceButtons) {
    open();
    ASSERT_EQ(rig.game.GameState, ModeAllSegments);
    rig.display.takeDamage();
    for (MouseButton b : {MouseButton::Right, MouseButton::Middle}) {
        EXPECT_EQ(rig.input.mouseDown(seg("btn_game_a_top"), b), MouseResult::None);
        EXPECT_EQ(rig.input.mouseUp(seg("btn_game_a_top"), b), MouseResult::None);
        EXPECT_EQ(rig.input.mouseDown(seg("btn_alarm_top"), b), MouseResult::None);
    }
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    EXPECT_FALSE(rig.display.hasDamage());

    EXPECT_EQ(rig.input.mouseDown(seg("btn_game_a_top"), MouseButton::Left), MouseResult::Handled);
    EXPECT_EQ(rig.game.GameState, ModeGameAScore);
    EXPECT_TRUE(rig.lit(seg("btn_game_a_down")));
    EXPECT_EQ(rig.input.mouseUp(seg("btn_game_a_top"), MouseButton::Left), MouseResult::Handled);
    EXPECT_EQ(rig.game.GameState, ModeGameA);
}

TEST_F(MouseOnGame, TheMouseOpensTheDeviceOnlyThroughTheOpenButton) {
    rig.input.mouseDown(seg("btn_acl_top"), MouseButton::Left);
    EXPECT_TRUE(rig.lit(seg("btn_acl_down")));
    rig.input.mouseUp(seg("btn_acl_top"), MouseButton::Left);
    EXPECT_FALSE(rig.lit(seg("btn_acl_down")));
    EXPECT_EQ(rig.game.GameState, ModeClosed);

    EXPECT_EQ(rig.input.mouseDown(seg("btn_open"), MouseButton::Left), MouseResult::Handled);
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    EXPECT_EQ(rig.input.mouseUp(seg("btn_open"), MouseButton::Left), MouseResult::None);
}

TEST_F(MouseOnGame, ThePressedAclPictureAlsoWorksTheAclButton) {
    open();
    rig.input.mouseDown(seg("btn_acl_down"), MouseButton::Left);
    EXPECT_EQ(rig.game.GameState, ModeReset);
    rig.input.mouseUp(seg("btn_acl_down"), MouseButton::Left);
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
}

TEST_F(MouseOnGame, PicturesWithoutHandlersAndDragSurfacesCallNoOperation) {
    open();
    rig.display.takeDamage();
    EXPECT_EQ(rig.input.mouseDown(seg("btn_game_a_down"), MouseButton::Left), MouseResult::None);
    EXPECT_EQ(rig.input.mouseDown(seg("im_item_2_5"), MouseButton::Left), MouseResult::None);
    EXPECT_EQ(rig.input.mouseDown(-1, MouseButton::Left), MouseResult::None);
    for (const char* name : {"btn_alarm_top", "im_background_bottom", "im_background_back",
                             "im_background_front", "im_background_screen_top"}) {
        const SegmentId id = findSegment(name);
        EXPECT_EQ(rig.input.mouseDown(id, MouseButton::Left), MouseResult::StartDrag) << name;
        EXPECT_EQ(rig.input.mouseUp(id, MouseButton::Left), MouseResult::None) << name;
    }
    EXPECT_EQ(rig.game.GameState, ModeAllSegments);
    EXPECT_FALSE(rig.display.hasDamage());
}

TEST_F(MouseOnGame, TheGameMenuButtonWantsAWholeClick) {
    const SegmentId menu = seg("btn_game_menu_top");
    EXPECT_EQ(rig.input.mouseDown(menu, MouseButton::Left), MouseResult::None);
    EXPECT_EQ(rig.input.mouseUp(menu, MouseButton::Left, true), MouseResult::GameMenuClick);
    rig.input.mouseDown(menu, MouseButton::Left);
    EXPECT_EQ(rig.input.mouseUp(menu, MouseButton::Left, false), MouseResult::None)
        << "released after leaving the button";
    EXPECT_EQ(rig.input.mouseUp(menu, MouseButton::Right, true), MouseResult::None);
}

TEST(PointerShapes, HandOverWorkingButtonsHelpOverAlarmArrowElsewhere) {
    for (const char* name : {"btn_open", "btn_game_a_top", "btn_game_b_top", "btn_time_top",
                             "btn_acl_top", "btn_left_top", "btn_right_top", "btn_game_menu_top"})
        EXPECT_EQ(pointerShapeOf(findSegment(name)), PointerShape::Hand) << name;
    EXPECT_EQ(pointerShapeOf(seg("btn_alarm_top")), PointerShape::Help);
    int arrows = 0;
    for (SegmentId id = 0; id < kSegmentCount; ++id)
        if (pointerShapeOf(id) == PointerShape::Arrow) ++arrows;
    EXPECT_EQ(arrows, kSegmentCount - 9);
}

}  // namespace
