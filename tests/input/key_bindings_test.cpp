#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/input/key_bindings.h"
#include "core/input/key_choices.h"
#include "core/settings_store.h"
#include "support/recording_settings.h"

namespace {

// Windows virtual-key codes the bindings are compared with.
constexpr std::uint16_t kVkSpace = 32, kVkLeft = 37, kVkRight = 39;

// --- The key table -------------------------------------------------------------------------------

TEST(KeyChoices, DigitsAndLettersCarryTheirCharacterCodeAndQuotedName) {
    for (const KeyChoice& c : kKeyChoices) {
        if (c.listText.size() != 1) continue;
        const char ch = c.listText[0];
        ASSERT_TRUE((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z')) << "choice " << c.index;
        EXPECT_EQ(c.keyCode, static_cast<std::uint16_t>(ch)) << "choice " << c.index;
        EXPECT_EQ(c.hintName, "'" + std::string(1, ch) + "'") << "choice " << c.index;
    }
    EXPECT_EQ(keyChoice(1).listText, "0");
    EXPECT_EQ(keyChoice(6).keyCode, 53);  // the key 5, the ACL default
    EXPECT_EQ(keyChoice(11).keyCode, 65);
    EXPECT_EQ(keyChoice(36).listText, "Z");
}

TEST(KeyChoices, ListTextsAndKeyCodesAreAllDistinct) {
    // The dialog finds duplicates by comparing shown texts, and dispatch by comparing codes.
    std::set<std::string_view> texts;
    std::set<std::uint16_t> codes;
    for (const KeyChoice& c : kKeyChoices) {
        texts.insert(c.listText);
        codes.insert(c.keyCode);
    }
    EXPECT_EQ(texts.size(), kKeyChoices.size());
    EXPECT_EQ(codes.size(), kKeyChoices.size());
}

TEST(KeyChoices, ArrowsFollowTheVirtualKeySetNotTheListOrder) {
    EXPECT_EQ(keyChoice(37).listText, "<UP ARROW>");
    EXPECT_EQ(keyChoice(37).keyCode, 38);
    EXPECT_EQ(keyChoice(38).keyCode, 40);
    EXPECT_EQ(keyChoice(39).keyCode, kVkLeft);
    EXPECT_EQ(keyChoice(40).keyCode, kVkRight);
    EXPECT_EQ(keyChoice(44).keyCode, kVkSpace);
    EXPECT_EQ(keyChoice(44).hintName, "'spacebar'");
    EXPECT_EQ(keyChoice(43).hintName, "'shift' key");
}

// --- Loading -------------------------------------------------------------------------------------

TEST(KeyBindingsLoad, CleanStoreGetsTheDefaultsReadFirstThenWrittenBack) {
    RecordingSettings backend;
    SettingsStore store(backend);
    KeyBindings b;
    b.load(store);

    const std::vector<std::string> expected{"read Key1",    "read Key2",     "read Key3",
                                            "read Key4",    "read Key5",     "read Key6",
                                            "write Key1=2", "write Key2=3",  "write Key3=4",
                                            "write Key4=6", "write Key5=39", "write Key6=40"};
    EXPECT_EQ(backend.journal, expected);
    EXPECT_EQ(backend.values.size(), 6u);

    const std::vector<std::uint16_t> codes{'1', '2', '3', '5', kVkLeft, kVkRight};
    for (int n = 1; n <= kBindingCount; ++n)
        EXPECT_EQ(b.binding(n).keyCode, codes[n - 1]) << "binding " << n;
}

TEST(KeyBindingsLoad, StoredChoicesAreUsedAndUnusableOnesLeaveTheBindingInert) {
    RecordingSettings backend;
    backend.values = {{"Key1", "11"},  {"Key2", "0"},  {"Key3", "45"},
                      {"Key4", "abc"}, {"Key5", "-3"}, {"Key6", "44"}};
    SettingsStore store(backend);
    KeyBindings b;
    b.load(store);

    EXPECT_EQ(b.binding(1).keyCode, 'A');
    EXPECT_EQ(b.binding(2).keyCode, 0);
    EXPECT_EQ(b.binding(3).keyCode, 0);
    EXPECT_EQ(b.binding(4).keyCode, '5');  // not an integer: the default
    EXPECT_EQ(b.binding(5).keyCode, 0);
    EXPECT_EQ(b.binding(6).keyCode, kVkSpace);
    // What was read is what is written back, usable or not.
    EXPECT_EQ(backend.values["Key2"], "0");
    EXPECT_EQ(backend.values["Key3"], "45");
    EXPECT_EQ(backend.values["Key4"], "6");
    EXPECT_EQ(backend.values["Key5"], "-3");
}

TEST(KeyBindingsAssignWord, ChoiceOutsideTheTableKeepsThePreviousCode) {
    KeyBindings b;
    b.setChoice(kBindTime, 12);
    b.AssignWord(kBindTime);
    EXPECT_EQ(b.binding(kBindTime).keyCode, 'B');
    b.setChoice(kBindTime, 45);
    b.AssignWord(kBindTime);
    EXPECT_EQ(b.binding(kBindTime).keyCode, 'B');
    b.setChoice(kBindTime, 0);
    b.AssignWord(kBindTime);
    EXPECT_EQ(b.binding(kBindTime).keyCode, 'B');
    EXPECT_EQ(b.binding(kBindGameA).keyCode, 0) << "untouched bindings stay unassigned";
}

// --- Hints ---------------------------------------------------------------------------------------

class KeyHints : public ::testing::Test {
  protected:
    void SetUp() override { bindings.load(store); }
    const std::string& hint(SegmentId id) const { return bindings.hint(id); }

    RecordingSettings backend;
    SettingsStore store{backend};
    KeyBindings bindings;
};

TEST_F(KeyHints, DefaultBindingsGiveTheEightTexts) {
    EXPECT_EQ(hint(seg("btn_open")), "click or press '5' to open the game");
    EXPECT_EQ(hint(seg("btn_game_a_top")),
              "click or press '1' to start game A (hold to view highscore)");
    EXPECT_EQ(hint(seg("btn_game_b_top")),
              "click or press '2' to start game B (hold to view highscore)");
    EXPECT_EQ(hint(seg("btn_time_top")),
              "click or press '3' to view current time (hold to view alarm time)");
    EXPECT_EQ(hint(seg("btn_acl_top")), "click or press '5' to reset the game");
    EXPECT_EQ(hint(seg("btn_alarm_top")), "button disabled");
    EXPECT_EQ(hint(seg("btn_left_top")), "click or press 'left arrow' key");
    EXPECT_EQ(hint(seg("btn_right_top")), "click or press 'right arrow' key");
}

TEST_F(KeyHints, NoOtherElementHasAHint) {
    int withHint = 0;
    for (SegmentId id = 0; id < kSegmentCount; ++id)
        if (!hint(id).empty()) ++withHint;
    EXPECT_EQ(withHint, 8);
    EXPECT_TRUE(hint(seg("btn_game_a_down")).empty());
    EXPECT_TRUE(hint(seg("btn_game_menu_top")).empty());
}

TEST_F(KeyHints, ChangedBindingsShowUpAfterAssignHints) {
    bindings.setChoice(kBindRight, 44);
    bindings.setChoice(kBindAcl, 23);
    EXPECT_EQ(hint(seg("btn_right_top")), "click or press 'right arrow' key")
        << "hints change only when rebuilt";
    bindings.AssignHints();
    EXPECT_EQ(hint(seg("btn_right_top")), "click or press 'spacebar'");
    EXPECT_EQ(hint(seg("btn_acl_top")), "click or press 'M' to reset the game");
    EXPECT_EQ(hint(seg("btn_open")), "click or press 'M' to open the game");
}

TEST_F(KeyHints, AChoiceThatNamesNoKeySaysSo) {
    bindings.setChoice(kBindGameB, 0);
    bindings.setChoice(kBindLeft, 45);
    bindings.AssignHints();
    EXPECT_EQ(hint(seg("btn_game_b_top")),
              "click or press (no key set) to start game B (hold to view highscore)");
    EXPECT_EQ(hint(seg("btn_left_top")), "click or press (no key set)");
}

}  // namespace
