// The clock of the game on the board: elapsed seconds (penalties included), pause and resume.
// The time of day is read as seconds since midnight, as the clock has always shown it; the
// elapsed time itself is measured on the platform's monotonic clock, so it never jumps or
// goes negative across midnight or when the system clock is set.
#pragma once

#include "platform/services.h"

#include <cstdint>
#include <string>

namespace tl {

class GameClock {
public:
    // Every operation that needs the time reads it from `clock`; the clock object itself is
    // plain data, so it can live in the game model.

    // Reads the time of day into TimeText ("H:MM:SS") and NowSecond.
    void Read_Time_Of_Day(ClockService &clock);
    // Starts counting from 0 (the window then enables its timer and shows "00:00").
    void Start_Clock(ClockService &clock);
    // Stops the clock (completion, solution shown): Elapsed keeps its last value.
    void stop() { Running = false; }
    // One tick of the window's timer: recomputes Elapsed unless paused or stopped.
    void tick(ClockService &clock);
    // Freezes the elapsed time.
    void pause();
    // Continues from the frozen time; time spent paused is not counted.
    void resume(ClockService &clock);
    // Adds seconds to the clock.
    void Penalty(ClockService &clock, int Strafseconden);

    // "MM:SS" of Elapsed, minutes shown modulo 100.
    std::string text() const { return FormatMinSec(Elapsed); }
    static std::string FormatMinSec(std::int32_t seconds);

    std::string TimeText;
    std::int32_t NowSecond = 0;
    std::int32_t StartSecond = 0;
    std::int32_t Elapsed = 0;
    std::int32_t PausedMinutes = 0;
    std::int32_t PausedSeconds = 0;
    bool Paused = false;
    bool Running = false; // the window's timer is enabled

private:
    // StartSecond from NowSecond and Elapsed, kept within one day.
    void alignStartSecond();

    std::int64_t nowMs_ = 0;   // monotonic reading of the last Read_Time_Of_Day
    std::int64_t startMs_ = 0; // monotonic instant the running clock counts from
};

} // namespace tl
