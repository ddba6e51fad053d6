#pragma once
// From key codes and mouse presses on the device picture to the device-button operations.
#include <array>
#include <cstdint>
#include <optional>

#include "core/display/segment_catalogue.h"

class Game;
class KeyBindings;

// One press or release operation of a device button.
enum class ButtonOp {
    None,
    OpenDown,
    GameADown,
    GameAUp,
    GameBDown,
    GameBUp,
    TimeDown,
    TimeUp,
    AclDown,
    AclUp,
    LeftDown,
    LeftUp,
    RightDown,
    RightUp,
};

// Calls the Game operation that op names (nothing for ButtonOp::None).
void perform(Game& game, ButtonOp op);

// The operations of binding n's device button however it is worked (key, gamepad): the ACL
// button opens the closed device and has no release then.
ButtonOp pressOperation(int binding, std::int32_t gameState);
ButtonOp releaseOperation(int binding, std::int32_t gameState);

// The operation a key event calls; None when no binding holds the key. Bindings are compared in
// order and the first one whose code equals key decides; modifiers are not part of key.
ButtonOp keyDownOperation(const KeyBindings& bindings, std::int32_t gameState, std::uint16_t key);
ButtonOp keyUpOperation(const KeyBindings& bindings, std::int32_t gameState, std::uint16_t key);

enum class MouseButton { Left, Right, Middle };

// What the view still has to do after a mouse event on an element.
enum class MouseResult {
    None,           // no handler: nothing happened
    Handled,        // a device-button operation ran
    StartDrag,      // start moving the window (window mode only)
    GameMenuClick,  // open or close the game menu
};

enum class PointerShape { Arrow, Hand, Help };

// The mouse handlers of the device window's elements; elements not listed have none.
struct MouseTarget {
    SegmentId element;
    ButtonOp press;
    ButtonOp release;
    MouseResult pressResult;
    MouseResult releaseResult;
    PointerShape pointer;
};

inline constexpr std::array<MouseTarget, 14> kMouseTargets{{
    {seg("btn_open"), ButtonOp::OpenDown, ButtonOp::None, MouseResult::Handled, MouseResult::None,
     PointerShape::Hand},
    {seg("btn_game_a_top"), ButtonOp::GameADown, ButtonOp::GameAUp, MouseResult::Handled,
     MouseResult::Handled, PointerShape::Hand},
    {seg("btn_game_b_top"), ButtonOp::GameBDown, ButtonOp::GameBUp, MouseResult::Handled,
     MouseResult::Handled, PointerShape::Hand},
    {seg("btn_time_top"), ButtonOp::TimeDown, ButtonOp::TimeUp, MouseResult::Handled,
     MouseResult::Handled, PointerShape::Hand},
    {seg("btn_acl_top"), ButtonOp::AclDown, ButtonOp::AclUp, MouseResult::Handled,
     MouseResult::Handled, PointerShape::Hand},
    {seg("btn_acl_down"), ButtonOp::AclDown, ButtonOp::AclUp, MouseResult::Handled,
     MouseResult::Handled, PointerShape::Arrow},
    {seg("btn_left_top"), ButtonOp::LeftDown, ButtonOp::LeftUp, MouseResult::Handled,
     MouseResult::Handled, PointerShape::Hand},
    {seg("btn_right_top"), ButtonOp::RightDown, ButtonOp::RightUp, MouseResult::Handled,
     MouseResult::Handled, PointerShape::Hand},
    {seg("btn_alarm_top"), ButtonOp::None, ButtonOp::None, MouseResult::StartDrag,
     MouseResult::None, PointerShape::Help},
    {seg("im_background_bottom"), ButtonOp::None, ButtonOp::None, MouseResult::StartDrag,
     MouseResult::None, PointerShape::Arrow},
    {seg("im_background_back"), ButtonOp::None, ButtonOp::None, MouseResult::StartDrag,
     MouseResult::None, PointerShape::Arrow},
    {seg("im_background_front"), ButtonOp::None, ButtonOp::None, MouseResult::StartDrag,
     MouseResult::None, PointerShape::Arrow},
    {seg("im_background_screen_top"), ButtonOp::None, ButtonOp::None, MouseResult::StartDrag,
     MouseResult::None, PointerShape::Arrow},
    // A click is a press and a release over the element; the view reports where the release was.
    {seg("btn_game_menu_top"), ButtonOp::None, ButtonOp::None, MouseResult::None,
     MouseResult::GameMenuClick, PointerShape::Hand},
}};

constexpr const MouseTarget* mouseTargetOf(SegmentId id) {
    for (const MouseTarget& t : kMouseTargets)
        if (t.element == id) return &t;
    return nullptr;
}

constexpr PointerShape pointerShapeOf(SegmentId id) {
    const MouseTarget* t = mouseTargetOf(id);
    return t ? t->pointer : PointerShape::Arrow;
}

// The device window's key and mouse handlers. The bindings are read at each event, so a change
// accepted in the key settings dialog is live at once.
class InputDispatch {
  public:
    InputDispatch(Game& game, const KeyBindings& bindings) : game_(game), bindings_(bindings) {}

    void FormKeyDown(std::uint16_t key);
    void FormKeyUp(std::uint16_t key);
    // A device button pressed or released by other means than its key (a gamepad).
    void buttonDown(int binding);
    void buttonUp(int binding);

    // element: the element under the pointer at the press. The view captures the mouse at a
    // press and delivers the release to the same element; releasedOver says whether the pointer
    // was still over it then (a game-menu click needs both on the button).
    MouseResult mouseDown(SegmentId element, MouseButton button);
    MouseResult mouseUp(SegmentId element, MouseButton button, bool releasedOver = true);

  private:
    Game& game_;
    const KeyBindings& bindings_;
};
