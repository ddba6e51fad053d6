#include "platform/sdl_gamepads.h"

#include <SDL.h>

#include <array>
#include <span>

#include "core/input/gamepad_input.h"

static_assert(static_cast<int>(PadButton::DpadRight) == SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
static_assert(kPadButtonCount == SDL_CONTROLLER_BUTTON_MISC1);

void SdlGamepads::Close::operator()(_SDL_GameController* pad) const {
    SDL_GameControllerClose(pad);
}

SdlGamepads::SdlGamepads(GamepadInput& input, bool runTimer) : input_(input) {
    // The program decides how it ends: SDL must not take over SIGINT and SIGTERM.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    available_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!available_) return;
    if (qEnvironmentVariableIsSet("TORCHWHEEL_VIRTUAL_GAMEPAD")) attachVirtualPad();
    if (!runTimer) return;
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
    timer_.start(kScanIntervalMs);
    // The controllers already plugged in are announced at the first poll.
    QTimer::singleShot(0, &timer_, [this] { poll(); });
}

SdlGamepads::~SdlGamepads() {
    if (!available_) return;
    pads_.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepads::open(int deviceIndex) {
    if (!SDL_IsGameController(deviceIndex)) return;
    std::unique_ptr<_SDL_GameController, Close> pad(SDL_GameControllerOpen(deviceIndex));
    if (!pad) return;
    const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad.get()));
    pads_.try_emplace(id, std::move(pad));
}

void SdlGamepads::poll() {
    if (!available_) return;
    SDL_PumpEvents();
    // Every queued event is taken, also those of other subsystems, so the queue never fills.
    std::array<SDL_Event, 32> events;
    bool moved = false;
    int n = 0;
    while ((n = SDL_PeepEvents(events.data(), events.size(), SDL_GETEVENT, SDL_FIRSTEVENT,
                               SDL_LASTEVENT)) > 0) {
        for (const SDL_Event& e : std::span(events.data(), n)) {
            switch (e.type) {
                case SDL_CONTROLLERDEVICEADDED:
                    open(e.cdevice.which);
                    moved = true;
                    break;
                case SDL_CONTROLLERDEVICEREMOVED:
                    input_.detached(e.cdevice.which);
                    pads_.erase(e.cdevice.which);
                    moved = true;
                    break;
                case SDL_CONTROLLERBUTTONDOWN:
                case SDL_CONTROLLERBUTTONUP:
                    moved = true;
                    if (e.cbutton.button >= kPadButtonCount) break;
                    input_.buttonChanged(e.cbutton.which, static_cast<PadButton>(e.cbutton.button),
                                         e.cbutton.state == SDL_PRESSED);
                    break;
                case SDL_CONTROLLERAXISMOTION:
                    moved = true;
                    if (e.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX)
                        input_.stickMoved(e.caxis.which, e.caxis.value);
                    break;
                default:
                    break;
            }
        }
    }
    if (moved) sinceInput_.start();
    int interval = kScanIntervalMs;
    if (!pads_.empty())
        interval = sinceInput_.isValid() && sinceInput_.elapsed() < kQuietAfterMs ? kPlayIntervalMs
                                                                                  : kRestIntervalMs;
    if (timer_.isActive() && timer_.interval() != interval) timer_.setInterval(interval);
    if (moved && afterInput) afterInput();
}

int SdlGamepads::attachVirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = kPadButtonCount;
    desc.button_mask = (1u << kPadButtonCount) - 1;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.name = "Torchwheel virtual pad";
    return SDL_JoystickAttachVirtualEx(&desc);
}
