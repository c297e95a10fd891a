// The game window's model without widgets: reading puzzle numbers, the Level and Size menus
// during a generation run, stepping numbers, sounds and the players dialog's name rules.
#include "game/game_model.h"
#include "game/game_sound.h"
#include "platform/fake/fakes.h"
#include "players/name_entry.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

TEST(ReadPuzzleNumber, TakesTheLeadingNumberRoundedHalvesToEven)
{
    EXPECT_EQ(ReadPuzzleNumber("7"), 7);
    EXPECT_EQ(ReadPuzzleNumber("7.5"), 8);
    EXPECT_EQ(ReadPuzzleNumber("8.5"), 8);
    EXPECT_EQ(ReadPuzzleNumber("100.5"), 100);
    EXPECT_EQ(ReadPuzzleNumber("0.6"), 1);
    EXPECT_EQ(ReadPuzzleNumber(".5"), 0);
    EXPECT_EQ(ReadPuzzleNumber("  12 monkeys"), 12);
    EXPECT_EQ(ReadPuzzleNumber("1e3"), 1000);
    EXPECT_EQ(ReadPuzzleNumber("2.5E1"), 25);
    EXPECT_EQ(ReadPuzzleNumber("3e"), 3);
    EXPECT_EQ(ReadPuzzleNumber("+4"), 4);
    EXPECT_EQ(ReadPuzzleNumber("-4"), -4);
    EXPECT_EQ(ReadPuzzleNumber("abc"), 0);
    EXPECT_EQ(ReadPuzzleNumber("-"), 0);
    EXPECT_EQ(ReadPuzzleNumber(""), 0);
    EXPECT_EQ(ReadPuzzleNumber("\t5"), 0); // only blanks are skipped
    // Beyond the 16-bit range reads as 0, so it is asked again rather than wrapped into range.
    EXPECT_EQ(ReadPuzzleNumber("32767"), 32767);
    EXPECT_EQ(ReadPuzzleNumber("65537"), 0);
    EXPECT_EQ(ReadPuzzleNumber("1e400"), 0);
}

class ModelTest : public ::testing::Test {
protected:
    FakeClock clock;
    GameModel m{clock};
};

TEST_F(ModelTest, LevelAndSizeDuringARunKeepTheGeneratedSetUnselectable)
{
    // A run of Easy 8 x 8 started while Medium 8 x 8 was selected.
    m.mnu_level_n_Click(1);
    m.GenerateMenuEnabled = false;
    m.GenLevel = 0;
    m.GenSize = 0;
    m.LevelItemEnabled[0] = false;
    m.mnu_size_n_Click(1);
    EXPECT_EQ(m.LevelItemEnabled, (std::array<bool, 4>{true, true, true, true}));
    m.mnu_level_n_Click(0);
    EXPECT_FALSE(m.SizeItemEnabled[0]);
    m.mnu_level_n_Click(1);
    EXPECT_TRUE(m.SizeItemEnabled[0]);
    // The Generate items are not touched during a run (Medium 10 x 10 was selected meanwhile).
    EXPECT_FALSE(m.GenerateItemEnabled[1][0]);
    EXPECT_TRUE(m.GenerateItemEnabled[1][1]);

    m.GenerateMenuEnabled = true;
    m.mnu_size_n_Click(0);
    EXPECT_TRUE(m.GenerateItemEnabled[0][0]);
    EXPECT_FALSE(m.GenerateItemEnabled[1][0]);
}

TEST_F(ModelTest, MenuPicksAskForSavingExceptWhileOptionsAreLoaded)
{
    EXPECT_TRUE(m.mnu_level_n_Click(2));
    m.LoadingOptions = true;
    EXPECT_FALSE(m.mnu_size_n_Click(3));
    EXPECT_EQ(m.SelectedSize, 3);
    m.LoadingOptions = false;
    EXPECT_FALSE(m.mnu_level_n_Click(4)); // no such item: nothing changes
    EXPECT_EQ(m.SelectedLevel, 2);
}

TEST_F(ModelTest, PuzzleNumbersStepAndWrap)
{
    m.SelectedLevel = 3;
    m.SelectedSize = 2;
    EXPECT_EQ(m.Step_Puzzle_Number(), 1);
    EXPECT_EQ(m.ShownLevel, 3);
    EXPECT_EQ(m.ShownSize, 2);
    m.PuzzleNr[3][2] = 100;
    EXPECT_EQ(m.Step_Puzzle_Number(), 1);
    m.PuzzleNr[3][2] = -7;
    EXPECT_EQ(m.Step_Puzzle_Number(), 1);
    m.PuzzleNr[3][2] = 101;
    EXPECT_EQ(m.Step_Puzzle_Number(), 1);
    m.PuzzleNr[3][2] = 41;
    EXPECT_EQ(m.Step_Puzzle_Number(), 42);
}

TEST_F(ModelTest, BestTimeOfADamagedRecordIsShownWithoutFailing)
{
    // Fields no game writes: a negative part of the time makes the text of "value + 100"
    // shorter than two characters.
    Roster roster;
    roster.addPlayer("Ann");
    PuzzleRecord r;
    r.StartCells.fill(-1);
    r.BestMin = 5;
    r.BestSec = -95;
    r.BestPlayer = 1;
    m.Step_Puzzle_Number();
    ASSERT_NO_THROW(m.Show_Puzzle(r, roster));
    EXPECT_EQ(m.StatusPanels[3], "Best Time: 05:05 by Ann");
    r.BestMin = -100;
    r.BestSec = 7;
    ASSERT_NO_THROW(m.Show_Puzzle(r, roster));
    EXPECT_EQ(m.StatusPanels[3], "Best Time: 00:07 by Ann");
}

TEST_F(ModelTest, GivenCellsOfOddValuesLeaveTheirLabelsAndCountNothing)
{
    PuzzleRecord r;
    r.StartCells.fill(-1);
    r.StartCells[0] = 5;
    r.StartCells[1] = 1;
    m.Grid[0].caption = "x";
    m.Step_Puzzle_Number();
    m.Show_Puzzle(r, Roster{});
    EXPECT_EQ(m.Grid[0].caption, "");
    m.Grid[0].caption = "x";
    m.Show_Puzzle(r, Roster{}); // same size: only the board's cells are cleared first
    EXPECT_EQ(m.Grid[0].caption, "");
    EXPECT_EQ(m.RowOnes[0], 1);
    EXPECT_EQ(m.RowZeros[0], 0);
    EXPECT_EQ(m.ColOnes[1], 1);
}

TEST(GameSound, PlaysLoadedSoundsOnlyWhileSoundsAreOn)
{
    FakeSound service;
    FakeClock clock;
    GameModel m{clock};
    GameSound sound(service);
    sound.Init_Sound("/prog/", m);
    ASSERT_EQ(service.loaded.size(), 10u);
    EXPECT_EQ(service.loaded[4], "/prog/Solution.wav");
    sound.Speel(kSoundGiggle, m);
    sound.Speel(kSoundError, m);
    EXPECT_EQ(service.played, (std::vector<std::string>{"Giggle.wav", "Error.wav"}));

    m.SoundsOn = false;
    sound.Speel(kSoundHint, m);
    EXPECT_EQ(service.played.size(), 2u);

    // A sound that could not be loaded, or a number beyond the table, is skipped.
    m.SoundsOn = true;
    sound.SoundIds[kSoundHint] = 0;
    sound.Speel(kSoundHint, m);
    sound.Speel(11, m);
    sound.Speel(12, m);
    sound.Speel(-1, m);
    EXPECT_EQ(service.played.size(), 2u);
}

TEST(GameSound, WithoutAudioOutputNothingIsLoadedAndTheMenuItemIsOff)
{
    FakeSound service;
    service.isUsable = false;
    FakeClock clock;
    GameModel m{clock};
    GameSound sound(service);
    sound.Init_Sound("/prog/", m);
    EXPECT_TRUE(service.loaded.empty());
    EXPECT_FALSE(m.SoundsOn);
    EXPECT_FALSE(m.SoundsItemEnabled);
    m.SoundsOn = true;
    sound.Speel(kSoundLabel, m);
    EXPECT_TRUE(service.played.empty());
}

TEST(NameEntry, ChecksNamesAddsRenamesAndSaves)
{
    MemorySettings store;
    Roster roster;
    EXPECT_EQ(Enter_Name(roster, store, "", -1).verdict, NameVerdict::MemoryLoss);
    EXPECT_EQ(Enter_Name(roster, store, "   ", -1).verdict, NameVerdict::Nobody);
    EXPECT_TRUE(store.writes.empty());

    const NameEntry ann = Enter_Name(roster, store, "Ann ", -1);
    EXPECT_EQ(ann.verdict, NameVerdict::Added);
    EXPECT_EQ(ann.player, 1);
    EXPECT_EQ(store.value("Players", "Player01"), "Ann             ");
    EXPECT_EQ(store.value("Players", "Count"), "1");
    EXPECT_EQ(Enter_Name(roster, store, "Bob", -1).player, 2);

    const NameEntry dup = Enter_Name(roster, store, "Ann", -1);
    EXPECT_EQ(dup.verdict, NameVerdict::Duplicate);
    EXPECT_EQ(Rejection_Message(dup).title, "Oh no, not another Ann !!!");
    EXPECT_EQ(Enter_Name(roster, store, "Ann", 1).verdict, NameVerdict::Duplicate);
    EXPECT_EQ(roster.PlayerCount(), 2);

    const NameEntry again = Enter_Name(roster, store, "Bob", 1);
    EXPECT_EQ(again.verdict, NameVerdict::Renamed);
    EXPECT_EQ(again.player, 2);
    EXPECT_EQ(Enter_Name(roster, store, "Robert", 1).verdict, NameVerdict::Renamed);
    EXPECT_EQ(roster.shownName(2), "Robert");
    EXPECT_EQ(store.value("Players", "Player02"), "Robert          ");
    EXPECT_EQ(roster.CurrentPlayer(), 0);
}

TEST(NameEntry, AFullRosterRefusesANewNameButAllowsRenaming)
{
    MemorySettings store;
    Roster roster;
    for (int i = 1; i <= kMaxPlayers; ++i)
        ASSERT_EQ(Enter_Name(roster, store, "P" + std::to_string(i), -1).player, i);
    EXPECT_EQ(store.value("Players", "Player00"), "P100            ");
    store.writes.clear();
    const NameEntry full = Enter_Name(roster, store, "P101", -1);
    EXPECT_EQ(full.verdict, NameVerdict::RosterFull);
    EXPECT_FALSE(Rejection_Message(full).text.empty());
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(store.value("Players", "Player01"), "P1              ");
    EXPECT_EQ(Enter_Name(roster, store, "First", 0).verdict, NameVerdict::Renamed);
    EXPECT_EQ(store.value("Players", "Player01"), "First           ");
}

} // namespace
} // namespace tl
