#include "core/device.h"

#include <chrono>
#include <cmath>

namespace {
std::uint32_t seedOf(std::optional<std::uint32_t> seed) {
    if (seed) return *seed;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks & 0xFFFFFFFFu);
}
}  // namespace

Device::Device(const DeviceSeams& seams)
    : shell_(seams.shell),
      settings_(seams.settings),
      sound_(seams.soundLibrary),
      ownRandom_(seedOf(seams.seed)),
      game_(GameContext{display_, scheduler_, sound_, settings_,
                        seams.random ? *seams.random : ownRandom_,
                        seams.clock ? *seams.clock : systemClock_}),
      input_(game_, bindings_) {}

void Device::loadStored() {
    bindings_.load(settings_);
    game_.loadHighScores();
}

namespace {
// The desktop as a skin shown at a scale sees it: the screen measured in the skin's pixels.
class ScaledScreen final : public Shell {
  public:
    ScaledScreen(Shell& desktop, double scale) : desktop_(desktop), scale_(scale) {}
    void showError(const std::string& text) override { desktop_.showError(text); }
    void requestQuit() override { desktop_.requestQuit(); }
    void openDocument(const std::string& name) override { desktop_.openDocument(name); }
    void openUrl(const std::string& url) override { desktop_.openUrl(url); }
    void beep() override { desktop_.beep(); }
    ScreenSize screenSize() const override {
        ScreenSize screen = desktop_.screenSize();
        // A part of a skin pixel at the edge still needs one: the skin covers the whole screen.
        screen.width = static_cast<int>(std::ceil(screen.width / scale_ - 1e-6));
        screen.height = static_cast<int>(std::ceil(screen.height / scale_ - 1e-6));
        return screen;
    }

  private:
    Shell& desktop_;
    double scale_;
};
}  // namespace

void Device::loadSkin(const SkinPlace& place, bool fullscreen, double scale) {
    skinFolder_ = place.baseFolder;
    if (scale == 1.0 || !(scale > 0.0)) {
        Skin_Load(place, fullscreen, shell_, display_, presentation_);
    } else {
        ScaledScreen screen(shell_, scale);
        Skin_Load(place, fullscreen, screen, display_, presentation_);
    }
    lcdLook_ = readLcdLook(settings_, presentation_.lcdDefaults);
}

std::string Device::configFile() const {
    return skinFolder_.empty() ? "Config.ini" : skinFolder_ + "/Config.ini";
}

void Device::setLcdLook(const LcdLookChoice& choice) {
    storeLcdLook(settings_, lcdLook_, choice);
    lcdLook_ = choice;
}

void Device::start() {
    game_.GameState = ModeClosed;
    game_.Gam_Set_Mode();
}

void Device::resetHighScores() {
    game_.resetHighScores();
    shell_.beep();
}

bool Device::openSound(const std::string& choiceText) {
    return sound_.Snd_Open(choiceText, settings_, shell_);
}

void Device::closeSound() {
    sound_.Snd_Close();
}
