#include "core/input/key_bindings.h"

#include "core/input/key_choices.h"
#include "core/settings_store.h"

void KeyBindings::load(SettingsStore& settings) {
    for (int n = 1; n <= kBindingCount; ++n) {
        const KeyBindingInfo& info = kBindingTable[n - 1];
        setChoice(n, settings.ReadInteger(std::string(info.settingName), info.defaultChoice));
    }
    for (int n = 1; n <= kBindingCount; ++n) {
        settings.WriteInteger(std::string(kBindingTable[n - 1].settingName), binding(n).choice);
        AssignWord(n);
    }
    AssignHints();
}

void KeyBindings::AssignWord(int n) {
    KeyBinding& b = bindings_[n - 1];
    if (isKeyChoice(b.choice)) b.keyCode = keyChoice(b.choice).keyCode;
}

std::string KeyBindings::keyName(int n) const {
    return std::string(hintNameOf(binding(n).choice));
}

void KeyBindings::AssignHints() {
    const std::string lead = "click or press ";
    hints_[seg("btn_open")] = lead + keyName(kBindAcl) + " " + "to open the game";
    hints_[seg("btn_game_a_top")] =
        lead + keyName(kBindGameA) + " " + "to start game A (hold to view highscore)";
    hints_[seg("btn_game_b_top")] =
        lead + keyName(kBindGameB) + " " + "to start game B (hold to view highscore)";
    hints_[seg("btn_time_top")] =
        lead + keyName(kBindTime) + " " + "to view current time (hold to view alarm time)";
    hints_[seg("btn_acl_top")] = lead + keyName(kBindAcl) + " " + "to reset the game";
    hints_[seg("btn_alarm_top")] = "button disabled";
    hints_[seg("btn_left_top")] = lead + keyName(kBindLeft);
    hints_[seg("btn_right_top")] = lead + keyName(kBindRight);
}
