// The clock view: the local time in 12-hour form, refreshed every second.
#include <ctime>

#include "core/game/game.h"

TimeOfDay SystemLocalClock::now() const {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return {local.tm_hour, local.tm_min};
}

void Game::Timer_ClockTimer() {
    const TimeOfDay t = clock_.now();
    int h = t.hours;
    const int m = t.minutes;
    if (h >= 12) {
        h -= 12;
        hide(seg("im_panel_time_am"));
        show(seg("im_panel_time_pm"));
    } else {
        show(seg("im_panel_time_am"));
        hide(seg("im_panel_time_pm"));
    }
    if (h == 0) h = 12;
    showClockDigits(h, m);
    Timer_Clock.setInterval(1000);
}

void Game::showClockDigits(int h, int m) {
    display_.setDigit(1, h >= 10 ? h / 10 : -1);
    display_.setDigit(2, h % 10);
    display_.setDigit(3, m / 10);
    display_.setDigit(4, m % 10);
}
