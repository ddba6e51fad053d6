#include "core/input/input_dispatch.h"

#include "core/game/game.h"
#include "core/input/key_bindings.h"

void perform(Game& game, ButtonOp op) {
    switch (op) {
        case ButtonOp::None:
            break;
        case ButtonOp::OpenDown:
            game.Inp_open_down();
            break;
        case ButtonOp::GameADown:
            game.Inp_game_a_down();
            break;
        case ButtonOp::GameAUp:
            game.Inp_game_a_up();
            break;
        case ButtonOp::GameBDown:
            game.Inp_game_b_down();
            break;
        case ButtonOp::GameBUp:
            game.Inp_game_b_up();
            break;
        case ButtonOp::TimeDown:
            game.Inp_time_down();
            break;
        case ButtonOp::TimeUp:
            game.Inp_time_up();
            break;
        case ButtonOp::AclDown:
            game.Inp_acl_down();
            break;
        case ButtonOp::AclUp:
            game.Inp_acl_up();
            break;
        case ButtonOp::LeftDown:
            game.Inp_left_down();
            break;
        case ButtonOp::LeftUp:
            game.Inp_left_up();
            break;
        case ButtonOp::RightDown:
            game.Inp_right_down();
            break;
        case ButtonOp::RightUp:
            game.Inp_right_up();
            break;
    }
}

namespace {

// Press and release of each binding, in binding order.
constexpr std::array<ButtonOp, kBindingCount> kPressOps{ButtonOp::GameADown, ButtonOp::GameBDown,
                                                        ButtonOp::TimeDown,  ButtonOp::AclDown,
                                                        ButtonOp::LeftDown,  ButtonOp::RightDown};
constexpr std::array<ButtonOp, kBindingCount> kReleaseOps{ButtonOp::GameAUp, ButtonOp::GameBUp,
                                                          ButtonOp::TimeUp,  ButtonOp::AclUp,
                                                          ButtonOp::LeftUp,  ButtonOp::RightUp};

// An unassigned binding has code 0, and a key the platform could not name arrives as 0: the two
// must never meet.
bool holds(const KeyBindings& bindings, int n, std::uint16_t key) {
    return key != 0 && bindings.binding(n).keyCode == key;
}

}  // namespace

ButtonOp pressOperation(int binding, std::int32_t gameState) {
    // The ACL button is also the one that opens the closed device.
    if (binding == kBindAcl && gameState == ModeClosed) return ButtonOp::OpenDown;
    return kPressOps[binding - 1];
}

ButtonOp releaseOperation(int binding, std::int32_t gameState) {
    // Opening has no release.
    if (binding == kBindAcl && gameState <= ModeClosed) return ButtonOp::None;
    return kReleaseOps[binding - 1];
}

ButtonOp keyDownOperation(const KeyBindings& bindings, std::int32_t gameState, std::uint16_t key) {
    for (int n = 1; n <= kBindingCount; ++n)
        if (holds(bindings, n, key)) return pressOperation(n, gameState);
    return ButtonOp::None;
}

ButtonOp keyUpOperation(const KeyBindings& bindings, std::int32_t gameState, std::uint16_t key) {
    for (int n = 1; n <= kBindingCount; ++n) {
        // While the device is closed the ACL key is passed over and the next binding may match.
        if (n == kBindAcl && gameState <= ModeClosed) continue;
        if (holds(bindings, n, key)) return releaseOperation(n, gameState);
    }
    return ButtonOp::None;
}

void InputDispatch::FormKeyDown(std::uint16_t key) {
    perform(game_, keyDownOperation(bindings_, game_.GameState, key));
}

void InputDispatch::FormKeyUp(std::uint16_t key) {
    perform(game_, keyUpOperation(bindings_, game_.GameState, key));
}

void InputDispatch::buttonDown(int binding) {
    perform(game_, pressOperation(binding, game_.GameState));
}

void InputDispatch::buttonUp(int binding) {
    perform(game_, releaseOperation(binding, game_.GameState));
}

MouseResult InputDispatch::mouseDown(SegmentId element, MouseButton button) {
    const MouseTarget* t = mouseTargetOf(element);
    if (button != MouseButton::Left || !t) return MouseResult::None;
    perform(game_, t->press);
    return t->pressResult;
}

MouseResult InputDispatch::mouseUp(SegmentId element, MouseButton button, bool releasedOver) {
    const MouseTarget* t = mouseTargetOf(element);
    if (button != MouseButton::Left || !t) return MouseResult::None;
    if (t->releaseResult == MouseResult::GameMenuClick && !releasedOver) return MouseResult::None;
    perform(game_, t->release);
    return t->releaseResult;
}
