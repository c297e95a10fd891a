#include "game/game_clock.h"
#include "platform/fake/fakes.h"

#include <gtest/gtest.h>

using namespace tl;

namespace {
struct ClockFixture : ::testing::Test {
    FakeClock fake;
    GameClock clock;
    // Moves the fake clocks on by milliseconds (time of day by whole seconds passed).
    void advanceMs(std::int64_t ms)
    {
        const std::int64_t before = fake.ms / 1000;
        fake.ms += ms;
        fake.seconds = static_cast<int>((fake.seconds + (fake.ms / 1000 - before)) % 86400);
    }
};
} // namespace

TEST_F(ClockFixture, CountsAcrossMidnight)
{
    fake.seconds = 23 * 3600 + 59 * 60 + 50;
    clock.Start_Clock(fake);
    EXPECT_EQ(clock.StartSecond, 23 * 3600 + 59 * 60 + 50);
    EXPECT_EQ(clock.text(), "00:00");
    fake.advance(20); // 00:00:10
    clock.tick(fake);
    EXPECT_EQ(fake.seconds, 10);
    EXPECT_EQ(clock.NowSecond, 10);
    EXPECT_EQ(clock.Elapsed, 20);
    EXPECT_EQ(clock.text(), "00:20");
}

TEST_F(ClockFixture, SettingTheSystemClockDoesNotMoveTheElapsedTime)
{
    clock.Start_Clock(fake);
    fake.advance(30);
    clock.tick(fake);
    ASSERT_EQ(clock.Elapsed, 30);
    // The time of day is set back two hours, then forward five; only real time counts.
    fake.seconds -= 7200;
    fake.advance(10);
    clock.tick(fake);
    EXPECT_EQ(clock.Elapsed, 40);
    fake.seconds = (fake.seconds + 5 * 3600) % 86400;
    fake.advance(5);
    clock.tick(fake);
    EXPECT_EQ(clock.Elapsed, 45);
    EXPECT_GE(clock.StartSecond, 0);
    EXPECT_LT(clock.StartSecond, 86400);
}

TEST_F(ClockFixture, PauseFreezesAndResumeCountsOnWithoutThePausedTime)
{
    fake.seconds = 23 * 3600 + 50 * 60; // 23:50:00
    clock.Start_Clock(fake);
    fake.advance(600);
    clock.tick(fake);
    ASSERT_EQ(clock.text(), "10:00");
    clock.pause();
    EXPECT_TRUE(clock.Paused);
    EXPECT_EQ(clock.PausedMinutes, 10);
    EXPECT_EQ(clock.PausedSeconds, 0);
    fake.advance(300); // paused until 00:05:00
    clock.tick(fake);
    EXPECT_EQ(clock.text(), "10:00");
    clock.pause(); // a second press freezes the same time
    EXPECT_EQ(clock.PausedMinutes, 10);
    clock.resume(fake);
    EXPECT_FALSE(clock.Paused);
    EXPECT_EQ(clock.Elapsed, 600);
    EXPECT_EQ(clock.NowSecond, 300);
    EXPECT_EQ(clock.StartSecond, 300 - 600 + 86400);
    fake.advance(7);
    clock.tick(fake);
    EXPECT_EQ(clock.text(), "10:07");
}

TEST_F(ClockFixture, PauseBeforeTheFirstTickFreezesZero)
{
    clock.Start_Clock(fake);
    advanceMs(300);
    clock.pause();
    fake.advance(50);
    clock.resume(fake);
    EXPECT_EQ(clock.Elapsed, 0);
    advanceMs(450);
    clock.tick(fake);
    EXPECT_EQ(clock.text(), "00:00");
}

TEST_F(ClockFixture, PenaltyRaisesTheNextTickByItsSeconds)
{
    clock.Start_Clock(fake);
    advanceMs(55400);
    clock.tick(fake);
    ASSERT_EQ(clock.text(), "00:55");
    advanceMs(300);
    clock.Penalty(fake, 40);
    EXPECT_EQ(clock.Elapsed, 95);
    advanceMs(150);
    clock.tick(fake);
    EXPECT_GE(clock.Elapsed, 95);
    EXPECT_EQ(clock.text(), "01:35");
}

TEST_F(ClockFixture, StoppedClockKeepsItsTime)
{
    clock.Start_Clock(fake);
    fake.advance(12);
    clock.tick(fake);
    clock.stop();
    fake.advance(100);
    clock.tick(fake);
    EXPECT_EQ(clock.Elapsed, 12);
}

TEST(GameClockText, MinutesModuloHundredAndTwoDigitFields)
{
    EXPECT_EQ(GameClock::FormatMinSec(100 * 60 + 5), "00:05");
    EXPECT_EQ(GameClock::FormatMinSec(59 * 60 + 59), "59:59");
    EXPECT_EQ(GameClock::FormatMinSec(0), "00:00");
}

TEST(GameClockTimeOfDay, TextAndSecondsOfTheTimeOfDay)
{
    FakeClock fake;
    GameClock clock;
    fake.seconds = 9 * 3600 + 5 * 60 + 7;
    clock.Read_Time_Of_Day(fake);
    EXPECT_EQ(clock.TimeText, "9:05:07");
    EXPECT_EQ(clock.NowSecond, 32707);
}
