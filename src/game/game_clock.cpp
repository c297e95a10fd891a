#include "game/game_clock.h"

#include <cstdio>

namespace tl {

namespace {
constexpr std::int32_t kDay = 86400;
}

void GameClock::Read_Time_Of_Day(ClockService &clock)
{
    std::int32_t s = clock.secondsSinceMidnight();
    if (s < 0 || s >= kDay)
        s = ((s % kDay) + kDay) % kDay;
    NowSecond = s;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    TimeText = buf;
    nowMs_ = clock.monotonicMs();
}

void GameClock::alignStartSecond()
{
    StartSecond = ((NowSecond - Elapsed) % kDay + kDay) % kDay;
}

void GameClock::Start_Clock(ClockService &clock)
{
    Read_Time_Of_Day(clock);
    StartSecond = NowSecond;
    Elapsed = 0;
    startMs_ = nowMs_;
    Running = true;
}

void GameClock::tick(ClockService &clock)
{
    if (Paused || !Running)
        return;
    Read_Time_Of_Day(clock);
    const std::int64_t ms = nowMs_ - startMs_;
    Elapsed = ms <= 0 ? 0 : static_cast<std::int32_t>(ms / 1000);
}

void GameClock::pause()
{
    PausedMinutes = Elapsed / 60;
    PausedSeconds = Elapsed % 60;
    Paused = true;
}

void GameClock::resume(ClockService &clock)
{
    Elapsed = PausedMinutes * 60 + PausedSeconds;
    Read_Time_Of_Day(clock);
    alignStartSecond();
    startMs_ = nowMs_ - static_cast<std::int64_t>(Elapsed) * 1000;
    Paused = false;
}

void GameClock::Penalty(ClockService &clock, int Strafseconden)
{
    Read_Time_Of_Day(clock);
    Elapsed += Strafseconden;
    if (Elapsed < 0)
        Elapsed = 0;
    alignStartSecond();
    // Moving the origin back keeps the part of a second since the last tick.
    startMs_ -= static_cast<std::int64_t>(Strafseconden) * 1000;
    if (Paused) {
        // Not reached from play (hints resume first); keep the frozen time in step.
        PausedMinutes = Elapsed / 60;
        PausedSeconds = Elapsed % 60;
    }
}

std::string GameClock::FormatMinSec(std::int32_t seconds)
{
    if (seconds < 0)
        seconds = 0;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", (seconds / 60) % 100, seconds % 60);
    return buf;
}

} // namespace tl
