#include "core/device.h"

#include <chrono>

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

void Device::loadSkin(const SkinPlace& place, bool fullscreen) {
    skinFolder_ = place.baseFolder;
    Skin_Load(place, fullscreen, shell_, display_, presentation_);
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
