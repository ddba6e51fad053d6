#pragma once
// Gamepads through SDL2's game controller layer: controllers attached before or during the run,
// read on the user-interface thread and handed to GamepadInput. SDL offers no descriptor to wait
// on, so it is polled: twice a second while no controller is attached (to notice one arriving),
// every 4 ms while one is played with, and 25 times a second once it has lain still for 10 s,
// since each wake-up of the event loop costs and a pad at rest should cost next to nothing.
#include <QElapsedTimer>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

class GamepadInput;
struct _SDL_GameController;

class SdlGamepads {
  public:
    static constexpr int kScanIntervalMs = 500;
    static constexpr int kPlayIntervalMs = 4;
    static constexpr int kRestIntervalMs = 40;
    static constexpr int kQuietAfterMs = 10000;

    // With runTimer false nothing happens by itself; the owner calls poll() (tests).
    explicit SdlGamepads(GamepadInput& input, bool runTimer = true);
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Whether SDL's game controller layer started; without it there are no gamepads.
    bool available() const { return available_; }
    int attached() const { return static_cast<int>(pads_.size()); }

    // Takes what SDL has seen since the last call and passes it on.
    void poll();
    // Runs after a poll that moved something (the window repaints).
    std::function<void()> afterInput;

    // A controller made of nothing, as SDL's virtual joystick with the standard pad layout; its
    // device index, or -1. For tests and for measuring the program with a controller attached.
    static int attachVirtualPad();

  private:
    struct Close {
        void operator()(_SDL_GameController* pad) const;
    };
    void open(int deviceIndex);

    GamepadInput& input_;
    bool available_ = false;
    QTimer timer_;
    QElapsedTimer sinceInput_;  // since a controller last moved or arrived
    std::map<int, std::unique_ptr<_SDL_GameController, Close>> pads_;  // by instance id
};
